// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/solid.h"

#include "base/apperror.h"

#include <algorithm>
#include <functional>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <string>

namespace {


// JIS B 1301, parallel keys and their keyways, normal type, without the rows in
// brackets: applicable shaft diameter (over, up to), b, h, t1, t2 in mm.
const std::vector<KeySize> kKeys = {
    {6, 8, 2, 2, 1.2, 1.0},          {8, 10, 3, 3, 1.8, 1.4},         {10, 12, 4, 4, 2.5, 1.8},
    {12, 17, 5, 5, 3.0, 2.3},        {17, 22, 6, 6, 3.5, 2.8},        {22, 30, 8, 7, 4.0, 3.3},
    {30, 38, 10, 8, 5.0, 3.3},       {38, 44, 12, 8, 5.0, 3.3},       {44, 50, 14, 9, 5.5, 3.8},
    {50, 58, 16, 10, 6.0, 4.3},      {58, 65, 18, 11, 7.0, 4.4},      {65, 75, 20, 12, 7.5, 4.9},
    {75, 85, 22, 14, 9.0, 5.4},      {85, 95, 25, 14, 9.0, 5.4},      {95, 110, 28, 16, 10.0, 6.4},
    {110, 130, 32, 18, 11.0, 7.4},   {130, 150, 36, 20, 12.0, 8.4},   {150, 170, 40, 22, 13.0, 9.4},
    {170, 200, 45, 25, 15.0, 10.4},  {200, 230, 50, 28, 17.0, 11.4},  {230, 260, 56, 32, 20.0, 12.4},
    {260, 290, 63, 32, 20.0, 12.4},  {290, 330, 70, 36, 22.0, 14.4},  {330, 380, 80, 40, 25.0, 15.4},
    {380, 440, 90, 45, 28.0, 17.4},  {440, 500, 100, 50, 31.0, 19.5},
};

// A size in mm as the messages give it: six significant digits, rounded up
// where it is a lower limit.
std::string Mm(double v, bool up = false)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    if (up && std::strtod(text, nullptr) < v)
        std::snprintf(text, sizeof text, "%.6g", v * (1.0 + 5e-6));
    return text;
}

