// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli gear: one gear, its five results as the window shows them, the
// teeth checks and the inspection numbers.
#include "app/cli/commands.h"
#include "commands/numbertext.h"
#include "app/cli/gearoutput.h"
#include "commands/pairtext.h"
#include "base/apperror.h"
#include "commands/helicaltext.h"
#include "commands/tolerancetext.h"
#include "geometry/internalgear.h"
#include "app/cli/sheetoptions.h"

#include <optional>
#include <memory>

void AddBatchCommand(CLI::App& app, CliContext& context);
void AddTableCommand(CLI::App& app, CliContext& context);

namespace {

const std::vector<std::string> kGearFormats{"text", "json", "csv"};

struct GearOptions {
    std::string module, teeth, shift = "0", pin, spanTeeth, pressureAngle, format, design, gear = "1";
    std::string cutterTeeth = "0", cutterTipRadius;   // 0 teeth: the default cutter
    std::string helixAngle = "0", hand = "right";
    bool internal = false;
    CLI::Option* helixAngleOption = nullptr;
    CLI::Option* pinOption = nullptr;
    CLI::Option* spanTeethOption = nullptr;
    CLI::Option* cutterTipRadiusOption = nullptr;
    CLI::Option* moduleOption = nullptr;
    CLI::Option* teethOption = nullptr;
    CLI::Option* designOption = nullptr;
    SheetOptions sheet;
};

}  // namespace

Hand HandOption(const std::string& option, const std::string& text)
{
    if (text == "right")
        return Hand::Right;
    if (text == "left")
        return Hand::Left;
    throw CliError(kExitUsage, option, Args(Cli::tr("'%1' is not one of %2"), {text, "right, left"}));
}

Cutter PinionCutterOptions(const std::string& teeth, const std::string& tipRadius, const CLI::Option& tipRadiusOption)
{
    Cutter cutter;
    cutter.kind = CutterKind::Pinion;
    cutter.teeth = IntegerOption("--cutter-teeth", teeth, Range::NonNegative);
    if (tipRadiusOption.count() > 0)
        cutter.tipRadius = NumberOption("--cutter-tip-radius", tipRadius, Range::NonNegative);
    return cutter;
}

