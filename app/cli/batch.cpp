// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli batch: one gear per input line, bad lines reported by number,
// the lines computed on every core and written in input order.
#include "app/cli/commands.h"
#include "app/cli/gearoutput.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iostream>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

namespace {

const std::vector<std::string> kBatchFormats{"csv", "json"};

// Lines read and computed at a time: enough to keep every core busy, few
// enough that a long input is never held whole.
constexpr std::size_t kBlockLines = 4096;

// The most threads --jobs starts, per core.
constexpr unsigned kThreadsPerCore = 4;

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

std::string Trimmed(const std::string& text)
{
    const std::size_t a = text.find_first_not_of(" \t"), b = text.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : text.substr(a, b - a + 1);
}

bool IsBlankOrComment(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

// A first line that names its columns: its first field is "module".
bool IsHeader(const std::string& line)
{
    std::string word = Trimmed(SplitFields(line).front());
    std::transform(word.begin(), word.end(), word.begin(),
                   [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return word == "module";
}

// The gear of one line; a bad line is raised as CliError (kExitRefused) naming the line and the field.
// `limits`: the JSON object's thickness limits are wanted (the CSV row has none).
GearOutcome GearOfLine(const std::string& line, const std::string& subject, bool limits)
{
    const std::vector<std::string> fields = SplitFields(line);
    if (fields.size() < 3 || fields.size() > 5)
        throw CliError(kExitRefused, subject,
                       Args(Cli::tr("%1 fields; a line is module,teeth,shift[,pressure angle]"),
                            {std::to_string(fields.size())}));
    try {
        // Read in the line's order, so that a refusal names its first bad field.
        const double module = NumberOption(Cli::tr("module"), Trimmed(fields[0]), Range::Positive);
        const std::int32_t teeth = IntegerOption(Cli::tr("teeth"), Trimmed(fields[1]), Range::AtLeastOne);
        const double shift = NumberOption(Cli::tr("shift"), Trimmed(fields[2]));
        const std::int32_t angle =
            fields.size() >= 4 ? PressureAngleIndexOf(Cli::tr("pressure angle"), Trimmed(fields[3])) : 1;
        // A fifth field is the helix angle; 0 is the spur gear of four fields.
        if (fields.size() == 5) {
            const double beta = NumberOption(Cli::tr("helix angle"), Trimmed(fields[4]), Range::NonNegative);
            if (beta != 0.0)
                return ComputeHelicalGear(GearOf(module, teeth, shift, angle), beta, subject);
        }
        // Any tooth count, as gear computes it: beyond the window's 70 through the gear model.
        GearTolerancing tolerancing;
        tolerancing.limitsWanted = limits;
        return ComputeGear(GearOf(module, teeth, shift, angle), {}, subject, tolerancing, true);
    } catch (const CliError& e) {
        if (e.subject() == subject)
            throw;
        throw CliError(kExitRefused, subject, e.subject() + ": " + e.what());
    }
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

// What one input line puts on standard output and standard error.
struct LineResult {
    std::string out, err;
    bool written = false, bad = false, outOfMemory = false;
};

// One input line as read: its number, its text, and whether it was too long to keep.
struct InputLine {
    long number = 0;
    std::string text;
    bool tooLong = false;
};

LineResult RunLine(const InputLine& line, OutputFormat format)
{
    LineResult r;
    const long number = line.number;
    const std::string subject = Args(Cli::tr("line %1"), {std::to_string(number)});
    try {
        if (line.tooLong)
            throw CliError(kExitRefused, subject,
                           Args(Cli::tr("longer than %1 bytes; not read"), {std::to_string(kMaxLineBytes)}));
        const GearOutcome outcome = GearOfLine(line.text, subject, format != OutputFormat::Csv);
        if (format == OutputFormat::Csv) {
            r.out = GearCsvRow(outcome, number);
        } else {
            nlohmann::ordered_json j = GearJson(outcome);
            j["line"] = number;
            r.out = j.dump();
        }
        r.written = true;
    } catch (const CliError& e) {
        r.bad = true;
        r.err = ErrorLine(e.kind(), e.subject(), e.what());
    } catch (const std::bad_alloc&) {
        r = {};
        r.bad = r.outOfMemory = true;
        r.err = ErrorLine(kExitRefused, subject, Cli::tr("out of memory"));
    }
    return r;
}

}  // namespace

long RunBatch(std::istream& in, std::ostream& out, std::ostream& err, OutputFormat format, unsigned jobs)
{
    // One thread per core by default; more than a few per core computes no
    // faster and only costs each thread's stack and memory arena.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    jobs = jobs == 0 ? cores : std::min(jobs, kThreadsPerCore * cores);
    long bad = 0, number = 0, written = 0;
    out << (format == OutputFormat::Csv ? GearCsvHeader(true) : std::string("["));

    std::vector<InputLine> block;
    std::vector<LineResult> results, finished;
    // The results of one block are written while the next one is read and
    // computed (by a thread of its own where the system starts one), always in
    // input order.
    const auto write = [&](const std::vector<LineResult>& done) {
        for (const LineResult& r : done) {
            if (r.bad) {
                ++bad;
                err << r.err;
            }
            if (!r.written)
                continue;
            if (format == OutputFormat::Csv)
                out << r.out;
            else
                out << (written ? ",\n" : "\n") << r.out;
            ++written;
        }
    };
    std::thread writer;
    const auto finishWriting = [&] {
        if (writer.joinable())
            writer.join();
    };
    std::string line;
    bool more = true;
    while (more) {
        block.clear();
        bool tooLong = false;
        while (block.size() < kBlockLines && (more = ReadLine(*in.rdbuf(), line, tooLong))) {
            ++number;
            if (number == 1 && line.starts_with("\xEF\xBB\xBF"))   // a byte-order mark
                line.erase(0, 3);
            if (!tooLong && (IsBlankOrComment(line) || (number == 1 && IsHeader(line))))
                continue;
            block.push_back({number, tooLong ? std::string() : line, tooLong});
        }
        results.assign(block.size(), {});
        // The threads take the block's lines one at a time; the results are written in input order.
        // A thread that runs out of memory (each has its own stack and allocation arena) stops,
        // and this thread computes the lines it left, so that the bytes never depend on the count.
        std::atomic<std::size_t> next{0};
        auto work = [&] {
            try {
                for (std::size_t i; (i = next.fetch_add(1)) < block.size();)
                    if ((results[i] = RunLine(block[i], format)).outOfMemory)
                        return;
            } catch (...) {
            }
        };
        std::vector<std::thread> pool;
        const std::size_t threads = std::min<std::size_t>(jobs, block.size());
        try {
            for (std::size_t t = 1; t < threads; ++t)
                pool.emplace_back(work);
        } catch (const std::system_error&) {
            // The system starts no more threads (a memory or process limit): those started share the block.
        } catch (const std::bad_alloc&) {
        }
        work();
        for (std::thread& thread : pool)
            thread.join();
        for (std::size_t i = 0; i < block.size(); ++i)
            if ((!results[i].written && !results[i].bad) || results[i].outOfMemory)
                results[i] = RunLine(block[i], format);
        finishWriting();
        finished.swap(results);
        try {
            if (jobs > 1)
                writer = std::thread(write, std::cref(finished));
        } catch (const std::system_error&) {
        } catch (const std::bad_alloc&) {
        }
        if (!writer.joinable())
            write(finished);
    }
    finishWriting();
    if (format != OutputFormat::Csv)
        out << (written ? "\n]\n" : "]\n");
    return bad;
}

void AddBatchCommand(CLI::App& app, CliContext& context)
{
    struct BatchOptions {
        std::string file = "-", format, jobs = "0";
    };
    auto o = std::make_shared<BatchOptions>();
    CLI::App* batch = app.add_subcommand(
        "batch", Cli::tr("compute one gear per input line: module,teeth,shift[,pressure angle 20|14.5]"));
    batch->add_option("FILE", o->file, Cli::tr("the lines to read; - or none: standard input"))->type_name("FILE|-");
    AddFormatOption(*batch, o->format, kBatchFormats);
    AddValueOption(*batch, "--jobs", o->jobs, Cli::tr("threads to compute on (default 0: one per core); the output "
                                                      "is the same for every count"),
                   "INTEGER");
    batch->footer(Examples({"tsumugi-cli batch gears.csv > results.csv", "printf '2,20,0\\n1,12,0.3,14.5\\n' | "
                                                                       "tsumugi-cli batch --format json"}) +
                  "\n" + Cli::tr("Empty lines, lines starting with # and a first line whose first field is "
                                 "\"module\" are skipped. CSV lines end in LF."));
    batch->callback([o, &context] {
        const OutputFormat format = FormatOf(o->format, kBatchFormats);
        const std::int32_t jobs = IntegerOption("--jobs", o->jobs, Range::NonNegative);
        std::ifstream file;
        if (o->file != "-") {
            file.open(o->file, std::ios::binary);
            if (!file)
                throw CliError(kExitFileError, o->file, Cli::tr("cannot be opened"));
        }
        std::istream& in = o->file == "-" ? std::cin : file;
        std::ios::sync_with_stdio(false);
        const long bad = RunBatch(in, std::cout, std::cerr, format, static_cast<unsigned>(jobs));
        if (in.bad())
            throw CliError(kExitFileError, o->file == "-" ? Cli::tr("standard input") : o->file,
                           Cli::tr("could not be read"));
        std::cout.flush();
        if (!std::cout)
            throw CliError(kExitFileError, Cli::tr("standard output"), Cli::tr("could not be written"));
        context.exitCode = bad > 0 ? kExitRefused : kExitOk;
    });
}
