#include "platform/FileWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

bool WriteAll(int fd, const void* data, size_t size, std::string& reason)
{
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            reason = n < 0 ? std::strerror(errno) : "nothing was written";
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool CAtomicFile::Create(const std::string& path, std::string& reason, const std::string& tempPath)
{
    Abandon();
    m_strPath = path;
    int fd = -1;
    if (!tempPath.empty()) {
        m_strTemp = tempPath;
        fd = open(m_strTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    }
    for (int attempt = 0; tempPath.empty() && attempt < 10 && fd < 0; ++attempt) {
        m_strTemp = FreshTempName(path);
        fd = open(m_strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        reason = std::strerror(errno);
        m_strTemp.clear();
        return false;
    }
    struct stat info {
    };
    m_bRegular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    m_handle = fd;
    return true;
}

bool CAtomicFile::Write(const void* data, size_t size, std::string& reason)
{
    return WriteAll(static_cast<int>(m_handle), data, size, reason);
}

bool CAtomicFile::Commit(std::string& reason)
{
    const int fd = static_cast<int>(m_handle);
    m_handle = CLOSED;
    bool ok = true;
    if (fsync(fd) != 0) {
        reason = std::strerror(errno);
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        reason = std::strerror(errno);
        ok = false;
    }
    if (ok && !m_bRegular) {
        reason = "is not a regular file";
        ok = false;
    }
    if (ok) {
        // Keep the permissions of a file that is being replaced.
        struct stat old {
        };
        if (stat(m_strPath.c_str(), &old) == 0 && S_ISREG(old.st_mode))
            chmod(m_strTemp.c_str(), old.st_mode & 07777);
        if (rename(m_strTemp.c_str(), m_strPath.c_str()) != 0) {
            reason = std::strerror(errno);
            ok = false;
        }
    }
    if (!ok) {
        if (m_bRegular)
            unlink(m_strTemp.c_str());
    } else {
        // Make the rename itself durable; a failure here no longer risks the data.
        const int dir = open(FolderOfPath(m_strPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            fsync(dir);
            close(dir);
        }
    }
    m_strTemp.clear();
    return ok;
}

void CAtomicFile::Abandon()
{
    if (m_handle == CLOSED)
        return;
    close(static_cast<int>(m_handle));
    m_handle = CLOSED;
    if (m_bRegular)
        unlink(m_strTemp.c_str());
    m_strTemp.clear();
}

bool WriteToDescriptor(int fd, const void* data, size_t size, std::string& reason)
{
    return WriteAll(fd, data, size, reason);
}
