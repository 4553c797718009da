// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a STEP solid is made of, shared by the size check the programs make
// before a file is chosen (stepsize.cpp) and the solid builder in the part
// module (stepwriter.cpp).

#include "geometry/profile.h"

#include <cstddef>

// The teeth of a profile: its points over the points of one tooth.
std::size_t StepTeeth(const GearProfile& profile);
