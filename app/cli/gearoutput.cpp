// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/gearoutput.h"

#include "commands/commands.h"
#include "commands/inspectiontext.h"
#include "commands/numbertext.h"
#include "commands/tolerancetext.h"
#include "geometry/extended.h"

namespace {

const char* const kResultKeys[] = {"pitch_diameter", "tip_diameter", "root_diameter", "base_diameter",
                                   "tip_thickness_box"};
const char* const kResultLabels[] = {"ピッチ円", "歯先円", "歯底円", "基礎円", "歯先歯厚"};

std::string Joined(const std::vector<std::string>& lines, const char* between)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : between) + line;
    return text;
}

// Reasons of the absent values and the findings, for the last CSV cell.
std::string Notes(const GearOutcome& o, const InspectionValues& values)
{
    std::string notes;
    const auto add = [&notes](std::string_view a, std::string_view b = {}) {
        if (!notes.empty())
            notes += "; ";
        notes += a;
        notes += b;
    };
    for (const InspectionValue& v : values)
        if (!v.measure.present())
            add(std::string(v.key) + ": ", v.measure.reason);
    for (const InspectionValue& v : values)
        if (v.measure.present() && !v.measure.note.empty())
            add(std::string(v.key) + ": ", v.measure.note);
    for (const std::string& line : InspectionFindings(o.gear, o.inspection))
        add(line);
    return notes;
}

}  // namespace

GearRecord GearOf(double module, std::int32_t teeth, double shift, std::int32_t pressureAngleIndex)
{
    static const GearRecord start = [] {
        GearTable table{};
        ResetGearTable(table);
        return table[kCurrentSlot];
    }();
    GearRecord gear = start;
    gear.Module = module;
    gear.Teeth = teeth;
    gear.Shift = shift;
    gear.PressureAngleIndex = pressureAngleIndex;
    return gear;
}

// A gear with more teeth than the main window computes: its five results from
// the gear model, the window's refusal named in a line, and the model's findings.
static TeethCheckResult BeyondWindow(GearRecord& gear, std::optional<GearModel>& model)
{
    model.emplace(GearSpecOf(gear));
    gear.PitchDiameter = model->PitchDiameter();
    gear.TipDiameter = model->TipDiameter();
    gear.RootDiameter = model->RootDiameter();
    gear.BaseDiameter = model->BaseDiameter();
    gear.TipThickness = model->TipThickness();
    TeethCheckResult check{{"主画面の計算・登録は歯数 70 までです（「エラー：歯数Ｚ1が多すぎる、計算不可」）。"
                            "ここの値は歯車モデルによる値です"},
                           kChecksWarned};
    for (const ToothFinding f : model->Findings())
        check.lines.push_back(FindingText(f));
    return check;
}

GearOutcome ComputeGear(GearRecord gear, const InspectionRequest& request, const std::string& subject,
                        const GearTolerancing& tolerancing, bool beyondWindow)
{
    GearOutcome o;
    try {
        double solveTarget = 0.0;
        std::optional<GearModel> model;   // built once, for the findings and the measurements
        o.check = CalculateGear(gear, solveTarget, [](const std::vector<std::string>&) {}, &model);
        if (o.check.result == kChecksRefused && beyondWindow && gear.Teeth > kWindowMaxTeeth)
            o.check = BeyondWindow(gear, model);
        if (o.check.result == kChecksRefused)
            throw CliError(kExitRefused, subject, RefusalText(o.check));
        o.check.lines = WithoutCreditLines(o.check.lines);
        o.record = gear;
        o.gear = GearSpecOf(gear);
        o.inspection = model ? ComputeInspection(*model, request) : ComputeInspection(o.gear, request);
        if (tolerancing.limitsWanted)
            o.limits = ComputeThicknessLimits(o.gear, o.inspection, tolerancing.allowance);
        o.limitsShown = tolerancing.allowanceGiven;
        if (tolerancing.accuracyClass)
            o.accuracy = ComputeSpurAccuracy(*tolerancing.accuracyClass, gear.Module, gear.Teeth, tolerancing.faceWidth);
    } catch (const AppError& e) {
        throw CliError(kExitRefused, subject, e.what());
    }
    return o;
}

