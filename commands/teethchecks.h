// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The teeth checks: the one validation of a gear before it is computed.

#include <cstdint>

struct GearRecord;
#include <string>
#include <vector>

struct TeethCheckResult {
    std::vector<std::string> lines;   // the message list, top to bottom
    int result;                       // 0 clean, 1 warnings only, 2 an error: do not compute
};

TeethCheckResult CheckTeethCounts(std::int32_t teeth, std::int32_t teeth2);

// Whether the tooth-count rule warns of an undercut for this many teeth.
bool CountRuleWarnsUndercut(std::int32_t teeth);

// The finding line of a tip thickness: nothing for a sound tip; one warning
// line for teeth that come to a point and cross (no positive thickness), for a
// tip circle inside the base circle (no thickness at all), or for a tip
// thinner than a quarter of the module.
std::vector<std::string> TipThicknessFindings(double tipThickness, double module);

// The finding lines the generated tooth of a computed gear adds to the teeth
// checks' lines (GearModel's findings in their one text each), without the
// undercut when the count rule already warns of it. A gear the model cannot
// build (a module that is not positive) gets the finding of its tip-thickness box.
std::vector<std::string> GeneratedToothFindings(const GearRecord& gear);

// The message list once the gear is computed: the teeth checks' lines, then the
// generated tooth's finding lines, which take the place of the no-findings block.
TeethCheckResult CheckComputedGear(const GearRecord& gear);

// The maker's home page, opened by the "GO　ＨＰ" button and named in the credit lines.
const char* HomePageAddress();
