// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outline view's drawing, free of any window: the choice of view window,
// the mapping of gear millimetres to pixels and the drawing of the closed
// outline onto any DrawingSurface.

#include "geardata/gearrecord.h"
#include "geometry/outline.h"

#include <cstdint>
#include <functional>

struct Rgb {
    std::uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kBlack{0, 0, 0};

// What the outline view needs of a bitmap canvas.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Right and bottom are exclusive.
    virtual void FillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
    virtual void SetPenColour(Rgb colour) = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // Draws from the current position to (x, y), the end pixel excluded,
    // clipped to the surface; (x, y) becomes the current position.
    virtual void LineTo(int x, int y) = 0;
};

// Calls plot(x, y) for every pixel of the line from (x0, y0) to (x1, y1) that
// lies inside a surface of width x height pixels, in drawing order.
// One pixel per step along the longer axis, from the start up to but
// excluding the end; the other coordinate is the exact one rounded to the
// nearest integer, halves to the smaller coordinate, so a line covers the same
// pixels in both directions (apart from its two ends). Any 32-bit coordinates
// are allowed: only the steps inside the surface are visited.
void ForEachLinePixel(int x0, int y0, int x1, int y1, int width, int height,
                      const std::function<void(int, int)>& plot);

// The bitmap of the outline view, in pixels.
inline constexpr int kOutlineViewWidth = 297;
inline constexpr int kOutlineViewHeight = 305;

// A view window: centre and extents in gear millimetres.
struct ViewWindow {
    double cx, cy, wx, wy;
};

// Item 0 "全体", 1 "拡大", 2 "最大" of the view choice, for the gear given.
// Any other item index is taken as 0. Values are rounded to double; a result
// beyond the double range raises the overflow fault.
ViewWindow ChooseViewWindow(int itemIndex, const GearRecord& gear);

// Gear millimetres to pixels: the point (x, y) lies at ((x - x0)·s, (y - y0)·s).
struct PixelMapping {
    long double s;
    long double x0;
    long double y0;
};

struct Pixel {
    std::int32_t x, y;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

// Fits the window into a surface of width x height pixels with one scale for
// both axes, the window's centre at the surface's centre. A zero extent raises
// the division-by-zero fault, 0/0 or a NaN scale the invalid-operation fault.
PixelMapping ComputeMapping(int width, int height, double centreX, double centreY,
                            double extentX, double extentY);

// Rounds to the nearest pixel, halves to even; a coordinate that is not a
// finite 32-bit value raises the invalid-operation fault.
Pixel PixelOf(const PixelMapping& mapping, const OutlinePoint& point);

// Clears the surface white and draws the closed outline of points[0..lastIndex]
// in blue, one move and one line per edge, the closing edge last; leaves the
// pen black. A negative lastIndex draws no edge; a lastIndex beyond the points
// DisplayOutline receives (kOutlineCopied - 1) is taken as that last point.
void DrawOutline(DrawingSurface& surface, const OutlinePoint* points, std::int32_t lastIndex,
                 double centreX, double centreY, double extentX, double extentY);

// Draws the display outline of the gear in the given view, with
// 14 points per tooth. A tooth count outside 1..kMaxOutlineTeeth leaves the
// surface white without edges.
void ShowOutlineOn(DrawingSurface& surface, int itemIndex, const GearRecord& gear, const OutlineBuffer& display);
