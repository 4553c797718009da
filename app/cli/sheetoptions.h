// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options of the gear data table (要目表) shared by `gear`, `sheet` and
// `export --data-table`: accuracy class, face width, the tooth-thickness
// allowance, the mate and its allowances.

#include "commands/datatable.h"
#include "geardata/designfile.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SheetOptions {
    std::string accuracyClass, faceWidth, allowance, mateTeeth, mateShift = "0", mateAllowance, centerAllowance;
    bool overPins = false;
    std::vector<std::string> rows;   // --row NAME=TEXT, in the order given
    CLI::Option* classOption = nullptr;
    CLI::Option* faceWidthOption = nullptr;
    CLI::Option* allowanceOption = nullptr;
    CLI::Option* mateOption = nullptr;
    CLI::Option* mateAllowanceOption = nullptr;
    CLI::Option* centerAllowanceOption = nullptr;
};

// --accuracy-class, --row, --face-width, --thickness-allowance; with `mate` also
// --z2, --x2, --thickness-allowance2, --center-distance-allowance and --over-pins.
// gearOptions false leaves out --face-width and --thickness-allowance, for a
// command that has its own (export: the part's face width, the cut's allowance).
void AddSheetOptions(CLI::App& command, SheetOptions& options, bool mate, bool gearOptions = true);

// The parts of the table the options give (the gear itself is the caller's).
// A malformed or out-of-range value is refused with a CliError (kExitUsage)
// naming the option.
void ApplySheetOptions(const SheetOptions& options, DataSheetInput& input);

// The design file of --design and the gear --gear chooses (1 or 2). A bad
// --gear is a usage error; a file that cannot be read or is no design a file
// error whose text names the file and the key.
struct DesignChoice {
    PairDesign design;
    int gear = 1;
};
DesignChoice ReadDesignOption(const std::string& path, const std::string& gear);

// The table of gear `which` (1 or 2) of a design: its allowance, class, face
// width and rows, and the other gear as its mate. Gear 2 of a ring pair is
// the ring, of a rack pair the rack.
void ApplyDesignToSheet(const PairDesign& design, int which, DataSheetInput& input);

// "UPPER,LOWER" of an allowance option; a malformed pair is refused naming the option.
ThicknessAllowance AllowanceOption(const std::string& option, const std::string& text);
// Refuses (kExitUsage, naming the option and its text) an allowance no gear
// can have: one that thins the tooth to nothing or thickens it to fill the
// pitch on the reference circle.
void CheckAllowanceFits(const std::string& option, const std::string& text, const ThicknessAllowance& allowance,
                        const GearSpec& gear);
