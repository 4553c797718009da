// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli sheet: the gear data table (要目表) as a one-page PDF.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"
#include "app/cli/sheetoptions.h"

#include "export/datasheet.h"
#include "geardata/apperror.h"
#include "geardata/safefile.h"
#include "geometry/extended.h"
#include "commands/inputparse.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <cctype>
#include <memory>

namespace {

struct SheetCommandOptions {
    std::string module, teeth, shift = "0", pin, spanTeeth, output;
    std::int32_t pressureAngleIndex = 1;
    SheetOptions sheet;
    CLI::Option* pinOption = nullptr;
    CLI::Option* spanOption = nullptr;
};

bool EndsInPdf(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".pdf";
}

int RunSheet(const SheetCommandOptions& o)
{
    if (!EndsInPdf(o.output)) {
        PrintError("'" + o.output + "' は PDF ファイルの名前（.pdf）ではありません");
        return kExitUsage;
    }
    DataSheetInput input;
    DataSheet sheet;
    try {
        GearInputs gear;
        gear.pressureAngleIndex = o.pressureAngleIndex;
        ParseGearTexts(gear, o.module, o.teeth, o.shift);
        GearRecord record{};
        record.Module = gear.module;
        record.Teeth = gear.teeth;
        record.Shift = gear.shift;
        record.PressureAngleIndex = gear.pressureAngleIndex;
        input.gear = InspectionGearOf(record);
        if (o.pinOption->count() > 0) {
            input.request.pinDiameter = Store(ParseFloat(o.pin, "."));
            input.overPins = true;
        }
        if (o.spanOption->count() > 0)
            input.request.spanTeeth = ParseInteger(o.spanTeeth);
        ApplySheetOptions(o.sheet, input);
        input.overPins = input.overPins || o.sheet.overPins;
        sheet = BuildDataSheet(input);
    } catch (const AppError& e) {
        PrintError(e.what());
        return kExitBadInput;
    }
    std::string bytes;
    {
        // Fonts need a GUI application; no window is shown, so no display is needed.
        int argc = 3;
        char arg0[] = "tsumugi-cli", arg1[] = "-platform", arg2[] = "offscreen";
        char* argv[] = {arg0, arg1, arg2, nullptr};
        // Qt's notes about the session (no runtime folder, no display) are not the command's output.
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        });
        const std::unique_ptr<QGuiApplication> app(
            QGuiApplication::instance() == nullptr ? new QGuiApplication(argc, argv) : nullptr);
        try {
            bytes = DataSheetPdf(sheet);
        } catch (const AppError& e) {
            qInstallMessageHandler(previous);
            PrintError(e.what());
            return kExitFileError;
        }
        qInstallMessageHandler(previous);
    }
    try {
        WriteFileSafely(o.output, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const AppError& e) {
        PrintError(e.what());
        return kExitFileError;
    }
    const std::string text = DataSheetText(sheet);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
}

}  // namespace

void AddSheetOptions(CLI::App& command, SheetOptions& o, bool mate)
{
    o.classOption = command.add_option("--accuracy-class", o.accuracyClass, "accuracy class of ISO 1328-1:2013, 1 to 11")
                        ->check(CLI::Range(kLowestAccuracyClass, kHighestAccuracyClass));
    o.faceWidthOption = command.add_option("--face-width", o.faceWidth, "face width b, mm (for the helix tolerances)")
                            ->check(CLI::PositiveNumber);
    o.allowanceOption = command.add_option("--thickness-allowance", o.allowance,
                                           "tooth-thickness allowance UPPER,LOWER on the reference circle, mm "
                                           "(negative: thinner)");
    if (!mate)
        return;
    o.mateOption = command.add_option("--z2", o.mateTeeth, "teeth of the mate (adds mate, centre distance and backlash)");
    command.add_option("--x2", o.mateShift, "profile shift coefficient of the mate (default 0)")->needs(o.mateOption);
    o.mateAllowanceOption = command.add_option("--thickness-allowance2", o.mateAllowance,
                                               "the mate's tooth-thickness allowance UPPER,LOWER, mm")
                                ->needs(o.mateOption);
    o.centerAllowanceOption = command.add_option("--center-distance-allowance", o.centerAllowance,
                                                 "centre-distance allowance UPPER,LOWER, mm")
                                  ->needs(o.mateOption);
}

void ApplySheetOptions(const SheetOptions& o, DataSheetInput& input)
{
    if (o.classOption->count() > 0)
        input.accuracyClass = o.accuracyClass;
    if (o.faceWidthOption->count() > 0)
        input.faceWidth = o.faceWidth;
    if (o.allowanceOption->count() > 0)
        input.allowance = ParseAllowancePair(o.allowance);
    if (o.mateOption != nullptr && o.mateOption->count() > 0) {
        DataSheetMate mate;
        mate.teeth = o.mateTeeth;
        mate.shift = o.mateShift;
        if (o.mateAllowanceOption->count() > 0)
            mate.allowance = ParseAllowancePair(o.mateAllowance);
        if (o.centerAllowanceOption->count() > 0)
            mate.centerDistance = ParseAllowancePair(o.centerAllowance);
        input.mate = mate;
    }
}

void AddSheetCommand(CLI::App& app, CliContext& context)
{
    auto o = std::make_shared<SheetCommandOptions>();
    CLI::App* cmd = app.add_subcommand("sheet", "Write the gear data table (要目表) as a one-page PDF");
    cmd->add_option("-m,--module", o->module, "module (mm)")->required();
    cmd->add_option("-z,--teeth", o->teeth, "number of teeth")->required();
    cmd->add_option("-x,--shift", o->shift, "profile shift coefficient (default 0)");
    AddPressureAngleOption(*cmd, o->pressureAngleIndex);
    o->pinOption = cmd->add_option("--pin", o->pin, "measure over pins of this diameter instead of the span");
    o->spanOption = cmd->add_option("--span-teeth", o->spanTeeth, "teeth k spanned (default: recommended)");
    AddSheetOptions(*cmd, o->sheet, true);
    cmd->add_flag("--over-pins", o->sheet.overPins, "measure over the ideal pins instead of the span");
    cmd->add_option("-o,--output", o->output, "FILE.pdf")->required();
    cmd->callback([o, &context] { context.exitCode = RunSheet(*o); });
}
