// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The limits a machinist holds a measurement against when the teeth are cut
// thinner than nominal by a tooth-thickness allowance: the span W, the
// measurement over pins M and the chordal thickness, each for the upper and
// the lower allowance.
//
// A thinner tooth is the tooth the rack cuts when it is set deeper by
// -A / (2 tan alpha), with the tip circle kept (the gear model's allowance,
// geometry/gearmodel.h): so the span moves by exactly
// A cos(alpha), and M is found again exactly (by the involute inverse) for the
// thinner tooth with the nominal gear's pin, not by a linear factor.

#include "geometry/inspection.h"

// The allowance of the tooth thickness on the reference circle, mm; negative
// is thinner. Upper is the larger of the two.
struct ThicknessAllowance {
    double upper = 0.0;
    double lower = 0.0;
};

struct LimitPair {
    Measure upper;   // with the upper allowance (the larger value)
    Measure lower;   // with the lower allowance
};

struct ThicknessLimits {
    ThicknessAllowance allowance;
    std::int32_t spanTeeth = 0;        // k of the limits (the nominal k)
    LimitPair span;                    // W over k teeth
    LimitPair overPins;                // M, with the nominal gear's pin
    LimitPair toothThickness;          // s on the reference circle
    LimitPair chordalThickness;        // s-bar
    LimitPair chordalHeight;           // h-bar from the kept tip circle
};

// Refuses an allowance that is not finite or whose upper value lies below
// the lower one (AppError).
void CheckAllowance(const ThicknessAllowance& allowance, const char* whose = "");

// The limits for a gear measured as `nominal` (its k and pin are used).
ThicknessLimits ComputeThicknessLimits(const GearSpec& gear, const InspectionResult& nominal,
                                       const ThicknessAllowance& allowance);

// The inspection of the gear with its teeth thinned by `allowance` (mm), the
// tip circle kept; k and the pin come from `request`.
InspectionResult ThinnedInspection(const GearSpec& gear, const InspectionRequest& request, double allowance);
