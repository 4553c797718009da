# SPDX-License-Identifier: GPL-3.0-or-later
# Reads an exported ring and rack back with ezdxf and checks them with shapely,
# the ring against an independent construction: a pinion-type cutter built
# here (involute teeth, tip corners rounded by opening the polygon with a disc
# of the tip radius) is rolled through the blank, and the material it leaves
# must be the ring's within 0.002 mm.
# Usage: ring_check.py ring RING.dxf MODULE TEETH SHIFT CUTTER_TEETH CUTTER_TIP_RADIUS RIM
#        ring_check.py rack RACK.dxf MODULE LENGTH
import math, sys
import ezdxf
from shapely.geometry import LineString, Point, Polygon
from shapely.ops import unary_union
from shapely import affinity

failures = []
def check(ok, what):
    if not ok:
        failures.append(what)

def inv(a):
    return math.tan(a) - a

def read(path):
    doc = ezdxf.readfile(path)
    audit = doc.audit()
    check(not audit.errors and not audit.fixes, f"audit: {[e.message for e in audit.errors + audit.fixes]}")
    check(doc.units == 4, "units are not millimetres")
    gear = [e for e in doc.modelspace() if e.dxf.layer == "GEAR"]
    check(len(gear) == 1 and gear[0].dxftype() == "POLYLINE" and gear[0].is_closed, "GEAR holds one closed polyline")
    pts = [(v.dxf.location.x, v.dxf.location.y) for v in gear[0].vertices]
    return doc, pts

alpha = math.radians(20.0)
if sys.argv[1] == "rack":
    doc, pts = read(sys.argv[2])
    m, length = float(sys.argv[3]), float(sys.argv[4])
    rack = Polygon(pts)
    check(rack.is_valid and rack.exterior.is_ccw, "the rack is not one counter-clockwise outline")
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    check(abs(min(xs)) < 1e-9 and abs(max(xs) - length) < 1e-9 and abs(max(ys) - m) < 1e-9, "rack extent")
    lines = [e for e in doc.modelspace() if e.dxftype() == "LINE" and e.dxf.layer == "PITCH"]
    check(len(lines) == 1 and abs(lines[0].dxf.start.y) < 1e-12, "no reference line at y = 0")
    # On the reference line teeth and spaces alternate, each pi m / 2 wide.
    cut = rack.intersection(LineString([(-1, 0), (length + 1, 0)]))
    widths = sorted(g.length for g in getattr(cut, "geoms", [cut]))[1:-1]   # not the cut-off ends
    check(widths and all(abs(w - math.pi * m / 2) < 1e-9 for w in widths), f"tooth widths {widths[:3]}")
else:
    doc, pts = read(sys.argv[2])
    m, z, x, z0, rho, rim = (float(v) for v in sys.argv[3:9])
    z, z0 = int(z), int(z0)
    outline = Polygon(pts)
    check(outline.is_valid and outline.exterior.is_ccw, "the ring's outline is not one counter-clockwise loop")
    circles = {e.dxf.layer: e.dxf.radius for e in doc.modelspace() if e.dxftype() == "CIRCLE"}
    check(abs(circles.get("RIM", 0) * 2 - rim) < 1e-5, f"rim {circles}")
    ra2 = m * z / 2 - m * (1 - x)
    radii = [math.hypot(*p) for p in pts]
    check(abs(min(radii) - ra2) < 1e-6, f"inner radius {min(radii)} is not the tip radius {ra2}")

    # The cutter, tooth 0 on +x: involute flanks, addendum 1.25 m, sharp, then opened.
    r0 = z0 * m / 2
    rb0, ra0 = r0 * math.cos(alpha), r0 + 1.25 * m
    half = math.pi / (2 * z0) + inv(alpha)            # half a tooth on the base circle
    flank = []
    for k in range(401):
        r = rb0 + (ra0 - rb0) * k / 400
        flank.append((r, half - inv(math.acos(rb0 / r))))
    tip = flank[-1][1]
    arc = [(ra0, -tip + 2 * tip * k / 64) for k in range(1, 64)]
    tooth = ([(0.8 * rb0, -half)] + [(r, -a) for r, a in flank] + arc + [(r, a) for r, a in reversed(flank)] +
             [(0.8 * rb0, half)])
    outline0 = []
    for j in (-1, 0, 1):
        turn = 2 * math.pi * j / z0
        outline0 += [(r * math.cos(a + turn), r * math.sin(a + turn)) for r, a in tooth]
    sharp = Polygon([(0, 0)] + outline0)
    cutter = sharp.buffer(-rho, resolution=64).buffer(rho, resolution=64) if rho > 0 else sharp

    # The cutting mesh: inv alpha_c = 2 tan alpha x / (z - z0) + inv alpha.
    target = 2 * math.tan(alpha) * x / (z - z0) + inv(alpha)
    lo, hi = 0.0, 1.5
    for _ in range(200):
        mid = (lo + hi) / 2
        lo, hi = (mid, hi) if inv(mid) < target else (lo, mid)
    a_c = m * (z - z0) / 2 * math.cos(alpha) / math.cos(lo)
    steps, reach = 2400, 5 * 2 * math.pi / z
    swept = []
    for k in range(steps + 1):
        psi = -reach + 2 * reach * k / steps
        placed = affinity.rotate(cutter, (1 - z / z0) * psi, origin=(0, 0), use_radians=True)
        swept.append(affinity.translate(placed, a_c * math.cos(psi), a_c * math.sin(psi)))
    swept = unary_union(swept)

    # One pitch about the space that tooth 0 of the cutter cuts (the exported
    # ring has a tooth on +x, so it is turned by half a pitch), inside the blank.
    wedge = Polygon([(0, 0)] + [(2 * rim * math.cos(t), 2 * rim * math.sin(t))
                                for t in (-math.pi / z + k * 2 * math.pi / z / 64 for k in range(65))])
    band = Point(0, 0).buffer(rim / 2, resolution=256).difference(Point(0, 0).buffer(ra2, resolution=256))
    blank = band.intersection(wedge)
    rolled = blank.difference(swept)
    exported = blank.difference(affinity.rotate(outline, -math.pi / z, origin=(0, 0), use_radians=True))
    distance = rolled.hausdorff_distance(exported)
    check(distance < 0.002, f"the rolled cutter's ring differs by {distance:.5f} mm")
    check(rolled.symmetric_difference(exported).area < 0.003 * m * 4 * m, "areas differ")
    print(f"ring: {len(pts)} points, rolled cutter within {distance:.5f} mm")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
