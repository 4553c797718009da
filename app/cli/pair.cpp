// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli pair: two gears in mesh, from their shifts or from a centre distance.
#include "app/cli/commands.h"

#include "geardata/apperror.h"
#include "geometry/backlash.h"
#include "geometry/pair.h"
#include "commands/datatable.h"
#include "commands/numbertext.h"
#include "commands/pairtext.h"
#include "commands/tolerancetext.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace {

struct PairOptions {
    double module = 0.0;
    std::int32_t z1 = 0, z2 = 0;
    double x1 = 0.0, x2 = 0.0;
    double centerDistance = 0.0;
    std::string pressureAngle = "20";
    std::string format = "text";
    CLI::Option* x1Option = nullptr;
    CLI::Option* centerDistanceOption = nullptr;
    std::string allowance1, allowance2, centerAllowance;
    CLI::Option* allowance1Option = nullptr;
    CLI::Option* allowance2Option = nullptr;
    CLI::Option* centerAllowanceOption = nullptr;
    std::string wanted;
    CLI::Option* wantedOption = nullptr;
    bool backlashAsked() const
    {
        return allowance1Option->count() + allowance2Option->count() + centerAllowanceOption->count() +
                   wantedOption->count() > 0;
    }
};

// The printed text read back as a number, so JSON carries the same rounding as the text.
nlohmann::json Number(const std::string& text)
{
    if (text.find_first_not_of("-0123456789") == std::string::npos)
        return std::strtoll(text.c_str(), nullptr, 10);
    return std::strtod(text.c_str(), nullptr);
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Fixed4(double v) { return FormatFixed(v, 15, 4, "."); }

void Print(const PairResult& r, const std::optional<BacklashResult>& backlash, bool proposed, const std::string& format)
{
    std::vector<PairRow> rows = PairInputRows(r, ".");
    for (PairRow& row : PairResultRows(r, "."))
        rows.push_back(std::move(row));
    const std::string mode = r.fromCenterDistance ? "center_distance" : "shifts";

    if (format == "json") {
        nlohmann::json out;
        out["mode"] = mode;
        for (const PairRow& row : rows)
            out[row.key] = row.perGear ? nlohmann::json::array({Number(row.texts[0]), Number(row.texts[1])})
                                       : Number(row.texts[0]);
        std::vector<std::string> findings = r.findings;
        if (backlash) {
            nlohmann::json b;
            b["thickness_allowance1"] = {backlash->input.thickness[0].upper, backlash->input.thickness[0].lower};
            b["thickness_allowance2"] = {backlash->input.thickness[1].upper, backlash->input.thickness[1].lower};
            b["center_distance_allowance"] = {backlash->input.centerDistance.upper, backlash->input.centerDistance.lower};
            for (const BacklashRow& row : BacklashRows(*backlash, "."))
                b[row.key] = row.texts[1].empty() ? Number(row.texts[0])
                                                  : nlohmann::json::array({Number(row.texts[0]), Number(row.texts[1])});
            if (proposed)
                b["proposed_thickness_allowance"] = {Number(Fixed4(backlash->input.thickness[0].upper)),
                                                     Number(Fixed4(backlash->input.thickness[0].lower))};
            out["backlash"] = b;
            findings.insert(findings.end(), backlash->findings.begin(), backlash->findings.end());
        }
        out["findings"] = findings;
        std::cout << out.dump(2) << '\n';
    } else if (format == "csv") {
        std::cout << "name,value1,value2\r\nmode," << mode << ",\r\n";
        for (const PairRow& row : rows)
            std::cout << row.key << ',' << row.texts[0] << ',' << row.texts[1] << "\r\n";
        if (backlash && proposed)
            std::cout << "proposed_thickness_allowance," << Fixed4(backlash->input.thickness[0].upper) << ','
                      << Fixed4(backlash->input.thickness[0].lower) << "\r\n";
        if (backlash)
            for (const BacklashRow& row : BacklashRows(*backlash, "."))
                std::cout << row.key << ',' << row.texts[0] << ',' << row.texts[1] << "\r\n";
        for (const std::string& finding : r.findings)
            std::cout << "finding," << CsvField(finding) << ",\r\n";
        if (backlash)
            for (const std::string& finding : backlash->findings)
                std::cout << "finding," << CsvField(finding) << ",\r\n";
    } else {
        std::cout << PairReportText(r, ".", "\n");
        if (backlash) {
            if (proposed)
                std::cout << "歯厚許容差の提案（両歯車）\t" << Fixed4(backlash->input.thickness[0].upper) << '\t'
                          << Fixed4(backlash->input.thickness[0].lower) << '\n';
            std::cout << "バックラッシ\t最小\t最大\n";
            for (const BacklashRow& row : BacklashRows(*backlash, "."))
                std::cout << row.label << '\t' << row.texts[0] << (row.texts[1].empty() ? "" : "\t" + row.texts[1])
                          << '\n';
            for (const std::string& finding : backlash->findings)
                std::cout << finding << '\n';
        }
    }
}

void RunPair(const PairOptions& o, CliContext& context)
{
    const bool shiftsGiven = o.x1Option->count() > 0;
    if (shiftsGiven == (o.centerDistanceOption->count() > 0))
        throw CLI::ValidationError("pair", "give either --x1 and --x2 or --center-distance");
    PairInput in;
    in.module = o.module;
    in.pressureAngle = std::stod(o.pressureAngle);
    in.teeth = {o.z1, o.z2};
    in.shift = {o.x1, o.x2};
    try {
        const PairResult pair = shiftsGiven ? ComputePair(in) : ComputePairForCenterDistance(in, o.centerDistance);
        std::optional<BacklashResult> backlash;
        if (o.backlashAsked()) {
            BacklashInput b;
            if (o.allowance1Option->count() > 0)
                b.thickness[0] = ParseAllowancePair(o.allowance1);
            if (o.allowance2Option->count() > 0)
                b.thickness[1] = ParseAllowancePair(o.allowance2);
            if (o.centerAllowanceOption->count() > 0)
                b.centerDistance = ParseAllowancePair(o.centerAllowance);
            if (o.wantedOption->count() > 0) {
                // The wanted smallest and largest normal backlash, as "MIN,MAX".
                const ThicknessAllowance wanted = ParseAllowancePair(o.wanted);
                const auto proposal = ProposeAllowances(pair, wanted.upper, wanted.lower, b.centerDistance);
                b.thickness = {proposal[0], proposal[1]};
            }
            backlash = ComputeBacklash(pair, b);
        }
        Print(pair, backlash, o.wantedOption->count() > 0, o.format);
    } catch (const AppError& e) {
        std::cerr << "tsumugi-cli pair: " << e.what() << '\n';
        context.exitCode = kExitBadInput;
    }
}

}  // namespace

void AddPairCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<PairOptions>();
    CLI::App* pair = app.add_subcommand(
        "pair", "Two gears in mesh: working pressure angle, centre distance, tip shortening, contact ratio");
    pair->add_option("-m,--module", options->module, "module m")->required();
    pair->add_option("--z1", options->z1, "teeth of gear 1")->required();
    pair->add_option("--z2", options->z2, "teeth of gear 2")->required();
    options->x1Option = pair->add_option("--x1", options->x1, "profile shift coefficient of gear 1");
    CLI::Option* x2 = pair->add_option("--x2", options->x2, "profile shift coefficient of gear 2");
    options->x1Option->needs(x2);
    x2->needs(options->x1Option);
    options->centerDistanceOption = pair->add_option(
        "--center-distance", options->centerDistance,
        "centre distance a: the shift sum is found and split (the smaller gear takes more of a positive sum)");
    options->centerDistanceOption->excludes(options->x1Option)->excludes(x2);
    pair->add_option("--pressure-angle", options->pressureAngle, "pressure angle in degrees")
        ->check(CLI::IsMember({"20", "14.5"}))
        ->capture_default_str();
    pair->add_option("--format", options->format, "output format")
        ->check(CLI::IsMember({"text", "json", "csv"}))
        ->capture_default_str();
    options->allowance1Option = pair->add_option("--thickness-allowance1", options->allowance1,
                                                 "tooth-thickness allowance UPPER,LOWER of gear 1, mm (adds the backlash)");
    options->allowance2Option = pair->add_option("--thickness-allowance2", options->allowance2,
                                                 "tooth-thickness allowance UPPER,LOWER of gear 2, mm");
    options->centerAllowanceOption = pair->add_option("--center-distance-allowance", options->centerAllowance,
                                                      "centre-distance allowance UPPER,LOWER, mm");
    options->wantedOption = pair->add_option("--backlash", options->wanted,
                                             "wanted normal backlash MIN,MAX, mm: proposes equal allowances for "
                                             "both gears (with --center-distance-allowance)");
    options->wantedOption->excludes(options->allowance1Option)->excludes(options->allowance2Option);
    pair->callback([options, &context] { RunPair(*options, context); });
}
