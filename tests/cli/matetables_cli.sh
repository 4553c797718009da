#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A pinion in a ring and on a rack as one design: the backlash of their
# allowances, a ring's limits between pins against a construction of its own,
# the ring's and the rack's tables (要目表) read back with pdftotext, the
# command line's export of a design's gear, and sheet refusing exactly the
# gears whose findings gear reports. $1 is the built tsumugi-cli.
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; fail=1; fi; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# The backlash of each mate against its formula: in a ring a longer centre
# distance takes backlash away, on a rack it adds as between two external gears.
for mate in "internal --z2 72 --x1 0 --x2 0:-1" "rack:1" "external --z2 45 --center-distance 96:1"; do
    args=${mate%:*} sign=${mate##*:}
    # shellcheck disable=SC2086
    check "backlash $args" "$("$cli" pair -m 3 --z1 18 --mate $args --thickness-allowance1=-0.05,-0.1 \
        --thickness-allowance2=-0.04,-0.12 --center-distance-allowance=0.03,-0.02 --format json | /usr/bin/python3 -c '
import json, math, sys
d = json.load(sys.stdin); sign = int(sys.argv[1]); c = math.cos(math.pi / 9)
s = math.sin(math.radians(d.get("working_pressure_angle", 20)))
tight, loose = (0.03, -0.02) if sign < 0 else (-0.02, 0.03)
want = [0.09 * c + 2 * sign * tight * s, 0.22 * c + 2 * sign * loose * s]
print(all(abs(a - b) < 1e-15 for a, b in zip(d["backlash"]["normal_backlash"], want)))' "$sign")" "True"
done
# A circumferential target comes back exactly, for two external gears and in a ring.
for mate in "external --z2 45 --center-distance 96" "internal --z2 72 --x1 0.2 --x2 0.5"; do
    # shellcheck disable=SC2086
    check "circumferential $mate" "$("$cli" pair -m 3 --z1 18 --mate $mate --backlash 0.1,0.25 --backlash-kind circumferential \
        --center-distance-allowance=0.02,-0.02 --format json | /usr/bin/python3 -c '
import json, sys; j = json.load(sys.stdin)["backlash"]["circumferential_backlash"]
print(abs(j[0] - 0.1) < 1e-15, abs(j[1] - 0.25) < 1e-15)')" "True True"
done
"$cli" pair -m 3 --z1 18 --z2 45 --x1 0 --x2 0 --backlash-kind normal >/dev/null 2>"$dir/err"
check "kind alone" "$?:$(cat "$dir/err")" "2:tsumugi-cli: usage error: --backlash-kind: needs --backlash, whose target it names."
"$cli" pair -m 3 --z1 18 --z2 45 --x1 0 --x2 0 --backlash 0.1,0.2 --backlash-kind radial >/dev/null 2>"$dir/err"
check "kind word" "$?:$(cat "$dir/err")" \
    "2:tsumugi-cli: usage error: --backlash-kind: 'radial' is not one of normal, circumferential."
"$cli" pair -m 3 --z1 18 --z2 72 --mate internal --x1 0 --x2 0 --thickness-allowance2=5,4 >/dev/null 2>"$dir/err"
check "ring allowance" "$?:$(cat "$dir/err")" "2:tsumugi-cli: usage error: --thickness-allowance2: '5,4' leaves the tooth no thickness or no space: it is 4.7124 mm thick on the reference circle, the pitch is 9.4248 mm."

# A ring's M between pins with the limits of its allowance, against the construction.
for ring in "3 72 0 -0.05 -0.12" "2 61 0.3 -0.02 -0.08" "14 96 0.5 0 -0.2"; do
    read -r m z x upper lower <<<"$ring"
    check "ring pins $ring" "$("$cli" gear --internal -m "$m" -z "$z" -x "$x" --thickness-allowance="$upper,$lower" \
        --format json | /usr/bin/python3 "$here/ringpins_check.py" $ring)" "ok"
done

# The pinion in a 72-tooth ring and on a rack, each table read back from the PDF.
"$cli" pair -m 3 --z1 18 --z2 72 --mate internal --x1 0 --x2 0 --thickness-allowance1=-0.05,-0.1 \
    --thickness-allowance2=-0.05,-0.12 --center-distance-allowance=0.02,-0.02 --save-design "$dir/ring.tsumugi" >/dev/null
"$cli" pair -m 3 --z1 18 --mate rack --thickness-allowance1=-0.05,-0.1 --thickness-allowance2=-0.05,-0.1 \
    --save-design "$dir/rack.tsumugi" >/dev/null
for design in ring rack; do
    "$cli" sheet --design "$dir/$design.tsumugi" --gear both -o "$dir/$design.pdf" >/dev/null
    check "$design sheet" $? 0
    pdftotext -layout "$dir/$design.pdf" "$dir/$design.txt"
done
# The rows from their item on (a joined group cell prints on one of its rows; poppler reads ～ as 〜).
rows() { tr -s ' ' <"$1" | sed 's/〜/～/g; s/^ //' | grep -oE "($2).*"; }
check "ring page" "$(rows "$dir/ring.txt" '^ ?内歯車$|ピン間寸法|ピン径|許容範囲|法線方向|種類|中心距離' | tail -7)" \
"内歯車
ピン間寸法 209.373 +0.348 / +0.146
ピン径 4.976
許容範囲 209.519 ～ 209.721
種類 外歯車
中心距離 81.000 +0.020 / -0.020
法線方向 0.080 ～ 0.220"
check "pinion in the ring" "$(rows "$dir/ring.txt" '種類 内歯車|法線方向 0.080 ～ 0.220' | wc -l)" 3
check "rack page" "$(rows "$dir/rack.txt" '^ ?ラック$|ピッチ|基準線上の歯厚|許容範囲 4|基準線までの距離|法線方向' | tail -6)" \
"ラック
ピッチ 9.425
基準線上の歯厚 4.712 -0.050 / -0.100
許容範囲 4.612 ～ 4.662
基準線までの距離 27.000
法線方向 0.094 ～ 0.188"

# A design's gear as a file: gear 2 of two external gears with the pair's
# shortened tip and its table; a ring's profile says it is nominal.
"$cli" pair -m 3 --z1 18 --z2 45 --center-distance 96 --thickness-allowance2=-0.06,-0.12 --format json \
    --save-design "$dir/pair.tsumugi" >"$dir/pair.json"
"$cli" export --design "$dir/pair.tsumugi" --gear 2 --data-table -o "$dir/wheel.dxf" >"$dir/wheel.txt"
check "wheel tip" "$(grep '^tip_diameter_mm' "$dir/wheel.txt" | cut -f2)" \
    "$(/usr/bin/python3 -c 'import json,sys; print("%.6f" % json.load(open(sys.argv[1]))["tip_diameter"][1])' "$dir/pair.json")"
check "wheel table" "$(/usr/bin/python3 -c '
import ezdxf, sys
texts = [e.dxf.text for e in ezdxf.readfile(sys.argv[1]).modelspace() if e.dxf.layer == "DATATABLE" and e.dxftype() == "TEXT"]
print(texts.count("45"), "+0.453" in texts, any(t.startswith("50.") and "-0.056 / -0.113" in t for t in texts))' "$dir/wheel.dxf")" \
    "1 True True"
check "ring export" "$("$cli" export --design "$dir/ring.tsumugi" --gear 2 -o "$dir/ring.svg" | grep -c '^note')" 1
"$cli" export --design "$dir/rack.tsumugi" --gear 2 -o "$dir/rack.svg" >/dev/null 2>"$dir/err"
check "rack needs a length" "$?:$(cat "$dir/err")" \
    "2:tsumugi-cli: usage error: --length: gear 2 of this design is a rack: give the length of its segment."

# gear computes every gear sheet does; a tooth that is not formed is reported
# by gear and refused by sheet with that same finding.
for bad in "1 5 1.5" "1 1 0" "1 8 -1" "1 12 3"; do
    read -r m z x <<<"$bad"
    finding=$("$cli" gear -m "$m" -z "$z" -x "$x" | grep -m1 '歯形不成立')
    "$cli" sheet -m "$m" -z "$z" -x "$x" -o "$dir/bad.pdf" >/dev/null 2>"$dir/err"
    check "sheet refuses $bad" "$?:$(cat "$dir/err")" "1:tsumugi-cli: refused: 「$finding」の歯車のため、要目表を作れません."
done
for good in 72 300; do
    "$cli" gear -m 3 -z $good >/dev/null && "$cli" sheet -m 3 -z $good -o "$dir/good.pdf" >/dev/null
    check "both compute z $good" $? 0
done
exit $fail
