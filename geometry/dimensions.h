// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dimensions of the current gear (slot 0 of the gear table), the arc tooth
// thickness on any diameter, and the false-position search behind it.
//
// Intermediates are extended precision; values are rounded to double where they
// are stored (record fields, SolveTarget, the pressure angle, the solver's points
// and residuals). Floating-point faults are raised as FloatFault; fields stored
// before a fault keep their new values.

#include "geardata/programstate.h"

#include <cstdint>

// SolveTarget (geardata/programstate.h) is the cosine the solver aims at;
// written by ThicknessAtDiameter, read by CosineResidual.

// Writes PitchDiameter, TipDiameter, BaseDiameter, RootDiameter, InUse and
// TipThickness of slot 0, in that order. A PressureAngleIndex other than 0 or 1
// (only a gear data file can bring one) is refused with an AppError before any
// field is written.
void ComputeGearDimensions();

// Arc tooth thickness on the circle of diameter d, for the 20-degree rack.
// When no pressure angle exists for d (the search finds no sign change: d lies
// inside the 20-degree base circle, or the signs of the inputs rule an angle
// out) the result is NaN: there is no thickness to give. Teeth 0 still ends in
// the division-by-zero fault.
double ThicknessAtDiameter(std::int32_t z, double m, double x, double d);

// cos t - SolveTarget, stored as double.
double CosineResidual(double t);

// Searches [a, b] for a zero of CosineResidual. Returns 0 with the zero in
// root, or 1 (root untouched) when the residual shows no sign change. `rounds`,
// when given, receives the number of rounds the search took.
std::int32_t FalsePositionSolve(double& root, double a, double b, double tol, int* rounds = nullptr);
