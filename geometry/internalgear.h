// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An internal gear (ring): its teeth point to the centre, and it is cut by a
// pinion-type cutter, a small external gear with the same module and pressure
// angle that rotates inside the blank as it would mesh.
//
// Shift convention: a positive shift moves the ring's teeth outward, away from
// the centre, as it moves an external gear's teeth outward. So the tip (inner)
// diameter is d - 2m(1 - x) and the space width on the reference circle is
// pi m / 2 + 2 x m tan(alpha). The root circle is the one the cutter cuts: the
// cutting centre distance plus the cutter's tip radius.
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

#include "geometry/inspection.h"
#include "geometry/profile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PinionCutter {
    std::int32_t teeth = 0;        // z0; 0: the default cutter for the ring
    double shift = 0.0;            // x0
    double tipRadius = -1.0;       // rho0, mm; below 0: the default
};

struct InternalGearInput {
    double module = 1.0;
    std::int32_t teeth = 60;
    double shift = 0.0;
    double pressureAngleDegrees = 20.0;
    PinionCutter cutter;
};

// The addendum of a pinion-type cutter, in modules.
inline constexpr double kCutterAddendum = 1.25;
// The reference diameter of the common disc cutter the default is chosen for, mm.
inline constexpr double kCommonCutterDiameter = 75.0;

struct InternalGearSizes {
    double pitchDiameter = 0.0;      // d = z m
    double tipDiameter = 0.0;        // d - 2m(1 - x), inner
    double rootDiameter = 0.0;       // as the cutter cuts it
    double baseDiameter = 0.0;
    double spaceWidth = 0.0;         // on the reference circle: pi m / 2 + 2 x m tan(alpha)
    double toothThickness = 0.0;     // on the reference circle: pi m / 2 - 2 x m tan(alpha)
    double basePitch = 0.0;          // pi m cos(alpha)
    double wholeDepth = 0.0;         // (root - tip) / 2
    PinionCutter cutter;             // the cutter used, defaults resolved
    double cutterTipDiameter = 0.0;
    double cuttingPressureAngle = 0.0;   // degrees
    double cuttingCenterDistance = 0.0;  // cutter centre to ring centre while cutting
    Measure pinDiameter;             // given or ideal
    bool idealPin = true;
    Measure betweenPins;             // M, inside measurement between two pins or balls
    Measure pinContactDiameter;      // where the pins touch the flanks
    std::vector<std::string> findings;
};

struct GearSpec;
// The ring as the gear model holds it (GearKind::Internal, CutterKind::Pinion).
GearSpec InternalGearSpec(const InternalGearInput& input);

// The sizes of a ring; refuses (AppError) a module, tooth count, shift or
// pressure angle without meaning, and a cutter that cannot be made or cannot
// cut the ring at all. The pin is the ideal one (touching the flanks on the
// circle d + 2xm) unless given.
InternalGearSizes ComputeInternalGear(const InternalGearInput& input, std::optional<double> pinDiameter = {});

// The cutter a ring gets when nobody chooses one: the common cutter if it
// cuts the ring, else the first of the smaller cutters (down to 10 teeth),
// then of the larger ones (up to a tooth less than the ring), that cuts it
// without trimming and leaves involute below its tip. Refuses (AppError),
// naming the teeth tried and why the first of them fails, when none does.
std::int32_t DefaultCutterTeeth(double module, std::int32_t ringTeeth, double ringShift, double pressureAngleDegrees);

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

// The diameter out to which the ring's flanks are involutes: beyond it the
// cutter's tip rounding cuts the root fillet. NaN when the cutter cannot be
// made or cannot cut the ring.
double InvoluteEndDiameter(const InternalGearInput& input);

// The true-scale profile of the ring as the cutter generates it: involute
// flanks from the tip circle out to where the cutter's tip rounding takes
// over, the rounding's path as the root fillet, the root circle between.
// Tooth 0 is centred on the +x axis; the outline is closed and
// counter-clockwise; tipDiameter is the inner one. Refuses teeth whose tip
// lies inside the base circle, pointed teeth and fillets that reach the tip.
GearProfile BuildInternalGearProfile(const InternalGearInput& input, double tolerance);
