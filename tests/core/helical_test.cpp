// SPDX-License-Identifier: GPL-3.0-or-later
// Helical gears on the one gear model: the transverse values derived from the
// normal ones, the transverse section the rack cuts, and the inspection in the
// normal section.
#include "commands/helicaltext.h"
#include "geometry/gearmodel.h"
#include "geometry/inspection.h"
#include "geometry/pair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;

GearSpec Helical(double mn, int z, double xn, double betaDegrees, Hand hand = Hand::Right)
{
    GearSpec g{mn, z, xn, 20.0};
    g.helixAngleDegrees = betaDegrees;
    g.hand = hand;
    return g;
}

// The Japanese gear handbooks' worked table of a normal-system helical pair:
// m_n 3, alpha_n 20, beta 30, z 12 / 60, x_n 0.09809 / 0, y 0.09744.
TEST(Helical, HandbookPairGears)
{
    const double y = 0.09744, x1 = 0.09809;
    const struct {
        int z;
        double x, d, db, da, df;
    } rows[] = {{12, x1, 41.569, 38.322, 48.154, 34.658}, {60, 0.0, 207.846, 191.611, 213.842, 200.346}};
    for (const auto& row : rows) {
        GearSpec g = Helical(3, row.z, row.x, 30, row.z == 12 ? Hand::Left : Hand::Right);
        g.tipShortening = x1 - y;   // the pair's k = x1 + x2 - y, in m_n
        const GearModel model(g);
        EXPECT_NEAR(Degrees(model.Helix().alpha), 22.79588, 5e-6) << row.z;
        EXPECT_NEAR(model.PitchDiameter(), row.d, 5e-4) << row.z;
        EXPECT_NEAR(model.BaseDiameter(), row.db, 5e-4) << row.z;
        EXPECT_NEAR(model.TipDiameter(), row.da, 5e-4) << row.z;
        EXPECT_NEAR(model.RootDiameter(), row.df, 5e-4) << row.z;
    }
}

// The handbooks' normal tooth thickness: m_n 5, beta 25, z 16, x_n 0.2: s_n 8.5819.
TEST(Helical, NormalToothThickness)
{
    const GearSpec g = Helical(5, 16, 0.2, 25);
    const InspectionResult r = ComputeInspection(g);
    ASSERT_TRUE(r.toothThickness.present());
    EXPECT_NEAR(*r.toothThickness.value, 8.5819, 5e-5);
    const GearModel model(g);
    EXPECT_NEAR(model.NormalReferenceThickness(), 8.5819, 5e-5);
    // The transverse arc is the normal one over cos(beta), not the shift taken in m_t.
    EXPECT_NEAR(model.ReferenceThickness(), 8.5819 / std::cos(25 * kDeg), 1e-4);
    EXPECT_NEAR(model.InvoluteThicknessAt(model.PitchDiameter()), model.ReferenceThickness(), 1e-12);
    // The chord in the normal section, on the virtual spur gear of z / cos^3(beta) teeth.
    const double dv = 16 * 5 / std::pow(std::cos(25 * kDeg), 3), half = 8.5819221 / dv;
    ASSERT_TRUE(r.chordalThickness.present() && r.chordalHeight.present());
    EXPECT_NEAR(*r.chordalThickness.value, dv * std::sin(half), 1e-5);
    EXPECT_NEAR(*r.chordalHeight.value, (model.TipDiameter() - model.PitchDiameter()) / 2 + dv / 2 * (1 - std::cos(half)),
                1e-5);
}

// beta_b from tan(beta) cos(alpha_t) is the angle whose sine is sin(beta) cos(alpha_n);
// the one from tan(beta) cos(alpha_n) is not. The lead is pi d / tan(beta).
TEST(Helical, BaseHelixAndLead)
{
    for (double beta : {5.0, 15.0, 30.0, 45.0, 70.0}) {
        const GearModel model(Helical(2, 25, 0.1, beta));
        const HelixSizes& h = model.Helix();
        const double b = beta * kDeg, an = 20 * kDeg;
        EXPECT_NEAR(std::sin(static_cast<double>(h.baseHelix)), std::sin(b) * std::cos(an), 1e-15) << beta;
        EXPECT_GT(std::fabs(static_cast<double>(h.baseHelix) - std::atan(std::tan(b) * std::cos(an))), 1e-6) << beta;
        EXPECT_NEAR(static_cast<double>(h.lead), kPi * model.PitchDiameter() / std::tan(b), 1e-9) << beta;
        EXPECT_NEAR(model.PitchDiameter(), 25 * 2 / std::cos(b), 1e-12) << beta;
        // The base pitches: transverse times cos(beta_b) ... the normal one.
        EXPECT_NEAR(model.BasePitch() * std::cos(static_cast<double>(h.baseHelix)), model.NormalBasePitch(), 1e-12);
    }
}

