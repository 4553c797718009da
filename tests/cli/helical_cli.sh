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
expect 2 "tsumugi-cli: usage error: --accuracy-class: is not yet for helical gears (--helix-angle)" -- gear -m 2 -z 20 --helix-angle 10 --accuracy-class 6
finish
