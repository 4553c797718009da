#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints the benchmark table of one run: every figure beside the baseline
measured in the same run, as medians, with their ratio and the goal where there
is one, under one line saying where and how it was measured (machine, system,
compiler, Qt, build type, repetitions, and the 1-minute load average as each
benchmark program started).

Usage: bench/report.py [--build-type TYPE] RESULT.json...   (Google Benchmark
JSON output, run with --benchmark_repetitions and
--benchmark_report_aggregates_only, all from the same run)
"""

import json
import os
import platform
import re
import subprocess
import sys

# figure label, figure benchmark, baseline label, baseline benchmark, goal
#   goal: None, ("time", ns) for "median under", or ("ratio", r) for "ratio at most"
ROWS = [
    ("ComputeGearDimensions, default gear (18 teeth{rounds})", "BM_ComputeGearDimensions/18",
     "one std::cos of a long double", "BM_CosLongDouble", None),
    ("ComputeGearDimensions, 70 teeth{rounds}", "BM_ComputeGearDimensions/70",
     "one std::cos of a long double", "BM_CosLongDouble", None),
    ("ThicknessAtDiameter on the tip circle, 18 teeth{rounds}", "BM_ThicknessAtDiameter/18",
     "one std::cos of a long double", "BM_CosLongDouble", None),
    ("ThicknessAtDiameter on the tip circle, 70 teeth{rounds}", "BM_ThicknessAtDiameter/70",
     "one std::cos of a long double", "BM_CosLongDouble", None),
    ("RebuildOutline, 18 teeth", "BM_RebuildOutline/18",
     "the same 238 point rotations (RotatePoint)", "BM_PointRotations/18", None),
    ("RebuildOutline, 70 teeth", "BM_RebuildOutline/70",
     "the same 966 point rotations (RotatePoint)", "BM_PointRotations/70", None),
    ("DrawOutline, 70 teeth, 全体, 297 × 305 bitmap", "BM_DrawOutline/view:0",
     "filling the bitmap white", "BM_FillBitmapWhite", None),
    ("DrawOutline, 70 teeth, 拡大", "BM_DrawOutline/view:1",
     "filling the bitmap white", "BM_FillBitmapWhite", None),
    ("DrawOutline, 70 teeth, 最大", "BM_DrawOutline/view:2",
     "filling the bitmap white", "BM_FillBitmapWhite", None),
    ("Calculate command (計算・登録), 18 teeth, painted", "BM_Calculate/teeth:18",
     "repainting the whole window", "BM_RepaintWindow", None),
    ("Calculate command (計算・登録), 70 teeth, painted", "BM_Calculate/teeth:70",
     "repainting the whole window", "BM_RepaintWindow", ("ratio", 0.35)),
    ("Recall of a row (grid click), painted", "BM_RecallRow",
     "repainting the whole window", "BM_RepaintWindow", None),
    ("View switch (表示設定), 70 teeth, painted", "BM_ViewSwitch",
     "repainting the outline view", "BM_RepaintOutlineView", ("time", 0.2e6)),
    ("かみあい drawing, one frame: 2 × 40 teeth, m 3, 0.001 mm, turned, overlap found, 560 × 440 painted",
     "BM_MeshFrame", "repainting the empty view", "BM_MeshEmptyRepaint", ("time", 16e6)),
    ("かみあい drawing, one frame: 70 and 20 teeth, m 10, the contact zone", "BM_MeshLargePairFrame/whole:0",
     "repainting the empty view", "BM_MeshEmptyRepaint", ("time", 16e6)),
    ("かみあい drawing, one frame: 70 and 20 teeth, m 10, both gears whole", "BM_MeshLargePairFrame/whole:1",
     "repainting the empty view", "BM_MeshEmptyRepaint", ("time", 16e6)),
    ("かみあい drawing, one frame: 12 and 20 teeth, m 1, the contact zone", "BM_MeshSmallPairFrame/whole:0",
     "repainting the empty view", "BM_MeshEmptyRepaint", ("time", 16e6)),
    ("かみあい drawing, one frame: 12 and 20 teeth, m 1, both gears whole", "BM_MeshSmallPairFrame/whole:1",
     "repainting the empty view", "BM_MeshEmptyRepaint", ("time", 16e6)),
    ("かみあい drawing, one frame: a 40-tooth pinion in a 120-tooth ring, m 3, 0.001 mm, the ring drawn whole",
     "BM_MeshRingFrame", "repainting the empty view", "BM_MeshEmptyRepaint", ("time", 16e6)),
    ("かみあい drawing, the overlap alone (polygon clipping of the teeth in mesh)", "BM_MeshOverlaps",
     "repainting the empty view", "BM_MeshEmptyRepaint", None),
    ("かみあい drawing, a new pair (both profiles built)", "BM_MeshBuild",
     "repainting the empty view", "BM_MeshEmptyRepaint", None),
    ("tsumugi-cli batch, 100,000 gears, CSV in and CSV out, one thread", "BM_Batch100k/jobs:1",
     "the same gears through ComputeGearDimensions alone", "BM_ComputeGearDimensions100k", ("ratio", 5.0)),
    ("tsumugi-cli batch, 100,000 gears, CSV in and CSV out, every core", "BM_Batch100k/jobs:0",
     "the same batch on one thread", "BM_Batch100k/jobs:1", ("ratio", 0.6)),
    ("Start-up to the first painted main window", "BM_Startup/tsumugi",
     "bare main window, same menu bar", "BM_Startup/bare_window", ("ratio", 1.5)),
    ("Start-up peak memory", "BM_Startup/tsumugi#peak_KiB",
     "bare main window, same menu bar", "BM_Startup/bare_window#peak_KiB", ("ratio", 1.2)),
    ("Saving a gear data file (WriteGearFile)", "BM_WriteGearFile",
     "open, write, fsync, close of 3344 bytes", "BM_PlainWriteFsync", None),
    ("Loading a gear data file (ReadGearFile + LoadGearTableBytes)", "BM_ReadGearFile",
     "open, read, close of 3344 bytes", "BM_PlainRead", None),
    ("Profile export to DXF, 70 teeth, module 10, 0.001 mm (10780 points)", "BM_ExportProfile/svg:0",
     "the same points as plain text, write + fsync", "BM_PointsAsPlainText", None),
    ("Profile export to SVG, 70 teeth, module 10, 0.001 mm (10780 points)", "BM_ExportProfile/svg:1",
     "the same points as plain text, write + fsync", "BM_PointsAsPlainText", None),
    ("Part export to STEP, 70 teeth, module 10, 0.001 mm, 10 mm wide", "BM_ExportStep/teeth:70",
     "the profile export to DXF", "BM_ExportProfile/svg:0", ("time", 1e9)),
    ("Part export to STEP, 300 teeth, module 10, 0.001 mm, 10 mm wide", "BM_ExportStep/teeth:300",
     "the same part of 70 teeth", "BM_ExportStep/teeth:70", ("ratio", 6.0)),
    ("Clipboard text of the full grid (BuildCellsText)", "BM_BuildCellsText",
     "joining the same 105 cell texts", "BM_JoinCells", None),
    ("Table copy to the clipboard (表コピー), window", "BM_TableCopy",
     "building its text from the grid", "BM_GridCellsText", None),
]

TO_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
RUN_SUFFIX = re.compile(r"/(iterations:\d+|repeats:\d+|min_time:[\d.]+|manual_time|real_time)")


def load(paths):
    """Median aggregates by benchmark name: {name: {"ns": ..., counters...}}, and the contexts."""
    medians, contexts, repetitions = {}, [], {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        contexts.append(data.get("context", {}))
        for b in data.get("benchmarks", []):
            if b.get("error_occurred"):
                name = RUN_SUFFIX.sub("", b.get("run_name", b["name"]))
                medians[name] = {"error": b.get("error_message", "error")}
                continue
            if b.get("run_type") != "aggregate" or b.get("aggregate_name") != "median":
                continue
            name = RUN_SUFFIX.sub("", b["run_name"])
            entry = {"ns": b["real_time"] * TO_NS[b["time_unit"]]}
            for key, value in b.items():
                if isinstance(value, (int, float)) and key not in (
                        "real_time", "cpu_time", "iterations", "repetitions", "repetition_index",
                        "threads", "family_index", "per_family_instance_index"):
                    entry[key] = value
            medians[name] = entry
            repetitions[name] = b.get("repetitions")
    return medians, contexts, repetitions


def fmt_time(ns):
    if ns < 1e3:
        return f"{ns:.1f} ns"
    if ns < 1e6:
        return f"{ns / 1e3:.1f} µs"
    if ns < 1e9:
        return f"{ns / 1e6:.2f} ms"
    return f"{ns / 1e9:.2f} s"


def value_of(medians, key):
    """(value, text) of a figure: a time, or a counter written name#counter."""
    name, _, counter = key.partition("#")
    entry = medians.get(name)
    if entry is None:
        return None, "not run"
    if "error" in entry:
        return None, "failed: " + entry["error"]
    if counter:
        kib = entry.get(counter)
        if kib is None:
            return None, "not measured"
        return kib, f"{kib / 1024:.1f} MiB"
    return entry["ns"], fmt_time(entry["ns"])


