// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "geardata/tableops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A table whose rows hold gears told apart by their tooth count; 0 marks a free row.
void MakeTable(const std::vector<int>& rowTeeth, int currentTeeth = 99)
{
    ResetProgramState();
    ResetGearTable();
    gearTable[0].InUse = 1;
    gearTable[0].Teeth = currentTeeth;
    for (std::size_t i = 0; i < rowTeeth.size(); ++i) {
        GearRecord& g = gearTable[i + 1];
        g.InUse = rowTeeth[i] != 0 ? 1 : 0;
        g.Teeth = rowTeeth[i];
    }
}

// The teeth of rows 1-20 as shown (0 for a free row).
std::vector<int> ShownTeeth()
{
    std::vector<int> out;
    for (int r = 1; r <= 20; ++r)
        out.push_back(IsShown(gearTable[r]) ? gearTable[r].Teeth : 0);
    return out;
}

std::vector<int> Padded(std::vector<int> v)
{
    v.resize(20, 0);
    return v;
}

TEST(RegisterSlots, FirstRegistrationIntoAnEmptyTable)
{
    MakeTable({}, 18);
    RegisteredCount = 0;
    RegisterSlots();
    EXPECT_EQ(ShownTeeth(), Padded({18}));
    EXPECT_EQ(RegisteredCount, 2);
    EXPECT_EQ(gearTable[0].Teeth, 18);
}

TEST(RegisterSlots, SameGearTwiceGivesTwoRows)
{
    MakeTable({}, 18);
    RegisterSlots();
    RegisterSlots();
    EXPECT_EQ(ShownTeeth(), Padded({18, 18}));
    EXPECT_EQ(RegisteredCount, 3);
}

TEST(RegisterSlots, FullTablePushesRowTwentyIntoTheSpillSlot)
{
    std::vector<int> full;
    for (int t = 1; t <= 20; ++t)
        full.push_back(100 + t);
    MakeTable(full, 18);
    gearTable[21].Teeth = 555;
    gearTable[21].InUse = 1;
    RegisterSlots();
    std::vector<int> expected{18};
    for (int t = 1; t <= 19; ++t)
        expected.push_back(100 + t);
    EXPECT_EQ(ShownTeeth(), expected);
    EXPECT_EQ(gearTable[21].Teeth, 120);
    EXPECT_EQ(RegisteredCount, 20);
}

TEST(RegisterSlots, FreeSlotMovesIntoTheSlotBelowIt)
{
    MakeTable({30, 31}, 18);
    gearTable[3].Reserved32[0] = 0x5A;   // the free slot's bytes travel one slot down
    RegisterSlots();
    EXPECT_EQ(ShownTeeth(), Padded({18, 30, 31}));
    EXPECT_EQ(gearTable[4].Reserved32[0], 0x5A);
    EXPECT_EQ(gearTable[4].InUse, 0);
}

TEST(RegisterSlots, AFreeRowAboveOccupiedRowsKeepsTheGearBelowIt)
{
    MakeTable({30, 31, 0, 33, 34}, 18);
    RegisterSlots();
    EXPECT_EQ(ShownTeeth(), Padded({18, 30, 31, 33, 34}));
    EXPECT_EQ(RegisteredCount, 4);
}

TEST(RegisterSlots, SlotZeroThatIsFreeLandsAsAFreeRowOne)
{
    MakeTable({30, 31}, 18);
    gearTable[0].InUse = 0;
    RegisterSlots();
    EXPECT_EQ(ShownTeeth(), Padded({0, 30, 31}));
}

struct DeleteCase {
    const char* name;
    std::vector<int> rows;
    int spillTeeth;   // 0: spill slot empty
    int row;
    std::vector<int> expected;
    bool deleted;
};

TEST(DeleteRowSlots, MovesTheRowsBelowUp)
{
    std::vector<int> full;
    for (int t = 1; t <= 20; ++t)
        full.push_back(100 + t);
    std::vector<int> fullMinus3 = full;
    fullMinus3.erase(fullMinus3.begin() + 2);
    fullMinus3.push_back(0);
    const DeleteCase cases[] = {
        {"middle of five", {11, 12, 13, 14, 15}, 0, 3, Padded({11, 12, 14, 15}), true},
        {"first row", {11, 12}, 0, 1, Padded({12}), true},
        {"free row", {11, 12}, 0, 5, Padded({11, 12}), false},
        {"full table with a spilled gear", full, 777, 3, fullMinus3, true},
        {"row zero", {11}, 0, 0, Padded({11}), false},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeTable(c.rows);
        if (c.spillTeeth != 0) {
            gearTable[21].InUse = 1;
            gearTable[21].Teeth = c.spillTeeth;
        }
        const GearRecord current = gearTable[0];
        EXPECT_EQ(DeleteRowSlots(c.row), c.deleted);
        EXPECT_EQ(ShownTeeth(), c.expected);
        EXPECT_EQ(std::memcmp(&current, &gearTable[0], sizeof current), 0);
        if (c.spillTeeth != 0) {
            EXPECT_EQ(gearTable[20].Teeth, c.spillTeeth);
            EXPECT_EQ(gearTable[20].InUse, 0);
            EXPECT_EQ(gearTable[21].Teeth, c.spillTeeth);
            EXPECT_EQ(gearTable[21].InUse, 1);
        }
    }
}

TEST(TableOps, InUseFromAFileDecidesWhatCanBeRecalledAndDeleted)
{
    struct Case {
        int inUse;
        bool shown, recalled, deleted;
    };
    const Case cases[] = {{1, true, true, true}, {2, true, false, true}, {-1, true, false, false}, {0, false, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inUse);
        MakeTable({40});
        gearTable[1].InUse = c.inUse;
        EXPECT_EQ(IsShown(gearTable[1]), c.shown);
        EXPECT_EQ(RecallRow(1), c.recalled);
        EXPECT_EQ(gearTable[0].Teeth, c.recalled ? 40 : 99);
        EXPECT_EQ(DeleteRowSlots(1), c.deleted);
    }
}

TEST(TableOps, RecallCopiesTheWholeRecordReservedBytesIncluded)
{
    MakeTable({40, 41});
    gearTable[2].Reserved120[15] = 0xEE;
    gearTable[2].Reserved144[0] = 0xDD;
    ASSERT_TRUE(RecallRow(2));
    EXPECT_EQ(std::memcmp(&gearTable[0], &gearTable[2], sizeof(GearRecord)), 0);
}

}  // namespace
