#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string KindProblem(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return "is a folder, not a file";
    if (S_ISFIFO(mode))
        return "is a named pipe, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device, not a regular file";
    if (S_ISSOCK(mode))
        return "is a socket, not a regular file";
    return "is not a regular file";
}

} // namespace

std::string RegularFileProblem(const std::string& path)
{
    struct stat info {
    };
    if (stat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    return KindProblem(info.st_mode);
}

bool CRegularFile::Open(const std::string& path, std::string& reason)
{
    Close();
    reason = RegularFileProblem(path);
    if (!reason.empty())
        return false;
    // Non-blocking, so that a pipe put in the file's place after the check cannot hang the
    // open; the kind is checked again on what was opened.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    struct stat info {
    };
    if (fstat(fd, &info) != 0) {
        reason = std::strerror(errno);
        close(fd);
        return false;
    }
    reason = KindProblem(info.st_mode);
    if (!reason.empty()) {
        close(fd);
        return false;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    m_handle = fd;
    return true;
}

void CRegularFile::Close()
{
    if (m_handle != CLOSED)
        close(static_cast<int>(m_handle));
    m_handle = CLOSED;
}

bool CRegularFile::Size(uint64_t& size, std::string& reason) const
{
    struct stat info {
    };
    if (fstat(static_cast<int>(m_handle), &info) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    size = static_cast<uint64_t>(info.st_size);
    return true;
}

int64_t CRegularFile::Read(void* buffer, size_t size, std::string& reason)
{
    while (true) {
        const ssize_t n = read(static_cast<int>(m_handle), buffer, size);
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            reason = std::strerror(errno);
            return -1;
        }
    }
}

uint64_t LargestFileInMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return uint64_t{1} << 32;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}
