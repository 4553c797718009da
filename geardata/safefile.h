#pragma once
// Saving a file so that a failed save never leaves a cut-off file where a good
// one was. Used for the gear data file and for every other file the program
// writes.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `size` bytes under `path`, replacing an existing file without asking.
// A regular file is written to a new file in the same folder and put in place
// of the old one only when all of it is written and flushed. A file that must
// stay the same file (hard links, another owner, a folder that takes no new
// names) is rewritten in place; a link to a missing file makes that file.
// Failures: "ファイル %s を作成できません", "ストリームへの書き込みエラー".
void WriteFileSafely(const std::string& path, const std::uint8_t* data, std::size_t size);
