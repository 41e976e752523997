#include "station/FileReplace.h"

#include "platform/FileWrite.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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
    return CAtomicFile::FreshTempName(path);
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

// The new contents in a file without a name until they are complete, where the file system
// offers that; -1 otherwise.
int OpenNamelessFile(const std::string& path)
{
#ifdef O_TMPFILE
    return open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
    (void)path;
    return -1;
#endif
}

// Gives the complete nameless file a fresh temporary name beside path, ready for the rename.
bool NameNamelessFile(int fd, const std::string& temp)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
#ifdef AT_EMPTY_PATH
    return linkat(fd, "", AT_FDCWD, temp.c_str(), AT_EMPTY_PATH) == 0;
#else
    return false;
#endif
}

void KeepOldPermissions(int fd, const std::string& path)
{
    struct stat old {
    };
    if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        fchmod(fd, old.st_mode & 07777);
}

void SyncFolderOf(const std::string& path)
{
    const int dir = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

// The nameless road: false when it cannot be taken (the caller then uses a named file),
// ok tells whether the replacement succeeded.
bool ReplaceThroughNamelessFile(const std::string& path, std::span<const uint8_t> bytes, bool& ok)
{
    const int fd = OpenNamelessFile(path);
    if (fd < 0)
        return false;
    ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    if (ok)
        KeepOldPermissions(fd, path);
    if (!ok) {
        close(fd); // the file had no name: nothing is left behind
        return true;
    }
    // The name exists only for the instant before the rename; a save killed in that instant
    // leaves a file that the next save of this station removes.
    const std::string temp = FreshTempName(path);
    if (!NameNamelessFile(fd, temp)) {
        close(fd);
        return false; // e.g. no /proc: write the named way instead
    }
    if (close(fd) != 0 || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        ok = false;
        return true;
    }
    SyncFolderOf(path);
    return true;
}

} // namespace

bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes, const std::string& tempPath)
{
    if (path.empty())
        return false;
    const bool fresh = tempPath.empty();
    if (fresh) {
        RemoveStaleTempFiles(path);
        bool ok = false;
        if (ReplaceThroughNamelessFile(path, bytes, ok))
            return ok;
    }
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
    if (ok && regular)
        KeepOldPermissions(fd, path); // keep the permissions the old file had
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
    SyncFolderOf(path);
    return true;
}