namespace {

// The ring the options give (its default cutter).
GearSpec RingOf(const GearOptions& o)
{
    GearSpec ring;
    ring.kind = GearKind::Internal;
    ring.cutter.kind = CutterKind::Pinion;
    ring.module = NumberOption("--module", o.module, Range::Positive);
    ring.teeth = IntegerOption("--teeth", o.teeth, Range::AtLeastOne);
    ring.shift = NumberOption("--shift", o.shift);
    ring.pressureAngleDegrees = PressureAngleOption(o.pressureAngle);
    return ring;
}

// The rows a ring's tolerancing adds to its report: the allowance and the
// limits of M between pins it gives, the tolerances of its accuracy class.
void AddRingTolerances(MateReport& report, const GearSpec& ring, const InternalGearSizes& sizes,
                       const GearTolerancing& t, std::string_view sep)
{
    const auto two = [sep](const char* key, const char* label, double a, double b, int decimals) {
        return PairRow{key, label, true, {FormatFixed(a, 11, decimals, sep), FormatFixed(b, 11, decimals, sep)}, {a, b}, false};
    };
    if (t.allowanceGiven) {
        const RingLimits limits = ComputeRingLimits(ring, sizes, t.allowance);
        report.results.push_back(two("thickness_allowance", "歯厚許容差（上、下）", t.allowance.upper, t.allowance.lower, 4));
        const LimitPair& m = limits.betweenPins;
        if (m.upper.present() && m.lower.present())
            report.results.push_back(two("between_pins_limits", "オーバーピン寸法 M（内側）の許容範囲（下限、上限）",
                                         *m.upper.value, *m.lower.value, 4));
    }
    if (!t.accuracyClass)
        return;
    const AccuracyTolerances tolerances = ComputeSpurAccuracy(*t.accuracyClass, ring.module, ring.teeth, t.faceWidth);
    report.results.push_back(PairRow{"accuracy_class", "精度等級（ISO 1328-1:2013）", false,
                                     {AccuracyClassName(tolerances.accuracyClass), ""},
                                     {static_cast<double>(tolerances.accuracyClass), 0.0}, true});
    for (const AccuracyRow& row : AccuracyRows(tolerances))
        if (row.micrometres)
            report.results.push_back(PairRow{row.key, row.label, false, {ToleranceValueText(row.micrometres, sep), ""},
                                             {*row.micrometres, 0.0}, false});
    report.findings.insert(report.findings.end(), tolerances.findings.begin(), tolerances.findings.end());
}

// A ring: its sizes, the cutter that cuts it, the measurement between pins
// and, with an allowance or a class, its limits and tolerances.
int RunInternalGear(const GearOptions& o, OutputFormat format, const GearTolerancing& tolerancing)
{
    GearSpec in = RingOf(o);
    in.cutter = PinionCutterOptions(o.cutterTeeth, o.cutterTipRadius, *o.cutterTipRadiusOption);
    std::optional<double> pin;
    if (o.pinOption->count() > 0)
        pin = NumberOption("--pin", o.pin, Range::Positive);
    MateReport report;
    try {
        const InternalGearSizes sizes = ComputeInternalGear(in, pin);
        report = InternalGearReport(in, sizes, LocaleDecimalSeparator());
        AddRingTolerances(report, in, sizes, tolerancing, LocaleDecimalSeparator());
    } catch (const AppError& e) {
        throw CliError(kExitRefused, "", e.what());
    }
    PrintReport(report, format);
    return kExitOk;
}

// A helical gear: its normal values as given, the transverse ones, the
// inspection in the normal section. JSON and CSV carry the hand as a word.
int RunHelicalGear(const GearOptions& o, double helixAngle, const GearDesign* designed = nullptr)
{
    const OutputFormat format = FormatOf(o.format, kGearFormats);
    GearSpec g;
    g.module = NumberOption("--module", o.module, Range::Positive);
    g.teeth = IntegerOption("--teeth", o.teeth, Range::AtLeastOne);
    g.shift = NumberOption("--shift", o.shift);
    g.pressureAngleDegrees = PressureAngleOption(o.pressureAngle);
    g.helixAngleDegrees = helixAngle;
    g.hand = HandOption("--hand", o.hand);
    InspectionRequest request;
    if (o.pinOption->count() > 0)
        request.pinDiameter = NumberOption("--pin", o.pin, Range::Positive);
    if (o.spanTeethOption->count() > 0)
        request.spanTeeth = IntegerOption("--span-teeth", o.spanTeeth, Range::AtLeastOne);
    DataSheetInput sheet;
    ApplySheetOptions(o.sheet, sheet);
    std::optional<ThicknessAllowance> allowance;
    if (o.sheet.allowanceOption->count() > 0)
        allowance = sheet.allowance;
    // The allowance is a normal one: it is held against the normal thickness and pitch.
    if (allowance && GearSpecDefect(g).empty())
        CheckAllowanceFits("--thickness-allowance", o.sheet.allowance, *allowance, g);
    if (designed) {
        // The design's gear: its class, face width and allowance.
        sheet.accuracyClass = designed->accuracyClass;
        sheet.faceWidth = designed->faceWidth;
        if (designed->allowance.upper != 0.0 || designed->allowance.lower != 0.0)
            allowance = designed->allowance;
    }
    request.faceWidth = sheet.faceWidth;
    MateReport report;
    try {
        if (const std::string defect = GearSpecDefect(g); !defect.empty())
            throw AppError(defect);
        const std::string separator = format == OutputFormat::Text ? LocaleDecimalSeparator() : ".";
        const InspectionResult inspection = ComputeInspection(GearModel(g), request);
        report = HelicalGearReport(g, inspection, separator);
        std::optional<AccuracyTolerances> accuracy;
        if (sheet.accuracyClass)
            accuracy = ComputeGearAccuracy(*sheet.accuracyClass, g, sheet.faceWidth);
        AddHelicalTolerances(report, g, inspection, allowance, accuracy, separator);
    } catch (const AppError& e) {
        throw CliError(kExitRefused, "", e.what());
    }
    std::vector<PairRow> rows = report.inputs;
    rows.insert(rows.end(), report.results.begin(), report.results.end());
    switch (format) {
    case OutputFormat::Json: {
        nlohmann::ordered_json out;
        out["mode"] = report.mode;
        for (const PairRow& row : rows) {
            if (std::string_view(row.key) == "hand")
                out[row.key] = HandKey(g.hand);
            else if (row.integer)
                out[row.key] = static_cast<std::int64_t>(row.values[0]);
            else
                out[row.key] = JsonNumber(row.values[0]);
        }
        nlohmann::ordered_json absent = nlohmann::ordered_json::object();
        for (const auto& [key, why] : report.absent)
            absent[key] = why;
        if (!report.absent.empty())
            out["absent"] = absent;
        out["findings"] = report.findings;
        WriteOut(out.dump(2) + "\n");
        break;
    }
    case OutputFormat::Csv: {
        std::string out = CsvLine({"name", "value"});
        out += CsvLine({"mode", report.mode});
        for (const PairRow& row : rows) {
            std::string value;
            if (std::string_view(row.key) == "hand")
                value = HandKey(g.hand);
            else if (row.integer)
                value = std::to_string(static_cast<std::int64_t>(row.values[0]));
            else if (std::isfinite(row.values[0]))
                value = RoundTripText(row.values[0]);
            out += CsvLine({row.key, value});
        }
        for (const auto& [key, why] : report.absent)
            out += CsvLine({"absent", key + ": " + why});
        for (const std::string& finding : report.findings)
            out += CsvLine({"finding", finding});
        WriteOut(out);
        break;
    }
    default: {
        // Below the findings, why each "―" has no number, under its row's caption.
        std::string out = MateReportText(report, "\n");
        for (const auto& [key, why] : report.absent)
            for (const PairRow& row : rows)
                if (key == row.key)
                    out += std::string(row.label) + "：" + why + "\n";
        WriteOut(out);
        break;
    }
    }
    return kExitOk;
}

int RunGear(const GearOptions& given)
{
    if (given.helixAngleOption->count() > 0) {
        // 0 degrees is the spur gear, computed and written as ever.
        const double beta = NumberOption("--helix-angle", given.helixAngle, Range::NonNegative);
        if (beta != 0.0) {
            RequireGiven({given.moduleOption, given.teethOption});
            return RunHelicalGear(given, beta);
        }
    }
    GearOptions o = given;
    DataSheetInput sheet;
    std::optional<GearDesign> designed;
    if (o.designOption->count() > 0) {
        // Gear 1 or 2 of a design, with its class, face width and allowance.
        const DesignChoice chosen = ReadDesignOption(o.design, o.gear);
        const PairDesign& d = chosen.design;
        if (chosen.gear == 2 && d.mate == MateKind::Rack)
            throw CliError(kExitRefused, "--gear", Cli::tr("a rack pair has no gear 2"));
        designed = d.gears[static_cast<std::size_t>(chosen.gear - 1)];
        o.module = RoundTripText(d.module);
        o.teeth = std::to_string(designed->teeth);
        o.shift = RoundTripText(designed->shift);
        o.pressureAngle = RoundTripText(d.pressureAngle);
        if (d.helixAngle != 0.0) {
            o.hand = HandKey(designed->hand);
            return RunHelicalGear(o, d.helixAngle, &*designed);
        }
        o.internal = chosen.gear == 2 && d.mate == MateKind::Internal;
    } else {
        RequireGiven({o.moduleOption, o.teethOption});
    }
    const OutputFormat format = FormatOf(o.format, kGearFormats);
    ApplySheetOptions(o.sheet, sheet);
    GearTolerancing tolerancing;
    tolerancing.accuracyClass = sheet.accuracyClass;
    tolerancing.faceWidth = sheet.faceWidth;
    tolerancing.allowance = sheet.allowance;
    tolerancing.allowanceGiven = o.sheet.allowanceOption->count() > 0;
    if (designed) {
        tolerancing.accuracyClass = designed->accuracyClass;
        tolerancing.faceWidth = designed->faceWidth;
        tolerancing.allowance = designed->allowance;
        tolerancing.allowanceGiven = designed->allowance.upper != 0.0 || designed->allowance.lower != 0.0;
    }
    if (o.internal) {
        if (tolerancing.allowanceGiven && !designed)
            CheckAllowanceFits("--thickness-allowance", o.sheet.allowance, sheet.allowance, RingOf(o));
        return RunInternalGear(o, format, tolerancing);
    }
    const GearRecord gear = GearOf(NumberOption("--module", o.module, Range::Positive),
                                   IntegerOption("--teeth", o.teeth, Range::AtLeastOne),
                                   NumberOption("--shift", o.shift),
                                   PressureAngleIndexOf("--pressure-angle", o.pressureAngle));
    InspectionRequest request;
    if (o.pinOption->count() > 0)
        request.pinDiameter = NumberOption("--pin", o.pin, Range::Positive);
    if (o.spanTeethOption->count() > 0)
        request.spanTeeth = IntegerOption("--span-teeth", o.spanTeeth, Range::AtLeastOne);
    if (tolerancing.allowanceGiven && !designed)
        CheckAllowanceFits("--thickness-allowance", o.sheet.allowance, sheet.allowance, GearSpecOf(gear));
    const GearOutcome outcome = ComputeGear(gear, request, "", tolerancing, true);

    switch (format) {
    case OutputFormat::Json:
        WriteOut(GearJson(outcome).dump(2) + "\n");
        break;
    case OutputFormat::Csv:
        WriteOut(GearCsvHeader(false) + GearCsvRow(outcome, -1));
        break;
    default:
        WriteOut(GearText(outcome, LocaleDecimalSeparator()));
        break;
    }
    return kExitOk;
}

}  // namespace

