// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pinion (gear 1, external) inside a ring (gear 2, internal) in mesh without
// backlash: the working pressure angle from inv alpha_w = 2 tan(alpha)
// (x2 - x1) / (z2 - z1) + inv alpha, the centre distance
// a = m (z2 - z1) / 2 cos(alpha) / cos(alpha_w), y, the contact ratio from both
// tip circles, the inverse from a centre distance, and the interferences only
// an internal pair has, each as a finding.
//
// Proportions: pinion tip m(z1 + 2 + 2 x1), root 4.5 m below it (as the main
// window); ring tip d2 - 2m(1 - x2) (a positive shift moves its teeth
// outward), root as the ring's default pinion-type cutter cuts it (1.25 m
// beyond d2 at x2 = 0, a little less than 1.25 m + x2 m beyond it otherwise).
// No tip is shortened.
//
// Tip interference: a tip whose contact runs past the end of the mate's
// involute into its root fillet, the ring's fillet as its default pinion-type
// cutter cuts it, the pinion's as the standard rack (tip radius 0.38 m) does.
// Its margin says where the contact runs; the finding is what the generated
// teeth do: they overlap, through a pitch, deeper than kTipCheckDepth m.

#include "geometry/gearmath.h"
#include "geometry/mesh.h"
#include "geometry/pair.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// One interference check: the margin by which the pair clears it (its unit
// depends on the check; absent when the check has no number for the pair) and
// whether it interferes.
struct InterferenceCheck {
    std::optional<double> margin;
    bool interferes = false;
    std::string absent;   // why there is no margin
};

// The tip interference is decided on the generated teeth: the pair is drawn
// (geometry/mesh.h) at this chord tolerance, in modules, turned through one
// pitch of gear 1 in this many steps, and interferes where an overlap is
// deeper (its mean thickness) than this many modules.
inline constexpr double kTipCheckTolerance = 0.0002;
inline constexpr int kTipCheckSteps = 48;
inline constexpr double kTipCheckDepth = 0.001;

struct InternalPairResult {
    PairInput input;                      // teeth[0], shift[0]: the pinion; [1]: the ring
    bool fromCenterDistance = false;
    double shiftDifference = 0.0;         // x2 - x1
    double workingPressureAngle = 0.0;    // degrees
    double standardCenterDistance = 0.0;  // a0 = m (z2 - z1) / 2
    double centerDistance = 0.0;
    double centerDistanceModification = 0.0;   // y = (a - a0) / m
    std::array<double, 2> tipDiameter{};
    std::array<double, 2> rootDiameter{};
    std::array<double, 2> baseDiameter{};
    std::array<double, 2> tipThickness{}; // arc thickness on each tip circle (NaN: tip inside the base circle)
    double clearancePinionTip = 0.0;      // pinion tip to ring root
    double clearanceRingTip = 0.0;        // ring tip to pinion root
    double lineOfAction = 0.0;            // a sin alpha_w
    double contactRatio = 0.0;
    InterferenceCheck involute;           // z1/z2 - (1 - tan alpha_a2 / tan alpha_w)
    InterferenceCheck trochoid;           // radians
    InterferenceCheck trimming;           // radians; radial assembly
    InterferenceCheck tip;                // mm: a tip's contact against the mate's fillet (its finding: tipDepth's)
    InterferenceCheck tipDepth;           // mm: the deepest overlap of the generated teeth, interfering past
                                          // kTipCheckDepth m (the deepest up to the first step past it)
    double ringInvoluteEndDiameter = 0.0; // the ring cut by its default pinion-type cutter (NaN: none cuts it)
    std::string ringAbsent;               // why the ring has no root (no cutter cuts it)
    double pinionInvoluteStartDiameter = 0.0;   // the pinion cut by the standard rack (tip radius 0.38 m)
    std::vector<std::string> findings;
};

// The mesh of the pair as computed (geometry/mesh.h): its shifts and centre distance.
MeshInput MeshInputOf(const InternalPairResult& pair);

// The pair for given shifts.
InternalPairResult ComputeInternalPair(const PairInput& input);

// The pair for a given centre distance: the difference x2 - x1 it needs, the
// pinion keeping its shift input.shift[0] and the ring taking the rest.
InternalPairResult ComputeInternalPairForCenterDistance(const PairInput& input, double centerDistance);
