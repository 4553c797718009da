// SPDX-License-Identifier: GPL-3.0-or-later
// A helical gear's accuracy grades and thickness limits, and a helical pair's
// backlash, each against a construction of its own.
#include "base/apperror.h"
#include "commands/helicaltext.h"
#include "geometry/accuracy.h"
#include "geometry/backlash.h"
#include "geometry/gearmodel.h"
#include "geometry/inspection.h"
#include "geometry/pair.h"
#include "geometry/thicknesslimits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;

double Inv(double a) { return std::tan(a) - a; }

GearSpec Helical(double mn, int z, double xn, double betaDegrees, Hand hand = Hand::Right)
{
    GearSpec g{mn, z, xn, 20.0};
    g.helixAngleDegrees = betaDegrees;
    g.hand = hand;
    return g;
}

// ISO 1328-1:2013 with m_n and d = z m_n / cos(beta), worked by hand.
TEST(HelicalAccuracy, ReferenceTolerances)
{
    const struct {
        int cls;
        double mn;
        int z;
        double beta, b;
        double expected[8];   // f_pT F_pT f_falpha f_Halpha F_alpha f_fbeta f_Hbeta F_beta
    } rows[] = {
        {6, 3, 60, 30, 30, {9.0, 32, 9.5, 7.5, 12, 11, 9.5, 14}},   // d 207.846
        {8, 2, 25, 15, 20, {17, 49, 17, 14, 22, 18, 17, 25}},        // d 51.764
    };
    for (const auto& row : rows) {
        const AccuracyTolerances t = ComputeGearAccuracy(row.cls, Helical(row.mn, row.z, 0, row.beta), row.b);
        const double got[8] = {t.singlePitch, t.totalPitch,   t.profileForm, t.profileSlope,
                               t.profileTotal, *t.helixForm, *t.helixSlope, *t.helixTotal};
        for (int i = 0; i < 8; ++i)
            EXPECT_DOUBLE_EQ(got[i], row.expected[i]) << row.z << " " << i;
    }
    // The spur gear of the same numbers is graded on d = m z: F_pT 31, f_fbeta 10.
    const AccuracyTolerances spur = ComputeGearAccuracy(6, Helical(3, 60, 0, 0), 30.0);
    EXPECT_DOUBLE_EQ(spur.totalPitch, 31);
    EXPECT_DOUBLE_EQ(*spur.helixForm, 10);
    const AccuracyTolerances same = ComputeSpurAccuracy(6, 3, 60, 30.0);
    EXPECT_EQ(spur.totalPitch, same.totalPitch);
    EXPECT_EQ(*spur.helixTotal, *same.helixTotal);
    // A transverse-system spec is graded as the normal gear it is.
    GearSpec transverse = TransverseSystemOf(Helical(3, 60, 0, 30));
    EXPECT_DOUBLE_EQ(ComputeGearAccuracy(6, transverse, 30.0).totalPitch, 32);
    EXPECT_THROW(ComputeGearAccuracy(12, Helical(3, 60, 0, 30), 30.0), AppError);
}

