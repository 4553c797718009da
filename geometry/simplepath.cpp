// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/simplepath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

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
    // (cell, segment) for every cell a segment reaches, sorted by cell.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> entries;
    entries.reserve(2 * segments);
    const auto key = [](std::int64_t i, std::int64_t j) {
        return (static_cast<std::uint64_t>(i) << 32) ^ static_cast<std::uint64_t>(j & 0xFFFFFFFF);
    };
    for (std::size_t s = 0; s < segments; ++s) {
        const OutlinePoint a = p[s], b = end(s);
        // A long segment (a rack's back) is entered piece by piece, each piece
        // no longer than a cell, so that it fills the cells along it, not its
        // box; the pieces' boxes may miss the segment by a rounding, so they
        // are widened by a cell.
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const auto pieces = std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(length / cell)));
        const std::int64_t widen = pieces > 1 ? 1 : 0;
        const std::size_t first = entries.size();
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
                for (std::int64_t j = j0; j <= j1; ++j)
                    entries.emplace_back(key(i, j), static_cast<std::uint32_t>(s));
        }
        if (pieces > 1) {   // once per cell
            std::sort(entries.begin() + static_cast<std::ptrdiff_t>(first), entries.end());
            entries.erase(std::unique(entries.begin() + static_cast<std::ptrdiff_t>(first), entries.end()), entries.end());
        }
    }
    std::sort(entries.begin(), entries.end());
    for (std::size_t g = 0; g < entries.size();) {
        std::size_t h = g;
        while (h < entries.size() && entries[h].first == entries[g].first)
            ++h;
        for (std::size_t x = g; x < h; ++x)
            for (std::size_t y = x + 1; y < h; ++y) {
                const std::uint32_t t = entries[x].second, u = entries[y].second;   // t < u
                if (t + 1 == u || (closed && t == 0 && u + 1 == segments))
                    continue;   // neighbours share their corner
                if (Meet(p[t], end(t), p[u], end(u)))
                    return true;
            }
        g = h;
    }
    return false;
}
