#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# W, M, s-bar and h-bar of tsumugi-cli gear against a gear cut here another way:
# the rack tooth (trapezoid with its tip corners rounded by an opening, radius
# 0.38 m) swept past the blank in a few thousand roll positions with shapely,
# the swept tooth space subtracted from the tip disk once per tooth. The
# readings are then taken on that polygon by the gauges' own rules: the anvil
# on the first outermost point of the outer flank walking down from the tip,
# the pin coming in along the space's middle line until it meets the boundary,
# the pitch circle's crossing of the flank.
#
# usage: measure_check.py TSUMUGI-CLI
import json
import math
import subprocess
import sys

from shapely.affinity import rotate
from shapely.geometry import Point, Polygon
from shapely.ops import unary_union

CLI = sys.argv[1]
TOL = 5e-4   # mm: the polygon's own error stays below 1e-4 mm

# (module, teeth, shift, pressure angle, span teeth or None, pin or None,
#  what each reading is expected to be: "inv" on the involute without a note,
#  "gen" on the generated tooth with a note, "absent")
CASES = [
    (2, 20, 0.0, 20, None, None, dict(W="inv", M="inv", s="inv")),          # normal gears
    (1, 60, 0.0, 20, 7, None, dict(W="inv", M="inv", s="inv")),
    (3, 25, 0.4, 20, None, 5.0, dict(W="inv", M="inv", s="inv")),
    (1, 6, -0.5, 20, 1, None, dict(W="gen", M="absent", s="gen")),          # anvil and pitch circle in the undercut
    (1, 10, -0.3, 20, None, None, dict(W="gen", M="absent", s="inv")),      # the ideal pin drops into the undercut, below the tips
    (1, 10, -0.3, 20, 2, 2.0, dict(W="inv", M="inv", s="inv")),
    (1, 6, 0.0, 20, 1, 1.6, dict(W="inv", M="gen", s="inv")),               # the pin on the undercut's edge
    (2, 12, 0.0, 20, 2, 2.4, dict(W="inv", M="absent", s="inv")),           # the pin in the undercut, below the tips
    (1, 20, 0.0, 14.5, 1, 1.6, dict(W="inv", M="inv", s="inv")),            # 14.5 degrees undercuts at 20 teeth
    (1, 30, 1.1, 20, 2, 1.8, dict(W="absent", M="inv", s="gen")),           # fillet contact, no undercut
    (1, 60, 0.0, 20, None, 1.5, dict(W="inv", M="absent", s="inv")),        # pin below the tips
    (1, 60, 1.3, 20, None, None, dict(W="inv", M="inv", s="absent")),       # pitch circle below the root
]


def cut_gear(m, z, x, degrees):
    """The gear as a shapely polygon, tooth 0 on +x, the space at -pi/z."""
    a = math.radians(degrees)
    rho = 0.38 * m
    rp, xm = z * m / 2, x * m
    ra = rp + xm + m
    # The rack tooth in its own frame: u along the line, v towards the gear
    # centre from the reference line; 1.25 m deep into the gear, its body far
    # below the gear's tip (v = -m).
    half = lambda v: math.pi * m / 4 - v * math.tan(a)
    lo, hi = -1.6 * m, 1.25 * m
    tooth = Polygon([(-half(lo), lo), (half(lo), lo), (half(hi), hi), (-half(hi), hi)])
    tooth = tooth.buffer(-rho, 128, join_style=2).buffer(rho, 128)   # rounds the tip corners with rho
    # Fixed frame: gear centre at 0, reference line at y = -(rp + xm); the gear
    # turned by phi sees the rack turned back by -phi.
    def placed(phi):
        coords = []
        for u, v in tooth.exterior.coords:
            X, Y = u + rp * phi, v - (rp + xm)
            c, s = math.cos(-phi), math.sin(-phi)
            coords.append((X * c - Y * s, X * s + Y * c))
        return Polygon(coords)
    reach = (ra + 3 * m) / rp
    steps = 2000
    positions = [placed(-reach + 2 * reach * i / steps) for i in range(steps + 1)]
    swept = unary_union(positions)
    space = rotate(swept, 90 - 180 / z, origin=(0, 0))   # the space from -90 degrees to -180/z degrees
    blank = Point(0, 0).buffer(ra, 8192)
    spaces = unary_union([rotate(space, 360 * j / z, origin=(0, 0)) for j in range(z)])
    return blank.difference(spaces), ra


