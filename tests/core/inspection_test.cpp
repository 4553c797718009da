// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/gearrecord.h"
#include "geometry/inspection.h"
#include "geometry/gearmath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Published values, to their printed digits.
TEST(Inspection, ReferenceValues)
{
    const InspectionResult a = ComputeInspection({10, 12, 0.3, 20});
    const InspectionResult b = ComputeInspection({2, 20, 0.0, 20});
    const InspectionResult b4 = ComputeInspection({2, 20, 0.0, 20}, {std::nullopt, 4});
    const struct {
        const char* what;
        const Measure& got;
        double expected, tolerance;
    } rows[] = {
        {"s", a.toothThickness, 17.8918, 5e-5},
        {"chordal s", a.chordalThickness, 17.8256, 5e-5},
        {"chordal h", a.chordalHeight, 13.6657, 5e-5},
        {"recommended k", b.recommendedSpanTeeth, 3, 0},
        {"W k=3", b.spans[1].span, 15.3209, 5e-5},
        {"W k=4 (k+1)", b.spans[2].span, 21.2251, 5e-5},
        {"W k=4 asked", b4.spans[1].span, 21.2251, 5e-5},
        {"contact k=3", b.spans[1].contactDiameter, 40.590, 5e-4},
        {"x_min z=12", ComputeInspection({1, 12, 0, 20}).minShift, 0.2981, 5e-5},
        {"base pitch", b.basePitch, 2 * kPi * std::cos(kPi / 9), 1e-12},
        {"whole depth", b.wholeDepth, 4.5, 0},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(row.got.present()) << row.what << ": " << row.got.reason;
        EXPECT_NEAR(*row.got.value, row.expected, row.tolerance) << row.what;
    }
    EXPECT_EQ(b.spans[0].teeth, 2);
    EXPECT_FALSE(ComputeInspection({10, 12, 0.3, 20}).undercut);
    EXPECT_TRUE(ComputeInspection({1, 10, 0, 20}).undercut);
}

// The involute inverse: tan(phi) - phi given back to the last bits.
TEST(Inspection, InverseInvoluteRoundTrips)
{
    for (long double phi : {0.01L, 0.349065850398865915L, 0.9L, 1.4L, 1.5707L}) {
        const long double v = std::tan(phi) - phi;
        EXPECT_NEAR(static_cast<double>(InverseInvolute(v)), static_cast<double>(phi), 1e-15)
            << static_cast<double>(phi);
    }
    EXPECT_TRUE(std::isnan(InverseInvolute(-1e-9L)));
}

// A pin built by hand: a circle on the middle line of a tooth space moved out
// until its distance from the flank, an involute unwound from the base circle,
// is its radius. Gives the measurement over two pins and the contact radius.
struct BuiltPin {
    double overPins, contactDiameter;
};

BuiltPin BuildPin(const GearSpec& g, double dp)
{
    const double alpha = g.pressureAngleDegrees * kPi / 180;
    const double rb = g.teeth * g.module * std::cos(alpha) / 2;
    // Half the angle a tooth takes on the base circle (tooth 0 centred on the x axis).
    const double s = g.module * (kPi / 2 + 2 * g.shift * std::tan(alpha));
    const double halfBase = s / (g.teeth * g.module) + (std::tan(alpha) - alpha);
    auto flank = [&](double t) {   // the upper flank of tooth 0 at roll angle t
        const double px = rb * (std::cos(t) + t * std::sin(t)), py = -rb * (std::sin(t) - t * std::cos(t));
        return std::pair{px * std::cos(halfBase) - py * std::sin(halfBase),
                         px * std::sin(halfBase) + py * std::cos(halfBase)};
    };
    const double gap = kPi / g.teeth;   // the middle line of the space between teeth 0 and 1
    auto nearest = [&](double centre, double& tBest) {
        const double cx = centre * std::cos(gap), cy = centre * std::sin(gap);
        auto dist = [&](double t) {
            auto [x, y] = flank(t);
            return std::hypot(x - cx, y - cy);
        };
        double lo = 0, hi = 2.0, best = 1e300;
        for (int i = 0; i <= 4000; ++i)
            if (const double t = hi * i / 4000; dist(t) < best)
                best = dist(t), tBest = t;
        lo = std::max(0.0, tBest - hi / 4000), hi = tBest + hi / 4000;
        for (int i = 0; i < 200; ++i) {
            const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
            (dist(m1) < dist(m2) ? hi : lo) = dist(m1) < dist(m2) ? m2 : m1;
        }
        tBest = (lo + hi) / 2;
        return dist(tBest);
    };
    double inner = rb, outer = rb * 3, t = 0;   // the space widens outwards
    for (int i = 0; i < 200; ++i) {
        const double mid = (inner + outer) / 2;
        (nearest(mid, t) < dp / 2 ? inner : outer) = mid;
    }
    const double centre = (inner + outer) / 2;
    nearest(centre, t);
    auto [x, y] = flank(t);
    const double spread = g.teeth % 2 == 0 ? 2 * centre : 2 * centre * std::cos(kPi / (2 * g.teeth));
    return {spread + dp, 2 * std::hypot(x, y)};
}

