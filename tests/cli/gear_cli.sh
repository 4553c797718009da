#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli gear, batch and table on a small table of inputs: what is printed,
# the messages on standard error and the exit codes.
# (The exit codes and messages of every subcommand: invocations.txt.)
source "$(dirname "$0")/lib.sh"

# gear: the window's box texts and the inspection lines.
expect 0 "" -- gear -m 2 -z 20
for line in $'ピッチ円\t40.000' $'歯先円\t44.000' $'歯底円\t35.000' $'基礎円\t37.588' $'歯先歯厚\t1.390' \
            $'推奨またぎ歯数 k\t3' $'またぎ歯厚 W（k＝3）\t15.3209' $'またぎ歯厚 W（k＝4）\t21.2251' \
            $'測定点の直径（k＝3）\t40.5902' 'エラー＝０、警告＝０'; do
    grep -qxF "$line" "$work/out" || fail "gear -m 2 -z 20 lacks '$line'"
done
expect 0 "" -- gear -m 1 -z 10 --span-teeth 1 --pin 1.5
for line in $'切下げ\tあり' '警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生' $'またぎ歯厚 W（k＝0）\t―（またぎ歯数 k が 1 未満です）' \
            $'ピン径 dp\t1.5000'; do
    grep -qxF "$line" "$work/out" || fail "gear -m 1 -z 10 lacks '$line'"
done
# 14.5 degrees: the box keeps the 20-degree thickness, the note says which is which.
expect 0 "" -- gear -m 1 -z 18 --pressure-angle 14.5 --format text
grep -qF '主画面の「歯先歯厚」0.682 は 20° の近似探索による値' "$work/out" || fail "no tip-thickness note at 14.5°"

expect 0 "" -- gear -m 10 -z 12 -x 0.3 --format json
/usr/bin/python3 - "$work/out" <<'PY' || fail "gear JSON"
import json, sys
j = json.load(open(sys.argv[1]))
i = j["inspection"]
assert round(i["tooth_thickness"], 4) == 17.8918 and round(i["chordal_thickness"], 4) == 17.8256, i
assert round(i["chordal_height"], 4) == 13.6657 and i["undercut"] is False, i
assert len(repr(i["chordal_height"])) > 12, "full precision"
assert j["result_texts"]["tip_diameter"] == "146.000" and j["results"]["tip_diameter"] == 146.0
PY

# Limits only for an allowance given: s + A on the reference circle (pi m / 2 = 3.14159).
grep -qF 'の許容範囲' <<<"$("$cli" gear -m 2 -z 20)" && fail "limit lines without an allowance"
grep -qxF $'ピッチ円歯厚 sの許容範囲\t3.0916 ～ 3.1216' <<<"$("$cli" gear -m 2 -z 20 --thickness-allowance=-0.02,-0.05)" ||
    fail "limit line with an allowance"
# More teeth than the window computes: the gear model's sizes m z and m (z + 2), and a line saying so.
out=$("$cli" gear -m 1 -z 71)
for line in $'ピッチ円\t71.000' $'歯先円\t73.000' '主画面の計算・登録は歯数 70 までです（「エラー：歯数Ｚ1が多すぎる、計算不可」）。ここの値は歯車モデルによる値です'; do
    grep -qxF "$line" <<<"$out" || fail "gear -z 71 lacks [$line]"
done

expect 2 "tsumugi-cli: usage error: --teeth: '18.0' is not an integer." -- gear -m 1 -z 18.0
expect 2 "tsumugi-cli: usage error: --pin: '' is not a number." -- gear -m 1 -z 18 --pin ''
expect 2 "tsumugi-cli: usage error: --module: '1e999' is not a number." -- gear -m 1e999 -z 18
expect 2 "tsumugi-cli: usage error: --shift: 'nan' is not a number." -- gear -m 1 -z 18 -x nan

# batch: bad lines by number, the others computed.
printf 'module,teeth,shift\n2,20,0\n1,abc,0\n\n# a comment\n1,10,0,14.5\n1,71,0\n1,18\n0,18,0\n1,18,0,15\n1.5,18,0.25\r\n' >"$work/in"
input=$work/in expect 1 "tsumugi-cli: refused: line 3: teeth: 'abc' is not an integer.
tsumugi-cli: refused: line 8: 2 fields; a line is module,teeth,shift[,pressure angle].
tsumugi-cli: refused: line 9: module: 0 must be greater than 0.
tsumugi-cli: refused: line 10: pressure angle: '15' is neither 20 nor 14.5." -- batch
[ "$(cut -d, -f1-10 "$work/out")" = "line,module,teeth,shift,pressure_angle,pitch_diameter,tip_diameter,root_diameter,base_diameter,tip_thickness_box
2,2,20,0,20,40.000,44.000,35.000,37.588,1.390
6,1,10,0,14.5,10.000,12.000,7.500,9.681,0.588
7,1,71,0,20,71.000,73.000,68.500,66.718,0.794
11,1.5,18,0.25,20,27.000,30.750,24.000,25.372,0.859" ] || fail "batch CSV: $(cat "$work/out")"
printf '2,20,0\n1,18,0\n' >"$work/in"
input=$work/in expect 0 "" -- batch --format json
/usr/bin/python3 -c 'import json,sys; j=json.load(open(sys.argv[1])); assert [g["line"] for g in j]==[1,2] and j[0]["inspection"]["recommended_span_teeth"]==3' \
    "$work/out" || fail "batch JSON"

# table: every field of a file written here, the file left as it was.
/usr/bin/python3 - "$work/t.hgd" <<'PY'
import struct, sys
slot = lambda use, angle, m, z, z2, x, fill: struct.pack('<iidiid', use, angle, m, z, z2, x) + fill * 32 + \
    struct.pack('<d', 40.0) + fill * 8 + struct.pack('<d', 44.0) + fill * 8 + struct.pack('<d', 35.0) + fill * 8 + \
    struct.pack('<d', 37.5) + fill * 16 + struct.pack('<d', float('nan')) + fill * 8
data = slot(1, 1, 2.0, 20, 20, 0.125, b'\xab') + b''.join(slot(0, 0, 1.0, 18, 20, 0.0, b'\0') for _ in range(21))
open(sys.argv[1], 'wb').write(data)
PY
before=$(sha256sum "$work/t.hgd")
expect 0 "" -- table "$work/t.hgd"
[ "$(sed -n 2p "$work/out")" = "0,current,1,1,2,20,20,0.125,40,44,35,37.5,nan,$(printf 'ab%.0s' $(seq 80))" ] || fail "table slot 0: $(sed -n 2p "$work/out")"
[ "$(wc -l <"$work/out")" = 23 ] && [ "$(tail -1 "$work/out" | cut -d, -f1-4)" = "21,spill,0,0" ] || fail "table rows"
expect 0 "" -- table "$work/t.hgd" --format json
/usr/bin/python3 -c 'import json,sys; j=json.load(open(sys.argv[1])); s=j["slots"]; assert len(s)==22 and s[0]["shift"]==0.125 and s[0]["tip_thickness"]=="nan" and s[5]["pressure_angle_index"]==0' \
    "$work/out" || fail "table JSON"
[ "$(sha256sum "$work/t.hgd")" = "$before" ] || fail "table changed the file"
head -c 200 "$work/t.hgd" >"$work/short.hgd"
expect 1 "tsumugi-cli: refused: $work/short.hgd: 200 bytes, short of 3344 (the missing bytes are shown as 0)" -- table "$work/short.hgd"
finish
