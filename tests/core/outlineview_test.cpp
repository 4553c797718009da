// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/outlineview.h"

#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"
#include "geometry/outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <set>
#include <utility>
#include <vector>

// Readable failures for the core's pixel type.
inline void PrintTo(const Pixel& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}

namespace {

constexpr int kImageWidth = 297;
constexpr int kImageHeight = 305;

// A surface that records every call and keeps the pixels it would show.
class RecordingSurface : public DrawingSurface {
public:
    enum class Op { Fill, PenColour, PenWidth, Move, Line };
    struct Call {
        Op op;
        int a = 0, b = 0, c = 0, d = 0;
        Rgb colour{};
        friend bool operator==(const Call&, const Call&) = default;
    };

    RecordingSurface(int width = kImageWidth, int height = kImageHeight)
        : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, Rgb{1, 2, 3})
    {
    }

    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override
    {
        m_calls.push_back({Op::Fill, left, top, right, bottom, colour});
        for (int y = std::max(top, 0); y < std::min(bottom, m_height); ++y)
            for (int x = std::max(left, 0); x < std::min(right, m_width); ++x)
                At(x, y) = colour;
    }
    void SetPenColour(Rgb colour) override
    {
        m_calls.push_back({Op::PenColour, 0, 0, 0, 0, colour});
        m_pen = colour;
    }
    void SetPenWidth(int width) override { m_calls.push_back({Op::PenWidth, width}); }
    void MoveTo(int x, int y) override
    {
        m_calls.push_back({Op::Move, x, y});
        m_x = x;
        m_y = y;
    }
    void LineTo(int x, int y) override
    {
        m_calls.push_back({Op::Line, x, y});
        ForEachLinePixel(m_x, m_y, x, y, m_width, m_height, [this](int px, int py) {
            ASSERT_TRUE(px >= 0 && px < m_width && py >= 0 && py < m_height) << px << "," << py;
            At(px, py) = m_pen;
        });
        m_x = x;
        m_y = y;
    }

