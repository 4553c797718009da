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

# Whether display n is taken: a lock file, or a socket of that number, also in
# the abstract namespace that X clients try first.
display_taken() {
    [ -e "/tmp/.X$1-lock" ] || [ -e "/tmp/.X11-unix/X$1" ] ||
        grep -aq "/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

# A private X server on a free display chosen at random, checked to be ours:
# alive, and answering with its own screen size. A server that dies at start
# (its number taken meanwhile) is replaced by one on another number; a slow
# start on a busy machine is waited for.
start_x() {
    local n attempt
    for attempt in $(seq 10); do
        n=$((200 + RANDOM % 700))
        display_taken "$n" && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
        XVFB_PID=$!
        export DISPLAY=:$n
        for _ in $(seq 600); do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            if xdpyinfo 2>/dev/null | grep -q 'dimensions: *1280x1024 pixels'; then
                return 0
            fi
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    done
    fail "no X server could be started"
}

cleanup() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
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
        sleep 0.1
    done
    return 1
}

start_program() {
    (cd "${START_DIR:-$E2E_TMP}" && exec "$PROGRAM") >"$E2E_TMP/program.log" 2>&1 &
    APP_PID=$!
    WIN=$(wait_window "ツムギ") || fail "the window ツムギ did not appear"
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

# Menu bar titles, by their x in the menu bar: ファイル, 編集, ヘルプ.
declare -A MENU_X=([File1]=20 [Edit41]=160 [Help1]=280)

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
