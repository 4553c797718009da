#pragma once
// The outline view's drawing, free of any window: the choice of view window,
// the mapping of gear millimetres to pixels and the drawing of the closed
// outline onto any DrawingSurface.

#include "geardata/gearrecord.h"
#include "geometry/outline.h"

#include <cstdint>

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

// A view window: centre and extents in gear millimetres.
struct ViewWindow {
    double cx, cy, wx, wy;
};

// Item 0 "全体", 1 "拡大", 2 "最大" of the view choice, for the gear given.
ViewWindow ChooseViewWindow(int itemIndex, const GearRecord& gear);

// Clears the surface and draws the closed outline of points[0..lastIndex].
// lastIndex must be below the number of points the buffer holds.
void DrawOutline(DrawingSurface& surface, const OutlinePoint* points, std::int32_t lastIndex,
                 double centreX, double centreY, double extentX, double extentY);

// Draws DisplayOutline for the current gear (slot 0) in the given view.
void ShowOutlineOn(DrawingSurface& surface, int itemIndex);
