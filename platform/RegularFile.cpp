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

int OpenRegularFileForReading(const std::string& path, std::string& reason)
{
    reason = RegularFileProblem(path);
    if (!reason.empty())
        return -1;
    // Non-blocking, so that a pipe put in the file's place after the check cannot hang the
    // open; the kind is checked again on what was opened.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat info {
    };
    if (fstat(fd, &info) != 0) {
        reason = std::strerror(errno);
        close(fd);
        return -1;
    }
    reason = KindProblem(info.st_mode);
    if (!reason.empty()) {
        close(fd);
        return -1;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

uint64_t LargestFileInMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return uint64_t{1} << 32;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

bool ReadRegularFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason,
                     uint64_t maxBytes)
{
    bytes.clear();
    const int fd = OpenRegularFileForReading(path, reason);
    if (fd < 0)
        return false;
    if (maxBytes == 0)
        maxBytes = LargestFileInMemory();
    struct stat info {
    };
    bool ok = fstat(fd, &info) == 0;
    if (!ok)
        reason = std::strerror(errno);
    if (ok && static_cast<uint64_t>(info.st_size) > maxBytes) {
        reason = "is too large (" + std::to_string(info.st_size) + " bytes) to be read into memory";
        ok = false;
    }
    if (ok)
        bytes.reserve(static_cast<size_t>(info.st_size));
    uint8_t buffer[65536];
    while (ok) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            reason = std::strerror(errno);
            ok = false;
        }
        if (n <= 0)
            break;
        if (bytes.size() + static_cast<size_t>(n) > maxBytes) {
            reason = "is too large to be read into memory";
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}
