// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli pair: two gears in mesh, from their shifts or from a centre distance.
#include "app/cli/commands.h"

#include "commands/pairtext.h"
#include "geardata/apperror.h"
#include "geometry/pair.h"

#include <memory>
#include <string>

namespace {

const std::vector<std::string> kPairFormats{"text", "json", "csv"};

struct PairOptions {
    std::string module, z1, z2, x1, x2, centerDistance, pressureAngle, format;
    CLI::Option* x1Option = nullptr;
    CLI::Option* x2Option = nullptr;
    CLI::Option* centerDistanceOption = nullptr;
};

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
    PairResult result;
    try {
        result = shiftsGiven ? ComputePair(in) : ComputePairForCenterDistance(in, centerDistance);
    } catch (const AppError& e) {
        throw CliError(kExitRefused, "", e.what());
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
    pair->footer(Examples({"tsumugi-cli pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36",
                           "tsumugi-cli pair -m 3 --z1 12 --z2 24 --center-distance 56.5 --format json",
                           "tsumugi-cli pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --pressure-angle 14.5 --format csv"}) +
                 "\n" + Cli::tr("JSON and CSV give every number at full precision; CSV lines end in LF."));
    pair->callback([o, &context] { context.exitCode = RunPair(*o); });
}
