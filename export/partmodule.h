// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part module: the STEP solid (Open CASCADE, stepwriter.cpp) and the 3MF
// package (lib3mf, threemfwriter.cpp) are built into libtsumugi-parts.so, the
// only binary that links those libraries. The programs open it at their first
// STEP or 3MF export (partloader.cpp) and call it through the entry points
// below; a start that writes neither never loads it.
//
// Module and programs are built from the same sources by the same compiler, so
// the entry points take the program's own types by reference. Exceptions do
// not cross: each entry point catches what its file raises and says how it
// ended, with the message's text, and the loader raises it again on its side.

#include "export/profileexport.h"

#include <string>

// The module's file name; it lies beside the window program.
inline constexpr char kPartModuleFile[] = "libtsumugi-parts.so";

// The version of the entry points: raised whenever their names, types or
// results change. A module that reports another number is not used.
inline constexpr int kPartModuleInterface = 1;

// How an entry point ended.
enum PartModuleResult : int {
    kPartMade = 0,          // the file's bytes are in `bytes`
    kPartRefused = 1,       // an AppError: its text is in `message`
    kPartOutOfMemory = 2,   // std::bad_alloc
    kPartFailed = 3,        // another exception: its what() is in `message`
};

// The entry points, exported with C names for dlsym.
extern "C" {
using PartModuleInterfaceFunction = int();
// GearStep's STEP file.
using PartStepFunction = int(const GearProfile& profile, const SolidInput& solid, const HoleShape& hole,
                             const std::string& title, std::string& bytes, std::string& message);
// Surface3mf's 3MF package.
using Part3mfFunction = int(const TriangleSurface& surface, const std::string& title, std::string& bytes,
                            std::string& message);
}
inline constexpr char kPartModuleInterfaceSymbol[] = "tsumugi_parts_interface";
inline constexpr char kPartStepSymbol[] = "tsumugi_parts_step";
inline constexpr char kPart3mfSymbol[] = "tsumugi_parts_3mf";

// The programs' side: the file made through the module, opened once for the
// process (from any thread). A module that is missing, cannot be loaded, lacks
// an entry point or reports another interface refuses the export with an
// AppError naming the module's path and the reason; what the module raised is
// raised again here with its text unchanged.
std::string StepThroughModule(const GearProfile& profile, const SolidInput& solid, const HoleShape& hole,
                              const std::string& title);
std::string ThreeMfThroughModule(const TriangleSurface& surface, const std::string& title);
