// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The true-scale tooth profile of the gear as a standard rack cutter makes it,
// for the files a laser, a waterjet, a mill or a printer works from.
//
// The rack has the gear's own pressure angle, an addendum of 1.25 m (so the
// root circle is the gear's root diameter, tip - 4.5 m), straight flanks and a
// tip rounded with radius rho. The flanks are involutes from the point where
// the rounded tip's trochoid meets them up to the tip circle; below that the
// root fillet is the trochoid itself, including the undercut it cuts into the
// involute on a gear with too few teeth for its shift. Tip and root are arcs.
//
// Points are placed so that no chord departs from the true curve by more than
// the tolerance. Coordinates are millimetres about the gear centre, x along
// tooth 0's centre line, points counter-clockwise; the outline is closed by
// the edge from the last point back to the first.
//
// The points are also told apart by the piece of the tooth they lie on, as the
// model generates it: for each tooth a fillet, a flank, the tip arc across the
// centre line, the other flank and fillet, and the root arc across the tooth
// space to the next tooth (a piece the tooth does not have is left out). A
// piece ends on the point the next one starts on, so a part can be built of
// the exact circles and of one smooth curve through each flank's and fillet's
// points, joined where the model joins them.

#include "geometry/gearmodel.h"
#include "geometry/outline.h"

#include <string>
#include <vector>

// One piece of tooth 0's outline: points first..last of GearProfile::points,
// both ends included. The last piece ends on the point tooth 1's first piece
// starts on (first + pointsPerTooth), so its indices may pass the end of tooth
// 0; taken modulo the point count they close the outline at the last tooth.
// Arcs (RootArc, TipArc) lie on a circle of `radius` about the
// gear centre and run counter-clockwise; a Trochoid (the fillet) or an
// Involute (the flank) is the curve of that name through its points.
struct ProfilePiece {
    PieceKind kind = PieceKind::RootArc;
    std::size_t first = 0;
    std::size_t last = 0;
    double radius = 0.0;   // arcs only
};

struct GearProfile {
    std::vector<OutlinePoint> points;   // the whole gear, counter-clockwise, not repeated at the end
    int pointsPerTooth = 0;
    double pitchDiameter = 0.0;
    double tipDiameter = 0.0;
    double rootDiameter = 0.0;
    double baseDiameter = 0.0;
    double involuteStartDiameter = 0.0; // where the fillet meets the involute
    bool undercut = false;              // the fillet cuts into the involute
    std::vector<ToothFinding> findings; // what the generated tooth says of itself
    double deviation = 0.0;             // the largest chord deviation achieved, mm
    // Tooth 0's pieces in the points' order; tooth k's are the same with
    // k * pointsPerTooth added to the indices (modulo the point count).
    std::vector<ProfilePiece> pieces;
};

// The profile of an external gear cut by its rack (the spec's cutter: its tip
// radius, NaN for 0.38 m), every chord within `tolerance` (largest chord
// deviation, mm); refuses, with an AppError, inputs that give no outline: a
// tooth count below 3, a module or tolerance out of range, a pressure angle
// the table does not hold, a tip radius that does not fit the rack, circles
// that are not finite or a root circle at or past the centre, teeth that
// cross (tip thickness not positive) or run into their neighbours, and more
// than 5 million points.
GearProfile BuildGearProfile(const GearSpec& spec, double tolerance);

// The outline of a model's generated tooth, all teeth, within the tolerance
// (mm; the caller checks its range). An internal gear's outline is its
// toothed inside, tooth 0 centred on +x; tipDiameter is then its inner one.
GearProfile ProfileOfModel(const GearModel& model, double tolerance);

// The refusals, for tests and the front ends.
const char* ProfileCrossingTeethMessage();
std::string ProfileCutThroughMessage(double lowDiameter, double highDiameter);
const char* ProfileNoInvoluteMessage();
const char* ProfileToleranceMessage();
const char* ProfileTipRadiusMessage();
const char* ProfilePointLimitMessage();
const char* ProfileRootMessage();       // the root circle at or past the centre
const char* ProfileNotFiniteMessage();  // a tip or root circle without a finite size
