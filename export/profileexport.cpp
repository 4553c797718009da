// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/profileexport.h"

#include "geardata/apperror.h"
#include "geardata/safefile.h"

#include <algorithm>
#include <cctype>
#include <cmath>

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

GearProfile ExportProfile(const ExportRequest& request, const std::string& path)
{
    const ExportFormat format = ExportFormatOf(path);
    GearProfile profile = BuildGearProfile(request.gear);
    CheckBore(profile, request.boreDiameter);
    const std::string bytes = format == ExportFormat::Dxf ? ProfileDxf(profile, request.boreDiameter)
                                                           : ProfileSvg(profile, request.boreDiameter);
    WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return profile;
}
