// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/internalpair.h"

#include "base/apperror.h"
#include "geometry/extended.h"
#include "geometry/gearmath.h"
#include "geometry/gearmodel.h"
#include "geometry/internalgear.h"
#include "geometry/mesh.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

using L = long double;

void CheckPair(const PairInput& in)
{
    CheckPairBasics(in);
    if (in.teeth[1] <= in.teeth[0])
        throw AppError("内歯車の歯数は歯車１の歯数より多くしてください");
}

const char* const kRingTipInsideBase = "内歯車の歯先円が基礎円の内側にある";

// The deepest overlap of the generated teeth as gear 1 turns through a pitch.
InterferenceCheck DeepestOverlap(const InternalPairResult& pair)
{
    MeshInput input = MeshInputOf(pair);
    input.tolerance = std::clamp(kTipCheckTolerance * pair.input.module, 0.00001, 1.0);
    try {
        const GearMesh mesh(input);
        // The search ends at the first step past the limit: a pair whose
        // teeth all collide (a ring of one tooth more) would cost each step
        // a clip of every tooth.
        double deepest = 0.0;
        for (int k = 0; k < kTipCheckSteps && !(deepest > kTipCheckDepth * pair.input.module); ++k)
            for (const MeshPolygon& piece : mesh.OverlapsAt(mesh.pitchAngle() * k / kTipCheckSteps))
                deepest = std::max(deepest, OverlapDepth(piece));
        return {deepest, deepest > kTipCheckDepth * pair.input.module, {}};
    } catch (const AppError& e) {
        return {std::nullopt, false, e.what()};
    }
}

}  // namespace

