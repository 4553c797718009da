#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user starts the program, reads the default gear, calculates another and
# meets the error box for a teeth count that is no integer.
source "$(dirname "$0")/lib.sh"
start_x
start_program

expect_eq "$(read_box Edit8)" "20.000" "tip diameter of the default gear"
expect_eq "$(read_box Edit47)" "0.682" "tip thickness of the default gear"

type_into Edit1 "2"
type_into Edit2 "12"
type_into Edit4 "0.3"
click_control BitBtn1
expect_eq "$(read_box Edit6)" "24.000" "pitch diameter of m2 z12 x0.3"
expect_eq "$(read_box Edit8)" "29.200" "tip diameter of m2 z12 x0.3"
expect_eq "$(read_box Edit10)" "20.200" "root diameter of m2 z12 x0.3"
expect_eq "$(read_box Edit12)" "22.553" "base diameter of m2 z12 x0.3"
expect_eq "$(read_box Edit47)" "0.871" "tip thickness of m2 z12 x0.3"

type_into Edit2 "18.0"
click_control BitBtn1
box=$(wait_window "歯形計算") || fail "no error box for teeth 18.0"
echo "ok: the error box 歯形計算 appeared"
sleep 0.3
xdotool windowfocus --sync "$box" key --clearmodifiers ctrl+c
sleep 0.2
box_text=$(xclip -o -selection clipboard | tr -d '\r')
case "$box_text" in
    *"'18.0' は整数ではありません."*) echo "ok: the box says '18.0' は整数ではありません." ;;
    *) fail "the error box says: $box_text" ;;
esac
xdotool windowfocus --sync "$box" key --clearmodifiers Return
sleep 0.3
if xdotool search --onlyvisible --name "^歯形計算\$" >/dev/null 2>&1; then fail "the error box did not close"; fi
expect_eq "$(read_box Edit2)" "18.0" "the teeth box keeps what was typed"
expect_eq "$(read_box Edit8)" "29.200" "the results stay those of the last gear"
kill -0 "$APP_PID" || fail "the program ended"
echo "1 passed, 0 failed"
