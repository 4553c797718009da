// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli export: the gear's true-scale profile as a DXF or SVG file, or on
// standard output.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"
#include "app/cli/sheetoptions.h"

#include "export/profileexport.h"
#include "geardata/apperror.h"
#include "geardata/safefile.h"
#include "geometry/internalgear.h"
#include "geometry/rackpair.h"
#include "geometry/extended.h"

#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::vector<std::string> kExportFormats{"dxf", "svg"};

struct ExportOptions {
    std::string module, teeth, shift = "0", pressureAngle, tolerance = "0.001", tipRadius, bore = "0", output, format;
    std::string rimDiameter = "0", cutterTeeth = "0", cutterTipRadius, length;
    bool internal = false, rack = false;
    CLI::Option* tipRadiusOption = nullptr;
    CLI::Option* formatOption = nullptr;
    CLI::Option* cutterTipRadiusOption = nullptr;
    bool dataTable = false;
    SheetOptions sheet;
};

// What a ring or a rack export made, for its report.
struct Made {
    std::string bytes;
    std::size_t points = 0;
    int pointsPerTooth = 0;
    double deviation = 0.0;
    std::vector<std::pair<const char*, double>> sizes;   // name, mm
    std::int32_t cutterTeeth = 0;                        // a ring's cutter
};

std::string DrawingBytesIn(const ExportDrawing& drawing, ExportFormat format)
{
    return format == ExportFormat::Dxf ? DrawingDxf(drawing) : DrawingSvg(drawing);
}

Made MakeRing(const ExportOptions& o, double module, double tolerance, ExportFormat format)
{
    InternalGearInput in;
    in.module = module;
    in.teeth = IntegerOption("--teeth", o.teeth, Range::AtLeastOne);
    in.shift = NumberOption("--shift", o.shift);
    in.pressureAngleDegrees = PressureAngleIndexOf("--pressure-angle", o.pressureAngle) == 0 ? 14.5 : 20.0;
    in.cutter.teeth = IntegerOption("--cutter-teeth", o.cutterTeeth, Range::NonNegative);
    in.cutter.tipRadius = o.cutterTipRadiusOption->count() > 0
                              ? NumberOption("--cutter-tip-radius", o.cutterTipRadius, Range::NonNegative)
                              : -1.0;
    const double rimOption = NumberOption("--rim-diameter", o.rimDiameter, Range::NonNegative);
    try {
        const InternalGearSizes sizes = ComputeInternalGear(in);
        in.cutter = sizes.cutter;
        const GearProfile ring = BuildInternalGearProfile(in, tolerance);
        const double rim = rimOption > 0.0 ? rimOption : DefaultRimDiameter(ring, module);
        CheckRim(ring, rim);
        return {DrawingBytesIn(RingDrawing(ring, rim), format), ring.points.size(), ring.pointsPerTooth,
                ring.deviation,
                {{"tip_diameter_mm", ring.tipDiameter}, {"root_diameter_mm", ring.rootDiameter},
                 {"rim_diameter_mm", rim}, {"involute_end_diameter_mm", ring.involuteStartDiameter},
                 {"cutter_tip_radius_mm", sizes.cutter.tipRadius}},
                sizes.cutter.teeth};
    } catch (const AppError& e) {
        throw CliError(kExitRefused, "", e.what());
    } catch (const std::bad_alloc&) {
        throw CliError(kExitRefused, "", ExportOutOfMemoryMessage());
    }
}

Made MakeRack(const ExportOptions& o, double module, double tolerance, ExportFormat format)
{
    const double angle = PressureAngleIndexOf("--pressure-angle", o.pressureAngle) == 0 ? 14.5 : 20.0;
    const double length = NumberOption("--length", o.length, Range::Positive);
    try {
        const RackProfile rack = BuildRackProfile(module, angle, length, tolerance);
        return {DrawingBytesIn(RackDrawing(rack), format), rack.points.size(), 0, rack.deviation,
                {{"length_mm", rack.length}, {"tip_line_mm", rack.top}, {"back_mm", rack.bottom}}};
    } catch (const AppError& e) {
        throw CliError(kExitRefused, "", e.what());
    } catch (const std::bad_alloc&) {
        throw CliError(kExitRefused, "", ExportOutOfMemoryMessage());
    }
}

