// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/gearrecord.h"

#include "geardata/programstate.h"

#include <cstring>

ProgramState programState{};

void ResetProgramState()
{
    programState = ProgramState{};
}

void ResetGearTable()
{
    for (int slot = 0; slot <= kLastRow; ++slot) {
        GearRecord& r = gearTable[slot];
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

std::uint8_t* GearTableBytes()
{
    return reinterpret_cast<std::uint8_t*>(gearTable.data());
}
