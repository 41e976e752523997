#include "station/FileReplace.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FreshTempName(const std::string& path)
{
    std::random_device random;
    return path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(random() & 0xFFFFFF);
}

bool WriteAll(int fd, std::span<const uint8_t> bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes, const std::string& tempPath)
{
    if (path.empty())
        return false;
    const bool fresh = tempPath.empty();
    const std::string temp = fresh ? FreshTempName(path) : tempPath;
    // A fresh name must not exist yet; a given one is opened as it is (it may be a device).
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (fresh ? O_EXCL : O_TRUNC);
    const int fd = open(temp.c_str(), flags, 0666);
    if (fd < 0)
        return false;

    // Only a regular file of our own may be removed after a failure, never whatever a
    // given temporary path happened to name.
    struct stat info {
    };
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    if (ok && regular) {
        // Keep the permissions the old file had.
        struct stat old {
        };
        if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
            fchmod(fd, old.st_mode & 07777);
    }
    if (close(fd) != 0)
        ok = false;
    if (!regular)
        ok = false; // never rename anything but a file of our own over the station file
    if (ok && rename(temp.c_str(), path.c_str()) != 0)
        ok = false;
    if (!ok) {
        if (regular)
            unlink(temp.c_str());
        return false;
    }

    // Make the rename itself durable; a failure here no longer risks the data.
    const int dir = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}
