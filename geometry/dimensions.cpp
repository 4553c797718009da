// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/dimensions.h"

#include "geardata/gearrecord.h"
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

double CosineResidual(double t)
{
    return Store(Cos(t) - Ext(SolveTarget));
}

std::int32_t FalsePositionSolve(double& root, double a, double b, double tol, int* rounds)
{
    double fb = CosineResidual(b);
    double fa = CosineResidual(a);
    if (rounds)
        *rounds = 0;
    if (Ext(fa) * Ext(fb) > Ext(0.0L))
        return 1;
    for (int round = 1; round <= kRoundCeiling; ++round) {
        const double p = Store(Ext(a) - ((Ext(b) - Ext(a)) * Ext(fa)) / (Ext(fb) - Ext(fa)));
        const double fp = CosineResidual(p);
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
            return 0;
        }
    }
    return 1;
}

double ThicknessAtDiameter(std::int32_t z, double m, double x, double d)
{
    const Ext a0(kAlpha0);
    const double scaled = Store(Cos(a0) * (Ext(z) * Ext(m)));
    SolveTarget = Store(Ext(scaled) / Ext(d));

    double phi = 0.0;
    const bool found = FalsePositionSolve(phi, kBracketLow, kBracketHigh, kResidualTolerance) == 0;

    const Ext t = (Ext(kPi) + (Sin(a0) * (Ext(4.0L) * Ext(x))) / Cos(a0)) * (Ext(1.0L) / Ext(z));
    if (!found)
        return std::numeric_limits<double>::quiet_NaN();   // no pressure angle on this diameter

    const Ext invPhi = Sin(phi) / Cos(phi) - Ext(phi);
    const Ext invA0 = Sin(a0) / Cos(a0) - a0;
    return Store((t - Ext(2.0L) * (invPhi - invA0)) * (Ext(d) / Ext(2.0L)));
}

void ComputeGearDimensions()
{
    GearRecord& g = gearTable[kCurrentSlot];
    if (g.PressureAngleIndex < 0 || g.PressureAngleIndex >= static_cast<int>(PressureAngleTable.size()))
        throw AppError("圧力角の番号 " + std::to_string(g.PressureAngleIndex) +
                       " は使えません（0 が 14.5°、1 が 20°）");

    const std::int32_t z = g.Teeth;
    const double m = g.Module;
    const double x = g.Shift;

    const double alpha = Store(Ext(kPi10) * Ext(PressureAngleTable[g.PressureAngleIndex]) / Ext(180.0L));
    g.PitchDiameter = Store(Ext(z) * Ext(m));
    g.TipDiameter = Store((Ext(2.0L) * Ext(x) + Ext(static_cast<long double>(static_cast<std::int64_t>(z) + 2))) * Ext(m));
    g.BaseDiameter = Store(Cos(alpha) * (Ext(z) * Ext(m)));
    g.RootDiameter = Store(Ext(g.TipDiameter) - Ext(4.5L) * Ext(m));
    g.InUse = 1;
    g.TipThickness = ThicknessAtDiameter(z, m, x, g.TipDiameter);
}
