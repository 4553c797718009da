#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user calculates a gear, chooses 編集 → 表コピー and pastes the table elsewhere.
source "$(dirname "$0")/lib.sh"
start_x
start_program

type_into Edit1 "1.5"
type_into Edit2 "24"
type_into Edit4 "0.25"
click_control BitBtn1
expect_eq "$(read_box Edit8)" "39.750" "tip diameter of m1.5 z24 x0.25"

menu_item Edit41 1
xclip -o -selection clipboard > "$E2E_TMP/table.txt"

expected=$(
    printf '\tﾓｼﾞｭｰﾙ\t歯数\t転位係数\t歯先円\r\n'
    printf '1\t1.500\t24\t0.250\t39.750\r\n'
    for r in $(seq 2 20); do printf '%s\t\t\t\t\r\n' "$r"; done
    printf 'end'
)
actual=$(cat "$E2E_TMP/table.txt"; printf 'end')
if [ "$actual" != "$expected" ]; then
    diff <(printf '%s' "$expected" | od -c) <(printf '%s' "$actual" | od -c) | head -20 >&2
    fail "the copied table differs"
fi
expect_eq "$(tr -cd '\n' < "$E2E_TMP/table.txt" | wc -c)" "21" "21 lines on the clipboard"
echo "1 passed, 0 failed"
