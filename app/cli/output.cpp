// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/output.h"

#include "commands/commands.h"
#include "commands/inputparse.h"
#include "base/apperror.h"
#include "geometry/extended.h"
#include "geometry/gearmodel.h"

#include <QLocale>
#include <QString>
#include <QTranslator>

#include <cstdarg>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <langinfo.h>
#include <locale.h>
#include <map>

namespace {

QTranslator& Translator()
{
    static QTranslator translator;
    return translator;
}

bool& TranslationLoaded()
{
    static bool loaded = false;
    return loaded;
}

std::string KindText(CliExit kind)
{
    switch (kind) {
    case kExitRefused:
        return Cli::tr("refused");
    case kExitUsage:
        return Cli::tr("usage error");
    case kExitFileError:
        return Cli::tr("file error");
    case kExitOk:
        break;
    }
    return {};
}

const std::map<std::string, OutputFormat>& AllFormats()
{
    static const std::map<std::string, OutputFormat> all{{"text", OutputFormat::Text}, {"json", OutputFormat::Json},
                                                         {"csv", OutputFormat::Csv},   {"dxf", OutputFormat::Dxf},
                                                         {"svg", OutputFormat::Svg},   {"stl", OutputFormat::Stl},
                                                         {"3mf", OutputFormat::ThreeMf}, {"step", OutputFormat::Step}};
    return all;
}

std::string Joined(const std::vector<std::string>& items, const char* between)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : between) + item;
    return text;
}

}  // namespace

void LoadTranslation()
{
    // The messages' language: LC_ALL, then LC_MESSAGES, then LANG.
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string name;
    for (const char* variable : names)
        if (const char* value = std::getenv(variable); value && *value) {
            name = value;
            break;
        }
    if (name.rfind("ja", 0) != 0)
        return;
    TranslationLoaded() = Translator().load(QStringLiteral(":/i18n/tsumugi-cli_ja.qm"));
}

std::string Cli::tr(const char* sourceText)
{
    if (TranslationLoaded()) {
        const QString text = Translator().translate("Cli", sourceText);
        if (!text.isEmpty())
            return text.toStdString();
    }
    return sourceText;
}

std::string Args(std::string text, const std::vector<std::string>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string marker = "%" + std::to_string(i + 1);
        const std::size_t at = text.find(marker);
        if (at != std::string::npos)
            text.replace(at, marker.size(), values[i]);
    }
    return text;
}

std::string ErrorLine(CliExit kind, const std::string& subject, const std::string& message)
{
    std::string line = "tsumugi-cli: " + KindText(kind) + ": ";
    if (!subject.empty())
        line += subject + ": ";
    line += message;
    // The error box's closing-period rule; a question (the suggestion of a subcommand) keeps its mark.
    return (line.back() == '?' ? line : WithClosingPeriod(line)) + "\n";
}

int ReportError(const CliError& error)
{
    const std::string line = ErrorLine(error.kind(), error.subject(), error.what());
    std::fwrite(line.data(), 1, line.size(), stderr);
    return error.kind();
}

std::string ExitCodeHelp()
{
    return Cli::tr("Exit codes:\n"
                   "  0  everything computed and printed\n"
                   "  1  refused: a gear that cannot be computed, or an input line of batch (the other lines\n"
                   "     are still printed)\n"
                   "  2  usage error: an unknown, missing, malformed or out-of-range argument\n"
                   "  3  file error: a file, standard input or standard output could not be read or written\n"
                   "Every message is one line on standard error: tsumugi-cli: KIND: OPTION, LINE OR FILE: MESSAGE.");
}

void RequireGiven(std::initializer_list<const CLI::Option*> options)
{
    for (const CLI::Option* option : options)
        if (option->count() == 0)
            throw CliError(kExitUsage, option->get_name(), Cli::tr("this option must be given"));
}

CLI::Option* AddValueOption(CLI::App& command, const std::string& names, std::string& text,
                            const std::string& description, const std::string& type)
{
    return command.add_option(names, text, description)->type_name(type);
}

