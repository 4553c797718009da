// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/gearrecord.h"

#include "base/apperror.h"

#include <cstring>
#include <string>


void ResetGearTable(GearTable& table)
{
    for (int slot = 0; slot <= kLastRow; ++slot) {
        GearRecord& r = table[slot];
        r.InUse = 0;
        r.PressureAngleIndex = 1;
        r.Module = 1.0;
        r.Teeth = 18;
        r.Teeth2 = 20;
        // Bytes 24-135: the shift, the diameters and the reserved bytes between them.
        std::memset(reinterpret_cast<std::uint8_t*>(&r) + offsetof(GearRecord, Shift), 0,
                    offsetof(GearRecord, TipThickness) - offsetof(GearRecord, Shift));
    }
}

double PressureAngleDegrees(std::int32_t index)
{
    if (!IsPressureAngleIndex(index))
        throw AppError("圧力角の番号 " + std::to_string(index) + " は使えません（0 が 14.5°、1 が 20°）");
    return PressureAngleTable[static_cast<std::size_t>(index)];
}

std::int32_t PressureAngleIndexOfDegrees(double degrees)
{
    for (std::size_t i = 0; i < PressureAngleTable.size(); ++i)
        if (PressureAngleTable[i] == degrees)
            return static_cast<std::int32_t>(i);
    return -1;
}
