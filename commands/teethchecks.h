// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The teeth checks: the one validation of a gear before it is computed.

#include "geometry/gearmodel.h"

#include <cstdint>
#include <optional>

struct GearRecord;
#include <string>
#include <vector>

// What the teeth checks found, as the result code the calculate command reads.
enum TeethCheck : int {
    kChecksClean = 0,      // no findings
    kChecksWarned = 1,     // warnings only: the gear is still computed
    kChecksRefused = 2,    // an error: the gear is not computed
};

struct TeethCheckResult {
    std::vector<std::string> lines;   // the message list, top to bottom
    TeethCheck result;
};

// The most teeth the main window's calculation takes.
inline constexpr std::int32_t kWindowMaxTeeth = 70;

// The message list of a gear's tooth counts; with no findings, the credit
// lines (commands/credits.h) and "エラー＝０、警告＝０".
TeethCheckResult CheckTeethCounts(std::int32_t teeth, std::int32_t teeth2);

// The lines without the credit lines: what a report other than the window's
// message list shows.
std::vector<std::string> WithoutCreditLines(const std::vector<std::string>& lines);

// The lines that stopped the calculation (those of an error), joined by a blank.
std::string RefusalText(const TeethCheckResult& check);

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
// `model`, when given, keeps the model built for them (none when the gear
// has none), for a caller that goes on to measure the same gear.
std::vector<std::string> GeneratedToothFindings(const GearRecord& gear, std::optional<GearModel>* model = nullptr);

// The message list once the gear is computed: the teeth checks' lines, then the
// generated tooth's finding lines, which take the place of the no-findings block.
TeethCheckResult CheckComputedGear(const GearRecord& gear);
// The same from the teeth checks' result and the finding lines already worked out.
TeethCheckResult WithToothFindings(TeethCheckResult counts, const std::vector<std::string>& findings);
