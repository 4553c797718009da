# SPDX-License-Identifier: GPL-3.0-or-later
# Reads a helical gear's twisted part back: admesh for the STL (closed,
# oriented, one part, its volume against the DXF's transverse outline area
# times b less the bore), every flank vertex turned back by its height times
# 2 tan(beta) / d onto the outline of the bottom face, the top face turned the
# other way for a left hand; and the 3MF's mesh (its own XML) closed with the
# same volume.
# Usage: helicalpart_check.py FILE.stl FILE.3mf FILE.dxf MN Z BETA HAND B BORE
import math, re, struct, subprocess, sys, zipfile
import xml.etree.ElementTree as ET
import ezdxf

stl_path, mf_path, dxf_path = sys.argv[1:4]
mn, z, beta, hand, b, bore = float(sys.argv[4]), int(sys.argv[5]), float(sys.argv[6]), sys.argv[7], float(sys.argv[8]), float(sys.argv[9])
failures = []
def check(ok, what):
    if not ok:
        failures.append(what)

out = subprocess.run(["admesh", stl_path], capture_output=True, check=True).stdout.decode("utf-8", "replace")
stat = lambda name: float(re.search(re.escape(name) + r"\s*:\s*([-\d.]+)", out).group(1))
for name in ["Facets with 1 disconnected edge", "Facets with 2 disconnected edges", "Facets with 3 disconnected edges",
             "Degenerate facets", "Edges fixed", "Facets removed", "Facets added", "Facets reversed", "Backwards edges"]:
    check(stat(name) == 0, f"admesh {name}: {stat(name)}")
check(stat("Number of parts") == 1, f"admesh parts {stat('Number of parts')}")

doc = ezdxf.readfile(dxf_path)
gear = [e for e in doc.modelspace() if e.dxf.layer == "GEAR"][0]
pts = [(p[0], p[1]) for p in gear.points()]
area = abs(sum(pts[i][0] * pts[i - 1][1] - pts[i - 1][0] * pts[i][1] for i in range(len(pts)))) / 2
expected = (area - math.pi * bore * bore / 4) * b
check(abs(stat("Volume") - expected) < 2e-4 * expected, f"STL volume {stat('Volume')} against {expected}")

# The flanks: each vertex at height h lies on the bottom outline turned by twist h.
d = z * mn / math.cos(math.radians(beta))
twist = 2 * math.tan(math.radians(beta)) / d * (1 if hand == "right" else -1)
data = open(stl_path, "rb").read()
n = struct.unpack_from("<I", data, 80)[0]
verts = set()
for i in range(n):
    for k in range(3):
        verts.add(struct.unpack_from("<3f", data, 84 + 50 * i + 12 + 12 * k))
rf = min(math.hypot(*p) for p in pts)
bottom = [(x, y) for (x, y, h) in verts if h == 0 and math.hypot(x, y) > rf - 1e-3]
grid = {}
cell = 0.05
for (x, y) in bottom:
    grid.setdefault((round(x / cell), round(y / cell)), []).append((x, y))
def near(x, y):
    best = 1e9
    for i in (-1, 0, 1):
        for j in (-1, 0, 1):
            for (u, v) in grid.get((round(x / cell) + i, round(y / cell) + j), []):
                best = min(best, math.hypot(u - x, v - y))
    return best
heights = sorted({h for (_, _, h) in verts})
check(abs(heights[-1] - b) < 1e-4 * b, f"top at {heights[-1]}")
worst, flank = 0.0, 0
for (x, y, h) in verts:
    if h > 0 and math.hypot(x, y) > rf + 1e-3:
        a = -twist * h
        worst = max(worst, near(x * math.cos(a) - y * math.sin(a), x * math.sin(a) + y * math.cos(a)))
        flank += 1
check(flank > 0 and worst < 2e-4 * d, f"flank vertices off the turned outline by {worst} ({flank} vertices)")
check(len(heights) >= 3, f"only {len(heights)} layers")

# The 3MF: the same closed mesh, its volume by the divergence theorem.
with zipfile.ZipFile(mf_path) as zf:
    model = [name for name in zf.namelist() if name.endswith(".model")][0]
    root = ET.fromstring(zf.read(model))
ns = {"m": "http://schemas.microsoft.com/3dmanufacturing/core/2015/02"}
vs = [(float(v.get("x")), float(v.get("y")), float(v.get("z"))) for v in root.iterfind(".//m:vertex", ns)]
ts = [(int(t.get("v1")), int(t.get("v2")), int(t.get("v3"))) for t in root.iterfind(".//m:triangle", ns)]
edges = {}
vol = 0.0
for (a, bb, c) in ts:
    for e in ((a, bb), (bb, c), (c, a)):
        edges[e] = edges.get(e, 0) + 1
    (x1, y1, z1), (x2, y2, z2), (x3, y3, z3) = vs[a], vs[bb], vs[c]
    vol += (x1 * (y2 * z3 - y3 * z2) - x2 * (y1 * z3 - y3 * z1) + x3 * (y1 * z2 - y2 * z1)) / 6
check(all(k == 1 and edges.get((e[1], e[0])) == 1 for e, k in edges.items()), "3MF mesh not closed and oriented")
check(abs(vol - expected) < 2e-4 * expected, f"3MF volume {vol} against {expected}")

for f in failures:
    print("FAIL:", f)
print(f"{stl_path}: volume {stat('Volume'):.3f} (outline x b {expected:.3f}), {len(heights)} layers, flank off by {worst:.2e}")
sys.exit(1 if failures else 0)
