// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli export: the gear's true-scale profile as a DXF or SVG file.
#include "app/cli/commands.h"

#include "export/profileexport.h"
#include "geardata/apperror.h"
#include "geardata/safefile.h"
#include "geometry/internalgear.h"
#include "geometry/rackpair.h"

#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
    bool internal = false;
    double rimDiameter = 0.0;    // 0: root diameter + 6 m
    std::int32_t cutterTeeth = 0;
    double cutterTipRadius = -1.0;
    bool rack = false;
    double length = 0.0;
};

// What the command made, for its report.
struct Made {
    std::string bytes;
    std::size_t points = 0;
    int pointsPerTooth = 0;
    double deviation = 0.0;
    std::vector<std::pair<const char*, double>> sizes;   // name, mm
    std::int32_t cutterTeeth = 0;                        // a ring's cutter
};

Made MakeRing(const ExportOptions& o)
{
    InternalGearInput in;
    in.module = o.module;
    in.teeth = o.teeth;
    in.shift = o.shift;
    in.pressureAngleDegrees = o.pressureAngle;
    in.cutter.teeth = o.cutterTeeth;
    in.cutter.tipRadius = o.cutterTipRadius;
    const InternalGearSizes sizes = ComputeInternalGear(in);
    in.cutter = sizes.cutter;
    const GearProfile ring = BuildInternalGearProfile(in, o.tolerance);
    const double rim = o.rimDiameter > 0.0 ? o.rimDiameter : DefaultRimDiameter(ring, o.module);
    CheckRim(ring, rim);
    const ExportDrawing drawing = RingDrawing(ring, rim);
    return {DrawingBytes(drawing, o.output), ring.points.size(), ring.pointsPerTooth, ring.deviation,
            {{"tip_diameter_mm", ring.tipDiameter}, {"root_diameter_mm", ring.rootDiameter},
             {"rim_diameter_mm", rim}, {"involute_end_diameter_mm", ring.involuteStartDiameter},
             {"cutter_tip_radius_mm", sizes.cutter.tipRadius}},
            sizes.cutter.teeth};
}

Made MakeRack(const ExportOptions& o)
{
    const RackProfile rack = BuildRackProfile(o.module, o.pressureAngle, o.length, o.tolerance);
    return {DrawingBytes(RackDrawing(rack), o.output), rack.points.size(), 0, rack.deviation,
            {{"length_mm", rack.length}, {"tip_line_mm", rack.top}, {"back_mm", rack.bottom}}};
}

int RunExport(const ExportOptions& o)
{
    if (o.internal || o.rack) {
        Made made;
        try {
            ExportFormatOf(o.output);
            made = o.rack ? MakeRack(o) : MakeRing(o);
        } catch (const AppError& e) {
            std::fprintf(stderr, "tsumugi-cli export: %s\n", e.what());
            return kExitBadInput;
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "tsumugi-cli export: %s\n", ExportOutOfMemoryMessage());
            return kExitBadInput;
        }
        try {
            WriteFileSafely(o.output, reinterpret_cast<const std::uint8_t*>(made.bytes.data()), made.bytes.size());
        } catch (const AppError& e) {
            std::fprintf(stderr, "tsumugi-cli export: %s\n", e.what());
            return kExitFileError;
        }
        std::printf("file\t%s\n", o.output.c_str());
        std::printf("points\t%zu\n", made.points);
        if (made.pointsPerTooth > 0)
            std::printf("points_per_tooth\t%d\n", made.pointsPerTooth);
        std::printf("deviation_mm\t%.6g\n", made.deviation);
        for (const auto& [name, value] : made.sizes)
            std::printf("%s\t%.6f\n", name, value);
        if (made.cutterTeeth > 0)
            std::printf("cutter_teeth\t%d\n", static_cast<int>(made.cutterTeeth));
        return kExitOk;
    }
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
        bytes = format == ExportFormat::Dxf ? ProfileDxf(profile, request.boreDiameter)
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
    CLI::Option* teeth = cmd->add_option("-z,--teeth", options->teeth, "number of teeth (none for a rack)");
    cmd->add_option("-x,--shift", options->shift, "profile shift coefficient")->capture_default_str();
    cmd->add_option("--pressure-angle", options->pressureAngle, "pressure angle, degrees")
        ->check(CLI::IsMember({20.0, 14.5}))
        ->capture_default_str();
    cmd->add_option("--tolerance", options->tolerance, "largest chord deviation, mm")->capture_default_str();
    cmd->add_option("--tip-radius", options->tipRadius, "tip radius of the rack cutter, mm (default 0.38 m)");
    CLI::Option* bore =
        cmd->add_option("--bore", options->bore, "diameter of a centre bore, mm (0: none)")->capture_default_str();
    cmd->add_option("-o,--output", options->output, "FILE.dxf or FILE.svg")->required();
    CLI::Option* internal = cmd->add_flag("--internal", options->internal,
                                          "an internal gear (ring), teeth inside, cut by a pinion-type cutter");
    cmd->add_option("--rim-diameter", options->rimDiameter, "outer diameter of the ring, mm (default: root + 6 m)")
        ->needs(internal);
    cmd->add_option("--cutter-teeth", options->cutterTeeth, "teeth of the pinion-type cutter (default: common cutter)")
        ->needs(internal);
    cmd->add_option("--cutter-tip-radius", options->cutterTipRadius, "tip radius of the pinion-type cutter, mm")
        ->needs(internal);
    CLI::Option* rack = cmd->add_flag("--rack", options->rack, "a rack segment instead of a gear");
    CLI::Option* length = cmd->add_option("--length", options->length, "length of the rack segment, mm");
    rack->needs(length)->excludes(internal)->excludes(teeth)->excludes(bore);
    internal->excludes(bore);
    length->needs(rack);
    cmd->callback([options, teeth, &context] {
        if (!options->rack && teeth->count() == 0)
            throw CLI::RequiredError("--teeth");
        context.exitCode = RunExport(*options);
    });
}