void Save(const std::string& output, const std::string& bytes)
{
    if (output == "-") {
        WriteOut(bytes);
        return;
    }
    try {
        WriteFileSafely(output, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const AppError& e) {
        throw CliError(kExitFileError, output, e.what());
    }
}

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
    const double tolerance = NumberOption("--tolerance", o.tolerance);

    if (o.internal || o.rack) {
        const Made made = o.rack ? MakeRack(o, module, tolerance, format) : MakeRing(o, module, tolerance, format);
        Save(o.output, made.bytes);
        if (toStandardOutput)
            return kExitOk;
        char line[256];
        std::string text;
        std::snprintf(line, sizeof line, "file\t%s\npoints\t%zu\n", o.output.c_str(), made.points);
        text += line;
        if (made.pointsPerTooth > 0) {
            std::snprintf(line, sizeof line, "points_per_tooth\t%d\n", made.pointsPerTooth);
            text += line;
        }
        std::snprintf(line, sizeof line, "deviation_mm\t%.6g\n", made.deviation);
        text += line;
        for (const auto& [name, value] : made.sizes) {
            std::snprintf(line, sizeof line, "%s\t%.6f\n", name, value);
            text += line;
        }
        if (made.cutterTeeth > 0)
            text += "cutter_teeth\t" + std::to_string(made.cutterTeeth) + "\n";
        WriteOut(text);
        return kExitOk;
    }

    const GearRecord gear = GearOf(module, IntegerOption("--teeth", o.teeth, Range::AtLeastOne),
                                   NumberOption("--shift", o.shift),
                                   PressureAngleIndexOf("--pressure-angle", o.pressureAngle));
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
    CLI::Option* teeth =
        AddValueOption(*cmd, "-z,--teeth", o->teeth, Cli::tr("number of teeth (at least 1; none for a rack)"), "INTEGER");
    AddValueOption(*cmd, "-x,--shift", o->shift, Cli::tr("profile shift coefficient (default 0)"), "NUMBER");
    AddPressureAngleOption(*cmd, o->pressureAngle);
    AddValueOption(*cmd, "--tolerance", o->tolerance, Cli::tr("largest chord deviation in mm (default 0.001)"), "NUMBER");
    o->tipRadiusOption = AddValueOption(*cmd, "--tip-radius", o->tipRadius,
                                        Cli::tr("tip radius of the rack cutter in mm (default 0.38 m)"), "NUMBER");
    CLI::Option* bore =
        AddValueOption(*cmd, "--bore", o->bore, Cli::tr("diameter of a centre bore in mm (default 0: none)"), "NUMBER");
    AddValueOption(*cmd, "-o,--output", o->output,
                   Cli::tr("the file to write (FILE.dxf or FILE.svg), or - for standard output"), "FILE|-")
        ->required();
    o->formatOption = AddFormatOption(*cmd, o->format, kExportFormats);
    o->formatOption->description(Cli::tr("file format (default: the output's extension; needed for -)"));
    CLI::Option* internal = cmd->add_flag("--internal", o->internal,
                                          Cli::tr("an internal gear (ring), teeth inside, cut by a pinion-type cutter"));
    AddValueOption(*cmd, "--rim-diameter", o->rimDiameter,
                   Cli::tr("outer diameter of the ring in mm (default: root + 6 m)"), "NUMBER")
        ->needs(internal);
    AddValueOption(*cmd, "--cutter-teeth", o->cutterTeeth,
                   Cli::tr("teeth of the pinion-type cutter (default: a common cutter)"), "INTEGER")
        ->needs(internal);
    o->cutterTipRadiusOption = AddValueOption(*cmd, "--cutter-tip-radius", o->cutterTipRadius,
                                              Cli::tr("tip radius of the pinion-type cutter in mm"), "NUMBER");
    o->cutterTipRadiusOption->needs(internal);
    CLI::Option* rack = cmd->add_flag("--rack", o->rack, Cli::tr("a rack segment instead of a gear"));
    CLI::Option* length =
        AddValueOption(*cmd, "--length", o->length, Cli::tr("length of the rack segment in mm"), "NUMBER");
    rack->needs(length)->excludes(internal)->excludes(teeth)->excludes(bore);
    internal->excludes(bore);
    length->needs(rack);
    // The data table describes an external gear: a ring or a rack takes none.
    CLI::Option* dataTable = cmd->add_flag(
        "--data-table", o->dataTable, Cli::tr("add the gear data table (要目表) to the DXF file, on layer DATATABLE"));
    AddSheetOptions(*cmd, o->sheet, true);
    cmd->add_flag("--over-pins", o->sheet.overPins, Cli::tr("the table gives the measurement over pins, not the span"));
    dataTable->excludes(internal)->excludes(rack);
    cmd->footer(Examples({"tsumugi-cli export -m 2 -z 20 -o gear.dxf",
                          "tsumugi-cli export -m 1 -z 40 --bore 8 -o gear.svg",
                          "tsumugi-cli export -m 2 -z 60 --internal --rim-diameter 140 -o ring.dxf",
                          "tsumugi-cli export -m 2 --rack --length 60 -o rack.svg",
                          "tsumugi-cli export -m 2 -z 20 --data-table --z2 40 --accuracy-class 6 -o gear.dxf",
                          "tsumugi-cli export -m 2 -z 20 --format svg -o - | rsvg-convert -o gear.png"}));
    cmd->callback([o, teeth, &context] {
        if (!o->rack && teeth->count() == 0)
            throw CliError(kExitUsage, "--teeth", Cli::tr("this option must be given"));
        context.exitCode = RunExport(*o);
    });
}
