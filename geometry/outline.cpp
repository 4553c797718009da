// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/outline.h"

#include "base/apperror.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"

#include <cmath>
#include <limits>

namespace {

// Twice the involute of 20 degrees, as the nine-digit constant of the tooth table.
constexpr long double kTwiceInvolute20 = 0.029808767L;

}  // namespace

const char* TooManyTeethToDrawMessage()
{
    return "歯数が多すぎて歯形を描けません（描けるのは 71 枚まで）";
}

namespace {

// The rotation by the angle whose cosine and sine are c and s.
void RotateBy(double x, double y, Ext c, Ext s, double& xOut, double& yOut)
{
    const double rx = Store(Ext(x) * c - Ext(y) * s);
    const double ry = Store(Ext(x) * s + Ext(y) * c);
    xOut = rx;
    yOut = ry;
}

}  // namespace

void RotatePoint(double x, double y, double angle, double& xOut, double& yOut)
{
    RotateBy(x, y, Cos(angle), Sin(angle), xOut, yOut);
}

void BuildToothOutline(OutlineBuffer& outline, double& solveTarget, std::int32_t teeth, double module, double shift,
                       double tipDiameter, double rootDiameter)
{
    const Ext z(teeth);
    const Ext a0(kAlpha0);
    const double h = Store((Ext(tipDiameter) - Ext(rootDiameter)) / Ext(5.0L) / Ext(2.0L));
    const double db = Store(Cos(a0) * z * Ext(module));
    const Ext tan20 = Sin(a0) / Cos(a0);
    const double sb = Store((Ext(db) / Ext(2.0L)) * ((Ext(kPi) + Ext(4.0L) * Ext(shift) * tan20) / z + Ext(kTwiceInvolute20)));
    const double phi = Store(Ext(2.0L) * Ext(kPi) / (Ext(2.0L) * z));

    OutlinePoint tooth[kPointsPerTooth];
    tooth[0] = {Store(Ext(rootDiameter) / Ext(2.0L) * Cos(phi)), Store(-(Ext(rootDiameter) / Ext(2.0L)) * Sin(phi))};

    double d = rootDiameter;
    for (int i = 1; i <= 6; ++i) {
        d = Store(Ext(rootDiameter) + Ext(2.0L) * Ext(i - 1) * Ext(h));
        double s = std::numeric_limits<double>::quiet_NaN();
        if (Ext(d) > Ext(db))
            s = ThicknessAtDiameter(teeth, module, shift, d, solveTarget);
        // Below the base circle, and wherever no involute angle exists for d,
        // the flank is the radial line of the base-circle thickness.
        if (std::isnan(s))
            s = Store(Ext(sb) * Ext(d) / Ext(db));
        const double psi = Store((Ext(s) / Ext(2.0L)) / (Ext(d) / Ext(2.0L)));
        tooth[i] = {Store(Ext(d) / Ext(2.0L) * Cos(psi)), Store(-(Ext(d) / Ext(2.0L)) * Sin(psi))};
        tooth[14 - i] = {tooth[i].x, -tooth[i].y};
    }
    tooth[7] = {Store(Ext(d) / Ext(2.0L)), 0.0};

    for (int j = 0; j < kPointsPerTooth; ++j)
        outline[j] = tooth[j];
}

void ReplicateTeeth(OutlineBuffer& outline, std::int32_t teeth)
{
    if (teeth <= 1)
        return;
    const double delta = Store(Ext(2.0L) * Ext(kPi) / Ext(teeth));
    const std::int32_t lastTooth = teeth < kMaxOutlineTeeth ? teeth : kMaxOutlineTeeth;
    for (std::int32_t k = 1; k < lastTooth; ++k) {
        const double theta = Store(Ext(k) * Ext(delta));
        // RotatePoint for each of the 14 points, with the cosine and sine of
        // the tooth's angle taken once: they cost more than all 14 rotations.
        const Ext c = Cos(theta);
        const Ext s = Sin(theta);
        for (int j = 0; j < kPointsPerTooth; ++j) {
            OutlinePoint& out = outline[kPointsPerTooth * k + j];
            RotateBy(outline[j].x, outline[j].y, c, s, out.x, out.y);
        }
    }
}

void RebuildOutline(const GearRecord& g, OutlineBuffer& work, OutlineBuffer& display, double& solveTarget)
{
    if (g.Teeth > kMaxOutlineTeeth)
        throw AppError(TooManyTeethToDrawMessage());
    BuildToothOutline(work, solveTarget, g.Teeth, g.Module, g.Shift, g.TipDiameter, g.RootDiameter);
    ReplicateTeeth(work, g.Teeth);
    for (int i = 0; i < kOutlineCopied; ++i)
        display[i] = work[i];
}
