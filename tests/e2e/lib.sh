# SPDX-License-Identifier: GPL-3.0-or-later
# Shared steps of the end-to-end tests: a private X server, the real program,
# and a user's hands (xdotool) and eyes (xclip, window titles).
# Usage: source this file with the program's path in $1.

set -euo pipefail

PROGRAM=$(realpath "${1:?path of the program}")
E2E_TMP=$(mktemp -d /tmp/tsumugi-e2e.XXXXXX)
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# The file dialogs driven here are Qt's own, not a desktop's.
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION
export LC_ALL=C.UTF-8

CLIENT_HEIGHT=474   # the client area below the menu bar

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$E2E_TMP/program.log" ]; then
        echo "--- program output" >&2
        cat "$E2E_TMP/program.log" >&2
    fi
    if [ -s "$E2E_TMP/xvfb.log" ]; then
        echo "--- X server output" >&2
        tail -n 20 "$E2E_TMP/xvfb.log" >&2
    fi
    exit 1
}

# A private X server. It chooses its own display number (-displayfd): the first
# whose lock file and sockets it can take, so no number is picked blindly and
# raced for. -noreset keeps it from resetting when its last client leaves, so a
# client arriving right after the readiness check finds it up. A slow start on
# a busy machine is waited for; a server that dies at start is replaced.
# The screen is 1280 × 1024 unless SCREEN says another size (WIDTHxHEIGHT).
start_x() {
    local attempt n info screen=${SCREEN:-1280x1024}
    for attempt in $(seq 5); do
        rm -f "$E2E_TMP/display"
        Xvfb -displayfd 9 -screen 0 "${screen}x24" -nolisten tcp -noreset \
            9>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 600); do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            n=$(tr -cd '0-9' <"$E2E_TMP/display" 2>/dev/null || true)
            # Read all of xdpyinfo's answer: under pipefail, grep -q leaving
            # early would fail the check through xdpyinfo's broken pipe.
            if [ -n "$n" ] && info=$(DISPLAY=:$n xdpyinfo 2>/dev/null) &&
                [[ $info =~ dimensions:\ +${screen}\ pixels ]]; then
                export DISPLAY=:$n
                return 0
            fi
            sleep 0.1
        done
        echo "note: X server attempt $attempt failed; trying again" >&2
        stop_x
    done
    fail "no X server could be started"
}

stop_x() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

# What the X side looked like, for a failure report.
x_diagnostics() {
    echo "--- X diagnostics: DISPLAY=${DISPLAY:-} uid=$(id -u)" >&2
    if [ -n "${XVFB_PID:-}" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "server $XVFB_PID alive" >&2
    else
        echo "server ${XVFB_PID:-none} not running" >&2
    fi
    { xdpyinfo 2>&1 || true; } | sed -n 1,3p >&2
    { ls -la /tmp/.X11-unix 2>&1 || true; } | sed -n 1,10p >&2
    { grep -a 'X11-unix' /proc/net/unix 2>/dev/null || true; } | sed -n 1,10p >&2
}

# A program still running at the end is ended through ＥＮＤ, as a user ends it,
# so that a sanitizer build checks its leaks on the way out; one that does not
# end within 5 s is killed. A sanitizer report in the program's output fails
# the test, whatever else passed.
cleanup() {
    local status=$?
    if [ -n "${APP_PID:-}" ] && kill -0 "$APP_PID" 2>/dev/null; then
        { [ -n "${WIN_X:-}" ] && menu_item File1 4; } >/dev/null 2>&1 || true
        for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
        kill "$APP_PID" 2>/dev/null || true
    fi
    stop_x
    wait 2>/dev/null || true
    if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$E2E_TMP/program.log" 2>/dev/null; then
        echo "FAIL: a sanitizer report in the program's output" >&2
        cat "$E2E_TMP/program.log" >&2
        status=1
    fi
    rm -rf "$E2E_TMP"
    exit "$status"
}
trap cleanup EXIT

# Waits for a window whose title is exactly $1; prints its id.
wait_window() {
    local title=$1 id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ] && xdotool getwindowgeometry "$id" >/dev/null 2>&1; then
            echo "$id"
            return 0
        fi
        # A program that has ended shows no more windows.
        if [ -n "${APP_PID:-}" ] && ! kill -0 "$APP_PID" 2>/dev/null; then
            return 1
        fi
        sleep 0.1
    done
    return 1
}

# Starts the program and waits for its main window. A program that could not
# reach the X server at all never ran a line of ours: that start is reported and
# made again on a fresh server, at most twice. Anything else is a failure.
start_program() {
    local attempt
    for attempt in 1 2 3; do
        # The print tests' PDF queue by name: the program's default printer, not the machine's.
        (cd "${START_DIR:-$E2E_TMP}" && PRINTER=${PRINTER:-TsumugiPDF} exec "$PROGRAM") >"$E2E_TMP/program.log" 2>&1 &
        APP_PID=$!
        if WIN=$(wait_window "ツムギ"); then
            break
        fi
        if kill -0 "$APP_PID" 2>/dev/null ||
            ! grep -q 'could not connect to display' "$E2E_TMP/program.log" || [ "$attempt" = 3 ]; then
            x_diagnostics
            fail "the window ツムギ did not appear"
        fi
        echo "note: the program could not reach the X server (attempt $attempt):" >&2
        cat "$E2E_TMP/program.log" >&2
        x_diagnostics
        wait "$APP_PID" 2>/dev/null || true
        stop_x
        start_x
    done
    sleep 0.3
    read -r WIN_X WIN_Y WIN_W WIN_H < <(xdotool getwindowgeometry --shell "$WIN" |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}')
    MENU_H=$((WIN_H - CLIENT_HEIGHT))
}

# Clicks at client-area coordinates (x, y).
click_at() {
    xdotool mousemove --sync $((WIN_X + $1)) $((WIN_Y + MENU_H + $2)) click 1
    sleep 0.15
}

# Control centres, in client-area coordinates.
declare -A CENTRE=(
    [Edit1]="116 18" [Edit2]="116 43" [Edit4]="116 66"
    [BitBtn1]="48 104" [BitBtn2]="124 104"
    [Edit6]="260 18" [Edit8]="260 42" [Edit10]="260 66" [Edit12]="260 90" [Edit47]="260 114"
    [RG1_0]="344 114" [RG1_1]="410 114" [RG1_2]="476 114"
)

click_control() {
    # shellcheck disable=SC2086
    click_at ${CENTRE[$1]}
}

# Replaces the text of an input box as a user does: click, select all, type.
type_into() {
    click_control "$1"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 -- "$2"
    sleep 0.1
}

# Copies a box's text with the keyboard and reads the clipboard.
read_box() {
    click_control "$1"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard
}

# Menu bar titles, by their x in the menu bar: ファイル, 編集, ツール, ヘルプ.
declare -A MENU_X=([File1]=20 [Edit41]=160 [Tool1]=290 [Help1]=420)

# Chooses item n (1-based) of a menu: a click on its title, then the keyboard.
menu_item() {
    xdotool mousemove --sync $((WIN_X + ${MENU_X[$1]})) $((WIN_Y + MENU_H / 2)) click 1
    sleep 0.4
    local keys=()
    for _ in $(seq "$2"); do keys+=(Down); done
    xdotool key --clearmodifiers "${keys[@]}" Return
    sleep 0.4
}

expect_eq() {
    if [ "$1" != "$2" ]; then
        fail "$3: expected '$2', got '$1'"
    fi
    echo "ok: $3"
}
