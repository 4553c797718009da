// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli export: the gear's true-scale profile as a DXF or SVG file, or
// the part extruded by its face width as STL, 3MF or STEP; in a file or on
// standard output.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"
#include "app/cli/sheetoptions.h"
#include "commands/numbertext.h"
#include "geometry/pair.h"

#include "export/profileexport.h"
#include "base/apperror.h"
#include "base/safefile.h"
#include "geometry/internalgear.h"
#include "geometry/rackpair.h"
#include "geometry/extended.h"
#include "geometry/thicknesslimits.h"

#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

const std::vector<std::string> kExportFormats{"dxf", "svg", "stl", "3mf", "step"};

struct ExportOptions {
    std::string module, teeth, shift = "0", pressureAngle, tolerance = "0.001", tipRadius, bore = "0", output, format;
    std::string rimDiameter = "0", cutterTeeth = "0", cutterTipRadius, length;
    bool internal = false, rack = false;
    std::string faceWidth = "10", hubDiameter = "0", hubLength = "0", allowance = "0", kerf = "0";
    bool keyway = false;
    bool note = false;
    std::string helixAngle = "0", hand = "right";
    CLI::Option* helixAngleOption = nullptr;
    CLI::Option* tipRadiusOption = nullptr;
    CLI::Option* formatOption = nullptr;
    CLI::Option* cutterTipRadiusOption = nullptr;
    CLI::Option* faceWidthOption = nullptr;
    bool dataTable = false;
    SheetOptions sheet;
    // A gear of a design file instead of the gear's options.
    std::string design, gear = "1";
    CLI::Option* designOption = nullptr;
    CLI::Option* moduleOption = nullptr;
    CLI::Option* teethOption = nullptr;
    CLI::Option* lengthOption = nullptr;
    CLI::Option* allowanceOption = nullptr;
};

// Gear 1 or 2 of a design as the options would give it: module, teeth,
// shift, pressure angle, its allowance as UPPER,LOWER (cut to the middle),
// its face width unless one is given; gear 2 of a ring pair is the ring, of
// a rack pair the rack (which needs --length).
struct DesignedExport {
    ExportOptions options;
    std::optional<PairDesign> design;
    int gear = 1;
    ThicknessAllowance allowance;   // of the gear chosen
};

DesignedExport ExportOptionsOf(const ExportOptions& given)
{
    DesignedExport out{given, std::nullopt, 1, {}};
    if (given.designOption->count() == 0) {
        RequireGiven({given.moduleOption});
        if (!given.rack && given.teethOption->count() == 0)
            throw CliError(kExitUsage, "--teeth", Cli::tr("this option must be given"));
        if (!given.rack && given.lengthOption->count() > 0)
            throw CliError(kExitUsage, "--length", Cli::tr("is for a rack (--rack)"));
        return out;
    }
    const DesignChoice chosen = ReadDesignOption(given.design, given.gear);
    const PairDesign& d = chosen.design;
    const GearDesign& g = d.gears[static_cast<std::size_t>(chosen.gear - 1)];
    ExportOptions& o = out.options;
    o.module = RoundTripText(d.module);
    o.pressureAngle = RoundTripText(d.pressureAngle);
    o.teeth = std::to_string(g.teeth);
    o.shift = RoundTripText(g.shift);
    o.internal = chosen.gear == 2 && d.mate == MateKind::Internal;
    o.rack = chosen.gear == 2 && d.mate == MateKind::Rack;
    if (o.rack && given.lengthOption->count() == 0)
        throw CliError(kExitUsage, "--length", Cli::tr("gear 2 of this design is a rack: give the length of its segment"));
    if (!o.rack && given.lengthOption->count() > 0)
        throw CliError(kExitUsage, "--length", Cli::tr("is for a rack; this gear of the design is none"));
    if ((o.internal || o.rack) && given.dataTable)
        throw CliError(kExitUsage, "--data-table", Cli::tr("the gear data table (要目表) goes with an external gear's file"));
    if (!o.internal && !o.rack)
        o.allowance = RoundTripText(g.allowance.upper) + "," + RoundTripText(g.allowance.lower);
    if (g.faceWidth && given.faceWidthOption->count() == 0)
        o.faceWidth = RoundTripText(*g.faceWidth);
    out.design = d;
    out.gear = chosen.gear;
    out.allowance = g.allowance;
    return out;
}