    const std::vector<Call>& calls() const { return m_calls; }
    Rgb pixel(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    int count(Rgb colour) const { return static_cast<int>(std::count(m_pixels.begin(), m_pixels.end(), colour)); }
    std::vector<Call> edges() const
    {
        std::vector<Call> out;
        for (const Call& c : m_calls)
            if (c.op == Op::Move || c.op == Op::Line)
                out.push_back(c);
        return out;
    }

private:
    Rgb& At(int x, int y) { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

    int m_width, m_height;
    std::vector<Rgb> m_pixels;
    std::vector<Call> m_calls;
    Rgb m_pen{};
    int m_x = 0, m_y = 0;
};

using Op = RecordingSurface::Op;
using Call = RecordingSurface::Call;

[[maybe_unused]] std::ostream& operator<<(std::ostream& os, const Call& c)
{
    const char* names[] = {"Fill", "PenColour", "PenWidth", "Move", "Line"};
    return os << names[static_cast<int>(c.op)] << "(" << c.a << ", " << c.b << ", " << c.c << ", " << c.d << "; "
              << int{c.colour.r} << "/" << int{c.colour.g} << "/" << int{c.colour.b} << ")";
}

const Call kFillWhite{Op::Fill, 0, 0, kImageWidth, kImageHeight, kWhite};
const Call kPenBlue{Op::PenColour, 0, 0, 0, 0, kBlue};
const Call kPenWidth1{Op::PenWidth, 1};
const Call kPenBlack{Op::PenColour, 0, 0, 0, 0, kBlack};

Call MoveCall(Pixel p) { return {Op::Move, p.x, p.y}; }
Call LineCall(Pixel p) { return {Op::Line, p.x, p.y}; }

void DefaultGearInSlotZero()
{
    ResetProgramState();
    ResetGearTable();
    ComputeGearDimensions();
}

void BuildDefaultGear()
{
    GearOutline.fill({0.0, 0.0});
    DisplayOutline.fill({0.0, 0.0});
    DefaultGearInSlotZero();
    RebuildOutline();
}

// ---------------------------------------------------------------- view windows

struct WindowCase {
    int item;
    const char* name;
    double cx, e;
    long double s, x0, y0;
};

const WindowCase kDefaultWindows[] = {
    {0, "全体", 0.0, 22.0, 13.5L, -11.0L, -11.296296L},
    {1, "拡大", 10.0, 15.0, 19.8L, 2.5L, -7.702020L},
    {2, "最大", 9.0, 5.0, 59.4L, 6.5L, -2.567340L},
};

TEST(OutlineViewWindow, DefaultGearInEachView)
{
    DefaultGearInSlotZero();
    for (const WindowCase& w : kDefaultWindows) {
        const ViewWindow v = ChooseViewWindow(w.item, gearTable[0]);
        EXPECT_EQ(v.cx, w.cx) << w.name;
        EXPECT_EQ(v.cy, 0.0) << w.name;
        EXPECT_EQ(v.wx, w.e) << w.name;
        EXPECT_EQ(v.wy, w.e) << w.name;
        const PixelMapping m = ComputeMapping(kImageWidth, kImageHeight, v.cx, v.cy, v.wx, v.wy);
        EXPECT_NEAR(static_cast<double>(m.s), static_cast<double>(w.s), 1e-15) << w.name;
        EXPECT_EQ(m.x0, w.x0) << w.name;
        EXPECT_NEAR(static_cast<double>(m.y0), static_cast<double>(w.y0), 5e-7) << w.name;
        // The y range shown is (305/297)·E/2 either side of the centre line.
        EXPECT_NEAR(static_cast<double>(m.y0), -305.0 / 297.0 * w.e / 2.0, 1e-14) << w.name;
    }
}

TEST(OutlineViewWindow, OtherItemIndicesShowTheWholeGear)
{
    DefaultGearInSlotZero();
    for (int item : {-1, 3, 1000, std::numeric_limits<int>::min()}) {
        const ViewWindow v = ChooseViewWindow(item, gearTable[0]);
        EXPECT_EQ(v.cx, 0.0) << item;
        EXPECT_EQ(v.wx, 22.0) << item;
    }
}

TEST(OutlineViewWindow, ValuesFollowTheGearNotItsFormula)
{
    GearRecord gear{};
    gear.Module = 2.5;
    gear.TipDiameter = 3.0;   // not what the module would give: the window reads the field
    EXPECT_EQ(ChooseViewWindow(0, gear).wx, 8.0);
    EXPECT_EQ(ChooseViewWindow(1, gear).cx, 1.5);
    EXPECT_EQ(ChooseViewWindow(1, gear).wx, 37.5);
    EXPECT_EQ(ChooseViewWindow(2, gear).cx, -1.0);
    EXPECT_EQ(ChooseViewWindow(2, gear).wx, 12.5);
}

TEST(OutlineViewWindow, ResultsBeyondTheDoubleRangeOverflow)
{
    GearRecord gear{};
    gear.Module = 1e308;
    gear.TipDiameter = 1e308;
    for (int item : {0, 1, 2}) {
        try {
            ChooseViewWindow(item, gear);
            ADD_FAILURE() << "no fault in item " << item;
        } catch (const FloatFault& f) {
            EXPECT_EQ(f.kind(), FloatFaultKind::Overflow) << item;
            EXPECT_STREQ(f.what(), "浮動小数点数のオーバーフロー");
        }
    }
}

// --------------------------------------------------------------- pixel mapping

struct PixelCase {
    int index;
    OutlinePoint point;          // to five decimals
    Pixel whole, enlarged, largest;
};

const PixelCase kPixelTable[] = {
    {0, {7.63226, -1.34577}, {252, 134}, {102, 126}, {67, 73}},
    {1, {7.70958, -0.79045}, {253, 142}, {103, 137}, {72, 106}},
    {3, {8.60768, -0.85460}, {265, 141}, {121, 136}, {125, 102}},
    {6, {9.99419, -0.34077}, {283, 148}, {148, 146}, {208, 132}},
    {14, {7.63226, 1.34577}, {252, 171}, {102, 179}, {67, 232}},
    {21, {9.39693, 3.42020}, {275, 199}, {137, 220}, {172, 356}},
    {251, {7.51499, -1.89406}, {250, 127}, {99, 115}, {60, 40}},
};

// Both the five-decimal coordinates and the built outline give the same
// pixels; none of them lies within 0.05 pixel of a rounding boundary.
TEST(OutlineViewPixels, DefaultGearPointsInTheThreeViews)
{
    BuildDefaultGear();
    for (int item = 0; item < 3; ++item) {
        const ViewWindow v = ChooseViewWindow(item, gearTable[0]);
        const PixelMapping m = ComputeMapping(kImageWidth, kImageHeight, v.cx, v.cy, v.wx, v.wy);
        for (const PixelCase& c : kPixelTable) {
            const Pixel expected = item == 0 ? c.whole : item == 1 ? c.enlarged : c.largest;
            EXPECT_EQ(PixelOf(m, c.point), expected) << "item " << item << " point " << c.index;
            EXPECT_EQ(PixelOf(m, DisplayOutline[c.index]), expected) << "item " << item << " built point " << c.index;
        }
    }
}

// In "全体" X = (x + 11)·13.5 is exact, so odd multiples of 13.5 are halves.
TEST(OutlineViewPixels, HalvesRoundToTheEvenNeighbour)
{
    const PixelMapping m = ComputeMapping(kImageWidth, kImageHeight, 0.0, 0.0, 22.0, 22.0);
    const struct {
        double x;
        long double exact;
        std::int32_t pixel;
    } cases[] = {
        {10.0, 283.5L, 284},   // the tip of tooth 0
        {8.0, 256.5L, 256},
        {0.0, 148.5L, 148},
        {-6.0, 67.5L, 68},
        {-8.0, 40.5L, 40},
        {-10.0, 13.5L, 14},
    };
    for (const auto& c : cases) {
        EXPECT_EQ((c.x - m.x0) * m.s, c.exact) << c.x;
        EXPECT_EQ(PixelOf(m, {c.x, 0.0}).x, c.pixel) << c.x;
    }
}

TEST(OutlineViewPixels, CoordinatesThatAreNotFinite32BitValuesAreInvalid)
{
    const PixelMapping m = ComputeMapping(kImageWidth, kImageHeight, 0.0, 0.0, 22.0, 22.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (OutlinePoint p : {OutlinePoint{nan, 0.0}, OutlinePoint{0.0, inf}, OutlinePoint{1e9, 0.0},
                           OutlinePoint{0.0, -1e9}}) {
        try {
            PixelOf(m, p);
            ADD_FAILURE() << p.x << "," << p.y;
        } catch (const FloatFault& f) {
            EXPECT_EQ(f.kind(), FloatFaultKind::InvalidOperation);
            EXPECT_STREQ(f.what(), "不正な浮動小数点数演算命令");
        }
    }
    // Just inside the 32-bit range.
    EXPECT_EQ(PixelOf(m, {2147483647.0 / 13.5 - 11.0 - 0.01, 0.0}).x, 2147483647);
}

// A wide window is limited by its height: x is then centred instead of y.
TEST(OutlineViewPixels, WindowLimitedByItsHeight)
{
    const PixelMapping m = ComputeMapping(40, 20, 1.0, 2.0, 1.0, 2.0);
    EXPECT_EQ(m.s, 10.0L);
    EXPECT_EQ(m.x0, -1.0L);
    EXPECT_EQ(m.y0, 1.0L);
    EXPECT_EQ(PixelOf(m, {1.0, 2.0}), (Pixel{20, 10}));
    EXPECT_EQ(PixelOf(m, {1.25, 2.25}), (Pixel{22, 12}));   // 22.5 and 12.5
    EXPECT_EQ(PixelOf(m, {1.75, 1.75}), (Pixel{28, 8}));    // 27.5 and 7.5
    // Equal scales take the height's.
    const PixelMapping e = ComputeMapping(10, 20, 0.0, 0.0, 1.0, 2.0);
    EXPECT_EQ(e.s, 10.0L);
    EXPECT_EQ(e.x0, -0.5L);
    EXPECT_EQ(e.y0, -1.0L);
}

// A negative extent turns the picture half a turn about the image centre, at
// the scale 305/|E|.
TEST(OutlineViewPixels, NegativeExtentTurnsThePictureHalfATurn)
{
    BuildDefaultGear();
    GearRecord gear = gearTable[0];
    gear.Module = -1.0;
    gear.TipDiameter = -20.0;
    const ViewWindow v = ChooseViewWindow(0, gear);
    ASSERT_EQ(v.wx, -22.0);
    const PixelMapping turned = ComputeMapping(kImageWidth, kImageHeight, v.cx, v.cy, v.wx, v.wy);
    EXPECT_EQ(turned.s, -305.0L / 22.0L);
    // Upright, same scale: the height limits a window of 22 mm high and 1 mm wide.
    const PixelMapping upright = ComputeMapping(kImageWidth, kImageHeight, 0.0, 0.0, 1.0, 22.0);
    EXPECT_EQ(upright.s, 305.0L / 22.0L);
    int compared = 0;
    for (int i = 0; i < 14 * 18; ++i) {
        const OutlinePoint p = DisplayOutline[i];
        const long double ux = (p.x - upright.x0) * upright.s;
        const long double uy = (p.y - upright.y0) * upright.s;
        if (std::fabs(ux - std::floor(ux) - 0.5L) < 1e-6L || std::fabs(uy - std::floor(uy) - 0.5L) < 1e-6L)
            continue;   // a half: both round to even, not mirrored
        const Pixel u = PixelOf(upright, p);
        EXPECT_EQ(PixelOf(turned, p), (Pixel{kImageWidth - u.x, kImageHeight - u.y})) << "point " << i;
        // The same as the negated point drawn upright.
        EXPECT_EQ(PixelOf(turned, p), PixelOf(upright, {-p.x, -p.y})) << "point " << i;
        ++compared;
    }
    EXPECT_GT(compared, 240);
}

// --------------------------------------------------------------- DrawOutline

TEST(OutlineViewDraw, DefaultGearCallsInOrder)
{
    BuildDefaultGear();
    for (int item = 0; item < 3; ++item) {
        RecordingSurface surface;
        ShowOutlineOn(surface, item);
        const std::vector<Call>& calls = surface.calls();
        ASSERT_EQ(calls.size(), 3u + 2u * 252u + 1u) << item;
        EXPECT_EQ(calls[0], kFillWhite);
        EXPECT_EQ(calls[1], kPenBlue);
        EXPECT_EQ(calls[2], kPenWidth1);
        EXPECT_EQ(calls.back(), kPenBlack);

        const ViewWindow v = ChooseViewWindow(item, gearTable[0]);
        const PixelMapping m = ComputeMapping(kImageWidth, kImageHeight, v.cx, v.cy, v.wx, v.wy);
        for (int i = 0; i < 252; ++i) {
            EXPECT_EQ(calls[3 + 2 * i], MoveCall(PixelOf(m, DisplayOutline[i]))) << "edge " << i;
            EXPECT_EQ(calls[4 + 2 * i], LineCall(PixelOf(m, DisplayOutline[(i + 1) % 252]))) << "edge " << i;
        }
    }
}

TEST(OutlineViewDraw, FirstAndClosingEdgesOfTheWholeGear)
{
    BuildDefaultGear();
    RecordingSurface surface;
    ShowOutlineOn(surface, 0);
    const std::vector<Call> edges = surface.edges();
    ASSERT_EQ(edges.size(), 504u);
    EXPECT_EQ(edges[0], (Call{Op::Move, 252, 134}));
    EXPECT_EQ(edges[1], (Call{Op::Line, 253, 142}));
    EXPECT_EQ(edges[502], (Call{Op::Move, 250, 127}));
    EXPECT_EQ(edges[503], (Call{Op::Line, 252, 134}));
    EXPECT_EQ(edges[14], (Call{Op::Move, 284, 152}));   // point 7, the tip: 283.5 and 152.5 round to even

    // Blue outline on white: the first pixel of every edge is blue, the centre white.
    EXPECT_EQ(surface.pixel(252, 134), kBlue);
    EXPECT_EQ(surface.pixel(250, 127), kBlue);
    EXPECT_EQ(surface.pixel(148, 152), kWhite);
    EXPECT_EQ(surface.pixel(0, 0), kWhite);
    EXPECT_EQ(surface.count(kBlue) + surface.count(kWhite), kImageWidth * kImageHeight);
    EXPECT_GT(surface.count(kBlue), 500);
}

TEST(OutlineViewDraw, LargestViewClipsTheTeethBelowTheImage)
{
    BuildDefaultGear();
    RecordingSurface surface;
    ShowOutlineOn(surface, 2);
    const std::vector<Call> edges = surface.edges();
    EXPECT_EQ(edges[2 * 20 + 1], (Call{Op::Line, 172, 356}));   // point 21
    EXPECT_EQ(edges[2 * 21], (Call{Op::Move, 172, 356}));
    EXPECT_EQ(surface.pixel(67, 73), kBlue);   // point 0
    // Tooth 1's flank runs on to the bottom row and stops there.
    int bottom = 0;
    for (int x = 0; x < kImageWidth; ++x)
        bottom += surface.pixel(x, kImageHeight - 1) == kBlue;
    EXPECT_GT(bottom, 0);
}

TEST(OutlineViewDraw, SyntheticTriangleEdgeByEdge)
{
    const OutlinePoint points[] = {{0.0, 0.0}, {2.0, 0.0}, {0.0, 1.0}, {99.0, 99.0}};
    RecordingSurface surface(40, 20);
    // Window 4 x 2 mm centred at (1, 0.5): 10 pixels per mm, x0 = -1, y0 = -0.5.
    DrawOutline(surface, points, 2, 1.0, 0.5, 4.0, 2.0);
    const std::vector<Call> expected = {
        {Op::Fill, 0, 0, 40, 20, kWhite}, kPenBlue, kPenWidth1,
        {Op::Move, 10, 5}, {Op::Line, 30, 5},
        {Op::Move, 30, 5}, {Op::Line, 10, 15},
        {Op::Move, 10, 15}, {Op::Line, 10, 5},
        kPenBlack};
    EXPECT_EQ(surface.calls(), expected);
    EXPECT_EQ(surface.pixel(10, 5), kBlue);
    EXPECT_EQ(surface.pixel(29, 5), kBlue);
    EXPECT_EQ(surface.pixel(20, 10), kBlue);   // middle of the long edge
    EXPECT_EQ(surface.pixel(10, 14), kBlue);
    EXPECT_EQ(surface.pixel(31, 5), kWhite);
}

TEST(OutlineViewDraw, LastIndexZeroOrNegative)
{
    const OutlinePoint points[] = {{0.0, 0.0}};
    {
        RecordingSurface surface(10, 10);
        DrawOutline(surface, points, 0, 0.0, 0.0, 1.0, 1.0);
        const std::vector<Call> expected = {{Op::Fill, 0, 0, 10, 10, kWhite}, kPenBlue, kPenWidth1,
                                            {Op::Move, 5, 5}, {Op::Line, 5, 5}, kPenBlack};
        EXPECT_EQ(surface.calls(), expected);
        EXPECT_EQ(surface.count(kWhite), 100);   // a line to its own start draws nothing
    }
    for (std::int32_t last : {-1, -14, std::numeric_limits<std::int32_t>::min()}) {
        RecordingSurface surface(10, 10);
        DrawOutline(surface, nullptr, last, 0.0, 0.0, 1.0, 1.0);
        EXPECT_TRUE(surface.edges().empty()) << last;
        EXPECT_EQ(surface.calls().front(), (Call{Op::Fill, 0, 0, 10, 10, kWhite}));
        EXPECT_EQ(surface.count(kWhite), 100);
    }
}

// Entry 1000 of a buffer is never read, whatever the last index asks for.
TEST(OutlineViewDraw, NeverReadsBeyondTheCopiedPoints)
{
    std::vector<OutlinePoint> points(kOutlineCapacity, OutlinePoint{0.0, 0.0});
    points[999] = {1.0, 1.0};
    points[1000] = {std::numeric_limits<double>::quiet_NaN(), 0.0};   // faults if read
    for (std::int32_t last : {999, 1000, 1013, std::numeric_limits<std::int32_t>::max()}) {
        RecordingSurface surface(10, 10);
        DrawOutline(surface, points.data(), last, 0.0, 0.0, 10.0, 10.0);
        const std::vector<Call> edges = surface.edges();
        ASSERT_EQ(edges.size(), 2000u) << last;
        EXPECT_EQ(edges[1997], (Call{Op::Line, 6, 6})) << last;   // edge 998 ends at point 999
        EXPECT_EQ(edges[1998], (Call{Op::Move, 6, 6})) << last;   // closing edge from point 999
        EXPECT_EQ(edges[1999], (Call{Op::Line, 5, 5})) << last;
    }
}

// ---------------------------------------------------------------- faults

struct ExtentFault {
    const char* what;
    int width, height;
    double wx, wy;
    FloatFaultKind kind;
    std::size_t callsBefore;   // fill, then perhaps the blue pen
};

TEST(OutlineViewDraw, FaultsAfterTheWhiteFill)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ExtentFault cases[] = {
        {"zero extent", 297, 305, 0.0, 0.0, FloatFaultKind::DivisionByZero, 1},
        {"zero height extent", 297, 305, 22.0, 0.0, FloatFaultKind::DivisionByZero, 1},
        {"0/0", 0, 0, 0.0, 0.0, FloatFaultKind::InvalidOperation, 1},
        {"NaN extent: the comparison", 297, 305, nan, nan, FloatFaultKind::InvalidOperation, 3},
        {"infinite extent: width over a zero scale", 297, 305, 1.0,
         std::numeric_limits<double>::infinity(), FloatFaultKind::DivisionByZero, 3},
    };
    const OutlinePoint points[] = {{0.0, 0.0}, {1.0, 1.0}};
    for (const ExtentFault& c : cases) {
        RecordingSurface surface(c.width, c.height);
        try {
            DrawOutline(surface, points, 1, 0.0, 0.0, c.wx, c.wy);
            ADD_FAILURE() << c.what;
        } catch (const FloatFault& f) {
            EXPECT_EQ(f.kind(), c.kind) << c.what;
        }
        ASSERT_EQ(surface.calls().size(), c.callsBefore) << c.what;
        EXPECT_EQ(surface.calls()[0], (Call{Op::Fill, 0, 0, c.width, c.height, kWhite})) << c.what;
        EXPECT_TRUE(surface.edges().empty()) << c.what;
        EXPECT_EQ(surface.count(kWhite), c.width * c.height) << c.what;
    }
}

TEST(OutlineViewDraw, ZeroModuleFaultsInTheZoomedViewsAndLeavesTheImageWhite)
{
    BuildDefaultGear();
    gearTable[0].Module = 0.0;
    for (int item : {1, 2}) {
        RecordingSurface surface;
        try {
            ShowOutlineOn(surface, item);
            ADD_FAILURE() << item;
        } catch (const FloatFault& f) {
            EXPECT_EQ(f.kind(), FloatFaultKind::DivisionByZero);
            EXPECT_STREQ(f.what(), "0 による浮動小数点数除算");
        }
        EXPECT_EQ(surface.calls(), std::vector<Call>{kFillWhite}) << item;
        EXPECT_EQ(surface.count(kWhite), kImageWidth * kImageHeight);
    }
    // In the whole view the extent is 0 only when the tip diameter is -2 modules.
    gearTable[0].Module = 1.0;
    gearTable[0].TipDiameter = -2.0;
    RecordingSurface surface;
    EXPECT_THROW(ShowOutlineOn(surface, 0), FloatFault);
    EXPECT_EQ(surface.calls(), std::vector<Call>{kFillWhite});
}

TEST(OutlineViewDraw, PixelFaultKeepsTheEdgesDrawnBeforeIt)
{
    const OutlinePoint points[] = {{0.0, 0.0}, {0.5, 0.0}, {std::numeric_limits<double>::infinity(), 0.0}};
    RecordingSurface surface(10, 10);
    try {
        DrawOutline(surface, points, 2, 0.0, 0.0, 1.0, 1.0);
        ADD_FAILURE();
    } catch (const FloatFault& f) {
        EXPECT_EQ(f.kind(), FloatFaultKind::InvalidOperation);
    }
    const std::vector<Call> expected = {{Op::Fill, 0, 0, 10, 10, kWhite}, kPenBlue, kPenWidth1,
                                        {Op::Move, 5, 5}, {Op::Line, 10, 5}, {Op::Move, 10, 5}};
    EXPECT_EQ(surface.calls(), expected);
    EXPECT_EQ(surface.pixel(9, 5), kBlue);
}

// ---------------------------------------------------------------- ShowOutlineOn

TEST(OutlineViewShow, ToothCountsTheBufferCannotServeLeaveTheViewWhite)
{
    BuildDefaultGear();
    for (std::int32_t teeth : {0, -1, 72, 1000, std::numeric_limits<std::int32_t>::max(),
                               std::numeric_limits<std::int32_t>::min()}) {
        gearTable[0].Teeth = teeth;
        RecordingSurface surface;
        ShowOutlineOn(surface, 0);
        EXPECT_EQ(surface.calls(), std::vector<Call>{kFillWhite}) << teeth;
    }
}

// After a file load slot 0 may count more teeth than the last build: the
// stale (here zero) points are drawn as they are.
TEST(OutlineViewShow, PointCountComesFromSlotZeroNotFromTheLastBuild)
{
    BuildDefaultGear();
    for (std::int32_t teeth : {1, 20, 71}) {
        gearTable[0].Teeth = teeth;
        RecordingSurface surface;
        ShowOutlineOn(surface, 0);
        const std::vector<Call> edges = surface.edges();
        ASSERT_EQ(edges.size(), 2u * 14u * static_cast<std::size_t>(teeth)) << teeth;
        EXPECT_EQ(edges.back(), (Call{Op::Line, 252, 134})) << teeth;   // closing edge to point 0
    }
    gearTable[0].Teeth = 20;
    RecordingSurface surface;
    ShowOutlineOn(surface, 0);
    const std::vector<Call> edges = surface.edges();
    EXPECT_EQ(edges[2 * 251 + 1], (Call{Op::Line, 148, 152}));   // point 252: a zero point, the centre
    EXPECT_EQ(edges[2 * 279], (Call{Op::Move, 148, 152}));
}

// ---------------------------------------------------------------- line pixels

std::vector<std::pair<int, int>> Pixels(int x0, int y0, int x1, int y1, int width, int height)
{
    std::vector<std::pair<int, int>> out;
    ForEachLinePixel(x0, y0, x1, y1, width, height, [&](int x, int y) { out.emplace_back(x, y); });
    return out;
}

using PixelList = std::vector<std::pair<int, int>>;

// Against the plain definition: every step of the unclipped line, the pixel
// nearest to the exact line (halves to the smaller), kept when inside.
PixelList Reference(int x0, int y0, int x1, int y1, int width, int height)
{
    PixelList out;
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    const int a0 = xMajor ? x0 : y0, a1 = xMajor ? x1 : y1;
    const int b0 = xMajor ? y0 : x0, b1 = xMajor ? y1 : x1;
    const int steps = std::abs(a1 - a0);
    for (int t = 0; t < steps; ++t) {
        const int a = a0 + (a1 > a0 ? t : -t);
        // Exact b is b0 + (b1 - b0)·t/steps; compare distances times 2·steps.
        int best = std::min(b0, b1);
        for (int b = std::min(b0, b1); b <= std::max(b0, b1); ++b) {
            const long long dist = std::llabs(2LL * (b - b0) * steps - 2LL * (b1 - b0) * t);
            const long long bestDist = std::llabs(2LL * (best - b0) * steps - 2LL * (b1 - b0) * t);
            if (dist < bestDist)
                best = b;
        }
        const int x = xMajor ? a : best, y = xMajor ? best : a;
        if (x >= 0 && x < width && y >= 0 && y < height)
            out.emplace_back(x, y);
    }
    return out;
}

TEST(LinePixels, MatchesThePlainDefinitionAndIsTheSameBothWays)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> coordinate(-60, 100);
    for (int n = 0; n < 3000; ++n) {
        const int x0 = coordinate(random), y0 = coordinate(random);
        const int x1 = coordinate(random), y1 = coordinate(random);
        const PixelList forward = Pixels(x0, y0, x1, y1, 37, 29);
        ASSERT_EQ(forward, Reference(x0, y0, x1, y1, 37, 29)) << x0 << "," << y0 << " -> " << x1 << "," << y1;
        // Both directions cover the same pixels apart from their two ends.
        std::set<std::pair<int, int>> a(forward.begin(), forward.end());
        const PixelList back = Pixels(x1, y1, x0, y0, 37, 29);
        std::set<std::pair<int, int>> b(back.begin(), back.end());
        a.erase({x0, y0});
        b.erase({x1, y1});
        ASSERT_EQ(a, b) << x0 << "," << y0 << " -> " << x1 << "," << y1;
    }
}

}  // namespace