void AddGearCommands(CLI::App& app, CliContext& context)
{
    auto o = std::make_shared<GearOptions>();
    CLI::App* gear = app.add_subcommand(
        "gear", Cli::tr("compute one gear: the five results, the teeth checks and the inspection numbers"));
    o->moduleOption = AddValueOption(*gear, "-m,--module", o->module, Cli::tr("module in mm (greater than 0)"), "NUMBER");
    o->teethOption = AddValueOption(*gear, "-z,--teeth", o->teeth, Cli::tr("number of teeth (at least 1)"), "INTEGER");
    CLI::Option* shiftOption =
        AddValueOption(*gear, "-x,--shift", o->shift, Cli::tr("profile shift coefficient (default 0)"), "NUMBER");
    CLI::Option* angleOption = AddPressureAngleOption(*gear, o->pressureAngle);
    o->designOption = AddValueOption(*gear, "--design", o->design,
                                     Cli::tr("a design file (.tsumugi) of a pair: one of its gears (--gear) with "
                                             "its class, face width and allowance, instead of the gear options"),
                                     "FILE");
    AddValueOption(*gear, "--gear", o->gear, Cli::tr("with --design: gear 1 (default) or gear 2 (a ring's: as --internal)"),
                   "1|2")
        ->needs(o->designOption);
    o->pinOption = AddValueOption(*gear, "--pin", o->pin,
                                  Cli::tr("pin (ball) diameter in mm for the measurement over pins (default: the "
                                          "ideal pin)"),
                                  "NUMBER");
    o->spanTeethOption = AddValueOption(*gear, "--span-teeth", o->spanTeeth,
                                        Cli::tr("teeth k spanned by the micrometer (default: the recommended k)"),
                                        "INTEGER");
    AddSheetOptions(*gear, o->sheet, false);
    AddFormatOption(*gear, o->format, kGearFormats);
    CLI::Option* internal = gear->add_flag(
        "--internal", o->internal,
        Cli::tr("an internal gear (ring), cut by a pinion-type cutter: its sizes and the measurement between pins"));
    AddValueOption(*gear, "--cutter-teeth", o->cutterTeeth,
                   Cli::tr("teeth z0 of the pinion-type cutter (default: a common cutter of about 75 mm)"), "INTEGER")
        ->needs(internal);
    o->cutterTipRadiusOption = AddValueOption(*gear, "--cutter-tip-radius", o->cutterTipRadius,
                                              Cli::tr("tip radius of the pinion-type cutter in mm (default 0.2 m)"),
                                              "NUMBER");
    o->cutterTipRadiusOption->needs(internal);
    o->spanTeethOption->excludes(internal);
    o->helixAngleOption = AddValueOption(*gear, "--helix-angle", o->helixAngle,
                                         Cli::tr("helix angle beta in degrees (0 up to below 90; default 0: a spur "
                                                 "gear). Module, pressure angle and shift are then the normal ones"),
                                         "DEGREES");
    CLI::Option* handOption =
        AddValueOption(*gear, "--hand", o->hand, Cli::tr("hand of the helix: right (default) or left"), "right|left");
    handOption->needs(o->helixAngleOption);
    o->helixAngleOption->excludes(internal);
    for (CLI::Option* held : {o->moduleOption, o->teethOption, shiftOption, angleOption, o->sheet.classOption,
                              o->sheet.faceWidthOption, o->sheet.allowanceOption, internal, o->helixAngleOption})
        o->designOption->excludes(held);
    gear->footer(Examples({"tsumugi-cli gear -m 2 -z 20", "tsumugi-cli gear -m 1.5 -z 12 -x 0.3 --pin 2.6",
                           "tsumugi-cli gear -m 2 -z 20 --pressure-angle 14.5 --format json",
                           "tsumugi-cli gear -m 3 -z 40 --accuracy-class 6 --face-width 30 --thickness-allowance=-0.05,-0.1",
                           "tsumugi-cli gear -m 3 -z 12 -x 0.09809 --helix-angle 30 --hand left --face-width 20"}) +
                 "\n" + Cli::tr("JSON and CSV give every number at full precision; CSV lines end in LF."));
    gear->callback([o, &context] { context.exitCode = RunGear(*o); });

    AddBatchCommand(app, context);
    AddTableCommand(app, context);
}
