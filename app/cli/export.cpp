// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli export: the gear's true-scale profile as a DXF or SVG file, or on
// standard output.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"
#include "app/cli/sheetoptions.h"

#include "export/profileexport.h"
#include "geardata/apperror.h"
#include "geardata/safefile.h"
#include "geometry/extended.h"

#include <cstdio>
#include <memory>
#include <new>
#include <optional>

namespace {

const std::vector<std::string> kExportFormats{"dxf", "svg"};

struct ExportOptions {
    std::string module, teeth, shift = "0", pressureAngle, tolerance = "0.001", tipRadius, bore = "0", output, format;
    CLI::Option* tipRadiusOption = nullptr;
    CLI::Option* formatOption = nullptr;
    bool dataTable = false;
    SheetOptions sheet;
};

int RunExport(const ExportOptions& o)
{
    const bool toStandardOutput = o.output == "-";
    ExportFormat format = ExportFormat::Dxf;
    if (o.formatOption->count() > 0) {
        format = FormatOf(o.format, kExportFormats) == OutputFormat::Svg ? ExportFormat::Svg : ExportFormat::Dxf;
    } else if (toStandardOutput) {
        throw CliError(kExitUsage, "--format", Cli::tr("dxf or svg is needed when the output is standard output"));
    } else {
        try {
            format = ExportFormatOf(o.output);
        } catch (const AppError&) {
            throw CliError(kExitUsage, "--output",
                           Args(Cli::tr("'%1' ends neither in .dxf nor in .svg; give --format"), {o.output}));
        }
    }
    if (o.dataTable && format != ExportFormat::Dxf)
        throw CliError(kExitUsage, "--data-table", Cli::tr("the gear data table (要目表) is written only into a DXF file"));
    const double module = NumberOption("--module", o.module, Range::Positive);
    const GearRecord gear = GearOf(module, IntegerOption("--teeth", o.teeth, Range::AtLeastOne),
                                   NumberOption("--shift", o.shift),
                                   PressureAngleIndexOf("--pressure-angle", o.pressureAngle));
    const double tolerance = NumberOption("--tolerance", o.tolerance);
    const double tipRadius = o.tipRadiusOption->count() > 0 ? NumberOption("--tip-radius", o.tipRadius, Range::NonNegative)
                                                            : DefaultToolTipRadius(module);
    const double bore = NumberOption("--bore", o.bore, Range::NonNegative);

    // The export sequence the window's 歯形の書き出し runs.
    PreparedExport prepared;
    std::string bytes;
    try {
        prepared = PrepareExport(ExportRequestOf(gear, tolerance, tipRadius, bore));
        std::optional<DataSheet> sheet;
        if (o.dataTable) {
            DataSheetInput input;
            input.gear = InspectionGearOf(gear);
            ApplySheetOptions(o.sheet, input);
            input.overPins = o.sheet.overPins;
            sheet = BuildDataSheet(input);
        }
        bytes = ExportBytes(prepared, format, sheet ? &*sheet : nullptr);
    } catch (const AppError& e) {
        throw CliError(kExitRefused, "", e.what());
    } catch (const std::bad_alloc&) {
        throw CliError(kExitRefused, "", ExportOutOfMemoryMessage());
    }
    if (toStandardOutput) {
        WriteOut(bytes);
        return kExitOk;
    }
    try {
        WriteFileSafely(o.output, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const AppError& e) {
        throw CliError(kExitFileError, o.output, e.what());
    }
    const GearProfile& profile = prepared.profile;
    char report[1024];
    std::snprintf(report, sizeof report,
                  "file\t%s\npoints\t%zu\npoints_per_tooth\t%d\ndeviation_mm\t%.6g\ntip_diameter_mm\t%.6f\n"
                  "root_diameter_mm\t%.6f\ninvolute_start_diameter_mm\t%.6f\nundercut\t%s\n",
                  o.output.c_str(), profile.points.size(), profile.pointsPerTooth, profile.deviation,
                  profile.tipDiameter, profile.rootDiameter, profile.involuteStartDiameter,
                  profile.undercut ? "yes" : "no");
    std::string text = report;
    for (const ToothFinding f : profile.findings)
        text += "finding\t" + FindingText(f) + "\n";
    WriteOut(text);
    return kExitOk;
}

}  // namespace

void AddExportCommand(CLI::App& app, CliContext& context)
{
    auto o = std::make_shared<ExportOptions>();
    CLI::App* cmd = app.add_subcommand("export", Cli::tr("write the true-scale tooth profile as a DXF or SVG file (mm)"));
    AddValueOption(*cmd, "-m,--module", o->module, Cli::tr("module in mm (greater than 0)"), "NUMBER")->required();
    AddValueOption(*cmd, "-z,--teeth", o->teeth, Cli::tr("number of teeth (at least 1)"), "INTEGER")->required();
    AddValueOption(*cmd, "-x,--shift", o->shift, Cli::tr("profile shift coefficient (default 0)"), "NUMBER");
    AddPressureAngleOption(*cmd, o->pressureAngle);
    AddValueOption(*cmd, "--tolerance", o->tolerance, Cli::tr("largest chord deviation in mm (default 0.001)"), "NUMBER");
    o->tipRadiusOption = AddValueOption(*cmd, "--tip-radius", o->tipRadius,
                                        Cli::tr("tip radius of the rack cutter in mm (default 0.38 m)"), "NUMBER");
    AddValueOption(*cmd, "--bore", o->bore, Cli::tr("diameter of a centre bore in mm (default 0: none)"), "NUMBER");
    AddValueOption(*cmd, "-o,--output", o->output,
                   Cli::tr("the file to write (FILE.dxf or FILE.svg), or - for standard output"), "FILE|-")
        ->required();
    o->formatOption = AddFormatOption(*cmd, o->format, kExportFormats);
    o->formatOption->description(Cli::tr("file format (default: the output's extension; needed for -)"));
    cmd->add_flag("--data-table", o->dataTable,
                  Cli::tr("add the gear data table (要目表) to the DXF file, on layer DATATABLE"));
    AddSheetOptions(*cmd, o->sheet, true);
    cmd->add_flag("--over-pins", o->sheet.overPins, Cli::tr("the table gives the measurement over pins, not the span"));
    cmd->footer(Examples({"tsumugi-cli export -m 2 -z 20 -o gear.dxf",
                          "tsumugi-cli export -m 1 -z 40 --bore 8 -o gear.svg",
                          "tsumugi-cli export -m 2 -z 20 --data-table --z2 40 --accuracy-class 6 -o gear.dxf",
                          "tsumugi-cli export -m 2 -z 20 --format svg -o - | rsvg-convert -o gear.png"}));
    cmd->callback([o, &context] { context.exitCode = RunExport(*o); });
}
