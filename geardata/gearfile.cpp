// SPDX-License-Identifier: GPL-3.0-or-later
#include "geardata/gearfile.h"

#include "base/apperror.h"
#include "base/displaytext.h"
#include "base/filedescriptor.h"
#include "geardata/gearrecord.h"
#include "base/safefile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string CannotOpen(const std::string& path)
{
    std::string text = "ファイル ";
    text += DirectionIsolated(path);
    return text + " は開けません";
}
const char* const kReadError = "ストリームからの読み込みエラー";

}  // namespace

std::vector<std::uint8_t> ReadGearFile(const std::string& path)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw AppError(CannotOpen(path));

    std::vector<std::uint8_t> bytes(kGearTableBytes);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw AppError(kReadError);
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

void LoadGearTableBytes(GearTable& table, const std::vector<std::uint8_t>& bytes)
{
    // An empty vector may have no storage at all: memcpy must not see its null pointer.
    if (bytes.empty())
        return;
    std::memcpy(reinterpret_cast<std::uint8_t*>(table.data()), bytes.data(), std::min(bytes.size(), kGearTableBytes));
}

void WriteGearFile(const GearTable& table, const std::string& path)
{
    WriteFileSafely(path, reinterpret_cast<const std::uint8_t*>(table.data()), kGearTableBytes);
}
