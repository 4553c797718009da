// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/backlash.h"

#include "base/apperror.h"
#include "geometry/gearmath.h"
#include "geometry/internalpair.h"
#include "geometry/rackpair.h"

#include <cmath>
#include <numbers>
#include <utility>

double RecommendedMinimumBacklash(double centerDistance, double module)
{
    return 2.0 / 3.0 * (0.06 + 0.0005 * centerDistance + 0.03 * module);
}

namespace {

// +1 where a longer centre distance opens the mesh, -1 in a ring.
double CenterDistanceSign(MateKind mate) { return mate == MateKind::Internal ? -1.0 : 1.0; }

// The centre-distance deviations that give the smallest and the largest backlash.
std::pair<double, double> TightAndLoose(MateKind mate, const ThicknessAllowance& a)
{
    return mate == MateKind::Internal ? std::pair{a.upper, a.lower} : std::pair{a.lower, a.upper};
}

}  // namespace

BacklashGeometry BacklashGeometryOf(const PairResult& pair)
{
    return {MateKind::External, pair.input.module, pair.input.pressureAngle, pair.workingPressureAngle,
            pair.centerDistance};
}

BacklashGeometry BacklashGeometryOf(const InternalPairResult& pair)
{
    return {MateKind::Internal, pair.input.module, pair.input.pressureAngle, pair.workingPressureAngle,
            pair.centerDistance};
}

BacklashGeometry BacklashGeometryOf(const RackPairResult& pair)
{
    return {MateKind::Rack, pair.input.module, pair.input.pressureAngle, pair.workingPressureAngle,
            pair.centerToReferenceLine};
}

BacklashResult ComputeBacklash(const BacklashGeometry& pair, const BacklashInput& in)
{
    CheckAllowance(in.thickness[0], "歯車１の");
    CheckAllowance(in.thickness[1], "歯車２の");
    if (!std::isfinite(in.centerDistance.upper) || !std::isfinite(in.centerDistance.lower) ||
        in.centerDistance.upper < in.centerDistance.lower)
        throw AppError("中心距離の許容差の上の値が下の値より小さいか、有限の数ではありません");

    BacklashResult r;
    r.input = in;
    r.centerDistance = pair.centerDistance;
    r.workingPressureAngle = pair.workingPressureAngle;
    const double cosAlpha = std::cos(RadiansInDouble(pair.pressureAngle));
    const double alphaW = RadiansInDouble(pair.workingPressureAngle);
    const double sign = CenterDistanceSign(pair.mate);
    const auto normal = [&](double thicknessSum, double centre) {
        return -thicknessSum * cosAlpha + 2 * sign * centre * std::sin(alphaW);
    };
    const auto [tight, loose] = TightAndLoose(pair.mate, in.centerDistance);
    r.normal.min = normal(in.thickness[0].upper + in.thickness[1].upper, tight);
    r.normal.max = normal(in.thickness[0].lower + in.thickness[1].lower, loose);
    r.circumferential = {r.normal.min / std::cos(alphaW), r.normal.max / std::cos(alphaW)};
    r.radial = {r.circumferential.min / (2 * std::tan(alphaW)), r.circumferential.max / (2 * std::tan(alphaW))};
    r.recommendedMinimum = RecommendedMinimumBacklash(pair.centerDistance, pair.module);
    if (r.normal.min < 0)
        r.findings.emplace_back("警告：最小バックラッシが負、歯が食い込む");
    else if (r.normal.min < r.recommendedMinimum)
        r.findings.emplace_back("警告：最小法線バックラッシが ISO/TR 10064-2 の推奨値未満");
    return r;
}

std::array<ThicknessAllowance, 2> ProposeAllowances(const BacklashGeometry& pair, double wantedMin, double wantedMax,
                                                    const ThicknessAllowance& centerDistance, BacklashKind kind)
{
    if (!std::isfinite(wantedMin) || !std::isfinite(wantedMax) || wantedMax < wantedMin)
        throw AppError("求めるバックラッシの最大が最小より小さいか、有限の数ではありません");
    const double cosAlpha = std::cos(RadiansInDouble(pair.pressureAngle));
    const double alphaW = RadiansInDouble(pair.workingPressureAngle);
    const double toNormal = kind == BacklashKind::Circumferential ? std::cos(alphaW) : 1.0;
    const double sign = CenterDistanceSign(pair.mate);
    const auto [tight, loose] = TightAndLoose(pair.mate, centerDistance);
    ThicknessAllowance each;
    each.upper = -(wantedMin * toNormal - 2 * sign * tight * std::sin(alphaW)) / (2 * cosAlpha);
    each.lower = -(wantedMax * toNormal - 2 * sign * loose * std::sin(alphaW)) / (2 * cosAlpha);
    if (each.upper < each.lower)
        throw AppError("この中心距離の許容差では求めるバックラッシの幅に収まりません");
    return {each, each};
}
