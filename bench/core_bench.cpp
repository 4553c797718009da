// SPDX-License-Identifier: GPL-3.0-or-later
// Core figures, each beside the baseline it is read against (bench/report.py
// pairs them):
//   ComputeGearDimensions, ThicknessAtDiameter  vs  one std::cos of a long double
//   RebuildOutline                              vs  the same count of point rotations
//   DrawOutline into the 297 x 305 bitmap       vs  filling that bitmap white
//   saving / loading a gear data file           vs  plain write+fsync / read of 3344 bytes
//   the clipboard text of the whole grid        vs  joining the same 105 cell texts
// The gears: the default gear (module 1, 18 teeth, shift 0) and the same gear
// with 70 teeth.

#include "tests/support/globalstate.h"
#include "geardata/gearfile.h"
#include "geardata/gearrecord.h"
#include "geardata/tableops.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"
#include "geometry/outline.h"
#include "ui/imagebox.h"
#include "commands/celltext.h"
#include "commands/numbertext.h"
#include "commands/outlineview.h"
#include "commands/rowtexts.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <numbers>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Slot 0 holds the default gear with the given tooth count, computed, and its outline.
void SetCurrentGear(std::int32_t teeth)
{
    ResetGearTable();
    gearTable[kCurrentSlot].Teeth = teeth;
    ComputeGearDimensions();
    RebuildOutline();
}

// ---- the solver's floor

void BM_CosLongDouble(benchmark::State& state)
{
    long double t = 0.7L;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t);
        long double c = std::cos(t);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_CosLongDouble);

// How many rounds the false-position search takes for the tip circle of the current gear.
int SolverRounds()
{
    const GearRecord& g = gearTable[kCurrentSlot];
    ThicknessAtDiameter(g.Teeth, g.Module, g.Shift, g.TipDiameter);   // sets SolveTarget
    double root = 0;
    int rounds = 0;
    FalsePositionSolve(root, 0.0, 1.5707963267948966, 1e-6, &rounds);
    return rounds;
}

void BM_ComputeGearDimensions(benchmark::State& state)
{
    SetCurrentGear(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        ComputeGearDimensions();
        benchmark::ClobberMemory();
    }
    state.counters["solver_rounds"] = SolverRounds();
}
BENCHMARK(BM_ComputeGearDimensions)->Arg(18)->Arg(70);

void BM_ThicknessAtDiameter(benchmark::State& state)
{
    SetCurrentGear(static_cast<std::int32_t>(state.range(0)));
    const GearRecord g = gearTable[kCurrentSlot];
    for (auto _ : state) {
        double s = ThicknessAtDiameter(g.Teeth, g.Module, g.Shift, g.TipDiameter);
        benchmark::DoNotOptimize(s);
    }
    state.counters["solver_rounds"] = SolverRounds();
}
BENCHMARK(BM_ThicknessAtDiameter)->Arg(18)->Arg(70);

// ---- the outline

