// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli pair: two gears in mesh, a pinion in a ring or a pinion on a
// rack, from their shifts or from a centre distance.
#include "app/cli/commands.h"
#include "geardata/designfile.h"

#include "commands/mate.h"
#include "commands/helicaltext.h"
#include "commands/pairtext.h"
#include "export/meshexport.h"
#include "base/apperror.h"
#include "base/safefile.h"
#include "geometry/backlash.h"
#include "geometry/mesh.h"
#include "geometry/pair.h"
#include "app/cli/sheetoptions.h"
#include "commands/datatable.h"
#include "commands/numbertext.h"
#include "commands/tolerancetext.h"

#include <memory>
#include <cmath>
#include <optional>
#include <string>

namespace {

const std::vector<std::string> kPairFormats{"text", "json", "csv"};
const std::vector<std::string> kMates{"external", "internal", "rack"};

struct PairOptions {
    std::string module, z1, z2, x1, x2, centerDistance, pressureAngle, format, mate = "external";
    CLI::Option* z2Option = nullptr;
    CLI::Option* x1Option = nullptr;
    CLI::Option* x2Option = nullptr;
    CLI::Option* centerDistanceOption = nullptr;
    std::string split;
    CLI::Option* splitOption = nullptr;
    std::string allowance1, allowance2, centerAllowance;
    CLI::Option* allowance1Option = nullptr;
    CLI::Option* allowance2Option = nullptr;
    CLI::Option* centerAllowanceOption = nullptr;
    std::string wanted, wantedKind = "normal";
    CLI::Option* wantedOption = nullptr;
    CLI::Option* wantedKindOption = nullptr;
    // The pair as a design file, and a design file as the pair.
    std::string saveDesign, design;
    CLI::Option* saveDesignOption = nullptr;
    CLI::Option* designOption = nullptr;
    CLI::Option* moduleOption = nullptr;
    CLI::Option* z1Option = nullptr;
    // The picture of the pair in mesh.
    std::string picture, angle = "0", tolerance = "0.001";
    CLI::Option* pictureOption = nullptr;
    // Two helical gears.
    std::string helixAngle = "0", hand = "right", hand2, faceWidth;
    CLI::Option* helixAngleOption = nullptr;
    CLI::Option* hand2Option = nullptr;
    CLI::Option* faceWidthOption = nullptr;
    CLI::Option* mateOption = nullptr;
    bool backlashAsked() const
    {
        return allowance1Option->count() + allowance2Option->count() + centerAllowanceOption->count() +
                   wantedOption->count() > 0;
    }
};

nlohmann::ordered_json JsonValue(const PairRow& row, int gear)
{
    if (std::string_view(row.key) == "hand")
        return HandKey(row.values[gear] < 0 ? Hand::Left : Hand::Right);
    if (row.integer)
        return static_cast<std::int64_t>(row.values[gear]);
    return JsonNumber(row.values[gear]);
}

std::string CsvValue(const PairRow& row, int gear)
{
    if (std::string_view(row.key) == "hand")
        return HandKey(row.values[gear] < 0 ? Hand::Left : Hand::Right);
    if (row.integer)
        return std::to_string(static_cast<std::int64_t>(row.values[gear]));
    if (!std::isfinite(row.values[gear]))
        return std::string();
    return RoundTripText(row.values[gear]);
}


MateKind MateOf(const std::string& text)
{
    if (text == "internal")
        return MateKind::Internal;
    if (text == "rack")
        return MateKind::Rack;
    if (text == "external")
        return MateKind::External;
    throw CliError(kExitUsage, "--mate", Args(Cli::tr("'%1' is not one of %2"), {text, "external, internal, rack"}));
}

BacklashKind BacklashKindOf(const std::string& text)
{
    if (text == "normal")
        return BacklashKind::Normal;
    if (text == "circumferential")
        return BacklashKind::Circumferential;
    throw CliError(kExitUsage, "--backlash-kind", Args(Cli::tr("'%1' is not one of %2"), {text, "normal, circumferential"}));
}

// The gear whose tooth an allowance thins: gear i of the pair, a rack's tooth
// (the rack is the pair's gear 2) as the tooth of the gear of no shift, whose
// thickness on the reference line it has.
GearSpec ThicknessGearOf(const PairInput& pair, int i)
{
    if (i == 0 || pair.mate != MateKind::Rack)
        return GearOf(pair, i);
    PairInput teeth = pair;
    teeth.mate = MateKind::External;
    teeth.teeth[1] = std::max(teeth.teeth[0], 1);
    teeth.shift[1] = 0.0;
    return GearOf(teeth, 1);
}

ShiftSplit SplitOf(const std::string& text)
{
    if (text == "proportional")
        return ShiftSplit::Proportional;
    if (text == "undercut")
        return ShiftSplit::Undercut;
    if (text == "sliding")
        return ShiftSplit::Sliding;
    throw CliError(kExitUsage, "--split",
                   Args(Cli::tr("'%1' is not one of %2"), {text, "proportional, undercut, sliding"}));
}

}  // namespace