double Cross(OutlinePoint o, OutlinePoint a, OutlinePoint b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Ear clipping of a simple counter-clockwise polygon; triangles as indices
// into it, counter-clockwise.
void Triangulate(const std::vector<OutlinePoint>& poly, std::vector<std::array<int, 3>>& out)
{
    const int n = static_cast<int>(poly.size());
    if (n < 3)
        throw AppError("立体の断面を三角形に分けられません");
    std::vector<int> prev(n), next(n);
    for (int i = 0; i < n; ++i) {
        prev[i] = (i + n - 1) % n;
        next[i] = (i + 1) % n;
    }
    double scale = 0.0;
    for (const OutlinePoint& p : poly)
        scale = std::max({scale, std::fabs(p.x), std::fabs(p.y)});
    const double eps = 1e-14 * scale * scale;
    auto isEar = [&](int i) {
        const OutlinePoint a = poly[prev[i]], b = poly[i], c = poly[next[i]];
        if (Cross(a, b, c) <= eps)
            return false;
        for (int j = next[next[i]]; j != prev[i]; j = next[j]) {
            const OutlinePoint p = poly[j];
            if ((p.x == a.x && p.y == a.y) || (p.x == c.x && p.y == c.y))
                continue;
            if (Cross(a, b, p) >= -eps && Cross(b, c, p) >= -eps && Cross(c, a, p) >= -eps)
                return false;
        }
        return true;
    };
    int remaining = n, i = 0, misses = 0;
    while (remaining > 3) {
        if (isEar(i)) {
            out.push_back({prev[i], i, next[i]});
            next[prev[i]] = next[i];
            prev[next[i]] = prev[i];
            --remaining;
            misses = 0;
            i = prev[i];
        } else if (++misses > remaining) {
            throw AppError("立体の断面を三角形に分けられません");
        } else {
            i = next[i];
        }
    }
    out.push_back({prev[i], i, next[i]});
}

// A closed loop of the section, counter-clockwise, with the index of its vertex
// on each cut ray (one ray through the middle of each tooth space).
struct Loop {
    std::vector<OutlinePoint> points;
    std::vector<int> cuts;
};

double Wrap(double a, double from)
{
    double w = std::fmod(a - from, 2.0 * std::numbers::pi);
    if (w < 0.0)
        w += 2.0 * std::numbers::pi;
    return w;
}

// The bore's edge where the ray at angle a leaves it (the bore with its groove
// is star-shaped about the axis).
OutlinePoint HoleHit(const HoleShape& h, double a)
{
    const double c = std::cos(a), s = std::sin(a);
    if (h.keyway && c > 0.0) {
        const double t = std::fabs(s) / c;
        if (t * h.keyBottom <= h.keyHalfWidth)
            return {h.keyBottom, h.keyBottom * s / c};
        if (t * h.SideStart() <= h.keyHalfWidth) {
            const double x = h.keyHalfWidth / t;
            return {x, std::copysign(h.keyHalfWidth, s)};
        }
    }
    return {h.radius * c, h.radius * s};
}

// A circle of radius r sampled from the angle `first` on, counter-clockwise,
// so that no chord leaves it by more than tol: a regular grid (less the
// angles `skip` rejects) merged with the `fixed` angles, which are always
// there. fixedAt[i] is the sample index of fixed[i]; samples closer than
// minGap (radians) are one.
struct CircleSample {
    double angle;
    int fixed;     // index into the fixed angles, or -1
};

std::vector<CircleSample> SampleCircle(double r, double tol, double first, const std::vector<double>& fixed, double minGap,
                                       const std::function<bool(double)>& skip, std::vector<int>& fixedAt)
{
    const double step = 2.0 * std::acos(std::max(-1.0, 1.0 - tol / r));
    const int n = std::max(8, static_cast<int>(std::ceil(2.0 * std::numbers::pi / step)));
    std::vector<CircleSample> items;
    for (std::size_t i = 0; i < fixed.size(); ++i)
        items.push_back({Wrap(fixed[i], first), static_cast<int>(i)});
    for (int k = 0; k < n; ++k) {
        const double a = 2.0 * std::numbers::pi * k / n;
        if (!skip(first + a))
            items.push_back({a, -1});
    }
    std::stable_sort(items.begin(), items.end(), [](const CircleSample& a, const CircleSample& b) {
        return a.angle < b.angle || (a.angle == b.angle && a.fixed >= 0 && b.fixed < 0);
    });
    std::vector<CircleSample> out;
    fixedAt.assign(fixed.size(), 0);
    for (const CircleSample& s : items) {
        const bool close = !out.empty() && s.angle - out.back().angle < minGap;
        if (s.fixed < 0) {
            if (!close)
                out.push_back(s);
        } else if (close && out.back().fixed >= 0) {
            fixedAt[static_cast<std::size_t>(s.fixed)] = static_cast<int>(out.size()) - 1;
        } else {
            if (close)
                out.pop_back();
            fixedAt[static_cast<std::size_t>(s.fixed)] = static_cast<int>(out.size());
            out.push_back(s);
        }
    }
    // The last samples must not meet the first one (angle 0) from the other side.
    while (out.size() > 1 && 2.0 * std::numbers::pi - out.back().angle < minGap) {
        const int last = static_cast<int>(out.size()) - 1;
        for (int& f : fixedAt)
            if (f == last)
                f = 0;
        out.pop_back();
    }
    for (CircleSample& s : out)
        s.angle += first;
    return out;
}

class SurfaceBuilder {
public:
    TriangleSurface surface;

    std::vector<std::uint32_t> AddLayer(const Loop& loop, double z)
    {
        std::vector<std::uint32_t> ids;
        for (const OutlinePoint& p : loop.points) {
            ids.push_back(static_cast<std::uint32_t>(surface.vertices.size()));
            surface.vertices.push_back({p.x, p.y, z});
        }
        return ids;
    }

    // The flat face between an outer and an inner loop at one height, sector by
    // sector; facing up (+z) or down.
    void AddRing(const Loop& outer, const std::vector<std::uint32_t>& outerIds, const Loop& inner,
                 const std::vector<std::uint32_t>& innerIds, bool up)
    {
        const int sectors = static_cast<int>(outer.cuts.size());
        const int no = static_cast<int>(outer.points.size()), ni = static_cast<int>(inner.points.size());
        for (int k = 0; k < sectors; ++k) {
            std::vector<OutlinePoint> poly;
            std::vector<std::uint32_t> ids;
            const int o0 = outer.cuts[k], o1 = outer.cuts[(k + 1) % sectors];
            for (int j = o0;; j = (j + 1) % no) {
                poly.push_back(outer.points[j]);
                ids.push_back(outerIds[j]);
                if (j == o1)
                    break;
            }
            const int i0 = inner.cuts[k], i1 = inner.cuts[(k + 1) % sectors];
            for (int j = i1;; j = (j + ni - 1) % ni) {
                poly.push_back(inner.points[j]);
                ids.push_back(innerIds[j]);
                if (j == i0)
                    break;
            }
            std::vector<std::array<int, 3>> tris;
            Triangulate(poly, tris);
            for (const auto& t : tris) {
                if (up)
                    surface.triangles.push_back({ids[t[0]], ids[t[1]], ids[t[2]]});
                else
                    surface.triangles.push_back({ids[t[0]], ids[t[2]], ids[t[1]]});
            }
        }
    }

    // The wall between a loop at two heights; facing away from the loop's
    // inside (outward) or towards it.
    void AddWall(const std::vector<std::uint32_t>& low, const std::vector<std::uint32_t>& high, bool outward)
    {
        const std::size_t n = low.size();
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t a0 = low[i], b0 = low[(i + 1) % n], a1 = high[i], b1 = high[(i + 1) % n];
            if (outward) {
                surface.triangles.push_back({a0, b0, b1});
                surface.triangles.push_back({a0, b1, a1});
            } else {
                surface.triangles.push_back({a0, b1, b0});
                surface.triangles.push_back({a0, a1, b1});
            }
        }
    }
};

}  // namespace