InternalPairResult ComputeInternalPair(const PairInput& in)
{
    CheckPair(in);
    for (int i = 0; i < 2; ++i)
        if (!std::isfinite(in.shift[i]))
            throw AppError(std::string(i == 0 ? "転位係数 x1" : "転位係数 x2") + " は有限の数でなければなりません");

    InternalPairResult r;
    r.input = in;
    r.input.mate = MateKind::Internal;
    const L m = in.module, alpha = Radians(in.pressureAngle);
    const L cosA = std::cos(alpha);
    const L z1 = in.teeth[0], z2 = in.teeth[1], x1 = in.shift[0], x2 = in.shift[1];
    const L invW = InternalWorkingInvolute(alpha, x2 - x1, z2 - z1);
    if (!(invW > 0.0L) || !std::isfinite(invW))
        throw AppError("転位係数の差 x2−x1 が小さすぎて、かみあう中心距離がありません");
    const L alphaW = InverseInvolute(invW);
    const L a0 = m * (z2 - z1) / 2.0L;
    const L a = a0 * cosA / std::cos(alphaW);

    r.shiftDifference = Store(x2 - x1);
    r.workingPressureAngle = Store(Degrees(alphaW));
    r.standardCenterDistance = Store(a0);
    r.centerDistance = Store(a);
    r.centerDistanceModification = Store((a - a0) / m);

    // The ring as its default pinion-type cutter cuts it: its root and where
    // its involute ends (without such a cutter both stay unknown, and the
    // report gives the cutter's refusal as the reason).
    const GearSpec pinionSpec = GearOf(r.input, 0), ringSpec = GearOf(r.input, 1);
    L df2 = std::numeric_limits<L>::quiet_NaN();
    L ringEnd = std::numeric_limits<L>::quiet_NaN();
    try {
        const GearModel model(ringSpec);
        df2 = model.RootDiameter();
        ringEnd = model.InvoluteStartDiameter() / 2.0;
    } catch (const AppError& e) {
        r.ringAbsent = e.what();
    }
    const ExactSizes pinionSizes = ExactSizesOf(pinionSpec), ringSizes = ExactSizesOf(ringSpec);
    const L da1 = pinionSizes.tip, df1 = pinionSizes.root;
    const L da2 = ringSizes.tip;
    const L db1 = pinionSizes.base, db2 = ringSizes.base;
    const L ra1 = da1 / 2.0L, ra2 = da2 / 2.0L, rb1 = db1 / 2.0L, rb2 = db2 / 2.0L;
    if (!(da1 > db1))
        throw AppError("歯車１の歯先円が基礎円の内側にあり、かみあいません");
    // The pinion as the standard rack cuts it.
    const GearModel pinion(pinionSpec);
    r.tipDiameter = {Store(da1), Store(da2)};
    r.rootDiameter = {Store(df1), Store(df2)};
    r.baseDiameter = {Store(db1), Store(db2)};
    const L alphaA1 = std::acos(rb1 / ra1);
    r.tipThickness[0] = Store(InvoluteThicknessOnCircle(pinionSpec, da1));
    const bool ringInvolute = ra2 > rb2;
    const L alphaA2 = ringInvolute ? std::acos(rb2 / ra2) : 0.0L;
    r.tipThickness[1] =
        ringInvolute ? Store(InvoluteThicknessOnCircle(ringSpec, da2))
                     : std::numeric_limits<double>::quiet_NaN();

    r.clearancePinionTip = Store(df2 / 2.0L - a - ra1);
    r.clearanceRingTip = Store(ra2 - a - df1 / 2.0L);
    const L line = a * std::sin(alphaW);
    r.lineOfAction = Store(line);
    // Approach from the ring's tip, recess to the pinion's: the ring's tangent
    // length is measured on the same side as the pinion's.
    const L pinionTip = std::sqrt(ra1 * ra1 - rb1 * rb1);
    const L ringTip = ringInvolute ? std::sqrt(ra2 * ra2 - rb2 * rb2) : 0.0L;
    // Contact cannot start before the pinion's tangent point T1: a ring tip
    // that reaches past it (or lies inside its base circle) starts it there.
    const bool startsPastTangent = ringTip - line < 0.0L;
    r.contactRatio = Store((pinionTip - std::max(ringTip - line, 0.0L)) / (kPi * m * cosA));

    // Involute interference: the ring's tip must not reach past the pinion's
    // tangent point on the line of action.
    if (ringInvolute) {
        const L margin = z1 / z2 - (1.0L - std::tan(alphaA2) / std::tan(alphaW));
        r.involute = {Store(margin), margin < 0.0L, {}};
    } else {
        r.involute = {std::nullopt, true, kRingTipInsideBase};
    }
    // Trochoid interference: the pinion's tip, leaving the mesh, must pass
    // the ring's tip corner.
    const L c1 = (ra2 * ra2 - ra1 * ra1 - a * a) / (2.0L * a * ra1);
    const L c2 = (a * a + ra2 * ra2 - ra1 * ra1) / (2.0L * a * ra2);
    if (ringInvolute && std::fabs(c1) <= 1.0L && std::fabs(c2) <= 1.0L) {
        const L theta1 = std::acos(c1) + Involute(alphaA1) - invW;
        const L theta2 = std::acos(c2);
        const L margin = theta1 * z1 / z2 + invW - Involute(alphaA2) - theta2;
        r.trochoid = {Store(margin), margin < 0.0L, {}};
    } else {
        // The tip circles do not cross: the pinion's tip never meets the ring's.
        r.trochoid = {std::nullopt, !ringInvolute,
                      ringInvolute ? "歯先円どうしが交わらず、歯先が出会わない" : kRingTipInsideBase};
    }
    const auto trim = TrimmingMargin(in.module, in.teeth[0], r.tipDiameter[0], in.teeth[1], r.tipDiameter[1],
                                     in.pressureAngle, r.workingPressureAngle);
    r.trimming = {trim, !(trim && *trim >= 0.0),
                  trim ? "" : ringInvolute ? "歯車１の歯先と内歯車の歯先が半径方向にすれ違えない" : kRingTipInsideBase};
    // Tip interference: where each tip's contact lies on the mate's flank,
    // against where the mate's involute ends.
    const L pinionStart = pinion.Undercut() ? pinion.InvoluteStartDiameter() / 2.0L : ExactInvoluteStartRadius(pinionSpec);
    r.ringInvoluteEndDiameter = Store(2.0L * ringEnd);
    r.pinionInvoluteStartDiameter = Store(2.0L * pinionStart);
    const L onRing = std::sqrt(rb2 * rb2 + (pinionTip + line) * (pinionTip + line));
    if (std::isfinite(ringEnd)) {
        L tipMargin = ringEnd - onRing;
        // A ring tip that reaches below the pinion's base circle is the involute interference.
        if (ringInvolute && ringTip - line >= 0.0L)
            tipMargin = std::min(tipMargin, std::sqrt(rb1 * rb1 + (ringTip - line) * (ringTip - line)) - pinionStart);
        r.tip = {Store(tipMargin), false, {}};
    } else {
        r.tip = {std::nullopt, false, r.ringAbsent.empty() ? "内歯車のインボリュートの終わりが求まらない" : r.ringAbsent};
    }
    r.tipDepth = DeepestOverlap(r);
    r.tip.interferes = r.tipDepth.interferes;

    if (r.contactRatio < kMinimumContactRatio)
        r.findings.emplace_back("警告：かみあい率εαが1.2未満、かみあいが途切れる");
    if (startsPastTangent)
        r.findings.emplace_back(kContactFromTangentText);
    if (r.involute.interferes)
        r.findings.emplace_back("警告：インボリュート干渉（内歯車の歯先が歯車１の基礎円側に入り込む）");
    if (r.trochoid.interferes)
        r.findings.emplace_back("警告：トロコイド干渉（かみあいを抜ける歯車１の歯先が内歯車の歯先に当たる）");
    if (r.trimming.interferes)
        r.findings.emplace_back("警告：トリミング干渉（歯車１を半径方向に組み込めない）");
    if (r.tip.interferes)
        r.findings.emplace_back("警告：歯先干渉（歯先が相手の歯元のすみ肉に当たる、食い込みがモジュールの1/1000を超える）");
    if (!r.ringAbsent.empty())
        r.findings.push_back("警告：" + r.ringAbsent);
    else if (!r.tipDepth.margin)
        r.findings.push_back("警告：歯先干渉を調べられません（" + r.tipDepth.absent + "）");
    if (pinion.Undercut())
        r.findings.push_back(FindingText(ToothFinding::Undercut, "歯車１"));
    if (!(r.tipThickness[0] > 0.0))
        r.findings.emplace_back("警告：歯車１の歯先がとがる（歯先厚さ０以下）");
    if (ringInvolute && !(r.tipThickness[1] > 0.0))
        r.findings.emplace_back("警告：内歯車の歯先がとがる（歯先厚さ０以下）");
    return r;
}

