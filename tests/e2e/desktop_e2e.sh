#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole window lies inside a small screen and a scaled one; the windows
# carry the ASCII class tsumugi and the gear icon.
source "$(dirname "$0")/lib.sh"

expect_inside() {   # screen width, height
    [ "$WIN_X" -ge 0 ] && [ "$WIN_Y" -ge 0 ] && [ $((WIN_X + WIN_W)) -le "$1" ] && [ $((WIN_Y + WIN_H)) -le "$2" ] ||
        fail "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H leaves the $1 x $2 screen"
    echo "ok: window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H inside $1 x $2"
}

SCREEN=1024x600 start_x
start_program
expect_inside 1024 600
expect_eq "$WIN_W" 640 "the designed client width"
menu_item Help1 2
box=$(wait_window "バージョン情報") || fail "no version box"
for w in "$WIN" "$box"; do
    expect_eq "$(xprop -id "$w" WM_CLASS)" 'WM_CLASS(STRING) = "tsumugi", "tsumugi"' "the class of window $w"
    [[ $(xprop -id "$w" _NET_WM_ICON) == *"Icon ("* ]] || fail "no icon on window $w"
done
kill "$APP_PID"
stop_x

start_x
export QT_SCALE_FACTOR=2   # 640 × 512 device-independent pixels
start_program
expect_inside 1280 1024
[ "$WIN_W" -gt 1000 ] || fail "the window is not scaled: width $WIN_W"
echo "1 passed, 0 failed"
