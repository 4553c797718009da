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
#include "geometry/profile.h"

#include <string>

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

// The file contents in a format. With a data table, the DXF also carries the
// table as texts and frame lines on layer DATATABLE, right of the gear.
std::string ExportBytes(const PreparedExport& prepared, ExportFormat format, const DataSheet* dataSheet = nullptr);
// The file contents.
std::string ProfileDxf(const GearProfile& profile, double boreDiameter, const DataSheet* dataSheet = nullptr);
std::string ProfileSvg(const GearProfile& profile, double boreDiameter);   // in svgwriter.cpp

// The whole sequence into a file: the format of the path's extension,
// prepared, made and saved; returns the profile for the caller's report.
GearProfile ExportProfile(const ExportRequest& request, const std::string& path);

// What is said when the memory runs out while the points or the file's bytes
// are made.
const char* ExportOutOfMemoryMessage();

// The margin around the tip circle in the SVG picture, mm on each side.
inline constexpr double kSvgMargin = 1.0;
