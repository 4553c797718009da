// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli gear: one gear, its five results as the window shows them, the
// teeth checks and the inspection numbers.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"
#include "app/cli/sheetoptions.h"
#include "geardata/apperror.h"
#include "geometry/extended.h"
#include "commands/inputparse.h"

#include <cstdio>
#include <memory>

void AddBatchCommand(CLI::App& app, CliContext& context);
void AddTableCommand(CLI::App& app, CliContext& context);

namespace {

struct GearOptions {
    std::string module, teeth, shift = "0", pin, spanTeeth;
    bool pinGiven = false, spanTeethGiven = false;
    std::int32_t pressureAngleIndex = 1;
    OutputFormat format = OutputFormat::Text;
    SheetOptions sheet;
};

int RunGear(const GearOptions& options)
{
    GearInputs inputs;
    inputs.pressureAngleIndex = options.pressureAngleIndex;
    GearOutcome outcome;
    try {
        ParseGearTexts(inputs, options.module, options.teeth, options.shift);
        if (options.pinGiven)
            inputs.request.pinDiameter = Store(ParseFloat(options.pin, "."));
        if (options.spanTeethGiven)
            inputs.request.spanTeeth = ParseInteger(options.spanTeeth);
        DataSheetInput sheet;
        ApplySheetOptions(options.sheet, sheet);
        inputs.accuracyClass = sheet.accuracyClass;
        inputs.faceWidth = sheet.faceWidth;
        inputs.allowance = sheet.allowance;
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
    AddSheetOptions(*gear, options->sheet, false);
    AddFormatOption(*gear, options->format, {"text", "json", "csv"});
    gear->callback([options, pin, spanTeeth, &context] {
        options->pinGiven = pin->count() > 0;
        options->spanTeethGiven = spanTeeth->count() > 0;
        context.exitCode = RunGear(*options);
    });

    AddBatchCommand(app, context);
    AddTableCommand(app, context);
}
