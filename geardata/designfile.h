// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pair designed in かみあい, as one value and as a file (.tsumugi): the
// module and pressure angle, each gear's teeth, shift, tooth-thickness
// allowance, accuracy class, face width and rows of the data table (材料,
// 熱処理, 備考, ...), the mate's kind, and the centre distance with its
// allowance. The file is JSON with a "format" and a "version"; keys this
// version does not know are kept when the file is written again.
//
// A helical pair adds "helix_angle" (beta in degrees; absent: 0, a spur pair,
// whose file is as it always was) and each gear's "hand" ("right" / "left").
// The version stays 1: a reader of version 1 keeps both keys as unknown ones
// and writes them back unchanged, so a design passed through it loses nothing.

#include "geometry/gearmodel.h"
#include "geometry/mate.h"
#include "geometry/thicknesslimits.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct GearDesign {
    std::int32_t teeth = 20;
    double shift = 0.0;
    ThicknessAllowance allowance;
    std::optional<int> accuracyClass;
    std::optional<double> faceWidth;
    std::vector<std::pair<std::string, std::string>> rows;   // 材料, 熱処理, 備考, ... in order
    std::string unknownKeys;   // the gear's keys this version does not read, as a JSON object
    Hand hand = Hand::Right;   // of a helical pair's gear
};

struct PairDesign {
    double module = 1.0;
    double pressureAngle = 20.0;   // degrees: 20 or 14.5
    MateKind mate = MateKind::External;
    std::array<GearDesign, 2> gears;   // gear 2: the ring for an internal mate; unused for a rack
    std::optional<double> centerDistance;   // given: the pair is meant to mesh at it
    ThicknessAllowance centerDistanceAllowance;
    std::string unknownKeys;   // the file's keys this version does not read, as a JSON object
    double helixAngle = 0.0;   // beta, degrees, of two external helical gears (0: spur gears)
};

inline constexpr const char* kDesignFormat = "tsumugi-design";
// Version 2 is a design of helical gears: a reader of version 1 would keep
// "helix_angle" as an unknown key and compute spur gears, so it must refuse
// it. A spur design is written as version 1, which every reader takes.
inline constexpr int kDesignVersion = 2;
inline constexpr int kSpurDesignVersion = 1;

// The file's text (UTF-8 JSON, two-space indent, LF), the unknown keys of a
// file read before included.
std::string DesignFileText(const PairDesign& design);

// The design in a file's text. A text that is no design of this version is
// refused with AppError naming `fileName` and the key (a missing, mistyped or
// out-of-range value; a newer version by its number); nothing of it is kept.
PairDesign ParseDesignFile(const std::string& text, const std::string& fileName);

// Reads and parses the file (at most 1 MiB; a larger one is no design).
PairDesign ReadDesignFile(const std::string& path);
// Writes the file with WriteFileSafely: the old file or the new one, never half of one.
void WriteDesignFile(const PairDesign& design, const std::string& path);
