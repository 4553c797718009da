// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/simplepath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace {

double Cross(OutlinePoint o, OutlinePoint a, OutlinePoint b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool OnSegment(OutlinePoint a, OutlinePoint b, OutlinePoint p)
{
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

// Whether segments ab and cd share a point (crossing or touching).
bool Meet(OutlinePoint a, OutlinePoint b, OutlinePoint c, OutlinePoint d)
{
    const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    return (d1 == 0 && OnSegment(c, d, a)) || (d2 == 0 && OnSegment(c, d, b)) || (d3 == 0 && OnSegment(a, b, c)) ||
           (d4 == 0 && OnSegment(a, b, d));
}

}  // namespace

bool PathMeetsItself(const std::vector<OutlinePoint>& p, bool closed)
{
    const std::size_t n = p.size();
    if (n < 2)
        return false;
    const std::size_t segments = closed ? n : n - 1;
    const auto end = [&](std::size_t s) { return p[(s + 1) % n]; };
    double total = 0.0, reach = 0.0;
    for (const OutlinePoint& q : p)
        reach = std::max({reach, std::fabs(q.x), std::fabs(q.y)});
    for (std::size_t s = 0; s < segments; ++s)
        total += std::hypot(end(s).x - p[s].x, end(s).y - p[s].y);
    if (!std::isfinite(total) || !(total > 0.0))
        return true;   // a point is not finite, or every point is the same one
    // Cell numbers stay within 2^30 either way.
    const double cell = std::max(2.0 * total / static_cast<double>(segments), std::ldexp(reach, -30));
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> grid;
    grid.reserve(2 * segments);
    const auto key = [](std::int64_t i, std::int64_t j) {
        return (static_cast<std::uint64_t>(i) << 32) ^ static_cast<std::uint64_t>(j & 0xFFFFFFFF);
    };
    for (std::size_t s = 0; s < segments; ++s) {
        const OutlinePoint a = p[s], b = end(s);
        // A long segment (a rack's back) is entered piece by piece, each piece
        // no longer than a cell, so that it fills the cells along it, not its box.
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        // The pieces' boxes may miss the segment by a rounding: they are widened by a cell.
        const auto pieces = std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(length / cell)));
        const std::int64_t widen = pieces > 1 ? 1 : 0;
        for (std::size_t k = 0; k < pieces; ++k) {
            const double t0 = static_cast<double>(k) / static_cast<double>(pieces);
            const double t1 = static_cast<double>(k + 1) / static_cast<double>(pieces);
            const OutlinePoint u = k == 0 ? a : OutlinePoint{a.x + t0 * (b.x - a.x), a.y + t0 * (b.y - a.y)};
            const OutlinePoint v = k + 1 == pieces ? b : OutlinePoint{a.x + t1 * (b.x - a.x), a.y + t1 * (b.y - a.y)};
            const auto i0 = static_cast<std::int64_t>(std::floor(std::min(u.x, v.x) / cell)) - widen;
            const auto i1 = static_cast<std::int64_t>(std::floor(std::max(u.x, v.x) / cell)) + widen;
            const auto j0 = static_cast<std::int64_t>(std::floor(std::min(u.y, v.y) / cell)) - widen;
            const auto j1 = static_cast<std::int64_t>(std::floor(std::max(u.y, v.y) / cell)) + widen;
            for (std::int64_t i = i0; i <= i1; ++i)
                for (std::int64_t j = j0; j <= j1; ++j) {
                    std::vector<std::uint32_t>& here = grid[key(i, j)];
                    if (!here.empty() && here.back() == s)
                        continue;   // entered by the piece before
                    for (const std::uint32_t t : here) {
                        if (t + 1 == s || (closed && t == 0 && s + 1 == segments))
                            continue;   // neighbours share their corner
                        if (Meet(p[t], end(t), a, b))
                            return true;
                    }
                    here.push_back(static_cast<std::uint32_t>(s));
                }
        }
    }
    return false;
}
