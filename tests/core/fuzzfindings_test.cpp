// SPDX-License-Identifier: GPL-3.0-or-later
// Faults the fuzz targets of fuzz/ found, each kept as a case here so that the
// suite (and its sanitizer build) keeps them fixed.

#include "tests/support/globalstate.h"
#include "geardata/gearfile.h"
#include "geardata/gearrecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// An empty vector that never held storage has no data pointer; copying its
// zero bytes must not hand that null pointer to memcpy.
TEST(FuzzFindings, LoadingAnEmptyImageWithoutStorageChangesNothing)
{
    for (std::size_t i = 0; i < kGearTableBytes; ++i)
        GearTableBytes()[i] = static_cast<std::uint8_t>(i * 13 + 5);
    const std::vector<std::uint8_t> before(GearTableBytes(), GearTableBytes() + kGearTableBytes);

    const std::vector<std::uint8_t> empty;
    ASSERT_EQ(empty.data(), nullptr);
    LoadGearTableBytes(empty);

    EXPECT_EQ(std::memcmp(GearTableBytes(), before.data(), kGearTableBytes), 0);
}

}  // namespace