const std::vector<KeySize>& KeyTable() { return kKeys; }

std::optional<KeySize> KeyForBore(double d)
{
    for (const KeySize& k : kKeys)
        if ((d > k.shaftOver || (&k == &kKeys.front() && d == k.shaftOver)) && d <= k.shaftUpTo)
            return k;
    return std::nullopt;
}

double HoleShape::SideStart() const { return std::sqrt(radius * radius - keyHalfWidth * keyHalfWidth); }

double HoleShape::Area() const
{
    double area = std::numbers::pi * radius * radius;
    if (keyway) {
        const double x0 = SideStart();
        const double segment = radius * radius * std::acos(x0 / radius) - x0 * keyHalfWidth;
        area += 2.0 * keyHalfWidth * (keyBottom - x0) - segment;
    }
    return area;
}

double HoleShape::Reach() const { return keyway ? std::hypot(keyBottom, keyHalfWidth) : radius; }

double PolygonArea(const std::vector<OutlinePoint>& p)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const OutlinePoint& a = p[i];
        const OutlinePoint& b = p[(i + 1) % p.size()];
        twice += a.x * b.y - a.y * b.x;
    }
    return twice / 2.0;
}

PartSizeLimits SmallestPartSizes(const GearProfile& profile, const SolidInput& in, double tolerance)
{
    const double hubLength = std::isfinite(in.hubLength) && in.hubLength > 0.0 ? in.hubLength : 0.0;
    const double across = std::max(tolerance, kSmallestPartRatio * profile.tipDiameter);
    return {across, std::max(across, kSmallestPartRatio * (in.faceWidth + hubLength))};
}

