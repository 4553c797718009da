// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli pair: two gears in mesh, from their shifts or from a centre distance.
#include "app/cli/commands.h"

#include "commands/pairtext.h"
#include "export/meshexport.h"
#include "geardata/apperror.h"
#include "geardata/safefile.h"
#include "geometry/mesh.h"
#include "geometry/pair.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kPairFormats{"text", "json", "csv"};

struct PairOptions {
    std::string module, z1, z2, x1, x2, centerDistance, pressureAngle, format;
    CLI::Option* x1Option = nullptr;
    CLI::Option* x2Option = nullptr;
    CLI::Option* centerDistanceOption = nullptr;
    // The picture of the pair in mesh.
    std::string picture, angle = "0", tolerance = "0.001";
    std::array<std::string, 2> thicknessAllowance;   // UPPER[,LOWER]
    std::string centerDistanceAllowance;             // UPPER[,LOWER]
    CLI::Option* pictureOption = nullptr;
};

// An allowance given as UPPER[,LOWER]: one or two numbers (none when the option is absent).
std::vector<double> AllowanceValues(const std::string& option, const std::string& text)
{
    std::vector<double> values;
    if (text.empty())
        return values;
    const std::size_t comma = text.find(',');
    values.push_back(NumberOption(option, text.substr(0, comma)));
    if (comma != std::string::npos)
        values.push_back(NumberOption(option, text.substr(comma + 1)));
    return values;
}

nlohmann::ordered_json JsonValue(const PairRow& row, int gear)
{
    if (row.integer)
        return static_cast<std::int64_t>(row.values[gear]);
    return JsonNumber(row.values[gear]);
}

std::string CsvValue(const PairRow& row, int gear)
{
    if (row.integer)
        return std::to_string(static_cast<std::int64_t>(row.values[gear]));
    return RoundTripText(row.values[gear]);
}

std::string Written(const PairResult& r, OutputFormat format)
{
    std::vector<PairRow> rows = PairInputRows(r, ".");
    for (PairRow& row : PairResultRows(r, "."))
        rows.push_back(std::move(row));
    const std::string mode = r.fromCenterDistance ? "center_distance" : "shifts";

    if (format == OutputFormat::Json) {
        nlohmann::ordered_json out;
        out["mode"] = mode;
        for (const PairRow& row : rows)
            out[row.key] = row.perGear ? nlohmann::ordered_json::array({JsonValue(row, 0), JsonValue(row, 1)})
                                       : JsonValue(row, 0);
        out["findings"] = r.findings;
        return out.dump(2) + "\n";
    }
    if (format == OutputFormat::Csv) {
        std::string out = CsvLine({"name", "value1", "value2"}) + CsvLine({"mode", mode, ""});
        for (const PairRow& row : rows)
            out += CsvLine({row.key, CsvValue(row, 0), row.perGear ? CsvValue(row, 1) : std::string()});
        for (const std::string& finding : r.findings)
            out += CsvLine({"finding", finding, ""});
        return out;
    }
    return PairReportText(r, LocaleDecimalSeparator(), "\n");
}

int RunPair(const PairOptions& o)
{
    const OutputFormat format = FormatOf(o.format, kPairFormats);
    const bool shiftsGiven = o.x1Option->count() > 0 || o.x2Option->count() > 0;
    const bool distanceGiven = o.centerDistanceOption->count() > 0;
    if (shiftsGiven == distanceGiven)
        throw CliError(kExitUsage, "", Cli::tr("give either --x1 and --x2 or --center-distance"));
    if (shiftsGiven && (o.x1Option->count() == 0 || o.x2Option->count() == 0))
        throw CliError(kExitUsage, o.x1Option->count() == 0 ? "--x1" : "--x2",
                       Cli::tr("both --x1 and --x2 must be given"));
    PairInput in;
    in.module = NumberOption("--module", o.module, Range::Positive);
    in.pressureAngle = PressureAngleIndexOf("--pressure-angle", o.pressureAngle) == 0 ? 14.5 : 20.0;
    in.teeth = {IntegerOption("--z1", o.z1, Range::AtLeastOne), IntegerOption("--z2", o.z2, Range::AtLeastOne)};
    double centerDistance = 0.0;
    if (shiftsGiven)
        in.shift = {NumberOption("--x1", o.x1), NumberOption("--x2", o.x2)};
    else
        centerDistance = NumberOption("--center-distance", o.centerDistance, Range::Positive);
    const bool pictureWanted = o.pictureOption->count() > 0;
    // The tightest mesh the allowances leave: the thickest teeth at the shortest centre distance.
    MeshInput mesh;
    double angle = 0.0;
    if (pictureWanted) {
        if (o.picture.empty())
            throw CliError(kExitUsage, "--picture", Cli::tr("a file name is needed"));
        mesh.tolerance = NumberOption("--tolerance", o.tolerance, Range::Positive);
        angle = NumberOption("--angle", o.angle);
        const char* const allowanceNames[2] = {"--thickness-allowance1", "--thickness-allowance2"};
        for (std::size_t i = 0; i < 2; ++i) {
            const std::vector<double> values = AllowanceValues(allowanceNames[i], o.thicknessAllowance[i]);
            mesh.thicknessAllowance[i] = values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
        }
        const std::vector<double> distance = AllowanceValues("--center-distance-allowance", o.centerDistanceAllowance);
        mesh.centerDistanceAllowance = distance.empty() ? 0.0 : *std::min_element(distance.begin(), distance.end());
    }
    PairResult result;
    std::string picture;
    try {
        result = shiftsGiven ? ComputePair(in) : ComputePairForCenterDistance(in, centerDistance);
        if (pictureWanted) {
            mesh.pair = result;
            picture = MeshSvg(GearMesh(mesh).PictureAt(angle));
        }
    } catch (const AppError& e) {
        throw CliError(kExitRefused, "", e.what());
    }
    if (pictureWanted) {
        try {
            WriteFileSafely(o.picture, reinterpret_cast<const std::uint8_t*>(picture.data()), picture.size());
        } catch (const AppError& e) {
            throw CliError(kExitFileError, o.picture, e.what());
        }
    }
    WriteOut(Written(result, format));
    return kExitOk;
}

}  // namespace

