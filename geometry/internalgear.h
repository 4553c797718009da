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
// The cutter, its defaults and what it can cut: geometry/pinioncutter.h.

#include "geometry/gearmodel.h"
#include "geometry/inspection.h"
#include "geometry/pinioncutter.h"
#include "geometry/profile.h"
#include "geometry/thicknesslimits.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>


struct InternalGearSizes {
    double pitchDiameter = 0.0;      // d = z m
    double tipDiameter = 0.0;        // d - 2m(1 - x), inner
    double rootDiameter = 0.0;       // as the cutter cuts it
    double baseDiameter = 0.0;
    double spaceWidth = 0.0;         // on the reference circle: pi m / 2 + 2 x m tan(alpha)
    double toothThickness = 0.0;     // on the reference circle: pi m / 2 - 2 x m tan(alpha)
    double basePitch = 0.0;          // pi m cos(alpha)
    double wholeDepth = 0.0;         // (root - tip) / 2
    Cutter cutter;                   // the cutter used, defaults resolved
    double cutterTipDiameter = 0.0;
    double cuttingPressureAngle = 0.0;   // degrees
    double cuttingCenterDistance = 0.0;  // cutter centre to ring centre while cutting
    Measure pinDiameter;             // given or ideal
    bool idealPin = true;
    Measure betweenPins;             // M, inside measurement between two pins or balls
    Measure pinContactDiameter;      // where the pins touch the flanks
    std::vector<std::string> findings;
};

// A ring is a GearSpec of GearKind::Internal with a cutter of
// CutterKind::Pinion (its teeth 0 and tip radius NaN: the defaults).

// The sizes of a ring; refuses (AppError) a module, tooth count, shift or
// pressure angle without meaning, and a cutter that cannot be made or cannot
// cut the ring at all. The pin is the ideal one (touching the flanks on the
// circle d + 2xm) unless given. With a tooth-thickness `allowance` A (mm on
// the reference circle, negative: thinner teeth, wider spaces; the tip circle
// kept) the measurement between pins is that of the thinned ring.
InternalGearSizes ComputeInternalGear(const GearSpec& ring, std::optional<double> pinDiameter = {},
                                      double allowance = 0.0);

// The limits of a ring cut with a tooth-thickness allowance: M between the
// nominal ring's pins for each allowance (the upper allowance, the thicker
// tooth, gives the smaller M) and the tooth thickness on the reference circle.
struct RingLimits {
    ThicknessAllowance allowance;
    LimitPair betweenPins;
    LimitPair toothThickness;
};
RingLimits ComputeRingLimits(const GearSpec& ring, const InternalGearSizes& nominal, const ThicknessAllowance& allowance);


// Where the ring's involute starts from the root fillet (the diameter out to
// which its flanks are involutes: beyond it the cutter's tip rounding cuts the
// fillet). NaN when the cutter cannot be made or cannot cut the ring.
double RingInvoluteStartDiameter(const GearSpec& ring);

// The true-scale profile of the ring as the cutter generates it: involute
// flanks from the tip circle out to where the cutter's tip rounding takes
// over, the rounding's path as the root fillet, the root circle between.
// Tooth 0 is centred on the +x axis; the outline is closed and
// counter-clockwise; tipDiameter is the inner one. Refuses teeth whose tip
// lies inside the base circle, pointed teeth and fillets that reach the tip.
GearProfile BuildInternalGearProfile(const GearSpec& ring, double tolerance);
