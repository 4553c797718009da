// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/backlash.h"

#include "base/apperror.h"
#include "geometry/gearmath.h"

#include <cmath>
#include <numbers>

double RecommendedMinimumBacklash(double centerDistance, double module)
{
    return 2.0 / 3.0 * (0.06 + 0.0005 * centerDistance + 0.03 * module);
}

BacklashResult ComputeBacklash(const PairResult& pair, const BacklashInput& in)
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
    const double cosAlpha = std::cos(RadiansInDouble(pair.input.pressureAngle));
    const double alphaW = RadiansInDouble(pair.workingPressureAngle);
    const auto normal = [&](double thicknessSum, double centre) {
        return -thicknessSum * cosAlpha + 2 * centre * std::sin(alphaW);
    };
    r.normal.min = normal(in.thickness[0].upper + in.thickness[1].upper, in.centerDistance.lower);
    r.normal.max = normal(in.thickness[0].lower + in.thickness[1].lower, in.centerDistance.upper);
    r.circumferential = {r.normal.min / std::cos(alphaW), r.normal.max / std::cos(alphaW)};
    r.radial = {r.circumferential.min / (2 * std::tan(alphaW)), r.circumferential.max / (2 * std::tan(alphaW))};
    r.recommendedMinimum = RecommendedMinimumBacklash(pair.centerDistance, pair.input.module);
    if (r.normal.min < 0)
        r.findings.emplace_back("警告：最小バックラッシが負、歯が食い込む");
    else if (r.normal.min < r.recommendedMinimum)
        r.findings.emplace_back("警告：最小法線バックラッシが ISO/TR 10064-2 の推奨値未満");
    return r;
}

std::array<ThicknessAllowance, 2> ProposeAllowances(const PairResult& pair, double wantedMin, double wantedMax,
                                                    const ThicknessAllowance& centerDistance)
{
    if (!std::isfinite(wantedMin) || !std::isfinite(wantedMax) || wantedMax < wantedMin)
        throw AppError("求めるバックラッシの最大が最小より小さいか、有限の数ではありません");
    const double cosAlpha = std::cos(RadiansInDouble(pair.input.pressureAngle));
    const double sinAlphaW = std::sin(RadiansInDouble(pair.workingPressureAngle));
    ThicknessAllowance each;
    each.upper = -(wantedMin - 2 * centerDistance.lower * sinAlphaW) / (2 * cosAlpha);
    each.lower = -(wantedMax - 2 * centerDistance.upper * sinAlphaW) / (2 * cosAlpha);
    if (each.upper < each.lower)
        throw AppError("この中心距離の許容差では求めるバックラッシの幅に収まりません");
    return {each, each};
}
