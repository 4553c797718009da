// SPDX-License-Identifier: GPL-3.0-or-later
// Accuracy grades, thinned-tooth measurement limits and the backlash of a pair.
#include "base/apperror.h"
#include "geometry/accuracy.h"
#include "geometry/backlash.h"
#include "geometry/gearmath.h"
#include "geometry/internalpair.h"
#include "geometry/rackpair.h"
#include "geometry/thicknesslimits.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>

namespace {

constexpr double kPi = std::numbers::pi;

// The formulas for every tolerance, with the rounding steps: the first row is
// the published m 3, z 40, b 30, class 6 (f_pT 9.0, F_pT 29, F_alpha 12 um).
TEST(Accuracy, FormulaTable)
{
    const struct {
        double m;
        int z;
        double b;
        int a;
        double fpt, Fpt, ffa, fha, Fa, ffb, fhb, Fb;
    } rows[] = {
        {3, 40, 30, 6, 9.0, 29, 9.5, 7.5, 12, 10, 9.0, 14},       // 10.227 -> 10: above 10 to the integer
        {2, 20, 20, 7, 12, 34, 12, 9.5, 16, 13, 12, 17},          // 9.68 -> 9.5
        {1, 18, 10, 1, 1.4, 3.8, 1.4, 1.1, 1.8, 1.4, 1.3, 2.0},   // below 5 to 0.1
        {10, 70, 100, 11, 78, 280, 84, 70, 109, 83, 71, 109},
        {5, 100, 50, 4, 5.5, 20, 5.5, 4.6, 7.0, 6.0, 5.5, 8.0},   // 5.3033 -> 5.5, 4.5962 -> 4.6
        {0.3, 3, 2, 5, 5.0, 13, 5.0, 4.1, 6.5, 4.7, 4.5, 6.5},    // 5.1209 -> 5.0 (0.5 steps, not 5.1)
    };
    for (const auto& r : rows) {
        const AccuracyTolerances t = ComputeAccuracy({r.a, r.m, r.z, r.m * r.z, r.b});
        const double got[] = {t.singlePitch, t.totalPitch, t.profileForm, t.profileSlope, t.profileTotal,
                              *t.helixForm, *t.helixSlope, *t.helixTotal};
        const double want[] = {r.fpt, r.Fpt, r.ffa, r.fha, r.Fa, r.ffb, r.fhb, r.Fb};
        for (int i = 0; i < 8; ++i)
            EXPECT_DOUBLE_EQ(got[i], want[i]) << "m " << r.m << " z " << r.z << " class " << r.a << " value " << i;
    }
}

TEST(Accuracy, RoundingEdgesRangeAndRefusals)
{
    const double edges[][2] = {{10.5, 11}, {10.49, 10}, {10.0, 10}, {9.74, 9.5}, {9.75, 10}, {5.0, 5},
                               {4.96, 5.0}, {4.94, 4.9}, {4.95, 5.0}, {0.04, 0.0}};
    for (const auto& e : edges)
        EXPECT_NEAR(RoundTolerance(e[0]), e[1], 1e-12) << e[0];

    EXPECT_TRUE(ComputeAccuracy({6, 3, 40, 120, 30}).findings.empty());
    const AccuracyTolerances outside = ComputeAccuracy({5, 0.3, 3, 0.9, 2});
    ASSERT_EQ(outside.findings.size(), 4u);   // z, d, m, b all outside
    EXPECT_NE(outside.findings[0].find("歯数 z 3"), std::string::npos) << outside.findings[0];
    EXPECT_FALSE(ComputeAccuracy({6, 3, 40, 120, std::nullopt}).helixTotal.has_value());
    for (int bad : {0, 12})
        EXPECT_THROW(ComputeAccuracy({bad, 3, 40, 120, 30}), AppError);
    EXPECT_THROW(ComputeAccuracy({6, 3, 40, 120, -1.0}), AppError);
}

// An exact tie rounds half up in every class: f_falpha = 0.55 m + 5 and
// f_pT = 0.001 d + 0.4 m + 5 for m in halves of a millimetre, scaled by the
// even powers of sqrt(2) (exact powers of two), worked in integers here.
TEST(Accuracy, TiesRoundHalfUpInEveryClass)
{
    // num / den micrometres rounded as the standard does, half up.
    const auto rounded = [](long long num, long long den) {
        const long long steps = num > 10 * den ? 1 : num >= 5 * den ? 2 : 10;
        return static_cast<double>((2 * steps * num + den) / (2 * den)) / static_cast<double>(steps);
    };
    const auto tie = [](long long num, long long den) {
        const long long steps = num > 10 * den ? 1 : num >= 5 * den ? 2 : 10;
        return 2 * steps * num % den == 0 && 2 * steps * num / den % 2 == 1;
    };
    int ties = 0;
    for (int a = 1; a <= 11; a += 2)
        for (long long h = 1; h <= 140; ++h)          // m = h / 2
            for (long long z : {9LL, 36LL, 70LL}) {
                const int k = (a - 5) / 2;             // sqrt(2)^(a - 5) = 2^k
                const long long den = 2000LL << (k < 0 ? -k : 0), shift = k > 0 ? k : 0;
                const long long form = (550 * h + 10000) << shift, pitch = (h * z + 400 * h + 10000) << shift;
                const double m = static_cast<double>(h) / 2;
                const AccuracyTolerances t = ComputeAccuracy({a, m, static_cast<std::int32_t>(z), m * z, 80.0});
                EXPECT_EQ(t.profileForm, rounded(form, den)) << "class " << a << " m " << m;
                EXPECT_EQ(t.singlePitch, rounded(pitch, den)) << "class " << a << " m " << m << " z " << z;
                ties += tie(form, den) + tie(pitch, den);
            }
    EXPECT_GT(ties, 50);   // the sweep meets ties (13.5 um for m 40, class 3; 26.5 um for m 15, class 7)
}

// An independent construction of the thinned tooth: its flank points
// r (cos theta, sin theta) with theta = s/d + inv(alpha) - inv(phi(r)).
struct Tooth {
    double m, z, x, alphaDeg, allowance;
    double alpha() const { return alphaDeg * kPi / 180; }
    double rb() const { return m * z * std::cos(alpha()) / 2; }
    double ra() const { return m * (z + 2 + 2 * x) / 2; }
    double halfAngle() const { return (m * (kPi / 2 + 2 * x * std::tan(alpha())) + allowance) / (m * z); }
    // Flank point at radius r, on the side `sign` of tooth `n`'s centre line.
    std::array<double, 2> Flank(double r, int sign, int n) const
    {
        const double phi = std::acos(std::min(1.0, rb() / r));
        const double theta = 2 * kPi * n / z +
                             sign * (halfAngle() + double(Involute(alpha())) - double(Involute(phi)));
        return {r * std::cos(theta), r * std::sin(theta)};
    }
};

double Bisect(double lo, double hi, const std::function<double(double)>& f)
{
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (f(lo) < 0) == (f(mid) < 0) ? lo = mid : hi = mid;
    }
    return (lo + hi) / 2;
}

