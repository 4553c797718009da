// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/outlineview.h"

#include "commands/programstate.h"
#include "geometry/extended.h"

#include <algorithm>
#include <limits>

namespace {

__extension__ typedef __int128 Wide;

// Smallest integer not below num / den, for den > 0.
std::int64_t CeilDiv(Wide num, Wide den)
{
    // Lines that reach into the surface from near it fit in 64 bits, whose
    // division is many times quicker than the 128-bit one.
    constexpr Wide kMin = std::numeric_limits<std::int64_t>::min();
    constexpr Wide kMax = std::numeric_limits<std::int64_t>::max();
    if (num >= kMin && num <= kMax && den <= kMax) {
        const auto n = static_cast<std::int64_t>(num);
        const auto d = static_cast<std::int64_t>(den);
        return n / d + (n % d != 0 && n > 0 ? 1 : 0);
    }
    Wide q = num / den;
    if (num % den != 0 && num > 0)
        ++q;
    return static_cast<std::int64_t>(q);
}

// The gear point shown at pixel (0, 0) before the window is fitted.
struct Corner {
    Ext x0;
    Ext y0;
};

Corner WindowCorner(double cx, double cy, double wx, double wy)
{
    return {Ext(cx) - Ext(wx) / Ext(2.0L), Ext(cy) - Ext(wy) / Ext(2.0L)};
}

struct Scales {
    Ext sx;
    Ext sy;
};

Scales SurfaceScales(int width, int height, double wx, double wy)
{
    const Ext sx = Ext(width) / Ext(wx);
    const Ext sy = Ext(height) / Ext(wy);
    return {sx, sy};
}

// One scale for both axes: the limiting axis fills the surface exactly, the
// other shows more than the window, centred.
PixelMapping FitWindow(Corner corner, Scales scales, int width, int height, double cx, double cy)
{
    Ext s;
    if (scales.sx >= scales.sy) {
        s = scales.sy;
        corner.x0 = Ext(cx) - (Ext(width) / scales.sy) / Ext(2.0L);
    } else {
        s = scales.sx;
        corner.y0 = Ext(cy) - (Ext(height) / scales.sx) / Ext(2.0L);
    }
    return {s.value(), corner.x0.value(), corner.y0.value()};
}

}  // namespace

void ForEachLinePixel(int x0, int y0, int x1, int y1, int width, int height,
                      const std::function<void(int, int)>& plot)
{
    if (width <= 0 || height <= 0)
        return;
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    // a: the longer axis, one pixel per step; b: the other.
    const std::int64_t a0 = xMajor ? x0 : y0;
    const std::int64_t b0 = xMajor ? y0 : x0;
    const std::int64_t da = xMajor ? dx : dy;
    const std::int64_t db = xMajor ? dy : dx;
    const std::int64_t sizeA = xMajor ? width : height;
    const std::int64_t sizeB = xMajor ? height : width;
    const std::int64_t steps = da < 0 ? -da : da;
    if (steps == 0)
        return;
    const std::int64_t dir = da > 0 ? 1 : -1;

    // Steps t whose a = a0 + dir*t lies inside the surface, end excluded.
    std::int64_t first = dir > 0 ? -a0 : a0 - (sizeA - 1);
    std::int64_t last = dir > 0 ? sizeA - 1 - a0 : a0;
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, steps - 1);

    if (first > last)
        return;

    // b = b0 + db*t/steps rounded to nearest, halves down: ceil(exact - 1/2),
    // that is b0 + q with q = ceil(n / den), n = 2*db*t - steps, den = 2*steps.
    // q is divided out once, at the first step; after that n grows by 2*db
    // per step, which is at most den in size (b is the shorter axis), so the
    // remainder r = q*den - n, kept in [0, den), moves q by at most one.
    const std::int64_t den = 2 * steps;
    const std::int64_t grow = 2 * db;
    const Wide n = Wide{2} * db * first - steps;
    std::int64_t q = CeilDiv(n, den);
    std::int64_t r = static_cast<std::int64_t>(Wide{q} * den - n);
    for (std::int64_t t = first;; ++t) {
        const std::int64_t b = b0 + q;
        if (b >= 0 && b < sizeB) {
            const std::int64_t a = a0 + dir * t;
            if (xMajor)
                plot(static_cast<int>(a), static_cast<int>(b));
            else
                plot(static_cast<int>(b), static_cast<int>(a));
        }
        if (t == last)
            break;
        r -= grow;
        if (r < 0) {
            r += den;
            ++q;
        } else if (r >= den) {
            r -= den;
            --q;
        }
    }
}

