# SPDX-License-Identifier: GPL-3.0-or-later
# Reads pictures of a pair in mesh (tsumugi-cli pair --picture) back with
# shapely, independently of the code that drew them.
# Usage: mesh_check.py TOLERANCE MODE FILE.svg...
#   MODE touch      the outlines touch and overlap by no more than the tolerance
#   MODE gap:J      the driving flanks touch; turning gear 1 back by J / rb1
#                   closes the play on the other flanks (J: normal backlash, mm)
#   MODE overlap    the outlines overlap, and the picture's OVERLAP group shows it
#                   (all of it but slivers within the chord tolerances)
#   MODE deepest:D:above|below   the deepest point of one outline inside the other,
#                   over all the pictures, lies above or below D mm
# Every picture: the line of action runs from T1 (marked) to T2 on the base circles.
import math, re, sys, xml.etree.ElementTree as ET
from shapely.affinity import rotate
from shapely.geometry import Polygon
from shapely.ops import unary_union

tol = float(sys.argv[1])
mode = sys.argv[2]
ns = {"s": "http://www.w3.org/2000/svg"}
failures = []
deepest = 0.0

def polygons(group):
    # One polygon a path; a path of two closed parts (a ring) is the first with the second as its hole.
    out = []
    for path in group.findall("s:path", ns):
        d = path.get("d")
        if not d.rstrip().endswith("Z"):
            failures.append(f"{group.get('id')}: a path that is not closed")
        rings = [[(float(a), -float(b)) for a, b in re.findall(r"[ML]([-\d.]+),([-\d.]+)", part)]
                 for part in d.split("Z") if part.strip()]
        out.append(Polygon(rings[0], rings[1:]))
    return out

def overlap_depth_exceeds(a, b, depth):
    # some point of b lies deeper than depth inside a, or the other way round
    return a.buffer(-depth).intersection(b).area > 1e-12 or b.buffer(-depth).intersection(a).area > 1e-12

for name in sys.argv[3:]:
    root = ET.parse(name).getroot()
    groups = {g.get("id"): g for g in root.findall("s:g", ns)}
    mate = "RACK" if "RACK" in groups else "GEAR2"
    for needed in ("GEAR1", mate, "BASE", "PITCH", "TIP", "LINE_OF_ACTION"):
        if needed not in groups:
            failures.append(f"{name}: no group {needed}")
    g1, = polygons(groups["GEAR1"])
    g2, = polygons(groups[mate])
    if not (g1.is_valid and g2.is_valid):
        failures.append(f"{name}: an outline crosses itself")
    base = [(float(c.get("cx")), -float(c.get("cy")), float(c.get("r"))) for c in groups["BASE"].findall("s:circle", ns)]
    x1, y1, rb1 = base[0]
    # The line of action runs from T1 on gear 1's base circle (marked) to T2 on the mate's.
    line = {e.get("id"): e for e in groups["LINE_OF_ACTION"].iter() if e.get("id")}
    ends = [(float(line["TANGENTS"].get(k)), -float(line["TANGENTS"].get(v))) for k, v in (("x1", "y1"), ("x2", "y2"))]
    mark = (float(line["TANGENT1"].get("cx")), -float(line["TANGENT1"].get("cy"))) if "TANGENT1" in line else None
    for (cx, cy, rb), end in zip(base, ends):
        if abs(math.hypot(end[0] - cx, end[1] - cy) - rb) > 1e-5:
            failures.append(f"{name}: the line of action does not end on the base circle of radius {rb}")
    if mark is None or math.dist(mark, ends[0]) > 1e-9:
        failures.append(f"{name}: T1 is not marked where the line of action starts")
    gap = g1.distance(g2)
    if mode == "touch":
        if gap > 2 * tol:
            failures.append(f"{name}: the outlines do not touch (gap {gap:.6f} mm)")
        if overlap_depth_exceeds(g1, g2, tol):
            failures.append(f"{name}: the outlines overlap by more than {tol} mm")
        if "OVERLAP" in groups:
            failures.append(f"{name}: an overlap is drawn")
    elif mode.startswith("gap:"):
        j = float(mode[4:])
        if gap > 2 * tol or overlap_depth_exceeds(g1, g2, tol):
            failures.append(f"{name}: the driving flanks do not just touch (gap {gap:.6f} mm)")
        back = rotate(g1, -j / rb1, origin=(x1, y1), use_radians=True)
        half = rotate(g1, -j / (2 * rb1), origin=(x1, y1), use_radians=True)
        if back.distance(g2) > 2 * tol or overlap_depth_exceeds(back, g2, tol):
            failures.append(f"{name}: turned back by the backlash, gear 1 does not just touch gear 2 (gap {back.distance(g2):.6f} mm)")
        if abs(half.distance(g2) - j / 2) > 2 * tol:
            failures.append(f"{name}: halfway back the play is {half.distance(g2):.6f} mm, not {j / 2:.6f}")
    elif mode == "overlap":
        # Slivers no thicker than the two outlines' chord tolerances (4 area / perimeter) are not drawn.
        shared = g1.intersection(g2)
        pieces = getattr(shared, "geoms", [shared])
        common = sum(p.area for p in pieces if p.area > 0 and 4 * p.area / p.length > 2 * tol)
        drawn = unary_union(polygons(groups["OVERLAP"])).area if "OVERLAP" in groups else 0.0
        if common < 1e-4:
            failures.append(f"{name}: the outlines do not overlap ({common} mm²)")
        if abs(drawn - common) > 1e-3 * common + 1e-6:
            failures.append(f"{name}: the red overlap is {drawn:.6f} mm², the outlines share {common:.6f} mm²")
    elif mode.startswith("deepest:"):
        # How deep the deepest point of one outline lies inside the other, by bisection.
        lo, hi = 0.0, 1.0
        for _ in range(40):
            mid = (lo + hi) / 2
            deeper = g1.buffer(-mid).intersection(g2).area > 1e-14 or g2.buffer(-mid).intersection(g1).area > 1e-14
            lo, hi = (mid, hi) if deeper else (lo, mid)
        deepest = max(deepest, lo)
    else:
        sys.exit(f"unknown mode {mode}")
if mode.startswith("deepest:"):
    # deepest:LIMIT:above|below, over all the pictures
    _, limit, side = mode.split(":")
    if (deepest > float(limit)) != (side == "above"):
        failures.append(f"the outlines reach {deepest:.6f} mm into each other, not {side} {limit} mm")

for f in failures:
    print("FAIL", f)
sys.exit(1 if failures else 0)
