// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a gear's true-scale profile to the files a laser, a CAD or a CNC
// program reads: DXF (millimetres declared, extents given, the cut paths as
// closed polylines on layers GEAR and BORE, the pitch circle dashed in grey on
// the construction layer PITCH, a centre mark on CENTER, an optional note on
// NOTE) and SVG (width and height in millimetres, the same layers as named
// groups); and the part extruded by its face width for a printer or a CAD
// program: binary STL, 3MF (millimetres) and STEP (AP214, a solid of curves).
// The bytes are made in memory and saved with WriteFileSafely, so a failed
// save leaves the old file or the new one, never a cut-off one.
//
// STEP and 3MF need Open CASCADE and lib3mf, which the programs do not link:
// GearStep and Surface3mf are built into the part module libtsumugi-parts.so
// (partmodule.h), which lies beside the window program and is opened at the
// first STEP or 3MF export; ExportBytes reaches them through it.

#include "commands/datatable.h"
#include "geardata/gearrecord.h"
#include "geometry/internalgear.h"
#include "geometry/profile.h"
#include "geometry/rackpair.h"
#include "geometry/solid.h"

#include <optional>
#include <string>
#include <vector>

// The export, one sequence for every front end: ExportRequestOf the gear and
// the tool, PrepareExport (every refusal happens here, before a file is
// chosen), ExportBytes in the chosen format, then the bytes saved with
// WriteFileSafely or written where the front end sends them.

struct ExportRequest {
    GearSpec gear;               // an external gear and its rack (tip radius NaN: 0.38 m)
    double tolerance = 0.001;    // largest chord deviation of the outline, mm
    double boreDiameter = 0.0;   // 0: no bore
    bool keyway = false;         // a parallel keyway in the bore (JIS B 1301, normal type)
    double faceWidth = 10.0;     // the part's width b, mm (STL, 3MF, STEP)
    double hubDiameter = 0.0;    // 0: no hub (STL, 3MF, STEP)
    double hubLength = 0.0;
    double kerf = 0.0;           // DXF, SVG: the cut paths lie kerf/2 outside the part
    bool note = false;           // DXF, SVG: m, z, x, alpha, the allowance and the kerf as text
};

// The request for a gear record (module, teeth, shift, pressure angle), the
// tolerance, the rack's tip radius and the bore; the part's options keep their
// defaults for the caller to set.
ExportRequest ExportRequestOf(const GearRecord& gear, double tolerance, double tipRadius, double boreDiameter);

enum class ExportFormat { Dxf, Svg, Stl, ThreeMf, Step };

// The format a file name asks for by its extension (.dxf, .svg, .stl, .3mf,
// .step or .stp, any case); another extension is refused with an AppError.
ExportFormat ExportFormatOf(const std::string& path);
// STL, 3MF and STEP: the part, not a drawing.
bool IsSolidFormat(ExportFormat format);

// The part's options of a request.
SolidInput SolidOf(const ExportRequest& request);

// What a cutter's file draws: the cut paths (offset by half the kerf), the
// construction lines and the note.
struct CutDrawing {
    std::vector<OutlinePoint> outline;   // counter-clockwise
    HoleShape hole;                      // radius 0: no bore
    double pitchDiameter = 0.0;
    double centreMark = 0.0;             // half the length of each line of the cross
    double extMin[2] = {0.0, 0.0};
    double extMax[2] = {0.0, 0.0};
    std::vector<std::string> note;       // lines; "{deg}" and "{alpha}" stand for ° and α
    double noteHeight = 0.0;
    double noteX = 0.0, noteY = 0.0;     // the first line's baseline start
};
CutDrawing MakeCutDrawing(const ExportRequest& request, const GearProfile& profile);
std::string CutDrawingDxf(const CutDrawing& drawing, const DataSheet* dataSheet = nullptr);
std::string CutDrawingSvg(const CutDrawing& drawing);   // in svgwriter.cpp

// The part's files, from its triangle surface or (STEP) from the profile and the exact bore.
std::string SurfaceStl(const TriangleSurface& surface, const std::string& title);   // stlwriter.cpp
// Surface3mf and GearStep are the part module's (threemfwriter.cpp, stepwriter.cpp): the programs
// call them through StepThroughModule and ThreeMfThroughModule (partmodule.h).
std::string Surface3mf(const TriangleSurface& surface, const std::string& title);   // threemfwriter.cpp
std::string GearStep(const GearProfile& profile, const SolidInput& solid, const HoleShape& hole,
                     const std::string& title);                              // stepwriter.cpp

// A STEP solid's outline has one edge for each piece of each tooth (arcs and
// B-splines through the fillets' and flanks' points). The time and memory a
// file takes grow in proportion to the edges (some 5 s and 400 MB at 6000,
// a gear of 1000 teeth) and to the points (about 0.01 ms and 0.3 kB each):
// past these limits a STEP file is refused before anything is built.
inline constexpr std::size_t kStepMaxEdges = 6000;
inline constexpr std::size_t kStepMaxPoles = 500000;
// Refuses a profile whose solid would pass a limit, naming the counts; in the
// programs and in the part module alike.
void CheckStepSize(const GearProfile& profile);                            // stepsize.cpp

