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

GearProfile ExportProfile(const ExportRequest& request, const std::string& path)
{
    const ExportFormat format = ExportFormatOf(path);
    PreparedExport prepared = PrepareExport(request);
    const std::string bytes = ExportBytes(prepared, format);
    WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return std::move(prepared.profile);
}
