// SPDX-License-Identifier: GPL-3.0-or-later
// tsumugi-cli batch over 100,000 gears, CSV in and CSV out, on one thread and
// on every core, beside the same gears through ComputeGearDimensions alone
// (bench/report.py pairs them).

#include "app/cli/gearoutput.h"
#include "commands/numbertext.h"
#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "geometry/dimensions.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kGears = 100000;

struct Gear {
    double module;
    std::int32_t teeth;
    double shift;
    std::int32_t pressureAngleIndex;
};

// The same 100,000 gears every run: moduli 0.5 to 5, 14 to 70 teeth, shifts -0.3 to 0.8, every tenth at 14.5 degrees.
const std::vector<Gear>& Gears()
{
    static const std::vector<Gear> gears = [] {
        std::vector<Gear> out;
        for (int i = 0; i < kGears; ++i)
            out.push_back({0.5 + 0.25 * (i % 19), 14 + i % 57, -0.3 + 0.05 * (i % 23), i % 10 == 0 ? 0 : 1});
        return out;
    }();
    return gears;
}

const std::string& CsvInput()
{
    static const std::string text = [] {
        std::string csv = "module,teeth,shift,pressure_angle\n";
        for (const Gear& g : Gears()) {
            csv += RoundTripText(g.module) + "," + std::to_string(g.teeth) + "," + RoundTripText(g.shift) + "," +
                   (g.pressureAngleIndex == 0 ? "14.5" : "20") + "\n";
        }
        return csv;
    }();
    return text;
}

void BM_Batch100k(benchmark::State& state)
{
    ResetGearTable();
    const std::string& csv = CsvInput();
    for (auto _ : state) {
        std::istringstream in(csv);
        std::ostringstream out, err;
        const long bad = RunBatch(in, out, err, OutputFormat::Csv, static_cast<unsigned>(state.range(0)));
        if (bad != 0)
            state.SkipWithError("a line was refused");
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_Batch100k)->ArgName("jobs")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ComputeGearDimensions100k(benchmark::State& state)
{
    ResetGearTable();
    const std::vector<Gear>& gears = Gears();
    for (auto _ : state) {
        for (const Gear& g : gears) {
            GearRecord& slot = gearTable[kCurrentSlot];
            slot.Module = g.module;
            slot.Teeth = g.teeth;
            slot.Shift = g.shift;
            slot.PressureAngleIndex = g.pressureAngleIndex;
            ComputeGearDimensions();
            benchmark::DoNotOptimize(slot.TipThickness);
        }
    }
}
BENCHMARK(BM_ComputeGearDimensions100k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
