// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<std::uint8_t> SlotBytes(int slot)
{
    const auto* p = GearTableBytes() + 152 * slot;
    return {p, p + 152};
}

TEST(GearRecord, DefaultSlotHasTheStoredFirst32Bytes)
{
    ResetProgramState();
    ResetGearTable();
    const std::vector<std::uint8_t> expected{
        0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,
        0x12, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    for (int slot = 0; slot <= 20; ++slot) {
        const auto bytes = SlotBytes(slot);
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 32), expected) << "slot " << slot;
        for (int i = 32; i < 152; ++i)
            EXPECT_EQ(bytes[i], 0) << "slot " << slot << " byte " << i;
    }
}

TEST(GearRecord, ResetTouchesExactlyBytes0To135OfSlots0To20)
{
    std::memset(GearTableBytes(), 0xA5, kGearTableBytes);
    ResetGearTable();
    for (int slot = 0; slot <= 20; ++slot) {
        const auto bytes = SlotBytes(slot);
        for (int i = 24; i < 136; ++i)
            ASSERT_EQ(bytes[i], 0) << "slot " << slot << " byte " << i;
        for (int i = 136; i < 152; ++i)
            ASSERT_EQ(bytes[i], 0xA5) << "slot " << slot << " byte " << i;
        EXPECT_EQ(gearTable[slot].InUse, 0);
        EXPECT_EQ(gearTable[slot].PressureAngleIndex, 1);
        EXPECT_EQ(gearTable[slot].Module, 1.0);
        EXPECT_EQ(gearTable[slot].Teeth, 18);
        EXPECT_EQ(gearTable[slot].Teeth2, 20);
    }
    for (std::uint8_t b : SlotBytes(21))
        ASSERT_EQ(b, 0xA5);
    ResetProgramState();
}

TEST(GearRecord, FieldPositionsInTheTableImage)
{
    ResetProgramState();
    gearTable[3].Teeth = 0x01020304;
    gearTable[0].TipThickness = 1.0;
    EXPECT_EQ(GearTableBytes()[472], 0x04);
    EXPECT_EQ(GearTableBytes()[475], 0x01);
    EXPECT_EQ(GearTableBytes()[143], 0x3F);
    ResetProgramState();
}

}  // namespace
