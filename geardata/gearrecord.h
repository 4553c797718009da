// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One gear as it is stored: the 152-byte record and the 22-slot table whose
// memory image is also the content of a gear data file.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>

static_assert(std::endian::native == std::endian::little, "the stored format is little-endian");
static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == 8);

struct GearRecord {
    std::int32_t InUse;                  //   0: 1 computed gear, 0 empty (files may bring other values)
    std::int32_t PressureAngleIndex;     //   4: 0 selects 14.5 degrees, 1 selects 20 degrees
    double Module;                       //   8
    std::int32_t Teeth;                  //  16: Z1
    std::int32_t Teeth2;                 //  20: Z2 of a mating gear, no input box
    double Shift;                        //  24: profile shift coefficient
    std::array<std::uint8_t, 32> Reserved32;   //  32
    double PitchDiameter;                //  64
    std::array<std::uint8_t, 8> Reserved72;    //  72
    double TipDiameter;                  //  80
    std::array<std::uint8_t, 8> Reserved88;    //  88
    double RootDiameter;                 //  96
    std::array<std::uint8_t, 8> Reserved104;   // 104
    double BaseDiameter;                 // 112
    std::array<std::uint8_t, 16> Reserved120;  // 120
    double TipThickness;                 // 136
    std::array<std::uint8_t, 8> Reserved144;   // 144
};

static_assert(std::is_standard_layout_v<GearRecord> && std::is_trivially_copyable_v<GearRecord>);
static_assert(sizeof(GearRecord) == 152);
static_assert(offsetof(GearRecord, InUse) == 0);
static_assert(offsetof(GearRecord, PressureAngleIndex) == 4);
static_assert(offsetof(GearRecord, Module) == 8);
static_assert(offsetof(GearRecord, Teeth) == 16);
static_assert(offsetof(GearRecord, Teeth2) == 20);
static_assert(offsetof(GearRecord, Shift) == 24);
static_assert(offsetof(GearRecord, Reserved32) == 32);
static_assert(offsetof(GearRecord, PitchDiameter) == 64);
static_assert(offsetof(GearRecord, Reserved72) == 72);
static_assert(offsetof(GearRecord, TipDiameter) == 80);
static_assert(offsetof(GearRecord, Reserved88) == 88);
static_assert(offsetof(GearRecord, RootDiameter) == 96);
static_assert(offsetof(GearRecord, Reserved104) == 104);
static_assert(offsetof(GearRecord, BaseDiameter) == 112);
static_assert(offsetof(GearRecord, Reserved120) == 120);
static_assert(offsetof(GearRecord, TipThickness) == 136);
static_assert(offsetof(GearRecord, Reserved144) == 144);

// Slot 0 is the current gear, slots 1-20 the table rows, slot 21 the spill slot.
constexpr int kCurrentSlot = 0;
constexpr int kFirstRow = 1;
constexpr int kLastRow = 20;
constexpr int kSpillSlot = 21;
constexpr int kSlotCount = 22;

using GearTable = std::array<GearRecord, kSlotCount>;
static_assert(sizeof(GearTable) == 3344);
constexpr std::size_t kGearTableBytes = sizeof(GearTable);

// Pressure angles in degrees, selected by PressureAngleIndex.
inline constexpr std::array<double, 2> PressureAngleTable{14.5, 20.0};

// Whether an index selects a pressure angle of the table.
constexpr bool IsPressureAngleIndex(std::int32_t index)
{
    return index >= 0 && index < static_cast<std::int32_t>(PressureAngleTable.size());
}

// The pressure angle an index selects; an index other than 0 or 1 (only a
// gear data file can bring one) is refused with an AppError naming it. This is
// the one place that turns an index into degrees.
double PressureAngleDegrees(std::int32_t pressureAngleIndex);

// The index that selects a pressure angle given in degrees; -1 for an angle
// the table does not hold. The caller words the refusal for its own input.
std::int32_t PressureAngleIndexOfDegrees(double degrees);

// Puts the default gear into slots 0-20 (bytes 0-135 of each); slot 21 and
// bytes 136-151 of every slot are left as they are.
void ResetGearTable(GearTable& table);
