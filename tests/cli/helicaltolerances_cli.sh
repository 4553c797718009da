#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A helical gear's class and normal allowance (gear), a helical pair's backlash
# (pair), its 要目表 (sheet) and its design file read by gear, sheet and pair.
source "$(dirname "$0")/lib.sh"
export QT_QPA_PLATFORM=offscreen

# gear: ISO 1328-1 on d = z m_t (F_pT 32, f_fbeta 11; the spur gear's would be
# 31 and 10), the limits of s_n, W and M of the NORMAL allowance, M worked here
# from the transverse involute for the thinner tooth.
g=(gear -m 3 -z 60 --helix-angle 30 --accuracy-class 6 --face-width 30 --thickness-allowance=-0.05,-0.1)
/usr/bin/python3 - "$("$cli" "${g[@]}" --format json)" "$("$cli" "${g[@]}" --format csv)" <<'PY' || fail "gear tolerances"
import csv, io, json, math, sys
j = json.loads(sys.argv[1])
rows = {r[0]: r[1] for r in csv.reader(io.StringIO(sys.argv[2])) if r and r[0] not in ("finding", "absent")}
assert j["accuracy_class"] == 6 and j["F_pT"] == 32 and j["f_fbeta"] == 11 and j["F_beta"] == 14, j
assert (j["thickness_allowance_upper"], j["thickness_allowance_lower"]) == (-0.05, -0.1)
an = math.radians(20); beta = math.radians(30)
at = math.atan(math.tan(an) / math.cos(beta))
sn0 = 3 * math.pi / 2
for side, a in (("max", -0.05), ("min", -0.1)):
    assert abs(j["tooth_thickness_normal_" + side] - (sn0 + a)) < 1e-9, side
    assert abs(j["span_" + side] - (j["span_normal"] + a * math.cos(an))) < 1e-9, side
    D = j["ball_diameter"]
    inv = lambda p: math.tan(p) - p
    target = inv(at) + D / (60 * 3 * math.cos(an)) - (math.pi - (sn0 + a) / 3) / 60
    phi = at
    for _ in range(60):
        phi -= (inv(phi) - target) / math.tan(phi) ** 2
    M = 60 * 3 / math.cos(beta) * math.cos(at) / math.cos(phi) + D
    assert abs(j["over_balls_" + side] - M) < 1e-6, (side, j["over_balls_" + side], M)
    assert float(rows["span_" + side]) == j["span_" + side]
PY
out=$("$cli" "${g[@]}")
for line in $'歯直角歯厚許容差（上）\t-0.0500' $'累積ピッチ許容値 FpT\t32 µm' $'精度等級（ISO 1328-1:2013）\tISO 1328-1:2013（JIS B 1702-1）6級'; do
    grep -qxF "$line" <<<"$out" || fail "gear text lacks [$line]"
done
# Without a face width there are no helix tolerances; without an allowance no limits.
out=$("$cli" gear -m 3 -z 60 --helix-angle 30 --accuracy-class 6 --format json)
/usr/bin/python3 -c 'import json,sys; j=json.loads(sys.argv[1]); assert "F_beta" not in j and "span_min" not in j and j["F_pT"] == 32' "$out" ||
    fail "class without face width"

# pair: the backlash of normal allowances, j_bn with cos(beta_b); --backlash proposes
# allowances that give the range asked for.
p=(pair -m 3 --z1 12 --z2 60 --x1 0.09809 --x2 0 --helix-angle 30 --hand left --face-width 20)
/usr/bin/python3 - "$("$cli" "${p[@]}" --thickness-allowance1=-0.05,-0.1 --thickness-allowance2=-0.06,-0.12 \
    --center-distance-allowance=0.02,-0.01 --format json)" <<'PY' || fail "pair backlash"
import json, math, sys
j = json.loads(sys.argv[1]); b = j["backlash"]
an = math.radians(20); awt = math.radians(j["working_pressure_angle_transverse"]); bb = math.radians(j["base_helix_angle"])
jmin = 0.11 * math.cos(an) - 0.02 * math.sin(awt) * math.cos(bb)
jmax = 0.22 * math.cos(an) + 0.04 * math.sin(awt) * math.cos(bb)
assert abs(b["normal_backlash"][0] - jmin) < 1e-12 and abs(b["normal_backlash"][1] - jmax) < 1e-12, b
assert abs(b["circumferential_backlash"][1] * math.cos(awt) * math.cos(bb) - jmax) < 1e-12, b
assert abs(b["radial_backlash"][1] * 2 * math.tan(awt) - b["circumferential_backlash"][1]) < 1e-12, b
PY
/usr/bin/python3 - "$("$cli" "${p[@]}" --backlash 0.1,0.25 --format json)" <<'PY' || fail "pair proposal"
import json, sys
b = json.loads(sys.argv[1])["backlash"]
assert abs(b["normal_backlash"][0] - 0.1) < 1e-12 and abs(b["normal_backlash"][1] - 0.25) < 1e-12, b
PY

