// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An open file descriptor that is closed when its holder goes: the file reads
// and the safe save use it so that no path through them leaks a descriptor.

#include <unistd.h>

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }

    // Holds `fd` instead, closing the one held before.
    void Reset(int fd)
    {
        Close();
        m_fd = fd;
    }

    // Closes now; returns whether close reported success (true when nothing was open).
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