// The span: a line tangent to the base circle midway between the k teeth cut
// by the outer flanks of the first and the last tooth.
double ConstructedSpan(const Tooth& t, int k)
{
    const double beta = (k - 1) * kPi / t.z;
    const double n[2] = {std::cos(beta), std::sin(beta)};
    auto cut = [&](int sign, int tooth) {
        const double r = Bisect(t.rb(), t.ra(), [&](double r) {
            const auto p = t.Flank(r, sign, tooth);
            return p[0] * n[0] + p[1] * n[1] - t.rb();
        });
        return t.Flank(r, sign, tooth);
    };
    const auto a = cut(-1, 0), b = cut(+1, k - 1);
    return std::hypot(a[0] - b[0], a[1] - b[1]);
}

// Over pins: the pin centre on the space's centre line, lowered from outside
// the gear until its nearest flank point lies half a pin away.
double ConstructedOverPins(const Tooth& t, double pin)
{
    const double gamma = kPi / t.z;
    auto distance = [&](double centre, double r) {
        const auto p = t.Flank(r, +1, 0);
        return std::hypot(p[0] - centre * std::cos(gamma), p[1] - centre * std::sin(gamma));
    };
    auto gap = [&](double centre) {
        const int steps = 400;
        const double h = (t.ra() - t.rb()) / steps;
        int best = 0;
        for (int i = 1; i <= steps; ++i)
            if (distance(centre, t.rb() + h * i) < distance(centre, t.rb() + h * best))
                best = i;
        double lo = t.rb() + h * std::max(0, best - 1), hi = t.rb() + h * std::min(steps, best + 1);
        for (int i = 0; i < 100; ++i) {   // golden section
            const double a = hi - (hi - lo) * 0.618034, b = lo + (hi - lo) * 0.618034;
            distance(centre, a) < distance(centre, b) ? hi = b : lo = a;
        }
        return distance(centre, (lo + hi) / 2) - pin / 2;
    };
    double hi = t.ra() + pin, lo = hi;
    while (gap(lo) >= 0)
        lo -= 0.01 * t.m;
    const double centre = Bisect(lo, lo + 0.01 * t.m, gap);
    const bool even = static_cast<long>(t.z) % 2 == 0;
    return (even ? 2 * centre : 2 * centre * std::cos(kPi / (2 * t.z))) + pin;
}