// The limits of a helical gear thinned by a normal allowance: the normal
// thickness moves by A, W by A cos(alpha_n), and M is the ball measurement of
// the thinner tooth worked from the transverse involute:
//   inv(phi) = inv(alpha_t) + D / (z m_n cos(alpha_n)) - (pi - s_n / m_n) / z,
//   M = z m_t cos(alpha_t) / cos(phi) + D (z even).
TEST(HelicalLimits, NormalAllowance)
{
    const struct {
        double mn;
        int z;
        double xn, beta;
        ThicknessAllowance a;
    } rows[] = {
        {3, 12, 0.09809, 30, {-0.05, -0.1}},
        {2, 40, 0.3, 15, {0.0, -0.08}},
        {5, 16, 0.2, 25, {-0.02, -0.2}},
    };
    for (const auto& row : rows) {
        const GearSpec g = Helical(row.mn, row.z, row.xn, row.beta);
        const InspectionResult nominal = ComputeInspection(GearModel(g), {});
        const ThicknessLimits l = ComputeThicknessLimits(g, nominal, row.a);
        const double an = 20 * kDeg, beta = row.beta * kDeg;
        const double at = std::atan(std::tan(an) / std::cos(beta)), mt = row.mn / std::cos(beta);
        const double sn0 = row.mn * (kPi / 2 + 2 * row.xn * std::tan(an));
        ASSERT_TRUE(l.toothThickness.upper.present() && l.toothThickness.lower.present());
        EXPECT_NEAR(*l.toothThickness.upper.value, sn0 + row.a.upper, 1e-9) << row.z;
        EXPECT_NEAR(*l.toothThickness.lower.value, sn0 + row.a.lower, 1e-9) << row.z;
        ASSERT_TRUE(l.span.upper.present() && l.span.lower.present() && nominal.spans[1].span.present());
        EXPECT_EQ(l.spanTeeth, nominal.spans[1].teeth);
        EXPECT_NEAR(*l.span.upper.value - *nominal.spans[1].span.value, row.a.upper * std::cos(an), 1e-9) << row.z;
        EXPECT_NEAR(*l.span.lower.value - *nominal.spans[1].span.value, row.a.lower * std::cos(an), 1e-9) << row.z;
        const double D = *nominal.pinDiameter.value;
        const auto ballM = [&](double allowance) {
            const double sn = sn0 + allowance;
            const double invPhi = Inv(at) + D / (row.z * row.mn * std::cos(an)) - (kPi - sn / row.mn) / row.z;
            double phi = at;   // Newton on inv(phi)
            for (int i = 0; i < 60; ++i)
                phi -= (Inv(phi) - invPhi) / (std::tan(phi) * std::tan(phi));
            return row.z * mt * std::cos(at) / std::cos(phi) + D;
        };
        ASSERT_TRUE(l.overPins.upper.present() && l.overPins.lower.present());
        EXPECT_NEAR(*l.overPins.upper.value, ballM(row.a.upper), 1e-6) << row.z;
        EXPECT_NEAR(*l.overPins.lower.value, ballM(row.a.lower), 1e-6) << row.z;
    }
}

// The report's rows of an allowance and a class, and what their absence leaves out.
TEST(HelicalLimits, ReportRows)
{
    const GearSpec g = Helical(3, 12, 0.09809, 30, Hand::Left);
    const InspectionResult nominal = ComputeInspection(GearModel(g), {});
    MateReport report = HelicalGearReport(g, nominal, ".");
    const std::size_t plain = report.results.size();
    AddHelicalTolerances(report, g, nominal, std::nullopt, std::nullopt, ".");
    EXPECT_EQ(report.results.size(), plain);
    AddHelicalTolerances(report, g, nominal, ThicknessAllowance{-0.05, -0.1},
                         ComputeGearAccuracy(6, g, std::nullopt), ".");
    const auto row = [&](const std::string& key) -> const PairRow* {
        for (const PairRow& r : report.results)
            if (key == r.key)
                return &r;
        return nullptr;
    };
    ASSERT_NE(row("thickness_allowance_upper"), nullptr);
    EXPECT_EQ(row("thickness_allowance_upper")->texts[0], "-0.0500");
    EXPECT_EQ(row("thickness_allowance_lower")->texts[0], "-0.1000");
    ASSERT_NE(row("span_min"), nullptr);
    ASSERT_NE(row("span_max"), nullptr);
    EXPECT_LT(row("span_min")->values[0], row("span_max")->values[0]);
    EXPECT_NEAR(row("span_max")->values[0] - row("span_min")->values[0], 0.05 * std::cos(20 * kDeg), 1e-9);
    ASSERT_NE(row("over_balls_min"), nullptr);
    EXPECT_LT(row("over_balls_min")->values[0], row("over_balls_max")->values[0]);
    ASSERT_NE(row("accuracy_class"), nullptr);
    EXPECT_EQ(row("accuracy_class")->values[0], 6);
    EXPECT_NE(row("F_pT"), nullptr);
    EXPECT_EQ(row("F_beta"), nullptr);   // no face width: no helix tolerances
}

// A helical pair worked in its transverse section without the linear
// formulas: each tooth's transverse thickness on the reference circle from
// the gear model, carried to the working pitch circle of centre distance a'
// by the involute function, j_wt = p_w - s_w1 - s_w2 and j_bt = j_wt cos(alpha').
struct TransversePair {
    GearSpec gears[2];
    double a = 0;

    double BaseTangentBacklash(double allowance1, double allowance2, double centre) const
    {
        double r[2], rb[2], st[2], alphaT = 0;
        const double allowance[2] = {allowance1, allowance2};
        for (int i = 0; i < 2; ++i) {
            GearSpec g = gears[i];
            g.thicknessAllowance = allowance[i];
            const GearModel model(g);
            r[i] = model.PitchDiameter() / 2;
            rb[i] = model.BaseDiameter() / 2;
            st[i] = model.ReferenceThickness();
            alphaT = static_cast<double>(model.Helix().alpha);
        }
        const double aw = a + centre;
        const double alphaW = std::acos((rb[0] + rb[1]) / aw);
        double sw[2], rw[2];
        for (int i = 0; i < 2; ++i) {
            rw[i] = rb[i] / std::cos(alphaW);
            sw[i] = 2 * rw[i] * (st[i] / (2 * r[i]) + Inv(alphaT) - Inv(alphaW));
        }
        const double pw = 2 * kPi * rw[0] / gears[0].teeth;
        return (pw - sw[0] - sw[1]) * std::cos(alphaW);
    }
};

