// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/pair.h"

#include "base/apperror.h"
#include "geometry/extended.h"
#include "geometry/gearmath.h"
#include "geometry/gearmodel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const char* const kGearName[2] = {"歯車１", "歯車２"};
const char* const kTeethName[2] = {"歯数Ｚ１", "歯数Ｚ２"};
const char* const kShiftName[2] = {"転位係数 x1", "転位係数 x2"};

void CheckGears(const PairInput& in)
{
    CheckPairBasics(in);
    if (in.teeth[1] < 1)
        throw AppError(std::string(kTeethName[1]) + "は 1 以上でなければなりません");
}

void CheckShifts(const PairInput& in)
{
    for (int i = 0; i < 2; ++i)
        if (!std::isfinite(in.shift[i]))
            throw AppError(std::string(kShiftName[i]) + " は有限の数でなければなりません");
}

// The working pressure angle for an involute value; refused unless positive and finite.
long double WorkingAngle(long double involute)
{
    if (!(involute > 0.0L && std::isfinite(involute)))
        throw AppError("作用圧力角が求まりません（インボリュート関数の値が正ではありません）");
    return InverseInvolute(involute);
}

// The mesh of two external gears without backlash at a shift sum: alpha_w,
// the centre distance, the tip shortening k and the line of action a sin alpha_w.
struct Working {
    long double alphaW, a0, a, y, k, line;
};

// The transverse values of a pair (spur gears: the normal ones to the bit).
HelixSizes PairHelix(const PairInput& in)
{
    GearSpec g;
    g.module = in.module;
    g.pressureAngleDegrees = in.pressureAngle;
    g.helixAngleDegrees = in.helixAngle;
    return HelixOf(g);
}

Working WorkingOf(const PairInput& in, long double xSum)
{
    const long double m = in.module;
    const HelixSizes h = PairHelix(in);
    const long double alpha = h.alpha;
    const long double zSum = static_cast<long double>(in.teeth[0]) + static_cast<long double>(in.teeth[1]);
    const long double invW = WorkingInvoluteOf(Involute(alpha), std::tan(h.normalAlpha), xSum, zSum);
    if (!(invW > 0.0L))
        throw AppError("転位係数の和 x1+x2 が小さすぎて、かみあう中心距離がありません");
    Working w{};
    w.alphaW = WorkingAngle(invW);
    w.a0 = h.module * zSum / 2.0L;
    w.a = w.a0 * std::cos(alpha) / std::cos(w.alphaW);
    w.y = (w.a - w.a0) / m;
    w.k = xSum - w.y;
    w.line = w.a * std::sin(w.alphaW);
    return w;
}

// The specific sliding of gear i at its lowest contact. `reach` holds, for
// each gear, the distance from its tangent point to where its tip circle
// crosses the line of action, sqrt(ra^2 - rb^2). The contact lies reach[j]
// from T_j and line - reach[j] from T_i; minus infinity when that is not
// positive.
long double SpecificSliding(int i, const std::array<long double, 2>& reach, long double line,
                            const std::array<long double, 2>& z)
{
    const auto g = static_cast<std::size_t>(i), j = static_cast<std::size_t>(1 - i);
    const long double own = line - reach[j];
    if (!(own > 0.0L))
        return -std::numeric_limits<long double>::infinity();
    return 1.0L - (z[g] / z[j]) * (reach[j] / own);
}

}  // namespace

GearSpec GearOf(const PairInput& pair, int i)
{
    const auto g = static_cast<std::size_t>(i);
    GearSpec spec;
    spec.module = pair.module;
    spec.teeth = pair.teeth[g];
    spec.shift = pair.shift[g];
    spec.pressureAngleDegrees = pair.pressureAngle;
    spec.helixAngleDegrees = pair.helixAngle;
    spec.hand = pair.hands[g];
    if (i == 1 && pair.mate == MateKind::Rack)
        throw AppError("ラックは歯車ではありません");
    if (i == 1 && pair.mate == MateKind::Internal) {
        spec.kind = GearKind::Internal;
        spec.cutter.kind = CutterKind::Pinion;
        return spec;
    }
    spec.thicknessAllowance = pair.thicknessAllowance[g];
    if (pair.mate == MateKind::External)
        spec.tipShortening = pair.tipShortening;
    return spec;
}

