// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli export: the gear's true-scale profile as a DXF or SVG file.
#include "app/cli/commands.h"
#include "app/cli/output.h"
#include "app/cli/sheetoptions.h"

#include "export/profileexport.h"
#include "geardata/apperror.h"
#include "geardata/safefile.h"

#include <cstdio>
#include <memory>
#include <new>
#include <optional>

namespace {

struct ExportOptions {
    double module = 0.0;
    int teeth = 0;
    double shift = 0.0;
    double pressureAngle = 20.0;
    double tolerance = 0.001;
    std::optional<double> tipRadius;   // none: 0.38 m
    double bore = 0.0;
    std::string output;
    bool dataTable = false;
    SheetOptions sheet;
};

int RunExport(const ExportOptions& o)
{
    ExportRequest request;
    request.gear.module = o.module;
    request.gear.teeth = o.teeth;
    request.gear.shift = o.shift;
    request.gear.pressureAngleIndex = o.pressureAngle == 14.5 ? 0 : 1;
    request.gear.tolerance = o.tolerance;
    request.gear.tipRadius = o.tipRadius ? *o.tipRadius : DefaultToolTipRadius(o.module);
    request.boreDiameter = o.bore;

    GearProfile profile;
    std::string bytes;
    try {
        const ExportFormat format = ExportFormatOf(o.output);
        profile = BuildGearProfile(request.gear);
        CheckBore(profile, request.boreDiameter);
        std::optional<DataSheet> sheet;
        if (o.dataTable) {
            if (format != ExportFormat::Dxf) {
                PrintError("要目表（--data-table）は DXF にだけ書き出せます");
                return kExitUsage;
            }
            DataSheetInput input;
            input.gear = {o.module, o.teeth, o.shift, o.pressureAngle};
            ApplySheetOptions(o.sheet, input);
            input.overPins = o.sheet.overPins;
            sheet = BuildDataSheet(input);
        }
        bytes = format == ExportFormat::Dxf ? ProfileDxf(profile, request.boreDiameter, sheet ? &*sheet : nullptr)
                                            : ProfileSvg(profile, request.boreDiameter);
    } catch (const AppError& e) {
        std::fprintf(stderr, "tsumugi-cli export: %s\n", e.what());
        return kExitBadInput;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tsumugi-cli export: %s\n", ExportOutOfMemoryMessage());
        return kExitBadInput;
    }
    try {
        WriteFileSafely(o.output, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const AppError& e) {
        std::fprintf(stderr, "tsumugi-cli export: %s\n", e.what());
        return kExitFileError;
    }
    std::printf("file\t%s\n", o.output.c_str());
    std::printf("points\t%zu\n", profile.points.size());
    std::printf("points_per_tooth\t%d\n", profile.pointsPerTooth);
    std::printf("deviation_mm\t%.6g\n", profile.deviation);
    std::printf("tip_diameter_mm\t%.6f\n", profile.tipDiameter);
    std::printf("root_diameter_mm\t%.6f\n", profile.rootDiameter);
    std::printf("involute_start_diameter_mm\t%.6f\n", profile.involuteStartDiameter);
    std::printf("undercut\t%s\n", profile.undercut ? "yes" : "no");
    for (const ToothFinding f : profile.findings)
        std::printf("finding\t%s\n", FindingText(f).c_str());
    return kExitOk;
}

}  // namespace

void AddExportCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<ExportOptions>();
    CLI::App* cmd = app.add_subcommand("export", "Write the true-scale tooth profile as a DXF or SVG file (mm)");
    cmd->add_option("-m,--module", options->module, "module, mm")->required();
    cmd->add_option("-z,--teeth", options->teeth, "number of teeth")->required();
    cmd->add_option("-x,--shift", options->shift, "profile shift coefficient")->capture_default_str();
    cmd->add_option("--pressure-angle", options->pressureAngle, "pressure angle, degrees")
        ->check(CLI::IsMember({20.0, 14.5}))
        ->capture_default_str();
    cmd->add_option("--tolerance", options->tolerance, "largest chord deviation, mm")->capture_default_str();
    cmd->add_option("--tip-radius", options->tipRadius, "tip radius of the rack cutter, mm (default 0.38 m)");
    cmd->add_option("--bore", options->bore, "diameter of a centre bore, mm (0: none)")->capture_default_str();
    cmd->add_option("-o,--output", options->output, "FILE.dxf or FILE.svg")->required();
    cmd->add_flag("--data-table", options->dataTable,
                  "add the gear data table (要目表) to the DXF file, on layer DATATABLE");
    AddSheetOptions(*cmd, options->sheet, true);
    cmd->add_flag("--over-pins", options->sheet.overPins, "the table gives the measurement over pins, not the span");
    cmd->callback([options, &context] { context.exitCode = RunExport(*options); });
}
