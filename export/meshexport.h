// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture of two gears in mesh as an SVG file: millimetres, y upwards,
// each body a closed path in a group of its own (GEAR1, GEAR2 or RACK; a
// ring's path is its rim and its toothed inside, filled even-odd), the
// overlap of the outlines filled red (OVERLAP), the circles (BASE, PITCH,
// WORKING_PITCH, TIP; a rack's as lines) and the line of action with the start and end of
// contact and the pitch point (LINE_OF_ACTION) in groups of their own.
// Saved with WriteFileSafely.

#include "geometry/mesh.h"

#include <string>

std::string MeshSvg(const MeshPicture& picture);

void SaveMeshSvg(const MeshPicture& picture, const std::string& path);

// The margin around both tip circles, mm on each side.
inline constexpr double kMeshSvgMargin = 1.0;
