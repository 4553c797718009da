#include "geardata/safefile.h"

#include "geardata/apperror.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string CannotCreate(const std::string& path) { return "ファイル " + path + " を作成できません"; }
const char* const kWriteError = "ストリームへの書き込みエラー";

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    bool Close()
    {
        if (m_fd < 0)
            return true;
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
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

// Writes straight into `path`, truncating what is there: a device or a pipe,
// or a file that has to stay the very same file (more names link to it,
// another user owns it, or its folder takes no new names). With `create` the
// file is made when missing, as for a link whose file does not exist yet.
void WriteInPlace(const std::string& path, const std::string& shownName, bool create, const std::uint8_t* data,
                  std::size_t size)
{
    const int flags = O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK | (create ? O_CREAT : 0);
    FileDescriptor fd(::open(path.c_str(), flags, 0666));
    if (fd.get() < 0)
        throw AppError(CannotCreate(shownName));
    bool ok = WriteAll(fd.get(), data, size);
    struct stat st {};
    if (ok && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode))
        ok = ::fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    if (!ok)
        throw AppError(kWriteError);
}

}  // namespace

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
            WriteInPlace(path, path, false, data, size);
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
            WriteInPlace(target, path, false, data, size);
            return;
        }
    } else {
        struct stat link {};
        if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            // A link to a file not there yet: make that file, keep the link.
            WriteInPlace(path, path, true, data, size);
            return;
        }
    }

    std::string temp = FolderOf(target) + "/.tsumugi-save-XXXXXX";
    std::vector<char> templ(temp.begin(), temp.end());
    templ.push_back('\0');
    FileDescriptor fd(::mkostemp(templ.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        // A folder that takes no new names may still hold a writable file.
        if (exists) {
            WriteInPlace(target, path, false, data, size);
            return;
        }
        throw AppError(CannotCreate(path));
    }
    temp.assign(templ.data());

    const mode_t mode = exists ? (st.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    // A mode that cannot be kept is no reason to refuse the save.
    [[maybe_unused]] const int chmodResult = ::fchmod(fd.get(), mode);
    bool ok = WriteAll(fd.get(), data, size) && ::fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    if (!ok) {
        ::unlink(temp.c_str());
        throw AppError(kWriteError);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temp.c_str());
        // A sticky folder may refuse the new name over a file we can write.
        if (exists && (renameError == EACCES || renameError == EPERM)) {
            WriteInPlace(target, path, false, data, size);
            return;
        }
        throw AppError(CannotCreate(path));
    }
    // Make the new name itself durable.
    FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}
