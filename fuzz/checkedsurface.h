// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window-free drawing surface for the fuzz targets. It rasterises lines as
// the outline view's image does (one-pixel lines without their end pixel,
// clipped, through ForEachLinePixel) but keeps no pixels: it checks every call
// instead. Rectangles inside the surface, a move before each line, the blue
// pen while lines are drawn, and every plotted pixel inside the surface,
// advancing one step along the longer axis and within half a pixel of the
// exact line. A failed check prints the call and aborts, which the fuzzer
// reports as a crash.

#include "commands/outlineview.h"

#include <cstdint>

class CheckedSurface : public DrawingSurface {
public:
    CheckedSurface(int width, int height);

    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void SetPenColour(Rgb colour) override { m_penColour = colour; }
    void SetPenWidth(int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;

    // Counts since the last ResetCounts.
    void ResetCounts();
    int fills() const { return m_fills; }
    int lines() const { return m_lines; }
    std::int64_t pixels() const { return m_pixels; }

    Rgb penColour() const { return m_penColour; }

private:
    int m_width;
    int m_height;
    Rgb m_penColour = kBlack;
    int m_x = 0;
    int m_y = 0;
    bool m_moved = false;
    int m_fills = 0;
    int m_lines = 0;
    std::int64_t m_pixels = 0;
};