void AddPairCommand(CLI::App& app, CliContext& context)
{
    auto o = std::make_shared<PairOptions>();
    CLI::App* pair = app.add_subcommand(
        "pair", Cli::tr("two gears in mesh: working pressure angle, centre distance, tip shortening, contact ratio"));
    AddValueOption(*pair, "-m,--module", o->module, Cli::tr("module in mm (greater than 0)"), "NUMBER")->required();
    AddValueOption(*pair, "--z1", o->z1, Cli::tr("teeth of gear 1 (at least 1)"), "INTEGER")->required();
    AddValueOption(*pair, "--z2", o->z2, Cli::tr("teeth of gear 2 (at least 1)"), "INTEGER")->required();
    o->x1Option = AddValueOption(*pair, "--x1", o->x1, Cli::tr("profile shift coefficient of gear 1"), "NUMBER");
    o->x2Option = AddValueOption(*pair, "--x2", o->x2, Cli::tr("profile shift coefficient of gear 2"), "NUMBER");
    o->centerDistanceOption = AddValueOption(
        *pair, "--center-distance", o->centerDistance,
        Cli::tr("centre distance a in mm instead of the shifts: the shift sum is found and split (the smaller "
                "gear takes more of a positive sum)"),
        "NUMBER");
    AddPressureAngleOption(*pair, o->pressureAngle);
    AddFormatOption(*pair, o->format, kPairFormats);
    o->pictureOption = AddValueOption(
        *pair, "--picture", o->picture,
        Cli::tr("write the pair in mesh as an SVG picture (outlines in groups GEAR1 and GEAR2, mm)"), "FILE");
    AddValueOption(*pair, "--angle", o->angle, Cli::tr("the picture's turn of gear 1, degrees counter-clockwise (default 0)"),
                   "NUMBER");
    AddValueOption(*pair, "--tolerance", o->tolerance, Cli::tr("the picture's chord tolerance in mm (default 0.001)"),
                   "NUMBER");
    AddValueOption(*pair, "--thickness-allowance1", o->thicknessAllowance[0],
                   Cli::tr("tooth thickness allowance UPPER[,LOWER] of gear 1 on the reference circle, mm "
                           "(negative: thinner)"),
                   "NUMBER[,NUMBER]");
    AddValueOption(*pair, "--thickness-allowance2", o->thicknessAllowance[1],
                   Cli::tr("tooth thickness allowance UPPER[,LOWER] of gear 2 on the reference circle, mm "
                           "(negative: thinner)"),
                   "NUMBER[,NUMBER]");
    AddValueOption(*pair, "--center-distance-allowance", o->centerDistanceAllowance,
                   Cli::tr("centre distance allowance UPPER[,LOWER], mm"), "NUMBER[,NUMBER]");
    pair->footer(Examples({"tsumugi-cli pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36",
                           "tsumugi-cli pair -m 3 --z1 12 --z2 24 --center-distance 56.5 --format json",
                           "tsumugi-cli pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --pressure-angle 14.5 --format csv",
                           "tsumugi-cli pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36 --picture mesh.svg --angle 5"}) +
                 "\n" + Cli::tr("JSON and CSV give every number at full precision; CSV lines end in LF."));
    pair->callback([o, &context] { context.exitCode = RunPair(*o); });
}
