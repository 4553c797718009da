// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// All gear state of the program in one plain struct: the gear table, the two
// outline buffers, the registration counter and the solver's target. The main
// window owns one, every byte zero at its start (a value-initialised
// ProgramState).
//
// The geometry and the gear data keep no state: each operation is given the
// gear, the table, the buffers or the solver's target it works on. The
// command sequences are given a ProgramState; the window hands them its own.

#include "geardata/gearrecord.h"
#include "geometry/dimensions.h"
#include "geometry/outline.h"

#include <cstdint>

struct ProgramState {
    GearTable table;                // slot 0 the current gear, 1-20 the rows, 21 the spill slot
    OutlineBuffer gearOutline;      // the outline as it is built
    OutlineBuffer displayOutline;   // the copy the outline view draws
    std::int32_t registeredCount;   // the first free row after the last registration
    double solveTarget;             // the cosine the thickness search aims at
};
