// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/thicknesslimits.h"

#include <optional>

#include "base/apperror.h"

#include <cmath>

void CheckAllowance(const ThicknessAllowance& a, const char* whose)
{
    if (!std::isfinite(a.upper) || !std::isfinite(a.lower))
        throw AppError(std::string(whose) + "歯厚許容差が有限の数ではありません");
    if (a.upper < a.lower)
        throw AppError(std::string(whose) + "歯厚許容差の上の値が下の値より小さくなっています");
}

InspectionResult ThinnedInspection(const GearSpec& gear, const InspectionRequest& request, double allowance)
{
    // The gear model's allowance: the rack set deeper, the tip circle kept;
    // the inspection measures that generated tooth.
    GearSpec spec = gear;
    spec.thicknessAllowance = allowance;
    return ComputeInspection(spec, request);
}

ThicknessLimits ComputeThicknessLimits(const GearSpec& gear, const InspectionResult& nominal,
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
    // A zero allowance is the nominal tooth: its numbers are those already measured.
    std::optional<InspectionResult> thinnedHi, thinnedLo;
    const auto side = [&](double a, std::optional<InspectionResult>& thinned) -> const InspectionResult& {
        return a == 0 ? nominal : thinned.emplace(ThinnedInspection(gear, request, a));
    };
    const InspectionResult& hi = side(allowance.upper, thinnedHi);
    const InspectionResult& lo = side(allowance.lower, thinnedLo);
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
