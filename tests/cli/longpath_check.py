# SPDX-License-Identifier: GPL-3.0-or-later
# An SVG whose outline is too long for one attribute, read back: no attribute
# over libxml2's 10,000,000 characters; the stroke pieces of group GROUP chain
# into closed outlines (with a DXF, its GEAR polyline point for point); their
# fill slices, joined by shapely, cover what the outlines enclose (even-odd).
# Usage: longpath_check.py FILE.svg GROUP [FILE.dxf]
import re, sys, xml.etree.ElementTree as ET
from shapely.geometry import Polygon
from shapely.ops import unary_union
from shapely.validation import make_valid

svg_path, group = sys.argv[1], sys.argv[2]
failures = []
def check(ok, what):
    if not ok:
        failures.append(what)

root = ET.parse(svg_path).getroot()
longest = max(len(v) for e in root.iter() for v in e.attrib.values())
check(longest <= 10_000_000, f"an attribute of {longest} characters")
g = next(e for e in root.iter() if e.get("id") == group)
paths = [p for p in g if p.tag.endswith("path")]
strokes = [p.get("d") for p in paths if p.get("stroke") != "none"]
fills = [p.get("d") for p in paths if p.get("stroke") == "none"]
check(len(strokes) > 1, f"{len(strokes)} stroke paths: the outline was not split")

def subpaths(d):
    for part in re.findall(r"M[^M]*", d):
        yield [(float(a), -float(b)) for a, b in re.findall(r"([-\d.]+),([-\d.]+)", part)], part.rstrip().endswith("Z")

# The pieces in order: each starts where the one before ended; an outline ends on its first point or with Z.
outlines, current = [], None
for d in strokes:
    for pts, closed in subpaths(d):
        if current is not None and pts[0] == current[-1]:
            current += pts[1:]
        else:
            check(current is None, "a piece starts away from where the one before ended")
            current = pts
        if closed or (len(current) > 2 and current[-1] == current[0]):
            outlines.append(current[:-1] if current[-1] == current[0] else current)
            current = None
check(current is None, "the last outline does not close")

if len(sys.argv) > 3:
    # The DXF's group codes read directly (ezdxf takes half a minute over half a million vertices).
    lines = open(sys.argv[3]).read().split("\n")
    pairs = list(zip(lines[0::2], lines[1::2]))
    ref, vertex = [], None
    for code, value in pairs:
        code = code.strip()
        if code == "0":
            vertex = {} if value == "VERTEX" else None
        elif vertex is not None and code in ("8", "10", "20"):
            vertex[code] = value
            if code == "20" and vertex.get("8") == "GEAR":
                ref.append((float(vertex["10"]), float(value)))
    check(len(outlines) == 1 and len(outlines[0]) == len(ref), f"{[len(o) for o in outlines]} points, not {len(ref)}")
    check(max(abs(a[0] - b[0]) + abs(a[1] - b[1]) for a, b in zip(outlines[0], ref)) < 1e-8, "points differ from the DXF")

if fills:
    def evenodd(rings):
        area = None
        for ring in rings:
            p = make_valid(Polygon(ring))
            area = p if area is None else area.symmetric_difference(p)
        return area
    want = evenodd(outlines)
    got = unary_union([evenodd([pts for pts, _ in subpaths(d)]) for d in fills])
    miss = want.symmetric_difference(got).area
    check(miss < 1e-6 * want.area, f"the fill slices differ from the outlines by {miss} mm² of {want.area}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
