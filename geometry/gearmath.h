// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The formulas every gear shares, each in one place. The long double forms
// keep the extended precision of the geometry; the double forms are for the
// drawings and the tables that work in double throughout. Each formula keeps
// the order of its operations, so a caller gets the same bits wherever it
// asks.

#include <cmath>
#include <numbers>

// pi in extended precision. Code working in double uses std::numbers::pi.
inline constexpr long double kPi = std::numbers::pi_v<long double>;

// inv(phi) = tan(phi) - phi.
long double Involute(long double phi);

// The angle phi in [0, pi/2) with tan(phi) - phi = value, by Newton's method
// from the right (the involute is convex, so the rounds fall monotonically
// onto the root) to full long double precision. A negative or NaN value gives
// NaN.
long double InverseInvolute(long double value);

// Degrees to radians and back, in extended precision.
inline constexpr long double Radians(long double degrees)
{
    return degrees * kPi / 180.0L;
}
inline constexpr long double Degrees(long double radians)
{
    return radians * 180.0L / kPi;
}

// Degrees to radians in double.
inline constexpr double RadiansInDouble(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// inv(alpha_w) of a mesh: inv(alpha) + 2 tan(alpha) shifts / teeth. Two
// external gears give the sums x1 + x2 and z1 + z2 (ExternalWorkingInvolute);
// an internal mesh, pinion 1 in ring 2, gives the differences x2 - x1 and
// z2 - z1 (InternalWorkingInvolute). InverseInvolute turns it into alpha_w.
// The first form takes inv(alpha) and tan(alpha) as the caller has them.
inline long double WorkingInvoluteOf(long double involuteAlpha, long double tanAlpha, long double shifts,
                                     long double teeth)
{
    return involuteAlpha + 2.0L * tanAlpha * shifts / teeth;
}
inline long double WorkingInvolute(long double alpha, long double shifts, long double teeth)
{
    return WorkingInvoluteOf(Involute(alpha), std::tan(alpha), shifts, teeth);
}
inline long double ExternalWorkingInvolute(long double alpha, long double shiftSum, long double teethSum)
{
    return WorkingInvolute(alpha, shiftSum, teethSum);
}
inline long double InternalWorkingInvolute(long double alpha, long double shiftDifference, long double teethDifference)
{
    return WorkingInvolute(alpha, shiftDifference, teethDifference);
}

// The other way round: the shifts (sum, or difference for a ring) a mesh
// needs for a working involute inv(alpha_w) over the teeth (sum or difference):
// (inv(alpha_w) - inv(alpha)) teeth / (2 tan alpha).
inline long double ShiftsForWorkingInvolute(long double workingInvolute, long double alpha, long double teeth)
{
    return (workingInvolute - Involute(alpha)) * teeth / (2.0L * std::tan(alpha));
}

// The arc thickness on the reference circle of a tooth cut by the standard
// rack, m (pi/2 + 2 x tan alpha); a ring's tooth, whose shift moves the rack
// out of the material the other way, is m (pi/2 - 2 x tan alpha). The ring's
// space width is the external form.
inline long double ReferenceThickness(long double m, long double x, long double alpha)
{
    return m * (kPi / 2 + 2 * x * std::tan(alpha));
}
inline long double RingReferenceThickness(long double m, long double x, long double alpha)
{
    return m * (kPi / 2 - 2 * x * std::tan(alpha));
}

// Half the angle a tooth spans on its base circle (for a ring, its space),
// in double for the pinion-type cutter's geometry: the reference thickness
// m (pi/2 + 2 x tan alpha) over the pitch diameter 2r, plus inv(alpha).
inline double HalfBaseAngle(double m, double x, double alpha, double pitchRadius)
{
    return static_cast<double>(m * (kPi / 2.0 + 2.0 * x * std::tan(alpha)) / (2.0 * pitchRadius) + std::tan(alpha) -
                               alpha);
}

// The base circle of a pitch circle, r cos(alpha) (radius or diameter alike),
// in the type of its arguments.
template <typename T>
T BaseCircle(T pitch, T alpha)
{
    return pitch * std::cos(alpha);
}
