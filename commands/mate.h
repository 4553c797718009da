// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gear 1 and the mate chosen for it (another external gear, a ring, a rack),
// worked out once for the かみあい window and tsumugi-cli pair: the pair from
// the shifts or from a centre distance, its report, the pair in mesh as the
// drawing shows it and, for two external gears, the backlash.

#include "commands/pairtext.h"
#include "geometry/backlash.h"
#include "geometry/mate.h"
#include "geometry/mesh.h"
#include "geometry/pair.h"

#include <functional>
#include <optional>
#include <string_view>

struct MateOutcome {
    MateReport report;
    MeshInput mesh;               // the tightest mesh the allowances leave
    double centerDistance = 0.0;  // a; a rack: gear 1's centre to the rack's reference line
    PairInput gears;              // the teeth and shifts of the pair as solved (from a centre distance too)
    std::optional<BacklashResult> backlash;
};

struct MateRequest {
    PairInput gears;                        // with its mate; gear 2's teeth and shift unused for a rack
    std::optional<double> centerDistance;   // given: the shifts (a ring: gear 2's) follow from it
    // Two external gears from a centre distance: how the shift sum is shared,
    // or (keepShift1) gear 1 keeps gears.shift[0] and gear 2 takes the rest.
    ShiftSplit split = ShiftSplit::Proportional;
    bool keepShift1 = false;
    // The tooth-thickness and centre-distance allowances (a rack's gear 2: the
    // rack tooth's; a ring's: the ring tooth's), read once the pair stands (so
    // that the pair's refusal comes first); none: all zero. The drawing shows
    // two external gears with them, a ring or a rack without.
    std::function<BacklashInput()> allowances;
    bool backlash = false;                     // the backlash of the allowances is wanted
    // Instead of the thickness allowances: equal ones proposed for this backlash.
    std::optional<BacklashRange> wanted;
    BacklashKind wantedKind = BacklashKind::Normal;
    // The allowances the backlash is worked out from, before it is: may refuse
    // them. `gears` is the pair as solved.
    std::function<void(const PairInput& gears, const BacklashInput& allowances)> checkAllowances;
    // Told of the report, mesh and centre distance as soon as the pair stands, before the allowances.
    std::function<void(const MateOutcome& pair)> paired;
};

// The pair, its report (texts with `decimalSeparator`), its mesh and its
// backlash. A refused pair or allowance raises AppError.
MateOutcome ComputeMate(const MateRequest& request, std::string_view decimalSeparator);
