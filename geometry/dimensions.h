// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dimensions of the current gear (slot 0 of the gear table), the arc tooth
// thickness on any diameter, and the false-position search behind it.
//
// Intermediates are extended precision; values are rounded to double where they
// are stored (record fields, SolveTarget, the pressure angle, the solver's points
// and residuals). Floating-point faults are raised as FloatFault; fields stored
// before a fault keep their new values.

#include "geardata/gearrecord.h"

#include <cstdint>

// What the false-position search reports: a zero found, or no sign change
// of the residual on the bracket (the root is then left as it was).
enum SolveOutcome : std::int32_t {
    kSolved = 0,
    kNoSignChange = 1,
};

// Each operation is given the gear and the solver's target it works on, so
// any thread may run it on values of its own. The program's forms on slot 0
// and SolveTarget are in commands/programstate.h.

// Writes PitchDiameter, TipDiameter, BaseDiameter, RootDiameter, InUse and
// TipThickness of the gear, in that order. A PressureAngleIndex other than 0 or 1
// (only a gear data file can bring one) is refused with an AppError before any
// field is written. `solveTarget` is the thickness search's target.
void ComputeGearDimensions(GearRecord& gear, double& solveTarget);

// Arc tooth thickness on the circle of diameter d, for the 20-degree rack.
// When no pressure angle exists for d (the search finds no sign change: d lies
// inside the 20-degree base circle, or the signs of the inputs rule an angle
// out) the result is NaN: there is no thickness to give. Teeth 0 still ends in
// the division-by-zero fault.
// `solveTarget` receives the cosine the search aims at.
double ThicknessAtDiameter(std::int32_t z, double m, double x, double d, double& solveTarget);

// cos t - target, stored as double.
double CosineResidual(double t, double target);

// Searches [a, b] for a zero of CosineResidual. Returns kSolved with the zero
// in root, or kNoSignChange (root untouched) when the residual shows no sign
// change. `rounds`, when given, receives the number of rounds the search took.
SolveOutcome FalsePositionSolve(double& root, double a, double b, double tol, double target, int* rounds);