TEST(ThicknessLimits, SpanAndPinsOfThinnedTeethAgainstConstruction)
{
    // The 14.5-degree gear is measured with a larger pin than its ideal one, which would
    // sink below the tip circle on the thinner teeth.
    const struct {
        GearSpec gear;
        std::optional<double> pin;
    } cases[] = {{{2, 20, 0, 20}, {}}, {{3, 13, 0.3, 20}, {}}, {{1, 41, 0.2, 20}, {}}, {{4, 30, 0.1, 14.5}, 8.0}};
    for (const auto& c : cases) {
        const GearSpec& g = c.gear;
        const InspectionResult nominal = ComputeInspection(g, {c.pin, std::nullopt});
        // Allowances in proportion to the module.
        const double upper = -0.02 * g.module, lower = -0.1 * g.module;
        const ThicknessLimits limits = ComputeThicknessLimits(g, nominal, {upper, lower});
        const int k = limits.spanTeeth;
        const double pin = *nominal.pinDiameter.value;
        const struct {
            double allowance;
            const Measure& span;
            const Measure& pins;
        } sides[] = {{upper, limits.span.upper, limits.overPins.upper}, {lower, limits.span.lower, limits.overPins.lower}};
        for (const auto& side : sides) {
            const Tooth tooth{g.module, double(g.teeth), g.shift, g.pressureAngleDegrees, side.allowance};
            ASSERT_TRUE(side.span.present() && side.pins.present()) << g.teeth;
            EXPECT_NEAR(*side.span.value, ConstructedSpan(tooth, k), 1e-9) << "W, z " << g.teeth;
            EXPECT_NEAR(*side.span.value,
                        *nominal.spans[1].span.value + side.allowance * std::cos(tooth.alpha()), 1e-12);
            EXPECT_NEAR(*side.pins.value, ConstructedOverPins(tooth, pin), 2e-6) << "M, z " << g.teeth;
        }
        // Exact, not linear: the M step of the larger allowance is not 5 times the smaller one's.
        const double stepUpper = *nominal.overPins.value - *limits.overPins.upper.value;
        const double stepLower = *nominal.overPins.value - *limits.overPins.lower.value;
        EXPECT_GT(std::fabs(stepLower - 5 * stepUpper), 1e-7) << g.teeth;
        EXPECT_LT(*limits.chordalThickness.lower.value, *limits.chordalThickness.upper.value);
        EXPECT_LT(*limits.chordalThickness.upper.value, *nominal.chordalThickness.value);
    }
    EXPECT_THROW(ComputeThicknessLimits(cases[0].gear, ComputeInspection(cases[0].gear), {-0.2, -0.04}), AppError);
    // A tooth so thin that the nominal pin no longer stands out over the tip: no M, with the reason.
    const GearSpec small{1, 41, -0.2, 20};
    const ThicknessLimits thin = ComputeThicknessLimits(small, ComputeInspection(small), {-0.04, -0.2});
    EXPECT_TRUE(thin.overPins.upper.present());
    EXPECT_FALSE(thin.overPins.lower.present());
    EXPECT_FALSE(thin.overPins.lower.reason.empty());
}

