// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "geardata/gearrecord.h"
#include "geometry/gearmodel.h"
#include "geometry/inspection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

GearSpec Spec(double m, int z, double x, double degrees = 20.0, double allowance = 0.0)
{
    GearSpec g;
    g.module = m;
    g.teeth = z;
    g.shift = x;
    g.pressureAngleDegrees = degrees;
    g.thicknessAllowance = allowance;
    return g;
}

// Sizes and the undercut limit of the rack with its rounded tip, against the
// formulas written out here.
TEST(GearModel, SizesAndUndercutLimit)
{
    struct Case {
        double m;
        int z;
        double x, degrees;
    };
    for (const Case& c : {Case{2, 20, 0, 20}, Case{1, 12, 0.3, 20}, Case{3, 40, -0.5, 14.5}, Case{0.5, 7, 1.1, 20}}) {
        const GearModel g(Spec(c.m, c.z, c.x, c.degrees));
        const double a = c.degrees * std::numbers::pi / 180, s = std::sin(a);
        EXPECT_DOUBLE_EQ(g.PitchDiameter(), c.m * c.z);
        EXPECT_DOUBLE_EQ(g.TipDiameter(), c.m * (c.z + 2 + 2 * c.x));
        EXPECT_DOUBLE_EQ(g.RootDiameter(), c.m * (c.z - 2.5 + 2 * c.x));
        EXPECT_DOUBLE_EQ(g.BaseDiameter(), c.m * c.z * std::cos(a));
        EXPECT_DOUBLE_EQ(g.BasePitch(), std::numbers::pi * c.m * std::cos(a));
        EXPECT_NEAR(g.MinShift(), 1.25 - 0.38 * (1 - s) - c.z * s * s / 2, 1e-14);
        EXPECT_EQ(g.Undercut(), c.x < g.MinShift());
    }
    // Between the textbook limit (sharp rack corner at 1 m) and this rack's: 12 teeth.
    const GearModel justAbove(Spec(1, 12, 0.29812));
    EXPECT_GT(justAbove.TextbookMinShift(), 0.29812);
    EXPECT_LT(justAbove.MinShift(), 0.29812);
    EXPECT_FALSE(justAbove.Undercut());
    EXPECT_TRUE(GearModel(Spec(1, 12, 0.2980)).Undercut());
    EXPECT_TRUE(GearModel(Spec(2, 20, 0, 14.5)).Undercut());   // the count rule says nothing at 20 teeth
    EXPECT_NEAR(GearModel(Spec(2, 20, 0)).InvoluteStartDiameter(), 37.640, 5e-4);
}

// The allowance sets the rack deeper: tip kept, root and thickness follow, the
// flank stays the involute of the thinner tooth.
TEST(GearModel, AllowanceSetsTheRackDeeper)
{
    const double allowance = -0.1, tanA = std::tan(std::numbers::pi / 9);
    const GearModel plain(Spec(2, 20, 0.2)), thin(Spec(2, 20, 0.2, 20, allowance));
    EXPECT_DOUBLE_EQ(thin.TipDiameter(), plain.TipDiameter());
    EXPECT_NEAR(thin.RootDiameter(), plain.RootDiameter() + allowance / tanA, 1e-12);
    EXPECT_NEAR(thin.ReferenceThickness(), plain.ReferenceThickness() + allowance, 1e-13);
    EXPECT_NEAR(thin.MinShift(), plain.MinShift() - allowance / (2 * 2 * tanA), 1e-13);
    EXPECT_NEAR(thin.EffectiveShift(), 0.2 + allowance / (2 * 2 * tanA), 1e-13);
    // On the reference circle the generated flank is half the thinner tooth away from the centre line.
    for (const BoundaryPiece& p : thin.Boundary()) {
        if (p.kind != PieceKind::Involute)
            continue;
        const double t = std::sqrt(std::pow(40.0 / thin.BaseDiameter(), 2) - 1);
        const OutlinePoint q = thin.PointOn(PieceKind::Involute, t);
        EXPECT_NEAR(std::hypot(q.x, q.y), 20.0, 1e-12);
        EXPECT_NEAR(-std::atan2(q.y, q.x) * 20.0 * 2, plain.ReferenceThickness() + allowance, 1e-12);
    }
    EXPECT_LT(thin.TipThickness(), plain.TipThickness());

    // The inspection reads the thinner tooth: W shorter by A cos(alpha), s by A,
    // and W's anvil rests on the allowance's generated flank.
    const InspectionResult b = ComputeInspection(plain.Spec()), a = ComputeInspection(thin.Spec(), {b.pinDiameter.value, {}});
    EXPECT_NEAR(*a.spans[1].span.value - *b.spans[1].span.value, allowance * std::cos(std::numbers::pi / 9), 1e-12);
    EXPECT_NEAR(*a.toothThickness.value - *b.toothThickness.value, allowance, 1e-13);
    EXPECT_LT(*a.overPins.value, *b.overPins.value);   // the same pin drops deeper
    const double dc = *a.spans[1].contactDiameter.value, beta = (a.spans[1].teeth - 1) * std::numbers::pi / 20;
    const OutlinePoint q = thin.PointOn(PieceKind::Involute, std::sqrt(dc * dc / (thin.BaseDiameter() * thin.BaseDiameter()) - 1));
    EXPECT_NEAR(2 * (q.x * std::sin(beta) - q.y * std::cos(beta)), *a.spans[1].span.value, 1e-11);
}

