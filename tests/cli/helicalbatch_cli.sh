#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli batch with a fifth column, the helix angle: a helical line gives
# what gear --helix-angle gives (transverse diameters, W and M in the normal
# section), 0 degrees the spur line's bytes, and a bad angle is refused by line.
source "$(dirname "$0")/lib.sh"

input=$'module,teeth,shift,pressure angle,helix angle\n3,12,0.09809,20,30\n2,17,0.1,20,0\n2,17,0.1\n1,20,0,20,-1\n1,20,0,20,90\n2,25,0.3,14.5,15'
out=$("$cli" batch <<<"$input" 2>"$work/err"); check "exit with bad lines" $? 1
[ "$(sed -n 3p <<<"$out" | cut -d, -f2-)" = "$(sed -n 4p <<<"$out" | cut -d, -f2-)" ] || fail "0 degrees differs from the spur line"
check "errors" "$(cat "$work/err")" "tsumugi-cli: refused: line 5: helix angle: -1 must not be negative.
tsumugi-cli: refused: line 6: ねじれ角が 0° 以上 90° 未満ではありません."
/usr/bin/python3 - "$out" "$("$cli" gear -m 3 -z 12 -x 0.09809 --helix-angle 30 --format json)" \
    "$("$cli" gear -m 2 -z 25 -x 0.3 --pressure-angle 14.5 --helix-angle 15 --format json)" \
    "$("$cli" batch --format json <<<"$input" 2>/dev/null)" <<'PY' || fail "helical lines against gear --helix-angle"
import csv, io, json, sys
rows = list(csv.DictReader(io.StringIO(sys.argv[1])))
batch_json = {o["line"]: o for o in json.loads(sys.argv[4])}
for row, gear in ((rows[0], json.loads(sys.argv[2])), (rows[-1], json.loads(sys.argv[3]))):
    assert row["pitch_diameter"] == "%.3f" % gear["pitch_diameter"], (row["pitch_diameter"], gear["pitch_diameter"])
    assert row["tip_diameter"] == "%.3f" % gear["tip_diameter"]
    assert float(row["span_k"]) == gear["span_normal"] and int(row["span_teeth"]) == gear["span_teeth"]
    assert float(row["over_pins"]) == gear["over_balls"] and float(row["tooth_thickness"]) == gear["tooth_thickness_normal"]
    assert row["messages"].startswith("はすば歯車（ねじれ角 "), row["messages"]
    j = batch_json[int(row["line"])]
    assert j["helix_angle"] == gear["helix_angle"] and j["inspection"]["span_k"] == gear["span_normal"], j
assert "helix_angle" not in batch_json[3] and "helix_angle" not in batch_json[4]
PY
finish
