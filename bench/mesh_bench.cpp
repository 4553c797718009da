// SPDX-License-Identifier: GPL-3.0-or-later
// The かみあい drawing: one frame of two 40-tooth gears at 0.001 mm (the pair
// turned on, the overlap found, the view painted) beside a repaint of the
// empty view; a frame of a large pair (m 10, 70 teeth with the record's
// 20-tooth mate) and of a small one (m 1, 12 and 20 teeth), each framed on the
// contact zone and on both gears whole; and the parts of a frame and of a new
// pair on their own.

#include "geometry/internalpair.h"
#include "geometry/mesh.h"
#include "ui/meshview.h"
#include "paintcounter.h"

#include <QApplication>
#include <QEvent>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Asks for a repaint and processes events until it is done.
void Repaint(QWidget& view)
{
    view.update();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

void CheckPainted(benchmark::State& state, const PaintCounter& paints)
{
    if (paints.count < static_cast<int>(state.iterations()))
        state.SkipWithError("the view was not painted on every iteration");
}

MeshInput ExternalPair(double module, int teeth1, int teeth2)
{
    PairInput pair;
    pair.module = module;
    pair.teeth = {teeth1, teeth2};
    pair.shift = {0.0, 0.0};
    MeshInput input = MeshInputOf(ComputePair(pair));
    input.tolerance = 0.001;
    return input;
}

MeshInput FortyForty()
{
    return ExternalPair(3.0, 40, 40);
}

// A 40-tooth pinion in a 120-tooth ring: the ring is drawn whole every frame.
MeshInput FortyInARing()
{
    PairInput pair;
    pair.module = 3.0;
    pair.teeth = {40, 120};
    pair.shift = {0.0, 0.5};
    MeshInput input = MeshInputOf(ComputeInternalPair(pair));
    input.tolerance = 0.001;
    return input;
}

// The profiles are made once per pair; a frame only turns them. The view is
// framed on the contact zone, or on both gears whole when asked.
void MeshFrame(benchmark::State& state, const MeshInput& input, bool whole = false)
{
    MeshView view;
    view.resize(560, 440);
    view.setMesh(std::make_shared<const GearMesh>(input));
    if (whole)
        view.fitAll();
    view.show();
    Repaint(view);
    PaintCounter paints;
    view.installEventFilter(&paints);
    double angle = 0.0;
    for (auto _ : state) {
        angle += 0.05;
        view.setDriveAngle(angle);
        Repaint(view);
    }
    CheckPainted(state, paints);
    state.counters["points"] = static_cast<double>(view.mesh()->body(0).outline.size() + view.mesh()->body(1).outline.size());
}
void BM_MeshFrame(benchmark::State& state) { MeshFrame(state, FortyForty()); }
BENCHMARK(BM_MeshFrame)->Unit(benchmark::kMicrosecond);
void BM_MeshRingFrame(benchmark::State& state) { MeshFrame(state, FortyInARing()); }
BENCHMARK(BM_MeshRingFrame)->Unit(benchmark::kMicrosecond);
void BM_MeshLargePairFrame(benchmark::State& state) { MeshFrame(state, ExternalPair(10.0, 70, 20), state.range(0) != 0); }
BENCHMARK(BM_MeshLargePairFrame)->ArgName("whole")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
void BM_MeshSmallPairFrame(benchmark::State& state) { MeshFrame(state, ExternalPair(1.0, 12, 20), state.range(0) != 0); }
BENCHMARK(BM_MeshSmallPairFrame)->ArgName("whole")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_MeshEmptyRepaint(benchmark::State& state)
{
    MeshView view;
    view.resize(560, 440);
    view.clearMesh(QString());
    view.show();
    Repaint(view);
    PaintCounter paints;
    view.installEventFilter(&paints);
    for (auto _ : state)
        Repaint(view);
    CheckPainted(state, paints);
}
BENCHMARK(BM_MeshEmptyRepaint)->Unit(benchmark::kMicrosecond);

// The core's share of a frame: the overlap of the teeth in the contact zone.
void BM_MeshOverlaps(benchmark::State& state)
{
    const GearMesh mesh(FortyForty());
    double angle = 0.0;
    for (auto _ : state) {
        angle += 0.05;
        benchmark::DoNotOptimize(mesh.OverlapsAt(angle));
    }
}
BENCHMARK(BM_MeshOverlaps)->Unit(benchmark::kMicrosecond);

// A new pair: both profiles built, what every frame would pay without the cache.
void BM_MeshBuild(benchmark::State& state)
{
    const MeshInput input = FortyForty();
    for (auto _ : state)
        benchmark::DoNotOptimize(GearMesh(input));
}
BENCHMARK(BM_MeshBuild)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
