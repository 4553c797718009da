// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the gear geometry with random parameters — the true-scale
// profile, the pair in mesh (from shifts and from a centre distance) and the
// inspection numbers.
//
// The input is a flags byte and then the parameters in a fixed order; a set
// flag bit reads its parameter as a raw double (8 bytes, any bit pattern),
// a clear one as a 16-bit step on a range where gears live, so both the
// hostile and the ordinary inputs are reached. Missing bytes give 0.
//
// Checks, besides the sanitizers and libFuzzer's time and memory limits: each
// call returns or raises an AppError with a message, nothing else. A profile
// that is returned is a closed, counter-clockwise polygon of finite points
// between the root and tip circles, no more than 5 million of them, with no
// repeated point and no crossing: tooth 0 (up to the next tooth's first point)
// is a simple chain inside its own sector, touching the sector's edges only at
// its ends, and every other tooth is its rotated copy. A pair or inspection
// that is returned holds finite numbers where it holds numbers.

#include "base/apperror.h"
#include "geardata/gearrecord.h"
#include "geometry/inspection.h"
#include "geometry/pair.h"
#include "geometry/profile.h"
#include "geometry/simplepath.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace {

// The gear of one input and the tolerance its profile is drawn with.
struct ProfileCase {
    GearSpec gear;
    double tolerance = 0.0;
};

[[noreturn]] void Fail(const char* what, const ProfileCase& in)
{
    std::fprintf(stderr, "geometry_fuzz: %s: z %d m %.17g x %.17g angle %.17g tolerance %.17g rho %.17g\n", what,
                 in.gear.teeth, in.gear.module, in.gear.shift, in.gear.pressureAngleDegrees, in.tolerance,
                 in.gear.cutter.tipRadius);
    std::abort();
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) { m_flags = Byte(); }

    // Parameter `bit`: a raw double, or lo + step * (hi - lo) / 65535.
    double Number(int bit, double lo, double hi)
    {
        if ((m_flags >> bit) & 1u) {
            std::uint8_t raw[8] = {};
            for (auto& b : raw)
                b = Byte();
            double v;
            std::memcpy(&v, raw, sizeof v);
            return v;
        }
        const unsigned step = Byte() | (Byte() << 8);
        return lo + step * (hi - lo) / 65535.0;
    }
    std::int32_t Int(int bit, std::int32_t lo, std::int32_t hi)
    {
        if ((m_flags >> bit) & 1u) {
            std::uint32_t raw = 0;
            for (int i = 0; i < 4; ++i)
                raw |= static_cast<std::uint32_t>(Byte()) << (8 * i);
            std::int32_t v;
            std::memcpy(&v, &raw, sizeof v);
            return v;
        }
        const unsigned step = Byte() | (Byte() << 8);
        return lo + static_cast<std::int32_t>(step % static_cast<unsigned>(hi - lo + 1));
    }
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    std::uint8_t m_flags = 0;
};

void CheckProfile(const ProfileCase& in, const GearProfile& g)
{
    const std::vector<OutlinePoint>& pts = g.points;
    const std::size_t n = pts.size();
    if (in.gear.teeth < 3 || g.pointsPerTooth < 2 || n != static_cast<std::size_t>(g.pointsPerTooth) * in.gear.teeth)
        Fail("point count is not teeth x points per tooth", in);
    if (n > 5000000)
        Fail("more than 5 million points", in);
    const double rTip = g.tipDiameter / 2, rRoot = g.rootDiameter / 2;
    if (!std::isfinite(rTip) || !std::isfinite(rRoot) || !(rRoot > 0) || !(rRoot < rTip))
        Fail("circles", in);
    const double slack = 1e-9 * rTip;
    double area = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const OutlinePoint p = pts[i], q = pts[(i + 1) % n];
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            Fail("a point is not finite", in);
        const double r = std::hypot(p.x, p.y);
        if (r < rRoot - slack || r > rTip + slack)
            Fail("a point off the ring between root and tip circle", in);
        if (p.x == q.x && p.y == q.y)
            Fail("a repeated point (an empty edge)", in);
        area += p.x * q.y - q.x * p.y;
    }
    if (!(area > 0))
        Fail("not counter-clockwise", in);

    // Tooth 0 and the first point of tooth 1: a simple chain in its sector.
    const int k = g.pointsPerTooth;
    const double half = std::numbers::pi / in.gear.teeth;
    std::vector<OutlinePoint> chain;
    for (int i = 0; i <= k; ++i)
        chain.push_back(pts[static_cast<std::size_t>(i) % n]);
    for (int i = 1; i < k; ++i) {
        const double a = std::atan2(chain[static_cast<std::size_t>(i)].y, chain[static_cast<std::size_t>(i)].x);
        if (!(a > -half && a < half))
            Fail("tooth 0 leaves its sector", in);
    }
    if (PathMeetsItself(chain, false))
        Fail("the outline crosses itself", in);
    // Every other tooth is tooth 0 turned (checked on a few teeth, all points).
    for (const int t : {1, in.gear.teeth / 2, in.gear.teeth - 1}) {
        const double angle = 2 * std::numbers::pi * t / in.gear.teeth, c = std::cos(angle), s = std::sin(angle);
        for (int i = 0; i < k; ++i) {
            const OutlinePoint p = pts[static_cast<std::size_t>(i)];
            const OutlinePoint q = pts[static_cast<std::size_t>(t) * k + i];
            if (std::hypot(q.x - (p.x * c - p.y * s), q.y - (p.x * s + p.y * c)) > 1e-9 * rTip)
                Fail("a tooth is not tooth 0 turned", in);
        }
    }
}

