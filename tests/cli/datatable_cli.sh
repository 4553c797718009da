#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Accuracy grades, thickness limits, backlash and the gear data table (要目表)
# through tsumugi-cli: JSON read by python, the PDF page read back by poppler's
# pdftotext, the DXF layer by ezdxf. $1 is the built tsumugi-cli.
set -u
cli=$1
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; fail=1; fi; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# Published: m 3, z 40, b 30, class 6: f_pT 9.0, F_pT 29, F_alpha 12 um; the limits beside the measurements.
check "accuracy json" "$("$cli" gear -m 3 -z 40 --accuracy-class 6 --face-width 30 --thickness-allowance=-0.05,-0.1 \
    --format json | /usr/bin/python3 -c '
import json, sys, math
d = json.load(sys.stdin); a = d["accuracy"]; l = d["limits"]
w = d["inspection"]["span_k"]
print(a["class"], a["f_pT"], a["F_pT"], a["F_alpha"], a["F_beta"],
      round(l["span_k"]["upper"] - w, 9) == round(-0.05 * math.cos(math.pi / 9), 9),
      l["over_pins"]["lower"] < l["over_pins"]["upper"] < d["inspection"]["over_pins"])')" \
    "6 9.0 29.0 12.0 14.0 True True"
check "no class" "$("$cli" gear -m 3 -z 40 --format json | /usr/bin/python3 -c 'import json,sys; print(json.load(sys.stdin)["accuracy"])')" "None"
check "text limits" "$("$cli" gear -m 2 -z 20 --thickness-allowance=-0.05,-0.1 | grep '^またぎ歯厚 W（k＝3）の許容範囲')" \
    $'またぎ歯厚 W（k＝3）の許容範囲\t15.2269 ～ 15.2739'
check "out of range" "$("$cli" gear -m 0.3 -z 18 --accuracy-class 5 | grep -c 'の適用範囲')" 1

# Published: m 2, z 20/40, a 60: recommended smallest normal backlash 0.100 mm.
check "pair backlash" "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --thickness-allowance1=-0.05,-0.1 \
    --thickness-allowance2=-0.05,-0.1 --center-distance-allowance 0.02,0 --format json | /usr/bin/python3 -c '
import json, sys; b = json.load(sys.stdin)
import math; c, s = math.cos(math.pi / 9), math.sin(math.pi / 9)   # full precision: 0.1 cos 20° and 0.2 cos 20° + 0.04 sin 20°
n = b["backlash"]["normal_backlash"]
print(round(b["backlash"]["recommended_min_backlash"], 12), abs(n[0] - 0.1 * c) < 1e-15, abs(n[1] - 0.2 * c - 0.04 * s) < 1e-15, b["findings"])')" \
    "0.1 True True ['警告：最小法線バックラッシが ISO/TR 10064-2 の推奨値未満']"

# Allowances proposed for a wanted backlash give it back: -(0.1 + 2 (0.02) sin 20°) / (2 cos 20°) = -0.0605.
check "proposal" "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --backlash 0.1,0.25 \
    --center-distance-allowance 0.02,-0.02 --format csv | grep -E '^(proposed|normal)' | /usr/bin/python3 -c '
import math, sys; c, s = math.cos(math.pi / 9), math.sin(math.pi / 9)
rows = {l.split(",")[0]: [float(v) for v in l.split(",")[1:]] for l in sys.stdin.read().split()}
want = {"proposed_thickness_allowance": [-(0.1 + 0.04 * s) / (2 * c), -(0.25 - 0.04 * s) / (2 * c)], "normal_backlash": [0.1, 0.25]}
print(all(abs(a - b) < 1e-15 for k in want for a, b in zip(rows[k], want[k])))')" "True"

# Refused: exit 1 with the message, exit 2 for a usage error.
"$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --thickness-allowance1=-0.1,-0.05 >/dev/null 2>"$dir/err"
check "upper below lower" "$?:$(cat "$dir/err")" "1:tsumugi-cli: refused: 歯車１の歯厚許容差の上の値が下の値より小さくなっています."
"$cli" gear -m 2 -z 20 --thickness-allowance 0.1 >/dev/null 2>"$dir/err"
check "one number" "$?:$(cat "$dir/err")" "2:tsumugi-cli: usage error: --thickness-allowance: '0.1' is not two numbers UPPER,LOWER."
"$cli" gear -m 2 -z 20 --accuracy-class 12 >/dev/null 2>&1; check "class 12" $? 2

