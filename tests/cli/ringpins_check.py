# SPDX-License-Identifier: GPL-3.0-or-later
# The limits of a ring's measurement between pins, against a construction of
# its own: the ring's tooth flanks drawn as a string unwound from the base
# circle, the space widened by the allowance, and the pin pushed out along the
# space's centre line until shapely finds it touching the flanks.
# Usage: ringpins_check.py MODULE TEETH SHIFT UPPER LOWER < gear --internal --format json
import json, math, sys
from shapely.geometry import LineString, Point

m, z, x, upper, lower = float(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4]), float(sys.argv[5])
report = json.load(sys.stdin)
alpha = math.radians(20.0)
d = m * z
rb = d / 2 * math.cos(alpha)
root = report["root_diameter"] / 2
dp = report["pin_diameter"]


def unwound(t):   # the string's end, unwound by the angle t from (rb, 0)
    return rb * (math.cos(t) + t * math.sin(t)), rb * (math.sin(t) - t * math.cos(t))


def between_pins(allowance):
    space = math.pi * m / 2 + 2 * x * m * math.tan(alpha) - allowance
    # The flank above the space's centre line: the unwound curve mirrored and
    # turned so that it crosses the reference circle space/2 from the line.
    t_ref = math.sqrt((d / 2 / rb) ** 2 - 1)
    px, py = unwound(t_ref)
    turn = space / d + math.atan2(py, px)
    t_end = math.sqrt((root * 1.02 / rb) ** 2 - 1)
    pts = []
    for i in range(4001):
        ux, uy = unwound(t_end * i / 4000)
        uy = -uy
        pts.append((ux * math.cos(turn) - uy * math.sin(turn), ux * math.sin(turn) + uy * math.cos(turn)))
    flank = LineString(pts)
    # The space narrows outwards: the pin's centre between clear (in) and overlapping (out).
    lo, hi = rb, root * 1.02
    for _ in range(100):
        mid = (lo + hi) / 2
        if flank.distance(Point(mid, 0)) < dp / 2:
            hi = mid
        else:
            lo = mid
    spread = 2 * lo if z % 2 == 0 else 2 * lo * math.cos(math.pi / (2 * z))
    return spread - dp


got = report["between_pins_limits"]
want = [between_pins(upper), between_pins(lower)]
nominal = between_pins(0.0)
tol = 1e-6 * m   # the flank polyline's chords
ok = all(abs(a - b) < tol for a, b in zip(got, want)) and abs(report["between_pins"] - nominal) < tol
print("ok" if ok else f"got {got} nominal {report['between_pins']}, construction {want} nominal {nominal}")
