// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/thicknesslimits.h"

#include "geardata/apperror.h"

#include <cmath>
#include <numbers>

namespace {

double AlphaRadians(const InspectionGear& g) { return g.pressureAngleDegrees * std::numbers::pi / 180.0; }

}  // namespace

void CheckAllowance(const ThicknessAllowance& a, const char* whose)
{
    if (!std::isfinite(a.upper) || !std::isfinite(a.lower))
        throw AppError(std::string(whose) + "歯厚許容差が有限の数ではありません");
    if (a.upper < a.lower)
        throw AppError(std::string(whose) + "歯厚許容差の上の値が下の値より小さくなっています");
}

InspectionResult ThinnedInspection(const InspectionGear& gear, const InspectionRequest& request, double allowance)
{
    // The rack set deeper: the shift changes by A / (2 m tan alpha).
    InspectionGear thinned = gear;
    thinned.shift = gear.shift + allowance / (2 * gear.module * std::tan(AlphaRadians(gear)));
    InspectionResult r = ComputeInspection(thinned, request);
    // The tip circle is kept: the chordal height is measured from the nominal tip.
    if (r.chordalThickness.present() && r.toothThickness.present()) {
        const long double d = static_cast<long double>(gear.module) * gear.teeth;
        const long double da = static_cast<long double>(gear.module) * (gear.teeth + 2 + 2 * static_cast<long double>(gear.shift));
        const long double half = *r.toothThickness.value / d;
        r.chordalHeight = Measure::Of(static_cast<double>((da - d) / 2 + d / 2 * (1 - std::cos(half))));
    }
    return r;
}

ThicknessLimits ComputeThicknessLimits(const InspectionGear& gear, const InspectionResult& nominal,
                                       const ThicknessAllowance& allowance)
{
    CheckAllowance(allowance);
    ThicknessLimits out;
    out.allowance = allowance;
    out.spanTeeth = nominal.spans[1].teeth;
    InspectionRequest request;
    request.spanTeeth = nominal.spans[1].teeth;
    if (nominal.pinDiameter.present())
        request.pinDiameter = *nominal.pinDiameter.value;
    const InspectionResult hi = ThinnedInspection(gear, request, allowance.upper);
    const InspectionResult lo = ThinnedInspection(gear, request, allowance.lower);
    out.span = {hi.spans[1].span, lo.spans[1].span};
    if (nominal.pinDiameter.present())
        out.overPins = {hi.overPins, lo.overPins};
    else
        out.overPins = {nominal.pinDiameter, nominal.pinDiameter};
    out.toothThickness = {hi.toothThickness, lo.toothThickness};
    out.chordalThickness = {hi.chordalThickness, lo.chordalThickness};
    out.chordalHeight = {hi.chordalHeight, lo.chordalHeight};
    return out;
}