// A spur gear is the same gear whichever hand it is given, to the bit, and its
// transverse values are its own.
TEST(Helical, SpurKeepsItsBits)
{
    GearSpec left{1.5, 13, -0.2, 20.0};
    left.hand = Hand::Left;
    const GearModel a(GearSpec{1.5, 13, -0.2, 20.0}), b(left);
    EXPECT_EQ(a.Helix().alpha, Radians(20.0L));
    EXPECT_EQ(a.Helix().spanVirtualTeeth, 13.0L);
    EXPECT_EQ(a.TipThickness(), b.TipThickness());
    EXPECT_EQ(a.NormalTipThickness(), a.TipThickness());
    EXPECT_EQ(a.NormalReferenceThickness(), a.ReferenceThickness());
    EXPECT_EQ(a.InvoluteStartDiameter(), b.InvoluteStartDiameter());
}

// The tip rounding seen in the transverse section is an ellipse: its trochoid
// meets the involute where the rounding meets the flank, so just below x_min
// the searched start of the involute joins the formula's start above it, and
// the fillet stays within the rack's reach (the root circle).
TEST(Helical, TrochoidJoinsInvoluteAtMinShift)
{
    for (double beta : {10.0, 30.0, 45.0}) {
        for (int z : {8, 14}) {
            GearSpec g = Helical(1, z, 0, beta);
            const double xMin = GearModel(g).MinShift();
            g.shift = xMin + 1e-7;
            const GearModel above(g);
            g.shift = xMin - 1e-7;
            const GearModel below(g);
            EXPECT_FALSE(above.Undercut());
            EXPECT_TRUE(below.Undercut());
            EXPECT_NEAR(below.InvoluteStartDiameter(), above.InvoluteStartDiameter(), 1e-4) << beta << " " << z;
            for (const BoundaryPiece& p : below.Boundary())
                if (p.kind == PieceKind::Trochoid)
                    for (int i = 0; i <= 50; ++i) {
                        const OutlinePoint q = below.PointOn(p.kind, p.from + (p.to - p.from) * i / 50);
                        EXPECT_GE(std::hypot(q.x, q.y), below.RootDiameter() / 2 - 1e-9);
                    }
        }
    }
    // The textbook limit 1 - z sin^2(alpha_t) / (2 cos beta): z 12 at 30 degrees needs no shift.
    EXPECT_NEAR(GearModel(Helical(1, 12, 0, 30)).TextbookMinShift(),
                1 - 12 * std::pow(std::sin(22.79588 * kDeg), 2) / (2 * std::cos(30 * kDeg)), 1e-6);
    EXPECT_FALSE(GearModel(Helical(1, 12, 0, 30)).Undercut());
    EXPECT_TRUE(GearModel(Helical(1, 12, 0, 10)).Undercut());
}

TEST(Helical, Refusals)
{
    const struct {
        double beta;
        GearKind kind;
        const char* message;
    } rows[] = {
        {90, GearKind::External, "ねじれ角が 0° 以上 90° 未満ではありません"},
        {-1, GearKind::External, "ねじれ角が 0° 以上 90° 未満ではありません"},
        {std::nan(""), GearKind::External, "ねじれ角が 0° 以上 90° 未満ではありません"},
        {20, GearKind::Internal, "内歯車のはすば歯車はまだ扱えません"},
    };
    for (const auto& row : rows) {
        GearSpec g = Helical(2, 30, 0, row.beta);
        g.kind = row.kind;
        if (row.kind == GearKind::Internal)
            g.cutter.kind = CutterKind::Pinion;
        EXPECT_EQ(GearSpecDefect(g), row.message) << row.beta;
        EXPECT_FALSE(ComputeInspection(g).toothThickness.present());
    }
}

