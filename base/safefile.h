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
// file) is rewritten in place only where that takes one step a kill cannot
// split: an image of at most one page (a gear data file) over a file no longer
// than it. Anything else there is refused before a byte is written, with
// InPlaceRefusedMessage: written in steps, a kill could leave a cut file or new
// bytes before old ones. A link to a missing file makes that file as a new
// file, whole or not at all.
//
// A file-size limit below `size` is found before anything is written, so the
// process is never sent SIGXFSZ.
//
// A device or a pipe is written as it is, waiting while a pipe is full; a pipe
// without a reader is refused.
//
// Failures: "ファイル %s を作成できません", "ストリームへの書き込みエラー",
// InPlaceRefusedMessage(path).
void WriteFileSafely(const std::string& path, const std::uint8_t* data, std::size_t size);

// Why a file that has to be rewritten in place is not: what the user sees, with
// what to do instead.
std::string InPlaceRefusedMessage(const std::string& path);

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
