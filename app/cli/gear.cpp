// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli gear: one gear, its five results as the window shows them, the
// teeth checks and the inspection numbers.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"
#include "geardata/apperror.h"
#include "geometry/extended.h"
#include "commands/inputparse.h"
#include "commands/pairtext.h"
#include "geometry/internalgear.h"

#include <cstdio>
#include <optional>
#include <memory>

void AddBatchCommand(CLI::App& app, CliContext& context);
void AddTableCommand(CLI::App& app, CliContext& context);

namespace {

struct GearOptions {
    std::string module, teeth, shift = "0", pin, spanTeeth;
    bool pinGiven = false, spanTeethGiven = false;
    bool internal = false;
    std::int32_t cutterTeeth = 0;        // 0: the default cutter
    double cutterTipRadius = -1.0;       // below 0: the default
    std::int32_t pressureAngleIndex = 1;
    OutputFormat format = OutputFormat::Text;
};

// A ring: its sizes, the cutter that cuts it and the measurement between pins.
int RunInternalGear(const GearOptions& options)
{
    static const char* const kFormats[] = {"text", "json", "csv"};
    InternalGearInput in;
    std::optional<double> pin;
    MateReport report;
    try {
        in.module = Store(ParseFloat(options.module, "."));
        in.teeth = ParseInteger(options.teeth);
        in.shift = Store(ParseFloat(options.shift, "."));
        in.pressureAngleDegrees = PressureAngleTable[static_cast<std::size_t>(options.pressureAngleIndex)];
        in.cutter.teeth = options.cutterTeeth;
        in.cutter.tipRadius = options.cutterTipRadius;
        if (options.pinGiven)
            pin = Store(ParseFloat(options.pin, "."));
        report = InternalGearReport(in, ComputeInternalGear(in, pin), ".");
    } catch (const AppError& e) {
        PrintError(e.what());
        return kExitBadInput;
    }
    PrintReport(report, kFormats[static_cast<int>(options.format)]);
    return kExitOk;
}

int RunGear(const GearOptions& options)
{
    if (options.internal)
        return RunInternalGear(options);
    GearInputs inputs;
    inputs.pressureAngleIndex = options.pressureAngleIndex;
    GearOutcome outcome;
    try {
        ParseGearTexts(inputs, options.module, options.teeth, options.shift);
        if (options.pinGiven)
            inputs.request.pinDiameter = Store(ParseFloat(options.pin, "."));
        if (options.spanTeethGiven)
            inputs.request.spanTeeth = ParseInteger(options.spanTeeth);
        outcome = CalculateGear(inputs);
    } catch (const AppError& e) {
        PrintError(e.what());
        return kExitBadInput;
    }
    if (outcome.check.result == 2) {
        PrintError(TeethCheckError(outcome.check));
        return kExitBadInput;
    }
    std::string out;
    switch (options.format) {
    case OutputFormat::Text:
        out = GearText(outcome, LocaleDecimalSeparator());
        break;
    case OutputFormat::Json:
        out = GearJson(outcome).dump(2) + "\n";
        break;
    case OutputFormat::Csv:
        out = GearCsvHeader(false) + GearCsvRow(outcome, -1);
        break;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

}  // namespace

void AddGearCommands(CLI::App& app, CliContext& context)
{
    ResetGearTable();   // slot 0 starts as the window's default gear (Z2 = 20)

    auto options = std::make_shared<GearOptions>();
    CLI::App* gear = app.add_subcommand("gear", "compute one gear: the five results, the teeth checks and the "
                                                "inspection numbers");
    gear->add_option("-m,--module", options->module, "module (mm)")->required();
    gear->add_option("-z,--teeth", options->teeth, "number of teeth")->required();
    gear->add_option("-x,--shift", options->shift, "profile shift coefficient (default 0)");
    AddPressureAngleOption(*gear, options->pressureAngleIndex);
    CLI::Option* pin = gear->add_option("--pin", options->pin, "pin (ball) diameter for the measurement over pins (default: the ideal pin)");
    CLI::Option* spanTeeth = gear->add_option("--span-teeth", options->spanTeeth, "teeth k spanned by the micrometer (default: recommended)");
    AddFormatOption(*gear, options->format, {"text", "json", "csv"});
    gear->add_flag("--internal", options->internal,
                   "an internal gear (ring), cut by a pinion-type cutter: its sizes and the measurement between pins");
    CLI::Option* cutter = gear->add_option("--cutter-teeth", options->cutterTeeth,
                                           "teeth z0 of the pinion-type cutter (default: a common cutter of about 75 mm)");
    CLI::Option* cutterTip = gear->add_option("--cutter-tip-radius", options->cutterTipRadius,
                                              "tip radius of the pinion-type cutter, mm (default 0.2 m)");
    cutter->needs("--internal");
    cutterTip->needs("--internal");
    spanTeeth->excludes("--internal");
    gear->callback([options, pin, spanTeeth, &context] {
        options->pinGiven = pin->count() > 0;
        options->spanTeethGiven = spanTeeth->count() > 0;
        context.exitCode = RunGear(*options);
    });

    AddBatchCommand(app, context);
    AddTableCommand(app, context);
}
