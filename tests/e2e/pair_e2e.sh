#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user opens ツール → かみあい for the first published pair and copies the
# report: it matches what tsumugi-cli pair prints, digit for digit.
source "$(dirname "$0")/lib.sh"
CLI=$(dirname "$PROGRAM")/tsumugi-cli
[ -x "$CLI" ] || fail "tsumugi-cli is not built beside the program"
start_x
start_program

type_into Edit1 "3"
type_into Edit2 "12"
type_into Edit4 "0.6"
click_control BitBtn1

# ツール: 検査寸法, 歯形の書き出し, かみあい.
menu_item Tool1 3
PAIR=$(wait_window "かみあい") || fail "the window かみあい did not appear"
sleep 0.3
read -r PX PY < <(xdotool getwindowgeometry --shell "$PAIR" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}')
pair_type() {
    xdotool mousemove --sync $((PX + $1)) $((PY + $2)) click 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 -- "$3"
}
pair_type 310 77 "24"
pair_type 310 106 "0.36"
xdotool key --clearmodifiers Return   # Enter in a typed box calculates
sleep 0.3
xdotool mousemove --sync $((PX + 310)) $((PY + 248)) click 1   # コピー
sleep 0.3

actual=$(xclip -o -selection clipboard | tr -d '\r'; printf end)
expected=$("$CLI" pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36; printf end)
if [ "$actual" != "$expected" ]; then
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") | head -20 >&2
    fail "the window's report differs from the command line's"
fi
expect_eq "$(grep -c $'\t26.0886$' <<<"$actual")" "1" "working pressure angle 26.0886 in both"
echo "1 passed, 0 failed"