HoleShape CheckSolid(const GearProfile& profile, const SolidInput& in, double tolerance)
{
    const double rf = profile.rootDiameter / 2.0;
    if (!std::isfinite(in.faceWidth) || !(in.faceWidth > 0.0) || in.faceWidth > 100000.0)
        throw AppError("歯幅は 0 より大きく 100000 mm 以下にしてください");
    if (!(in.boreDiameter >= 0.0) || !(in.boreDiameter < profile.rootDiameter))
        throw AppError("穴径は 0 以上で、歯底円直径より小さくしてください");
    HoleShape h;
    h.radius = in.boreDiameter / 2.0;
    if (in.keyway) {
        const std::optional<KeySize> key = KeyForBore(in.boreDiameter);
        if (!key)
            throw AppError("キー溝は穴径 6 mm 以上 500 mm 以下の穴に付けられます");
        h.keyway = true;
        h.keyHalfWidth = key->width / 2.0;
        h.keyBottom = h.radius + key->hubDepth;
    }
    const bool hub = in.hubDiameter != 0.0 || in.hubLength != 0.0;
    const PartSizeLimits smallest = SmallestPartSizes(profile, in, tolerance);
    const auto tooSmall = [&](const char* what, double size, bool along) {
        const double limit = along ? smallest.along : smallest.across;
        if (size < limit)
            throw AppError(std::string(what) + " " + Mm(size) + " mm は部品に対して小さすぎます。" +
                           (along ? "部品の最も大きな寸法" : "歯先円直径") + "の 1/10000（許容差より小さくはしない）の " +
                           Mm(limit, true) + " mm 以上にしてください");
    };
    tooSmall("歯幅", in.faceWidth, true);
    if (in.boreDiameter > 0.0)
        tooSmall("穴径", in.boreDiameter, false);
    // Walls between the bore, the hub and the root circle are no thinner.
    const double margin = std::max(2.0 * tolerance, smallest.across);
    if (h.radius > 0.0 && !(h.Reach() + margin < rf))
        throw AppError("穴とキー溝が歯底円に届きます。穴を小さくしてください");
    if (hub) {
        if (!std::isfinite(in.hubLength) || !(in.hubLength > 0.0) || in.hubLength > 100000.0)
            throw AppError("ハブの長さは 0 より大きく 100000 mm 以下にしてください");
        tooSmall("ハブの長さ", in.hubLength, true);
        if (!std::isfinite(in.hubDiameter) || !(in.hubDiameter / 2.0 > h.Reach() + margin) ||
            !(in.hubDiameter / 2.0 + margin < rf))
            throw AppError("ハブの直径は穴とキー溝より大きく、歯底円直径より小さくしてください");
    }
    return h;
}

