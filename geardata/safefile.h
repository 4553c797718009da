// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saving a file so that a failed save never leaves a cut-off file where a good
// one was. Used for the gear data file and for every other file the program
// writes.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `size` bytes under `path`, replacing an existing file without asking.
//
// A regular file is written to an unnamed file in the same folder (a named
// hidden ".tsumugi-save-*" file where the file system has no unnamed ones),
// flushed, and only then put in place of the old one, with the old file's
// mode, group and extended attributes. A new file gets its name in one step,
// so a save killed at any moment leaves nothing behind; a save killed between
// naming the new file and putting it in place leaves a hidden name that the
// next save into that folder removes.
//
// A file that must stay the same file (hard links, another owner, a folder
// that takes no new names, a group or attribute that cannot be given to a new
// file) is rewritten in place without cutting it first: room is claimed, the
// whole image is written at offset 0 in one call, then the length is set and
// the file flushed, so a file of the same length holds the old or the new
// bytes at every instant (a longer old file keeps its tail until the length is
// set). A link to a missing file makes that file.
//
// A file-size limit below `size` is found before anything is written, so the
// process is never sent SIGXFSZ.
//
// Failures: "ファイル %s を作成できません", "ストリームへの書き込みエラー".
void WriteFileSafely(const std::string& path, const std::uint8_t* data, std::size_t size);

// The steps of a save, in order. Tests stop a saving process at each of them.
enum class SaveStep {
    Opened,    // the new file (or the file rewritten in place) is open, nothing written
    Written,   // every byte is written, not yet flushed
    Flushed,   // the bytes are on disk, the old file is still in place
    Named,     // the new file has its hidden name, the old file is still in place
    Replaced,  // the new file is in place
};
using SaveStepHook = void (*)(SaveStep step);
void SetSaveStepHook(SaveStepHook hook);