// The span: W = m_n cos(alpha_n) (pi (k - 0.5) + z inv(alpha_t)) + 2 x_n m_n
// sin(alpha_n), k from z_n, and the warning when W sin(beta_b) reaches the face width.
TEST(Helical, SpanAndFaceWidth)
{
    const GearSpec g = Helical(3, 60, 0, 30);
    const GearModel model(g);
    const double at = static_cast<double>(model.Helix().alpha), an = 20 * kDeg;
    const double zn = 60 * (std::tan(at) - at) / (std::tan(an) - an);
    InspectionRequest request;
    const InspectionResult r = ComputeInspection(g, request);
    ASSERT_TRUE(r.recommendedSpanTeeth.present());
    EXPECT_EQ(*r.recommendedSpanTeeth.value, std::round(zn * an / kPi + 0.5));   // x_n 0: z_n alpha_n / pi + 0.5
    const int k = r.spans[1].teeth;
    const double w = 3 * std::cos(an) * (kPi * (k - 0.5) + 60 * (std::tan(at) - at));
    ASSERT_TRUE(r.spans[1].span.present());
    EXPECT_NEAR(*r.spans[1].span.value, w, 1e-9);
    const double reach = w * std::sin(static_cast<double>(model.Helix().baseHelix));
    for (double b : {reach * 0.99, reach * 1.01}) {
        request.faceWidth = b;
        const InspectionResult rb = ComputeInspection(g, request);
        ASSERT_EQ(rb.spanFindings.size(), b < reach ? 1u : 0u) << b;
        if (b < reach) {
            EXPECT_EQ(rb.spanFindings[0], "警告：W sin βb が歯幅 b 以上、アンビルが歯面に収まらずまたぎ歯厚を測れません（k＝" +
                                              std::to_string(k) + "）");
        }
    }
}

// A contact below the involute is not read on the transverse section of a
// helical gear: absent with its reason, where a spur gear reads it.
TEST(Helical, OffInvoluteAbsent)
{
    InspectionRequest request;
    request.spanTeeth = 1;
    request.pinDiameter = 1.6;
    const InspectionResult spur = ComputeInspection(GearSpec{1, 6, -0.5, 20}, request);
    EXPECT_TRUE(spur.spans[1].span.present());
    const InspectionResult helical = ComputeInspection(Helical(1, 6, -0.7, 15), request);
    ASSERT_FALSE(helical.spans[1].span.present());
    EXPECT_EQ(helical.spans[1].span.reason, "はすば歯車のインボリュート外の接触は測れません（インボリュートで接するものだけ）");
}

// The report keeps the sections apart: every transverse row says 正面, every
// normal one 歯直角, and the values are the model's.
TEST(Helical, ReportRows)
{
    const GearSpec g = Helical(3, 12, 0.09809, 30, Hand::Left);
    const MateReport report = HelicalGearReport(g, ComputeInspection(g), ".");
    const auto find = [&report](const std::string& key) -> const PairRow* {
        for (const auto* rows : {&report.inputs, &report.results})
            for (const PairRow& row : *rows)
                if (key == row.key)
                    return &row;
        return nullptr;
    };
    const struct {
        const char* key;
        const char* text;
        const char* section;
    } rows[] = {
        {"hand", "左", "ねじれ方向"},
        {"module_transverse", "3.464102", "正面"},
        {"pressure_angle_transverse", "22.79588", "正面"},
        {"pitch_diameter", "41.5692", "基準円"},
        {"base_diameter", "38.3223", "基礎円"},
        {"tooth_thickness_normal", "4.9266", "歯直角"},
        {"module_normal", "3", "歯直角"},
    };
    for (const auto& row : rows) {
        const PairRow* got = find(row.key);
        ASSERT_NE(got, nullptr) << row.key;
        EXPECT_EQ(got->texts[0], row.text) << row.key;
        EXPECT_NE(std::string(got->label).find(row.section), std::string::npos) << row.key;
    }
    for (const auto* rows : {&report.inputs, &report.results})
        for (const PairRow& row : *rows) {
            const std::string key = row.key, label = row.label;
            if (key.find("transverse") != std::string::npos) {
                EXPECT_NE(label.find("正面"), std::string::npos) << key;
            }
            if (key.find("normal") != std::string::npos) {
                EXPECT_NE(label.find("歯直角"), std::string::npos) << key;
            }
        }
}

