// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/backlash.h"

#include "base/apperror.h"
#include "geometry/gearmath.h"
#include "geometry/gearmodel.h"
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
    BacklashGeometry g{MateKind::External, pair.input.module, pair.input.pressureAngle, pair.workingPressureAngle,
                       pair.centerDistance};
    if (pair.input.helixAngle != 0.0)
        g.baseHelixAngle = static_cast<double>(Degrees(HelixOf(GearOf(pair.input, 0)).baseHelix));
    return g;
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

// Two helical gears. In the transverse section the pair is a spur pair of
// alpha_t and alpha_wt: a normal allowance A_sn is the transverse arc
// A_st = A_sn / cos(beta) on the reference circle, which is A_st cos(alpha_t)
// along the base circle, and a centre moved out by A_a opens each of the two
// flanks' base tangents by A_a sin(alpha_wt). So the backlash along the
// transverse line of action is
//   j_bt = -(A_sn1 + A_sn2) cos(alpha_t) / cos(beta) + 2 A_a sin(alpha_wt).
// The flanks touch along lines that cross the plane of action's transverse
// lines at beta_b: two such parallel lines a transverse distance j_bt apart are
// j_bt cos(beta_b) apart square to them, which is the normal backlash, and
// cos(alpha_t) cos(beta_b) / cos(beta) = cos(alpha_n) (from
// tan(beta_b) = tan(beta) cos(alpha_t) and tan(alpha_n) = tan(alpha_t) cos(beta)):
//   j_bn = -(A_sn1 + A_sn2) cos(alpha_n) + 2 A_a sin(alpha_wt) cos(beta_b).
// On the working pitch circle the transverse arc is j_t = j_bt / cos(alpha_wt),
// and the centre comes in by j_r = j_bt / (2 sin(alpha_wt)) = j_t / (2 tan(alpha_wt))
// before the flanks touch. With beta 0 every factor cos(beta_b) is 1 and not applied.
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
    const bool helical = pair.baseHelixAngle != 0.0;
    const double cosBetaB = helical ? std::cos(RadiansInDouble(pair.baseHelixAngle)) : 1.0;
    const auto normal = [&](double thicknessSum, double centre) {
        if (helical)
            return -thicknessSum * cosAlpha + 2 * sign * centre * std::sin(alphaW) * cosBetaB;
        return -thicknessSum * cosAlpha + 2 * sign * centre * std::sin(alphaW);
    };
    const auto [tight, loose] = TightAndLoose(pair.mate, in.centerDistance);
    r.normal.min = normal(in.thickness[0].upper + in.thickness[1].upper, tight);
    r.normal.max = normal(in.thickness[0].lower + in.thickness[1].lower, loose);
    const double toCircumferential = helical ? std::cos(alphaW) * cosBetaB : std::cos(alphaW);
    r.circumferential = {r.normal.min / toCircumferential, r.normal.max / toCircumferential};
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
    const bool helical = pair.baseHelixAngle != 0.0;
    const double cosBetaB = helical ? std::cos(RadiansInDouble(pair.baseHelixAngle)) : 1.0;
    const double toNormal = kind == BacklashKind::Circumferential
                                ? (helical ? std::cos(alphaW) * cosBetaB : std::cos(alphaW))
                                : 1.0;
    const double sign = CenterDistanceSign(pair.mate);
    const auto [tight, loose] = TightAndLoose(pair.mate, centerDistance);
    // The centre-distance term of j_bn (times cos(beta_b) for helical gears).
    const auto opening = [&](double centre) {
        return helical ? 2 * sign * centre * std::sin(alphaW) * cosBetaB : 2 * sign * centre * std::sin(alphaW);
    };
    ThicknessAllowance each;
    each.upper = -(wantedMin * toNormal - opening(tight)) / (2 * cosAlpha);
    each.lower = -(wantedMax * toNormal - opening(loose)) / (2 * cosAlpha);
    if (each.upper < each.lower)
        throw AppError("この中心距離の許容差では求めるバックラッシの幅に収まりません");
    return {each, each};
}
