// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a gear's true-scale profile to the files a laser, a CAD or a CNC
// program reads: DXF (millimetres declared, the outline as one closed polyline
// on layer GEAR, the pitch circle on PITCH, an optional bore on BORE) and SVG
// (width and height in millimetres, the same three layers as named groups).
// The bytes are made in memory and saved with WriteFileSafely, so a failed
// save leaves the old file or the new one, never a cut-off one.

#include "commands/datatable.h"
#include "geardata/gearrecord.h"
#include "geometry/internalgear.h"
#include "geometry/profile.h"
#include "geometry/rackpair.h"

#include <string>
#include <vector>

// The export, one sequence for every front end: ExportRequestOf the gear and
// the tool, PrepareExport (every refusal happens here, before a file is
// chosen), ExportBytes in the chosen format, then the bytes saved with
// WriteFileSafely or written where the front end sends them.

struct ExportRequest {
    ProfileInput gear;
    double boreDiameter = 0.0;   // 0: no bore
};

// The request for a gear record (module, teeth, shift, pressure angle), the
// tolerance, the rack's tip radius and the bore.
ExportRequest ExportRequestOf(const GearRecord& gear, double tolerance, double tipRadius, double boreDiameter);

// The profile built and the bore checked.
struct PreparedExport {
    GearProfile profile;
    double boreDiameter = 0.0;
};
PreparedExport PrepareExport(const ExportRequest& request);

enum class ExportFormat { Dxf, Svg };

// The format a file name asks for by its extension (.dxf or .svg, any case);
// another extension is refused with an AppError.
ExportFormat ExportFormatOf(const std::string& path);

// Refuses a bore that is negative, not a number or does not stay inside the
// root circle.
void CheckBore(const GearProfile& profile, double boreDiameter);

// The file contents in a format.
// With a data table, the DXF also carries the table as texts and frame lines
// on layer DATATABLE, right of the gear.
std::string ExportBytes(const PreparedExport& prepared, ExportFormat format, const DataSheet* dataSheet = nullptr);
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

// Refuses a rim that is not a number or does not lie outside the root circle.
void CheckRim(const GearProfile& ring, double rimDiameter);
// The rim a ring gets when nobody chooses one: root diameter + 6 m.
double DefaultRimDiameter(const GearProfile& ring, double module);

// The file contents.
std::string DrawingDxf(const ExportDrawing& drawing, const DataSheet* dataSheet = nullptr);
std::string DrawingSvg(const ExportDrawing& drawing);   // in svgwriter.cpp
std::string ProfileDxf(const GearProfile& profile, double boreDiameter, const DataSheet* dataSheet = nullptr);
std::string ProfileSvg(const GearProfile& profile, double boreDiameter);
// The bytes of a drawing in the format of the path's extension.
std::string DrawingBytes(const ExportDrawing& drawing, const std::string& path);

// The whole sequence into a file: the format of the path's extension,
// prepared, made and saved; returns the profile for the caller's report.
GearProfile ExportProfile(const ExportRequest& request, const std::string& path);

// What is said when the memory runs out while the points or the file's bytes
// are made.
const char* ExportOutOfMemoryMessage();

// The margin around the tip circle in the SVG picture, mm on each side.
inline constexpr double kSvgMargin = 1.0;
