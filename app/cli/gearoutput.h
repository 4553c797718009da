// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One gear through the calculation every front end runs (CalculateGear of
// commands/commands.h) and the inspection numbers, and its three written
// forms (text, JSON, CSV) for `gear` and `batch`.

#include "app/cli/output.h"
#include "geardata/gearrecord.h"
#include "geometry/inspection.h"
#include "commands/teethchecks.h"
#include "geometry/accuracy.h"
#include "geometry/thicknesslimits.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// What the gear command adds to the gear for its tolerances: an accuracy class
// (none: no accuracy grade asked for), the face width and the tooth-thickness
// allowance.
struct GearTolerancing {
    std::optional<int> accuracyClass;
    std::optional<double> faceWidth;
    ThicknessAllowance allowance;
    bool allowanceGiven = false;      // without one the text shows no limits
    bool limitsWanted = true;         // false: no limits worked out (a batch's CSV row has none)
};

struct GearOutcome {
    GearRecord record{};          // the gear after the calculation
    TeethCheckResult check;       // the message list's lines (without the credit lines) and result
    GearSpec gear;
    InspectionResult inspection;
    std::optional<AccuracyTolerances> accuracy;
    ThicknessLimits limits;
    bool limitsShown = true;      // the text's allowance and limit lines
};

// The gear the window starts from: slot 0 of a reset table (its mate Teeth2
// 20, pressure angle 20°), with the given module, teeth, shift and index.
GearRecord GearOf(double module, std::int32_t teeth, double shift, std::int32_t pressureAngleIndex);

// CalculateGear on the gear, then the inspection numbers. A gear the teeth
// checks refuse, and a fault of the arithmetic, are raised as CliError
// (kExitRefused) about `subject`.
// With tolerancing, also the accuracy grades and the limits of the thinned teeth.
// `beyondWindow`: a tooth count above the main window's 70 is computed by the
// gear model (its five results too), with a line that says so, instead of refused.
GearOutcome ComputeGear(GearRecord gear, const InspectionRequest& request, const std::string& subject,
                        const GearTolerancing& tolerancing = {}, bool beyondWindow = false);

// A helical gear of a batch line (right hand; the hand changes no number):
// module, pressure angle and shift the normal ones, the five results the
// gear model's transverse section (d = z m_t, d_a, d_f, d_b, the transverse
// tip thickness), the inspection in the normal section, and the model's
// findings after a first line that says so. Refused as ComputeGear refuses.
GearOutcome ComputeHelicalGear(const GearRecord& gear, double helixAngleDegrees, const std::string& subject);

// The five results as the window's boxes show them, in box order.
std::vector<std::string> ResultTexts(const GearRecord& record, std::string_view decimalSeparator);

std::string GearText(const GearOutcome& outcome, std::string_view decimalSeparator);
nlohmann::ordered_json GearJson(const GearOutcome& outcome);
std::string GearCsvHeader(bool withLine);
std::string GearCsvRow(const GearOutcome& outcome, long line);   // line < 0: no line column

// The batch command over a stream of lines "module,teeth,shift[,pressure angle[,helix angle]]":
// writes one row or object per good line to `out`, and one message per bad
// line to `err`, in input order, and returns the number of bad lines. The
// lines are computed on `jobs` threads (0: one per core); what is written
// does not depend on it.
long RunBatch(std::istream& in, std::ostream& out, std::ostream& err, OutputFormat format, unsigned jobs = 0);
