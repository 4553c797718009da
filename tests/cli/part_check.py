# SPDX-License-Identifier: GPL-3.0-or-later
# Reads an exported part and its drawing back with independent readers and
# measures them: admesh for the STL (closed, oriented, its volume against the
# drawing's outline area times b less the bore and keyway, plus the hub),
# the tooth thickness on the reference circle and the keyway's width and depth
# on the STL's own facets and on the DXF (ezdxf).
# Usage: part_check.py FILE.stl FILE.dxf M Z X ALLOWANCE B BORE KEY_WIDTH KEY_T2 HUB_D HUB_L
import math, re, struct, subprocess, sys
import ezdxf

stl_path, dxf_path = sys.argv[1], sys.argv[2]
m, z, x, allowance, b, bore, key_w, key_t2, hub_d, hub_l = (float(v) for v in sys.argv[3:13])
z = int(z)
failures = []
def check(ok, what):
    if not ok:
        failures.append(what)

# admesh: no fix of any kind, one part, the volume.
out = subprocess.run(["admesh", stl_path], capture_output=True, check=True).stdout.decode("utf-8", "replace")
stat = lambda name: float(re.search(re.escape(name) + r"\s*:\s*([-\d.]+)", out).group(1))
for name in ["Facets with 1 disconnected edge", "Facets with 2 disconnected edges", "Facets with 3 disconnected edges",
             "Degenerate facets", "Edges fixed", "Facets removed", "Facets added", "Facets reversed", "Backwards edges",
             "Normals fixed"]:
    check(stat(name) == 0, f"admesh {name}: {stat(name)}")
check(stat("Number of parts") == 1, f"admesh parts {stat('Number of parts')}")

# The expected volume from the drawing's outline and the keyway's table values.
doc = ezdxf.readfile(dxf_path)
gear = [e for e in doc.modelspace() if e.dxf.layer == "GEAR"][0]
pts = [(v.dxf.location.x, v.dxf.location.y) for v in gear.vertices]
area = sum(a[0] * c[1] - a[1] * c[0] for a, c in zip(pts, pts[1:] + pts[:1])) / 2
r = bore / 2
hole = math.pi * r * r
if key_w > 0:
    w = key_w / 2
    x0 = math.sqrt(r * r - w * w)
    hole += key_w * (r + key_t2 - x0) - (r * r * math.acos(x0 / r) - x0 * w)
expected = area * b + math.pi * hub_d ** 2 / 4 * hub_l - hole * (b + hub_l)
volume = stat("Volume")
check(abs(volume - expected) <= 1e-3 * expected, f"admesh volume {volume} against {expected}")
print(f"admesh volume {volume:.3f} mm3, outline area x b less bore and keyway {expected:.3f} mm3")

# The facets.
data = open(stl_path, "rb").read()
count = struct.unpack_from("<I", data, 80)[0]
facets = [struct.unpack_from("<12f", data, 84 + 50 * i) for i in range(count)]

# Tooth 0's thickness on the reference circle, from the walls' bottom edges.
rp = m * z / 2
def thickness(edges):
    lo = hi = None
    for (ax, ay), (bx, by) in edges:
        ra, rb = math.hypot(ax, ay), math.hypot(bx, by)
        if (ra - rp) * (rb - rp) > 0 or ra == rb:
            continue
        t = (rp - ra) / (rb - ra)
        ang = math.atan2(ay + t * (by - ay), ax + t * (bx - ax))
        if abs(ang) < math.pi / z:
            if ang < 0:
                lo = ang
            else:
                hi = ang
    return rp * (hi - lo)
walls = []
for f in facets:
    n, v = f[:3], [f[3:6], f[6:9], f[9:12]]
    if abs(n[2]) < 1e-6:
        low = [p for p in v if p[2] == 0.0]
        if len(low) == 2 and math.hypot(low[0][0], low[0][1]) > r + key_t2 + 0.01:
            walls.append(((low[0][0], low[0][1]), (low[1][0], low[1][1])))
nominal = m * (math.pi / 2 + 2 * x * math.tan(math.radians(20))) + allowance
s_stl = thickness(walls)
s_dxf = thickness(list(zip(pts, pts[1:] + pts[:1])))
check(abs(s_stl - nominal) < 3e-3, f"STL thickness on the reference circle {s_stl} against {nominal}")
check(abs(s_dxf - nominal) < 3e-3, f"DXF thickness on the reference circle {s_dxf} against {nominal}")
print(f"thickness on the reference circle: STL {s_stl:.4f} mm, DXF {s_dxf:.4f} mm, m(pi/2 + 2x tan a) + A = {nominal:.4f} mm")

# The keyway on the STL: its bottom faces the axis (-x), its sides face each other.
if key_w > 0:
    near = lambda v: all(math.hypot(p[0], p[1]) < r + key_t2 + key_w and p[0] > r / 2 for p in v)
    bottom = {round(p[0], 5) for f in facets if f[0] < -0.9999 and near([f[3:6]]) for p in (f[3:6], f[6:9], f[9:12])}
    upper = {round(p[1], 5) for f in facets if f[1] < -0.9999 and near([f[3:6]]) for p in (f[3:6], f[6:9], f[9:12])}
    lower = {round(p[1], 5) for f in facets if f[1] > 0.9999 and near([f[3:6]]) for p in (f[3:6], f[6:9], f[9:12])}
    check(len(bottom) == 1 and len(upper) == 1 and len(lower) == 1, f"keyway faces {bottom} {upper} {lower}")
    depth, width = bottom.pop() - r, upper.pop() - lower.pop()
    check(abs(depth - key_t2) < 1e-4 and abs(width - key_w) < 1e-4, f"STL keyway {width} x {depth}")
    # ... and on the DXF: the bore's closed polyline.
    hole_pl = [e for e in doc.modelspace() if e.dxf.layer == "BORE" and e.dxftype() == "POLYLINE"]
    check(len(hole_pl) == 1 and hole_pl[0].is_closed, "the bore with its keyway is one closed polyline")
    v = [(p.dxf.location.x, p.dxf.location.y, p.dxf.bulge) for p in hole_pl[0].vertices]
    ys = sorted({round(p[1], 9) for p in v})
    check(abs(max(p[0] for p in v) - r - key_t2) < 1e-9 and abs(ys[-1] - ys[0] - key_w) < 1e-9,
          f"DXF keyway {v}")
    print(f"keyway: STL width {width:.4f} mm depth t2 {depth:.4f} mm; DXF width {ys[-1] - ys[0]:.4f} mm "
          f"depth {max(p[0] for p in v) - r:.4f} mm")

for f in failures:
    print("FAIL", stl_path, f)
sys.exit(1 if failures else 0)
