// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a gear's true-scale profile to the files a laser, a CAD or a CNC
// program reads: DXF (millimetres declared, the outline as one closed polyline
// on layer GEAR, the pitch circle on PITCH, an optional bore on BORE) and SVG
// (width and height in millimetres, the same three layers as named groups).
// The bytes are made in memory and saved with WriteFileSafely, so a failed
// save leaves the old file or the new one, never a cut-off one.

#include "commands/datatable.h"
#include "geometry/profile.h"

#include <string>

struct ExportRequest {
    ProfileInput gear;
    double boreDiameter = 0.0;   // 0: no bore
};

enum class ExportFormat { Dxf, Svg };

// The format a file name asks for by its extension (.dxf or .svg, any case);
// another extension is refused with an AppError.
ExportFormat ExportFormatOf(const std::string& path);

// Refuses a bore that is negative, not a number or does not stay inside the
// root circle.
void CheckBore(const GearProfile& profile, double boreDiameter);

// The file contents. With a data table, the DXF also carries the table as
// texts and frame lines on layer DATATABLE, right of the gear.
std::string ProfileDxf(const GearProfile& profile, double boreDiameter, const DataSheet* dataSheet = nullptr);
std::string ProfileSvg(const GearProfile& profile, double boreDiameter);   // in svgwriter.cpp

// Builds the profile, makes the file in the format of the path's extension and
// saves it; returns the profile for the caller's report.
GearProfile ExportProfile(const ExportRequest& request, const std::string& path);

// What is said when the memory runs out while the points or the file's bytes
// are made.
const char* ExportOutOfMemoryMessage();

// The margin around the tip circle in the SVG picture, mm on each side.
inline constexpr double kSvgMargin = 1.0;
