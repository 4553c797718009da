// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/output.h"

#include "app/cli/commands.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <langinfo.h>
#include <locale.h>

CLI::Option* AddFormatOption(CLI::App& command, OutputFormat& format, const std::vector<std::string>& choices)
{
    static const std::map<std::string, OutputFormat> all{
        {"text", OutputFormat::Text}, {"json", OutputFormat::Json}, {"csv", OutputFormat::Csv}};
    std::map<std::string, OutputFormat> allowed;
    for (const std::string& choice : choices)
        allowed.emplace(choice, all.at(choice));
    format = all.at(choices.front());
    return command.add_option("--format", format, "output format (default " + choices.front() + ")")
        ->transform(CLI::CheckedTransformer(allowed, CLI::ignore_case));
}

const char* ExitCodeHelp()
{
    return "Exit codes:\n"
           "  0  everything computed and printed\n"
           "  1  a value or an input line was refused (message on standard error); batch goes on with the\n"
           "     other lines, table lists a file shorter than 3344 bytes with the missing bytes as 0\n"
           "  2  unknown option, missing or malformed argument\n"
           "  3  a file could not be read or written, or standard output failed";
}

std::optional<std::int32_t> PressureAngleIndexOf(std::string_view text)
{
    if (text == "20")
        return 1;
    if (text == "14.5")
        return 0;
    return std::nullopt;
}

CLI::Option* AddPressureAngleOption(CLI::App& command, std::int32_t& pressureAngleIndex)
{
    pressureAngleIndex = 1;
    return command
        .add_option_function<std::string>(
            "--pressure-angle",
            [&pressureAngleIndex](const std::string& text) { pressureAngleIndex = *PressureAngleIndexOf(text); },
            "pressure angle in degrees: 20 (default) or 14.5")
        ->check(CLI::IsMember({"20", "14.5"}));
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

std::string WithClosingPeriod(std::string message)
{
    if (message.empty())
        return message;
    const char last = message.back();
    if (!(last == ' ' || (last >= '!' && last <= '.')))
        message += '.';
    return message;
}

void PrintError(const std::string& message)
{
    std::fprintf(stderr, "tsumugi-cli: %s\n", WithClosingPeriod(message).c_str());
}

std::string RoundTripText(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
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
