#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli pair --picture: the pair in mesh turned through one pitch, read
# back with shapely (mesh_check.py): zero backlash touches and never overlaps
# by more than the chord tolerance, thinned teeth leave the computed play on
# the other flanks, a centre distance too short shows its overlap in red;
# a ring and a rack mesh the same way, and a ring that interferes overlaps.
# rsvg-convert renders the picture; refusals and failed saves write nothing.
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }
ref=(pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36)

# One pitch of gear 1 (30°) in steps of 1°, at the default 0.001 mm and at 0.01 mm.
for tol in 0.001 0.01; do
    for a in $(seq 0 1 30); do
        "$cli" "${ref[@]}" --tolerance "$tol" --angle "$a" --picture "$dir/touch_${tol}_$a.svg" >/dev/null || bad "picture at $a°"
    done
    /usr/bin/python3 "$here/mesh_check.py" "$tol" touch "$dir"/touch_"$tol"_*.svg || bad "zero backlash, tolerance $tol"
done

# Thinned teeth: normal backlash -(A1 + A2) cos 20° = 0.13 cos 20°; the upper allowances are drawn.
for a in 0 4 8 12 16 20 24 28; do
    "$cli" "${ref[@]}" --thickness-allowance1 -0.05,-0.1 --thickness-allowance2 -0.08,-0.12 --angle "$a" \
        --picture "$dir/gap_$a.svg" >/dev/null || bad "thinned picture at $a°"
done
j=$(/usr/bin/python3 -c 'import math; print(0.13 * math.cos(math.radians(20)))')
/usr/bin/python3 "$here/mesh_check.py" 0.001 "gap:$j" "$dir"/gap_*.svg || bad "thinned teeth"

# A centre distance 0.2 mm short: the outlines overlap and the red overlap is that overlap.
for a in 0 7.5 15 22.5; do
    "$cli" "${ref[@]}" --center-distance-allowance 0.1,-0.2 --angle "$a" --picture "$dir/over_$a.svg" >/dev/null \
        || bad "tight picture at $a°"
done
/usr/bin/python3 "$here/mesh_check.py" 0.001 overlap "$dir"/over_*.svg || bad "overlap"

# A ring and a rack as mates, through one pitch of gear 1: the outlines touch without overlapping.
ring=(pair -m 3 --z1 20 --z2 60 --x1 0 --x2 0.5 --mate internal)
rack=(pair -m 3 --z1 12 --x1 0.6 --mate rack)
for a in $(seq 0 1 18); do
    "$cli" "${ring[@]}" --angle "$a" --picture "$dir/ring_$a.svg" >/dev/null || bad "ring picture at $a°"
done
for a in $(seq 0 1.5 30); do
    "$cli" "${rack[@]}" --angle "$a" --picture "$dir/rack_$a.svg" >/dev/null || bad "rack picture at $a°"
done
/usr/bin/python3 "$here/mesh_check.py" 0.001 touch "$dir"/ring_*.svg || bad "ring"
/usr/bin/python3 "$here/mesh_check.py" 0.001 touch "$dir"/rack_*.svg || bad "rack"
[ "$(grep -l '<g id="RACK"' "$dir"/rack_*.svg | wc -l)" -eq 21 ] || bad "a rack picture without its RACK group"
# A ring whose tips reach below the pinion's base circle (the pair's involute interference) overlaps it.
for a in 0 2 4 6 8; do
    "$cli" pair -m 3 --z1 12 --z2 40 --x1 0.3 --x2 0.3 --mate internal --angle "$a" --picture "$dir/cut_$a.svg" \
        >/dev/null || bad "interfering ring at $a°"
done
/usr/bin/python3 "$here/mesh_check.py" 0.001 overlap "$dir"/cut_*.svg || bad "interfering ring"

# The SVG in millimetres as another renderer reads it; the report is the plain pair report.
rsvg-convert -o "$dir/touch.png" "$dir/touch_0.001_0.svg" || bad "rsvg-convert refused the picture"
[ "$(identify -format '%w' "$dir/touch.png")" -ge 400 ] || bad "rendered picture too small"
cmp -s <("$cli" "${ref[@]}" --picture "$dir/p.svg") <("$cli" "${ref[@]}") || bad "the picture changed the report"

# Refused pair or picture: exit 1, message, no file; a save that fails: exit 3, nothing left.
"$cli" pair -m 1 --z1 2 --z2 24 --x1 0 --x2 0 --picture "$dir/r.svg" >"$dir/out" 2>"$dir/err"; code=$?
[ $code -eq 1 ] && [ ! -s "$dir/out" ] && [ ! -e "$dir/r.svg" ] &&
    grep -qxF "tsumugi-cli: refused: 歯車１：歯数は 3 以上 10000 以下にしてください." "$dir/err" || bad "refusal: $code $(cat "$dir/err")"
"$cli" "${ref[@]}" --picture "$dir/none/r.svg" >"$dir/out" 2>/dev/null; code=$?
[ $code -eq 3 ] && [ ! -s "$dir/out" ] || bad "a picture that cannot be saved exits with $code"
exit $fail
