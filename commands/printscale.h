// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printed size of the window image: every 96 window pixels give one inch on paper.

// Dots on a printer of `dpi` dots per inch for `pixels` window pixels at 96 per
// inch, rounded to the nearest dot (halves away from zero).
int PrintedDots(int pixels, int dpi);
