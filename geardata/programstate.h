// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// All gear state of the program in one plain struct: the gear table, the two
// outline buffers, the registration counter and the solver's target. One
// instance lives from process start to end, every byte zero at start. The
// names the arithmetic uses (gearTable, GearOutline, DisplayOutline,
// RegisteredCount, SolveTarget) are references into that instance.
//
// Only the program's own forms of the operations use the instance: the
// command sequences are given a ProgramState to work on, and the front ends
// hand them this one.

#include "geardata/gearrecord.h"
#include "geometry/outline.h"

#include <cstdint>

struct ProgramState {
    GearTable table;                // slot 0 the current gear, 1-20 the rows, 21 the spill slot
    OutlineBuffer gearOutline;      // the outline as it is built
    OutlineBuffer displayOutline;   // the copy the outline view draws
    std::int32_t registeredCount;   // the first free row after the last registration
    double solveTarget;             // the cosine the thickness search aims at
};

extern ProgramState programState;

// Puts the whole state back to the process start: every value zero.
void ResetProgramState();

inline GearTable& gearTable = programState.table;
inline OutlineBuffer& GearOutline = programState.gearOutline;
inline OutlineBuffer& DisplayOutline = programState.displayOutline;
inline std::int32_t& RegisteredCount = programState.registeredCount;
inline double& SolveTarget = programState.solveTarget;