TEST(Inspection, OverPinsMatchesBuiltPin)
{
    const struct {
        GearSpec gear;
        std::optional<double> pin;
    } cases[] = {
        {{2, 20, 0.0, 20}, 3.5}, {{2, 20, 0.0, 20}, std::nullopt}, {{1.5, 13, 0.0, 20}, 2.5},
        {{3, 25, 0.4, 20}, 5.0}, {{3, 25, 0.4, 20}, std::nullopt}, {{1, 31, -0.2, 14.5}, 1.8},
    };
    for (const auto& c : cases) {
        const InspectionResult r = ComputeInspection(c.gear, {c.pin, std::nullopt});
        ASSERT_TRUE(r.overPins.present()) << r.overPins.reason;
        const BuiltPin built = BuildPin(c.gear, *r.pinDiameter.value);
        EXPECT_NEAR(*r.overPins.value, built.overPins, 1e-9) << c.gear.teeth;
        EXPECT_NEAR(*r.pinContactDiameter.value, built.contactDiameter, 1e-6) << c.gear.teeth;
        if (!c.pin) {   // the ideal pin touches on the circle d + 2xm
            EXPECT_NEAR(built.contactDiameter, c.gear.module * (c.gear.teeth + 2 * c.gear.shift), 1e-6);
        }
    }
}

TEST(Inspection, AbsentWithReason)
{
    const struct {
        const char* what;
        Measure got;
        const char* reason;
    } cases[] = {
        {"module 0", ComputeInspection({0, 20, 0, 20}).toothThickness, "モジュールが正の数ではありません"},
        {"teeth 0", ComputeInspection({1, 0, 0, 20}).overPins, "歯数が 1 未満です"},
        {"index 2", ComputeInspection(GearSpecOf(GearRecord{0, 2, 1.0, 18, 20, 0.0, {}, 0, {}, 0, {}, 0, {}, 0, {}, 0, {}}))
                        .basePitch,
         "圧力角が 0° と 90° の間にありません"},
        {"W k=0", ComputeInspection({1, 18, 0, 20}, {std::nullopt, 1}).spans[0].span, "またぎ歯数 k が 1 未満です"},
        {"W k=12 of 18", ComputeInspection({1, 18, 0, 20}, {std::nullopt, 12}).spans[1].span,
         "測定点が歯先円の外にあります"},
        {"pin too large", ComputeInspection({1, 18, 0, 20}, {4.0, std::nullopt}).overPins,
         "ピンが大きすぎて歯先に当たります"},
        {"pin too small", ComputeInspection({1, 18, 0, 20}, {0.3, std::nullopt}).overPins,
         "ピンが小さすぎて歯面に当たりません"},
        {"pin 0", ComputeInspection({1, 18, 0, 20}, {0.0, std::nullopt}).pinDiameter, "ピン径が正の数ではありません"},
        {"tip in base", ComputeInspection({1, 18, -1.6, 20}).tipThickness, "歯先円が基礎円の内側にあります"},
        {"shift 1e300", ComputeInspection({1, 18, 1e300, 20}).spans[1].span, "推奨またぎ歯数が求まりません"},
        {"module 1e307", ComputeInspection({1e307, 70, 0, 20}).overPins, "値が数の範囲を超えます"},
        // k + 1 past the integer range: no wrapped-around count
        {"teeth -1, k 2147483647", ComputeInspection({2, -1, 0, 20}, {std::nullopt, 2147483647}).spans[2].span,
         "またぎ歯数が大きすぎます"},
        {"teeth -1, k -2147483648", ComputeInspection({2, -1, 0, 20}, {std::nullopt, -2147483647 - 1}).spans[0].span,
         "またぎ歯数が大きすぎます"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.got.present()) << c.what;
        EXPECT_EQ(c.got.reason, c.reason) << c.what;
    }
}

TEST(Inspection, PointedTip)
{
    // 10 teeth, shift 1: the flanks meet below the tip circle.
    const InspectionResult crossed = ComputeInspection({1, 10, 1.0, 20});
    ASSERT_TRUE(crossed.tipThickness.present());
    EXPECT_LT(*crossed.tipThickness.value, 0);
    EXPECT_EQ(crossed.findings, std::vector<ToothFinding>{ToothFinding::PointedTip});
    EXPECT_EQ(TipFinding(0.2, 1.0), ToothFinding::ThinTip);
    EXPECT_FALSE(TipFinding(0.25, 1.0));
    EXPECT_TRUE(ComputeInspection({1, 18, 0, 20}).findings.empty());
    // The exact value of the default gear, beside the 20-degree search's 0.68167.
    EXPECT_NEAR(*ComputeInspection({1, 18, 0, 20}).tipThickness.value, 0.6816638, 5e-8);
}

