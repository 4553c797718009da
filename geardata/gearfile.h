// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear data file: the 3344-byte image of the gear table, nothing else.
// File names are the platform's bytes (UTF-8 here); the messages name the
// file as given.

#include "geardata/gearrecord.h"

#include <cstdint>
#include <string>
#include <vector>

// Reads the bytes of a gear data file: at most the 3344 bytes the table can
// take (a longer file's tail is never needed). Failures: "ファイル %s は開けません"
// (missing, no access, a folder or other non-file), "ストリームからの読み込みエラー".
std::vector<std::uint8_t> ReadGearFile(const std::string& path);

// Copies min(size, 3344) bytes over the start of the table, unchanged.
void LoadGearTableBytes(GearTable& table, const std::vector<std::uint8_t>& bytes);

// Writes the 3344 bytes of the table under `path` with WriteFileSafely
// (base/safefile.h).
// Failures: "ファイル %s を作成できません", "ストリームへの書き込みエラー".
void WriteGearFile(const GearTable& table, const std::string& path);