// What a ring or a rack export made, for its report.
struct Made {
    std::string bytes;
    std::size_t points = 0;
    int pointsPerTooth = 0;
    double deviation = 0.0;
    std::vector<std::pair<const char*, double>> sizes;   // name, mm
    std::int32_t cutterTeeth = 0;                        // a ring's cutter
};

Made MakeRing(const ExportOptions& o, double module, double tolerance, ExportFormat format)
{
    ShapeExportRequest request;
    request.shape = ExportShape::Ring;
    GearSpec& in = request.ring;
    in.kind = GearKind::Internal;
    in.module = module;
    in.teeth = IntegerOption("--teeth", o.teeth, Range::AtLeastOne);
    in.shift = NumberOption("--shift", o.shift);
    in.pressureAngleDegrees = PressureAngleOption(o.pressureAngle);
    in.cutter = PinionCutterOptions(o.cutterTeeth, o.cutterTipRadius, *o.cutterTipRadiusOption);
    request.rimDiameter = NumberOption("--rim-diameter", o.rimDiameter, Range::NonNegative);
    request.tolerance = tolerance;
    try {
        // The report names the cutter the ring is cut with.
        const InternalGearSizes sizes = ComputeInternalGear(in);
        in.cutter = sizes.cutter;
        const PreparedShape prepared = PrepareShapeExport(request, format);
        const GearProfile& ring = *prepared.ring;
        return {ShapeExportBytes(prepared, format), ring.points.size(), ring.pointsPerTooth, ring.deviation,
                {{"tip_diameter_mm", ring.tipDiameter}, {"root_diameter_mm", ring.rootDiameter},
                 {"rim_diameter_mm", prepared.rimDiameter}, {"involute_end_diameter_mm", ring.involuteStartDiameter},
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
    ShapeExportRequest request;
    request.shape = ExportShape::Rack;
    request.rackModule = module;
    request.rackPressureAngle = PressureAngleOption(o.pressureAngle);
    request.rackLength = NumberOption("--length", o.length, Range::Positive);
    request.tolerance = tolerance;
    try {
        const PreparedShape prepared = PrepareShapeExport(request, format);
        const RackProfile& rack = *prepared.rack;
        return {ShapeExportBytes(prepared, format), rack.points.size(), 0, rack.deviation,
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

ExportFormat ExportFormatFor(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Svg:
        return ExportFormat::Svg;
    case OutputFormat::Stl:
        return ExportFormat::Stl;
    case OutputFormat::ThreeMf:
        return ExportFormat::ThreeMf;
    case OutputFormat::Step:
        return ExportFormat::Step;
    default:
        return ExportFormat::Dxf;
    }
}

int RunExport(const ExportOptions& given)
{
    const DesignedExport designed = ExportOptionsOf(given);
    const ExportOptions& o = designed.options;
    const bool toStandardOutput = o.output == "-";
    ExportFormat format = ExportFormat::Dxf;
    if (o.formatOption->count() > 0) {
        format = ExportFormatFor(FormatOf(o.format, kExportFormats));
    } else if (toStandardOutput) {
        throw CliError(kExitUsage, "--format",
                       Cli::tr("dxf, svg, stl, 3mf or step is needed when the output is standard output"));
    } else {
        try {
            format = ExportFormatOf(o.output);
        } catch (const AppError&) {
            throw CliError(kExitUsage, "--output",
                           Args(Cli::tr("'%1' ends in none of .dxf, .svg, .stl, .3mf, .step or .stp; give --format"),
                                {o.output}));
        }
    }
    // STL, 3MF and STEP are binary or long machine text: on standard output
    // only when it goes to a pipe or a file, never onto a terminal.
    if (toStandardOutput && IsSolidFormat(format) && isatty(STDOUT_FILENO))
        throw CliError(kExitUsage, "--output",
                       Cli::tr("the part's file is not written to a terminal; redirect standard output or give a file"));
    if (o.dataTable && format != ExportFormat::Dxf)
        throw CliError(kExitUsage, "--data-table", Cli::tr("the gear data table (要目表) is written only into a DXF file"));
    const double module = NumberOption("--module", o.module, Range::Positive);
    const double tolerance = NumberOption("--tolerance", o.tolerance);

    if (o.internal || o.rack) {
        if (IsSolidFormat(format))
            throw CliError(kExitUsage, o.formatOption->count() > 0 ? "--format" : "--output",
                           Cli::tr("a ring or a rack is written as DXF or SVG only"));
        const Made made = o.rack ? MakeRack(o, module, tolerance, format) : MakeRing(o, module, tolerance, format);
        Save(o.output, made.bytes);
        if (toStandardOutput)
            return kExitOk;
        std::string text = "file\t" + o.output + "\n" + Formatted("points\t%zu\n", made.points);
        if (made.pointsPerTooth > 0)
            text += Formatted("points_per_tooth\t%d\n", made.pointsPerTooth);
        text += Formatted("deviation_mm\t%.6g\n", made.deviation);
        for (const auto& [name, value] : made.sizes)
            text += Formatted("%s\t%.6f\n", name, value);
        if (made.cutterTeeth > 0)
            text += "cutter_teeth\t" + std::to_string(made.cutterTeeth) + "\n";
        if (designed.allowance.upper != 0.0 || designed.allowance.lower != 0.0)
            text += std::string("note\t") + (o.rack ? "ラック" : "内歯車") +
                    "の歯形は呼び寸法で書き出しました（設計の歯厚許容差は入っていません）\n";
        WriteOut(text);
        return kExitOk;
    }

    const GearRecord gear = GearOf(module, IntegerOption("--teeth", o.teeth, Range::AtLeastOne),
                                   NumberOption("--shift", o.shift),
                                   PressureAngleIndexOf("--pressure-angle", o.pressureAngle));
    const double tipRadius = o.tipRadiusOption->count() > 0 ? NumberOption("--tip-radius", o.tipRadius, Range::NonNegative)
                                                            : DefaultToolTipRadius(module);
    ShapeExportRequest shape;
    ExportRequest& request = shape.gear;
    request = ExportRequestOf(gear, tolerance, tipRadius, NumberOption("--bore", o.bore, Range::NonNegative));
    // A helical gear: the transverse profile, the part twisted along the helix.
    if (designed.design) {
        request.gear.helixAngleDegrees = designed.design->helixAngle;
        request.gear.hand = designed.design->gears[static_cast<std::size_t>(designed.gear - 1)].hand;
    } else if (o.helixAngleOption->count() > 0) {
        request.gear.helixAngleDegrees = NumberOption("--helix-angle", o.helixAngle, Range::NonNegative);
        request.gear.hand = HandOption("--hand", o.hand);
    }
    if (request.gear.helixAngleDegrees != 0.0)
        if (const std::string defect = GearSpecDefect(request.gear); !defect.empty())
            throw CliError(kExitRefused, "", defect);
    // One allowance A, or a tolerance UPPER,LOWER: the teeth are cut to its middle,
    // and the data table gives the tolerance.
    ThicknessAllowance thicknessTolerance{};
    if (o.allowance.find(',') != std::string::npos) {
        thicknessTolerance = AllowanceOption("--thickness-allowance", o.allowance);
        try {
            CheckAllowance(thicknessTolerance);   // with or without the data table
        } catch (const AppError& e) {
            throw CliError(kExitRefused, "", e.what());
        }
        request.gear.thicknessAllowance = (thicknessTolerance.upper + thicknessTolerance.lower) / 2.0;
    } else {
        request.gear.thicknessAllowance = NumberOption("--thickness-allowance", o.allowance);
        thicknessTolerance = {request.gear.thicknessAllowance, request.gear.thicknessAllowance};
    }
    if (designed.design && designed.design->mate == MateKind::External) {
        // The gear of an external pair is cut with the pair's shortened tip.
        const PairDesign& d = *designed.design;
        PairInput pair;
        pair.module = d.module;
        pair.pressureAngle = d.pressureAngle;
        pair.teeth = {d.gears[0].teeth, d.gears[1].teeth};
        pair.shift = {d.gears[0].shift, d.gears[1].shift};
        pair.helixAngle = d.helixAngle;
        pair.hands = {d.gears[0].hand, d.gears[1].hand};
        try {
            request.gear.tipShortening = ComputePair(pair).tipShortening;
        } catch (const AppError& e) {
            throw CliError(kExitRefused, "", e.what());
        }
    }
    request.keyway = o.keyway;
    request.faceWidth = NumberOption("--face-width", o.faceWidth);
    request.hubDiameter = NumberOption("--hub-diameter", o.hubDiameter);
    request.hubLength = NumberOption("--hub-length", o.hubLength);
    request.kerf = NumberOption("--kerf", o.kerf);
    request.note = o.note;

    // The export sequence the window's 歯形の書き出し runs.
    PreparedShape prepared;
    std::string bytes;
    try {
        prepared = PrepareShapeExport(shape, format);
        std::optional<DataSheet> sheet;
        if (o.dataTable) {
            DataSheetInput input;
            input.gear = GearSpecOf(gear);
            input.gear.helixAngleDegrees = request.gear.helixAngleDegrees;
            input.gear.hand = request.gear.hand;
            if (designed.design)
                ApplyDesignToSheet(*designed.design, designed.gear, input);
            ApplySheetOptions(o.sheet, input);
            // The table describes the gear as this file cuts it: its face width and allowance.
            if (o.faceWidthOption->count() > 0)
                input.faceWidth = request.faceWidth;
            if (thicknessTolerance.upper != 0.0 || thicknessTolerance.lower != 0.0)
                input.allowance = thicknessTolerance;
            input.overPins = o.sheet.overPins;
            sheet = BuildDataSheet(input);
        }
        bytes = ShapeExportBytes(prepared, format, sheet ? &*sheet : nullptr);
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
    const GearProfile& profile = prepared.gear->profile;
    std::string text = "file\t" + o.output + "\n" +
                       Formatted("points\t%zu\npoints_per_tooth\t%d\ndeviation_mm\t%.6g\ntip_diameter_mm\t%.6f\n"
                                 "root_diameter_mm\t%.6f\ninvolute_start_diameter_mm\t%.6f\nundercut\t%s\n",
                                 profile.points.size(), profile.pointsPerTooth, profile.deviation, profile.tipDiameter,
                                 profile.rootDiameter, profile.involuteStartDiameter, profile.undercut ? "yes" : "no");
    for (const ToothFinding f : profile.findings)
        text += "finding\t" + FindingText(f) + "\n";
    if (request.keyway) {
        const KeySize key = *KeyForBore(request.boreDiameter);
        text += Formatted("key_mm\t%g x %g\nhub_keyway_depth_t2_mm\t%g\n", key.width, key.height, key.hubDepth);
    }
    if (IsSolidFormat(format)) {
        // The part as the export checked it.
        text += Formatted("volume_mm3\t%.6f\n", PartVolume(profile, SolidOf(request), *prepared.gear->hole));
    }
    WriteOut(text);
    return kExitOk;
}

}  // namespace

void AddExportCommand(CLI::App& app, CliContext& context)
{
    auto o = std::make_shared<ExportOptions>();
    CLI::App* cmd = app.add_subcommand(
        "export", Cli::tr("write the true-scale tooth profile as DXF or SVG, or the part as STL, 3MF or STEP (mm)"));
    o->moduleOption = AddValueOption(*cmd, "-m,--module", o->module, Cli::tr("module in mm (greater than 0)"), "NUMBER");
    CLI::Option* teeth =
        AddValueOption(*cmd, "-z,--teeth", o->teeth, Cli::tr("number of teeth (at least 1; none for a rack)"), "INTEGER");
    o->teethOption = teeth;
    CLI::Option* shift =
        AddValueOption(*cmd, "-x,--shift", o->shift, Cli::tr("profile shift coefficient (default 0)"), "NUMBER");
    CLI::Option* angle = AddPressureAngleOption(*cmd, o->pressureAngle);
    o->designOption = AddValueOption(*cmd, "--design", o->design,
                                     Cli::tr("a design file (.tsumugi) of a pair: one of its gears (--gear) with its "
                                             "allowance (cut to the middle), face width and, for --data-table, its "
                                             "table with the other gear as its mate; an external pair's gear with "
                                             "the pair's shortened tip"),
                                     "FILE");
    AddValueOption(*cmd, "--gear", o->gear,
                   Cli::tr("with --design: gear 1 (default) or gear 2 (a ring pair's ring, a rack pair's rack)"), "1|2")
        ->needs(o->designOption);
    AddValueOption(*cmd, "--tolerance", o->tolerance, Cli::tr("largest chord deviation in mm (default 0.001)"), "NUMBER");
    o->tipRadiusOption = AddValueOption(*cmd, "--tip-radius", o->tipRadius,
                                        Cli::tr("tip radius of the rack cutter in mm (default 0.38 m)"), "NUMBER");
    CLI::Option* bore =
        AddValueOption(*cmd, "--bore", o->bore, Cli::tr("diameter of a centre bore in mm (default 0: none)"), "NUMBER");
    cmd->add_flag("--keyway", o->keyway, Cli::tr("a parallel keyway in the bore (JIS B 1301, normal type)"))->needs(bore);
    CLI::Option* faceWidth = AddValueOption(*cmd, "--face-width", o->faceWidth, Cli::tr("face width b of the part in mm (default 10; STL, 3MF, STEP)"),
                   "NUMBER");
    o->faceWidthOption = faceWidth;
    CLI::Option* hubDiameter = AddValueOption(*cmd, "--hub-diameter", o->hubDiameter,
                                              Cli::tr("diameter of a hub on one face in mm (default 0: none)"), "NUMBER");
    CLI::Option* hubLength =
        AddValueOption(*cmd, "--hub-length", o->hubLength, Cli::tr("how far the hub stands out in mm"), "NUMBER");
    hubDiameter->needs(hubLength);
    hubLength->needs(hubDiameter);
    CLI::Option* allowance = AddValueOption(*cmd, "--thickness-allowance", o->allowance,
                   Cli::tr("change of the tooth thickness on the reference circle in mm (default 0; negative: "
                           "thinner); UPPER,LOWER cuts to the middle and gives the tolerance to --data-table"),
                   "A|UPPER,LOWER");
    CLI::Option* kerf = AddValueOption(*cmd, "--kerf", o->kerf,
                   Cli::tr("laser kerf in mm: the cut paths move out by half of it (default 0; DXF, SVG)"), "NUMBER");
    CLI::Option* note = cmd->add_flag("--note", o->note, Cli::tr("write m, z, x, alpha, the allowance and the kerf as text (DXF, SVG)"));
    o->helixAngleOption = AddValueOption(*cmd, "--helix-angle", o->helixAngle,
                                         Cli::tr("helix angle beta in degrees (0 up to below 90; default 0: a spur "
                                                 "gear): module, pressure angle, shift and allowance are the normal "
                                                 "ones; DXF and SVG draw the transverse profile, STL and 3MF the part "
                                                 "twisted along the helix"),
                                         "DEGREES");
    AddValueOption(*cmd, "--hand", o->hand, Cli::tr("hand of the helix: right (default) or left"), "right|left")
        ->needs(o->helixAngleOption);
    AddValueOption(*cmd, "-o,--output", o->output,
                   Cli::tr("the file to write (FILE.dxf, .svg, .stl, .3mf or .step), or - for standard output"), "FILE|-")
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
    o->lengthOption = length;
    rack->needs(length)->excludes(internal)->excludes(teeth)->excludes(bore);
    internal->excludes(bore);
    // The part's options and the cutter's allowances belong to the external gear.
    for (CLI::Option* gearOnly : {faceWidth, hubDiameter, hubLength, allowance, kerf, note, o->helixAngleOption}) {
        gearOnly->excludes(internal);
        gearOnly->excludes(rack);
    }
    for (CLI::Option* held : {o->moduleOption, teeth, shift, angle, internal, rack, allowance, o->helixAngleOption})
        o->designOption->excludes(held);
    // The data table describes an external gear: a ring or a rack takes none.
    CLI::Option* dataTable = cmd->add_flag(
        "--data-table", o->dataTable, Cli::tr("add the gear data table (要目表) to the DXF file, on layer DATATABLE"));
    AddSheetOptions(*cmd, o->sheet, true, false);
    cmd->add_flag("--over-pins", o->sheet.overPins, Cli::tr("the table gives the measurement over pins, not the span"));
    dataTable->excludes(internal)->excludes(rack);
    cmd->footer(Examples({"tsumugi-cli export -m 2 -z 20 -o gear.dxf",
                          "tsumugi-cli export -m 1 -z 40 --bore 8 -o gear.svg",
                          "tsumugi-cli export -m 2 -z 60 --internal --rim-diameter 140 -o ring.dxf",
                          "tsumugi-cli export -m 2 --rack --length 60 -o rack.svg",
                          "tsumugi-cli export -m 2 -z 20 --format svg -o - | rsvg-convert -o gear.png",
                          "tsumugi-cli export -m 2 -z 20 --face-width 10 --bore 10 --keyway -o gear.stl",
                          "tsumugi-cli export -m 2 -z 20 --thickness-allowance -0.1 --kerf 0.2 --note -o gear.dxf",
                          "tsumugi-cli export -m 2 -z 20 --bore 10 --format step -o - > gear.step",
                          "tsumugi-cli export -m 2 -z 20 --helix-angle 20 --hand left --face-width 15 -o helical.stl",
                          "tsumugi-cli export -m 2 -z 20 --data-table --z2 40 --accuracy-class 6 -o gear.dxf",
                          "tsumugi-cli export --design pair.tsumugi --gear 2 --data-table -o wheel.dxf"}));
    cmd->callback([o, &context] { context.exitCode = RunExport(*o); });
}
