#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli export of the part (STL, 3MF, STEP) and of a cutter's drawing
# (DXF, SVG with kerf and note), read back by independent readers; refusals.
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }

# m z x allowance b bore keyway-width keyway-t2 hub-diameter hub-length
while read -r m z x a b bore kw kt hd hl; do
    args=(-m "$m" -z "$z" -x "$x" --thickness-allowance "$a" --bore "$bore")
    [ "$kw" != 0 ] && args+=(--keyway)
    part=("${args[@]}" --face-width "$b")
    [ "$hd" != 0 ] && part+=(--hub-diameter "$hd" --hub-length "$hl")
    for ext in stl 3mf step; do
        "$cli" export "${part[@]}" -o "$dir/p.$ext" >"$dir/out.$ext" && [ -s "$dir/p.$ext" ] || bad "export ${part[*]} -o p.$ext"
    done
    grep -q "^volume_mm3" "$dir/out.stl" || bad "no volume reported"
    cmp -s "$dir/out.stl" <(sed 's/p\.3mf/p.stl/' "$dir/out.3mf") || bad "STL and 3MF report different parts"
    "$cli" export "${args[@]}" -o "$dir/p.dxf" >/dev/null || bad "export ${args[*]} -o p.dxf"
    /usr/bin/python3 "$here/part_check.py" "$dir/p.stl" "$dir/p.dxf" "$m" "$z" "$x" "$a" "$b" "$bore" "$kw" "$kt" "$hd" "$hl" \
        || bad "readers, ${part[*]}"
    [ "$(head -c 5 "$dir/p.step")" = "ISO-1" ] && grep -aq "AUTOMOTIVE_DESIGN" "$dir/p.step" || bad "not a STEP AP214 file"
    [ "$(head -c 2 "$dir/p.3mf")" = "PK" ] || bad "not a 3MF package"
done <<'PARTS'
2 20 0 0 10 10 3 1.4 0 0
2 20 0 -0.1 10 10 3 1.4 20 6
3 40 0.5 -0.2 25 30 8 3.3 60 15
1 12 0 0 5 0 0 0 6 2
2 20 0 0 0.0044 0 0 0 20 0.0044
2 20 0 0 100000 0 0 0 24 10.01
PARTS

# A cutter's drawing: the kerf moves the cut paths out, the note says what it is.
# tip root kerf note-words
while read -r args tip root kerf words; do
    # shellcheck disable=SC2086
    for ext in dxf svg; do
        "$cli" export ${args//,/ } -o "$dir/c.$ext" >/dev/null || bad "export $args -o c.$ext"
    done
    /usr/bin/python3 "$here/cutter_check.py" "$dir/c.dxf" "$dir/c.svg" "$tip" "$root" "$kerf" "$words" || bad "drawing $args"
done <<'DRAWINGS'
-m,2,-z,20 44 35 0 -
-m,2,-z,20,--bore,10,--keyway,--kerf,0.2,--thickness-allowance,-0.1,--note 44 34.72526 0.2 m 2  z 20  x 0  alpha 20%%d|allowance -0.1 mm|kerf 0.2 mm: cut paths offset 0.1 mm outward
-m,5,-z,31,-x,0.25,--pressure-angle,14.5,--note 167.5 145 0 m 5  z 31  x 0.25  alpha 14.5%%d|allowance 0 mm
DRAWINGS

# Refusals: exit code 1 (2 for usage), the message, no file.
while IFS='|' read -r code args message; do
    # shellcheck disable=SC2086
    "$cli" export $args -o "$dir/r.stl" >/dev/null 2>"$dir/err"; got=$?
    [ $got -eq "$code" ] && grep -qF -- "$message" "$dir/err" && [ ! -e "$dir/r.stl" ] || bad "refusal of $args: $got $(cat "$dir/err")"
done <<'REFUSED'
1|-m 2 -z 20 --bore 5 --keyway|キー溝は穴径 6 mm 以上 500 mm 以下の穴に付けられます
1|-m 2 -z 20 --bore 30 --keyway|穴とキー溝が歯底円に届きます。穴を小さくしてください
1|-m 2 -z 20 --hub-diameter 20 --hub-length 1e-7|ハブの長さ 1e-07 mm は部品に対して小さすぎます
1|-m 2 -z 20 --face-width 100000 --hub-diameter 20 --hub-length 0.001|ハブの長さ 0.001 mm は部品に対して小さすぎます
1|-m 2 -z 20 --bore 1e-9|穴径 1e-09 mm は部品に対して小さすぎます
1|-m 2 -z 20 --bore 10 --hub-diameter 36 --hub-length 5|ハブの直径は穴とキー溝より大きく、歯底円直径より小さくしてください
1|-m 2 -z 20 --face-width 0|歯幅は 0 より大きく 100000 mm 以下にしてください
1|-m 1000 -z 101 --tolerance 1|歯幅 10 mm は部品に対して小さすぎます
1|-m 2 -z 20 --thickness-allowance -3|歯形を作れません
2|-m 2 -z 20 --keyway|--keyway requires --bore
2|-m 2 -z 20 --hub-diameter 20|--hub-diameter requires --hub-length
REFUSED
# A drawing has no face width: a gear of 103 m, whose part the default face
# width is too thin for (above), is drawn.
for f in dxf svg; do
    "$cli" export -m 1000 -z 101 --tolerance 1 -o "$dir/h.$f" >/dev/null 2>"$dir/err" && [ -s "$dir/h.$f" ] ||
        bad "the drawing of a 103 m gear as $f: $(cat "$dir/err")"
done
"$cli" export -m 2 -z 20 --bore 10 --kerf 12 -o "$dir/r.dxf" >/dev/null 2>"$dir/err"
[ $? -eq 1 ] && grep -qF "切り幅は 0 以上で" "$dir/err" || bad "a kerf wider than the bore is not refused"

# A STEP file on standard output holds the file alone (the help's own
# example); with a file, the report holds no bytes of a library's own.
"$cli" export -m 2 -z 20 --bore 10 --format step -o - >"$dir/g.step" 2>"$dir/err" || bad "STEP on standard output"
[ "$(head -c 13 "$dir/g.step")" = "ISO-10303-21;" ] && [ ! -s "$dir/err" ] || bad "STEP on standard output: $(head -c 60 "$dir/g.step" | od -c | head -2)"
"$cli" export -m 2 -z 20 --bore 10 -o "$dir/g.step" >"$dir/out" 2>"$dir/err" || bad "STEP into a file"
grep -q $'\e' "$dir/out" "$dir/err" && bad "escape bytes in the STEP report"
# The widest kerf the cutter's path takes without looping over itself in the
# root fillet is simple as shapely sees it; a wider one is refused, naming it.
"$cli" export -m 2 -z 20 --kerf 1.626 -o "$dir/k.dxf" >/dev/null || bad "kerf 1.626 refused"
/usr/bin/python3 -c '
import sys, ezdxf
from shapely.geometry import LinearRing
gear = [e for e in ezdxf.readfile(sys.argv[1]).modelspace() if e.dxf.layer == "GEAR"][0]
sys.exit(0 if LinearRing([(v.dxf.location.x, v.dxf.location.y) for v in gear.vertices]).is_simple else 1)' "$dir/k.dxf" \
    || bad "the cut path of kerf 1.626 crosses itself"
exit $fail
