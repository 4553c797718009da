#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user's session from start to end, through the real program only: a handful
# of gears, a recall, a delete, a save, a restart, a load, the table copy, a
# print, and a bad input with its error box.
source "$(dirname "$0")/lib.sh"
start_x
start_program

calculate() {
    type_into Edit1 "$1"
    type_into Edit2 "$2"
    type_into Edit4 "$3"
    click_control BitBtn1
}

# Grid cell centres, in client-area coordinates (the grid's own origin is 16, 145).
click_cell() {
    click_at $((16 + 33 + 25)) $((145 + 25 * $1 + 12))
}

# Answers an open or save dialog with a full file name.
answer_dialog() {
    sleep 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 -- "$1"
    xdotool key --clearmodifiers Return
    sleep 0.6
}

copied_table() {
    menu_item Edit41 1
    xclip -o -selection clipboard | tr -d '\r'
}

calculate 1 18 0
calculate 2 12 0.3
calculate 0.5 40 -0.2
calculate 3 25 0.5
expect_eq "$(read_box Edit8)" "84.000" "tip diameter of m3 z25 x0.5"

click_cell 3   # the m2 z12 gear
expect_eq "$(read_box Edit1)" "2" "recalled module"
expect_eq "$(read_box Edit2)" "12" "recalled teeth"
expect_eq "$(read_box Edit47)" "0.871" "recalled tip thickness"

click_cell 2   # recalls the m0.5 z40 gear; then 削除 removes its row
expect_eq "$(read_box Edit2)" "40" "the gear of the clicked row is the current one"
click_control BitBtn2
table=$(copied_table)
expect_eq "$(sed -n 2p <<<"$table")" $'1\t3.000\t25\t0.500\t84.000' "row 1 after the delete"
expect_eq "$(sed -n 3p <<<"$table")" $'2\t2.000\t12\t0.300\t29.200' "row 2 after the delete"
expect_eq "$(sed -n 4p <<<"$table")" $'3\t1.000\t18\t0.000\t20.000' "row 3 after the delete"
expect_eq "$(sed -n 21p <<<"$table")" $'20\t \t \t \t ' "row 20 after the delete"

saved=$E2E_TMP/mygears.hgd
menu_item File1 2
answer_dialog "$saved"
[ -f "$saved" ] || fail "no file was saved"
expect_eq "$(stat -c %s "$saved")" "3344" "size of the saved file"

menu_item File1 4   # ＥＮＤ
for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$APP_PID" 2>/dev/null; then fail "ＥＮＤ did not end the program"; fi
wait "$APP_PID" 2>/dev/null || true
echo "ok: ＥＮＤ ended the program"

start_program
expect_eq "$(read_box Edit8)" "20.000" "a new start shows the default gear"
menu_item File1 1
answer_dialog "$saved"
expect_eq "$(read_box Edit2)" "40" "the loaded current gear"
expect_eq "$(read_box Edit4)" "-0.2" "the loaded current shift"
table=$(copied_table)
expect_eq "$(sed -n 2p <<<"$table")" $'1\t0.500\t40\t-0.200\t20.800' "row 1 after the load"
expect_eq "$(sed -n 3p <<<"$table")" $'2\t3.000\t25\t0.500\t84.000' "row 2 after the load"
expect_eq "$(sed -n 4p <<<"$table")" $'3\t2.000\t12\t0.300\t29.200' "row 3 after the load"
expect_eq "$(sed -n 5p <<<"$table")" $'4\t1.000\t18\t0.000\t20.000' "row 4 after the load"

spool=/var/spool/cups-pdf/tsumugi
if lpstat -v TsumugiPDF >/dev/null 2>&1; then
    before=$(ls -A "$spool" 2>/dev/null | wc -l)
    menu_item File1 3   # 印刷
    for _ in $(seq 300); do
        [ "$(ls -A "$spool" 2>/dev/null | wc -l)" -gt "$before" ] && break
        sleep 0.1
    done
    pdf=$(ls -At "$spool" | head -n 1)
    [ -n "$pdf" ] || fail "no page was printed"
    # The file appears before cups-pdf has finished writing it.
    for _ in $(seq 300); do
        pdfinfo -- "$spool/$pdf" >/dev/null 2>&1 && break
        sleep 0.1
    done
    expect_eq "$(pdfinfo -- "$spool/$pdf" | awk '/^Pages:/{print $2}')" "1" "one printed page"
    rm -f -- "$spool/$pdf"
else
    fail "no PDF queue TsumugiPDF (tools/cups-pdf.sh sets one up)"
fi

type_into Edit1 "1,5"
click_control BitBtn1
box=$(wait_window "歯形計算") || fail "no error box for the module 1,5"
sleep 0.3
xdotool windowfocus --sync "$box" key --clearmodifiers ctrl+c
sleep 0.2
expect_eq "$(xclip -o -selection clipboard)" "'1,5' は浮動小数点数ではありません." "the error box text"
xdotool windowfocus --sync "$box" key --clearmodifiers Return
sleep 0.3
expect_eq "$(read_box Edit8)" "20.800" "the results after the bad input"
kill -0 "$APP_PID" || fail "the program ended"
echo "1 passed, 0 failed"
