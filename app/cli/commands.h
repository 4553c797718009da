// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The subcommands of tsumugi-cli. Each Add...Command puts its subcommand on the
// application; its callback runs the command and sets `exitCode`.

#include <CLI/CLI.hpp>

// Exit codes of tsumugi-cli (listed in --help and the README).
enum CliExit : int {
    kExitOk = 0,          // everything computed and printed
    kExitBadInput = 1,    // a value or an input line was refused; the others were still printed
    kExitUsage = 2,       // unknown option, missing or malformed argument
    kExitFileError = 3,   // a file could not be read or written
};

struct CliContext {
    int exitCode = kExitOk;
};

// gear, batch and table: one gear, a stream of gears, a gear data file.
void AddGearCommands(CLI::App& app, CliContext& context);
// pair: two gears in mesh, from their shifts or from a centre distance.
void AddPairCommand(CLI::App& app, CliContext& context);
// export: the true-scale tooth profile as a DXF or SVG file.
void AddExportCommand(CLI::App& app, CliContext& context);

// sheet: the gear data table (要目表) as a PDF page.
void AddSheetCommand(CLI::App& app, CliContext& context);

// The exit codes as --help lists them.
const char* ExitCodeHelp();
