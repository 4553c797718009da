#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli with a ring or a rack as the mate: the published values, the
# usage and refusals, and the exported ring and rack read back by ezdxf,
# rsvg-convert and shapely (the ring against a cutter rolled independently).
# $1 is the built tsumugi-cli.
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }
has() { grep -qxF -- "$2" <<<"$1" || bad "missing line [$2]"; }

out=$("$cli" pair -m 14 --z1 17 --z2 96 --x1 0.2 --x2 0.5 --mate internal) || bad "internal pair exit $?"
has "$out" 'かみあい（内歯車、転位係数から）'
has "$out" $'作用圧力角 αw（°）\t21.1251'
has "$out" $'中心距離 a\t557.089'
json=$("$cli" pair -m 14 --z1 17 --z2 96 --x1 0.2 --center-distance 557.0887 --mate internal --format json)
[ "$(/usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); print(d["mate"], d["mode"], round(d["shift"][1], 4))' <<<"$json")" = "internal center_distance 0.5" ] \
    || bad "internal pair from the centre distance: $json"
out=$("$cli" pair -m 3 --z1 20 --mate rack) || bad "rack pair exit $?"
for line in $'ラックの弦歯厚\t4.7124' $'ラックの弦歯たけ\t3.0000' $'歯車中心からラック基準線まで\t30.000' $'歯車１回転のラック移動量\t188.496' '警告＝０'; do
    has "$out" "$line"
done
"$cli" pair -m 1 --z1 30 --z2 38 --x1 0 --x2 0 --mate internal | grep -q '^警告：トロコイド干渉' || bad "no trochoid finding"

# Usage (exit 2) and refused values (exit 1, nothing on stdout).
while IFS='|' read -r code message args; do
    # shellcheck disable=SC2086
    "$cli" $args >"$dir/out" 2>"$dir/err"; got=$?
    [ $got -eq "$code" ] && grep -qF -- "$message" "$dir/err" || bad "$args: exit $got, $(cat "$dir/err")"
    [ "$code" -ne 1 ] || [ ! -s "$dir/out" ] || bad "$args printed on stdout"
done <<'CASES'
2|a rack takes no --z2, --x2 or --center-distance|pair -m 1 --z1 20 --z2 40 --mate rack
2|give either --x1 and --x2 or --center-distance|pair -m 1 --z1 20 --z2 40 --mate internal
2|--mate: 'ring' is not one of external, internal, rack|pair -m 1 --z1 20 --z2 40 --x1 0 --x2 0 --mate ring
1|内歯車の歯数は歯車１の歯数より多くしてください|pair -m 1 --z1 20 --z2 20 --x1 0 --x2 0 --mate internal
2|--rack requires --length|export -m 1 --rack -o x.dxf
2|--backlash-kind: needs --backlash, whose target it names|pair -m 1 --z1 20 --z2 40 --x1 0 --x2 0 --mate internal --thickness-allowance1=-0.05,-0.1 --backlash-kind normal
1|この中心距離の許容差では求めるバックラッシの幅に収まりません|pair -m 1 --z1 20 --mate rack --backlash 0.05,0.06 --center-distance-allowance 0.1,-0.1
2|--span-teeth excludes --internal|gear -m 2 -z 60 --internal --accuracy-class 6 --span-teeth 3
2|--internal excludes --data-table|export -m 2 -z 60 --internal --data-table -o x.dxf
2|--rack excludes --data-table|export -m 2 --rack --length 60 --data-table -o x.dxf
1|内歯車の歯先円が基礎円の内側にあるため、歯形を作れません|export -m 1 -z 30 --internal -o x.dxf
1|外径は内歯車の歯底円直径より大きくしてください|export -m 1 -z 40 --internal --rim-diameter 42 -o x.dxf
CASES
[ ! -e x.dxf ] || bad "a refused export wrote a file"

out=$("$cli" gear -m 2 -z 60 --internal) || bad "gear --internal exit $?"
for line in $'歯先円直径 da（内径）\t116.0000' $'歯底円直径 df\t125.0000' $'基準円上の歯溝の幅 e\t3.1416' \
            $'ピニオンカッタの歯数 z0\t38' $'ピンの接触円直径\t120.0000'; do
    has "$out" "$line"
done
out=$("$cli" gear -m 1 -z 60 --internal --cutter-teeth 20 --format csv) || bad "gear --internal --cutter-teeth exit $?"
for line in 'cutter_teeth,20,' 'smallest_ring_for_cutter,38,'; do
    has "$out" "$line"
done

# The rings and the rack, both formats; the SVG renders at its size in mm.
while read -r m z x cutter; do
    for ext in dxf svg; do
        "$cli" export -m "$m" -z "$z" -x "$x" --internal --cutter-teeth "$cutter" -o "$dir/ring.$ext" >"$dir/report" \
            || bad "export ring m $m z $z"
    done
    rho=$(awk -F'\t' '$1 == "cutter_tip_radius_mm" {print $2}' "$dir/report")
    rim=$(awk -F'\t' '$1 == "rim_diameter_mm" {print $2}' "$dir/report")
    /usr/bin/python3 "$here/ring_check.py" ring "$dir/ring.dxf" "$m" "$z" "$x" "$cutter" "$rho" "$rim" || bad "ring m $m z $z x $x"
    rsvg-convert -o "$dir/ring.png" "$dir/ring.svg" || bad "rsvg-convert ring"
    width=$(grep -o 'width="[0-9.]*mm"' "$dir/ring.svg" | tr -dc '0-9.')
    /usr/bin/python3 -c "import sys; sys.exit(abs($width - $rim - 2) > 1e-5)" || bad "ring SVG width $width for rim $rim"
done <<'RINGS'
2 60 0 38
3 50 0.5 20
2 40 1 36
1 60 0.99 54
RINGS
# A ring's root in a pair is the one its cutter cuts (the ring as gear --internal computes it); a
# ring no cutter cuts leaves the root and the tip check without a number, each with its reason.
ring_root() { /usr/bin/python3 -c 'import json,sys; r=json.load(sys.stdin)["root_diameter"]; print(r[1] if type(r) is list else r)'; }
[ "$("$cli" pair -m 1 --z1 30 --z2 85 --x1 0.5 --x2 0.9 --mate internal --format json | ring_root)" = \
  "$("$cli" gear -m 1 -z 85 -x 0.9 --internal --format json | ring_root)" ] || bad "the pair's ring root is not the ring's"
json=$("$cli" pair -m 2 --z1 20 --z2 60 --x1 -1.2 --x2 -1 --mate internal --format json) || bad "uncut ring pair exit $?"
/usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); a=d.get("absent",{})
sys.exit(not all(d[k] is None or None in d[k] for k in a) or not all(k in a for k, v in d.items() if v is None or (type(v) is list and None in v)) or "tip_interference_depth" not in a or not d["findings"])' <<<"$json" ||
    bad "a number left out without its reason: $json"
for ext in dxf svg; do
    "$cli" export -m 2 --rack --length 60 -o "$dir/rack.$ext" >/dev/null || bad "export rack"
done
/usr/bin/python3 "$here/ring_check.py" rack "$dir/rack.dxf" 2 60 || bad "rack"
rsvg-convert -o "$dir/rack.png" "$dir/rack.svg" && grep -q 'width="62mm"' "$dir/rack.svg" || bad "rack SVG"
exit $fail
