// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/profileexport.h"

#include "geardata/apperror.h"
#include "geardata/safefile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

ExportFormat ExportFormatOf(const std::string& path)
{
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (tail == ".dxf")
        return ExportFormat::Dxf;
    if (tail == ".svg")
        return ExportFormat::Svg;
    throw AppError("書き出せるのは .dxf と .svg のファイルだけです");
}

const char* ExportOutOfMemoryMessage()
{
    return "メモリが足りないため書き出せません。許容差を大きくしてください";
}

void CheckBore(const GearProfile& profile, double boreDiameter)
{
    if (!(boreDiameter >= 0.0) || !(boreDiameter < profile.rootDiameter))
        throw AppError("穴径は 0 以上で、歯底円直径より小さくしてください");
}

ExportRequest ExportRequestOf(const GearRecord& gear, double tolerance, double tipRadius, double boreDiameter)
{
    ExportRequest request;
    request.gear.teeth = gear.Teeth;
    request.gear.module = gear.Module;
    request.gear.shift = gear.Shift;
    request.gear.pressureAngleIndex = gear.PressureAngleIndex;
    request.gear.tolerance = tolerance;
    request.gear.tipRadius = tipRadius;
    request.boreDiameter = boreDiameter;
    return request;
}

PreparedExport PrepareExport(const ExportRequest& request)
{
    PreparedExport prepared{BuildGearProfile(request.gear), request.boreDiameter};
    CheckBore(prepared.profile, prepared.boreDiameter);
    return prepared;
}

std::string ExportBytes(const PreparedExport& prepared, ExportFormat format, const DataSheet* dataSheet)
{
    return format == ExportFormat::Dxf ? ProfileDxf(prepared.profile, prepared.boreDiameter, dataSheet)
                                       : ProfileSvg(prepared.profile, prepared.boreDiameter);
}

ExportDrawing GearDrawing(const GearProfile& profile, double boreDiameter)
{
    ExportDrawing d;
    d.outline = profile.points;
    d.circles.push_back({"PITCH", profile.pitchDiameter});
    if (boreDiameter > 0.0)
        d.circles.push_back({"BORE", boreDiameter});
    d.maxX = d.maxY = profile.tipDiameter / 2.0;
    d.minX = d.minY = -d.maxX;
    return d;
}

ExportDrawing RingDrawing(const GearProfile& profile, double rimDiameter)
{
    ExportDrawing d;
    d.outline = profile.points;
    d.circles.push_back({"PITCH", profile.pitchDiameter});
    d.circles.push_back({"RIM", rimDiameter});
    d.maxX = d.maxY = rimDiameter / 2.0;
    d.minX = d.minY = -d.maxX;
    return d;
}

ExportDrawing RackDrawing(const RackProfile& rack)
{
    ExportDrawing d;
    d.outline = rack.points;
    d.lines.push_back({"PITCH", {0.0, 0.0}, {rack.length, 0.0}});
    d.minX = 0.0;
    d.maxX = rack.length;
    d.minY = rack.bottom;
    d.maxY = rack.top;
    return d;
}

void CheckRim(const GearProfile& ring, double rimDiameter)
{
    if (!std::isfinite(rimDiameter) || !(rimDiameter > ring.rootDiameter))
        throw AppError("外径は内歯車の歯底円直径より大きくしてください");
}

double DefaultRimDiameter(const GearProfile& ring, double module)
{
    return ring.rootDiameter + 6.0 * module;
}

std::string ProfileDxf(const GearProfile& profile, double boreDiameter, const DataSheet* dataSheet)
{
    return DrawingDxf(GearDrawing(profile, boreDiameter), dataSheet);
}

std::string ProfileSvg(const GearProfile& profile, double boreDiameter)
{
    return DrawingSvg(GearDrawing(profile, boreDiameter));
}

std::string DrawingBytes(const ExportDrawing& drawing, const std::string& path)
{
    return ExportFormatOf(path) == ExportFormat::Dxf ? DrawingDxf(drawing) : DrawingSvg(drawing);
}

GearProfile ExportProfile(const ExportRequest& request, const std::string& path)
{
    const ExportFormat format = ExportFormatOf(path);
    PreparedExport prepared = PrepareExport(request);
    const std::string bytes = ExportBytes(prepared, format);
    WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return std::move(prepared.profile);
}