namespace {

// The loops of a part's faces as BuildGearSurface samples them.
struct PartLoops {
    Loop outline, inner, hub;
    std::vector<double> cutAngles;
    double firstCut, minGap;
};

Loop Turned(const Loop& loop, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    Loop out = loop;
    for (OutlinePoint& p : out.points)
        p = {c * p.x - s * p.y, s * p.x + c * p.y};
    return out;
}

// The helical gear's part. The outline at height z is turned by twist z; the
// straight edge between two layers leaves the helix of a point at radius r by
// r (1 - cos(delta / 2)) for a turn delta between them, so the tip circle's
// points stay within the tolerance with delta <= 2 acos(1 - tol / r_a). The
// bottom face is the untwisted part's. On the top face the turned outline's
// cut rays no longer meet the bore's or the hub's: a circle halfway between
// the root circle and them carries both sets of cut angles, and each ring of
// the face is cut along rays of its own.
TriangleSurface BuildTwistedSurface(const GearProfile& profile, const SolidInput& in, const HoleShape& hole,
                                    double tolerance, const PartLoops& l)
{
    const int teeth = static_cast<int>(l.cutAngles.size());
    const double ra = profile.tipDiameter / 2.0, rf = profile.rootDiameter / 2.0;
    const double b = in.faceWidth;
    const bool hub = in.hubDiameter > 0.0;
    const double top = hub ? b + in.hubLength : b;
    const double turn = in.twist * b;
    const double largestStep = 2.0 * std::acos(std::max(-1.0, 1.0 - tolerance / ra));
    const int layers = std::max(1, static_cast<int>(std::ceil(std::fabs(turn) / largestStep)));

    SurfaceBuilder mb;
    std::vector<std::vector<std::uint32_t>> rings;
    for (int i = 0; i <= layers; ++i) {
        const double z = i == layers ? b : b * i / layers;
        rings.push_back(mb.AddLayer(i == 0 ? l.outline : Turned(l.outline, in.twist * z), z));
    }
    const auto inner0 = mb.AddLayer(l.inner, 0.0), innerTop = mb.AddLayer(l.inner, top);
    mb.AddRing(l.outline, rings.front(), l.inner, inner0, false);
    for (int i = 0; i < layers; ++i)
        mb.AddWall(rings[static_cast<std::size_t>(i)], rings[static_cast<std::size_t>(i) + 1], true);

    const double reach = hub ? in.hubDiameter / 2.0 : hole.radius > 0.0 ? hole.Reach() : 0.0;
    const double rc = (reach + rf) / 2.0;
    std::vector<double> fixed = l.cutAngles;
    for (const double a : l.cutAngles)
        fixed.push_back(a + turn);
    std::vector<int> fixedAt;
    const auto samples =
        SampleCircle(rc, tolerance, l.firstCut, fixed, l.minGap / rc, [](double) { return false; }, fixedAt);
    Loop circleOuter, circleInner;
    for (const CircleSample& s : samples)
        circleOuter.points.push_back({rc * std::cos(s.angle), rc * std::sin(s.angle)});
    circleInner.points = circleOuter.points;
    circleInner.cuts.assign(fixedAt.begin(), fixedAt.begin() + teeth);
    circleOuter.cuts.assign(fixedAt.begin() + teeth, fixedAt.end());
    const auto circle = mb.AddLayer(circleOuter, b);
    mb.AddRing(Turned(l.outline, turn), rings.back(), circleOuter, circle, true);
    if (hub) {
        const auto hub0 = mb.AddLayer(l.hub, b), hub1 = mb.AddLayer(l.hub, top);
        mb.AddRing(circleInner, circle, l.hub, hub0, true);
        mb.AddWall(hub0, hub1, true);
        mb.AddRing(l.hub, hub1, l.inner, innerTop, true);
    } else {
        mb.AddRing(circleInner, circle, l.inner, innerTop, true);
    }
    if (hole.radius > 0.0)
        mb.AddWall(inner0, innerTop, false);
    return std::move(mb.surface);
}

}  // namespace

