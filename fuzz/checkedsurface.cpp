// SPDX-License-Identifier: GPL-3.0-or-later
#include "checkedsurface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

__extension__ typedef __int128 Wide;

[[noreturn]] void Fail(const char* what, long long a, long long b, long long c, long long d)
{
    std::fprintf(stderr, "CheckedSurface: %s (%lld, %lld, %lld, %lld)\n", what, a, b, c, d);
    std::abort();
}

std::int64_t Magnitude(std::int64_t v)
{
    return v < 0 ? -v : v;
}

}  // namespace

CheckedSurface::CheckedSurface(int width, int height)
    : m_width(width), m_height(height)
{
}

void CheckedSurface::ResetCounts()
{
    m_fills = 0;
    m_lines = 0;
    m_pixels = 0;
    m_moved = false;
}

void CheckedSurface::FillRect(int left, int top, int right, int bottom, Rgb)
{
    if (left < 0 || top < 0 || right > m_width || bottom > m_height || left > right || top > bottom)
        Fail("rectangle outside the surface", left, top, right, bottom);
    ++m_fills;
}

void CheckedSurface::SetPenWidth(int width)
{
    if (width != 1)
        Fail("pen width other than 1", width, 0, 0, 0);
}

void CheckedSurface::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
    m_moved = true;
}

void CheckedSurface::LineTo(int x, int y)
{
    if (!m_moved)
        Fail("line without a move before it", m_x, m_y, x, y);
    if (!(m_penColour == kBlue))
        Fail("line drawn with a pen other than blue", m_penColour.r, m_penColour.g, m_penColour.b, 0);

    const std::int64_t x0 = m_x, y0 = m_y;
    const std::int64_t dx = std::int64_t{x} - x0, dy = std::int64_t{y} - y0;
    const bool xMajor = Magnitude(dx) >= Magnitude(dy);
    const std::int64_t steps = xMajor ? Magnitude(dx) : Magnitude(dy);
    std::int64_t previousStep = -1;
    std::int64_t plotted = 0;

    ForEachLinePixel(m_x, m_y, x, y, m_width, m_height, [&](int px, int py) {
        if (px < 0 || py < 0 || px >= m_width || py >= m_height)
            Fail("pixel outside the surface", px, py, x, y);
        const std::int64_t major = xMajor ? px - x0 : py - y0;
        const std::int64_t minor = xMajor ? py - y0 : px - x0;
        const std::int64_t dMajor = xMajor ? dx : dy;
        const std::int64_t dMinor = xMajor ? dy : dx;
        // Step t along the longer axis, from the start up to the end excluded.
        const std::int64_t t = dMajor >= 0 ? major : -major;
        if (t < 0 || t >= steps)
            Fail("pixel beyond the ends of the line", px, py, x, y);
        if (t <= previousStep)
            Fail("pixels not in drawing order", px, py, t, previousStep);
        previousStep = t;
        // Within half a pixel of the exact line: |minor - dMinor*t/steps| <= 1/2.
        const Wide error = Wide{2} * minor * steps - Wide{2} * dMinor * t;
        if (error > Wide{steps} || error < -Wide{steps})
            Fail("pixel off the line", px, py, x, y);
        ++plotted;
    });

    if (plotted > std::max(m_width, m_height))
        Fail("more pixels than a line across the surface has", plotted, m_width, m_height, 0);
    m_pixels += plotted;
    ++m_lines;
    m_x = x;
    m_y = y;
    m_moved = false;
}
