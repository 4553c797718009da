#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli gear --helix-angle: the handbooks' worked helical pair as the
# program prints it, W and M against a gear built in 3D from the rack
# (helical_check.py), the three formats read back, the refusals, and 0 degrees
# giving the spur gear's bytes.
source "$(dirname "$0")/lib.sh"

/usr/bin/python3 "$here/helical_check.py" "$cli" || fail "W and M against the 3D gear"

# The Japanese gear handbooks' worked normal-system helical pair: m_n 3, beta 30, z 12 (left) / 60 (right).
ref=(gear -m 3 -z 12 -x 0.09809 --helix-angle 30 --hand left)
out=$("$cli" "${ref[@]}"); check "text exit" $? 0
for line in 'はすば歯車' $'歯直角モジュール m_n\t3' $'ねじれ方向\t左' $'正面圧力角 α_t（°）\t22.79588' \
    $'基準円直径 d\t41.5692' $'基礎円直径 d_b\t38.3223' $'正面モジュール m_t\t3.464102' $'歯直角歯厚 s_n（基準円上）\t4.9266'; do
    grep -qxF "$line" <<<"$out" || fail "text lacks [$line]"
done
out=$("$cli" gear -m 3 -z 60 --helix-angle 30)
for line in $'基準円直径 d\t207.8461' $'基礎円直径 d_b\t191.6115' $'ねじれ方向\t右'; do
    grep -qxF "$line" <<<"$out" || fail "z 60 text lacks [$line]"
done
# s_n of m_n 5, beta 25, z 16, x_n 0.2 (the handbooks': 8.5819).
grep -qxF $'歯直角歯厚 s_n（基準円上）\t8.5819' <<<"$("$cli" gear -m 5 -z 16 -x 0.2 --helix-angle 25)" || fail "s_n 8.5819"

# JSON and CSV read back: the same numbers at full precision, the hand as a word.
/usr/bin/python3 - "$("$cli" "${ref[@]}" --format json)" "$("$cli" "${ref[@]}" --format csv)" <<'PY' || fail "json/csv"
import csv, io, json, math, sys
j = json.loads(sys.argv[1])
rows = {r[0]: r[1] for r in csv.reader(io.StringIO(sys.argv[2])) if r and r[0] not in ("finding", "absent")}
assert j["mode"] == "helical_gear" and j["hand"] == "left" and rows["hand"] == "left", j
at = math.atan(math.tan(math.radians(20)) / math.cos(math.radians(30)))
assert abs(j["pressure_angle_transverse"] - math.degrees(at)) < 1e-12, j["pressure_angle_transverse"]
assert abs(math.sin(math.radians(j["base_helix_angle"])) - 0.5 * math.cos(math.radians(20))) < 1e-14
for key in ("module_transverse", "pitch_diameter", "span_normal", "over_balls", "tooth_thickness_normal"):
    assert float(rows[key]) == j[key], key
assert j["teeth"] == 12 and rows["teeth"] == "12"
PY

# The anvils across the face: a finding from W sin(beta_b) against --face-width.
reach=$("$cli" gear -m 3 -z 60 --helix-angle 30 --format json | /usr/bin/python3 -c 'import json,sys; print(json.load(sys.stdin)["span_face_reach"])')
narrow=$(/usr/bin/python3 -c "print($reach - 0.01)")
wide=$(/usr/bin/python3 -c "print($reach + 0.01)")
grep -qF '警告：W sin βb が歯幅 b 以上' <<<"$("$cli" gear -m 3 -z 60 --helix-angle 30 --face-width "$narrow")" || fail "no finding at b $narrow"
grep -qF '警告：W sin βb' <<<"$("$cli" gear -m 3 -z 60 --helix-angle 30 --face-width "$wide")" && fail "finding at b $wide"

# A contact off the involute is absent on a helical gear, its reason under the row's caption.
out=$("$cli" gear -m 1 -z 6 -x -0.7 --helix-angle 15 --span-teeth 1)
grep -qxF $'歯直角またぎ歯厚 W\t―' <<<"$out" &&
    grep -qxF '歯直角またぎ歯厚 W：はすば歯車のインボリュート外の接触は測れません（インボリュートで接するものだけ）' <<<"$out" ||
    fail "off-involute span: $out"