std::vector<std::string> ResultTexts(const GearRecord& g, std::string_view sep)
{
    return {ResultBoxText(g.PitchDiameter, sep), ResultBoxText(g.TipDiameter, sep), ResultBoxText(g.RootDiameter, sep),
            ResultBoxText(g.BaseDiameter, sep), ResultBoxText(g.TipThickness, sep)};
}

std::string GearText(const GearOutcome& o, std::string_view sep)
{
    const GearRecord& g = o.record;
    const BoxTexts b = BoxTextsOf(g, std::string(sep));
    std::string text = "モジュール\t" + b.module + "\n歯数\t" + b.teeth + "\n転位係数\t" + b.shift + "\n";
    const std::string* results[] = {&b.pitch, &b.tip, &b.root, &b.base, &b.tipThickness};
    for (std::size_t i = 0; i < std::size(results); ++i)
        text += std::string(kResultLabels[i]) + "\t" + *results[i] + "\n";
    text += "\n";
    for (const std::string& line : o.check.lines)
        text += line + "\n";
    text += "\n" + InspectionText(o.gear, o.inspection, sep);
    text += TolerancesText(o.accuracy, o.limitsShown ? &o.limits : nullptr, sep);
    if (const std::string note = TipThicknessNote(o.inspection, g.TipThickness, sep); !note.empty())
        text += note + "\n";
    return text;
}

GearOutcome ComputeHelicalGear(const GearRecord& record, double helixAngleDegrees, const std::string& subject)
{
    GearOutcome o;
    try {
        GearSpec g = GearSpecOf(record);
        g.helixAngleDegrees = helixAngleDegrees;
        if (const std::string defect = GearSpecDefect(g); !defect.empty())
            throw AppError(defect);
        const GearModel model(g);
        o.record = record;
        o.record.PitchDiameter = model.PitchDiameter();
        o.record.TipDiameter = model.TipDiameter();
        o.record.RootDiameter = model.RootDiameter();
        o.record.BaseDiameter = model.BaseDiameter();
        o.record.TipThickness = model.TipThickness();
        o.check = {{"はすば歯車（ねじれ角 " + RoundTripText(helixAngleDegrees) +
                    "°）：モジュール・圧力角・転位係数は歯直角、直径と歯先歯厚は正面、測定は歯直角の値です"},
                   kChecksWarned};
        for (const ToothFinding f : model.Findings())
            o.check.lines.push_back(FindingText(f));
        o.gear = g;
        o.inspection = ComputeInspection(model, {});
        o.limits = ComputeThicknessLimits(o.gear, o.inspection, {});
        o.limitsShown = false;
    } catch (const AppError& e) {
        throw CliError(kExitRefused, subject, e.what());
    }
    return o;
}

