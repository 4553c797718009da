#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli export --helix-angle: the transverse profile in DXF and SVG with
# the note naming beta and the hand, the part twisted along the helix in STL
# and 3MF read back (helicalpart_check.py), the same part for 0 degrees as the
# spur gear's, and STEP refused for now.
source "$(dirname "$0")/lib.sh"

while read -r mn z beta hand b bore; do
    common=(export -m "$mn" -z "$z" --helix-angle "$beta" --hand "$hand" --bore "$bore")
    "$cli" "${common[@]}" --face-width "$b" -o "$work/p.stl" >/dev/null || fail "stl $mn $z $beta"
    "$cli" "${common[@]}" --face-width "$b" -o "$work/p.3mf" >/dev/null || fail "3mf $mn $z $beta"
    "$cli" "${common[@]}" -o "$work/p.dxf" >/dev/null || fail "dxf $mn $z $beta"
    /usr/bin/python3 "$here/helicalpart_check.py" "$work/p.stl" "$work/p.3mf" "$work/p.dxf" "$mn" "$z" "$beta" "$hand" "$b" "$bore" ||
        fail "part $mn $z $beta $hand"
done <<'ROWS'
2 20 20 left 15 8
3 12 30 right 20 0
1 40 15 right 5 6
ROWS

# The transverse profile: its tip circle is d_a = m_n (z / cos(beta) + 2 + 2 x_n).
out=$("$cli" export -m 3 -z 12 -x 0.09809 --helix-angle 30 --hand left -o "$work/t.dxf")
tip=$(/usr/bin/python3 -c 'import math; print("%.6f" % (3 * (12 / math.cos(math.radians(30)) + 2 + 2 * 0.09809)))')
grep -qxF $'tip_diameter_mm\t'"$tip" <<<"$out" || fail "transverse tip: $out"
"$cli" export -m 2 -z 20 --helix-angle 20 --hand left --note -o "$work/n.svg" >/dev/null
grep -qF 'helical, normal values: β 20° left hand' "$work/n.svg" || fail "svg note"
"$cli" export -m 2 -z 20 --helix-angle 20 --note -o "$work/n.dxf" >/dev/null
grep -qaF 'helical, normal values: beta 20%%d right hand' "$work/n.dxf" || fail "dxf note"

# 0 degrees is the spur gear's part, byte for byte.
for ext in stl dxf svg; do
    "$cli" export -m 2 -z 17 --bore 6 -o "$work/a.$ext" >/dev/null
    "$cli" export -m 2 -z 17 --bore 6 --helix-angle 0 -o "$work/b.$ext" >/dev/null
    cmp -s "$work/a.$ext" "$work/b.$ext" || fail "--helix-angle 0 changes the $ext file"
done

expect 1 "tsumugi-cli: refused: はすば歯車は STEP にはまだ書き出せません（STL か 3MF にしてください）." -- export -m 2 -z 20 --helix-angle 20 -o "$work/x.step"
expect 1 "tsumugi-cli: refused: ねじれ角が 0° 以上 90° 未満ではありません." -- export -m 2 -z 20 --helix-angle 90 -o "$work/x.stl"
finish