PairInput HandbookPair()
{
    PairInput in;
    in.module = 3;
    in.pressureAngle = 20;
    in.helixAngle = 30;
    in.teeth = {12, 60};
    in.shift = {0.09809, 0.0};
    in.hands = {Hand::Left, Hand::Right};
    in.faceWidth = 20;
    return in;
}

// The handbooks' worked helical pair (m_n 3, beta 30, z 12/60, x_n 0.09809/0, b 20), to its printed digits.
TEST(HelicalPair, HandbookPair)
{
    const PairResult r = ComputePair(HandbookPair());
    const struct {
        const char* what;
        double got, expected, tolerance;
    } rows[] = {
        {"alpha_wt", r.workingPressureAngle, 23.1126, 5e-5},
        {"a", r.centerDistance, 125.000, 5e-4},
        {"y", r.centerDistanceModification, 0.09744, 1e-5},
        {"da1", r.tipDiameter[0], 48.154, 5e-4},
        {"da2", r.tipDiameter[1], 213.842, 5e-4},
        {"df1", r.rootDiameter[0], 34.658, 5e-4},
        {"df2", r.rootDiameter[1], 200.346, 5e-4},
        {"db1", r.baseDiameter[0], 38.322, 5e-4},
        {"db2", r.baseDiameter[1], 191.611, 5e-4},
        {"epsilon_alpha", r.contactRatio, 1.294, 5e-4},
        {"epsilon_beta", r.overlapRatio, 1.061, 5e-4},
        {"epsilon_gamma", r.totalContactRatio, 1.294 + 1.061, 1e-3},
        {"shift sum from a 125", ShiftSumForCenterDistance(HandbookPair(), 125.0), 0.09809, 5e-6},
    };
    for (const auto& row : rows)
        EXPECT_NEAR(row.got, row.expected, row.tolerance) << row.what;
    EXPECT_TRUE(r.findings.empty());
    // From the centre distance: the same pair back, whichever split.
    const PairResult back = ComputePairForCenterDistance(HandbookPair(), 125.0);
    EXPECT_NEAR(back.shiftSum, 0.09809, 5e-6);
    EXPECT_NEAR(back.centerDistance, 125.0, 1e-12);
}

// The shift is in m_n: a shift sum taken in m_t would move the centre distance
// by 2 (x1 + x2)(m_t - m_n) more than y m_n.
TEST(HelicalPair, ShiftInNormalModule)
{
    PairInput in = HandbookPair();
    in.shift = {0.5, 0.3};
    const PairResult r = ComputePair(in);
    const double mt = 3 / std::cos(30 * kDeg), at = std::atan(std::tan(20 * kDeg) / std::cos(30 * kDeg));
    const double invWt = std::tan(at) - at + 2 * std::tan(20 * kDeg) * 0.8 / 72;
    double aw = at;   // Newton on tan(aw) - aw = invWt
    for (int i = 0; i < 50; ++i)
        aw -= (std::tan(aw) - aw - invWt) / std::pow(std::tan(aw), 2);
    EXPECT_NEAR(r.centerDistance, 72 * mt * std::cos(at) / (2 * std::cos(aw)), 1e-9);
    EXPECT_NEAR(r.tipShortening, 0.8 - (r.centerDistance - 36 * mt) / 3, 1e-9);
    EXPECT_NEAR(ShiftSumForCenterDistance(in, r.centerDistance), 0.8, 1e-9);
}