void CheckFinite(const Measure& m, const char* what)
{
    if (m.present() && !std::isfinite(*m.value)) {
        std::fprintf(stderr, "geometry_fuzz: inspection %s is not finite\n", what);
        std::abort();
    }
    if (!m.present() && m.reason.empty()) {
        std::fprintf(stderr, "geometry_fuzz: inspection %s is absent without a reason\n", what);
        std::abort();
    }
}

void CheckPair(const PairResult& r)
{
    for (const double v : {r.shiftSum, r.workingPressureAngle, r.standardCenterDistance, r.centerDistance,
                           r.tipDiameter[0], r.tipDiameter[1], r.baseDiameter[0], r.baseDiameter[1],
                           r.lineOfAction})
        if (!std::isfinite(v)) {
            std::fprintf(stderr, "geometry_fuzz: a pair value is not finite\n");
            std::abort();
        }
}

template <typename F>
void Refusable(F&& call)
{
    try {
        call();
    } catch (const AppError& e) {
        if (std::strlen(e.what()) == 0) {
            std::fprintf(stderr, "geometry_fuzz: a refusal without a message\n");
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader read(data, size);
    ProfileCase in;
    GearSpec& spec = in.gear;
    spec.teeth = read.Int(0, -2, 200);
    spec.module = read.Number(1, 0.0, 50.0);
    spec.shift = read.Number(2, -3.0, 3.0);
    const std::uint8_t angle = read.Byte();   // 0: 14.5°, 1: 20°, 3 in 4: an index outside the table
    const std::int32_t angleIndex = angle % 4 == 3 ? 2 : angle % 2;
    spec.pressureAngleDegrees =
        IsPressureAngleIndex(angleIndex) ? PressureAngleDegrees(angleIndex) : std::numeric_limits<double>::quiet_NaN();
    in.tolerance = read.Number(3, 0.0, 0.1);
    spec.cutter.tipRadius = read.Number(4, -0.1, 0.6) * (std::isfinite(spec.module) ? spec.module : 1.0);
    const std::int32_t teeth2 = read.Int(5, -2, 200);
    const double shift2 = read.Number(6, -3.0, 3.0);
    const double centerDistance = read.Number(7, -10.0, 10000.0);

    Refusable([&] { CheckProfile(in, BuildGearProfile(in.gear, in.tolerance)); });

    PairInput pair;
    pair.module = spec.module;
    pair.pressureAngle = angleIndex == 0 ? 14.5 : 20.0;
    pair.teeth = {spec.teeth, teeth2};
    pair.shift = {spec.shift, shift2};
    Refusable([&] { CheckPair(ComputePair(pair)); });
    Refusable([&] { CheckPair(ComputePairForCenterDistance(pair, centerDistance)); });
    Refusable([&] { CheckPair(ComputePairForCenterDistance(pair, centerDistance, ShiftSplit::Undercut)); });
    Refusable([&] { CheckPair(ComputePairForCenterDistance(pair, centerDistance, ShiftSplit::Sliding)); });
    Refusable([&] { CheckPair(ComputePairForCenterDistanceKeepingShift1(pair, centerDistance)); });

    GearSpec gear;
    gear.module = spec.module;
    gear.teeth = spec.teeth;
    gear.shift = spec.shift;
    gear.pressureAngleDegrees = pair.pressureAngle;
    InspectionRequest request;
    if (read.Byte() & 1)
        request.pinDiameter = spec.cutter.tipRadius;
    if (read.Byte() & 1)
        request.spanTeeth = teeth2;
    const InspectionResult r = ComputeInspection(gear, request);
    for (const Measure* m : {&r.toothThickness, &r.chordalThickness, &r.chordalHeight, &r.recommendedSpanTeeth,
                             &r.pinDiameter, &r.overPins, &r.pinContactDiameter, &r.minShift, &r.tipThickness,
                             &r.basePitch, &r.wholeDepth})
        CheckFinite(*m, "value");
    for (const SpanMeasure& s : r.spans) {
        CheckFinite(s.span, "span");
        CheckFinite(s.contactDiameter, "span contact diameter");
    }
    return 0;
}
