// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli sheet: the gear data table (要目表) as a one-page PDF.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"
#include "app/cli/sheetoptions.h"

#include "export/datasheet.h"
#include "geometry/profile.h"
#include "base/apperror.h"
#include "base/safefile.h"
#include "geardata/designfile.h"
#include "geometry/extended.h"
#include "geometry/gearmath.h"
#include "commands/inputparse.h"
#include "geometry/accuracy.h"

#include <QGuiApplication>
#include <QtGlobal>

#include "commands/numbertext.h"

#include <cctype>
#include <cmath>
#include <memory>

namespace {

struct SheetCommandOptions {
    std::string module, teeth, shift = "0", pressureAngle, pin, spanTeeth, output, design, gear = "1";
    std::string helixAngle = "0", hand = "right";
    SheetOptions sheet;
    CLI::Option* helixAngleOption = nullptr;
    CLI::Option* pinOption = nullptr;
    CLI::Option* spanOption = nullptr;
    CLI::Option* moduleOption = nullptr;
    CLI::Option* teethOption = nullptr;
    CLI::Option* designOption = nullptr;
};

}  // namespace

void ApplyDesignToSheet(const PairDesign& d, int which, DataSheetInput& input)
{
    const GearDesign& own = d.gears[static_cast<std::size_t>(which - 1)];
    const GearDesign& other = d.gears[static_cast<std::size_t>(2 - which)];
    input.gear = GearSpec{};
    input.gear.module = d.module;
    input.gear.teeth = own.teeth;
    input.gear.shift = own.shift;
    input.gear.pressureAngleDegrees = d.pressureAngle;
    input.gear.helixAngleDegrees = d.helixAngle;
    input.gear.hand = own.hand;
    // Gear 2 of a ring pair is the ring, of a rack pair the rack; gear 1's mate is what the design says.
    input.rack = which == 2 && d.mate == MateKind::Rack;
    if (which == 2 && d.mate == MateKind::Internal) {
        input.gear.kind = GearKind::Internal;
        input.gear.cutter.kind = CutterKind::Pinion;
    }
    input.allowance = own.allowance;
    input.accuracyClass = own.accuracyClass;
    input.faceWidth = own.faceWidth;
    input.userRows = own.rows;
    DataSheetMate mate;
    mate.kind = which == 2 ? MateKind::External : d.mate;
    mate.teeth = other.teeth;
    mate.shift = other.shift;
    mate.allowance = other.allowance;
    mate.centerDistance = d.centerDistanceAllowance;
    input.mate = mate;
}

