# SPDX-License-Identifier: GPL-3.0-or-later
# Reads exported profile files back with independent readers: ezdxf for DXF,
# rsvg-convert (and ImageMagick for the pixels) for SVG.
# Usage: profile_check.py FILE.dxf FILE.svg TIP_DIAMETER ROOT_DIAMETER BORE
import math, re, subprocess, sys, xml.etree.ElementTree as ET
import ezdxf

dxf_path, svg_path = sys.argv[1], sys.argv[2]
tip, root, bore = (float(v) for v in sys.argv[3:6])
failures = []
def check(ok, what):
    if not ok:
        failures.append(what)

doc = ezdxf.readfile(dxf_path)
audit = doc.audit()
check(not audit.errors and not audit.fixes, f"audit: {[e.message for e in audit.errors + audit.fixes]}")
check(doc.header.get("$INSUNITS") == 4 and doc.units == 4, "units are not millimetres")
gear = [e for e in doc.modelspace() if e.dxf.layer == "GEAR"]
check(len(gear) == 1 and gear[0].dxftype() == "POLYLINE" and gear[0].is_closed, "GEAR holds one closed polyline")
pts = [(v.dxf.location.x, v.dxf.location.y) for v in gear[0].vertices]
radii = [math.hypot(x, y) for x, y in pts]
check(abs(max(radii) - tip / 2) <= 1e-6, f"largest radius {max(radii)!r}")
check(abs(min(radii) - root / 2) <= 1e-6, f"smallest radius {min(radii)!r}")
circles = {e.dxf.layer: e.dxf.radius for e in doc.modelspace() if e.dxftype() == "CIRCLE"}
check(("BORE" in circles) == (bore > 0) and abs(circles.get("BORE", 0) * 2 - bore) < 1e-9, f"bore {circles}")
check("PITCH" in circles, "no pitch circle")

ns = {"s": "http://www.w3.org/2000/svg"}
svg = ET.parse(svg_path).getroot()
size = tip + 2.0
check(svg.get("width") == f"{size:g}mm" and svg.get("height") == f"{size:g}mm", f"svg size {svg.get('width')}")
check(svg.get("viewBox").split() == [f"{-size / 2:g}", f"{-size / 2:g}", f"{size:g}", f"{size:g}"], "viewBox")
layers = [g.get("id") for g in svg.findall("s:g", ns)]
check(layers == ["GEAR", "PITCH"] + (["BORE"] if bore > 0 else []) + ["CENTER"], f"layers {layers}")
d = svg.find("s:g[@id='GEAR']/s:path", ns).get("d")
spts = [(float(a), -float(b)) for a, b in re.findall(r"[ML]([-\d.]+),([-\d.]+)", d)]
check(len(spts) == len(pts) and d.rstrip().endswith("Z"), "SVG outline is not the DXF outline")
check(max(math.hypot(a[0] - b[0], a[1] - b[1]) for a, b in zip(pts, spts)) < 1e-8, "SVG points differ from DXF")

# Pixels: render at 20 px/mm; every outline vertex has ink next to it, and every
# black pixel lies on the DXF outline.
scale = 20
png = svg_path + ".png"
subprocess.run(["rsvg-convert", "--dpi-x", str(25.4 * scale), "--dpi-y", str(25.4 * scale), "-o", png, svg_path], check=True)
w = int(subprocess.run(["identify", "-format", "%w", png], capture_output=True, text=True, check=True).stdout)
check(abs(w - size * scale) <= 1, f"rendered width {w} px")
raw = subprocess.run(["convert", png, "-background", "white", "-flatten", "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
def px(i, j):
    o = 3 * (j * w + i)
    return raw[o], raw[o + 1], raw[o + 2]
to_px = lambda x, y: ((x + size / 2) * scale, (size / 2 - y) * scale)
missing = 0
for x, y in pts:
    ci, cj = to_px(x, y)
    if not any(max(px(i, j)) < 200 for i in range(int(ci) - 1, int(ci) + 2) for j in range(int(cj) - 1, int(cj) + 2)):
        missing += 1
check(missing == 0, f"{missing} outline vertices without ink")
cells = {}
segs = [(to_px(*pts[k]), to_px(*pts[(k + 1) % len(pts)])) for k in range(len(pts))]
for n, (a, b) in enumerate(segs):
    for ci in range(int(min(a[0], b[0])) // 8, int(max(a[0], b[0])) // 8 + 1):
        for cj in range(int(min(a[1], b[1])) // 8, int(max(a[1], b[1])) // 8 + 1):
            cells.setdefault((ci, cj), []).append(n)
def seg_dist(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / (dx * dx + dy * dy or 1)))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)
stray = black = 0
for j in range(w):
    for i in range(w):
        r, g, b = px(i, j)
        if max(r, g, b) < 128:
            black += 1
            near = [n for di in (-1, 0, 1) for dj in (-1, 0, 1) for n in cells.get((i // 8 + di, j // 8 + dj), [])]
            if not near or min(seg_dist((i + 0.5, j + 0.5), *segs[n]) for n in near) > 1.5:
                stray += 1
check(black > len(pts) and stray == 0, f"{stray} of {black} black pixels off the outline")

for f in failures:
    print("FAIL", dxf_path, f)
sys.exit(1 if failures else 0)
