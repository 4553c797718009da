// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the current gear meshes with: another external gear, a ring (internal
// gear) around it, or a rack. The かみあい window, its drawing and the command
// line choose by this.

enum class MateKind { External, Internal, Rack };

// The caption the user chooses by: "外歯車", "内歯車", "ラック".
inline const char* MateKindCaption(MateKind kind)
{
    switch (kind) {
    case MateKind::Internal:
        return "内歯車";
    case MateKind::Rack:
        return "ラック";
    case MateKind::External:
        break;
    }
    return "外歯車";
}

// The command line's word: "external", "internal", "rack".
inline const char* MateKindKey(MateKind kind)
{
    switch (kind) {
    case MateKind::Internal:
        return "internal";
    case MateKind::Rack:
        return "rack";
    case MateKind::External:
        break;
    }
    return "external";
}
