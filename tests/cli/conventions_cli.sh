#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The conventions every subcommand of tsumugi-cli keeps: the table of good and
# bad invocations with their exit codes and messages, a comma locale, the
# Japanese locale, batch on many threads against one, standard input and
# output in place of files, full-precision numbers and one CSV line ending.
source "$(dirname "$0")/lib.sh"

run_table "$here/invocations.txt"

# A comma locale: the text output takes the user's separator, JSON and CSV keep ".", input is typed with ".".
use_locale de_DE.UTF-8
LC_ALL=de_DE.UTF-8 "$cli" gear -m 2.5 -z 20 >"$work/de.txt" 2>"$work/de.err" || fail "gear under de_DE"
grep -qxF $'ピッチ円\t50,000' "$work/de.txt" || fail "de_DE text lacks 50,000: $(head -5 "$work/de.txt")"
LC_ALL=de_DE.UTF-8 "$cli" sheet -m 2.5 -z 20 -o "$work/de.pdf" | grep -qxF $'基準ピッチ円直径\t\t50,000' ||
    fail "de_DE sheet text lacks 50,000"
LC_ALL=de_DE.UTF-8 "$cli" gear -m 2.5 -z 20 --format json | /usr/bin/python3 -c \
    'import json,sys; j=json.load(sys.stdin); assert j["results"]["pitch_diameter"]==50.0 and j["result_texts"]["tip_diameter"]=="55.000"' \
    || fail "de_DE JSON"
[ "$(LC_ALL=de_DE.UTF-8 "$cli" gear -m 2.5 -z 20 --format csv | sed -n 2p | cut -d, -f1-6)" = "2.5,20,0,20,50.000,55.000" ] ||
    fail "de_DE CSV"
LC_ALL=de_DE.UTF-8 "$cli" pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36 | grep -xF $'中心距離 a\t56,500' >/dev/null || fail "de_DE pair text"
LC_ALL=de_DE.UTF-8 "$cli" gear -m 2,5 -z 20 >/dev/null 2>"$work/de.err"
check "de_DE comma typed" "$? $(cat "$work/de.err")" "2 tsumugi-cli: usage error: --module: '2,5' is not a number."
printf '2.5,20,0\n' | LC_ALL=de_DE.UTF-8 "$cli" batch | sed -n 2p | grep '^1,2.5,20,0,20,50.000,' >/dev/null || fail "de_DE batch"

# The Japanese locale: help and the command line's own messages in Japanese; English otherwise.
use_locale ja_JP.UTF-8
LC_ALL=ja_JP.UTF-8 "$cli" gear -m x -z 20 2>"$work/ja.err"
check "ja message" "$? $(cat "$work/ja.err")" "2 tsumugi-cli: 使い方の誤り: --module: 'x' は数ではありません."
LC_ALL= LANG=ja_JP.UTF-8 "$cli" gaer 2>"$work/ja.err"
check "ja suggestion" "$(cat "$work/ja.err")" "tsumugi-cli: 使い方の誤り: 'gaer' はサブコマンドではありません。'gear' のことですか?"
LC_ALL=ja_JP.UTF-8 "$cli" --help | grep -F '終了コード:' >/dev/null || fail "ja --help lacks 終了コード"
LC_ALL=ja_JP.UTF-8 "$cli" batch --help | grep -F 'CSV の行末は LF です。' >/dev/null || fail "ja batch --help"
"$cli" --help | grep -F '  3  file error:' >/dev/null || fail "--help lacks the exit codes"
"$cli" gear --help >"$work/help"
grep -qF -- '--format text|json|csv' "$work/help" && grep -qF 'Examples:' "$work/help" &&
    grep -qF 'tsumugi-cli gear -m 2 -z 20' "$work/help" || fail "gear --help: $(cat "$work/help")"
[ "$("$cli" --version)" = "tsumugi-cli 1.0.0" ] || fail "--version"

# No author lines anywhere in the output.
"$cli" gear -m 2 -z 20 >"$work/g.txt"
grep -q '作者\|E-mail\|HP：' "$work/g.txt" && fail "gear prints the author lines"
grep -qxF 'エラー＝０、警告＝０' "$work/g.txt" || fail "gear lacks the no-findings line"

# batch: many threads and one give the same bytes, in input order, from a file or standard input.
/usr/bin/python3 - "$work/many.csv" <<'PY'
import sys
with open(sys.argv[1], "w") as f:
    f.write("module,teeth,shift,pressure_angle\n")
    for i in range(3000):
        z = 1 + i % 75                          # 71-75 beyond the window's 70, through the gear model
        f.write(f"{0.5 + (i % 9) * 0.25},{z},{(i % 13) * 0.1 - 0.5},{'14.5' if i % 5 == 0 else '20.0'}\n")
        if i % 997 == 0:
            f.write("1,abc,0\n")
