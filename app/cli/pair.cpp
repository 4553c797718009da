// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli pair: two gears in mesh, from their shifts or from a centre distance.
#include "app/cli/commands.h"

#include "geardata/apperror.h"
#include "geometry/internalpair.h"
#include "geometry/pair.h"
#include "geometry/rackpair.h"
#include "commands/pairtext.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace {

struct PairOptions {
    double module = 0.0;
    std::int32_t z1 = 0, z2 = 0;
    double x1 = 0.0, x2 = 0.0;
    double centerDistance = 0.0;
    std::string pressureAngle = "20";
    std::string format = "text";
    std::string mate = "external";
    CLI::Option* x1Option = nullptr;
    CLI::Option* x2Option = nullptr;
    CLI::Option* z2Option = nullptr;
    CLI::Option* centerDistanceOption = nullptr;
};

// The printed text read back as a number, so JSON carries the same rounding as the text.
nlohmann::json Number(const std::string& text)
{
    if (text == kNoValueText)
        return nullptr;
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

}  // namespace

void PrintReport(const MateReport& report, const std::string& format)
{
    std::vector<PairRow> rows = report.inputs;
    for (const PairRow& row : report.results)
        rows.push_back(row);

    if (format == "json") {
        nlohmann::json out;
        out["mate"] = MateKindKey(report.mate);
        out["mode"] = report.mode;
        for (const PairRow& row : rows)
            out[row.key] = row.perGear ? nlohmann::json::array({Number(row.texts[0]), Number(row.texts[1])})
                                       : Number(row.texts[0]);
        out["findings"] = report.findings;
        std::cout << out.dump(2) << '\n';
    } else if (format == "csv") {
        std::cout << "name,value1,value2\r\n";
        if (report.mate != MateKind::External)
            std::cout << "mate," << MateKindKey(report.mate) << ",\r\n";
        std::cout << "mode," << report.mode << ",\r\n";
        for (const PairRow& row : rows)
            std::cout << row.key << ',' << row.texts[0] << ',' << row.texts[1] << "\r\n";
        for (const std::string& finding : report.findings)
            std::cout << "finding," << CsvField(finding) << ",\r\n";
    } else {
        std::cout << MateReportText(report, "\n");
    }
}

namespace {

void RunPair(const PairOptions& o, CliContext& context)
{
    const bool x1Given = o.x1Option->count() > 0, x2Given = o.x2Option->count() > 0;
    const bool distanceGiven = o.centerDistanceOption->count() > 0;
    const MateKind mate = o.mate == "rack" ? MateKind::Rack : o.mate == "internal" ? MateKind::Internal : MateKind::External;
    if (mate == MateKind::Rack) {
        if (o.z2Option->count() > 0 || x2Given || distanceGiven)
            throw CLI::ValidationError("pair", "a rack takes no --z2, --x2 or --center-distance");
    } else {
        if (o.z2Option->count() == 0)
            throw CLI::ValidationError("pair", "--z2 is required");
        // A ring from a centre distance keeps the pinion's shift, which --x1 may give.
        if (x1Given && distanceGiven && mate == MateKind::External)
            throw CLI::ExcludesError("--x1", "--center-distance");
        if (x2Given && distanceGiven)
            throw CLI::ExcludesError("--x2", "--center-distance");
        if (x1Given && !x2Given && !distanceGiven)
            throw CLI::RequiresError("--x1", "--x2");
        if (x2Given && !x1Given)
            throw CLI::RequiresError("--x2", "--x1");
        if (!x2Given && !distanceGiven)
            throw CLI::ValidationError("pair", "give either --x1 and --x2 or --center-distance");
    }
    PairInput in;
    in.module = o.module;
    in.pressureAngle = std::stod(o.pressureAngle);
    in.teeth = {o.z1, o.z2};
    in.shift = {o.x1, o.x2};
    try {
        switch (mate) {
        case MateKind::External:
            PrintReport(MateReportOf(distanceGiven ? ComputePairForCenterDistance(in, o.centerDistance) : ComputePair(in), "."),
                  o.format);
            break;
        case MateKind::Internal:
            PrintReport(MateReportOf(distanceGiven ? ComputeInternalPairForCenterDistance(in, o.centerDistance)
                                             : ComputeInternalPair(in),
                               "."),
                  o.format);
            break;
        case MateKind::Rack:
            PrintReport(MateReportOf(ComputeRackPair({in.module, in.pressureAngle, o.z1, o.x1}), "."), o.format);
            break;
        }
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
        "pair", "Two gears in mesh (or a pinion in a ring, or on a rack): working pressure angle, centre distance, contact ratio, findings");
    pair->add_option("-m,--module", options->module, "module m")->required();
    pair->add_option("--z1", options->z1, "teeth of gear 1")->required();
    options->z2Option = pair->add_option("--z2", options->z2, "teeth of gear 2 (the ring for --mate internal; none for a rack)");
    options->x1Option = pair->add_option("--x1", options->x1, "profile shift coefficient of gear 1");
    options->x2Option = pair->add_option("--x2", options->x2, "profile shift coefficient of gear 2");
    options->centerDistanceOption = pair->add_option(
        "--center-distance", options->centerDistance,
        "centre distance a: the shift sum is found and split (the smaller gear takes more of a positive sum); "
        "for a ring the difference x2 - x1, gear 1 keeping --x1 (default 0)");
    pair->add_option("--mate", options->mate, "what gear 1 meshes with: another external gear, a ring, a rack")
        ->check(CLI::IsMember({"external", "internal", "rack"}))
        ->capture_default_str();
    pair->add_option("--pressure-angle", options->pressureAngle, "pressure angle in degrees")
        ->check(CLI::IsMember({"20", "14.5"}))
        ->capture_default_str();
    pair->add_option("--format", options->format, "output format")
        ->check(CLI::IsMember({"text", "json", "csv"}))
        ->capture_default_str();
    pair->callback([options, &context] { RunPair(*options, context); });
}