double NumberOption(const std::string& option, const std::string& text, Range range)
{
    double value = 0.0;
    try {
        value = Store(ParseFloat(text, "."));
    } catch (const AppError&) {
        throw CliError(kExitUsage, option, Args(Cli::tr("'%1' is not a number"), {text}));
    }
    if (!std::isfinite(value))
        throw CliError(kExitUsage, option, Args(Cli::tr("'%1' is not a finite number"), {text}));
    if ((range == Range::Positive || range == Range::AtLeastOne) && !(value > 0.0))
        throw CliError(kExitUsage, option, Args(Cli::tr("%1 must be greater than 0"), {text}));
    if (range == Range::NonNegative && value < 0.0)
        throw CliError(kExitUsage, option, Args(Cli::tr("%1 must not be negative"), {text}));
    return value;
}

std::int32_t IntegerOption(const std::string& option, const std::string& text, Range range)
{
    std::int32_t value = 0;
    try {
        value = ParseInteger(text);
    } catch (const AppError&) {
        throw CliError(kExitUsage, option, Args(Cli::tr("'%1' is not an integer"), {text}));
    }
    if (range == Range::AtLeastOne && value < 1)
        throw CliError(kExitUsage, option, Args(Cli::tr("%1 must be at least 1"), {text}));
    if (range == Range::Positive && value <= 0)
        throw CliError(kExitUsage, option, Args(Cli::tr("%1 must be greater than 0"), {text}));
    if (range == Range::NonNegative && value < 0)
        throw CliError(kExitUsage, option, Args(Cli::tr("%1 must not be negative"), {text}));
    return value;
}

CLI::Option* AddPressureAngleOption(CLI::App& command, std::string& text)
{
    text = "20";
    return AddValueOption(command, "--pressure-angle", text, Cli::tr("pressure angle in degrees: 20 (default) or 14.5"),
                          "20|14.5");
}

std::int32_t PressureAngleIndexOf(const std::string& subject, const std::string& text, CliExit kind)
{
    double value = 0.0;
    try {
        value = Store(ParseFloat(text, "."));
    } catch (const AppError&) {
        value = -1.0;
    }
    if (const std::int32_t index = PressureAngleIndexOfDegrees(value); index >= 0)
        return index;
    throw CliError(kind, subject, Args(Cli::tr("'%1' is neither 20 nor 14.5"), {text}));
}

double PressureAngleOption(const std::string& text)
{
    return PressureAngleDegrees(PressureAngleIndexOf("--pressure-angle", text));
}

CLI::Option* AddFormatOption(CLI::App& command, std::string& text, const std::vector<std::string>& choices)
{
    text = choices.front();
    return AddValueOption(command, "--format", text,
                          Args(Cli::tr("output format (default %1)"), {choices.front()}), Joined(choices, "|"));
}

OutputFormat FormatOf(const std::string& text, const std::vector<std::string>& choices)
{
    for (const std::string& choice : choices)
        if (choice == text)
            return AllFormats().at(choice);
    throw CliError(kExitUsage, "--format", Args(Cli::tr("'%1' is not one of %2"), {text, Joined(choices, ", ")}));
}

std::string Examples(const std::vector<std::string>& lines)
{
    std::string text = Cli::tr("Examples:");
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

std::string LocaleDecimalSeparator()
{
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!user)
        return ".";
    std::string separator = nl_langinfo_l(RADIXCHAR, user);
    freelocale(user);
    return separator.empty() ? "." : separator;
}

std::string Formatted(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    bool done = false;
    if (length >= 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        done = std::vsnprintf(text.data(), text.size(), format, again) == length;
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    if (!done)
        throw CliError(kExitFileError, Cli::tr("standard output"), Cli::tr("could not be written"));
    return text;
}

std::string CsvCell(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvLine(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i)
            line += ',';
        line += CsvCell(cells[i]);
    }
    return line + '\n';
}

nlohmann::ordered_json JsonNumber(std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        return nullptr;
    return *value;
}

void WriteOut(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        throw CliError(kExitFileError, Cli::tr("standard output"), Cli::tr("could not be written"));
}