def machine_line(contexts, build_type, repetitions):
    """The run's one line: CPU and cores, system, compiler, Qt, build type,
    repetitions, and each program's 1-minute load average as it started."""
    model, cores = platform.processor() or "unknown CPU", None
    try:
        out = subprocess.run(["lscpu"], capture_output=True, text=True, check=True).stdout
        for line in out.splitlines():
            key, _, value = line.partition(":")
            if key.strip() == "Model name":
                model = value.strip()
            elif key.strip() == "CPU(s)":
                cores = value.strip()
    except (OSError, subprocess.CalledProcessError):
        pass
    parts = [model + (f", {cores} cores" if cores else "")]
    try:
        with open("/etc/os-release", encoding="utf-8") as f:
            os_name = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line).get("PRETTY_NAME", "")
        parts.append(os_name.strip('"'))
    except OSError:
        pass
    for command, label in ((["g++", "-dumpfullversion"], "g++ "), (["pkg-config", "--modversion", "Qt6Core"], "Qt ")):
        try:
            parts.append(label + subprocess.run(command, capture_output=True, text=True, check=True).stdout.strip())
        except (OSError, subprocess.CalledProcessError):
            pass
    parts.append(f"{build_type} build")
    startup = repetitions.get("BM_Startup/tsumugi")
    others = sorted({r for name, r in repetitions.items() if r and not name.startswith("BM_Startup/")})
    parts.append(f"medians of {' / '.join(str(r) for r in others) or '?'} repetitions"
                 + (f" (start-up: of {startup} runs of each program, in random order)" if startup else ""))
    loads = [f"{os.path.basename(c.get('executable', '?'))} {c['load_avg'][0]:.2f}"
             for c in contexts if c.get("load_avg")]
    if loads:
        parts.append("1-minute load average as each benchmark program started: " + ", ".join(loads))
    return "; ".join(parts)


