#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A maker exports a printable part through ツール → 歯形の書き出し with the
# keyboard: a 10-mm bore with its keyway, face width 10, saved as STL. The file
# is closed and oriented for admesh and is the one tsumugi-cli makes.
source "$(dirname "$0")/lib.sh"
CLI=$(dirname "$PROGRAM")/tsumugi-cli
[ -x "$CLI" ] || fail "tsumugi-cli is not built beside the program"
start_x
start_program

type_into Edit1 "2"
type_into Edit2 "20"
type_into Edit4 "0"
click_control BitBtn1

menu_item Tool1 2
wait_window "歯形の書き出し" >/dev/null || fail "the form 歯形の書き出し did not appear"
sleep 0.5
# The boxes in their order: tolerance, tip radius, allowance 上 and 下, bore, keyway, face width, ...
xdotool key --clearmodifiers Tab Tab Tab Tab ctrl+a
xdotool type --delay 20 -- "10"
xdotool key --clearmodifiers Tab space Tab ctrl+a
xdotool type --delay 20 -- "10"
xdotool key --clearmodifiers Return   # 保存先を選ぶ…
sleep 1
part=$E2E_TMP/gear.stl
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 10 -- "$part"
xdotool key --clearmodifiers Return
for _ in $(seq 50); do [ -s "$part" ] && break; sleep 0.2; done
[ -s "$part" ] || fail "no STL was saved"

report=$(admesh "$part" | tr -d '\0')
for line in "Number of parts       :     1" "Backwards edges       :     0" "Facets reversed       :     0" \
            "Edges fixed           :     0" "Degenerate facets     :     0"; do
    grep -qF "$line" <<<"$report" || fail "admesh: not '$line'"
done
"$CLI" export -m 2 -z 20 --bore 10 --keyway --face-width 10 -o "$E2E_TMP/cli.stl" >/dev/null || fail "tsumugi-cli export"
cmp -s "$part" "$E2E_TMP/cli.stl" || fail "the window's STL differs from the command line's"
echo "1 passed, 0 failed"
