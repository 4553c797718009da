// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One gear through the window's calculation and the inspection numbers, and
// its three written forms (text, JSON, CSV) for `gear` and `batch`.

#include "app/cli/output.h"
#include "geardata/gearrecord.h"
#include "geometry/inspection.h"
#include "commands/teethchecks.h"
#include "geometry/accuracy.h"
#include "geometry/thicknesslimits.h"

#include <iosfwd>
#include <string>
#include <vector>

struct GearInputs {
    double module = 1.0;
    std::int32_t teeth = 18;
    double shift = 0.0;
    std::int32_t pressureAngleIndex = 1;
    InspectionRequest request;
    std::optional<int> accuracyClass;     // none: no accuracy grade asked for
    std::optional<double> faceWidth;
    ThicknessAllowance allowance;
};

struct GearOutcome {
    GearRecord record{};          // slot 0 after the calculation
    TeethCheckResult check;       // the message list's lines and result
    InspectionGear gear;
    InspectionResult inspection;
    std::optional<AccuracyTolerances> accuracy;
    ThicknessLimits limits;
};

// Parses the module, teeth and shift texts as the window's three boxes do
// (the same messages, raised as AppError), with "." as the decimal point.
void ParseGearTexts(GearInputs& inputs, const std::string& module, const std::string& teeth,
                    const std::string& shift);

// The window's calculate command on slot 0: the teeth checks, then (unless
// they report an error, result 2) ComputeGearDimensions, then the inspection.
// A floating-point fault is raised as the window raises it.
GearOutcome CalculateGear(const GearInputs& inputs);

// The teeth checks' error lines (those that stop the calculation), joined.
std::string TeethCheckError(const TeethCheckResult& check);

// The five results as the window's boxes show them, in box order.
std::vector<std::string> ResultTexts(const GearRecord& record, std::string_view decimalSeparator);

std::string GearText(const GearOutcome& outcome, std::string_view decimalSeparator);
nlohmann::ordered_json GearJson(const GearOutcome& outcome);
std::string GearCsvHeader(bool withLine);
std::string GearCsvRow(const GearOutcome& outcome, long line);   // line < 0: no line column

// The batch command over a stream of lines "module,teeth,shift[,pressure angle]":
// writes one row or object per good line to `out`, and one message per bad
// line to `err`, and returns the number of bad lines.
long RunBatch(std::istream& in, std::ostream& out, std::ostream& err, OutputFormat format);
