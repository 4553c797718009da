// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli: the gear arithmetic of ツムギ from the command line.
#include "app/cli/commands.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A standard output or error stream the caller closed is held on /dev/null,
// opened for reading only: no file a command opens takes its number, and every
// write to it fails, so the failure is seen and reported.
void HoldClosedStreams()
{
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
}

// The exit code once everything printed has reached standard output; a full
// disk, /dev/full or a closed stream is reported and ends with exit code 3.
int Finished(int code)
{
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed || code == kExitFileError)   // a write already reported its failure
        return code;
    return ReportError(CliError(kExitFileError, Cli::tr("standard output"), Cli::tr("could not be written")));
}

// Edits that turn one word into the other (insert, delete, replace, swap two neighbours).
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The refusal of a first word that names no subcommand, with the nearest name when one is close.
CliError UnknownSubcommand(const CLI::App& app, const std::string& word)
{
    std::string best;
    std::size_t bestDistance = 3;   // at most two edits away
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        if (const std::size_t distance = EditDistance(word, sub->get_name()); distance < bestDistance) {
            bestDistance = distance;
            best = sub->get_name();
        }
    std::string message = Args(Cli::tr("'%1' is not a subcommand"), {word});
    if (!best.empty())
        message += Args(Cli::tr("; did you mean '%1'?"), {best});
    return CliError(kExitUsage, "", message);
}

// The arguments the parser left over, in the order they were typed.
std::string LeftOver(const CLI::App& app, int argc, char** argv)
{
    std::vector<std::string> left = app.remaining(true);
    std::string text;
    for (int i = 1; i < argc; ++i)
        if (const auto it = std::find(left.begin(), left.end(), argv[i]); it != left.end()) {
            text += (text.empty() ? "" : " ") + *it;
            left.erase(it);
        }
    return text;
}

// The parser's own refusals in the program's words (the option or argument it names kept).
CliError UsageError(const CLI::ParseError& e, const std::string& leftOver)
{
    const std::string what = e.what();
    if (dynamic_cast<const CLI::RequiredError*>(&e)) {
        if (what.find("subcommand") != std::string::npos)
            return CliError(kExitUsage, "", Cli::tr("a subcommand is required (gear, batch, table, pair, export)"));
        const std::size_t end = what.find(' ');
        return CliError(kExitUsage, what.substr(0, end), Cli::tr("this option must be given"));
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
        const std::size_t colon = what.find(": ");
        return CliError(kExitUsage, "", Args(Cli::tr("unexpected argument %1"),
                                             {!leftOver.empty()          ? leftOver
                                              : colon == std::string::npos ? what
                                                                           : what.substr(colon + 2)}));
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
        const std::size_t end = what.find(':');
        return CliError(kExitUsage, what.substr(0, end), Cli::tr("this option needs a value"));
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&e) || dynamic_cast<const CLI::RequiresError*>(&e))
        return CliError(kExitUsage, "", Args(Cli::tr("options that do not go together: %1"), {what}));
    return CliError(kExitUsage, "", what);
}

}  // namespace

int main(int argc, char** argv)
{
    HoldClosedStreams();
    // A reader that stops early (`| head`) makes the next write fail with
    // EPIPE: reported as a file error on standard output (exit code 3), not
    // a death by signal.
    std::signal(SIGPIPE, SIG_IGN);
    LoadTranslation();
    CLI::App app{Cli::tr("ツムギ: an external spur gear generated by a standard rack, from the command line")};
    app.name("tsumugi-cli");
    // The words of CLI11's help layout.
    app.get_formatter()->label("Usage", Cli::tr("Usage"));
    app.get_formatter()->label("OPTIONS", Cli::tr("OPTIONS"));
    app.get_formatter()->label("SUBCOMMAND", Cli::tr("SUBCOMMAND"));
    app.get_formatter()->label("Positionals", Cli::tr("Positionals"));
    app.get_formatter()->label("REQUIRED", Cli::tr("REQUIRED"));
    app.get_formatter()->label("Needs", Cli::tr("Needs"));
    app.get_formatter()->label("Excludes", Cli::tr("Excludes"));
    app.option_defaults()->group(Cli::tr("Options"));
    app.set_help_flag("-h,--help", Cli::tr("print this help and exit"));
    app.set_version_flag("--version", std::string("tsumugi-cli ") + TSUMUGI_VERSION, Cli::tr("print the version and exit"));
    app.require_subcommand(1);
    CliContext context;
    app.footer(ExitCodeHelp());
    // The subcommands add themselves here.
    AddGearCommands(app, context);
    AddPairCommand(app, context);
    AddExportCommand(app, context);
    AddSheetCommand(app, context);
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        sub->group(Cli::tr("Subcommands"));
        sub->set_help_flag("-h,--help", Cli::tr("print this help and exit"));
    }
    try {
        if (argc > 1 && argv[1][0] != '-') {
            const std::string word = argv[1];
            const auto subs = app.get_subcommands([&word](CLI::App* sub) { return sub->get_name() == word; });
            if (subs.empty())
                throw UnknownSubcommand(app, word);
        }
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return Finished(app.exit(e));
    } catch (const CLI::CallForAllHelp& e) {
        return Finished(app.exit(e));
    } catch (const CLI::CallForVersion& e) {
        return Finished(app.exit(e));
    } catch (const CLI::ParseError& e) {
        return Finished(ReportError(UsageError(e, LeftOver(app, argc, argv))));
    } catch (const CliError& e) {
        return Finished(ReportError(e));
    } catch (const std::bad_alloc&) {
        return Finished(ReportError(CliError(kExitRefused, "", Cli::tr("out of memory"))));
    }
    return Finished(context.exitCode);
}