TriangleSurface BuildGearSurface(const GearProfile& profile, const SolidInput& in, const HoleShape& hole,
                                 double tolerance)
{
    const int teeth = static_cast<int>(profile.points.size()) / std::max(1, profile.pointsPerTooth);
    const double ra = profile.tipDiameter / 2.0;
    // Points closer than this would meet in the single-precision numbers of an
    // STL or 3MF file.
    const double minGap = 1e-5 * ra;
    const double firstCut = -std::numbers::pi / teeth;
    std::vector<double> cutAngles;
    for (int k = 0; k < teeth; ++k)
        cutAngles.push_back(firstCut + 2.0 * std::numbers::pi * k / teeth);

    // The outline: each tooth starts on its cut ray (the middle of the space before it).
    Loop outline;
    for (int k = 0; k < teeth; ++k) {
        outline.cuts.push_back(static_cast<int>(outline.points.size()));
        for (int j = 0; j < profile.pointsPerTooth; ++j) {
            const OutlinePoint& p = profile.points[static_cast<std::size_t>(k * profile.pointsPerTooth + j)];
            const OutlinePoint q{p.x, p.y};
            if (j > 0 && std::hypot(q.x - outline.points.back().x, q.y - outline.points.back().y) < minGap)
                continue;
            if (j == profile.pointsPerTooth - 1 && k + 1 < teeth) {
                const OutlinePoint& nx = profile.points[static_cast<std::size_t>((k + 1) * profile.pointsPerTooth)];
                if (std::hypot(q.x - nx.x, q.y - nx.y) < minGap)
                    continue;
            }
            outline.points.push_back(q);
        }
    }

    // The bore (or the axis alone), and the hub's circle. A cut ray meets them
    // at a vertex of their own.
    Loop inner;
    if (hole.radius > 0.0) {
        std::vector<double> fixed = cutAngles;
        double a1 = 0.0;
        std::vector<OutlinePoint> corners;
        if (hole.keyway) {
            const double x0 = hole.SideStart(), w = hole.keyHalfWidth;
            a1 = std::atan2(w, x0);
            const double a2 = std::atan2(w, hole.keyBottom);
            fixed.insert(fixed.end(), {-a1, -a2, a2, a1});
            corners = {{x0, -w}, {hole.keyBottom, -w}, {hole.keyBottom, w}, {x0, w}};
        }
        // Inside the groove the circle is not sampled.
        const auto inGroove = [&](double a) { return hole.keyway && std::fabs(std::remainder(a, 2.0 * std::numbers::pi)) < a1; };
        std::vector<int> fixedAt;
        const auto samples = SampleCircle(hole.radius, tolerance, firstCut, fixed, minGap / hole.radius, inGroove, fixedAt);
        for (const CircleSample& s : samples)
            inner.points.push_back(s.fixed >= teeth ? corners[static_cast<std::size_t>(s.fixed - teeth)] : HoleHit(hole, s.angle));
        inner.cuts.assign(fixedAt.begin(), fixedAt.begin() + teeth);
    } else {
        inner.points.push_back({0.0, 0.0});
        inner.cuts.assign(static_cast<std::size_t>(teeth), 0);
    }

    const bool hub = in.hubDiameter > 0.0;
    Loop hubLoop;
    if (hub) {
        const double r = in.hubDiameter / 2.0;
        std::vector<int> fixedAt;
        const auto samples = SampleCircle(r, tolerance, firstCut, cutAngles, minGap / r, [](double) { return false; }, fixedAt);
        for (const CircleSample& s : samples)
            hubLoop.points.push_back({r * std::cos(s.angle), r * std::sin(s.angle)});
        hubLoop.cuts = fixedAt;
    }

    const double b = in.faceWidth;
    const double top = hub ? b + in.hubLength : b;
    if (in.twist != 0.0)
        return BuildTwistedSurface(profile, in, hole, tolerance, {outline, inner, hubLoop, cutAngles, firstCut, minGap});
    SurfaceBuilder mb;
    const auto outline0 = mb.AddLayer(outline, 0.0), outline1 = mb.AddLayer(outline, b);
    const auto inner0 = mb.AddLayer(inner, 0.0), innerTop = mb.AddLayer(inner, top);
    mb.AddRing(outline, outline0, inner, inner0, false);
    mb.AddWall(outline0, outline1, true);
    if (hub) {
        const auto hub0 = mb.AddLayer(hubLoop, b), hub1 = mb.AddLayer(hubLoop, top);
        mb.AddRing(outline, outline1, hubLoop, hub0, true);
        mb.AddWall(hub0, hub1, true);
        mb.AddRing(hubLoop, hub1, inner, innerTop, true);
    } else {
        mb.AddRing(outline, outline1, inner, innerTop, true);
    }
    if (hole.radius > 0.0)
        mb.AddWall(inner0, innerTop, false);
    return std::move(mb.surface);
}

double SurfaceVolume(const TriangleSurface& surface)
{
    double six = 0.0;
    for (const auto& t : surface.triangles) {
        const auto& a = surface.vertices[t[0]];
        const auto& b = surface.vertices[t[1]];
        const auto& c = surface.vertices[t[2]];
        six += a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0]);
    }
    return six / 6.0;
}

double PartVolume(const GearProfile& profile, const SolidInput& in, const HoleShape& hole)
{
    const double hubLength = in.hubDiameter > 0.0 ? in.hubLength : 0.0;
    const double hubArea = std::numbers::pi * in.hubDiameter * in.hubDiameter / 4.0;
    return PolygonArea(profile.points) * in.faceWidth + hubArea * hubLength - hole.Area() * (in.faceWidth + hubLength);
}
