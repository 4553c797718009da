#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user started from another folder opens the help page and the home page
# (seen through a stand-in for the desktop's opener), types into the version
# box and finds it again on the next showing, and ends the program with ＥＮＤ.
source "$(dirname "$0")/lib.sh"
start_x

# Qt hands addresses to xdg-open; this one writes them down.
mkdir -p "$E2E_TMP/bin" "$E2E_TMP/elsewhere"
cat >"$E2E_TMP/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$E2E_TMP/opened.txt"
EOF
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH="$E2E_TMP/bin:$PATH"
START_DIR=$E2E_TMP/elsewhere start_program
if xdotool search --onlyvisible --name "^バージョン情報\$" >/dev/null 2>&1; then fail "the version box is shown at start"; fi
echo "ok: the version box is hidden at start"

# Line n of what reached the opener, once it has arrived.
opened_line() {
    for _ in $(seq 50); do
        [ -f "$E2E_TMP/opened.txt" ] && [ "$(wc -l <"$E2E_TMP/opened.txt")" -ge "$1" ] && break
        sleep 0.1
    done
    sed -n "$1p" "$E2E_TMP/opened.txt" 2>/dev/null || true
}

program_dir=$(dirname "$(readlink -f "$PROGRAM")")
menu_item Help1 1
expect_eq "$(opened_line 1)" "file://$program_dir/helphelp.htm" "ヘルプ opens the page beside the program"
[ -f "$program_dir/helphelp.htm" ] || fail "no help page beside the program"
[ ! -e "$E2E_TMP/elsewhere/helphelp.htm" ] || fail "a help page in the working folder"

click_at 576 108   # "GO　ＨＰ"
expect_eq "$(opened_line 2)" "https://tsumugi.example.org/" "GO　ＨＰ opens the home page"

# The version box: three lines, an edit that lasts until the program ends.
menu_item Help1 2
box=$(wait_window "バージョン情報") || fail "the version box did not appear"
read -r BOX_X BOX_Y < <(xdotool getwindowgeometry --shell "$box" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}')
memo_text() {
    xdotool mousemove --sync $((BOX_X + 100)) $((BOX_Y + 60)) click 1
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard
}
lines=$'ツムギ（平歯車の歯形計算）\nバージョン 1.0.0\nツムギ開発チーム'
expect_eq "$(memo_text)" "$lines" "the version box shows its three lines"
xdotool key --clearmodifiers ctrl+End
xdotool type --delay 20 " memo"
xdotool mousemove --sync $((BOX_X + 248)) $((BOX_Y + 172)) click 1   # OK
sleep 0.4
if xdotool search --onlyvisible --name "^バージョン情報\$" >/dev/null 2>&1; then fail "OK did not close the version box"; fi
echo "ok: OK closes the version box"

menu_item Help1 2
box=$(wait_window "バージョン情報") || fail "the version box did not appear again"
expect_eq "$(memo_text)" "$lines memo" "what was typed is still there"
xdotool mousemove --sync $((BOX_X + 248)) $((BOX_Y + 172)) click 1
sleep 0.4

# ＥＮＤ ends the program at once.
menu_item File1 4
for _ in $(seq 50); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$APP_PID" 2>/dev/null; then fail "ＥＮＤ did not end the program"; fi
wait "$APP_PID" && status=0 || status=$?
APP_PID=""
expect_eq "$status" "0" "ＥＮＤ ends the program normally"
echo "1 passed, 0 failed"
