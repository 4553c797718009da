// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli table: the 22 slots of a gear data file, every field decoded. Never writes.
#include "app/cli/commands.h"
#include "commands/numbertext.h"
#include "base/apperror.h"
#include "geardata/gearfile.h"
#include "geardata/gearrecord.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <memory>

namespace {

const std::vector<std::string> kTableFormats{"csv", "json"};

struct TableOptions {
    std::string file;
    std::string format;
};

// The bytes of the file, or of standard input for "-": at most what the table takes.
std::vector<std::uint8_t> ReadTableBytes(const std::string& file)
{
    if (file != "-") {
        try {
            return ReadGearFile(file);
        } catch (const AppError&) {
            throw CliError(kExitFileError, file, Cli::tr("cannot be read"));
        }
    }
    std::vector<std::uint8_t> bytes;
    char c;
    while (bytes.size() < kGearTableBytes && std::cin.get(c))
        bytes.push_back(static_cast<std::uint8_t>(c));
    if (std::cin.bad())
        throw CliError(kExitFileError, Cli::tr("standard input"), Cli::tr("could not be read"));
    return bytes;
}

const char* RoleOf(int slot)
{
    return slot == kCurrentSlot ? "current" : slot == kSpillSlot ? "spill" : "row";
}

// The reserved bytes of a slot in record order, as hexadecimal.
std::string ReservedHex(const GearRecord& g)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    auto add = [&](const auto& bytes) {
        for (const std::uint8_t b : bytes) {
            hex += digits[b >> 4];
            hex += digits[b & 15];
        }
    };
    add(g.Reserved32), add(g.Reserved72), add(g.Reserved88), add(g.Reserved104), add(g.Reserved120),
        add(g.Reserved144);
    return hex;
}

nlohmann::ordered_json JsonDouble(double v) { return std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json(RoundTripText(v)); }

int RunTable(const TableOptions& options)
{
    const OutputFormat format = FormatOf(options.format, kTableFormats);
    const std::vector<std::uint8_t> bytes = ReadTableBytes(options.file);
    GearTable table{};
    LoadGearTableBytes(table, bytes);

    std::string out;
    nlohmann::ordered_json slots = nlohmann::ordered_json::array();
    if (format == OutputFormat::Csv)
        out = CsvLine({"slot", "role", "in_use", "pressure_angle_index", "module", "teeth", "teeth2", "shift",
                       "pitch_diameter", "tip_diameter", "root_diameter", "base_diameter", "tip_thickness",
                       "reserved"});
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const GearRecord& g = table[static_cast<std::size_t>(slot)];
        if (format == OutputFormat::Csv) {
            out += CsvLine({std::to_string(slot), RoleOf(slot), std::to_string(g.InUse),
                            std::to_string(g.PressureAngleIndex), RoundTripText(g.Module), std::to_string(g.Teeth),
                            std::to_string(g.Teeth2), RoundTripText(g.Shift), RoundTripText(g.PitchDiameter),
                            RoundTripText(g.TipDiameter), RoundTripText(g.RootDiameter),
                            RoundTripText(g.BaseDiameter), RoundTripText(g.TipThickness), ReservedHex(g)});
            continue;
        }
        slots.push_back({{"slot", slot},
                         {"role", RoleOf(slot)},
                         {"in_use", g.InUse},
                         {"pressure_angle_index", g.PressureAngleIndex},
                         {"module", JsonDouble(g.Module)},
                         {"teeth", g.Teeth},
                         {"teeth2", g.Teeth2},
                         {"shift", JsonDouble(g.Shift)},
                         {"pitch_diameter", JsonDouble(g.PitchDiameter)},
                         {"tip_diameter", JsonDouble(g.TipDiameter)},
                         {"root_diameter", JsonDouble(g.RootDiameter)},
                         {"base_diameter", JsonDouble(g.BaseDiameter)},
                         {"tip_thickness", JsonDouble(g.TipThickness)},
                         {"reserved", ReservedHex(g)}});
    }
    if (format == OutputFormat::Json)
        out = nlohmann::ordered_json{{"file", options.file}, {"bytes", bytes.size()}, {"slots", slots}}.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    WriteOut(out);
    if (bytes.size() < kGearTableBytes)
        throw CliError(kExitRefused, options.file == "-" ? Cli::tr("standard input") : options.file,
                       Args(Cli::tr("%1 bytes, short of %2 (the missing bytes are shown as 0)"),
                            {std::to_string(bytes.size()), std::to_string(kGearTableBytes)}));
    return kExitOk;
}

}  // namespace

void AddTableCommand(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<TableOptions>();
    CLI::App* table = app.add_subcommand("table", Cli::tr("list the 22 slots of a gear data file (.hgd), every "
                                                          "field decoded; the file is only read"));
    table->add_option("FILE", options->file, Cli::tr("gear data file; -: standard input"))
        ->required()
        ->type_name("FILE|-");
    AddFormatOption(*table, options->format, kTableFormats);
    table->footer(Examples({"tsumugi-cli table gears.hgd", "tsumugi-cli table - --format json < gears.hgd"}) + "\n" +
                  Cli::tr("CSV lines end in LF."));
    table->callback([options, &context] { context.exitCode = RunTable(*options); });
}