namespace {

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
    if (!EndsInPdf(o.output))
        throw CliError(kExitUsage, "--output", Args(Cli::tr("'%1' is not the name of a PDF file (.pdf)"), {o.output}));
    DataSheetInput input;
    DesignChoice designChoice;
    const bool both = o.designOption->count() > 0 && o.gear == "both";
    if (o.designOption->count() > 0) {
        designChoice = ReadDesignOption(o.design, both ? "1" : o.gear);
        ApplyDesignToSheet(designChoice.design, designChoice.gear, input);
    } else {
        RequireGiven({o.moduleOption, o.teethOption});
        const GearRecord record = GearOf(NumberOption("--module", o.module, Range::Positive),
                                         IntegerOption("--teeth", o.teeth, Range::AtLeastOne),
                                         NumberOption("--shift", o.shift),
                                         PressureAngleIndexOf("--pressure-angle", o.pressureAngle));
        input.gear = GearSpecOf(record);
        if (o.helixAngleOption->count() > 0) {
            // 0 degrees is the spur gear's table, as ever.
            input.gear.helixAngleDegrees = NumberOption("--helix-angle", o.helixAngle, Range::NonNegative);
            input.gear.hand = HandOption("--hand", o.hand);
            if (const std::string defect = GearSpecDefect(input.gear); !defect.empty())
                throw CliError(kExitRefused, "", defect);
        }
    }
    if (o.pinOption->count() > 0) {
        input.request.pinDiameter = NumberOption("--pin", o.pin, Range::Positive);
        input.overPins = true;
    }
    if (o.spanOption->count() > 0)
        input.request.spanTeeth = IntegerOption("--span-teeth", o.spanTeeth, Range::AtLeastOne);
    ApplySheetOptions(o.sheet, input);
    input.overPins = input.overPins || o.sheet.overPins;
    if (o.sheet.allowanceOption->count() > 0)
        CheckAllowanceFits("--thickness-allowance", o.sheet.allowance, input.allowance, input.gear);
    if (input.mate && o.sheet.mateAllowanceOption->count() > 0) {
        GearSpec mate = input.gear;
        mate.teeth = input.mate->teeth;
        mate.shift = input.mate->shift;
        CheckAllowanceFits("--thickness-allowance2", o.sheet.mateAllowance, input.mate->allowance, mate);
    }
    // One page; with --gear both, gear 2's page after gear 1's, gear 1 as its mate.
    std::vector<DataSheetInput> inputs{input};
    if (both) {
        const DataSheetInput common = input;
        ApplyDesignToSheet(designChoice.design, 2, inputs.emplace_back(common));
    }
    std::vector<DataSheet> sheets;   // the drawing's tables ("." as drawings write it)
    std::string report;              // the report's, with the findings
    for (DataSheetInput& page : inputs) {
        try {
            // A tooth that cannot be made has no table: refused by the finding
            // `gear` reports for it; the other findings go in the report.
            const GearModel model(page.gear);
            if (!page.rack)
                for (const ToothFinding f : {ToothFinding::TipInsideBase, ToothFinding::CutThrough, ToothFinding::PointedTip})
                    if (model.Has(f))
                        throw AppError("「" + FindingText(f) + "」の歯車のため、要目表を作れません");
            const DataSheet& sheet = sheets.emplace_back(BuildDataSheet(page));
            page.decimalSeparator = LocaleDecimalSeparator();
            report += (report.empty() ? "" : "\n") +
                      DataSheetText(page.decimalSeparator == "." ? sheet : BuildDataSheet(page));
            if (!page.rack)
                for (const ToothFinding f : model.Findings())
                    report += FindingText(f) + "\n";
        } catch (const AppError& e) {
            throw CliError(kExitRefused, "", e.what());
        }
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
            bytes = DataSheetPdf(sheets);
        } catch (const AppError& e) {
            qInstallMessageHandler(previous);
            throw CliError(kExitFileError, o.output, e.what());
        }
        qInstallMessageHandler(previous);
    }
    try {
        WriteFileSafely(o.output, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const AppError& e) {
        throw CliError(kExitFileError, o.output, e.what());
    }
    WriteOut(report);
    return kExitOk;
}

}  // namespace

DesignChoice ReadDesignOption(const std::string& path, const std::string& gear)
{
    DesignChoice out;
    out.gear = IntegerOption("--gear", gear, Range::AtLeastOne);
    if (out.gear > 2)
        throw CliError(kExitUsage, "--gear", Args(Cli::tr("'%1' is neither 1 nor 2"), {gear}));
    try {
        out.design = ReadDesignFile(path);
    } catch (const AppError& e) {
        throw CliError(kExitFileError, "", e.what());   // the text names the file
    }
    return out;
}

ThicknessAllowance AllowanceOption(const std::string& option, const std::string& text)
{
    // Two numbers, each read as every other number option (finite, the message in the user's language).
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos)
        throw CliError(kExitUsage, option, Args(Cli::tr("'%1' is not two numbers UPPER,LOWER"), {text}));
    return {NumberOption(option, text.substr(0, comma)), NumberOption(option, text.substr(comma + 1))};
}

void CheckAllowanceFits(const std::string& option, const std::string& text, const ThicknessAllowance& a,
                        const GearSpec& gear)
{
    const long double alpha = Radians(gear.pressureAngleDegrees);
    const long double pitch = kPi * gear.module;
    // A ring's tooth is what its space leaves of the pitch.
    const long double space = ReferenceThickness(gear.module, gear.shift, alpha);
    const long double thickness = gear.kind == GearKind::Internal ? pitch - space : space;
    if (thickness + a.lower > 0 && thickness + a.upper < pitch)
        return;
    throw CliError(kExitUsage, option,
                   Args(Cli::tr("'%1' leaves the tooth no thickness or no space: it is %2 mm thick on the reference "
                                "circle, the pitch is %3 mm"),
                        {text, FormatFixed(static_cast<double>(thickness), 15, 4, "."),
                         FormatFixed(static_cast<double>(pitch), 15, 4, ".")}));
}

