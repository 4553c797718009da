// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli export: the gear's true-scale profile as a DXF or SVG file, or
// the part extruded by its face width as STL, 3MF or STEP.
#include "app/cli/commands.h"

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
    bool keyway = false;
    double faceWidth = 10.0;
    double hubDiameter = 0.0;
    double hubLength = 0.0;
    double allowance = 0.0;
    double kerf = 0.0;
    bool note = false;
    std::string output;
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
    request.gear.thicknessAllowance = o.allowance;
    request.boreDiameter = o.bore;
    request.keyway = o.keyway;
    request.faceWidth = o.faceWidth;
    request.hubDiameter = o.hubDiameter;
    request.hubLength = o.hubLength;
    request.kerf = o.kerf;
    request.note = o.note;

    GearProfile profile;
    std::string bytes;
    bool solid = false;
    try {
        const ExportFormat format = ExportFormatOf(o.output);
        solid = IsSolidFormat(format);
        profile = BuildGearProfile(request.gear);
        bytes = ExportBytes(request, profile, format);
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
    if (request.keyway) {
        const KeySize key = *KeyForBore(request.boreDiameter);
        std::printf("key_mm\t%g x %g\n", key.width, key.height);
        std::printf("hub_keyway_depth_t2_mm\t%g\n", key.hubDepth);
    }
    if (solid) {
        const SolidInput part = SolidOf(request);
        std::printf("volume_mm3\t%.6f\n", PartVolume(profile, part, CheckSolid(profile, part, request.gear.tolerance)));
    }
    return kExitOk;
}

}  // namespace

void AddExportCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<ExportOptions>();
    CLI::App* cmd = app.add_subcommand("export", "Write the true-scale tooth profile as DXF or SVG, or the part as STL, 3MF or STEP (mm)");
    cmd->add_option("-m,--module", options->module, "module, mm")->required();
    cmd->add_option("-z,--teeth", options->teeth, "number of teeth")->required();
    cmd->add_option("-x,--shift", options->shift, "profile shift coefficient")->capture_default_str();
    cmd->add_option("--pressure-angle", options->pressureAngle, "pressure angle, degrees")
        ->check(CLI::IsMember({20.0, 14.5}))
        ->capture_default_str();
    cmd->add_option("--tolerance", options->tolerance, "largest chord deviation, mm")->capture_default_str();
    cmd->add_option("--tip-radius", options->tipRadius, "tip radius of the rack cutter, mm (default 0.38 m)");
    cmd->add_option("--bore", options->bore, "diameter of a centre bore, mm (0: none)")->capture_default_str();
    cmd->add_flag("--keyway", options->keyway, "a parallel keyway in the bore (JIS B 1301, normal type)")->needs("--bore");
    cmd->add_option("--face-width", options->faceWidth, "face width b of the part, mm (STL, 3MF, STEP)")->capture_default_str();
    auto* hubDiameter = cmd->add_option("--hub-diameter", options->hubDiameter, "diameter of a hub on one face, mm");
    auto* hubLength = cmd->add_option("--hub-length", options->hubLength, "how far the hub stands out, mm");
    hubDiameter->needs(hubLength);
    hubLength->needs(hubDiameter);
    cmd->add_option("--thickness-allowance", options->allowance,
                    "change of the tooth thickness on the reference circle, mm (negative: thinner)")
        ->capture_default_str();
    cmd->add_option("--kerf", options->kerf, "laser kerf, mm: the cut paths move out by half of it (DXF, SVG)")
        ->capture_default_str();
    cmd->add_flag("--note", options->note, "write m, z, x, alpha, the allowance and the kerf as text (DXF, SVG)");
    cmd->add_option("-o,--output", options->output, "FILE.dxf, .svg, .stl, .3mf or .step")->required();
    cmd->callback([options, &context] { context.exitCode = RunExport(*options); });
}
