# SPDX-License-Identifier: GPL-3.0-or-later
# A cutter's DXF and SVG read back: ezdxf for the layers (cut paths, the pitch
# circle dashed in a non-cutting colour, the centre mark, the note), the
# extents and the kerf offset; the SVG's groups and rsvg-convert's rendering.
# Usage: cutter_check.py FILE.dxf FILE.svg TIP ROOT KERF NOTE_WORDS|-
import math, subprocess, sys, xml.etree.ElementTree as ET
import ezdxf
from ezdxf import bbox

dxf_path, svg_path = sys.argv[1], sys.argv[2]
tip, root, kerf = (float(v) for v in sys.argv[3:6])
words = [] if sys.argv[6] == "-" else sys.argv[6].split("|")
failures = []
def check(ok, what):
    if not ok:
        failures.append(what)

doc = ezdxf.readfile(dxf_path)
audit = doc.audit()
check(not audit.errors and not audit.fixes, "audit")
layers = {l.dxf.name: l for l in doc.layers}
check(layers["GEAR"].dxf.color == 7, "GEAR colour")
pitch = layers["PITCH"]
check(pitch.dxf.color == 8 and pitch.dxf.linetype == "DASHED", f"PITCH {pitch.dxf.color} {pitch.dxf.linetype}")
dashes = [t.value for t in doc.linetypes.get("DASHED").pattern_tags.tags if t.code == 49]
check(len(dashes) == 2 and dashes[0] > 0 > dashes[1], f"DASHED pattern {dashes}")
check(layers["CENTER"].dxf.color == 8, "CENTER colour")
msp = doc.modelspace()
circles = [e for e in msp.query("CIRCLE") if e.dxf.layer == "PITCH"]
check(len(circles) == 1 and circles[0].dxf.linetype.upper() == "DASHED", "one dashed pitch circle")
centre = [e for e in msp.query("LINE") if e.dxf.layer == "CENTER"]
check(len(centre) == 2 and all(abs(e.dxf.start.x + e.dxf.end.x) < 1e-12 and abs(e.dxf.start.y + e.dxf.end.y) < 1e-12
                               for e in centre), "the centre mark crosses at the centre")

# The cut paths lie half the kerf outside the part.
gear = [e for e in msp if e.dxf.layer == "GEAR"][0]
# The middle of tooth 0's tip and the space before it move straight out.
polar = [(math.hypot(v.dxf.location.x, v.dxf.location.y), math.atan2(v.dxf.location.y, v.dxf.location.x)) for v in gear.vertices]
check(abs(min(polar, key=lambda p: abs(p[1]))[0] - tip / 2 - kerf / 2) < 1e-4, f"tip radius {polar[:3]}")
check(abs(min(p[0] for p in polar) - root / 2 - kerf / 2) < 1e-4, f"root radius {min(p[0] for p in polar)}")

# Extents: all the geometry inside them, touching them; the note's lines start inside.
lo, hi = doc.header["$EXTMIN"], doc.header["$EXTMAX"]
texts = [e for e in msp.query("TEXT")]
box = bbox.extents(e for e in msp if e.dxftype() != "TEXT")
check(abs(box.extmin[0] - lo[0]) < 1e-9 and abs(box.extmax[1] - hi[1]) < 1e-9 and (texts or box.extmin[1] - lo[1] < 1e-9), f"extents {lo} {hi} against {box}")
check(box.extmax[0] <= hi[0] + 1e-9 and box.extmin[1] >= lo[1] - 1e-9, f"extents {lo} {hi} against {box}")
check(all(e.dxf.layer == "NOTE" and lo[0] <= e.dxf.insert.x <= hi[0] and lo[1] <= e.dxf.insert.y <= hi[1] for e in texts),
      "note outside the extents")
note = " / ".join(e.dxf.text for e in texts)
check(all(w in note for w in words) and (texts != []) == (words != []), f"note {note!r} lacks {words}")

ns = {"s": "http://www.w3.org/2000/svg"}
svg = ET.parse(svg_path).getroot()
groups = {g.get("id"): g for g in svg.findall("s:g", ns)}
check(list(groups)[:2] == ["GEAR", "PITCH"] and "CENTER" in groups and ("NOTE" in groups) == bool(words), f"svg groups {list(groups)}")
check(groups["PITCH"].get("stroke") == "#808080" and groups["PITCH"].get("stroke-dasharray"), "svg pitch circle")
svg_note = " / ".join(t.text for t in svg.findall("s:g[@id='NOTE']/s:text", ns))
check(all(w.replace("alpha", "α").replace("%%d", "°") in svg_note for w in words), f"svg note {svg_note!r}")
subprocess.run(["rsvg-convert", "-o", svg_path + ".png", svg_path], check=True)

for f in failures:
    print("FAIL", dxf_path, f)
sys.exit(1 if failures else 0)
