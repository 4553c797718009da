#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli export: files read back by independent readers, refused gears,
# and a save cut off by a file size limit that leaves the old file whole.
source "$(dirname "$0")/lib.sh"
dir=$work
bad() { fail "$@"; }

# module teeth shift pressure-angle bore tip-diameter root-diameter
while read -r m z x pa bore tip root; do
    for ext in dxf svg; do
        "$cli" export -m "$m" -z "$z" -x "$x" --pressure-angle "$pa" --bore "$bore" -o "$dir/g.$ext" >"$dir/out.$ext" \
            || bad "export -m $m -z $z -x $x -o g.$ext"
    done
    cmp -s "$dir/out.dxf" <(sed 's/g\.svg/g.dxf/' "$dir/out.svg") || bad "the two formats report different profiles"
    /usr/bin/python3 "$here/profile_check.py" "$dir/g.dxf" "$dir/g.svg" "$tip" "$root" "$bore" || bad "readers, m $m z $z x $x"
done <<'GEARS'
2 20 0 20 10 44 35
1 12 0 20 0 14 9.5
3 40 0.5 14.5 30 129 115.5
GEARS
grep -qx 'involute_start_diameter_mm	37.640133' <("$cli" export -m 2 -z 20 -o "$dir/a.dxf") || bad "involute start of m2 z20"

# Refusals: message, exit code 1, no file.
while IFS='|' read -r args message; do
    # shellcheck disable=SC2086
    "$cli" export $args -o "$dir/r.dxf" >/dev/null 2>"$dir/err"; code=$?
    [ $code -eq 1 ] && grep -qF "$message" "$dir/err" && [ ! -e "$dir/r.dxf" ] || bad "refusal of $args: $code $(cat "$dir/err")"
done <<'REFUSED'
-m 1 -z 12 -x 2|歯先の歯厚が 0 以下で歯が交差するため、歯形を作れません
-m 1 -z 20 --tolerance 0|許容差は 0.00001 mm 以上 1 mm 以下にしてください
-m 1 -z 20 --tip-radius 0.6|工具の歯先丸み半径は 0 以上で、ラックの歯に収まる大きさにしてください
-m 1 -z 20 --bore 17.5|穴径は 0 以上で、歯底円直径より小さくしてください
REFUSED
"$cli" export -m 1 -z 20 -o "$dir/g.png" 2>/dev/null; [ $? -eq 2 ] || bad "a .png name is not refused"

# Outlines too long for one XML attribute (16 MB of path data), read by libxml2 through
# rsvg-convert and checked piece by piece against the DXF and by shapely.
"$cli" export -m 1 -z 10000 -o "$dir/e.svg" >/dev/null && "$cli" export -m 1 -z 10000 -o "$dir/e.dxf" >/dev/null &&
    rsvg-convert -w 500 -h 500 -o "$dir/e.png" "$dir/e.svg" && /usr/bin/python3 "$here/longpath_check.py" "$dir/e.svg" GEAR "$dir/e.dxf" ||
    bad "a 10,000-tooth gear's SVG"
"$cli" pair -m 1 --z1 20 --z2 10000 --x1 0 --x2 0 --mate internal --picture "$dir/p.svg" >/dev/null &&
    rsvg-convert -w 500 -h 500 -o "$dir/p.png" "$dir/p.svg" && /usr/bin/python3 "$here/longpath_check.py" "$dir/p.svg" GEAR2 ||
    bad "a 10,000-tooth ring's picture"

# A long file name is reported whole, each key on its own line.
long=$dir/$(printf 'd%.0s' {1..250})/$(printf 'e%.0s' {1..250})/$(printf 'f%.0s' {1..250})/$(printf 'g%.0s' {1..250})
mkdir -p "$long"
for args in "-z 20 -o $long/g.dxf" "-z 60 --internal -o $long/r.dxf" "--rack --length 20 -o $long/k.svg"; do
    # shellcheck disable=SC2086
    "$cli" export -m 2 $args >"$dir/out" || bad "export $args"
    [ "$(head -1 "$dir/out")" = "file	${args##* }" ] && [ "$(sed -n 2p "$dir/out" | cut -f1)" = points ] ||
        bad "the report of a long name: $(head -c 300 "$dir/out")"
done

# A save that the file size limit cuts off (killed by SIGXFSZ, or refused when
# the signal is ignored) leaves the old file as it was.
"$cli" export -m 1 -z 20 -o "$dir/old.dxf" >/dev/null && cp "$dir/old.dxf" "$dir/copy.dxf"
{ (ulimit -f 16; "$cli" export -m 10 -z 70 -o "$dir/old.dxf") >/dev/null 2>&1; } 2>/dev/null && bad "the cut-off save succeeded"
cmp -s "$dir/old.dxf" "$dir/copy.dxf" || bad "a killed save changed the old file"
(trap '' XFSZ; ulimit -f 16; "$cli" export -m 10 -z 70 -o "$dir/old.dxf") >/dev/null 2>&1; code=$?
[ $code -eq 3 ] || bad "a failed write exits with $code, not 3"
cmp -s "$dir/old.dxf" "$dir/copy.dxf" || bad "a failed write changed the old file"
[ "$(ls "$dir" | grep -c old)" -eq 1 ] || bad "a failed save left files behind: $(ls "$dir")"
finish
