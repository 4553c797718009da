// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/safefile.h"

#include "base/apperror.h"
#include "base/displaytext.h"
#include "base/filedescriptor.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <csignal>
#include <optional>
#include <poll.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

std::string CannotCreate(const std::string& path)
{
    std::string text = "ファイル ";
    text += DirectionIsolated(path);
    return text + " を作成できません";
}
const char* const kWriteError = "ストリームへの書き込みエラー";
const char* const kHiddenPrefix = ".tsumugi-save-";

SaveStepHook theHook = nullptr;

void Step(SaveStep step)
{
    if (theHook)
        theHook(step);
}

// Writes all of `data`: from `offset` on when one is given, else at the
// descriptor's position (a pipe or a device has no offsets). A short write
// continues where it stopped; a full pipe is waited for, as a blocking write
// would wait.
bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, std::optional<off_t> offset = std::nullopt)
{
    while (size > 0) {
        const ssize_t n = offset ? ::pwrite(fd, data, size, *offset) : ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd ready{fd, POLLOUT, 0};
            if (::poll(&ready, 1, -1) < 0 && errno != EINTR)
                return false;
            continue;
        }
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        if (offset)
            *offset += n;
    }
    return true;
}

// False when the process may not make a file of `size` bytes: writing past the
// limit would send SIGXFSZ, which ends a process that does not ignore it.
bool WithinSizeLimit(std::size_t size)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return true;
    return size <= limit.rlim_cur;
}

// The folder part of a path, "." when there is none.
std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// A device or a pipe: written as it is, nothing to keep. A pipe nobody reads
// is refused at once instead of waited on; one whose reader goes away ends
// the write with the write error, not the process.
void WriteToDevice(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        throw AppError(CannotCreate(path));
    sigset_t pipeSignal, before;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    sigset_t pendingBefore;
    ::sigpending(&pendingBefore);
    const bool ok = WriteAll(fd.get(), data, size);
    const int error = errno;
    if (!ok && error == EPIPE && !sigismember(&pendingBefore, SIGPIPE)) {
        const timespec now{0, 0};
        ::sigtimedwait(&pipeSignal, nullptr, &now);
    }
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (!fd.Close() || !ok)
        throw AppError(kWriteError);
}

// The largest image that goes into a file in place in one step that a kill
// cannot split: one page at offset 0.
std::size_t OneStepBytes()
{
    const long page = ::sysconf(_SC_PAGESIZE);
    return page > 0 ? static_cast<std::size_t>(page) : 4096;
}

std::optional<std::string> MissingFileOfLink(const std::string& path);

// Rewrites the file at `path` where it is, so it stays the same file. The
// image goes in at offset 0 in one call of at most one page, which a kill
// cannot split, over a file no longer than the image: the file holds the old
// or the new bytes at every instant. Anything larger would be written in
// steps a kill can stop between (a cut file, or new bytes before old ones),
// so it is refused before a byte is written. The room is claimed first (a
// full disk refuses there).
void RewriteInPlace(const std::string& path, const std::string& shownName, const std::uint8_t* data,
                    std::size_t size)
{
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.get() < 0)
        throw AppError(CannotCreate(shownName));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw AppError(kWriteError);
    if (size > OneStepBytes() || st.st_size > static_cast<off_t>(size))
        throw AppError(InPlaceRefusedMessage(shownName));
    Step(SaveStep::Opened);
    if (!WithinSizeLimit(size))
        throw AppError(kWriteError);
    if (size > 0 && ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        throw AppError(kWriteError);
    bool ok = WriteAll(fd.get(), data, size, 0);
    Step(SaveStep::Written);
    ok = ok && ::fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    if (!ok)
        throw AppError(kWriteError);
    Step(SaveStep::Flushed);
    Step(SaveStep::Replaced);
}

// Removes the hidden names that saves killed before putting their file in
// place left in `folder`. Only this user's regular files are touched; a save
// running at the same moment whose name goes this way names its file again.
void RemoveLeftovers(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::size_t prefixLength = std::strlen(kHiddenPrefix);
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kHiddenPrefix, prefixLength) != 0)
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid())
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

std::string HiddenName(const std::string& folder)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::string name = folder + "/" + kHiddenPrefix;
    for (int i = 0; i < 6; ++i)
        name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