static void AddGearSheetOptions(CLI::App& command, SheetOptions& o);
static void AddMateSheetOptions(CLI::App& command, SheetOptions& o);

void AddSheetOptions(CLI::App& command, SheetOptions& o, bool mate, bool gearOptions)
{
    o.classOption = AddValueOption(command, "--accuracy-class", o.accuracyClass,
                                   Cli::tr("accuracy class of ISO 1328-1:2013, 1 to 11"), "INTEGER");
    if (mate)
        command.add_option("--row", o.rows,
                       Cli::tr("a row of your own below the table, NAME=TEXT (材料=S45C, 熱処理=..., 備考=...); "
                               "repeatable, in the order given"))
            ->type_name("NAME=TEXT")
            ->take_all();
    if (gearOptions)
        AddGearSheetOptions(command, o);
    if (!mate)
        return;
    AddMateSheetOptions(command, o);
}

static void AddGearSheetOptions(CLI::App& command, SheetOptions& o)
{
    o.faceWidthOption = AddValueOption(command, "--face-width", o.faceWidth,
                                       Cli::tr("face width b in mm (for the helix tolerances)"), "NUMBER");
    o.allowanceOption = AddValueOption(command, "--thickness-allowance", o.allowance,
                                       Cli::tr("tooth-thickness allowance UPPER,LOWER on the reference circle in mm "
                                               "(negative: thinner)"),
                                       "UPPER,LOWER");
}

static void AddMateSheetOptions(CLI::App& command, SheetOptions& o)
{
    o.mateOption = AddValueOption(command, "--z2", o.mateTeeth,
                                  Cli::tr("teeth of the mate (adds the mate, the centre distance and the backlash)"),
                                  "INTEGER");
    AddValueOption(command, "--x2", o.mateShift, Cli::tr("profile shift coefficient of the mate (default 0)"), "NUMBER")
        ->needs(o.mateOption);
    o.mateAllowanceOption = AddValueOption(command, "--thickness-allowance2", o.mateAllowance,
                                           Cli::tr("the mate's tooth-thickness allowance UPPER,LOWER in mm"),
                                           "UPPER,LOWER")
                                ->needs(o.mateOption);
    o.centerAllowanceOption = AddValueOption(command, "--center-distance-allowance", o.centerAllowance,
                                             Cli::tr("centre-distance allowance UPPER,LOWER in mm"), "UPPER,LOWER")
                                  ->needs(o.mateOption);
}

void ApplySheetOptions(const SheetOptions& o, DataSheetInput& input)
{
    for (const std::string& row : o.rows) {
        const std::size_t equals = row.find('=');
        if (equals == std::string::npos || equals == 0)
            throw CliError(kExitUsage, "--row", Args(Cli::tr("'%1' is not NAME=TEXT"), {row}));
        input.userRows.emplace_back(row.substr(0, equals), row.substr(equals + 1));
    }
    if (o.classOption->count() > 0) {
        const std::int32_t accuracyClass = IntegerOption("--accuracy-class", o.accuracyClass);
        if (accuracyClass < kLowestAccuracyClass || accuracyClass > kHighestAccuracyClass)
            throw CliError(kExitUsage, "--accuracy-class",
                           Args(Cli::tr("%1 is not a class from 1 to 11"), {o.accuracyClass}));
        input.accuracyClass = accuracyClass;
    }
    if (o.faceWidthOption != nullptr && o.faceWidthOption->count() > 0)
        input.faceWidth = NumberOption("--face-width", o.faceWidth, Range::Positive);
    if (o.allowanceOption != nullptr && o.allowanceOption->count() > 0)
        input.allowance = AllowanceOption("--thickness-allowance", o.allowance);
    if (o.mateOption != nullptr && o.mateOption->count() > 0) {
        DataSheetMate mate;
        mate.teeth = IntegerOption("--z2", o.mateTeeth, Range::AtLeastOne);
        mate.shift = NumberOption("--x2", o.mateShift);
        if (o.mateAllowanceOption->count() > 0)
            mate.allowance = AllowanceOption("--thickness-allowance2", o.mateAllowance);
        if (o.centerAllowanceOption->count() > 0)
            mate.centerDistance = AllowanceOption("--center-distance-allowance", o.centerAllowance);
        input.mate = mate;
    }
}