ViewWindow ChooseViewWindow(int itemIndex, const GearRecord& gear)
{
    const Ext module(gear.Module);
    const Ext tip(gear.TipDiameter);
    switch (itemIndex) {
    case 1:   // "拡大": 15 modules about the tip of tooth 0
    {
        const double cx = Store(tip / Ext(2.0L));
        const double e = Store(module * Ext(15.0L));
        return {cx, 0.0, e, e};
    }
    case 2:   // "最大": 5 modules about the centre line one module inside the tip
    {
        const double cx = Store(tip / Ext(2.0L) - module);
        const double e = Store(module * Ext(5.0L));
        return {cx, 0.0, e, e};
    }
    default:  // "全体": the tip circle with one module to spare on each side
    {
        const double e = Store(module * Ext(2.0L) + tip);
        return {0.0, 0.0, e, e};
    }
    }
}

PixelMapping ComputeMapping(int width, int height, double centreX, double centreY,
                            double extentX, double extentY)
{
    const Corner corner = WindowCorner(centreX, centreY, extentX, extentY);
    const Scales scales = SurfaceScales(width, height, extentX, extentY);
    return FitWindow(corner, scales, width, height, centreX, centreY);
}

Pixel PixelOf(const PixelMapping& mapping, const OutlinePoint& point)
{
    const std::int32_t x = RoundToInt32((Ext(point.x) - Ext(mapping.x0)) * Ext(mapping.s));
    const std::int32_t y = RoundToInt32((Ext(point.y) - Ext(mapping.y0)) * Ext(mapping.s));
    return {x, y};
}

void DrawOutline(DrawingSurface& surface, const OutlinePoint* points, std::int32_t lastIndex,
                 double centreX, double centreY, double extentX, double extentY)
{
    const int width = surface.Width();
    const int height = surface.Height();
    const Corner corner = WindowCorner(centreX, centreY, extentX, extentY);
    surface.FillRect(0, 0, width, height, kWhite);
    const Scales scales = SurfaceScales(width, height, extentX, extentY);
    surface.SetPenColour(kBlue);
    surface.SetPenWidth(1);
    const PixelMapping mapping = FitWindow(corner, scales, width, height, centreX, centreY);

    // DisplayOutline receives kOutlineCopied points; nothing beyond is drawn.
    const std::int32_t last = std::min<std::int32_t>(lastIndex, kOutlineCopied - 1);
    if (last >= 0) {
        // Each point is mapped once: the end of one edge is the start of the
        // next, and the first point closes the outline. The points are still
        // mapped in drawing order, so a point that faults stops the drawing
        // after the same moves and lines.
        const Pixel first = PixelOf(mapping, points[0]);
        Pixel from = first;
        for (std::int32_t i = 0; i < last; ++i) {
            surface.MoveTo(from.x, from.y);
            const Pixel to = PixelOf(mapping, points[i + 1]);
            surface.LineTo(to.x, to.y);
            from = to;
        }
        surface.MoveTo(from.x, from.y);
        surface.LineTo(first.x, first.y);
    }
    surface.SetPenColour(kBlack);
}

void ShowOutlineOn(DrawingSurface& surface, int itemIndex, const GearRecord& gear, const OutlineBuffer& display)
{
    if (gear.Teeth < 1 || gear.Teeth > kMaxOutlineTeeth) {
        // DisplayOutline holds no outline for this tooth count: a clear view.
        surface.FillRect(0, 0, surface.Width(), surface.Height(), kWhite);
        return;
    }
    const ViewWindow window = ChooseViewWindow(itemIndex, gear);
    const std::int64_t lastIndex = std::int64_t{kPointsPerTooth} * gear.Teeth - 1;
    DrawOutline(surface, display.data(), static_cast<std::int32_t>(lastIndex),
                window.cx, window.cy, window.wx, window.wy);
}