// The profile built and the request checked against it: the bore, the
// keyway, the kerf and the part. With a format, only what that format uses is
// checked; without one (the file not chosen yet), what every format uses.
// What the checks built is kept for ExportBytes.
struct PreparedExport {
    GearProfile profile;
    ExportRequest request;
    std::optional<CutDrawing> drawing;   // checked for DXF and SVG
    std::optional<HoleShape> hole;       // the part checked for STL, 3MF and STEP
};
PreparedExport PrepareExport(const ExportRequest& request, std::optional<ExportFormat> format = std::nullopt);

// The file contents in a format. With a data table, the DXF also carries the
// table as texts and frame lines on layer DATATABLE, right of the gear.
std::string ExportBytes(const PreparedExport& prepared, ExportFormat format, const DataSheet* dataSheet = nullptr);

// Refuses an outline that meets itself (crossing or touching anywhere but at
// its neighbouring edges' shared corners), naming it: every outline a file
// gets (the gear's, a ring's or a rack's, the cut paths moved out by the kerf)
// goes through this.
void CheckOutlineIsSimple(const std::vector<OutlinePoint>& outline, const char* what);

// Refuses a bore that is negative, not a number or does not stay inside the
// root circle.
void CheckBore(const GearProfile& profile, double boreDiameter);

// What a file shows: one closed outline on layer GEAR, circles about the
// origin on their own layers (PITCH, BORE, RIM) and lines (a rack's
// reference line on PITCH), and the rectangle the SVG picture frames (the
// margin is added around it).
struct ExportDrawing {
    struct Circle {
        const char* layer;
        double diameter;
    };
    struct Line {
        const char* layer;
        OutlinePoint from, to;
    };
    std::vector<OutlinePoint> outline;
    std::vector<Circle> circles;
    std::vector<Line> lines;
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};

// An external gear with its pitch circle and an optional bore (0: none).
ExportDrawing GearDrawing(const GearProfile& profile, double boreDiameter);
// A ring: its toothed inside, the pitch circle and the outer rim circle.
ExportDrawing RingDrawing(const GearProfile& profile, double rimDiameter);
// A rack segment with its reference line.
ExportDrawing RackDrawing(const RackProfile& rack);

// The largest rim a ring's drawing takes, mm.
inline constexpr double kLargestRimDiameter = 1e6;
// Refuses a rim that is not a number, does not lie outside the root circle
// or is larger than kLargestRimDiameter.
void CheckRim(const GearProfile& ring, double rimDiameter);

// The rim a ring gets when nobody chooses one: root diameter + 6 m.
double DefaultRimDiameter(const GearProfile& ring, double module);

// The file contents of a ring's or a rack's drawing: the PITCH layer dashed
// in grey, never cut; the extents given. With a data table, the DXF also
// carries the table on layer DATATABLE, right of the drawing.
std::string DrawingDxf(const ExportDrawing& drawing, const DataSheet* dataSheet = nullptr);
std::string DrawingSvg(const ExportDrawing& drawing);   // in svgwriter.cpp
// The file contents of a plain profile with a bore.
std::string ProfileDxf(const GearProfile& profile, double boreDiameter, const DataSheet* dataSheet = nullptr);
std::string ProfileSvg(const GearProfile& profile, double boreDiameter);
// The bytes of a drawing as DXF or SVG.
std::string DrawingBytes(const ExportDrawing& drawing, ExportFormat format);

// What a front end writes: the gear itself (its profile or its part), a ring
// with its teeth (cut by its pinion-type cutter, with an outer rim) or a rack
// segment; a ring and a rack are drawings, DXF or SVG only.
enum class ExportShape { Gear, Ring, Rack };

struct ShapeExportRequest {
    ExportShape shape = ExportShape::Gear;
    ExportRequest gear;            // the gear: its profile, its bore and its part
    GearSpec ring;                 // a ring (GearKind::Internal, its pinion-type cutter)
    double rimDiameter = 0.0;      // a ring's outer diameter; 0: DefaultRimDiameter
    double rackModule = 1.0;       // a rack: module, pressure angle in degrees, length
    double rackPressureAngle = 20.0;
    double rackLength = 100.0;
    double tolerance = 0.001;      // a ring's and a rack's largest chord deviation
};

// The shape built and checked (PrepareExport for the gear), what it is drawn
// from kept for the front end's report.
struct PreparedShape {
    ExportShape shape = ExportShape::Gear;
    std::optional<PreparedExport> gear;
    std::optional<GearProfile> ring;
    double rimDiameter = 0.0;      // the ring's, the default filled in
    std::optional<RackProfile> rack;
    std::optional<ExportDrawing> drawing;   // a ring's or a rack's
};
PreparedShape PrepareShapeExport(const ShapeExportRequest& request, std::optional<ExportFormat> format = std::nullopt);

// The file contents of a prepared shape. A ring or a rack in a part's format,
// or a data table in another format than DXF, is refused with an AppError.
std::string ShapeExportBytes(const PreparedShape& prepared, ExportFormat format, const DataSheet* dataSheet = nullptr);

// The whole sequence into a file: the format of the path's extension,
// prepared, made and saved; returns the profile for the caller's report.
GearProfile ExportProfile(const ExportRequest& request, const std::string& path);

// What is said when the memory runs out while the points or the file's bytes
// are made.
const char* ExportOutOfMemoryMessage();

// The margin around the tip circle in the SVG picture, mm on each side.
inline constexpr double kSvgMargin = 1.0;
