// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/dimensions.h"

#include "base/apperror.h"
#include "geometry/extended.h"

#include <limits>
#include <string>

namespace {

// The ten-digit pi of the pressure-angle conversion (not the exact pi).
constexpr long double kPi10 = 3.141592654L;
constexpr double kBracketLow = 0.0;
constexpr double kBracketHigh = 1.5707963267948966;   // the double nearest pi/2
constexpr double kResidualTolerance = 1e-6;

// One-sided false position on [0, pi/2] always ends for 0 < SolveTarget <= 1, in a
// few dozen rounds; this ceiling only guards the program against a hang.
constexpr int kRoundCeiling = 1000000;

}  // namespace

double CosineResidual(double t, double target)
{
    return Store(Cos(t) - Ext(target));
}

SolveOutcome FalsePositionSolve(double& root, double a, double b, double tol, double target, int* rounds)
{
    double fb = CosineResidual(b, target);
    double fa = CosineResidual(a, target);
    if (rounds)
        *rounds = 0;
    if (Ext(fa) * Ext(fb) > Ext(0.0L))
        return kNoSignChange;
    for (int round = 1; round <= kRoundCeiling; ++round) {
        const double p = Store(Ext(a) - ((Ext(b) - Ext(a)) * Ext(fa)) / (Ext(fb) - Ext(fa)));
        const double fp = CosineResidual(p, target);
        if (Ext(fa) * Ext(fp) < Ext(0.0L)) {
            b = p;
            fb = fp;
        } else {
            a = p;
            fa = fp;
        }
        if (rounds)
            *rounds = round;
        if (Abs(fp) <= Ext(tol)) {
            root = p;
            return kSolved;
        }
    }
    return kNoSignChange;
}

double ThicknessAtDiameter(std::int32_t z, double m, double x, double d, double& solveTarget)
{
    const Ext a0(kAlpha0);
    const double scaled = Store(Cos(a0) * (Ext(z) * Ext(m)));
    solveTarget = Store(Ext(scaled) / Ext(d));

    double phi = 0.0;
    const bool found =
        FalsePositionSolve(phi, kBracketLow, kBracketHigh, kResidualTolerance, solveTarget, nullptr) == kSolved;

    const Ext t = (Ext(kPi) + (Sin(a0) * (Ext(4.0L) * Ext(x))) / Cos(a0)) * (Ext(1.0L) / Ext(z));
    if (!found)
        return std::numeric_limits<double>::quiet_NaN();   // no pressure angle on this diameter

    const Ext invPhi = Sin(phi) / Cos(phi) - Ext(phi);
    const Ext invA0 = Sin(a0) / Cos(a0) - a0;
    return Store((t - Ext(2.0L) * (invPhi - invA0)) * (Ext(d) / Ext(2.0L)));
}

void ComputeGearDimensions(GearRecord& g, double& solveTarget)
{
    const double degrees = PressureAngleDegrees(g.PressureAngleIndex);   // refuses an unknown index

    const std::int32_t z = g.Teeth;
    const double m = g.Module;
    const double x = g.Shift;

    const double alpha = Store(Ext(kPi10) * Ext(degrees) / Ext(180.0L));
    g.PitchDiameter = Store(Ext(z) * Ext(m));
    g.TipDiameter = Store((Ext(2.0L) * Ext(x) + Ext(static_cast<long double>(static_cast<std::int64_t>(z) + 2))) * Ext(m));
    g.BaseDiameter = Store(Cos(alpha) * (Ext(z) * Ext(m)));
    g.RootDiameter = Store(Ext(g.TipDiameter) - Ext(4.5L) * Ext(m));
    g.InUse = 1;
    g.TipThickness = ThicknessAtDiameter(z, m, x, g.TipDiameter, solveTarget);
}
