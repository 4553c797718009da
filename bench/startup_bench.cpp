// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the time from process start to the first painted main window, and
// the peak memory of the process, for the program (startup_tsumugi) and for a
// bare main window with the same menu bar (startup_bare). Each repetition
// starts one program once; run with --benchmark_enable_random_interleaving so
// the two programs' runs alternate and share whatever the machine is doing.
//
// The clock starts just before fork(); the program prints the CLOCK_MONOTONIC
// time of its first flushed paint. Peak memory is the child's ru_maxrss from
// wait4(). The programs run offscreen unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ProgramBeside(const char* name)
{
    char self[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string("./x");
    dir.erase(dir.find_last_of('/') + 1);
    return dir + name;
}

long long NowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct StartupRun {
    bool ok = false;
    std::string error;
    double toFirstPaint = 0;   // seconds
    double toExit = 0;         // seconds
    long peakKiB = 0;
};

StartupRun RunOnce(const std::string& program)
{
    StartupRun run;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        run.error = "pipe failed";
        return run;
    }
    const long long start = NowNs();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        // The toolkit's notes about the offscreen platform are of no interest here.
        const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (devNull >= 0)
            ::dup2(devNull, STDERR_FILENO);
        char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
        ::execv(program.c_str(), argv);
        std::_Exit(127);
    }
    ::close(pipeFds[1]);
    if (pid < 0) {
        ::close(pipeFds[0]);
        run.error = "fork failed";
        return run;
    }

    std::string out;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);

    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const long long end = NowNs();

    long long painted = 0;
    const auto at = out.find("painted ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos ||
        std::sscanf(out.c_str() + at, "painted %lld", &painted) != 1) {
        run.error = program + ": no painted window (exit status " + std::to_string(status) + ")";
        return run;
    }
    run.ok = true;
    run.toFirstPaint = static_cast<double>(painted - start) * 1e-9;
    run.toExit = static_cast<double>(end - start) * 1e-9;
    run.peakKiB = usage.ru_maxrss;
    return run;
}

void BM_Startup(benchmark::State& state, const char* programName)
{
    const std::string program = ProgramBeside(programName);
    double peak = 0;
    double toExit = 0;
    for (auto _ : state) {
        const StartupRun run = RunOnce(program);
        if (!run.ok) {
            state.SkipWithError(run.error.c_str());
            break;
        }
        state.SetIterationTime(run.toFirstPaint);
        peak += static_cast<double>(run.peakKiB);
        toExit += run.toExit;
    }
    state.counters["peak_KiB"] = benchmark::Counter(peak, benchmark::Counter::kAvgIterations);
    state.counters["to_exit_ms"] = benchmark::Counter(toExit * 1e3, benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Startup, tsumugi, "startup_tsumugi")
    ->UseManualTime()->Iterations(1)->Repetitions(30)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Startup, bare_window, "startup_bare")
    ->UseManualTime()->Iterations(1)->Repetitions(30)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