def main(args):
    build_type = "Release"
    if len(args) >= 2 and args[0] == "--build-type":
        build_type, args = args[1], args[2:]
    medians, contexts, repetitions = load(args)
    print(f"Machine: {machine_line(contexts, build_type, repetitions)}.")
    print()
    print("Wall-clock medians; windows on the offscreen platform; every row from this run.")
    print()
    print("| figure | median | baseline | median | ratio | goal |")
    print("| --- | ---: | --- | ---: | ---: | --- |")
    missed = 0
    for label, figure, base_label, base, goal in ROWS:
        value, text = value_of(medians, figure)
        base_value, base_text = value_of(medians, base)
        rounds = medians.get(figure, {}).get("solver_rounds")
        label = label.format(rounds=f", {rounds:.0f} solver rounds" if rounds else "")
        ratio = value / base_value if value is not None and base_value else None
        ratio_text = f"{ratio:.2f}×" if ratio is not None else "–"
        goal_text = ""
        if goal:
            kind, limit = goal
            if kind == "time":
                met = value is not None and value < limit
                goal_text = f"under {fmt_time(limit)}: " + ("met" if met else "**missed**")
            else:
                met = ratio is not None and ratio <= limit
                goal_text = f"ratio ≤ {limit}×: " + ("met" if met else "**missed**")
            missed += 0 if met else 1
        print(f"| {label} | {text} | {base_label} | {base_text} | {ratio_text} | {goal_text} |")
    print()
    print("All goals met." if missed == 0 else f"{missed} goal(s) missed.")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1:])