# The data table page for m 2, z 20 with a 40-tooth mate, read back from the PDF.
"$cli" sheet -m 2 -z 20 --z2 40 --accuracy-class 6 --thickness-allowance=-0.05,-0.1 \
    --thickness-allowance2=-0.06,-0.12 -o "$dir/sheet.pdf" >/dev/null 2>"$dir/err"
check "sheet exit" "$?:$(cat "$dir/err")" "0:"
# The font draws U+FF5E and U+301C with one glyph, which the PDF maps back to U+301C.
pdf=$(pdftotext -layout "$dir/sheet.pdf" - | tr -s ' ' | sed 's/〜/～/g')
for want in "要目表" "歯車歯形 標準" "モジュール 2" "圧力角 20°" "基準ピッチ円直径 40.000" "全歯たけ 4.500" \
    "またぎ歯厚 15.321 -0.047 / -0.094" "またぎ歯数 3" "許容範囲 15.227 ～ 15.274" \
    "精度 ISO 1328-1:2013（JIS B 1702-1）6級" "中心距離 60.000" "法線方向 0.103 ～ 0.207"; do
    grep -qF "$want" <<<"$pdf" || { echo "FAIL pdf lacks [$want]"; fail=1; }
done
"$cli" sheet -m 2 -z 20 --pin 3.5 -o "$dir/pins.pdf" >/dev/null
grep -qF "ピン径 3.500" <<<"$(pdftotext -layout "$dir/pins.pdf" - | tr -s ' ')" || { echo "FAIL pins page"; fail=1; }
# The pair's shortened tip (k from x2 0.15), the rows of one's own at the end,
# and the finding on standard output only, not on the drawing.
out=$("$cli" sheet -m 3 -z 18 --z2 45 --x2 0.15 --row 材料=S45C --row "備考=歯面 HRC50 以上" -o "$dir/rows.pdf")
grep -qF "警告：最小法線バックラッシが" <<<"$out" || { echo "FAIL sheet report lacks the finding"; fail=1; }
pdf=$(pdftotext -layout "$dir/rows.pdf" - | tr -s ' ')
for want in "歯先円直径 59.985" "全歯たけ 6.742" "材料 S45C" "備考 歯面 HRC50 以上"; do
    grep -qF "$want" <<<"$pdf" || { echo "FAIL rows pdf lacks [$want]"; fail=1; }
done
grep -qF "警告" <<<"$pdf" && { echo "FAIL the finding is on the drawing"; fail=1; }
# Both tables of a pair from its design file: m 3, z 18/45 at a = 96, the
# shifts solved from it; each gear's own rows, the other gear as its mate.
cat >"$dir/pair.tsumugi" <<'JSON'
{"format": "tsumugi-design", "version": 1, "module": 3, "pressure_angle": 20, "mate": "external",
 "gears": [{"teeth": 18, "shift": 0.37744512572, "thickness_allowance": {"upper": -0.05, "lower": -0.1},
            "accuracy_class": 7, "rows": {"材料": "SCM440"}},
           {"teeth": 45, "shift": 0.150978, "rows": {"材料": "S45C"}}],
 "center_distance": 96, "center_distance_allowance": {"upper": 0.02, "lower": -0.02}}
JSON
for gear in 1 2; do
    "$cli" sheet --design "$dir/pair.tsumugi" --gear $gear -o "$dir/g$gear.pdf" >/dev/null
    check "design sheet $gear" $? 0
done
pdf1=$(pdftotext -layout "$dir/g1.pdf" - | tr -s ' ') pdf2=$(pdftotext -layout "$dir/g2.pdf" - | tr -s ' ')
for want in "歯数 18" "転位量 +1.132" "全歯たけ 6.665" "精度 ISO 1328-1:2013（JIS B 1702-1）7級" "歯数 45" \
    "中心距離 96.000 +0.020 / -0.020" "材料 SCM440"; do
    grep -qF "$want" <<<"$pdf1" || { echo "FAIL gear 1 table lacks [$want]"; fail=1; }
done
for want in "歯数 45" "転位量 +0.453" "歯数 18" "転位量 +1.132" "中心距離 96.000" "材料 S45C"; do
    grep -qF "$want" <<<"$pdf2" || { echo "FAIL gear 2 table lacks [$want]"; fail=1; }
done
"$cli" sheet --design "$dir/pair.tsumugi" --gear both -o "$dir/both.pdf" >/dev/null
check "both pages" "$(pdfinfo "$dir/both.pdf" | sed -n 's/^Pages: *//p')" 2
check "page 2" "$(pdftotext -f 2 -l 2 -layout "$dir/both.pdf" - | tr -s ' ' | grep -F '歯数' | head -1)" "歯数 45"
# pair writes the design it computed; sheet reads it back: the same pair.
"$cli" pair -m 3 --z1 18 --z2 45 --center-distance 96 --thickness-allowance1=-0.05,-0.1 \
    --save-design "$dir/saved.tsumugi" >/dev/null
