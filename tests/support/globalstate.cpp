// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/globalstate.h"

#include "commands/outlineview.h"
#include "geardata/gearfile.h"
#include "geardata/tableops.h"
#include "geometry/dimensions.h"
#include "geometry/outline.h"

ProgramState programState{};

void ResetProgramState()
{
    programState = ProgramState{};
}

std::uint8_t* GearTableBytes()
{
    return reinterpret_cast<std::uint8_t*>(gearTable.data());
}

void ResetGearTable()
{
    ResetGearTable(gearTable);
}

void ComputeGearDimensions()
{
    ComputeGearDimensions(gearTable[kCurrentSlot], SolveTarget);
}

double ThicknessAtDiameter(std::int32_t z, double m, double x, double d)
{
    return ThicknessAtDiameter(z, m, x, d, SolveTarget);
}

double CosineResidual(double t)
{
    return CosineResidual(t, SolveTarget);
}

SolveOutcome FalsePositionSolve(double& root, double a, double b, double tol, int* rounds)
{
    return FalsePositionSolve(root, a, b, tol, SolveTarget, rounds);
}

void BuildToothOutline(std::int32_t teeth, double module, double shift, double tipDiameter, double rootDiameter)
{
    BuildToothOutline(GearOutline, SolveTarget, teeth, module, shift, tipDiameter, rootDiameter);
}

void ReplicateTeeth(std::int32_t teeth)
{
    ReplicateTeeth(GearOutline, teeth);
}

void RebuildOutline()
{
    RebuildOutline(gearTable[kCurrentSlot], GearOutline, DisplayOutline, SolveTarget);
}

void RegisterSlots()
{
    RegisterSlots(gearTable, RegisteredCount);
}

bool RecallRow(int row)
{
    return RecallRow(gearTable, row);
}

bool DeleteRowSlots(int row)
{
    return DeleteRowSlots(gearTable, row);
}

void LoadGearTableBytes(const std::vector<std::uint8_t>& bytes)
{
    LoadGearTableBytes(gearTable, bytes);
}

void WriteGearFile(const std::string& path)
{
    WriteGearFile(gearTable, path);
}

void ShowOutlineOn(DrawingSurface& surface, int itemIndex)
{
    ShowOutlineOn(surface, itemIndex, gearTable[kCurrentSlot], DisplayOutline);
}
