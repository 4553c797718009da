#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli pair on good and bad input: the printed digits, the three formats,
# the exit codes and the messages. $1 is the built tsumugi-cli.
# (Its exit codes and messages beside the other subcommands': invocations.txt.)
source "$(dirname "$0")/lib.sh"
ref=(pair -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0.36)

out=$("$cli" "${ref[@]}"); check "text exit" $? 0
for line in $'作用圧力角 αw（°）\t26.0886' $'中心距離 a\t56.500' $'歯先円直径 da（短縮後）\t44.840\t79.400' '警告＝０'; do
    grep -qxF "$line" <<<"$out" || fail "text lacks [$line]"
done
check "csv tips" "$("$cli" "${ref[@]}" --format csv | grep '^tip_diameter,')" 'tip_diameter,44.839739440610366,79.39973944061036'

# JSON read back by an independent reader: the second published pair, and its centre distance given.
read_json='import json,sys; d=json.load(sys.stdin); print(d["mode"], d["center_distance"], d["working_pressure_angle"], d["shift"], d["findings"])'
check "json shifts" "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --format json | /usr/bin/python3 -c "$read_json")" \
    "shifts 60.0 20.0 [0.0, 0.0] []"
check "json centre" "$("$cli" pair -m 2 --z1 20 --z2 40 --center-distance 60 --format json | /usr/bin/python3 -c "$read_json")" \
    "center_distance 60.0 20.0 [0.0, 0.0] []"
check "14.5" "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --pressure-angle 14.5 | grep -c '^警告：')" 2

# Backlash at full precision: thickness allowances alone give j_bn = -(A1 + A2) cos(alpha).
/usr/bin/python3 - "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --thickness-allowance1=-0.05,-0.1 --format json)" \
    "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --thickness-allowance1=-0.05,-0.1 --format csv)" <<'PY' ||
import json, math, sys
c = math.cos(math.radians(20))
got = json.loads(sys.argv[1])["backlash"]["normal_backlash"]
row = [l.split(",") for l in sys.argv[2].splitlines() if l.startswith("normal_backlash,")][0]
assert abs(got[0] - 0.05 * c) < 1e-15 and abs(got[1] - 0.1 * c) < 1e-15, got
assert abs(float(row[1]) - 0.05 * c) < 1e-15 and abs(float(row[2]) - 0.1 * c) < 1e-15, row
PY
    fail "backlash not at full precision"
# Every warning counted: no 警告＝０ above the backlash's warning.
out=$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --thickness-allowance1=0,0)
grep -qF '警告：最小法線バックラッシが' <<<"$out" && grep -qxF '警告＝０' <<<"$out" && fail "警告＝０ beside a warning"

# Bad values: the message on stderr, nothing on stdout.
bad() {
    local want_rc=$1 want_err=$2; shift 2
    expect "$want_rc" "$want_err" -- pair "$@"
    check "stdout $*" "$(cat "$work/out")" ""
}
bad 1 "tsumugi-cli: refused: 中心距離が小さすぎます（両歯車の基礎円半径の和より大きくしてください）." \
    -m 3 --z1 12 --z2 24 --center-distance 50
bad 2 "tsumugi-cli: usage error: --module: 0 must be greater than 0." -m 0 --z1 12 --z2 24 --x1 0 --x2 0
bad 2 "tsumugi-cli: usage error: give either --x1 and --x2 or --center-distance." \
    -m 3 --z1 12 --z2 24 --x1 0.6 --x2 0 --center-distance 56
bad 2 "tsumugi-cli: usage error: --z1: '1.5' is not an integer." -m 3 --z1 1.5 --z2 24 --x1 0 --x2 0
finish
