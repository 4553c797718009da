// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/thicknesslimits.h"

#include "geardata/apperror.h"
#include "geometry/gearmodel.h"

#include <cmath>

void CheckAllowance(const ThicknessAllowance& a, const char* whose)
{
    if (!std::isfinite(a.upper) || !std::isfinite(a.lower))
        throw AppError(std::string(whose) + "歯厚許容差が有限の数ではありません");
    if (a.upper < a.lower)
        throw AppError(std::string(whose) + "歯厚許容差の上の値が下の値より小さくなっています");
}

InspectionResult ThinnedInspection(const InspectionGear& gear, const InspectionRequest& request, double allowance)
{
    GearSpec spec;
    spec.module = gear.module;
    spec.teeth = gear.teeth;
    spec.shift = gear.shift;
    spec.pressureAngleDegrees = gear.pressureAngleDegrees;
    spec.thicknessAllowance = allowance;
    if (!GearSpecDefect(spec).empty())
        return ComputeInspection(gear, request);   // every value absent, with the gear's reason
    // The rack set deeper by -A / (2 tan alpha): the flanks are those of the
    // gear with the shift the tool is effectively set at.
    const GearModel model(spec);
    InspectionGear thinned = gear;
    thinned.shift = model.EffectiveShift();
    InspectionResult r = ComputeInspection(thinned, request);
    // The tip circle stays: the chordal height is measured from the model's tip.
    if (r.chordalThickness.present()) {
        const long double d = model.PitchDiameter();
        const long double half = static_cast<long double>(model.ReferenceThickness()) / d;
        r.chordalHeight = Measure::Of(static_cast<double>((model.TipDiameter() - d) / 2 + d / 2 * (1 - std::cos(half))));
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
    // A zero allowance is the nominal tooth: its numbers are those already measured.
    const auto side = [&](double a) { return a == 0 ? nominal : ThinnedInspection(gear, request, a); };
    const InspectionResult hi = side(allowance.upper);
    const InspectionResult lo = side(allowance.lower);
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