static std::string ReportBytes(const MateReport& report, OutputFormat format,
                               const std::optional<BacklashResult>& backlash = std::nullopt, bool proposed = false)
{
    std::vector<PairRow> rows = report.inputs;
    for (const PairRow& row : report.results)
        rows.push_back(row);
    if (format == OutputFormat::Json) {
        nlohmann::ordered_json out;
        out["mate"] = MateKindKey(report.mate);
        out["mode"] = report.mode;
        for (const PairRow& row : rows)
            out[row.key] = row.perGear ? nlohmann::ordered_json::array({JsonValue(row, 0), JsonValue(row, 1)})
                                       : JsonValue(row, 0);
        if (!report.absent.empty()) {
            nlohmann::ordered_json absent = nlohmann::ordered_json::object();
            for (const auto& [key, why] : report.absent)
                absent[key] = why;
            out["absent"] = absent;
        }
        std::vector<std::string> findings = report.findings;
        if (backlash) {
            nlohmann::ordered_json b;
            b["thickness_allowance1"] = {backlash->input.thickness[0].upper, backlash->input.thickness[0].lower};
            b["thickness_allowance2"] = {backlash->input.thickness[1].upper, backlash->input.thickness[1].lower};
            b["center_distance_allowance"] = {backlash->input.centerDistance.upper, backlash->input.centerDistance.lower};
            for (const BacklashRow& row : BacklashRows(*backlash, "."))
                b[row.key] = row.texts[1].empty()
                                 ? JsonNumber(row.values[0])
                                 : nlohmann::ordered_json::array({JsonNumber(row.values[0]), JsonNumber(row.values[1])});
            if (proposed)
                b["proposed_thickness_allowance"] = {JsonNumber(backlash->input.thickness[0].upper),
                                                     JsonNumber(backlash->input.thickness[0].lower)};
            out["backlash"] = b;
            findings.insert(findings.end(), backlash->findings.begin(), backlash->findings.end());
        }
        out["findings"] = findings;
        return out.dump(2) + "\n";
    }
    if (format == OutputFormat::Csv) {
        std::string out = CsvLine({"name", "value1", "value2"});
        if (report.mate != MateKind::External)
            out += CsvLine({"mate", MateKindKey(report.mate), ""});
        out += CsvLine({"mode", report.mode, ""});
        for (const PairRow& row : rows)
            out += CsvLine({row.key, CsvValue(row, 0), row.perGear ? CsvValue(row, 1) : std::string()});
        if (backlash && proposed)
            out += CsvLine({"proposed_thickness_allowance", RoundTripText(backlash->input.thickness[0].upper),
                            RoundTripText(backlash->input.thickness[0].lower)});
        if (backlash)
            for (const BacklashRow& row : BacklashRows(*backlash, "."))
                out += CsvLine({row.key, RoundTripText(row.values[0]),
                                row.texts[1].empty() ? std::string() : RoundTripText(row.values[1])});
        for (const std::string& finding : report.findings)
            out += CsvLine({"finding", finding, ""});
        if (backlash)
            for (const std::string& finding : backlash->findings)
                out += CsvLine({"finding", finding, ""});
        return out;
    }
    std::string out = MateReportText(report, "\n", backlash ? backlash->findings.size() : 0);
    if (backlash) {
        const std::string separator = LocaleDecimalSeparator();
        if (proposed)
            out += "歯厚許容差の提案（両歯車）\t" + FormatFixed(backlash->input.thickness[0].upper, 15, 4, separator) +
                   "\t" + FormatFixed(backlash->input.thickness[0].lower, 15, 4, separator) + "\n";
        out += "バックラッシ\t最小\t最大\n";
        for (const BacklashRow& row : BacklashRows(*backlash, separator))
            out += std::string(row.label) + "\t" + row.texts[0] + (row.texts[1].empty() ? "" : "\t" + row.texts[1]) +
                   "\n";
        for (const std::string& finding : backlash->findings)
            out += finding + "\n";
    }
    return out;
}