// A pointed tooth ends where its flanks cross, on the radius rb / cos(phi) with
// inv(phi) = s / d + inv(alpha) (found here by bisection): no reading lies above it.
TEST(Inspection, PointedToothEndsWhereTheFlanksCross)
{
    const double a = kPi / 9, m = 1, z = 5, x = 1.4, inv = std::tan(a) - a;
    const double half = (kPi / 2 + 2 * x * std::tan(a)) / z + inv;   // s / d + inv(alpha)
    double lo = 0, hi = 1.5;
    for (int i = 0; i < 200; ++i)
        (std::tan((lo + hi) / 2) - (lo + hi) / 2 < half ? lo : hi) = (lo + hi) / 2;
    const double crossing = m * z * std::cos(a) / std::cos(lo);   // diameter, 2 x 4.279
    const GearModel model(GearSpec{m, 5, x, 20});
    EXPECT_NEAR(model.TopDiameter(), crossing, 1e-12);
    EXPECT_NEAR(crossing / 2, 4.279, 5e-4);
    InspectionRequest k3;
    k3.spanTeeth = 3;   // k - 1, k, k + 1 = 2, 3, 4
    const InspectionResult r = ComputeInspection(model, k3);
    for (const SpanMeasure& w : r.spans)
        EXPECT_TRUE(!w.span.present() || *w.contactDiameter.value <= crossing) << w.teeth;
    EXPECT_FALSE(r.spans[1].span.present());
    EXPECT_EQ(r.spans[1].span.reason, "測定点が歯面の交わる点（尖った歯先）より外にあります");
    // h-bar of 10 teeth, shift 1, from the point down to the chord s-bar.
    const double s = kPi / 2 + 2 * std::tan(a), point = 10 * std::cos(a) / std::cos(InverseInvolute(s / 10 + inv));
    const InspectionResult ten = ComputeInspection({1, 10, 1.0, 20});
    ASSERT_TRUE(ten.chordalHeight.present() && ten.chordalThickness.present());
    EXPECT_NEAR(*ten.chordalHeight.value, point / 2 - 5 * std::cos(std::asin(*ten.chordalThickness.value / 10)), 1e-12);
}

}  // namespace

namespace {

std::string Bits(const Measure& m)
{
    std::string text = m.reason + "|" + m.note + "|";
    if (m.value) {
        std::uint64_t bits;
        std::memcpy(&bits, &*m.value, sizeof bits);
        text += std::to_string(bits);
    }
    return text;
}

// The model's findings and every reading with its reason and note, the values as bits.
std::string Readings(const GearModel& g, const InspectionResult& r)
{
    std::string text = std::to_string(g.InvoluteStartDiameter()) + " " + std::to_string(g.CutThroughDiameter()) +
                       " " + std::to_string(g.CutThroughLowDiameter()) + " " + std::to_string(g.TopDiameter());
    for (const ToothFinding f : g.Findings())
        text += " f" + std::to_string(static_cast<int>(f));
    for (const Measure* m : {&r.chordalThickness, &r.chordalHeight, &r.pinDiameter, &r.overPins, &r.pinContactDiameter,
                             &r.involuteStartDiameter, &r.tipThickness})
        text += "\n" + Bits(*m);
    for (const SpanMeasure& s : r.spans)
        text += "\n" + Bits(s.span) + Bits(s.contactDiameter);
    return text;
}

}  // namespace

// Where a bound lets the model and the readings skip a search of the generated
// tooth, they must give what the search gives, to the bit: over small and
// large tooth counts, shifts from deep undercut to pointed tips, both pressure
// angles, and pins from one that drops to the root to one that rides the tips.
TEST(Inspection, BoundsGiveWhatTheSearchGives)
{
    int compared = 0, onInvolute = 0;
    for (const double alpha : {14.5, 20.0})
        for (int z = 3; z <= 61; z += (z < 24 ? 1 : 7))
            for (double x = -1.0; x <= 1.6; x += 0.2) {
                const GearSpec spec{1.0, z, x, alpha};
                if (!GearSpecDefect(spec).empty())
                    continue;
                const GearModel shown(spec), searched(spec, Proof::Searched);
                for (const std::optional<double> pin : {std::optional<double>(), std::optional<double>(0.6),
                                                       std::optional<double>(1.7), std::optional<double>(3.0)}) {
                    const InspectionRequest request{pin, std::nullopt};
                    const InspectionResult a = ComputeInspection(shown, request);
                    const InspectionResult b = ComputeInspection(searched, request, Proof::Searched);
                    ASSERT_EQ(Readings(shown, a), Readings(searched, b)) << "z " << z << ", x " << x << ", alpha " << alpha
                                                                         << ", pin " << pin.value_or(0);
                    ++compared;
                    onInvolute += a.overPins.present() && a.overPins.note.empty();
                }
            }
    // The comparison covers both kinds of pin reading.
    EXPECT_GT(compared, 1000);
    EXPECT_GT(onInvolute, 300);
    EXPECT_LT(onInvolute, compared - 100);
}
