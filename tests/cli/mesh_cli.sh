#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli pair --picture: the pair in mesh turned through one pitch, read
# back with shapely (mesh_check.py): zero backlash touches and never overlaps
# by more than the chord tolerance, thinned teeth leave the computed play on
# the other flanks, a centre distance too short shows its overlap in red;
# a ring and a rack mesh the same way, and a ring that interferes overlaps.
# rsvg-convert renders the picture; refusals and failed saves write nothing.
source "$(dirname "$0")/lib.sh"
ref=(pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36)

# One pitch of gear 1 (30°) in steps of 1°, at the default 0.001 mm and at 0.01 mm.
for tol in 0.001 0.01; do
    for a in $(seq 0 1 30); do
        "$cli" "${ref[@]}" --tolerance "$tol" --angle "$a" --picture "$work/touch_${tol}_$a.svg" >/dev/null || fail "picture at $a°"
    done
    /usr/bin/python3 "$here/mesh_check.py" "$tol" touch "$work"/touch_"$tol"_*.svg || fail "zero backlash, tolerance $tol"
done

# Thinned teeth: normal backlash -(A1 + A2) cos 20° = 0.13 cos 20°; the upper allowances are drawn.
for a in 0 4 8 12 16 20 24 28; do
    "$cli" "${ref[@]}" --thickness-allowance1 -0.05,-0.1 --thickness-allowance2 -0.08,-0.12 --angle "$a" \
        --picture "$work/gap_$a.svg" >/dev/null || fail "thinned picture at $a°"
done
j=$(/usr/bin/python3 -c 'import math; print(0.13 * math.cos(math.radians(20)))')
/usr/bin/python3 "$here/mesh_check.py" 0.001 "gap:$j" "$work"/gap_*.svg || fail "thinned teeth"

# A centre distance 0.2 mm short: the outlines overlap and the red overlap is that overlap.
for a in 0 7.5 15 22.5; do
    "$cli" "${ref[@]}" --center-distance-allowance 0.1,-0.2 --angle "$a" --picture "$work/over_$a.svg" >/dev/null \
        || fail "tight picture at $a°"
done
/usr/bin/python3 "$here/mesh_check.py" 0.001 overlap "$work"/over_*.svg || fail "overlap"

# A ring and a rack as mates, through one pitch of gear 1: the outlines touch without overlapping.
ring=(pair -m 3 --z1 20 --z2 60 --x1 0 --x2 0.5 --mate internal)
rack=(pair -m 3 --z1 12 --x1 0.6 --mate rack)
for a in $(seq 0 1 18); do
    "$cli" "${ring[@]}" --angle "$a" --picture "$work/ring_$a.svg" >/dev/null || fail "ring picture at $a°"
done
for a in $(seq 0 1.5 30); do
    "$cli" "${rack[@]}" --angle "$a" --picture "$work/rack_$a.svg" >/dev/null || fail "rack picture at $a°"
done
/usr/bin/python3 "$here/mesh_check.py" 0.001 touch "$work"/ring_*.svg || fail "ring"
/usr/bin/python3 "$here/mesh_check.py" 0.001 touch "$work"/rack_*.svg || fail "rack"
[ "$(grep -l '<g id="RACK"' "$work"/rack_*.svg | wc -l)" -eq 21 ] || fail "a rack picture without its RACK group"
# The ring is one path, its rim and its toothed inside filled even-odd; the rack's lines stand for
# its circles, and the rack drawn reaches a pitch beyond gear 1's tip circle at every slide.
ring_path=$(grep -A2 '<g id="GEAR2"' "$work/ring_0.svg" | grep '<path')
[[ $ring_path == *'fill-rule="evenodd"'* ]] && [ "$(grep -o 'Z M' <<<"$ring_path" | wc -l)" -eq 1 ] ||
    fail "the ring is not one even-odd path of two closed parts"
/usr/bin/python3 - "$work"/rack_*.svg <<'PY' || fail "rack extent or lines"
import re, sys, xml.etree.ElementTree as ET
ns = {"s": "http://www.w3.org/2000/svg"}
for name in sys.argv[1:]:
    groups = {g.get("id"): g for g in ET.parse(name).getroot().findall("s:g", ns)}
    ys = [-float(b) for b in re.findall(r"[ML][-\d.]+,([-\d.]+)", groups["RACK"].find("s:path", ns).get("d"))]
    reach = 22.8 + 3 * 3.14159265   # gear 1's tip radius r + (1 + x) m, and a pitch
    if not (min(ys) < -reach and max(ys) > reach):
        sys.exit(f"{name}: the rack spans {min(ys):.3f} to {max(ys):.3f}")
    if [len(groups[g].findall("s:line", ns)) for g in ("PITCH", "WORKING_PITCH", "TIP")] != [1, 1, 1]:
        sys.exit(f"{name}: the rack's reference, working pitch and tip lines are not one line each")