def half_tooth(gear, z, ra):
    """Tooth 0's negative-y side from its tip on the centre line down to the space middle."""
    ring = list(gear.exterior.coords)[:-1]
    ang = lambda p: math.atan2(p[1], p[0])
    n = len(ring)
    start = min(range(n), key=lambda i: abs(ang(ring[i])) + abs(math.hypot(*ring[i]) - ra))
    step = -1 if ang(ring[(start + 1) % n]) > ang(ring[(start - 1) % n]) else 1
    seq, i = [], start
    while ang(ring[i]) >= -math.pi / z:
        seq.append(ring[i])
        i = (i + step) % n
    return seq


def first_local_max(seq, f):
    v = [f(p) for p in seq]
    for j in range(1, len(v) - 1):
        if v[j] >= v[j - 1] and v[j] >= v[j + 1]:
            return v[j], seq[j]
    return None, None


def readings(m, z, x, degrees, k, pin):
    gear, ra = cut_gear(m, z, x, degrees)
    seq = half_tooth(gear, z, ra)
    out = {}
    # W: the anvil parallel to the group's middle line at (k-1) pi / z.
    beta = (k - 1) * math.pi / z
    w, at = first_local_max(seq, lambda p: p[0] * math.sin(beta) - p[1] * math.cos(beta))
    out["W"] = None if w is None or math.hypot(*at) > ra - 1e-6 else 2 * w
    # M: the pin on the space's middle line, the first boundary point it meets.
    space, r = -math.pi / z, (pin or 0) / 2
    best = -1e9
    for p in seq:
        rq, psi = math.hypot(*p), math.atan2(p[1], p[0]) - space
        lat = rq * math.sin(psi)
        if abs(lat) <= r:
            best = max(best, rq * math.cos(psi) + math.sqrt(r * r - lat * lat))
    odd = z % 2
    spread = math.cos(math.pi / (2 * z)) if odd else 1.0
    direction = space - (math.pi / (2 * z) if odd else 0.0)
    u = (math.cos(direction), math.sin(direction))
    tips = max(px * u[0] + py * u[1] for px, py in gear.exterior.coords)
    out["M"] = 2 * best * spread + pin if pin and best * spread + r > tips else None
    # s-bar, h-bar: where the pitch circle crosses the flank.
    rp = z * m / 2
    cross = None
    for p, q in zip(seq, seq[1:]):
        if (math.hypot(*p) - rp) * (math.hypot(*q) - rp) <= 0 and math.hypot(*p) != math.hypot(*q):
            t = (rp - math.hypot(*p)) / (math.hypot(*q) - math.hypot(*p))
            cross = (p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1]))
            break
    if cross is None or rp < (z * m / 2 + x * m - 1.25 * m):
        out["s"] = out["h"] = None
    else:
        halfangle = -math.atan2(cross[1], cross[0])
        out["s"] = 2 * rp * math.sin(halfangle)
        out["h"] = ra - rp * math.cos(halfangle)
    return out


failures = 0
print("gear | k | pin | W cli (note) / cut | M cli (note) / cut | s-bar cli (note) / cut")
for m, z, x, degrees, k, pin, expect in CASES:
    args = [CLI, "gear", "-m", str(m), "-z", str(z), "-x", str(x), "--pressure-angle", str(degrees),
            "--format", "json"]
    if k:
        args += ["--span-teeth", str(k)]
    if pin:
        args += ["--pin", str(pin)]
    j = json.loads(subprocess.run(args, check=True, capture_output=True, text=True).stdout)
    i, notes = j["inspection"], j.get("notes", {})
    k_used = j["span_teeth"][1]
    pin_used = i["pin_diameter"]
    cut = readings(m, z, x, degrees, k_used, pin_used)
    row = []
    for key, name, ck in (("span_k", "W", "W"), ("over_pins", "M", "M"), ("chordal_thickness", "s", "s")):
        got, ref, kind = i[key], cut[ck], expect[ck]
        note = notes.get(key, "")
        row.append("%s %s / %s" % (got, ("(" + note + ")") if note else "", ref))
        ok = True
        if kind == "absent":
            ok = got is None and ref is None and key in j["absent"]
        else:
            ok = got is not None and ref is not None and abs(got - ref) < TOL and (bool(note) == (kind == "gen"))
        if ck == "s" and ok and kind != "absent":
            ok = abs(i["chordal_height"] - cut["h"]) < TOL
        if not ok:
            failures += 1
            print("FAIL: m %s z %s x %s %s° %s: cli %r note %r, cut %r, expected %s" %
                  (m, z, x, degrees, name, got, note, ref, kind))
    print("m %g z %d x %g %g° | %d | %.4f | %s" % (m, z, x, degrees, k_used, pin_used or 0, " | ".join(row)))
sys.exit(1 if failures else 0)
