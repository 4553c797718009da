#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window started with no part module beside it: it comes up, saves an STL
# through ツール → 歯形の書き出し, and refuses a STEP file with an error box that
# names the module it looked for and why it could not load it.
source "$(dirname "$0")/lib.sh"
mkdir -p "$E2E_TMP/bin"
cp "$PROGRAM" "$E2E_TMP/bin/tsumugi"
PROGRAM=$E2E_TMP/bin/tsumugi
module=$E2E_TMP/bin/libtsumugi-parts.so
start_x
start_program

type_into Edit1 "2"
type_into Edit2 "20"
click_control BitBtn1

# ツール → 歯形の書き出し with the form's values, saved under the name $1.
export_as() {
    menu_item Tool1 2
    wait_window "歯形の書き出し" >/dev/null || fail "the form 歯形の書き出し did not appear"
    sleep 0.5
    xdotool key --clearmodifiers Return   # 保存先を選ぶ…
    sleep 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 -- "$1"
    xdotool key --clearmodifiers Return
}

export_as "$E2E_TMP/gear.stl"
for _ in $(seq 50); do [ -s "$E2E_TMP/gear.stl" ] && break; sleep 0.2; done
[ -s "$E2E_TMP/gear.stl" ] || fail "no STL was saved without the part module"

export_as "$E2E_TMP/gear.step"
box=$(wait_window "歯形計算") || fail "no error box for the STEP file"
sleep 0.3
xdotool windowfocus --sync "$box" key --clearmodifiers ctrl+c
sleep 0.2
want="STEP ファイルを作れません。モジュール $module を読み込めません ($module: cannot open shared object file: No such file or directory)"
[ "$(xclip -o -selection clipboard | tr -d '\r')" = "$want" ] || fail "the error box says: $(xclip -o -selection clipboard)"
xdotool windowfocus --sync "$box" key --clearmodifiers Return
[ ! -e "$E2E_TMP/gear.step" ] || fail "a STEP file was saved"
sleep 0.3
kill -0 "$APP_PID" || fail "the program ended"
echo "1 passed, 0 failed"