// The backlash of two thinned gears at the actual centre distance, exactly:
// pitch on the working circle less both tooth thicknesses there, along the
// line of action.
double ExactNormalBacklash(const PairResult& p, double a1, double a2, double da)
{
    const double alpha = p.input.pressureAngle * kPi / 180, m = p.input.module;
    const double z1 = p.input.teeth[0], z2 = p.input.teeth[1];
    const double a0 = m * (z1 + z2) / 2;
    const double aw = std::acos(a0 * std::cos(alpha) / (p.centerDistance + da));
    const double dw1 = 2 * (p.centerDistance + da) * z1 / (z1 + z2);
    auto thickness = [&](double z, double x, double allowance) {
        const double dw = dw1 * z / z1;
        const double s = m * (kPi / 2 + 2 * x * std::tan(alpha)) + allowance;
        return dw * (s / (m * z) + double(Involute(alpha)) - double(Involute(aw)));
    };
    const double jt = kPi * dw1 / z1 - thickness(z1, p.input.shift[0], a1) - thickness(z2, p.input.shift[1], a2);
    return jt * std::cos(aw);
}

TEST(Backlash, ExtremesAgainstExactMeshAndRecommendation)
{
    PairInput in;
    in.module = 2;
    in.pressureAngle = 20;
    in.teeth = {20, 40};
    in.shift = {0, 0};
    const PairResult pair = ComputePair(in);
    ASSERT_NEAR(pair.centerDistance, 60, 1e-12);
    EXPECT_NEAR(RecommendedMinimumBacklash(60, 2), 0.100, 1e-15);   // published

    BacklashInput b;
    b.thickness = {ThicknessAllowance{-0.05, -0.10}, ThicknessAllowance{-0.06, -0.12}};
    b.centerDistance = {0.03, 0.0};
    const BacklashResult r = ComputeBacklash(pair, b);
    EXPECT_NEAR(r.normal.min, ExactNormalBacklash(pair, -0.05, -0.06, 0.0), 1e-12);
    // 2 A_a sin(alpha_w) is the first-order term of the centre distance: 4e-5 mm off for 0.03 mm.
    EXPECT_NEAR(r.normal.max, ExactNormalBacklash(pair, -0.10, -0.12, 0.03), 5e-5);
    // Every other corner lies between the two.
    for (double a1 : {-0.05, -0.10})
        for (double a2 : {-0.06, -0.12})
            for (double da : {0.0, 0.03}) {
                const double j = ExactNormalBacklash(pair, a1, a2, da);
                EXPECT_GE(j, r.normal.min - 5e-5);
                EXPECT_LE(j, r.normal.max + 5e-5);
            }
    const double aw = 20 * kPi / 180;
    EXPECT_NEAR(r.circumferential.max, r.normal.max / std::cos(aw), 1e-15);
    EXPECT_NEAR(r.radial.min, r.circumferential.min / (2 * std::tan(aw)), 1e-15);
    EXPECT_TRUE(r.findings.empty()) << r.findings[0];   // 0.1034 >= 0.100

    b.thickness = {ThicknessAllowance{-0.05, -0.10}, ThicknessAllowance{-0.05, -0.10}};
    ASSERT_EQ(ComputeBacklash(pair, b).findings.size(), 1u);   // 0.0940 < 0.100
    EXPECT_NE(ComputeBacklash(pair, b).findings[0].find("推奨値未満"), std::string::npos);
    b.thickness = {ThicknessAllowance{0.05, 0.0}, ThicknessAllowance{0.0, -0.1}};
    EXPECT_NE(ComputeBacklash(pair, b).findings.at(0).find("負"), std::string::npos);
    b.centerDistance = {0.0, 0.01};
    EXPECT_THROW(ComputeBacklash(pair, b), AppError);

    const auto proposed = ProposeAllowances(pair, 0.10, 0.25, {0.02, -0.02});
    b.thickness = {proposed[0], proposed[1]};
    b.centerDistance = {0.02, -0.02};
    const BacklashResult back = ComputeBacklash(pair, b);
    EXPECT_NEAR(back.normal.min, 0.10, 1e-15);
    EXPECT_NEAR(back.normal.max, 0.25, 1e-15);
    EXPECT_THROW(ProposeAllowances(pair, 0.10, 0.11, {0.1, -0.1}), AppError);
}