PairResult ComputePair(const PairInput& in)
{
    CheckGears(in);
    CheckShifts(in);

    PairResult r;
    r.input = in;
    r.input.mate = MateKind::External;
    const long double m = in.module;
    const HelixSizes helix = PairHelix(in);
    const long double cosA = std::cos(helix.alpha);
    const std::array<long double, 2> z{static_cast<long double>(in.teeth[0]), static_cast<long double>(in.teeth[1])};
    const std::array<long double, 2> x{in.shift[0], in.shift[1]};
    const long double xSum = x[0] + x[1];

    const Working w = WorkingOf(in, xSum);
    const long double alphaW = w.alphaW, a0 = w.a0, a = w.a, y = w.y, k = w.k;

    r.shiftSum = Store(xSum);
    r.workingPressureAngle = Store(Degrees(alphaW));
    r.standardCenterDistance = Store(a0);
    r.centerDistance = Store(a);
    r.centerDistanceModification = Store(y);
    r.tipShortening = Store(k);

    std::array<long double, 2> fullTip{}, tip{}, root{}, base{}, approach{};
    std::array<std::vector<ToothFinding>, 2> toothFindings;
    for (int i = 0; i < 2; ++i) {
        // The pair without backlash: no allowance, the tip shortening its own.
        GearSpec spec = GearOf(r.input, i);
        spec.thicknessAllowance = 0.0;
        spec.tipShortening = 0.0;
        const ExactSizes sizes = ExactSizesOf(spec);
        fullTip[i] = sizes.tip;
        tip[i] = fullTip[i] - 2.0L * k * m;
        root[i] = sizes.root;
        base[i] = sizes.base;
        if (!(tip[i] > base[i]))
            throw AppError(std::string(kGearName[i]) + "の歯先円が基礎円の内側にあり、かみあいません");
        // The gear as the rack cuts it, topped to the shortened tip circle.
        spec.tipShortening = Store(k);
        const GearModel model(spec);
        const double thickness = model.TipThickness();
        toothFindings[i] = model.Findings();
        // From the tangent point of this gear to where its tip circle crosses the line of action.
        approach[i] = std::sqrt(tip[i] * tip[i] - base[i] * base[i]) / 2.0L;
        r.tipDiameter[i] = Store(tip[i]);
        r.rootDiameter[i] = Store(root[i]);
        r.baseDiameter[i] = Store(base[i]);
        r.tipThickness[i] = thickness;
    }
    r.clearanceUnshortened = Store(std::min(a - fullTip[0] / 2.0L - root[1] / 2.0L, a - fullTip[1] / 2.0L - root[0] / 2.0L));
    r.clearance = Store(std::min(a - tip[0] / 2.0L - root[1] / 2.0L, a - tip[1] / 2.0L - root[0] / 2.0L));
    const long double line = w.line;
    r.lineOfAction = Store(line);
    r.contactRatio = Store((approach[0] + approach[1] - line) / (kPi * helix.module * cosA));
    if (std::isfinite(in.faceWidth)) {
        r.overlapRatio = Store(static_cast<long double>(in.faceWidth) * std::sin(helix.beta) / (kPi * m));
        r.totalContactRatio = Store(static_cast<long double>(r.contactRatio) + r.overlapRatio);
    }
    for (int i = 0; i < 2; ++i) {
        const long double zeta = SpecificSliding(i, approach, line, z);
        r.specificSliding[i] = std::isfinite(zeta) ? Store(zeta) : std::numeric_limits<double>::quiet_NaN();
    }

    if (helix.helical() && in.hands[0] == in.hands[1])
        r.findings.emplace_back("警告：外歯車どうしのねじれ方向が同じ、かみあわない（一方を右、他方を左に）");
    // A helical pair keeps contact through its overlap: the total ratio counts.
    const double carried = helix.helical() && std::isfinite(r.totalContactRatio) ? r.totalContactRatio : r.contactRatio;
    if (carried < kMinimumContactRatio)
        r.findings.emplace_back(helix.helical() && std::isfinite(r.totalContactRatio)
                                    ? "警告：全かみあい率εγが1.2未満、かみあいが途切れる"
                                    : "警告：かみあい率εαが1.2未満、かみあいが途切れる");
    for (int i = 0; i < 2; ++i)
        if (approach[i] > line)   // the tip's contact point lies past the mate's tangent point
            r.findings.push_back(std::string("警告：") + kGearName[i] + "の歯先が" + kGearName[1 - i] +
                                 "の作用線を越える、干渉発生");
    // What each generated tooth says of itself, finding by finding.
    for (const ToothFinding f : {ToothFinding::Undercut, ToothFinding::CutThrough, ToothFinding::TipInsideBase,
                                 ToothFinding::PointedTip, ToothFinding::ThinTip})
        for (int i = 0; i < 2; ++i)
            if (std::find(toothFindings[i].begin(), toothFindings[i].end(), f) != toothFindings[i].end())
                r.findings.push_back(FindingText(f, kGearName[i]));
    return r;
}

