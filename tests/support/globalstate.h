// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One ProgramState for the whole process, zero at start, with the names the
// arithmetic was designed with (gearTable, GearOutline, DisplayOutline,
// RegisteredCount, SolveTarget) as references into it, and the operations
// under their design names as they work on it (slot 0, GearOutline,
// DisplayOutline, RegisteredCount, SolveTarget). The tests, the fuzz targets
// and the benchmarks drive the arithmetic through these; the program itself
// never does: its window owns its state.

#include "commands/programstate.h"

#include <cstdint>
#include <string>
#include <vector>

class DrawingSurface;

extern ProgramState programState;

// Puts the whole state back to the process start: every value zero.
void ResetProgramState();

inline GearTable& gearTable = programState.table;
inline OutlineBuffer& GearOutline = programState.gearOutline;
inline OutlineBuffer& DisplayOutline = programState.displayOutline;
inline std::int32_t& RegisteredCount = programState.registeredCount;
inline double& SolveTarget = programState.solveTarget;

// The table's bytes, for the file transfer.
std::uint8_t* GearTableBytes();
// Slots 0-20 to the default gear (ResetGearTable of geardata/gearrecord.h).
void ResetGearTable();
// Slot 0's five dimensions (geometry/dimensions.h), with SolveTarget.
void ComputeGearDimensions();
double ThicknessAtDiameter(std::int32_t z, double m, double x, double d);
double CosineResidual(double t);
SolveOutcome FalsePositionSolve(double& root, double a, double b, double tol, int* rounds = nullptr);
// Slot 0's outline into GearOutline and DisplayOutline (geometry/outline.h).
void BuildToothOutline(std::int32_t teeth, double module, double shift, double tipDiameter, double rootDiameter);
void ReplicateTeeth(std::int32_t teeth);
void RebuildOutline();
// The table moves on gearTable and RegisteredCount (geardata/tableops.h).
void RegisterSlots();
bool RecallRow(int row);
bool DeleteRowSlots(int row);
// The gear data file of gearTable (geardata/gearfile.h).
void LoadGearTableBytes(const std::vector<std::uint8_t>& bytes);
void WriteGearFile(const std::string& path);
// DisplayOutline of slot 0 in a view (commands/outlineview.h).
void ShowOutlineOn(DrawingSurface& surface, int itemIndex);
