// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of one helical gear: its normal values as given, the transverse
// values the model derives from them, and the inspection in the normal
// section, each row labelled with the section it belongs to (歯直角 or 正面),
// for the command line and any window that shows the gear.

#include "commands/pairtext.h"
#include "geometry/accuracy.h"
#include "geometry/inspection.h"
#include "geometry/thicknesslimits.h"

#include <optional>

#include <string_view>

// The hand as a word: "右" / "左", and the command line's "right" / "left".
const char* HandText(Hand hand);
const char* HandKey(Hand hand);

// The report (title "はすば歯車"): the given values, the transverse values
// (m_t, alpha_t, beta_b, lead, x_t, z_n, z / cos^3 beta), the sizes, the normal
// and transverse thickness and pitches, the inspection (span with W sin beta_b,
// balls, chord) and the findings; absent values are "―" and their reasons are
// among the findings. Lengths to 4 decimals, angles to 5, coefficients to 6.
MateReport HelicalGearReport(const GearSpec& gear, const InspectionResult& inspection,
                             std::string_view decimalSeparator);

// What a tooth-thickness allowance and an accuracy class add to a helical
// gear's report. The allowance is the NORMAL one (mm of arc in the normal
// section, as the rack that cuts the gear is set): each limit row is the
// inspection of the thinned gear, so W moves by A cos(alpha_n) and M is found
// again for the thinner tooth with the nominal ball. The class gives the ISO
// 1328-1 tolerances with m_n and d = z m_t (ComputeGearAccuracy).
void AddHelicalTolerances(MateReport& report, const GearSpec& gear, const InspectionResult& nominal,
                          const std::optional<ThicknessAllowance>& allowance,
                          const std::optional<AccuracyTolerances>& accuracy, std::string_view decimalSeparator);