PY
for f in ring_0 rack_0.0; do
    rsvg-convert -o "$work/$f.png" "$work/$f.svg" || fail "rsvg-convert refused $f.svg"
done
# A ring of 10 000 teeth round a pinion of 9 999 (trimmed all round): every tooth is clipped, in a
# bounded time, and the overlap is drawn.
timeout 120 "$cli" pair -m 1 --z1 9999 --z2 10000 --x1 0 --x2 0 --mate internal --picture "$work/huge.svg" >/dev/null ||
    fail "the 9999-tooth pinion in a 10 000-tooth ring"
grep -q '<g id="OVERLAP"' "$work/huge.svg" || fail "the huge ring shows no overlap"

# A ring whose tips reach below the pinion's base circle (the pair's involute interference) overlaps it.
for a in 0 2 4 6 8; do
    "$cli" pair -m 3 --z1 12 --z2 40 --x1 0.3 --x2 0.3 --mate internal --angle "$a" --picture "$work/cut_$a.svg" \
        >/dev/null || fail "interfering ring at $a°"
done
/usr/bin/python3 "$here/mesh_check.py" 0.001 overlap "$work"/cut_*.svg || fail "interfering ring"

# Tip interference is what the generated teeth do (shapely's depth through a pitch): the published
# pair reaches under 0.001 m (14 um) into its ring, a 30/85 pair over 0.001 m, and the pair says so.
published=(pair -m 14 --z1 17 --z2 96 --x1 0.2 --x2 0.5 --mate internal)
deep=(pair -m 1 --z1 30 --z2 85 --x1 0.5 --x2 0.9 --mate internal)
for a in $(seq 0 1.5 21); do
    "$cli" "${published[@]}" --tolerance 0.001 --angle "$a" --picture "$work/pub_$a.svg" >/dev/null || fail "published at $a°"
done
for a in $(seq 0 1 12); do
    "$cli" "${deep[@]}" --tolerance 0.0001 --angle "$a" --picture "$work/deep_$a.svg" >/dev/null || fail "30/85 at $a°"
done
/usr/bin/python3 "$here/mesh_check.py" 0.001 deepest:0.014:below "$work"/pub_*.svg || fail "the published pair"
/usr/bin/python3 "$here/mesh_check.py" 0.0001 deepest:0.001:above "$work"/deep_*.svg || fail "the 30/85 pair"
! "$cli" "${published[@]}" | grep -q '^警告：歯先干渉' || fail "the published pair called interfering"
"$cli" "${deep[@]}" | grep -q '^警告：歯先干渉' || fail "the 30/85 pair not called interfering"
# A huge angle is the angle less whole turns, never NaN.
"$cli" "${ref[@]}" --angle 1e308 --picture "$work/turns.svg" >/dev/null || fail "picture at 1e308°"
"$cli" "${ref[@]}" --angle "$(/usr/bin/python3 -c 'import math; print(repr(math.fmod(1e308, 360)))')" \
    --picture "$work/reduced.svg" >/dev/null && cmp -s "$work/turns.svg" "$work/reduced.svg" &&
    ! grep -qi nan "$work/turns.svg" || fail "the picture at 1e308° is not the picture at 1e308 mod 360"

# The SVG in millimetres as another renderer reads it; the report is the plain pair report.
rsvg-convert -o "$work/touch.png" "$work/touch_0.001_0.svg" || fail "rsvg-convert refused the picture"
[ "$(identify -format '%w' "$work/touch.png")" -ge 400 ] || fail "rendered picture too small"
cmp -s <("$cli" "${ref[@]}" --picture "$work/p.svg") <("$cli" "${ref[@]}") || fail "the picture changed the report"

# Refused pair or picture: exit 1, message, no file; a save that fails: exit 3, nothing left.
"$cli" pair -m 1 --z1 2 --z2 24 --x1 0 --x2 0 --picture "$work/r.svg" >"$work/out" 2>"$work/err"; code=$?
[ $code -eq 1 ] && [ ! -s "$work/out" ] && [ ! -e "$work/r.svg" ] &&
    grep -qxF "tsumugi-cli: refused: 歯車１：歯数は 3 以上 10000 以下にしてください." "$work/err" || fail "refusal: $code $(cat "$work/err")"
"$cli" "${ref[@]}" --picture "$work/none/r.svg" >"$work/out" 2>/dev/null; code=$?
[ $code -eq 3 ] && [ ! -s "$work/out" ] || fail "a picture that cannot be saved exits with $code"
finish