// Gives the new file the group and the extended attributes of the file it
// replaces; false when one of them cannot be given.
bool KeepAttributes(int fd, const std::string& oldPath, const struct stat& old)
{
    if (old.st_gid != ::getegid() && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
        return false;
    // After the owner change, which clears set-user and set-group bits.
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return false;
    const ssize_t listSize = ::listxattr(oldPath.c_str(), nullptr, 0);
    if (listSize < 0)
        return errno == ENOTSUP;
    std::vector<char> names(static_cast<std::size_t>(listSize) + 1, '\0');
    const ssize_t got = ::listxattr(oldPath.c_str(), names.data(), names.size());
    if (got < 0)
        return false;
    for (const char* name = names.data(); name < names.data() + got; name += std::strlen(name) + 1) {
        const ssize_t valueSize = ::getxattr(oldPath.c_str(), name, nullptr, 0);
        if (valueSize < 0)
            return false;
        std::vector<char> value(static_cast<std::size_t>(valueSize) + 1);
        const ssize_t valueGot = ::getxattr(oldPath.c_str(), name, value.data(), value.size());
        if (valueGot < 0 || ::fsetxattr(fd, name, value.data(), static_cast<std::size_t>(valueGot), 0) != 0)
            return false;
    }
    return true;
}

// Why the new-file route handed the save over to the rewrite in place.
struct UseInPlace {};

// Writes a new file beside `target` and puts it in place; throws UseInPlace
// where the old file has to be rewritten instead.
void ReplaceWithNewFile(const std::string& target, const std::string& shownName, const struct stat* old,
                        const std::uint8_t* data, std::size_t size)
{
    const std::string folder = FolderOf(target);
    RemoveLeftovers(folder);

    // An unnamed file first: killed before it is named, it leaves nothing.
    std::string named;
    FileDescriptor fd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (fd.get() < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        std::string templ = folder + "/" + kHiddenPrefix + "XXXXXX";
        fd.Reset(::mkostemp(templ.data(), O_CLOEXEC));
        if (fd.get() >= 0) {
            named = templ;
            const mode_t mask = ::umask(0);
            ::umask(mask);
            // The mode an unnamed file would have had; an old file's mode follows below.
            [[maybe_unused]] const int chmodResult = ::fchmod(fd.get(), 0666 & ~mask);
        }
    }
    if (fd.get() < 0) {
        if (old)
            throw UseInPlace{};
        throw AppError(CannotCreate(shownName));
    }
    const auto discard = [&] {
        fd.Close();
        if (!named.empty())
            ::unlink(named.c_str());
    };
    if (old && !KeepAttributes(fd.get(), target, *old)) {
        discard();
        throw UseInPlace{};
    }
    Step(SaveStep::Opened);
    bool ok = WithinSizeLimit(size) && WriteAll(fd.get(), data, size);
    Step(SaveStep::Written);
    ok = ok && ::fsync(fd.get()) == 0;
    if (!ok) {
        discard();
        throw AppError(kWriteError);
    }
    Step(SaveStep::Flushed);

    const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
    const auto link = [&](const std::string& name) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        // Without /proc the file can still be named through its descriptor (a privilege some processes have).
        if (errno == ENOENT && named.empty() && ::linkat(fd.get(), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)
            return 0;
        return errno;
    };
    // A new file takes its name in one step.
    if (!old && named.empty()) {
        const int error = link(target);
        if (error == 0) {
            fd.Close();
            Step(SaveStep::Replaced);
            return;
        }
        if (error != EEXIST) {
            discard();
            throw AppError(CannotCreate(shownName));
        }
    }
    // An old file is replaced through a hidden name, taken again should
    // another save remove it before the replacement.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string hidden = named;
        if (hidden.empty()) {
            hidden = HiddenName(folder);
            const int error = link(hidden);
            if (error == EEXIST)
                continue;
            if (error != 0)
                break;
        }
        Step(SaveStep::Named);
        if (::rename(hidden.c_str(), target.c_str()) == 0) {
            fd.Close();
            Step(SaveStep::Replaced);
            return;
        }
        const int error = errno;
        ::unlink(hidden.c_str());
        named.clear();
        if (error == ENOENT)
            continue;
        // A sticky folder may refuse the new name over a file this user can write.
        if (old && (error == EACCES || error == EPERM)) {
            fd.Close();
            throw UseInPlace{};
        }
        break;
    }
    discard();
    throw AppError(CannotCreate(shownName));
}

// The missing file a chain of links ends in, when `path` is such a link.
std::optional<std::string> MissingFileOfLink(const std::string& path)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0)
            return hops > 0 && errno == ENOENT ? std::optional<std::string>(current) : std::nullopt;
        if (!S_ISLNK(st.st_mode))
            return std::nullopt;
        std::vector<char> text(static_cast<std::size_t>(PATH_MAX) + 1);
        const ssize_t n = ::readlink(current.c_str(), text.data(), text.size() - 1);
        if (n <= 0)
            return std::nullopt;
        const std::string next(text.data(), static_cast<std::size_t>(n));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    return std::nullopt;
}

}  // namespace

std::string InPlaceRefusedMessage(const std::string& path)
{
    std::string text = "ファイル ";
    text += DirectionIsolated(path);
    return text +
           " はハードリンクや他のユーザーのファイルなどのため新しいファイルと置き換えられず、その場で書き換えると"
           "途中で止まったときに壊れたファイルが残るので書き込みません。別の名前で保存してください";
}

void SetSaveStepHook(SaveStepHook hook)
{
    theHook = hook;
}

void WriteFileSafely(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    if (path.empty())
        throw AppError(CannotCreate(path));

    // Write through a link to the file it names, so the link itself stays.
    std::string target = path;
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode))
            throw AppError(CannotCreate(path));
        if (!S_ISREG(st.st_mode)) {
            WriteToDevice(path, data, size);
            return;
        }
        // A read-only file stays as it is, even for a user whom the system
        // would let write it.
        if (::access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0)
            throw AppError(CannotCreate(path));
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
        // A new file put in its place would cut the other links and change
        // the owner: such a file is rewritten where it is.
        if (st.st_nlink > 1 || st.st_uid != ::geteuid()) {
            RewriteInPlace(target, path, data, size);
            return;
        }
    } else if (const auto missing = MissingFileOfLink(path)) {
        // A link to a file not there yet: that file is made as a new file
        // (whole or not at all), the link stays.
        target = *missing;
    } else if (struct stat link {}; ::lstat(path.c_str(), &link) == 0) {
        throw AppError(CannotCreate(path));   // a link that leads nowhere (a loop, a folder missing)
    }
    try {
        ReplaceWithNewFile(target, path, exists ? &st : nullptr, data, size);
    } catch (const UseInPlace&) {
        RewriteInPlace(target, path, data, size);
        return;
    }
    // Make the new name itself durable.
    FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}
