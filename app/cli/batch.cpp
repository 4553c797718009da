// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli batch: one gear per input line, bad lines reported by number.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"
#include "geardata/apperror.h"
#include "commands/inputparse.h"

#include <iostream>
#include <memory>
#include <new>

namespace {

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

bool IsBlankOrComment(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

// A first line that names its columns: its first field is "module".
bool IsHeader(const std::string& line)
{
    std::string first = SplitFields(line).front();
    std::string word;
    for (const char c : first)
        if (c != ' ' && c != '\t')
            word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return word == "module";
}

// The gear of one line; raises AppError with the message for a bad line.
GearOutcome GearOfLine(const std::string& line)
{
    std::vector<std::string> fields = SplitFields(line);
    if (fields.size() < 3 || fields.size() > 4)
        throw AppError("項目の数が " + std::to_string(fields.size()) +
                       " です（モジュール, 歯数, 転位係数[, 圧力角] の 3 つか 4 つ）");
    GearInputs inputs;
    ParseGearTexts(inputs, fields[0], fields[1], fields[2]);
    if (fields.size() == 4) {
        const std::size_t a = fields[3].find_first_not_of(" \t"), b = fields[3].find_last_not_of(" \t");
        const std::string angle = a == std::string::npos ? std::string() : fields[3].substr(a, b - a + 1);
        const auto index = PressureAngleIndexOf(angle);
        if (!index)
            throw AppError("圧力角 '" + fields[3] + "' は 20 でも 14.5 でもありません");
        inputs.pressureAngleIndex = *index;
    }
    GearOutcome outcome = CalculateGear(inputs);
    if (outcome.check.result == 2)
        throw AppError(TeethCheckError(outcome.check));
    return outcome;
}

// The longest line taken: a gear's line is a few dozen bytes, and a longer one
// is refused without being held in memory.
constexpr std::size_t kMaxLineBytes = 4096;

// One line, ended by LF, CR or CR LF (or the end of the input); false at the
// end. The bytes past kMaxLineBytes are read but not kept, and `tooLong` set.
bool ReadLine(std::streambuf& in, std::string& line, bool& tooLong)
{
    using Traits = std::char_traits<char>;
    line.clear();
    tooLong = false;
    int c = in.sbumpc();
    if (c == Traits::eof())
        return false;
    for (; c != Traits::eof(); c = in.sbumpc()) {
        if (c == '\n')
            break;
        if (c == '\r') {
            if (in.sgetc() == '\n')
                in.sbumpc();
            break;
        }
        if (line.size() < kMaxLineBytes)
            line += static_cast<char>(c);
        else
            tooLong = true;
    }
    return true;
}

}  // namespace

long RunBatch(std::istream& in, std::ostream& out, std::ostream& err, OutputFormat format)
{
    long bad = 0, number = 0, written = 0;
    std::string line;
    if (format == OutputFormat::Csv)
        out << GearCsvHeader(true);
    else
        out << "[";
    bool tooLong = false;
    while (ReadLine(*in.rdbuf(), line, tooLong)) {
        ++number;
        if (number == 1 && line.starts_with("\xEF\xBB\xBF"))   // a byte-order mark
            line.erase(0, 3);
        if (tooLong) {
            ++bad;
            err << "tsumugi-cli: 行 " << number << ": 行が " << kMaxLineBytes << " バイトを超えるため読みません.\n";
            continue;
        }
        if (IsBlankOrComment(line) || (number == 1 && IsHeader(line)))
            continue;
        try {
            const GearOutcome outcome = GearOfLine(line);
            if (format == OutputFormat::Csv) {
                out << GearCsvRow(outcome, number);
            } else {
                nlohmann::ordered_json j = GearJson(outcome);
                j["line"] = number;
                out << (written ? ",\n" : "\n") << j.dump();
            }
            ++written;
        } catch (const AppError& e) {
            ++bad;
            err << "tsumugi-cli: 行 " << number << ": " << WithClosingPeriod(e.what()) << "\n";
        } catch (const std::bad_alloc&) {
            ++bad;
            err << "tsumugi-cli: 行 " << number << ": メモリが足りません.\n";
        }
    }
    if (format != OutputFormat::Csv)
        out << (written ? "\n]\n" : "]\n");
    return bad;
}

void AddBatchCommand(CLI::App& app, CliContext& context)
{
    auto format = std::make_shared<OutputFormat>(OutputFormat::Csv);
    CLI::App* batch = app.add_subcommand(
        "batch", "compute one gear per line of standard input: module,teeth,shift[,pressure angle 20|14.5]");
    AddFormatOption(*batch, *format, {"csv", "json"});
    batch->callback([format, &context] {
        std::ios::sync_with_stdio(false);
        const long bad = RunBatch(std::cin, std::cout, std::cerr, *format);
        std::cout.flush();
        if (!std::cout)
            context.exitCode = kExitFileError;
        else if (bad > 0)
            context.exitCode = kExitBadInput;
    });
}
