// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/imagebox.h"

#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"
#include "geometry/outline.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

const QRgb kWhiteRgb = qRgb(255, 255, 255);
const QRgb kBlueRgb = qRgb(0, 0, 255);

QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

PixelSet PixelsOf(const QImage& image, QRgb colour)
{
    PixelSet out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                out.insert({x, y});
    return out;
}

PixelSet DrawLine(int x0, int y0, int x1, int y1, int width = 10, int height = 10)
{
    QImage image = WhiteImage(width, height);
    ImageSurface surface(image);
    surface.SetPenColour(kBlue);
    surface.MoveTo(x0, y0);
    surface.LineTo(x1, y1);
    EXPECT_EQ(surface.currentX(), x1);
    EXPECT_EQ(surface.currentY(), y1);
    const PixelSet blue = PixelsOf(image, kBlueRgb);
    EXPECT_EQ(blue.size() + PixelsOf(image, kWhiteRgb).size(), static_cast<std::size_t>(width * height));
    return blue;
}

TEST(ImageBox, IsImage1OfTheViewSize)
{
    ImageBox box;
    EXPECT_EQ(box.objectName(), QStringLiteral("Image1"));
    EXPECT_EQ(box.accessibleName(), QStringLiteral("歯形表示"));
    EXPECT_EQ(box.size(), QSize(297, 305));
    EXPECT_EQ(box.image().size(), QSize(297, 305));
    EXPECT_EQ(box.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(box.surface().Width(), 297);
    EXPECT_EQ(box.surface().Height(), 305);
}

TEST(ImageSurface, LinesLeaveOutTheirEndPixel)
{
    const struct {
        const char* what;
        int x0, y0, x1, y1;
        PixelSet pixels;
    } cases[] = {
        {"horizontal", 1, 2, 5, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
        {"horizontal, leftwards", 5, 2, 1, 2, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
        {"vertical", 3, 1, 3, 4, {{3, 1}, {3, 2}, {3, 3}}},
        {"vertical, upwards", 3, 4, 3, 1, {{3, 4}, {3, 3}, {3, 2}}},
        {"diagonal", 0, 0, 4, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"anti-diagonal", 4, 0, 0, 4, {{4, 0}, {3, 1}, {2, 2}, {1, 3}}},
        {"steep", 0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}},
        {"steep, upwards", 2, 5, 0, 0, {{2, 5}, {2, 4}, {1, 3}, {1, 2}, {0, 1}}},
        {"shallow", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {"one step", 6, 6, 7, 6, {{6, 6}}},
        {"zero length", 6, 6, 6, 6, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DrawLine(c.x0, c.y0, c.x1, c.y1), c.pixels) << c.what;
}

TEST(ImageSurface, LinesAreClippedToTheImage)
{
    EXPECT_EQ(DrawLine(-3, 1, 3, 1), (PixelSet{{0, 1}, {1, 1}, {2, 1}}));
    EXPECT_EQ(DrawLine(7, 8, 13, 8), (PixelSet{{7, 8}, {8, 8}, {9, 8}}));
    EXPECT_EQ(DrawLine(2, -4, 2, 2), (PixelSet{{2, 0}, {2, 1}}));
    EXPECT_EQ(DrawLine(-2, -2, 2, 2), (PixelSet{{0, 0}, {1, 1}}));
    EXPECT_EQ(DrawLine(12, 12, 8, 8), (PixelSet{{9, 9}}));   // ends at (8, 8), excluded
    EXPECT_EQ(DrawLine(-5, -5, 20, -1), PixelSet{});
    EXPECT_EQ(DrawLine(10, 0, 10, 9), PixelSet{});
    EXPECT_EQ(DrawLine(-1, 0, -1, 9), PixelSet{});
    EXPECT_EQ(DrawLine(0, 10, 9, 10), PixelSet{});
}

TEST(ImageSurface, HugeCoordinatesAreClippedArithmetically)
{
    const auto start = std::chrono::steady_clock::now();
    PixelSet row6;
    for (int x = 0; x < 297; ++x)
        row6.insert({x, 6});
    EXPECT_EQ(DrawLine(-2000000000, 5, 2000000000, 7, 297, 305), row6);

    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    PixelSet diagonal;
    for (int k = 0; k < 297; ++k)
        diagonal.insert({k, k});
    EXPECT_EQ(DrawLine(kMin, kMin, kMax, kMax, 297, 305), diagonal);
    EXPECT_EQ(DrawLine(kMax, kMin, kMin, kMax, 297, 305), PixelSet{});
    EXPECT_EQ(DrawLine(150, kMin, 150, kMax, 297, 305).size(), 305u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(ImageSurface, FillRectLeavesRightAndBottomOut)
{
    QImage image = WhiteImage(10, 10);
    ImageSurface surface(image);
    surface.FillRect(2, 3, 5, 7, kBlue);
    PixelSet expected;
    for (int y = 3; y < 7; ++y)
        for (int x = 2; x < 5; ++x)
            expected.insert({x, y});
    EXPECT_EQ(PixelsOf(image, kBlueRgb), expected);

    surface.FillRect(-100, -100, 1000, 1000, kBlack);
    EXPECT_EQ(PixelsOf(image, qRgb(0, 0, 0)).size(), 100u);
    surface.FillRect(std::numeric_limits<int>::min(), 8, std::numeric_limits<int>::max(), 9, kWhite);
    EXPECT_EQ(PixelsOf(image, kWhiteRgb).size(), 10u);
    // Empty and inverted rectangles, and rectangles wholly outside, fill nothing.
    surface.FillRect(4, 4, 4, 9, kBlue);
    surface.FillRect(6, 6, 3, 3, kBlue);
    surface.FillRect(20, 20, 30, 30, kBlue);
    surface.FillRect(-30, 0, -20, 10, kBlue);
    EXPECT_TRUE(PixelsOf(image, kBlueRgb).empty());
}

TEST(ImageSurface, PenColourAndWidthAreKept)
{
    QImage image = WhiteImage(10, 10);
    ImageSurface surface(image);
    surface.SetPenColour(Rgb{12, 34, 56});
    surface.SetPenWidth(3);   // still one pixel wide
    surface.MoveTo(0, 5);
    surface.LineTo(4, 5);
    EXPECT_EQ(surface.penColour(), (Rgb{12, 34, 56}));
    EXPECT_EQ(surface.penWidth(), 3);
    EXPECT_EQ(PixelsOf(image, qRgb(12, 34, 56)), (PixelSet{{0, 5}, {1, 5}, {2, 5}, {3, 5}}));
    // A line continues from where the last one ended.
    surface.SetPenColour(kBlue);
    surface.LineTo(4, 8);
    EXPECT_EQ(PixelsOf(image, kBlueRgb), (PixelSet{{4, 5}, {4, 6}, {4, 7}}));
}

// The default gear drawn into Image1 and shown 1:1 by the widget.
TEST(ImageBox, ShowsTheDefaultGearOneToOne)
{
    ResetProgramState();
    ResetGearTable();
    ComputeGearDimensions();
    RebuildOutline();

    ImageBox box;
    box.showOutline(0, gearTable[kCurrentSlot], DisplayOutline);
    const QImage& image = box.image();
    EXPECT_EQ(image.pixel(252, 134), kBlueRgb);   // point 0, start of the first edge
    EXPECT_EQ(image.pixel(250, 127), kBlueRgb);   // point 251, start of the closing edge
    EXPECT_EQ(image.pixel(148, 152), kWhiteRgb);  // the gear centre
    EXPECT_EQ(image.pixel(0, 0), kWhiteRgb);
    const std::size_t blue = PixelsOf(image, kBlueRgb).size();
    EXPECT_GT(blue, 500u);
    EXPECT_EQ(blue + PixelsOf(image, kWhiteRgb).size(), 297u * 305u);
    EXPECT_EQ(static_cast<const ImageSurface&>(box.surface()).penColour(), kBlack);

    const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(297, 305));
    EXPECT_EQ(shown, image);
}

TEST(ImageBox, FaultLeavesTheImageWhite)
{
    ResetProgramState();
    ResetGearTable();
    ComputeGearDimensions();
    RebuildOutline();
    ImageBox box;
    box.showOutline(2, gearTable[kCurrentSlot], DisplayOutline);
    ASSERT_FALSE(PixelsOf(box.image(), kBlueRgb).empty());

    gearTable[0].Module = 0.0;
    try {
        box.showOutline(2, gearTable[kCurrentSlot], DisplayOutline);
        ADD_FAILURE() << "no fault";
    } catch (const FloatFault& f) {
        EXPECT_EQ(f.kind(), FloatFaultKind::DivisionByZero);
    }
    EXPECT_EQ(PixelsOf(box.image(), kWhiteRgb).size(), 297u * 305u);
    EXPECT_EQ(box.grab().toImage().convertToFormat(QImage::Format_RGB32), box.image());
}

}  // namespace
