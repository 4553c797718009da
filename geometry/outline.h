// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outline of the whole gear: 14 points per tooth, tooth 0 built from the
// root up one flank, over the tip and down the other, then rotated into every
// tooth position. GearOutline is the work buffer; DisplayOutline is the copy
// the outline view draws.

#include "geardata/programstate.h"

#include <cstdint>

// OutlinePoint, GearOutline and DisplayOutline (kOutlineCapacity points each)
// are in geardata/programstate.h.
inline constexpr int kOutlineCopied = 1000;        // points copied into DisplayOutline
inline constexpr int kPointsPerTooth = 14;
inline constexpr int kMaxOutlineTeeth = 71;        // 14 * 71 = 994 <= 1000

// Writes GearOutline[0..13].
void BuildToothOutline(std::int32_t teeth, double module, double shift, double tipDiameter, double rootDiameter);

// Writes GearOutline[14 .. 14*teeth-1] from points 0-13; nothing when teeth <= 1.
// Never writes past the buffer: teeth beyond 71 are not replicated.
void ReplicateTeeth(std::int32_t teeth);

// Counter-clockwise rotation about the gear centre.
void RotatePoint(double x, double y, double angle, double& xOut, double& yOut);

// Builds the outline of slot 0 and copies GearOutline[0..999] into
// DisplayOutline. A tooth count above 71 does not fit the buffers and is
// refused with an AppError before anything is written.
void RebuildOutline();

// The message for a gear whose outline does not fit.
const char* TooManyTeethToDrawMessage();