TEST(HelicalBacklash, AgainstTheTransverseSection)
{
    const struct {
        int z1, z2;
        double x1, x2, beta;
    } rows[] = {{12, 60, 0.09809, 0, 30}, {20, 35, 0.4, 0.2, 15}, {17, 50, 0, 0, 40}};
    for (const auto& row : rows) {
        PairInput in;
        in.module = 3;
        in.teeth = {row.z1, row.z2};
        in.shift = {row.x1, row.x2};
        in.helixAngle = row.beta;
        in.hands = {Hand::Left, Hand::Right};
        const PairResult pair = ComputePair(in);
        const TransversePair exact{{GearOf(pair.input, 0), GearOf(pair.input, 1)}, pair.centerDistance};
        const double betaB = static_cast<double>(GearModel(exact.gears[0]).Helix().baseHelix);
        // Solved without backlash: the flanks touch at the nominal centre distance.
        EXPECT_NEAR(exact.BaseTangentBacklash(0, 0, 0), 0, 1e-9) << row.z1;

        BacklashInput b;
        b.thickness = {ThicknessAllowance{-0.02, -0.06}, ThicknessAllowance{-0.03, -0.08}};
        b.centerDistance = {0.004, -0.002};
        const BacklashResult r = ComputeBacklash(pair, b);
        const double alphaWt = pair.workingPressureAngle * kDeg;
        const double tightBt = exact.BaseTangentBacklash(-0.02, -0.03, -0.002);
        const double looseBt = exact.BaseTangentBacklash(-0.06, -0.08, 0.004);
        EXPECT_NEAR(r.normal.min, tightBt * std::cos(betaB), 2e-6) << row.z1;
        EXPECT_NEAR(r.normal.max, looseBt * std::cos(betaB), 2e-6) << row.z1;
        EXPECT_NEAR(r.circumferential.min, tightBt / std::cos(alphaWt), 2e-6) << row.z1;
        EXPECT_NEAR(r.circumferential.max, looseBt / std::cos(alphaWt), 2e-6) << row.z1;
        // The radial backlash: how far the centre comes in until the flanks touch
        // (the linear j_r leaves out the change of alpha_w', a second-order term).
        double lo = -1.0, hi = -0.002;
        for (int i = 0; i < 80; ++i) {
            const double mid = (lo + hi) / 2;
            (exact.BaseTangentBacklash(-0.02, -0.03, mid) > 0 ? hi : lo) = mid;
        }
        EXPECT_NEAR(r.radial.min, -0.002 - lo, 2e-3 * r.radial.min) << row.z1;
        // The normal backlash is less than the transverse one by cos(beta_b),
        // not by cos(beta): the spur formula would be off by a visible amount.
        EXPECT_GT(std::abs(r.normal.max - looseBt * std::cos(row.beta * kDeg)), 1e-4) << row.z1;
    }
}

TEST(HelicalBacklash, ProposalGivesTheWantedRange)
{
    PairInput in;
    in.module = 2;
    in.teeth = {18, 45};
    in.shift = {0.2, -0.1};
    in.helixAngle = 20;
    const PairResult pair = ComputePair(in);
    for (const BacklashKind kind : {BacklashKind::Normal, BacklashKind::Circumferential}) {
        const ThicknessAllowance centre{0.02, -0.01};
        const auto each = ProposeAllowances(BacklashGeometryOf(pair), 0.08, 0.2, centre, kind);
        BacklashInput b;
        b.thickness = {each[0], each[1]};
        b.centerDistance = centre;
        const BacklashResult r = ComputeBacklash(pair, b);
        const BacklashRange& got = kind == BacklashKind::Normal ? r.normal : r.circumferential;
        EXPECT_NEAR(got.min, 0.08, 1e-12);
        EXPECT_NEAR(got.max, 0.2, 1e-12);
    }
    // A spur pair's geometry has no base helix.
    in.helixAngle = 0;
    EXPECT_EQ(BacklashGeometryOf(ComputePair(in)).baseHelixAngle, 0.0);
}

}  // namespace
