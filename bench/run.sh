#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks in Release into build-bench/, runs every figure with
# its baseline and prints the table (Markdown) on standard output: every row
# from this run's results alone (the results of earlier runs are removed
# first), under a line naming the machine, the build and the load average as
# each program started. The raw results stay in build-bench/results/ (JSON,
# and the console tables).
#
# Usage: bench/run.sh [REPETITIONS]   (default 10; the start-up figures always take 30 runs each)
# Benchmarks only: they never fail on a missed goal, and are no part of ./test.
set -euo pipefail
cd "$(dirname "$0")/.."

reps=${1:-10}

tools/packages.sh build >&2
if ! dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q 'install ok installed'; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends libbenchmark-dev >/dev/null
fi

echo "== build (Release, build-bench/)" >&2
cmake -S bench -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTSUMUGI_WERROR=ON >/dev/null
cmake --build build-bench -j "$(nproc)" >&2

export QT_QPA_PLATFORM=offscreen
export LC_ALL=C.UTF-8
results=build-bench/results
mkdir -p "$results"
rm -f "$results"/*.json "$results"/*.txt

run() {   # name, then the benchmark's own arguments
    local name=$1
    shift
    echo "== $name" >&2
    (cd build-bench && "./$name" --benchmark_out="results/$name.json" --benchmark_out_format=json \
        --benchmark_report_aggregates_only=true "$@") >"$results/$name.txt"
}

run bench_core --benchmark_repetitions="$reps" --benchmark_min_time=0.2
run bench_window --benchmark_repetitions="$reps" --benchmark_min_time=0.2
run bench_export --benchmark_repetitions="$reps" --benchmark_min_time=0.2
run bench_mesh --benchmark_repetitions="$reps" --benchmark_min_time=0.2
run bench_cli --benchmark_repetitions="$reps"
# The two start-up programs' runs in random order, so both share whatever the machine is doing.
run bench_startup --benchmark_enable_random_interleaving=true

build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' build-bench/CMakeCache.txt)
python3 bench/report.py --build-type "${build_type:-unknown}" "$results"/bench_core.json "$results"/bench_window.json "$results"/bench_export.json "$results"/bench_mesh.json \
    "$results"/bench_cli.json "$results"/bench_startup.json
