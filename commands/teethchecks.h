// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The teeth checks: the one validation of a gear before it is computed.

#include <cstdint>
#include <string>
#include <vector>

struct TeethCheckResult {
    std::vector<std::string> lines;   // the message list, top to bottom
    int result;                       // 0 clean, 1 warnings only, 2 an error: do not compute
};

TeethCheckResult CheckTeethCounts(std::int32_t teeth, std::int32_t teeth2);

// What the computed gear's tip thickness says about it: nothing for a sound
// tip; one warning line for teeth that come to a point and cross (no positive
// thickness), for a tip circle inside the base circle (no thickness at all),
// or for a tip thinner than a quarter of the module.
std::vector<std::string> TipThicknessFindings(double tipThickness, double module);

// The message list once the gear is computed: the teeth checks' lines, then the
// tip thickness findings, which take the place of the no-findings block.
TeethCheckResult CheckComputedGear(std::int32_t teeth, std::int32_t teeth2, double tipThickness, double module);

// The maker's home page, opened by the "GO　ＨＰ" button and named in the credit lines.
const char* HomePageAddress();
