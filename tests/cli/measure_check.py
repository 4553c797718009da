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
# At the undercut's edge the polygon's corner, cut by the discrete rack
# positions, stands off the true corner by an amount proportional to the step
# (m 1, z 9: 3.3e-4 mm at 2000 steps, 9e-5 mm at 8000), so a pin resting on it
# is compared more loosely there.
EDGE = "切下げの縁"
edge_tol = lambda m, note: 1.5e-3 * m if EDGE in note else TOL

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
    (1, 9, -0.6, 14.5, None, 1.95, dict(W="gen", M="gen", s="gen")),       # the pin on the undercut's edge,
    (2, 9, -0.6, 14.5, None, 3.9, dict(W="gen", M="gen", s="gen")),        # not on the involute below it
    (1, 9, 1.4, 20, None, 2.0, dict(W="inv", M="inv", s="absent")),         # pointed: the pin clear of the point
    (1, 5, 1.4, 20, 3, None, dict(W="absent", M="inv", s="absent")),        # the anvil would touch above the point
]

# Undercut gears and pins around the size that meets the undercut's edge: every
# reading against the cut gear, and none read on the involute below its start.
SWEEP = [(m, z, x, a, m * f) for m, z, x, a in ((1, 9, -0.6, 14.5), (1, 7, -0.2, 20), (1, 12, -0.4, 20),
                                                  (1, 16, -0.3, 14.5), (1, 6, 0.0, 20))
         for f in (1.5, 1.65, 1.8, 1.95, 2.1)]
# Limits of thinned teeth (UPPER,LOWER allowance) over pins, against the rack set deeper.
LIMITS = [(1, 6, -0.5, 20, 2.0, (-0.02, -0.05)), (1, 9, -0.6, 14.5, 2.1, (0.0, -0.03))]


def cut_gear(m, z, x, degrees, allowance=0.0):
    """The gear as a shapely polygon, tooth 0 on +x, the space at -pi/z; an
    allowance sets the rack deeper by -A / (2 tan alpha), the tip circle kept."""
    a = math.radians(degrees)
    rho = 0.38 * m
    rp = z * m / 2
    ra = rp + x * m + m
    xm = x * m + allowance / (2 * math.tan(a))
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
    if v[0] >= v[1]:
        return None, None   # the anvil rests on the tooth's top (a pointed tooth's point)
    for j in range(1, len(v) - 1):
        if v[j] >= v[j - 1] and v[j] >= v[j + 1]:
            return v[j], seq[j]
    return None, None


CUT = {}


def readings(m, z, x, degrees, k, pin, allowance=0.0):
    key = (m, z, x, degrees, allowance)
    if key not in CUT:
        gear, ra = cut_gear(m, z, x, degrees, allowance)
        CUT[key] = gear, ra, half_tooth(gear, z, ra)
    gear, ra, seq = CUT[key]
    top = max(math.hypot(*p) for p in seq)   # the tip circle, or a pointed tooth's point
    out = {}
    # W: the anvil parallel to the group's middle line at (k-1) pi / z.
    beta = (k - 1) * math.pi / z
    w, at = first_local_max(seq, lambda p: p[0] * math.sin(beta) - p[1] * math.cos(beta))
    out["W"] = None if w is None or math.hypot(*at) > top - 1e-6 else 2 * w
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
    # where the pin touches: the boundary point nearest the pin's centre
    centre = (best * math.cos(space), best * math.sin(space))
    out["Mcontact"] = 2 * math.hypot(*min(seq, key=lambda p: math.hypot(p[0] - centre[0], p[1] - centre[1])))
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
        out["h"] = top - rp * math.cos(halfangle)
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
            ok = got is not None and ref is not None and abs(got - ref) < edge_tol(m, note) and (bool(note) == (kind == "gen"))
        if ck == "s" and ok and kind != "absent":
            ok = abs(i["chordal_height"] - cut["h"]) < TOL
        if not ok:
            failures += 1
            print("FAIL: m %s z %s x %s %s° %s: cli %r note %r, cut %r, expected %s" %
                  (m, z, x, degrees, name, got, note, ref, kind))
    print("m %g z %d x %g %g° | %d | %.4f | %s" % (m, z, x, degrees, k_used, pin_used or 0, " | ".join(row)))


def gear_json(*args):
    return json.loads(subprocess.run([CLI, "gear", "--format", "json"] + [str(a) for a in args], check=True,
                                     capture_output=True, text=True).stdout)


print("undercut gear | pin | M cli (note) / cut | contact / involute start")
for m, z, x, degrees, pin in SWEEP:
    j = gear_json("-m", m, "-z", z, "-x", x, "--pressure-angle", degrees, "--pin", pin)
    i, note = j["inspection"], j["notes"].get("over_pins", "")
    cut = readings(m, z, x, degrees, 1, pin)
    got, ref = i["over_pins"], cut["M"]
    ok = (got is None) == (ref is None) and (got is None or abs(got - ref) < edge_tol(m, note))
    if got is not None:
        contact = i["pin_contact_diameter"]
        ok = ok and abs(contact - cut["Mcontact"]) < 1e-2   # the polygon's vertex nearest the contact
        ok = ok and (bool(note) or contact >= i["involute_start_diameter"] - 1e-9)
    if not ok:
        failures += 1
        print("FAIL: m %s z %s x %s %s° pin %s: cli %r (%s) contact %r start %r, cut %r" %
              (m, z, x, degrees, pin, got, note, i["pin_contact_diameter"], i["involute_start_diameter"], ref))
    print("m %g z %d x %g %g° | %.3f | %s (%s) / %s" % (m, z, x, degrees, pin, got, note, ref))

for m, z, x, degrees, pin, (upper, lower) in LIMITS:
    j = gear_json("-m", m, "-z", z, "-x", x, "--pressure-angle", degrees, "--pin", pin,
                  "--thickness-allowance=%s,%s" % (upper, lower))
    lim = j["limits"]["over_pins"]
    refs = [readings(m, z, x, degrees, 1, pin, a)["M"] for a in (upper, lower)]
    ok = all(g is not None and r is not None and abs(g - r) < edge_tol(m, EDGE) for g, r in zip((lim["upper"], lim["lower"]), refs))
    ok = ok and lim["upper"] > lim["lower"]
    if not ok:
        failures += 1
        print("FAIL: limits m %s z %s x %s pin %s: cli %r, cut %r" % (m, z, x, pin, lim, refs))
    print("limits m %g z %d x %g pin %g A %s,%s | %r / %r" % (m, z, x, pin, upper, lower, lim, refs))
sys.exit(1 if failures else 0)
