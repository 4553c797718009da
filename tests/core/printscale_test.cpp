// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/printscale.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintedDots, WindowPixelsToPrinterDotsRounded)
{
    struct Case {
        int pixels, dpi, dots;
    };
    const Case cases[] = {
        {640, 96, 640},       // a 96-dpi printer copies pixel for pixel
        {640, 600, 4000},     // 6.25 dots per pixel
        {474, 600, 2963},     // 2962.5: the half goes up
        {1, 600, 6},          // 6.25
        {2, 600, 13},         // 12.5
        {3, 600, 19},         // 18.75
        {640, 1200, 8000},
        {474, 1200, 5925},
        {3, 300, 9},          // 9.375
        {1, 48, 1},           // 0.5
        {1, 47, 0},           // 0.49
        {0, 600, 0},
        {-2, 600, -13},       // halves away from zero on both sides
        {1 << 20, 2400, 26214400},   // no overflow of the product
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintedDots(c.pixels, c.dpi), c.dots) << c.pixels << " px at " << c.dpi << " dpi";
}

}  // namespace
