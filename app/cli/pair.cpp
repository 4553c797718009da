// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli pair: two gears in mesh, from their shifts or from a centre distance.
#include "app/cli/commands.h"

#include "export/meshexport.h"
#include "geardata/apperror.h"
#include "geardata/safefile.h"
#include "geometry/mesh.h"
#include "geometry/pair.h"
#include "commands/pairtext.h"

#include <nlohmann/json.hpp>

#include <algorithm>
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
    CLI::Option* x1Option = nullptr;
    CLI::Option* centerDistanceOption = nullptr;
    // The picture of the pair in mesh.
    std::string picture;
    double angle = 0.0;
    double tolerance = 0.001;
    std::array<std::vector<double>, 2> thicknessAllowance;   // upper[,lower]
    std::vector<double> centerDistanceAllowance;            // upper[,lower]
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

void Print(const PairResult& r, const std::string& format)
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
        out["findings"] = r.findings;
        std::cout << out.dump(2) << '\n';
    } else if (format == "csv") {
        std::cout << "name,value1,value2\r\nmode," << mode << ",\r\n";
        for (const PairRow& row : rows)
            std::cout << row.key << ',' << row.texts[0] << ',' << row.texts[1] << "\r\n";
        for (const std::string& finding : r.findings)
            std::cout << "finding," << CsvField(finding) << ",\r\n";
    } else {
        std::cout << PairReportText(r, ".", "\n");
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
    PairResult result;
    std::string picture;
    try {
        result = shiftsGiven ? ComputePair(in) : ComputePairForCenterDistance(in, o.centerDistance);
        if (!o.picture.empty()) {
            // The tightest mesh the allowances leave: the thickest teeth at the shortest centre distance.
            MeshInput mesh;
            mesh.pair = result;
            mesh.tolerance = o.tolerance;
            for (std::size_t i = 0; i < 2; ++i)
                mesh.thicknessAllowance[i] = o.thicknessAllowance[i].empty() ? 0.0 : *std::max_element(o.thicknessAllowance[i].begin(), o.thicknessAllowance[i].end());
            mesh.centerDistanceAllowance = o.centerDistanceAllowance.empty() ? 0.0 : *std::min_element(o.centerDistanceAllowance.begin(), o.centerDistanceAllowance.end());
            picture = MeshSvg(GearMesh(mesh).PictureAt(o.angle));
        }
    } catch (const AppError& e) {
        std::cerr << "tsumugi-cli pair: " << e.what() << '\n';
        context.exitCode = kExitBadInput;
        return;
    }
    if (!o.picture.empty()) {
        try {
            WriteFileSafely(o.picture, reinterpret_cast<const std::uint8_t*>(picture.data()), picture.size());
        } catch (const AppError& e) {
            std::cerr << "tsumugi-cli pair: " << e.what() << '\n';
            context.exitCode = kExitFileError;
            return;
        }
    }
    Print(result, o.format);
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
    pair->add_option("--picture", options->picture,
                     "write the pair in mesh as an SVG picture (outlines in groups GEAR1 and GEAR2, mm)");
    pair->add_option("--angle", options->angle, "the picture's turn of gear 1, degrees counter-clockwise")
        ->capture_default_str();
    pair->add_option("--tolerance", options->tolerance, "the picture's chord tolerance, mm")->capture_default_str();
    const char* const allowanceNames[2] = {"--thickness-allowance1", "--thickness-allowance2"};
    for (std::size_t i = 0; i < 2; ++i)
        pair->add_option(allowanceNames[i], options->thicknessAllowance[i],
                         "tooth thickness allowance UPPER[,LOWER] on the reference circle, mm (negative: thinner)")
            ->delimiter(',')
            ->expected(1, 2);
    pair->add_option("--center-distance-allowance", options->centerDistanceAllowance,
                     "centre distance allowance UPPER[,LOWER], mm")
        ->delimiter(',')
        ->expected(1, 2);
    pair->callback([options, &context] { RunPair(*options, context); });
}
