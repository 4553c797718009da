// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/pair.h"

#include "base/apperror.h"
#include "geometry/extended.h"
#include "geometry/gearmath.h"
#include "geometry/gearmodel.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

GearSpec GearOf(const PairInput& pair, int i)
{
    const auto g = static_cast<std::size_t>(i);
    GearSpec spec;
    spec.module = pair.module;
    spec.teeth = pair.teeth[g];
    spec.shift = pair.shift[g];
    spec.pressureAngleDegrees = pair.pressureAngle;
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
    const long double alpha = Radians(in.pressureAngle);
    const long double cosA = std::cos(alpha);
    const std::array<long double, 2> z{static_cast<long double>(in.teeth[0]), static_cast<long double>(in.teeth[1])};
    const std::array<long double, 2> x{in.shift[0], in.shift[1]};
    const long double zSum = z[0] + z[1];
    const long double xSum = x[0] + x[1];

    const long double invW = ExternalWorkingInvolute(alpha, xSum, zSum);
    if (!(invW > 0.0L))
        throw AppError("転位係数の和 x1+x2 が小さすぎて、かみあう中心距離がありません");
    const long double alphaW = WorkingAngle(invW);
    const long double a0 = m * zSum / 2.0L;
    const long double a = a0 * cosA / std::cos(alphaW);
    const long double y = (a - a0) / m;
    const long double k = xSum - y;

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
    const long double line = a * std::sin(alphaW);
    r.lineOfAction = Store(line);
    r.contactRatio = Store((approach[0] + approach[1] - line) / (kPi * m * cosA));

    if (r.contactRatio < kMinimumContactRatio)
        r.findings.emplace_back("警告：かみあい率εαが1.2未満、かみあいが途切れる");
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
}

namespace {
const char* const kCenterDistanceTooLarge = "中心距離が大きすぎて、転位係数の和が求まりません";
}

double ShiftSumForCenterDistance(const PairInput& in, double centerDistance)
{
    CheckGears(in);
    const long double alpha = Radians(in.pressureAngle);
    const long double zSum = static_cast<long double>(in.teeth[0]) + in.teeth[1];
    const long double a0 = static_cast<long double>(in.module) * zSum / 2.0L;
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
    return Store(ShiftsForWorkingInvolute(invW, alpha, zSum));
}

std::array<double, 2> SplitShiftSum(double sum, std::int32_t z1, std::int32_t z2)
{
    const long double zSum = static_cast<long double>(z1) + z2;
    const long double share = (sum >= 0.0 ? z2 : z1) / zSum;
    const double x1 = Store(share * sum);
    return {x1, Store(static_cast<long double>(sum) - x1)};
}

PairResult ComputePairForCenterDistance(const PairInput& in, double centerDistance)
{
    PairInput split = in;
    const double sum = ShiftSumForCenterDistance(in, centerDistance);
    split.shift = SplitShiftSum(sum, in.teeth[0], in.teeth[1]);
    PairResult r = ComputePair(split);
    r.fromCenterDistance = true;
    return r;
}
