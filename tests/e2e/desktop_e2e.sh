#!/usr/bin/env bash
# The program on a small screen and on a scaled one: the whole window lies
# inside the screen. Its windows carry the ASCII class tsumugi and the gear icon.
source "$(dirname "$0")/lib.sh"

# Checks that the main window lies inside a screen of $1 × $2 pixels.
expect_inside() {
    [ "$WIN_X" -ge 0 ] && [ "$WIN_Y" -ge 0 ] && [ $((WIN_X + WIN_W)) -le "$1" ] && [ $((WIN_Y + WIN_H)) -le "$2" ] ||
        fail "window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H leaves the $1 x $2 screen"
    echo "ok: window at $WIN_X,$WIN_Y size ${WIN_W}x$WIN_H inside $1 x $2"
}

stop_program() {
    kill "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
}

SCREEN=1024x600 start_x
start_program
expect_inside 1024 600
expect_eq "$WIN_W" 640 "the designed client width, unshrunk"
expect_eq "$(xprop -id "$WIN" WM_CLASS)" 'WM_CLASS(STRING) = "tsumugi", "tsumugi"' "the window class"
[[ $(xprop -id "$WIN" _NET_WM_ICON) == *"Icon ("* ]] || fail "no icon on the main window"
echo "ok: the window has an icon"
# The version box, over the main window, carries the same class.
menu_item Help1 2
box=$(wait_window "バージョン情報") || fail "no version box"
expect_eq "$(xprop -id "$box" WM_CLASS)" 'WM_CLASS(STRING) = "tsumugi", "tsumugi"' "the version box's class"
[[ $(xprop -id "$box" _NET_WM_ICON) == *"Icon ("* ]] || fail "no icon on the version box"
echo "ok: the version box has an icon"
stop_program
stop_x

# Scale 2 on 1280 × 1024: 640 × 512 device-independent pixels, smaller than the window.
start_x
export QT_SCALE_FACTOR=2
start_program
expect_inside 1280 1024
[ "$WIN_W" -gt 1000 ] || fail "the window is not scaled: width $WIN_W"
echo "1 passed, 0 failed"
