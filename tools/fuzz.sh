#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz, replays the seed corpus in
# fuzz/corpus, then fuzzes each target for a bounded time. Any crash, sanitizer
# report, failed check, leak or input that runs longer than 5 s fails the run;
# the input is kept in build-fuzz/artifacts. The seed corpus is not changed:
# new inputs go to a scratch copy.
# Usage: tools/fuzz.sh [seconds per target]   (default 30, or $TSUMUGI_FUZZ_SECONDS)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${TSUMUGI_FUZZ_SECONDS:-30}}
jobs=$(nproc)

cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTSUMUGI_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$jobs"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p build-fuzz/artifacts build-fuzz/logs

# The committed seeds are the files make_seeds writes (names and lengths; the
# computed doubles inside may differ in the last bit between maths libraries).
build-fuzz/make_seeds "$scratch/seeds"
listing() { (cd "$1" && find . -type f -printf '%p %s\n' | LC_ALL=C sort); }
if ! diff <(listing fuzz/corpus) <(listing "$scratch/seeds"); then
    echo "fuzz/corpus is not what build-fuzz/make_seeds writes: regenerate it with" >&2
    echo "  rm -r fuzz/corpus && build-fuzz/make_seeds fuzz/corpus" >&2
    exit 1
fi

status=0
run() {
    local target=$1 max_len=$2
    local log=build-fuzz/logs/$target.log
    local seeds=fuzz/corpus/${target%_fuzz}
    local work=$scratch/$target
    local options=(-timeout=5 -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1
                   -artifact_prefix="$PWD/build-fuzz/artifacts/$target-")
    mkdir -p "$work"

    if ! "build-fuzz/$target" "${options[@]}" -runs=0 "$seeds" >"$log.replay" 2>&1; then
        echo "$target: the seed corpus fails; see $log.replay and build-fuzz/artifacts" >&2
        tail -n 30 "$log.replay" >&2
        status=1
        return
    fi
    if ! "build-fuzz/$target" "${options[@]}" -max_total_time="$seconds" "$work" "$seeds" >"$log" 2>&1; then
        echo "$target: fuzzing found a failure; see $log and build-fuzz/artifacts" >&2
        grep -v -E '^#[0-9]+ +(NEW|REDUCE|pulse)' "$log" | tail -n 40 >&2
        status=1
        return
    fi
    local runs seeds_count found
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    seeds_count=$(find "$seeds" -type f | wc -l)
    found=$(find "$work" -type f | wc -l)
    echo "$target: $runs inputs in ${seconds} s, no failure ($seeds_count seeds replayed, $found new inputs kept in scratch)"
}

run gearfile_fuzz 4000
run text_fuzz 128
run geometry_fuzz 80
exit $status
