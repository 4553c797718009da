// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one refusal of every drawing writer (DXF, SVG, the pair's picture):
// a number that is not finite cannot be written into a drawing.

inline const char* DrawingNumberMessage()
{
    return "図面に書けない数（無限大か数でない値）があるため、書き出せません";
}
