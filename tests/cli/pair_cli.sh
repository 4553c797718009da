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

# The split of a centre distance's shift sum, m 3, z 18/45, a 96, read back by an independent reader:
# each split keeps the sum, undercut puts gear 1 at the textbook x_min of the default rack,
# sliding balances the specific sliding at both roots, worked out here from the printed radii.
for split in proportional undercut sliding; do
    "$cli" pair -m 3 --z1 18 --z2 45 --center-distance 96 --split "$split" --format json >"$work/$split.json" ||
        fail "--split $split exits $?"
done
"$cli" pair -m 3 --z1 18 --z2 45 --center-distance 96 --format json >"$work/default.json"
cmp -s "$work/default.json" "$work/proportional.json" || fail "the default split is not proportional"
"$cli" pair -m 3 --z1 18 --z2 45 --x1 0.2 --center-distance 96 --format json >"$work/kept.json" || fail "--x1 with --center-distance"
/usr/bin/python3 - "$work" <<'PY' || fail "the splits of m 3, z 18/45, a 96"
import json, math, sys
d = {k: json.load(open(f"{sys.argv[1]}/{k}.json")) for k in ("proportional", "undercut", "sliding", "kept")}
al = math.radians(20)
inv = lambda t: math.tan(t) - t
aw = math.acos(3 * 63 / 2 * math.cos(al) / 96)
total = (inv(aw) - inv(al)) * 63 / (2 * math.tan(al))
def sliding(r):
    g = r["center_distance"] * math.sin(math.radians(r["working_pressure_angle"]))
    z = r["teeth"]
    reach = [math.sqrt((r["tip_diameter"][i] / 2) ** 2 - (r["base_diameter"][i] / 2) ** 2) for i in (0, 1)]
    return [1 - z[i] / z[1 - i] * reach[1 - i] / (g - reach[1 - i]) for i in (0, 1)]
for name, r in d.items():
    assert r["mode"] == "center_distance", name
    assert abs(sum(r["shift"]) - total) < 1e-12 and abs(r["shift_sum"] - total) < 1e-12, (name, r["shift"], total)
    assert abs(r["center_distance"] - 96) < 1e-12, name
    zeta = sliding(r)
    assert all(abs(r["specific_sliding"][i] - zeta[i]) < 1e-9 for i in (0, 1)), (name, r["specific_sliding"], zeta)
assert abs(d["proportional"]["shift"][0] - total * 45 / 63) < 1e-12
x_min = (1.25 * 3 - 0.38 * 3 * (1 - math.sin(al))) / 3 - 18 * math.sin(al) ** 2 / 2
assert abs(d["undercut"]["shift"][0] - x_min) < 1e-15, d["undercut"]["shift"]
zeta = sliding(d["sliding"])
assert abs(zeta[0] - zeta[1]) < 1e-9, zeta
kept = d["kept"]
assert kept["shift"][0] == 0.2 and abs(kept["shift"][1] - (kept["shift_sum"] - 0.2)) < 1e-15, kept["shift"]
PY

# The specific sliding row in each format: m 2, z 20/40 without shift (hand-computed -4.2585, -1.5177).
check "sliding text" "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 | grep '^歯元のすべり率')" $'歯元のすべり率 ζ\t-4.2585\t-1.5177'
check "sliding csv" "$("$cli" pair -m 2 --z1 20 --z2 40 --x1 0 --x2 0 --format csv | grep -c '^specific_sliding,-4\.2584[0-9]*,-1\.5176[0-9]*$')" 1
# Ten teeth on ten: both tips past the mate's tangent point, the sliding without a number and its reason.
out=$("$cli" pair -m 1 --z1 10 --z2 10 --x1 0 --x2 0)
grep -qxF $'歯元のすべり率 ζ\t―\t―' <<<"$out" || fail "no ― for the sliding past the tangent point"
check "sliding absent" "$("$cli" pair -m 1 --z1 10 --z2 10 --x1 0 --x2 0 --format json |
    /usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); print(d["specific_sliding"], d["absent"]["specific_sliding"])')" \
    "[None, None] 相手の歯先が作用線の接点に届き、その歯車の歯元のすべり率が定まらない"
check "sliding csv absent" "$("$cli" pair -m 1 --z1 10 --z2 10 --x1 0 --x2 0 --format csv | grep '^specific_sliding,')" "specific_sliding,,"

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
bad 2 "tsumugi-cli: usage error: --split: needs --center-distance, whose shift sum it splits." \
    -m 3 --z1 18 --z2 45 --x1 0 --x2 0 --split sliding
bad 2 "tsumugi-cli: usage error: --split: needs --center-distance, whose shift sum it splits." -m 3 --z1 18 --z2 45 --split undercut
bad 2 "tsumugi-cli: usage error: --split: excludes --x1: gear 1 keeps that shift and gear 2 takes the rest of the sum." \
    -m 3 --z1 18 --z2 45 --x1 0.2 --center-distance 96 --split undercut
bad 2 "tsumugi-cli: usage error: --split: is for two external gears only (--mate external)" \
    -m 1 --z1 20 --z2 60 --center-distance 20 --mate internal --split sliding
bad 2 "tsumugi-cli: usage error: --split: is for two external gears only (--mate external)" -m 1 --z1 20 --mate rack --split undercut
bad 2 "tsumugi-cli: usage error: --split: 'even' is not one of proportional, undercut, sliding." \
    -m 3 --z1 18 --z2 45 --center-distance 96 --split even
bad 2 "tsumugi-cli: usage error: give either --x1 and --x2 or --center-distance." \
    -m 3 --z1 18 --z2 45 --x1 0.2 --x2 0.3 --center-distance 96
bad 1 "tsumugi-cli: refused: すべり率が釣り合う転位係数の配分がありません（どの配分でも歯先が基礎円の内側にあるか、相手の作用線の接点を越えます）." \
    -m 1 --z1 10 --z2 10 --center-distance 10 --split sliding
bad 2 "tsumugi-cli: usage error: --x1: 'nan' is not a number." -m 3 --z1 18 --z2 45 --x1 nan --center-distance 96
finish
