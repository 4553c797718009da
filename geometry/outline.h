// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outline of the whole gear: 14 points per tooth, tooth 0 built from the
// root up one flank, over the tip and down the other, then rotated into every
// tooth position. GearOutline is the work buffer; DisplayOutline is the copy
// the outline view draws.

#include "geardata/gearrecord.h"
#include "geometry/point.h"

#include <array>
#include <cstdint>

// Points of the tooth outline (OutlinePoint, geometry/point.h) are in gear
// millimetres: origin at the gear centre, x along tooth 0's centre line.
inline constexpr int kOutlineCapacity = 1001;   // points per outline buffer
using OutlineBuffer = std::array<OutlinePoint, kOutlineCapacity>;

// Each operation below is given the buffers (and the solver's target) it
// works on. The program's two buffers, GearOutline and DisplayOutline, are
// part of the one program state (commands/programstate.h), with the forms of
// these operations that work on them.
inline constexpr int kOutlineCopied = 1000;        // points copied into DisplayOutline
inline constexpr int kPointsPerTooth = 14;
inline constexpr int kMaxOutlineTeeth = 71;        // 14 * 71 = 994 <= 1000

// Writes outline[0..13].
void BuildToothOutline(OutlineBuffer& outline, double& solveTarget, std::int32_t teeth, double module, double shift,
                       double tipDiameter, double rootDiameter);

// Writes outline[14 .. 14*teeth-1] from points 0-13; nothing when teeth <= 1.
// Never writes past the buffer: teeth beyond 71 are not replicated.
void ReplicateTeeth(OutlineBuffer& outline, std::int32_t teeth);

// Counter-clockwise rotation about the gear centre.
void RotatePoint(double x, double y, double angle, double& xOut, double& yOut);

// Builds the outline of the gear in `work` and copies work[0..999] into
// `display`. A tooth count above 71 does not fit the buffers and is refused
// with an AppError before anything is written.
void RebuildOutline(const GearRecord& gear, OutlineBuffer& work, OutlineBuffer& display, double& solveTarget);

// The message for a gear whose outline does not fit.
const char* TooManyTeethToDrawMessage();