check "saved design" "$(/usr/bin/python3 -c '
import json, sys
d = json.load(open(sys.argv[1]))
print(d["format"], d["version"], d["center_distance"], round(d["gears"][0]["shift"], 6), round(d["gears"][1]["shift"], 6),
      d["gears"][0]["thickness_allowance"]["lower"])' "$dir/saved.tsumugi")" "tsumugi-design 1 96.0 0.377445 0.150978 -0.1"
"$cli" sheet --design "$dir/saved.tsumugi" --gear both -o "$dir/saved.pdf" >/dev/null
check "saved sheets" "$(pdftotext -layout "$dir/saved.pdf" - | tr -s ' ' | grep -cE '中心距離 96.000|全歯たけ 6.665')" 4
"$cli" pair -m 3 --z1 18 --z2 45 --x1 0 --x2 0 --save-design /nonexistent/dir/p.tsumugi >/dev/null 2>&1
check "unwritable design" $? 3
# pair --design gives the pair as saved: the same report, in the mode of its shifts.
"$cli" pair -m 3 --z1 18 --z2 45 --center-distance 96 --thickness-allowance1=-0.05,-0.1 >"$dir/asked.txt"
"$cli" pair --design "$dir/saved.tsumugi" >"$dir/designed.txt"
check "pair from design" "$(diff "$dir/asked.txt" "$dir/designed.txt" | grep -c '^[<>]')" 2
check "pair from design mode" "$(head -1 "$dir/designed.txt")" "かみあい（転位係数から）"
# gear takes either gear of the design with its class and allowance.
check "design gear" "$("$cli" gear --design "$dir/pair.tsumugi" --format json | /usr/bin/python3 -c '
import json, sys
j = json.load(sys.stdin)
print(j["teeth"], j["shift"], j["accuracy"]["class"], j["thickness_allowance"]["lower"])')" "18 0.37744512572 7 -0.1"
check "design gear 2" "$("$cli" gear --design "$dir/pair.tsumugi" --gear 2 --format json | /usr/bin/python3 -c '
import json, sys
j = json.load(sys.stdin)
print(j["teeth"], j["shift"], j["accuracy"])')" "45 0.150978 None"
printf '{"format": "tsumugi-design", "version": 9}' >"$dir/new.tsumugi"
check "newer design" "$("$cli" sheet --design "$dir/new.tsumugi" -o "$dir/n.pdf" 2>&1 >/dev/null; echo $?)" \
    "tsumugi-cli: file error: 設計ファイル $dir/new.tsumugi は新しい版（version 9）です。この版のツムギが読めるのは version 2 までです.
3"
"$cli" sheet -m 2 -z 20 -o /nonexistent/dir/x.pdf >/dev/null 2>&1; check "sheet unwritable" $? 3
"$cli" sheet -m 2 -z 20 -o "$dir/x.txt" >/dev/null 2>&1; check "sheet not pdf" $? 2

# The same table as texts on layer DATATABLE of the DXF, read by ezdxf.
"$cli" export -m 2 -z 20 --data-table --z2 40 --accuracy-class 6 --thickness-allowance=-0.05,-0.1 \
    --thickness-allowance2=-0.06,-0.12 -o "$dir/gear.dxf" >/dev/null
check "dxf table" "$(/usr/bin/python3 -c '
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
texts = [e.dxf.text for e in doc.modelspace().query("TEXT[layer==\"DATATABLE\"]")]
audit = doc.audit()
print(len(audit.errors), doc.layers.has_entry("DATATABLE"), texts[texts.index("またぎ歯厚") + 1],
      texts[texts.index("バックラッシ") + 2], texts[texts.index("精度") + 1],
      len(doc.modelspace().query("LWPOLYLINE POLYLINE[layer==\"GEAR\"]")))' "$dir/gear.dxf")" \
    "0 True 15.321  -0.047 / -0.094 0.103 ～ 0.207 ISO 1328-1:2013（JIS B 1702-1）6級 1"
"$cli" export -m 2 -z 20 --data-table -o "$dir/gear.svg" >/dev/null 2>&1; check "svg table" $? 2
# The gear's own findings in the report, outside the table.
"$cli" sheet -m 2 -z 8 -o "$dir/u.pdf" >"$dir/u.txt"
grep -qxF '警告：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生' "$dir/u.txt" || { echo "FAIL sheet without its undercut"; fail=1; }
exit $fail