void BM_RebuildOutline(benchmark::State& state)
{
    SetCurrentGear(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        RebuildOutline();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RebuildOutline)->Arg(18)->Arg(70);

// The rotations RebuildOutline makes: the 14 points of tooth 0 into each other tooth.
void BM_PointRotations(benchmark::State& state)
{
    const auto teeth = static_cast<std::int32_t>(state.range(0));
    SetCurrentGear(teeth);
    OutlineBuffer out{};
    const double delta = 2 * std::numbers::pi / teeth;
    for (auto _ : state) {
        for (std::int32_t k = 1; k < teeth; ++k)
            for (int j = 0; j < kPointsPerTooth; ++j) {
                OutlinePoint& p = out[static_cast<std::size_t>(kPointsPerTooth * k + j)];
                RotatePoint(GearOutline[j].x, GearOutline[j].y, k * delta, p.x, p.y);
            }
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.counters["rotations"] = kPointsPerTooth * (teeth - 1);
}
BENCHMARK(BM_PointRotations)->Arg(18)->Arg(70);

// ---- the drawing

void BM_DrawOutline(benchmark::State& state)
{
    const int view = static_cast<int>(state.range(0));
    SetCurrentGear(70);
    QImage image(ImageBox::kWidth, ImageBox::kHeight, QImage::Format_RGB32);
    ImageSurface surface(image);
    const ViewWindow window = ChooseViewWindow(view, gearTable[kCurrentSlot]);
    const std::int32_t last = kPointsPerTooth * 70 - 1;
    for (auto _ : state) {
        DrawOutline(surface, DisplayOutline.data(), last, window.cx, window.cy, window.wx, window.wy);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawOutline)->ArgName("view")->Arg(0)->Arg(1)->Arg(2);

void BM_FillBitmapWhite(benchmark::State& state)
{
    QImage image(ImageBox::kWidth, ImageBox::kHeight, QImage::Format_RGB32);
    ImageSurface surface(image);
    for (auto _ : state) {
        surface.FillRect(0, 0, surface.Width(), surface.Height(), kWhite);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillBitmapWhite);

// ---- the gear data file, in a folder under the working directory (the disk
// a user saves to, not a memory file system)

std::string FilePath(const char* name)
{
    static const std::filesystem::path dir = [] {
        std::filesystem::path d = std::filesystem::current_path() / "bench-files";
        std::filesystem::create_directories(d);
        return d;
    }();
    return (dir / name).string();
}

void BM_WriteGearFile(benchmark::State& state)
{
    SetCurrentGear(18);
    const std::string path = FilePath("table.hgd");
    for (auto _ : state)
        WriteGearFile(path);
}
BENCHMARK(BM_WriteGearFile);

void BM_PlainWriteFsync(benchmark::State& state)
{
    SetCurrentGear(18);
    const std::string path = FilePath("plain.hgd");
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, GearTableBytes(), kGearTableBytes) != static_cast<ssize_t>(kGearTableBytes) ||
            ::fsync(fd) != 0) {
            state.SkipWithError("plain write failed");
            break;
        }
        ::close(fd);
    }
}
BENCHMARK(BM_PlainWriteFsync);

void BM_ReadGearFile(benchmark::State& state)
{
    SetCurrentGear(18);
    const std::string path = FilePath("table.hgd");
    WriteGearFile(path);
    for (auto _ : state) {
        LoadGearTableBytes(ReadGearFile(path));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReadGearFile);

void BM_PlainRead(benchmark::State& state)
{
    SetCurrentGear(18);
    const std::string path = FilePath("table.hgd");
    WriteGearFile(path);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::read(fd, GearTableBytes(), kGearTableBytes) != static_cast<ssize_t>(kGearTableBytes)) {
            state.SkipWithError("plain read failed");
            break;
        }
        ::close(fd);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainRead);

// ---- the clipboard text of a full grid: headers, row numbers and 20 gears

std::vector<std::string> FullGridCells()
{
    constexpr int kCols = 5;
    constexpr int kRows = 21;
    std::vector<std::string> cells(kCols * kRows);
    auto at = [&](int col, int row) -> std::string& { return cells[static_cast<std::size_t>(row * kCols + col)]; };
    at(1, 0) = "ﾓｼﾞｭｰﾙ";
    at(2, 0) = "歯数";
    at(3, 0) = "転位係数";
    at(4, 0) = "歯先円";
    ResetGearTable();
    RegisteredCount = 0;
    for (int i = 0; i < 20; ++i) {
        GearRecord& g = gearTable[kCurrentSlot];
        g.Teeth = 12 + 3 * i;
        g.Shift = 0.05 * i;
        ComputeGearDimensions();
        RegisterSlots();
    }
    for (int row = 1; row < kRows; ++row) {
        const RowTexts texts = FormatRowTexts(gearTable[row], ".");
        at(0, row) = FormatInteger(row);
        at(1, row) = texts.module;
        at(2, row) = texts.teeth;
        at(3, row) = texts.shift;
        at(4, row) = texts.tip;
    }
    return cells;
}

void BM_BuildCellsText(benchmark::State& state)
{
    const std::vector<std::string> cells = FullGridCells();
    for (auto _ : state) {
        // The table copy's rectangle: (0, 0) to (11, 11), the whole grid.
        std::string text = BuildCellsText(
            [&cells](int col, int row) { return cells[static_cast<std::size_t>(row * 5 + col)]; }, 5, 21, 0, 0, 11, 11);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_BuildCellsText);

void BM_JoinCells(benchmark::State& state)
{
    const std::vector<std::string> cells = FullGridCells();
    for (auto _ : state) {
        std::string text;
        for (int row = 0; row < 21; ++row)
            for (int col = 0; col < 5; ++col) {
                text += cells[static_cast<std::size_t>(row * 5 + col)];
                text += col < 4 ? "\t" : "\r\n";
            }
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_JoinCells);

}  // namespace

BENCHMARK_MAIN();