void PrintReport(const MateReport& report, OutputFormat format)
{
    WriteOut(ReportBytes(report, format));
}

namespace {

// Two external helical gears: what the pair takes of the options, checked
// before the pair is worked out as any other external pair; their hands and
// the face width go into `in`.
void TakeHelicalOptions(const PairOptions& o, PairInput& in)
{
    for (CLI::Option* unused : {o.mateOption, o.pictureOption})
        if (unused->count() > 0)
            throw CliError(kExitUsage, unused->get_name(), Cli::tr("is not yet for helical gears (--helix-angle)"));
    in.hands[0] = HandOption("--hand", o.hand);
    in.hands[1] = o.hand2Option->count() > 0 ? HandOption("--hand2", o.hand2)
                                             : in.hands[0] == Hand::Right ? Hand::Left : Hand::Right;
    if (o.faceWidthOption->count() > 0)
        in.faceWidth = NumberOption("--face-width", o.faceWidth, Range::Positive);
}

int RunPair(const PairOptions& o)
{
    const OutputFormat format = FormatOf(o.format, kPairFormats);
    // A design file gives the pair as designed: its shifts (solved from its
    // centre distance when it was saved), its allowances.
    std::optional<PairDesign> design;
    if (o.designOption->count() > 0)
        design = ReadDesignOption(o.design, "1").design;
    else
        RequireGiven({o.moduleOption, o.z1Option});
    const MateKind mate = design ? design->mate : MateOf(o.mate);
    const bool x1Given = design || o.x1Option->count() > 0;
    const bool x2Given = (design && mate != MateKind::Rack) || o.x2Option->count() > 0;
    const bool distanceGiven = !design && o.centerDistanceOption->count() > 0;
    const bool backlashAsked =
        design ? design->gears[0].allowance.upper != 0 || design->gears[0].allowance.lower != 0 ||
                     design->gears[1].allowance.upper != 0 || design->gears[1].allowance.lower != 0 ||
                     design->centerDistanceAllowance.upper != 0 || design->centerDistanceAllowance.lower != 0
               : o.backlashAsked();
    // The split rule shares out the shift sum a centre distance gives two external gears.
    if (o.splitOption->count() > 0) {
        if (mate != MateKind::External)
            throw CliError(kExitUsage, "--split", Cli::tr("is for two external gears only (--mate external)"));
        if (!distanceGiven)
            throw CliError(kExitUsage, "--split", Cli::tr("needs --center-distance, whose shift sum it splits"));
        if (x1Given)
            throw CliError(kExitUsage, "--split",
                           Cli::tr("excludes --x1: gear 1 keeps that shift and gear 2 takes the rest of the sum"));
    }
    const ShiftSplit split = o.splitOption->count() > 0 ? SplitOf(o.split) : ShiftSplit::Proportional;
    if (mate == MateKind::Rack) {
        if (o.z2Option->count() > 0 || x2Given || distanceGiven)
            throw CliError(kExitUsage, "--mate", Cli::tr("a rack takes no --z2, --x2 or --center-distance"));
    } else {
        if (!design && o.z2Option->count() == 0)
            throw CliError(kExitUsage, "--z2", Cli::tr("this option must be given"));
        if (x1Given && !x2Given && !distanceGiven)
            throw CliError(kExitUsage, "--x2", Cli::tr("both --x1 and --x2 must be given"));
        if (x2Given && !x1Given && !distanceGiven)
            throw CliError(kExitUsage, "--x1", Cli::tr("both --x1 and --x2 must be given"));
        // From a centre distance gear 1 keeps the shift --x1 gives (a ring's pinion
        // always does), and gear 2 takes the rest.
        if (x2Given == distanceGiven)
            throw CliError(kExitUsage, "", Cli::tr("give either --x1 and --x2 or --center-distance"));
    }
    PairInput in;
    if (design) {
        in.module = design->module;
        in.pressureAngle = design->pressureAngle;
        in.teeth = {design->gears[0].teeth, mate == MateKind::Rack ? 0 : design->gears[1].teeth};
        in.shift = {design->gears[0].shift, mate == MateKind::Rack ? 0.0 : design->gears[1].shift};
        // A helical design: its helix angle, hands and face width.
        in.helixAngle = design->helixAngle;
        in.hands = {design->gears[0].hand, design->gears[1].hand};
        if (design->gears[0].faceWidth)
            in.faceWidth = *design->gears[0].faceWidth;
    } else {
        in.module = NumberOption("--module", o.module, Range::Positive);
        in.pressureAngle = PressureAngleOption(o.pressureAngle);
        const std::int32_t z1 = IntegerOption("--z1", o.z1, Range::AtLeastOne);
        in.teeth = {z1, mate == MateKind::Rack ? 0 : IntegerOption("--z2", o.z2, Range::AtLeastOne)};
        in.shift = {x1Given ? NumberOption("--x1", o.x1) : 0.0, x2Given ? NumberOption("--x2", o.x2) : 0.0};
    }
    const double centerDistance =
        distanceGiven ? NumberOption("--center-distance", o.centerDistance, Range::Positive) : 0.0;
    const std::string sep = LocaleDecimalSeparator();   // the text's; JSON and CSV take the values
    if (o.helixAngleOption->count() > 0) {
        // 0 degrees: the spur pair, as ever.
        in.helixAngle = NumberOption("--helix-angle", o.helixAngle, Range::NonNegative);
        if (in.helixAngle != 0.0)
            TakeHelicalOptions(o, in);
    }
    BacklashInput b;
    if (o.allowance1Option->count() > 0)
        b.thickness[0] = AllowanceOption("--thickness-allowance1", o.allowance1);
    if (o.allowance2Option->count() > 0)
        b.thickness[1] = AllowanceOption("--thickness-allowance2", o.allowance2);
    if (o.centerAllowanceOption->count() > 0)
        b.centerDistance = AllowanceOption("--center-distance-allowance", o.centerAllowance);
    if (design) {
        b.thickness = {design->gears[0].allowance, design->gears[1].allowance};
        b.centerDistance = design->centerDistanceAllowance;
    }
    // The wanted smallest and largest normal backlash, as "MIN,MAX".
    const bool proposed = o.wantedOption->count() > 0;
    const ThicknessAllowance wanted = proposed ? AllowanceOption("--backlash", o.wanted) : ThicknessAllowance{};
    if (o.wantedKindOption->count() > 0 && !proposed)
        throw CliError(kExitUsage, "--backlash-kind", Cli::tr("needs --backlash, whose target it names"));
    const BacklashKind wantedKind = BacklashKindOf(o.wantedKind);
    const bool pictureWanted = o.pictureOption->count() > 0;
    double angle = 0.0, tolerance = 0.001;
    if (pictureWanted) {
        if (o.picture.empty())
            throw CliError(kExitUsage, "--picture", Cli::tr("a file name is needed"));
        tolerance = NumberOption("--tolerance", o.tolerance, Range::Positive);
        angle = NumberOption("--angle", o.angle);
    }
    MateRequest request;
    in.mate = mate;
    request.gears = in;
    if (distanceGiven)
        request.centerDistance = centerDistance;
    request.split = split;
    request.keepShift1 = distanceGiven && x1Given;
    request.allowances = [&b] { return b; };
    request.backlash = backlashAsked;
    if (proposed)
        request.wanted = BacklashRange{wanted.upper, wanted.lower};
    request.wantedKind = wantedKind;
    // Usage errors, though found here: no gear has such a tooth.
    request.checkAllowances = [&](const PairInput& gears, const BacklashInput& allowances) {
        const std::string* texts[] = {&o.allowance1, &o.allowance2};
        const CLI::Option* options[] = {o.allowance1Option, o.allowance2Option};
        for (int i = 0; i < 2; ++i)
            if (proposed || options[i]->count() > 0)
                CheckAllowanceFits(proposed ? "--backlash" : i == 0 ? "--thickness-allowance1" : "--thickness-allowance2",
                                   proposed ? o.wanted : *texts[i], allowances.thickness[i],
                                   ThicknessGearOf(gears, i));
    };
    MateOutcome outcome;
    std::string picture;
    try {
        outcome = ComputeMate(request, sep);
        if (pictureWanted) {
            outcome.mesh.tolerance = tolerance;
            picture = MeshSvg(GearMesh(outcome.mesh).PictureAt(angle));
        }
    } catch (const AppError& e) {
        throw CliError(kExitRefused, "", e.what());
    }
    const MateReport& report = outcome.report;
    const std::optional<BacklashResult>& backlash = outcome.backlash;
    if (pictureWanted) {
        try {
            WriteFileSafely(o.picture, reinterpret_cast<const std::uint8_t*>(picture.data()), picture.size());
        } catch (const AppError& e) {
            throw CliError(kExitFileError, o.picture, e.what());
        }
    }
    if (o.saveDesignOption->count() > 0) {
        // The pair as computed: its shifts (solved from the centre distance
        // too), the allowances given and the centre distance asked for.
        PairDesign design;
        design.module = outcome.gears.module;
        design.pressureAngle = outcome.gears.pressureAngle;
        design.mate = mate;
        for (std::size_t i = 0; i < 2; ++i) {
            design.gears[i].teeth = outcome.gears.teeth[i];
            design.gears[i].shift = outcome.gears.shift[i];
        }
        if (outcome.gears.helixAngle != 0.0) {
            // Both gears of a helical pair have the face width the overlap ratio was worked on.
            design.helixAngle = outcome.gears.helixAngle;
            for (std::size_t i = 0; i < 2; ++i) {
                design.gears[i].hand = outcome.gears.hands[i];
                if (std::isfinite(outcome.gears.faceWidth))
                    design.gears[i].faceWidth = outcome.gears.faceWidth;
            }
        }
        const BacklashInput used = backlash ? backlash->input : b;
        design.gears[0].allowance = used.thickness[0];
        if (mate == MateKind::Rack)
            design.gears[1] = GearDesign{};   // the rack: its allowance only
        design.gears[1].allowance = used.thickness[1];
        if (distanceGiven)
            design.centerDistance = centerDistance;
        design.centerDistanceAllowance = used.centerDistance;
        try {
            WriteDesignFile(design, o.saveDesign);
        } catch (const AppError& e) {
            throw CliError(kExitFileError, o.saveDesign, e.what());
        }
    }
    WriteOut(ReportBytes(report, format, backlash, proposed));
    return kExitOk;
}

}  // namespace

