#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli pair on good and bad input: the printed digits, the three formats,
# the exit codes and the messages. $1 is the built tsumugi-cli.
set -u
cli=$1
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; fail=1; fi; }
ref=(pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36)

out=$("$cli" "${ref[@]}"); check "text exit" $? 0
for line in $'作用圧力角 αw（°）\t26.0886' $'中心距離 a\t56.500' $'歯先円直径 da（短縮後）\t44.840\t79.400' '警告＝０'; do
    grep -qxF "$line" <<<"$out" || { echo "FAIL text lacks [$line]"; fail=1; }
done
check "csv tips" "$("$cli" "${ref[@]}" --format csv | grep '^tip_diameter,')" $'tip_diameter,44.840,79.400\r'

# JSON read back by an independent reader: the second published pair, and its centre distance given.
read_json='import json,sys; d=json.load(sys.stdin); print(d["mode"], d["center_distance"], d["working_pressure_angle"], d["shift"], d["findings"])'
check "json shifts" "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --format json | /usr/bin/python3 -c "$read_json")" \
    "shifts 60.0 20.0 [0.0, 0.0] []"
check "json centre" "$("$cli" pair -m 2 --z1 20 --z2 40 --center-distance 60 --format json | /usr/bin/python3 -c "$read_json")" \
    "center_distance 60.0 20.0 [0.0, 0.0] []"
check "14.5" "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --pressure-angle 14.5 | grep -c '^警告：')" 2

# Bad values: exit 1, the message on stderr, nothing on stdout.
bad() {
    local want_rc=$1 want_err=$2; shift 2
    local out err rc
    out=$("$cli" pair "$@" 2>/tmp/pair_cli_err.$$); rc=$?
    err=$(head -1 /tmp/pair_cli_err.$$)
    check "rc $*" "$rc" "$want_rc"
    check "stdout $*" "$out" ""
    check "stderr $*" "$err" "$want_err"
}
bad 1 "tsumugi-cli pair: モジュールは正の数でなければなりません" -m 0 --z1 12 --z2 24 --x1 0 --x2 0
bad 1 "tsumugi-cli pair: 歯数Ｚ１は 1 以上でなければなりません" -m 1 --z1 0 --z2 24 --x1 0 --x2 0
bad 1 "tsumugi-cli pair: 中心距離が小さすぎます（両歯車の基礎円半径の和より大きくしてください）" \
    -m 3 --z1 12 --z2 24 --center-distance 50
# Usage: exit 2.
bad 2 "pair: give either --x1 and --x2 or --center-distance" -m 3 --z1 12 --z2 24
bad 2 "--x1 requires --x2" -m 3 --z1 12 --z2 24 --x1 0.6
bad 2 "--x1 excludes --center-distance" -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0 --center-distance 56
bad 2 "--pressure-angle: 15 not in {20,14.5}" -m 3 --z1 12 --z2 24 --x1 0 --x2 0 --pressure-angle 15
bad 2 "--format: xml not in {text,json,csv}" -m 3 --z1 12 --z2 24 --x1 0 --x2 0 --format xml
bad 2 "Could not convert: --z1 = 1.5" -m 3 --z1 1.5 --z2 24 --x1 0 --x2 0
rm -f /tmp/pair_cli_err.$$
exit $fail
