// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every subcommand of tsumugi-cli shares: the --format option, the
// --pressure-angle option, the user's decimal separator, the messages on
// standard error, and plain writers for CSV cells and JSON numbers.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class OutputFormat { Text, Json, Csv };

// Adds --format with the given choices ("text", "json", "csv"); the first is the default.
CLI::Option* AddFormatOption(CLI::App& command, OutputFormat& format, const std::vector<std::string>& choices);

// Adds --pressure-angle 20|14.5 and writes the PressureAngleIndex it selects (20: 1, 14.5: 0).
CLI::Option* AddPressureAngleOption(CLI::App& command, std::int32_t& pressureAngleIndex);

// The index of a pressure angle typed as 20 or 14.5; none for anything else.
std::optional<std::int32_t> PressureAngleIndexOf(std::string_view text);

// The decimal separator of the user's locale (LC_NUMERIC from the environment), as the window uses it.
std::string LocaleDecimalSeparator();

// The message as the error box shows it: a closing "." unless the text ends in
// a blank or one of "!" to ".".
std::string WithClosingPeriod(std::string message);

// "tsumugi-cli: <message>." on standard error.
void PrintError(const std::string& message);

// A number in the shortest text that reads back to the same double ("." separator);
// "inf", "-inf" or "nan" for the others.
std::string RoundTripText(double value);

// A CSV cell, quoted when it holds a comma, a quote or a line break.
std::string CsvCell(std::string_view text);

// A CSV line ended by LF.
std::string CsvLine(const std::vector<std::string>& cells);

// A JSON number, or null for an absent or non-finite value.
nlohmann::ordered_json JsonNumber(std::optional<double> value);