void CheckPairBasics(const PairInput& in)
{
    if (!(std::isfinite(in.module) && in.module > 0.0))
        throw AppError("モジュールは正の数でなければなりません");
    if (!(in.pressureAngle > 0.0 && in.pressureAngle < 90.0))
        throw AppError("圧力角は 0° より大きく 90° より小さくなければなりません");
    if (in.teeth[0] < 1)
        throw AppError(std::string(kTeethName[0]) + "は 1 以上でなければなりません");
    if (!(in.helixAngle >= 0.0 && in.helixAngle < 90.0))
        throw AppError("ねじれ角は 0° 以上 90° 未満でなければなりません");
    if (in.helixAngle != 0.0 && in.mate != MateKind::External)
        throw AppError("はすば歯車の組はまだ外歯車どうしだけです");
    if (!std::isnan(in.faceWidth) && !(std::isfinite(in.faceWidth) && in.faceWidth > 0.0))
        throw AppError("歯幅は正の数でなければなりません");
}

namespace {
const char* const kCenterDistanceTooLarge = "中心距離が大きすぎて、転位係数の和が求まりません";
}

double ShiftSumForCenterDistance(const PairInput& in, double centerDistance)
{
    CheckGears(in);
    const HelixSizes helix = PairHelix(in);
    const long double alpha = helix.alpha;
    const long double zSum = static_cast<long double>(in.teeth[0]) + in.teeth[1];
    const long double a0 = helix.module * zSum / 2.0L;
    const long double cosW = a0 * std::cos(alpha) / centerDistance;
    if (std::isnan(centerDistance))
        throw AppError("中心距離が数ではありません");
    if (centerDistance > 0.0 && !(cosW > 0.0L))   // infinite, or so large that cos αw is 0
        throw AppError(kCenterDistanceTooLarge);
    if (!(cosW > 0.0L && cosW < 1.0L))
        throw AppError("中心距離が小さすぎます（両歯車の基礎円半径の和より大きくしてください）");
    const long double alphaW = std::acos(cosW);
    const long double invW = Involute(alphaW);
    // So close to a right angle that the tangent has lost its sign or range.
    if (!(invW > 0.0L && std::isfinite(invW)))
        throw AppError(kCenterDistanceTooLarge);
    if (helix.helical())   // the shift in m_n: tan(alpha_n) over the transverse involutes
        return Store((invW - Involute(alpha)) * zSum / (2.0L * std::tan(helix.normalAlpha)));
    return Store(ShiftsForWorkingInvolute(invW, alpha, zSum));
}

std::array<double, 2> SplitShiftSum(double sum, std::int32_t z1, std::int32_t z2)
{
    const long double zSum = static_cast<long double>(z1) + z2;
    const long double share = (sum >= 0.0 ? z2 : z1) / zSum;
    const double x1 = Store(share * sum);
    return {x1, Store(static_cast<long double>(sum) - x1)};
}