TEST(HelicalPair, FindingsAndRefusals)
{
    PairInput same = HandbookPair();
    same.hands = {Hand::Right, Hand::Right};
    const PairResult r = ComputePair(same);
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0], "警告：外歯車どうしのねじれ方向が同じ、かみあわない（一方を右、他方を左に）");
    // Without a face width no overlap, and the transverse ratio alone is judged.
    PairInput narrow = HandbookPair();
    narrow.faceWidth = std::nan("");
    EXPECT_TRUE(std::isnan(ComputePair(narrow).overlapRatio));
    narrow.faceWidth = 0.5;   // epsilon_gamma 1.294 + 0.027 still above 1.2
    EXPECT_TRUE(ComputePair(narrow).findings.empty());
    const struct {
        double beta;
        MateKind mate;
        double face;
        const char* message;
    } rows[] = {
        {90, MateKind::External, 20, "ねじれ角は 0° 以上 90° 未満でなければなりません"},
        {-3, MateKind::External, 20, "ねじれ角は 0° 以上 90° 未満でなければなりません"},
        {20, MateKind::Internal, 20, "はすば歯車の組はまだ外歯車どうしだけです"},
        {20, MateKind::Rack, 20, "はすば歯車の組はまだ外歯車どうしだけです"},
        {20, MateKind::External, -1, "歯幅は正の数でなければなりません"},
    };
    for (const auto& row : rows) {
        PairInput in = HandbookPair();
        in.helixAngle = row.beta;
        in.mate = row.mate;
        in.faceWidth = row.face;
        try {
            CheckPairBasics(in);
            ADD_FAILURE() << row.message;
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), row.message);
        }
    }
}

}  // namespace

namespace {

// The transverse system: a spec given in m_t, alpha_t, x_t is the normal gear
// it converts to, and the conversion goes there and back.
TEST(HelicalTransverse, RoundTripAndSameGear)
{
    const struct {
        double m, x, alpha, beta, allowance, k;
    } rows[] = {{3, 0.09809, 20, 30, 0, 0.00065}, {2, -0.3, 20, 15, -0.05, 0}, {1.25, 0.6, 14.5, 42, -0.02, 0.1}};
    for (const auto& row : rows) {
        GearSpec normal{row.m, 23, row.x, row.alpha};
        normal.helixAngleDegrees = row.beta;
        normal.thicknessAllowance = row.allowance;
        normal.tipShortening = row.k;
        const GearSpec t = TransverseSystemOf(normal);
        const double c = std::cos(row.beta * kDeg);
        EXPECT_TRUE(t.transverse);
        EXPECT_NEAR(t.module, row.m / c, 1e-14);
        EXPECT_NEAR(t.shift * t.module, row.x * row.m, 1e-14);   // the same radial shift
        EXPECT_NEAR(std::tan(t.pressureAngleDegrees * kDeg), std::tan(row.alpha * kDeg) / c, 1e-14);
        const GearSpec back = NormalSystemOf(t);
        EXPECT_FALSE(back.transverse);
        for (const auto& [got, want] : {std::pair{back.module, normal.module}, {back.shift, normal.shift},
                                        {back.pressureAngleDegrees, normal.pressureAngleDegrees},
                                        {back.thicknessAllowance, normal.thicknessAllowance},
                                        {back.tipShortening, normal.tipShortening}})
            EXPECT_NEAR(got, want, 1e-13 * (1 + std::fabs(want))) << row.beta;
        // The model of the transverse spec is the normal gear.
        const GearModel a(normal), b(t);
        EXPECT_FALSE(b.Spec().transverse);
        for (const auto& [got, want] : {std::pair{b.TipDiameter(), a.TipDiameter()}, {b.RootDiameter(), a.RootDiameter()},
                                        {b.BaseDiameter(), a.BaseDiameter()}, {b.TipThickness(), a.TipThickness()},
                                        {b.InvoluteStartDiameter(), a.InvoluteStartDiameter()},
                                        {b.MinShift(), a.MinShift()}})
            EXPECT_NEAR(got, want, 1e-11) << row.beta;
        EXPECT_NEAR(static_cast<double>(ExactSizesOf(t).pitch), 23 * t.module, 1e-12);
        EXPECT_NEAR(static_cast<double>(InvoluteThicknessOnCircle(t, ExactSizesOf(t).pitch)),
                    a.ReferenceThickness(), 1e-12);
    }
    // A transverse spur gear is the spur gear to the bit; a bad transverse angle is named as such.
    GearSpec spur{2, 20, 0.1, 20};
    spur.transverse = true;
    EXPECT_EQ(GearModel(spur).TipThickness(), GearModel(GearSpec{2, 20, 0.1, 20}).TipThickness());
    spur.helixAngleDegrees = 10;
    spur.pressureAngleDegrees = 95;
    EXPECT_EQ(GearSpecDefect(spur), "圧力角が 0° と 90° の間にありません");
}

}  // namespace
