// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The moves of gears between the current gear (slot 0) and the table rows
// 1-20, without any window: the window refreshes its grid after them.

#include "geardata/gearrecord.h"

#include <cstdint>

// registeredCount (RegisteredCount of commands/programstate.h): the first
// free row after the last registration, or 20 when the table is full.

// The slot tests, each as the table operations read InUse.
inline bool IsShown(const GearRecord& g) { return g.InUse != 0; }
inline bool IsFreeForInsertion(const GearRecord& g) { return g.InUse == 0; }
inline bool CanRecall(const GearRecord& g) { return g.InUse == 1; }
inline bool CanDelete(const GearRecord& g) { return g.InUse > 0; }

// Inserts slot 0 as row 1, pushing the rows above the first free row one row
// down (the gear of a full row 20 into the spill slot 21). When a table read
// from a file holds occupied rows right below the first free row, the free
// slot is overwritten instead of being pushed onto them, so no gear is lost.
void RegisterSlots(GearTable& table, std::int32_t& registeredCount);

// Copies row r into slot 0 when it can be recalled; returns whether it did.
bool RecallRow(GearTable& table, int row);

// Removes row r when it can be deleted: rows below move up, slot 20 takes the
// spill slot and is marked free. Returns whether it did.
bool DeleteRowSlots(GearTable& table, int row);