PY
"$cli" batch "$work/many.csv" --jobs 1 >"$work/one.out" 2>"$work/one.err"; one=$?
"$cli" batch "$work/many.csv" --jobs 7 >"$work/seven.out" 2>"$work/seven.err"; seven=$?
"$cli" batch - <"$work/many.csv" >"$work/all.out" 2>"$work/all.err"; all=$?
check "batch exit codes" "$one $seven $all" "1 1 1"
cmp -s "$work/one.out" "$work/seven.out" && cmp -s "$work/one.out" "$work/all.out" || fail "batch output depends on threads"
cmp -s "$work/one.err" "$work/seven.err" && cmp -s "$work/one.err" "$work/all.err" || fail "batch messages depend on threads"
# More threads than the address space holds: as many as start, the same bytes.
if ! sanitized; then
    for limit in "2147483648 200" "4294967296 100000"; do
        # shellcheck disable=SC2086
        prlimit --as=${limit% *} "$cli" batch "$work/many.csv" --jobs ${limit#* } >"$work/n.out" 2>"$work/n.err"
        check "batch --jobs ${limit#* } under ${limit% *} bytes" "$?$(cmp "$work/one.out" "$work/n.out")$(cmp "$work/one.err" "$work/n.err")" 1
    done
fi
check "batch rows" "$(wc -l <"$work/one.out")" 3001   # the header and 3000 gears
check "batch order" "$(cut -d, -f1 "$work/one.out" | sed 1d | sort -n -c 2>&1 && echo sorted)" "sorted"
check "batch beyond 70 teeth" "$(grep -c '主画面の計算・登録は歯数 70 までです' "$work/one.out")" 200
grep -qxF "tsumugi-cli: refused: line 3: teeth: 'abc' is not an integer." "$work/one.err" || fail "batch field message"
check "batch --format json --jobs 3" "$("$cli" batch "$work/many.csv" --format json --jobs 3 2>/dev/null | md5sum)" \
    "$("$cli" batch "$work/many.csv" --format json --jobs 1 2>/dev/null | md5sum)"

# table and export through standard input and output.
"$cli" export -m 2 -z 20 -o "$work/g.svg" >/dev/null && "$cli" export -m 2 -z 20 --format svg -o - >"$work/stdout.svg" &&
    cmp -s "$work/g.svg" "$work/stdout.svg" || fail "export -o - differs from the file"
"$cli" export -m 2 -z 20 -o "$work/g.dxf" >/dev/null && "$cli" export -m 2 -z 20 --format dxf -o - | cmp -s - "$work/g.dxf" ||
    fail "export DXF on standard output"
head -c 3344 /dev/zero >"$work/zero.hgd"
"$cli" table "$work/zero.hgd" >"$work/t1" && "$cli" table - <"$work/zero.hgd" >"$work/t2" && cmp -s "$work/t1" "$work/t2" ||
    fail "table - differs from table FILE"

# Full precision in JSON everywhere, one CSV line ending (LF) everywhere.
"$cli" pair -m 3 --z1 12 --z2 24 --center-distance 56.5 --format json | /usr/bin/python3 -c \
    'import json,sys; d=json.load(sys.stdin); assert d["center_distance"]==56.5 and d["working_pressure_angle"]!=round(d["working_pressure_angle"],4), d' ||
    fail "pair JSON rounded"
"$cli" pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36 --format json | /usr/bin/python3 -c \
    'import json,sys; d=json.load(sys.stdin); a=d["center_distance"]; assert abs(a-56.4998)<1e-4 and a!=56.5, a' ||
    fail "pair JSON centre distance is the rounded text"
for args in "gear -m 2 -z 20 --format csv" "pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36 --format csv" "table $work/zero.hgd"; do
    # shellcheck disable=SC2086
    "$cli" $args | grep $'\r' >/dev/null && fail "$args writes CR"
done
printf '2,20,0\n' | "$cli" batch | grep $'\r' >/dev/null && fail "batch writes CR"

# A full standard output is a file error.
if [ -e /dev/full ]; then
    "$cli" gear -m 2 -z 20 >/dev/full 2>"$work/full.err"
    check "stdout full" "$? $(cat "$work/full.err")" "3 tsumugi-cli: file error: standard output: could not be written."
fi

# The manual page renders.
man_page=$(dirname "$cli")/tsumugi-cli.1
if command -v groff >/dev/null && [ -f "$man_page" ]; then
    # Read all of groff's output: grep -q leaving early would fail the pipeline through a broken pipe.
    rendered=$(groff -k -man -Tutf8 -ww "$man_page" 2>"$work/man.err" | sed 's/.\x08//g')
    grep -qF 'EXIT STATUS' <<<"$rendered" || fail "tsumugi-cli.1 does not render"
    [ ! -s "$work/man.err" ] || fail "groff warns: $(cat "$work/man.err")"
fi
finish