void AddSheetCommand(CLI::App& app, CliContext& context)
{
    auto o = std::make_shared<SheetCommandOptions>();
    CLI::App* cmd = app.add_subcommand("sheet", Cli::tr("write the gear data table (要目表) as a one-page PDF"));
    o->moduleOption = AddValueOption(*cmd, "-m,--module", o->module, Cli::tr("module in mm (greater than 0)"), "NUMBER");
    o->teethOption = AddValueOption(*cmd, "-z,--teeth", o->teeth, Cli::tr("number of teeth (at least 1)"), "INTEGER");
    CLI::Option* shiftOption =
        AddValueOption(*cmd, "-x,--shift", o->shift, Cli::tr("profile shift coefficient (default 0)"), "NUMBER");
    CLI::Option* angleOption = AddPressureAngleOption(*cmd, o->pressureAngle);
    o->designOption = AddValueOption(*cmd, "--design", o->design,
                                     Cli::tr("a design file (.tsumugi) of a pair: its gear's table with the other as "
                                             "its mate, instead of the gear and mate options"),
                                     "FILE");
    AddValueOption(*cmd, "--gear", o->gear,
                   Cli::tr("with --design: the table of gear 1 (default) or gear 2, or both on two pages"), "1|2|both")
        ->needs(o->designOption);
    o->pinOption = AddValueOption(*cmd, "--pin", o->pin,
                                  Cli::tr("measure over pins of this diameter in mm instead of the span"), "NUMBER");
    o->spanOption = AddValueOption(*cmd, "--span-teeth", o->spanTeeth,
                                   Cli::tr("teeth k spanned by the micrometer (default: the recommended k)"), "INTEGER");
    AddSheetOptions(*cmd, o->sheet, true);
    o->helixAngleOption = AddValueOption(*cmd, "--helix-angle", o->helixAngle,
                                         Cli::tr("helix angle beta in degrees (0 up to below 90; default 0: a spur "
                                                 "gear). Module, pressure angle, shift and the allowances are then "
                                                 "the normal ones, and the mate (--z2) has the other hand"),
                                         "DEGREES");
    AddValueOption(*cmd, "--hand", o->hand, Cli::tr("hand of the helix: right (default) or left"), "right|left")
        ->needs(o->helixAngleOption);
    for (CLI::Option* held : {o->moduleOption, o->teethOption, shiftOption, angleOption, o->sheet.classOption, o->helixAngleOption,
                              o->sheet.faceWidthOption, o->sheet.allowanceOption, o->sheet.mateOption,
                              o->sheet.mateAllowanceOption, o->sheet.centerAllowanceOption})
        o->designOption->excludes(held);
    cmd->add_flag("--over-pins", o->sheet.overPins, Cli::tr("measure over the ideal pins instead of the span"));
    AddValueOption(*cmd, "-o,--output", o->output, Cli::tr("the PDF file to write"), "FILE.pdf")->required();
    cmd->footer(Examples({"tsumugi-cli sheet -m 2 -z 20 --z2 40 --accuracy-class 6 -o gear.pdf",
                          "tsumugi-cli sheet -m 2 -z 20 --thickness-allowance=-0.05,-0.1 --pin 3.5 -o gear.pdf",
                          "tsumugi-cli sheet -m 3 -z 12 -x 0.09809 --helix-angle 30 --hand left --z2 60 -o gear.pdf"}));
    cmd->callback([o, &context] { context.exitCode = RunSheet(*o); });
}
