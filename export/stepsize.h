// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a STEP solid's outline is cut into its smooth runs, shared by the size
// check the programs make before a file is chosen (stepsize.cpp) and the solid
// builder in the part module (stepwriter.cpp).

#include "geometry/profile.h"

#include <cstddef>
#include <vector>

// The points where the outline turns by more than 10°: the ends of its smooth
// runs (at least one).
std::vector<std::size_t> StepCorners(const std::vector<OutlinePoint>& pts);