InternalPairResult ComputeInternalPairForCenterDistance(const PairInput& in, double centerDistance)
{
    CheckPair(in);
    if (!std::isfinite(in.shift[0]))
        throw AppError("転位係数 x1 は有限の数でなければなりません");
    const L alpha = Radians(in.pressureAngle);
    const L zDiff = static_cast<L>(in.teeth[1]) - in.teeth[0];
    const L a0 = static_cast<L>(in.module) * zDiff / 2.0L;
    const L cosW = a0 * std::cos(alpha) / centerDistance;
    if (!(std::isfinite(centerDistance) && cosW > 0.0L && cosW < 1.0L))
        throw AppError("中心距離が小さすぎます（両歯車の基礎円半径の差より大きくしてください）");
    const L invW = Involute(std::acos(cosW));
    if (!(invW > 0.0L && std::isfinite(invW)))
        throw AppError("中心距離が大きすぎて、転位係数の差が求まりません");
    PairInput given = in;
    given.shift[1] = Store(in.shift[0] + ShiftsForWorkingInvolute(invW, alpha, zDiff));
    InternalPairResult r = ComputeInternalPair(given);
    r.fromCenterDistance = true;
    return r;
}

MeshInput MeshInputOf(const InternalPairResult& pair)
{
    MeshInput in;
    in.gears = pair.input;
    in.gears.mate = MateKind::Internal;
    in.centerDistance = pair.centerDistance;
    return in;
}
