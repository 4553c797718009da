// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The conventions of tsumugi-cli, in one place for every subcommand:
//
// - Errors: one line on standard error, "tsumugi-cli: <kind>: <subject>: <message>.",
//   the subject being the option, the input line or the file; one exit code per
//   kind (CliExit). A subcommand raises CliError; main reports it.
// - Options: values are typed with "." as the decimal point. Numbers, the
//   pressure angle and the output format are read through the helpers below,
//   which name the option in every refusal; a subcommand adds its options with
//   AddValueOption and reads them in its callback.
// - Output: numbers in CSV and JSON at full precision (the shortest text that
//   reads back to the same double); CSV lines end in LF; text output uses the
//   user's decimal separator, as the window does.
// - Language: help and messages through Cli::tr(), in Japanese under a Japanese
//   locale and in English otherwise (Qt's translation files, built with the
//   program).

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Exit codes of tsumugi-cli (listed in --help, the man page and the README).
enum CliExit : int {
    kExitOk = 0,          // everything computed and printed
    kExitRefused = 1,     // a gear or an input line was refused; batch still printed the others
    kExitUsage = 2,       // the command line: unknown, missing, malformed or out-of-range argument
    kExitFileError = 3,   // a file (standard input and output included) could not be read or written
};

// A failure of one kind about one subject (an option such as "--module", an
// input line, a file name; empty: none).
class CliError : public std::runtime_error {
public:
    CliError(CliExit kind, std::string subject, const std::string& message)
        : std::runtime_error(message), m_kind(kind), m_subject(std::move(subject)) {}
    CliExit kind() const { return m_kind; }
    const std::string& subject() const { return m_subject; }

private:
    CliExit m_kind;
    std::string m_subject;
};

// ---- Language ----------------------------------------------------------

// Loads the translation of the user's locale (LC_ALL, LC_MESSAGES, LANG), if there is one.
void LoadTranslation();

struct Cli {
    // A text of the command line in the user's language (context "Cli" of the
    // translation files; lupdate collects the source texts from these calls).
    static std::string tr(const char* sourceText);
};

// Replaces %1, %2, ... in order.
std::string Args(std::string text, const std::vector<std::string>& values);

// ---- Errors --------------------------------------------------------------

// The message line: "tsumugi-cli: <kind>: <subject>: <message>" with the closing period.
std::string ErrorLine(CliExit kind, const std::string& subject, const std::string& message);
// Writes the line on standard error and returns the kind's exit code.
int ReportError(const CliError& error);
// The exit codes as --help lists them.
std::string ExitCodeHelp();

// ---- Options ---------------------------------------------------------------

// An option whose text is read in the subcommand's callback; `type` names the
// value in the help ("NUMBER", "INTEGER", "FILE").
// Refuses (kExitUsage, "this option must be given") the first of `options` not given.
void RequireGiven(std::initializer_list<const CLI::Option*> options);

CLI::Option* AddValueOption(CLI::App& command, const std::string& names, std::string& text,
                            const std::string& description, const std::string& type);

enum class Range { Any, Positive, NonNegative, AtLeastOne };

// The option's text as a number (the core's grammar, "." as the decimal point),
// checked against the range; a refusal names the option (kExitUsage).
double NumberOption(const std::string& option, const std::string& text, Range range = Range::Any);
std::int32_t IntegerOption(const std::string& option, const std::string& text, Range range = Range::Any);

// --pressure-angle: 20 or 14.5 in any spelling of those numbers (20.0, 14.50).
CLI::Option* AddPressureAngleOption(CLI::App& command, std::string& text);
// The PressureAngleIndex of such a text (20: 1, 14.5: 0); `subject` names the
// option or the input field in the refusal.
std::int32_t PressureAngleIndexOf(const std::string& subject, const std::string& text, CliExit kind = kExitUsage);
// The degrees of --pressure-angle.
double PressureAngleOption(const std::string& text);

enum class OutputFormat { Text, Json, Csv, Dxf, Svg, Stl, ThreeMf, Step };
// --format with the given choices ("text", "json", "csv", "dxf", "svg", "stl", "3mf", "step"); the first is the default.
CLI::Option* AddFormatOption(CLI::App& command, std::string& text, const std::vector<std::string>& choices);
OutputFormat FormatOf(const std::string& text, const std::vector<std::string>& choices);

// The examples section of a subcommand's help.
std::string Examples(const std::vector<std::string>& lines);

// ---- Output ----------------------------------------------------------------

// The decimal separator of the user's locale (LC_NUMERIC from the environment), as the window uses it.
std::string LocaleDecimalSeparator();

// A CSV cell, quoted when it holds a comma, a quote or a line break.
std::string CsvCell(std::string_view text);
// A CSV line ended by LF (the one line ending of every CSV output).
std::string CsvLine(const std::vector<std::string>& cells);

// A JSON number at full precision, or null for an absent or non-finite value.
nlohmann::ordered_json JsonNumber(std::optional<double> value);

// printf's text of the arguments, however long (the C locale's digits); a
// format the C library cannot convert is an error, never a cut-off text.
std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes all of `text` to standard output; a failed write is a file error
// naming standard output.
void WriteOut(const std::string& text);