// A pinion in a ring, exactly: on the working pitch circles (cos alpha_w' =
// a0 cos alpha / a') the ring's space, which has the form of an external
// tooth, less the pinion's tooth, along the line of action.
double ExactRingBacklash(const InternalPairResult& p, double a1, double a2, double da)
{
    const double alpha = p.input.pressureAngle * kPi / 180, m = p.input.module;
    const double z1 = p.input.teeth[0], z2 = p.input.teeth[1];
    const double a0 = m * (z2 - z1) / 2, a = p.centerDistance + da;
    const double aw = std::acos(a0 * std::cos(alpha) / a);
    const double dw1 = 2 * a * z1 / (z2 - z1), dw2 = dw1 * z2 / z1;
    const auto across = [&](double dw, double z, double x, double width) {
        return dw * ((m * (kPi / 2 + 2 * x * std::tan(alpha)) + width) / (m * z) + double(Involute(alpha)) -
                     double(Involute(aw)));
    };
    const double jt = across(dw2, z2, p.input.shift[1], -a2) - across(dw1, z1, p.input.shift[0], a1);
    return jt * std::cos(aw);
}

// On a rack the working pitch line lies d/2 from the pinion's centre, nearer
// its tips than the reference line by x m + dH: the rack's space is wider
// there by 2 (x m + dH) tan(alpha), the pinion's tooth on its reference circle
// is m (pi/2 + 2 x tan(alpha)) + A1.
double ExactRackBacklash(const RackPairResult& p, double a1, double a2, double dh)
{
    const double alpha = p.input.pressureAngle * kPi / 180, m = p.input.module, x = p.input.shift[0];
    const double space = kPi * m / 2 - a2 + 2 * (x * m + dh) * std::tan(alpha);
    const double tooth = m * (kPi / 2 + 2 * x * std::tan(alpha)) + a1;
    return (space - tooth) * std::cos(alpha);
}

TEST(Backlash, RingAndRackAgainstTheirExactMesh)
{
    PairInput in;
    in.module = 2;
    in.pressureAngle = 20;
    in.teeth = {20, 60};
    in.shift = {0.1, 0.3};
    in.mate = MateKind::Internal;
    const InternalPairResult ring = ComputeInternalPair(in);
    in.mate = MateKind::Rack;
    const RackPairResult rack = ComputeRackPair(in);
    BacklashInput b;
    b.thickness = {ThicknessAllowance{-0.05, -0.10}, ThicknessAllowance{-0.04, -0.12}};
    b.centerDistance = {0.03, -0.02};
    // In the ring the smallest backlash comes with the longest centre distance
    // (the linear term is 0.041 mm for 0.03 mm; what is left, 5e-5 mm at a = 40, is of second order).
    const BacklashResult r = ComputeBacklash(BacklashGeometryOf(ring), b);
    EXPECT_NEAR(r.normal.min, ExactRingBacklash(ring, -0.05, -0.04, 0.03), 1e-4);
    EXPECT_NEAR(r.normal.max, ExactRingBacklash(ring, -0.10, -0.12, -0.02), 1e-4);
    EXPECT_GT(ExactRingBacklash(ring, -0.05, -0.04, -0.02), ExactRingBacklash(ring, -0.05, -0.04, 0.03));
    b.centerDistance = {};
    EXPECT_NEAR(ComputeBacklash(BacklashGeometryOf(ring), b).normal.max, ExactRingBacklash(ring, -0.10, -0.12, 0), 1e-12);
    b.centerDistance = {0.03, -0.02};
    // On the rack the centre's distance from the reference line acts linearly: exact.
    const BacklashResult k = ComputeBacklash(BacklashGeometryOf(rack), b);
    EXPECT_NEAR(k.normal.min, ExactRackBacklash(rack, -0.05, -0.04, -0.02), 1e-15);
    EXPECT_NEAR(k.normal.max, ExactRackBacklash(rack, -0.10, -0.12, 0.03), 1e-15);
    // A circumferential target proposed for either comes back exactly.
    for (const BacklashGeometry& pair : {BacklashGeometryOf(ring), BacklashGeometryOf(rack)}) {
        const auto proposed = ProposeAllowances(pair, 0.10, 0.25, b.centerDistance, BacklashKind::Circumferential);
        BacklashInput p = b;
        p.thickness = {proposed[0], proposed[1]};
        const BacklashResult back = ComputeBacklash(pair, p);
        EXPECT_NEAR(back.circumferential.min, 0.10, 1e-15);
        EXPECT_NEAR(back.circumferential.max, 0.25, 1e-15);
    }
}

}  // namespace
