// SPDX-License-Identifier: GPL-3.0-or-later
// The whole profile export of a 70-tooth gear (module 10, tolerance 0.001 mm):
// profile, file bytes and the safe save, beside writing the same points as
// plain text ("x y" per line) with open, write, fsync and close; and the
// same gear exported as a STEP part (10 mm wide) through the same function,
// and one of 300 teeth.

#include "export/profileexport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

ExportRequest Gear(int teeth = 70)
{
    ExportRequest request;
    request.gear.teeth = teeth;
    request.gear.module = 10.0;
    request.gear.cutter.tipRadius = DefaultToolTipRadius(10.0);
    request.tolerance = 0.001;
    return request;
}

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_ExportProfile(benchmark::State& state)
{
    const ExportRequest request = Gear();
    const std::string path = TempPath(state.range(0) == 0 ? "tsumugi-bench.dxf" : "tsumugi-bench.svg");
    std::size_t points = 0;
    for (auto _ : state)
        points = ExportProfile(request, path).points.size();
    state.counters["points"] = static_cast<double>(points);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExportProfile)->ArgName("svg")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Whatever the STEP path of the export is, measured as a user meets it: the
// profile, the solid, the file bytes and the safe save; for 70 teeth and for
// 300, whose time beside the first shows how it grows with the teeth.
void BM_ExportStep(benchmark::State& state)
{
    const ExportRequest request = Gear(static_cast<int>(state.range(0)));
    const std::string path = TempPath("tsumugi-bench.step");
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportProfile(request, path).points.size());
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExportStep)->ArgName("teeth")->Arg(70)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_PointsAsPlainText(benchmark::State& state)
{
    const ExportRequest request = Gear();
    const GearProfile profile = BuildGearProfile(request.gear, request.tolerance);
    const std::string path = TempPath("tsumugi-bench.txt");
    for (auto _ : state) {
        std::string text;
        char line[64];
        for (const OutlinePoint& p : profile.points)
            text.append(line, static_cast<std::size_t>(std::snprintf(line, sizeof line, "%.9f %.9f\n", p.x, p.y)));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) || ::fsync(fd) != 0) {
            state.SkipWithError("cannot write the text file");
            break;
        }
        ::close(fd);
    }
    state.counters["points"] = static_cast<double>(profile.points.size());
    std::filesystem::remove(path);
}
BENCHMARK(BM_PointsAsPlainText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