// The boundary is one connected line from the space middle to the centre line,
// and its findings name what is wrong with the tooth.
TEST(GearModel, BoundaryAndFindings)
{
    using F = ToothFinding;
    struct Case {
        GearSpec spec;
        std::vector<F> findings;
    };
    const Case cases[] = {
        {Spec(2, 20, 0), {}},
        {Spec(2, 12, 0), {F::Undercut}},
        {Spec(2, 12, 0.3), {}},
        {Spec(2, 20, 0, 14.5), {F::Undercut}},
        {Spec(1, 20, 2), {F::PointedTip}},
        {Spec(1, 20, 1.2), {F::ThinTip}},
        {Spec(1, 5, -0.6), {F::Undercut, F::CutThrough}},
        {Spec(1, 18, -1.6), {F::Undercut, F::TipInsideBase}},
    };
    for (const Case& c : cases) {
        const GearModel g(c.spec);
        SCOPED_TRACE(testing::Message() << "z " << c.spec.teeth << " x " << c.spec.shift);
        EXPECT_EQ(g.Findings(), c.findings);
        const auto& pieces = g.Boundary();
        ASSERT_GE(pieces.size(), 2u);
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            const OutlinePoint a = g.PointOn(pieces[i - 1].kind, pieces[i - 1].to), b = g.PointOn(pieces[i].kind, pieces[i].from);
            EXPECT_NEAR(std::hypot(a.x - b.x, a.y - b.y), 0.0, 1e-9) << i;
        }
        const OutlinePoint first = g.PointOn(pieces.front().kind, pieces.front().from);
        EXPECT_NEAR(std::atan2(first.y, first.x), -std::numbers::pi / c.spec.teeth, 1e-12);
    }
    const GearModel cut(Spec(1, 5, -0.6));
    EXPECT_NEAR(cut.CutThroughLowDiameter(), 2.08, 0.01);   // cut off between these two
    EXPECT_NEAR(cut.CutThroughDiameter(), 3.45, 0.01);
    EXPECT_NEAR(cut.TipThickness(), 0.8377, 5e-5);
    for (const char* text : {"警告：ｱﾝﾀﾞｰｶｯﾄが歯を貫通、歯形不成立"})
        EXPECT_EQ(FindingText(F::CutThrough), text);
    EXPECT_EQ(FindingText(F::PointedTip, "歯車１"), "警告：歯車１：歯先が尖って交差、歯形不成立");
}

TEST(GearModel, RefusesWhatIsNoGear)
{
    for (GearSpec g : {Spec(0, 20, 0), Spec(1, 0, 0), Spec(1, 20, NAN), Spec(1, 20, 0, 90)}) {
        EXPECT_FALSE(GearSpecDefect(g).empty());
        EXPECT_THROW(GearModel{g}, AppError);
    }
    GearSpec internal = Spec(1, 40, 0);
    internal.kind = GearKind::Internal;
    EXPECT_THROW(GearModel{internal}, AppError);
    EXPECT_THROW(PressureAngleDegrees(2), AppError);
    EXPECT_EQ(PressureAngleDegrees(0), 14.5);
}

}  // namespace