nlohmann::ordered_json GearJson(const GearOutcome& o)
{
    const GearRecord& g = o.record;
    nlohmann::ordered_json j;
    j["module"] = g.Module;
    j["teeth"] = g.Teeth;
    j["shift"] = g.Shift;
    j["pressure_angle"] = PressureAngleDegrees(g.PressureAngleIndex);
    if (o.gear.helixAngleDegrees != 0.0)
        j["helix_angle"] = o.gear.helixAngleDegrees;
    const double values[] = {g.PitchDiameter, g.TipDiameter, g.RootDiameter, g.BaseDiameter, g.TipThickness};
    const std::vector<std::string> texts = ResultTexts(g, ".");
    nlohmann::ordered_json results, resultTexts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        results[kResultKeys[i]] = JsonNumber(values[i]);
        resultTexts[kResultKeys[i]] = texts[i];
    }
    j["results"] = results;
    j["result_texts"] = resultTexts;
    j["messages"] = o.check.lines;
    j["check"] = o.check.result;

    nlohmann::ordered_json inspection = nlohmann::ordered_json::object(), absent = nlohmann::ordered_json::object();
    const InspectionValues rows = InspectionValuesOf(o.inspection);
    for (const InspectionValue& row : rows) {
        if (row.kind == InspectionRowKind::YesNo)
            inspection[row.key] = row.measure.present() ? nlohmann::ordered_json(*row.measure.value != 0) : nullptr;
        else if (row.kind == InspectionRowKind::Count && row.measure.present())
            inspection[row.key] = static_cast<std::int64_t>(*row.measure.value);
        else
            inspection[row.key] = JsonNumber(row.measure.value);
        if (!row.measure.present())
            absent[row.key] = row.measure.reason;
    }
    j["inspection"] = inspection;
    j["absent"] = absent;
    j["span_teeth"] = {o.inspection.spans[0].teeth, o.inspection.spans[1].teeth, o.inspection.spans[2].teeth};
    j["ideal_pin"] = o.inspection.idealPin;
    nlohmann::ordered_json notes = nlohmann::ordered_json::object();
    for (const InspectionValue& row : rows)
        if (row.measure.present() && !row.measure.note.empty())
            notes[row.key] = row.measure.note;
    j["notes"] = notes;
    j["findings"] = InspectionFindings(o.gear, o.inspection);
    j["thickness_allowance"] = {{"upper", o.limits.allowance.upper}, {"lower", o.limits.allowance.lower}};
    nlohmann::ordered_json limits = nlohmann::ordered_json::object();
    for (const LimitRow& row : LimitRows(o.limits))
        limits[row.key] = {{"upper", JsonNumber(row.limits.upper.value)}, {"lower", JsonNumber(row.limits.lower.value)}};
    j["limits"] = limits;
    if (o.accuracy) {
        nlohmann::ordered_json accuracy;
        accuracy["class"] = o.accuracy->accuracyClass;
        for (const AccuracyRow& row : AccuracyRows(*o.accuracy))
            accuracy[row.key] = JsonNumber(row.micrometres);
        accuracy["findings"] = o.accuracy->findings;
        j["accuracy"] = accuracy;
    } else {
        j["accuracy"] = nullptr;
    }
    return j;
}

std::string GearCsvHeader(bool withLine)
{
    std::vector<std::string> cells;
    if (withLine)
        cells.emplace_back("line");
    for (const char* key : {"module", "teeth", "shift", "pressure_angle"})
        cells.emplace_back(key);
    cells.insert(cells.end(), std::begin(kResultKeys), std::end(kResultKeys));
    cells.emplace_back("messages");
    const InspectionResult none;
    for (const InspectionValue& value : InspectionValuesOf(none))
        cells.emplace_back(value.key);
    cells.emplace_back("span_teeth");
    cells.emplace_back("notes");
    return CsvLine(cells);
}

std::string GearCsvRow(const GearOutcome& o, long line)
{
    // Written straight into one string: numbers need no quoting, only the text cells go through CsvCell.
    const GearRecord& g = o.record;
    std::string out;
    out.reserve(512);
    auto cell = [&out](const std::string& text) {
        out += text;
        out += ',';
    };
    if (line >= 0)
        cell(std::to_string(line));
    cell(RoundTripText(g.Module));
    cell(FormatInteger(g.Teeth));
    cell(RoundTripText(g.Shift));
    cell(RoundTripText(PressureAngleDegrees(g.PressureAngleIndex)));
    for (const std::string& text : ResultTexts(g, "."))
        cell(text);
    cell(o.check.result != 0 ? CsvCell(Joined(o.check.lines, " / ")) : std::string());   // the warnings
    const InspectionValues values = InspectionValuesOf(o.inspection);
    for (const InspectionValue& row : values) {
        if (!row.measure.present())
            out += ',';
        else if (row.kind == InspectionRowKind::Length)
            cell(RoundTripText(*row.measure.value));
        else
            cell(std::to_string(static_cast<long long>(*row.measure.value)));
    }
    cell(std::to_string(o.inspection.spans[1].teeth));
    out += CsvCell(Notes(o, values));
    out += '\n';
    return out;
}