void AddPairCommand(CLI::App& app, CliContext& context)
{
    auto o = std::make_shared<PairOptions>();
    CLI::App* pair = app.add_subcommand(
        "pair", Cli::tr("two gears in mesh (or a pinion in a ring, or on a rack): working pressure angle, centre "
                        "distance, tip shortening, contact ratio"));
    o->moduleOption = AddValueOption(*pair, "-m,--module", o->module, Cli::tr("module in mm (greater than 0)"), "NUMBER");
    o->z1Option = AddValueOption(*pair, "--z1", o->z1, Cli::tr("teeth of gear 1 (at least 1)"), "INTEGER");
    o->z2Option = AddValueOption(*pair, "--z2", o->z2,
                                 Cli::tr("teeth of gear 2 (the ring for --mate internal; none for a rack)"), "INTEGER");
    o->x1Option = AddValueOption(*pair, "--x1", o->x1, Cli::tr("profile shift coefficient of gear 1"), "NUMBER");
    o->x2Option = AddValueOption(*pair, "--x2", o->x2, Cli::tr("profile shift coefficient of gear 2"), "NUMBER");
    o->centerDistanceOption = AddValueOption(
        *pair, "--center-distance", o->centerDistance,
        Cli::tr("centre distance a in mm instead of the shifts: the shift sum is found and split by --split, or "
                "gear 1 keeps --x1 and gear 2 takes the rest; for a ring the difference x2 - x1, gear 1 keeping --x1"),
        "NUMBER");
    o->splitOption = AddValueOption(
        *pair, "--split", o->split,
        Cli::tr("how the shift sum of --center-distance is split: proportional (default; the smaller gear takes "
                "more of a positive sum), undercut (gear 1 the least shift without undercut, gear 2 the rest), "
                "sliding (equal specific sliding at both roots)"),
        "proportional|undercut|sliding");
    CLI::Option* mateOption = AddValueOption(*pair, "--mate", o->mate,
                   Cli::tr("what gear 1 meshes with: another external gear (default), a ring, a rack"),
                   "external|internal|rack");
    CLI::Option* angleOption = AddPressureAngleOption(*pair, o->pressureAngle);
    AddFormatOption(*pair, o->format, kPairFormats);
    o->allowance1Option = AddValueOption(*pair, "--thickness-allowance1", o->allowance1,
                                         Cli::tr("tooth-thickness allowance UPPER,LOWER of gear 1 in mm (adds the backlash)"),
                                         "UPPER,LOWER");
    o->allowance2Option = AddValueOption(*pair, "--thickness-allowance2", o->allowance2,
                                         Cli::tr("tooth-thickness allowance UPPER,LOWER of gear 2 in mm (a ring's tooth; a rack's on its reference line)"), "UPPER,LOWER");
    o->centerAllowanceOption = AddValueOption(*pair, "--center-distance-allowance", o->centerAllowance,
                                              Cli::tr("centre-distance allowance UPPER,LOWER in mm"), "UPPER,LOWER");
    o->wantedOption = AddValueOption(*pair, "--backlash", o->wanted,
                                     Cli::tr("wanted normal backlash MIN,MAX in mm: proposes equal allowances for "
                                             "both gears (with --center-distance-allowance)"),
                                     "MIN,MAX");
    o->wantedOption->excludes(o->allowance1Option)->excludes(o->allowance2Option);
    o->wantedKindOption = AddValueOption(*pair, "--backlash-kind", o->wantedKind,
                                         Cli::tr("what --backlash gives: the normal backlash j_bn (default) or the "
                                                 "circumferential j_t on the working pitch circle"),
                                         "normal|circumferential");
    o->designOption = AddValueOption(*pair, "--design", o->design,
                                     Cli::tr("a design file (.tsumugi): the pair as designed, its shifts and "
                                             "allowances, instead of the pair's options"),
                                     "FILE");
    o->saveDesignOption = AddValueOption(
        *pair, "--save-design", o->saveDesign,
        Cli::tr("write the pair as a design file (.tsumugi): the shifts as computed, the allowances and the centre "
                "distance given; sheet, gear and かみあい read it"),
        "FILE.tsumugi");
    o->pictureOption = AddValueOption(
        *pair, "--picture", o->picture,
        Cli::tr("write the pair in mesh as an SVG picture, mm (groups GEAR1 and GEAR2, or RACK; the tightest mesh "
                "the allowances leave)"),
        "FILE");
    AddValueOption(*pair, "--angle", o->angle, Cli::tr("the picture's turn of gear 1, degrees counter-clockwise (default 0)"),
                   "NUMBER");
    AddValueOption(*pair, "--tolerance", o->tolerance, Cli::tr("the picture's chord tolerance in mm (default 0.001)"),
                   "NUMBER");
    o->helixAngleOption = AddValueOption(*pair, "--helix-angle", o->helixAngle,
                                         Cli::tr("helix angle beta of two external helical gears in degrees (0 up to "
                                                 "below 90; default 0: spur gears). Module, pressure angle and shifts "
                                                 "are then the normal ones"),
                                         "DEGREES");
    AddValueOption(*pair, "--hand", o->hand, Cli::tr("hand of gear 1's helix: right (default) or left"), "right|left")
        ->needs(o->helixAngleOption);
    o->hand2Option = AddValueOption(*pair, "--hand2", o->hand2,
                                    Cli::tr("hand of gear 2's helix (default: the other hand than gear 1's)"),
                                    "right|left");
    o->hand2Option->needs(o->helixAngleOption);
    o->faceWidthOption = AddValueOption(*pair, "--face-width", o->faceWidth,
                                        Cli::tr("face width b in mm, for the overlap ratio of helical gears"), "NUMBER");
    o->faceWidthOption->needs(o->helixAngleOption);
    o->mateOption = mateOption;
    for (CLI::Option* held : {o->moduleOption, o->z1Option, o->z2Option, o->x1Option, o->x2Option,
                              o->centerDistanceOption, o->splitOption, mateOption, angleOption, o->allowance1Option,
                              o->allowance2Option, o->centerAllowanceOption, o->wantedOption, o->helixAngleOption})
        o->designOption->excludes(held);
    pair->footer(Examples({"tsumugi-cli pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36",
                           "tsumugi-cli pair -m 3 --z1 12 --z2 24 --center-distance 56.5 --format json",
                           "tsumugi-cli pair -m 3 --z1 18 --z2 45 --center-distance 96 --split sliding",
                           "tsumugi-cli pair -m 3 --z1 18 --z2 45 --x1 0.2 --center-distance 96",
                           "tsumugi-cli pair -m 3 --z1 18 --z2 45 --center-distance 96 --save-design pair.tsumugi",
                           "tsumugi-cli pair -m 14 --z1 17 --z2 96 --x1 0.2 --x2 0.5 --mate internal",
                           "tsumugi-cli pair -m 3 --z1 20 --mate rack",
                           "tsumugi-cli pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36 --picture mesh.svg --angle 5",
                           "tsumugi-cli pair -m 3 --z1 12 --z2 60 --center-distance 125 --helix-angle 30 --hand left --face-width 20",
                           "tsumugi-cli pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --pressure-angle 14.5 --format csv",
                           "tsumugi-cli pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --thickness-allowance1=-0.05,-0.1 "
                           "--thickness-allowance2=-0.05,-0.1"}) +
                 "\n" + Cli::tr("JSON and CSV give every number at full precision; CSV lines end in LF."));
    pair->callback([o, &context] { context.exitCode = RunPair(*o); });
}
