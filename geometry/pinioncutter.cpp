// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/pinioncutter.h"

#include "base/apperror.h"
#include "geometry/gearmath.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using L = long double;
constexpr double kDefaultPinionTipRadius = 0.2;   // in modules

bool CutsWithoutTrimming(double m, std::int32_t z0, double x0, std::int32_t z2, double x2, double alpha)
{
    if (z2 <= z0)
        return false;
    const L alphaC = InternalWorkingAngle(alpha, z0, x0, z2, x2);
    const auto margin = TrimmingMargin(m, z0, PinionCutterTipDiameter(m, z0, x0), z2, RingTipDiameter(m, z2, x2),
                                       static_cast<double>(Degrees(alpha)), static_cast<double>(Degrees(alphaC)));
    return margin && *margin >= 0.0;
}

}  // namespace

long double InternalWorkingAngle(long double alpha, long double z1, long double x1, long double z2, long double x2)
{
    const L invW = InternalWorkingInvolute(alpha, x2 - x1, z2 - z1);
    if (!(invW > 0.0L) || !std::isfinite(invW))
        throw AppError(CuttingMeshMessage(static_cast<std::int32_t>(z1)));
    return InverseInvolute(invW);
}

double RingTipDiameter(double m, std::int32_t z2, double x2)
{
    return m * z2 - 2.0 * m * (1.0 - x2);
}

double PinionCutterTipDiameter(double m, double z0, double x0, double addendumFactor)
{
    return m * (z0 + 2.0 * (addendumFactor + x0));
}

std::optional<double> TrimmingMargin(double module, std::int32_t z0, double da0, std::int32_t z2, double da2,
                                     double pressureAngleDegrees, double workingPressureAngleDegrees)
{
    const L alpha = Radians(static_cast<L>(pressureAngleDegrees));
    const L alphaW = Radians(static_cast<L>(workingPressureAngleDegrees));
    const L rb1 = L(module) * z0 * std::cos(alpha) / 2.0L, rb2 = L(module) * z2 * std::cos(alpha) / 2.0L;
    const L ra1 = da0 / 2.0L, ra2 = da2 / 2.0L;
    if (!(ra1 > rb1) || !(ra2 > rb2) || !(z2 > z0))
        return std::nullopt;
    const L cos1 = rb1 / ra1, cos2 = rb2 / ra2;
    const L ratio = L(z0) / z2;
    const L q1 = (1.0L - (cos1 / cos2) * (cos1 / cos2)) / (1.0L - ratio * ratio);
    const L q2 = ((cos2 / cos1) * (cos2 / cos1) - 1.0L) / (1.0L / (ratio * ratio) - 1.0L);
    // Outside these the tips never pass each other as the pinion goes in: trimmed.
    if (!(q1 >= 0.0L && q1 <= 1.0L && q2 >= 0.0L && q2 <= 1.0L))
        return std::nullopt;
    const L theta1 = std::asin(std::sqrt(q1)), theta2 = std::asin(std::sqrt(q2));
    const L invW = Involute(alphaW);
    return static_cast<double>(theta1 + Involute(std::acos(cos1)) - invW -
                               (theta2 + Involute(std::acos(cos2)) - invW) / ratio);
}

std::int32_t SmallestRingWithoutTrimming(std::int32_t cutterTeeth, double cutterShift, double ringShift,
                                         double pressureAngleDegrees)
{
    const double alpha = static_cast<double>(Radians(pressureAngleDegrees));
    // Below the first ring that clears, every one trims; the search stops well past any cutter.
    for (std::int32_t z2 = cutterTeeth + 1; z2 <= cutterTeeth + 1000; ++z2) {
        try {
            if (CutsWithoutTrimming(1.0, cutterTeeth, cutterShift, z2, ringShift, alpha))
                return z2;
        } catch (const AppError&) {
            // No centre distance for this difference of teeth: it cannot be cut either.
        }
    }
    return 0;
}

std::string CuttingMeshMessage(std::int32_t cutterTeeth)
{
    return "内歯車の転位係数が小さすぎて、歯数 " + std::to_string(cutterTeeth) +
           " のピニオンカッタとかみあう切削中心距離がありません（歯数の少ない工具にするか、転位係数を大きくしてください）";
}


double DefaultPinionTipRadius(double m, double z0, double x0, double addendum, double alpha)
{
    CutterCorner corner;
    const double wanted = kDefaultPinionTipRadius * m;
    if (PinionCutterCorner(m, z0, x0, addendum, alpha, wanted, corner))
        return wanted;
    if (!PinionCutterCorner(m, z0, x0, addendum, alpha, 0.0, corner))
        return 0.0;
    double lo = 0.0, hi = wanted;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        (PinionCutterCorner(m, z0, x0, addendum, alpha, mid, corner) ? lo : hi) = mid;
    }
    return 0.9 * lo;
}

bool PinionCutterCorner(double m, double z0, double x0, double addendumFactor, double alpha, double rho,
                        CutterCorner& corner)
{
    const double r0 = z0 * m / 2.0;
    const double rb0 = r0 * std::cos(alpha);
    const double ra0 = r0 + m * (addendumFactor + x0);
    const double halfBase0 = HalfBaseAngle(m, x0, alpha, r0);
    const double rq = ra0 - rho;
    if (!(rho >= 0.0) || !(rq > rb0))
        return false;
    // The rounding's centre lies rho inside the flank along the flank's
    // normal, which is tangent to the base circle, and rho below the tip circle.
    const double roll = rho + std::sqrt(rq * rq - rb0 * rb0);
    const double a = roll / rb0 - halfBase0;
    const OutlinePoint tangent = Polar(rb0, a);
    const OutlinePoint along{std::sin(a), -std::cos(a)};
    corner = {Add(tangent, Scale(roll - rho, along)), Add(tangent, Scale(roll, along)), roll};
    // It must stay on its own side of the tooth's centre line.
    return Angle(corner.centre) <= 0.0;
}
