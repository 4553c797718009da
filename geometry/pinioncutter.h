// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pinion-type cutter that cuts a ring: a small external gear with the
// same module and pressure angle that rotates inside the blank as it would
// mesh.
//
// The cutter has an addendum of 1.25 m (so the root lies 1.25 m beyond the
// reference circle at x = 0, the standard clearance) and its tip corners are
// rounded with radius rho0. Unless chosen, the cutter is the common disc cutter
// of about 75 mm reference diameter for the module (z0 = round(75 / m), at
// least 12 teeth), or, when the ring is too small for it, the largest cutter
// of at least 10 teeth that cuts the ring without trimming; its tip radius is
// 0.2 m, or 90 % of the largest rounding the cutter's tooth takes if that is
// less. No cutter cuts a ring that trims at every size: such a ring is
// refused with the reason.

#include "geometry/point.h"

#include <cstdint>
#include <optional>
#include <string>

// The addendum of a pinion-type cutter, in modules.
inline constexpr double kCutterAddendum = 1.25;
// The reference diameter of the common disc cutter the default is chosen for, mm.
inline constexpr double kCommonCutterDiameter = 75.0;

// The pressure angle (radians) of an internal mesh, pinion or cutter of z1
// teeth and shift x1 in a ring of z2 teeth and shift x2; refuses, with
// CuttingMeshMessage, a mesh that has none.
long double InternalWorkingAngle(long double alpha, long double z1, long double x1, long double z2, long double x2);
// The inner tip diameter of a ring: m z2 - 2 m (1 - x2).
double RingTipDiameter(double module, std::int32_t ringTeeth, double ringShift);
// The tip radius a cutter gets when nobody chooses one: 0.2 m, or 90 % of the
// largest rounding its tooth takes if that is less (0 when none fits).
double DefaultPinionTipRadius(double module, double teeth, double shift, double addendumFactor, double alpha);

// The tip diameter of a cutter of z0 teeth, shift x0 and addendum factor ha0: m (z0 + 2 (ha0 + x0)).
double PinionCutterTipDiameter(double module, double teeth, double shift, double addendumFactor = kCutterAddendum);

// Why a cutter of z0 teeth has no cutting centre distance with the ring (the
// ring's shift too small for it).
std::string CuttingMeshMessage(std::int32_t cutterTeeth);

// Whether a pinion-type cutter (or a pinion pushed in radially) of z0 teeth
// with tip diameter da0 trims a ring of z2 teeth with tip diameter da2 at
// working pressure angle alpha_w. The margin (radians) is positive when it
// clears; a ring whose tip circle lies inside its base circle has no margin.
std::optional<double> TrimmingMargin(double module, std::int32_t z0, double da0, std::int32_t z2, double da2,
                                     double pressureAngleDegrees, double workingPressureAngleDegrees);

// The smallest ring, in teeth, that a pinion-type cutter of z0 teeth and shift
// x0 cuts without trimming (ring shift x2, standard cutter addendum 1.25 m,
// ring tip d - 2m(1 - x2)).
std::int32_t SmallestRingWithoutTrimming(std::int32_t cutterTeeth, double cutterShift, double ringShift,
                                         double pressureAngleDegrees);

// The cutter's tip rounding on the negative-y side of its tooth 0 (tooth on
// +x, cutter centre at the origin): the rounding's centre and how far the
// junction with the flank lies from the base circle's tangent point. None
// when the rounding does not fit (or rho is below 0).
struct CutterCorner {
    OutlinePoint centre;
    OutlinePoint junction;
    double junctionRoll = 0.0;
};
bool PinionCutterCorner(double module, double teeth, double shift, double addendumFactor, double alpha, double rho,
                        CutterCorner& corner);
