// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pinion and a rack in mesh without backlash, and the rack as a part.
//
// The rack is the standard one of the module: addendum m, dedendum 1.25 m,
// straight flanks at the pressure angle. Its reference line lies d/2 + x m from
// the pinion's centre; the working pressure angle is the pressure angle.

#include "geometry/outline.h"
#include "geometry/pair.h"

#include <cstdint>
#include <string>
#include <vector>

struct RackPairResult {
    PairInput input;                    // gear 1 is the pinion; mate Rack
    double pitchDiameter = 0.0;
    double tipDiameter = 0.0;
    double rootDiameter = 0.0;
    double baseDiameter = 0.0;
    double tipThickness = 0.0;          // the pinion's arc thickness on its tip circle
    double centerToReferenceLine = 0.0; // d/2 + x m
    double workingPressureAngle = 0.0;  // degrees, = alpha
    double contactRatio = 0.0;
    double rackPitch = 0.0;             // pi m
    double rackChordalThickness = 0.0;  // pi m / 2, on the reference line
    double rackChordalHeight = 0.0;     // m, from the tip line to the reference line
    double travelPerTurn = 0.0;         // pi m z
    double minShift = 0.0;              // below it the rack undercuts the pinion (GearModel::MinShift)
    std::vector<std::string> findings;
};

// The pinion is gear 1 of the input (gear 2's teeth and shift are not read).
// Refuses (AppError) a module, pressure angle, tooth count or shift without
// meaning and a pinion whose tip circle lies inside its base circle.
RackPairResult ComputeRackPair(const PairInput& input);

// The rack as a part, length L along x from 0, teeth upwards, the reference
// line at y = 0, the back 2 m below the root line; a space is centred at x = 0
// and the roots have fillets of 0.38 m.
struct RackProfile {
    std::vector<OutlinePoint> points;   // closed, counter-clockwise
    double length = 0.0;
    double top = 0.0;                   // the tip line
    double root = 0.0;                  // the root line
    double bottom = 0.0;                // the back
    double deviation = 0.0;
};

// Refuses a length that is not positive or longer than 100 000 teeth, and the
// tolerances the profile refuses.
RackProfile BuildRackProfile(double module, double pressureAngleDegrees, double length, double tolerance);