# 0 degrees is the spur gear, byte for byte, in every format.
for format in text json csv; do
    a=$("$cli" gear -m 2 -z 17 -x 0.1 --format $format)
    b=$("$cli" gear -m 2 -z 17 -x 0.1 --helix-angle 0 --format $format)
    [ "$a" = "$b" ] || fail "--helix-angle 0 changes the $format output"
done

# Refusals: the model's reason, and options that do not go with a helical gear.
expect 1 'tsumugi-cli: refused: ねじれ角が 0° 以上 90° 未満ではありません.' -- gear -m 2 -z 20 --helix-angle 90
expect 2 "tsumugi-cli: usage error: --helix-angle: -5 must not be negative." -- gear -m 2 -z 20 --helix-angle -5
expect 2 "tsumugi-cli: usage error: --hand: 'up' is not one of right, left." -- gear -m 2 -z 20 --helix-angle 10 --hand up
expect 2 "tsumugi-cli: usage error: --thickness-allowance: '-5,-6' leaves the tooth no thickness or no space: it is 4.7124 mm thick on the reference circle, the pitch is 9.4248 mm." -- gear -m 3 -z 12 --helix-angle 30 --thickness-allowance=-5,-6

# pair: the handbooks' pair as printed, and from its centre distance the shift sum back.
pair=(pair -m 3 --z1 12 --z2 60 --helix-angle 30 --hand left --face-width 20)
out=$("$cli" "${pair[@]}" --x1 0.09809 --x2 0); check "pair exit" $? 0
for line in 'かみあい（はすば歯車、転位係数から）' $'ねじれ方向	左	右' $'正面作用圧力角 α_wt（°）	23.1126' $'中心距離 a	125.000' \
    $'歯先円直径 da（短縮後）	48.154	213.842' $'歯底円直径 df	34.658	200.346' $'基礎円直径 db	38.322	191.611' \
    $'正面かみあい率 εα	1.294' $'重なりかみあい率 εβ	1.061' '警告＝０'; do
    grep -qxF "$line" <<<"$out" || fail "pair text lacks [$line]"
done
/usr/bin/python3 - "$("$cli" "${pair[@]}" --center-distance 125 --format json)" "$("$cli" "${pair[@]}" --center-distance 125 --format csv)" <<'PY' || fail "pair json/csv"
import csv, io, json, sys
j = json.loads(sys.argv[1])
rows = {r[0]: r[1:] for r in csv.reader(io.StringIO(sys.argv[2]))}
assert j["mode"] == "center_distance" and j["hand"] == ["left", "right"] and rows["hand"] == ["left", "right"], j
assert abs(j["shift_sum_normal"] - 0.09809) < 5e-6 and float(rows["shift_sum_normal"][0]) == j["shift_sum_normal"]
assert j["center_distance"] == 125.0 and abs(j["overlap_ratio"] - 1.061) < 5e-4
PY
grep -qxF '警告：外歯車どうしのねじれ方向が同じ、かみあわない（一方を右、他方を左に）' \
    <<<"$("$cli" "${pair[@]}" --x1 0.09809 --x2 0 --hand2 left)" || fail "same hands: no finding"
# 0 degrees is the spur pair, byte for byte.
for format in text json csv; do
    a=$("$cli" pair -m 2 --z1 18 --z2 41 --x1 0.2 --x2 -0.1 --format $format)
    b=$("$cli" pair -m 2 --z1 18 --z2 41 --x1 0.2 --x2 -0.1 --helix-angle 0 --format $format)
    [ "$a" = "$b" ] || fail "pair --helix-angle 0 changes the $format output"
done
expect 2 "tsumugi-cli: usage error: --mate: is not yet for helical gears (--helix-angle)" -- pair -m 2 --z1 20 --z2 30 --x1 0 --x2 0 --helix-angle 10 --mate internal
expect 2 "tsumugi-cli: usage error: --picture: is not yet for helical gears (--helix-angle)" -- pair -m 2 --z1 20 --z2 30 --x1 0 --x2 0 --helix-angle 10 --picture $work/p.svg
finish