namespace {

// The x1 of a fixed shift sum at which both gears slide alike at their lowest
// contact. The sum fixes alpha_w, a and k; x1 moves gear 1's tip out and gear
// 2's in by m each, so zeta_1 - zeta_2 rises with x1 wherever both tips lie
// outside their base circles and short of the mate's tangent point: from at
// most 0 at the lower end of that range (gear 1's tip on its base circle, or
// gear 2's tip on T1) to at least 0 at the upper end. Bisection on the
// doubles inside the range, never at its ends, until the bracket closes.
double BalancedSlidingShift(const PairInput& in, double sum)
{
    const Working w = WorkingOf(in, sum);
    const long double m = in.module;
    const std::array<long double, 2> z{static_cast<long double>(in.teeth[0]), static_cast<long double>(in.teeth[1])};
    // Gear i's tip radius after the shortening at shift x, and its base radius.
    auto sizes = [&](int i, double x) {
        GearSpec spec = GearOf(in, i);
        spec.shift = x;
        spec.thicknessAllowance = 0.0;
        spec.tipShortening = 0.0;
        const ExactSizes e = ExactSizesOf(spec);
        return std::array<long double, 2>{(e.tip - 2.0L * w.k * m) / 2.0L, e.base / 2.0L};
    };
    // The tip radius grows by m with the shift: the range of x_i where gear i's
    // tip lies between its base circle and the circle through the mate's tangent point.
    std::array<std::array<long double, 2>, 2> range{};
    for (int i = 0; i < 2; ++i) {
        const auto [tip0, base] = sizes(i, 0.0);
        range[static_cast<std::size_t>(i)] = {(base - tip0) / m, (std::sqrt(w.line * w.line + base * base) - tip0) / m};
    }
    const long double lower = std::max(range[0][0], sum - range[1][1]);
    const long double upper = std::min(range[0][1], sum - range[1][0]);
    if (!(lower < upper))
        throw AppError("すべり率が釣り合う転位係数の配分がありません（どの配分でも歯先が基礎円の内側にあるか、相手の作用線の接点を越えます）");
    // zeta_1 - zeta_2 at x1, as its sign and size.
    auto balance = [&](double x1) {
        const std::array<double, 2> x{x1, Store(static_cast<long double>(sum) - x1)};
        std::array<long double, 2> reach{};
        for (int i = 0; i < 2; ++i) {
            const auto [tip, base] = sizes(i, x[static_cast<std::size_t>(i)]);
            reach[static_cast<std::size_t>(i)] = std::sqrt(std::max(tip * tip - base * base, 0.0L));
        }
        const long double zeta1 = SpecificSliding(0, reach, w.line, z), zeta2 = SpecificSliding(1, reach, w.line, z);
        return zeta1 == zeta2 ? 0.0L : zeta1 - zeta2;   // both minus infinity only where the range is empty
    };
    double lo = Store(lower), hi = Store(upper);
    bool loTried = false, hiTried = false;
    long double atLo = 0.0L, atHi = 0.0L;
    for (;;) {
        const double mid = lo + (hi - lo) / 2.0;
        if (!(mid > lo && mid < hi))
            break;
        const long double v = balance(mid);
        if (v == 0.0L)
            return mid;
        if (v < 0.0L) {
            lo = mid;
            atLo = v;
            loTried = true;
        } else {
            hi = mid;
            atHi = v;
            hiTried = true;
        }
    }
    if (!loTried)
        return hi;
    if (!hiTried)
        return lo;
    return -atLo <= atHi ? lo : hi;
}

}  // namespace

std::array<double, 2> SplitShiftSum(const PairInput& pair, double sum, ShiftSplit split)
{
    CheckGears(pair);
    PairInput in = pair;
    in.mate = MateKind::External;
    switch (split) {
    case ShiftSplit::Undercut: {
        const double x1 = GearModel(GearOf(in, 0)).MinShift();
        return {x1, Store(static_cast<long double>(sum) - x1)};
    }
    case ShiftSplit::Sliding: {
        const double x1 = BalancedSlidingShift(in, sum);
        return {x1, Store(static_cast<long double>(sum) - x1)};
    }
    case ShiftSplit::Proportional:
        break;
    }
    return SplitShiftSum(sum, in.teeth[0], in.teeth[1]);
}

PairResult ComputePairForCenterDistance(const PairInput& in, double centerDistance, ShiftSplit rule)
{
    PairInput split = in;
    const double sum = ShiftSumForCenterDistance(in, centerDistance);
    split.shift = SplitShiftSum(in, sum, rule);
    PairResult r = ComputePair(split);
    r.fromCenterDistance = true;
    return r;
}

PairResult ComputePairForCenterDistanceKeepingShift1(const PairInput& in, double centerDistance)
{
    PairInput kept = in;
    const double sum = ShiftSumForCenterDistance(in, centerDistance);
    kept.shift[1] = Store(static_cast<long double>(sum) - in.shift[0]);
    PairResult r = ComputePair(kept);
    r.fromCenterDistance = true;
    return r;
}
