// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a path of straight segments meets itself: the check every written
// outline goes through before it becomes a cut path or a part, and the fuzz
// target's check of a tooth.

#include "geometry/outline.h"

#include <vector>

// Whether the path p[0] .. p[n-1] (closed: and back to p[0]) meets itself
// anywhere but at the corner two neighbouring segments share: two segments
// crossing or touching, a point repeated or lying on another segment. Exact
// sign tests on the doubles; segments are hashed into square cells about
// twice their mean length, so the time grows with the number of points.
bool PathMeetsItself(const std::vector<OutlinePoint>& p, bool closed);
