// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check a STEP part's shell passes before its solid is written, in time in
// proportion to its edges. Open CASCADE's own check of a whole solid goes
// through a face's edges once for each edge and vertex of it: on the flat
// faces of a gear with a thousand teeth (six thousand edges each) that took
// more than the rest of the file together. Here it checks the curved faces and
// every edge with its vertices, where each thing checked has few neighbours;
// the flat faces and the shell are checked by counting:
//  - each edge of the shell lies on exactly two faces, once each way round
//    (a seam twice on its one face): the shell is closed and its faces all
//    face the same side;
//  - each wire of a flat face is one closed chain, every vertex ending one
//    edge and starting the next;
//  - each edge's curve in the plane of a flat face keeps within the edge's
//    tolerance of its curve in space;
//  - the largest wire of a flat face runs counter-clockwise about the face's
//    normal and its other wires the other way, each inside it by area.
// That a flat face's wires meet neither themselves nor one another is not
// checked here: the outline is checked simple, and the bore inside the root
// circle, before a part is built (CheckOutlineIsSimple, CheckSolid).
// Open CASCADE's headers are in this file and stepwriter.cpp only.

#include <TopoDS_Shell.hxx>

enum class ShellCheck {
    Sound,
    Broken,
    Stopped,   // Open CASCADE's check stopped on a failure inside it (memory running out among them)
};

ShellCheck CheckPartShell(const TopoDS_Shell& shell);