# sheet: the table of a はすば歯車, its rows in the normal values, the mate with the other hand.
out=$("$cli" sheet -m 3 -z 12 -x 0.09809 --helix-angle 30 --hand left --z2 60 --thickness-allowance=-0.05,-0.1 -o "$work/h.pdf")
check "sheet exit" $? 0
lead=$(/usr/bin/python3 -c 'import math; print("%.3f" % (math.pi * 12 * 3 / math.cos(math.radians(30)) / math.tan(math.radians(30))))')
for line in はすば歯車 $'歯直角方式\t\t歯直角' $'基準ラック\tモジュール\t3' $'基準ラック\t圧力角\t20°' $'ねじれ角\t\t30°' \
    $'ねじれ方向\t\t左' $'リード\t\t'"$lead" $'基準ピッチ円直径\t\t41.569' $'中心距離\t\t125.000'; do
    grep -qxF "$line" <<<"$out" || fail "sheet lacks [$line]"
done
grep -qF $'歯厚\t歯直角またぎ歯厚\t' <<<"$out" && grep -qF '  -0.047 / -0.094' <<<"$out" || fail "sheet span: $out"
[ "$(head -c 5 "$work/h.pdf")" = "%PDF-" ] || fail "sheet pdf"
grep -qxF $'歯厚\tオーバーボール寸法\t49.638' <<<"$("$cli" sheet -m 3 -z 12 -x 0.09809 --helix-angle 30 --over-pins -o "$work/b.pdf")" ||
    fail "sheet over balls"

# The design file: pair --save-design writes the helix, the hands and the face
# width; gear, sheet and pair --design read the same gears back.
"$cli" "${p[@]}" --thickness-allowance1=-0.05,-0.1 --thickness-allowance2=-0.06,-0.12 --save-design "$work/h.tsumugi" >/dev/null ||
    fail "save-design"
/usr/bin/python3 - "$work/h.tsumugi" <<'PY' || fail "design file keys"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["version"] == 2 and d["helix_angle"] == 30.0, d   # a version-1 reader must refuse a helical design
assert [g["hand"] for g in d["gears"]] == ["left", "right"] and [g["face_width"] for g in d["gears"]] == [20.0, 20.0], d
PY
a=$("$cli" gear --design "$work/h.tsumugi" --gear 2)
b=$("$cli" gear -m 3 -z 60 --helix-angle 30 --hand right --face-width 20 --thickness-allowance=-0.06,-0.12)
[ "$a" = "$b" ] || fail "gear --design differs from the gear's options"
a=$("$cli" pair --design "$work/h.tsumugi" --format json)
b=$("$cli" "${p[@]}" --thickness-allowance1=-0.05,-0.1 --thickness-allowance2=-0.06,-0.12 --format json)
[ "$a" = "$b" ] || fail "pair --design differs from the pair's options"
grep -qxF $'ねじれ方向\t\t左' <<<"$("$cli" sheet --design "$work/h.tsumugi" -o "$work/d.pdf")" || fail "sheet --design"
# A spur pair's file has no helix key, as before.
"$cli" pair -m 2 --z1 20 --z2 30 --x1 0 --x2 0 --save-design "$work/s.tsumugi" >/dev/null
grep -q 'helix_angle\|"hand"' "$work/s.tsumugi" && fail "spur design names a helix"
# A bad helix angle or hand in a file is refused by its key.
sed 's/"helix_angle": 30.0/"helix_angle": 95/' "$work/h.tsumugi" >"$work/bad.tsumugi"
expect 3 "tsumugi-cli: file error: 設計ファイル $work/bad.tsumugi の helix_angle が 0 以上 90 未満ではありません." -- gear --design "$work/bad.tsumugi"
sed 's/"hand": "left"/"hand": "up"/' "$work/h.tsumugi" >"$work/bad.tsumugi"
expect 3 "tsumugi-cli: file error: 設計ファイル $work/bad.tsumugi の gears[0].hand が \"right\"、\"left\" のどちらでもありません." -- gear --design "$work/bad.tsumugi"
finish
