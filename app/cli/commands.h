// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The subcommands of tsumugi-cli. Each Add...Command puts its subcommand on the
// application; its callback runs the command and sets `exitCode`, or raises
// CliError (app/cli/output.h), which main reports.

#include "app/cli/output.h"

#include <CLI/CLI.hpp>

struct CliContext {
    int exitCode = kExitOk;
};

// gear, batch and table: one gear, a stream of gears, a gear data file.
void AddGearCommands(CLI::App& app, CliContext& context);
// pair: two gears in mesh, from their shifts or from a centre distance.
void AddPairCommand(CLI::App& app, CliContext& context);
// export: the true-scale tooth profile as a DXF or SVG file.
void AddExportCommand(CLI::App& app, CliContext& context);

struct Cutter;
// A ring's pinion-type cutter from --cutter-teeth and --cutter-tip-radius
// (the default tip radius when that option is not given).
Cutter PinionCutterOptions(const std::string& teeth, const std::string& tipRadius, const CLI::Option& tipRadiusOption);

struct MateReport;
// A report of the pair command (or of gear --internal) in the chosen format,
// written to standard output.
void PrintReport(const MateReport& report, OutputFormat format);
// --hand and its like: "right" or "left" (kExitUsage naming `option` otherwise).
enum class Hand;
Hand HandOption(const std::string& option, const std::string& text);
// sheet: the gear data table (要目表) as a PDF page.
void AddSheetCommand(CLI::App& app, CliContext& context);
