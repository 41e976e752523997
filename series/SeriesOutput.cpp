#include "series/SeriesOutput.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr size_t BUFFER_SIZE = 1 << 20;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

CSeriesOutput::CSeriesOutput() : m_buffer(BUFFER_SIZE), m_bMemory(true)
{
}

CSeriesOutput::CSeriesOutput(int fd) : m_buffer(BUFFER_SIZE), m_fd(fd)
{
}

CSeriesOutput::~CSeriesOutput()
{
    Abandon();
}

bool CSeriesOutput::OpenFile(const std::string& path, std::string& error)
{
    std::random_device random;
    m_strPath = path;
    for (int attempt = 0; attempt < 10 && m_fd < 0; ++attempt) {
        m_strTemp = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(random() & 0xFFFFFF);
        m_fd = open(m_strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        error = std::strerror(errno);
        m_strTemp.clear();
        return false;
    }
    m_bOwnFd = true;
    m_bMemory = false;
    return true;
}

void CSeriesOutput::WriteNumber(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    Write(text, static_cast<size_t>(result.ptr - text));
}

void CSeriesOutput::Fail(const std::string& what)
{
    if (m_bGood)
        m_strError = what;
    m_bGood = false;
}

void CSeriesOutput::Pass(const char* data, size_t size)
{
    if (m_bMemory) {
        m_strText.append(data, size);
        return;
    }
    while (size > 0 && m_bGood) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            Fail(n < 0 ? std::strerror(errno) : "nothing was written");
            return;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void CSeriesOutput::Flush()
{
    if (m_nUsed > 0)
        Pass(m_buffer.data(), m_nUsed);
    m_nUsed = 0;
}

bool CSeriesOutput::Commit()
{
    Flush();
    if (!m_bOwnFd)
        return m_bGood;
    if (m_bGood && fsync(m_fd) != 0)
        Fail(std::strerror(errno));
    if (close(m_fd) != 0)
        Fail(std::strerror(errno));
    m_fd = -1;
    m_bOwnFd = false;
    if (m_bGood) {
        // Keep the permissions of a file that is being replaced.
        struct stat old {
        };
        if (stat(m_strPath.c_str(), &old) == 0 && S_ISREG(old.st_mode))
            chmod(m_strTemp.c_str(), old.st_mode & 07777);
        if (rename(m_strTemp.c_str(), m_strPath.c_str()) != 0)
            Fail(std::strerror(errno));
    }
    if (!m_bGood) {
        unlink(m_strTemp.c_str());
    } else {
        const int dir = open(FolderOf(m_strPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            fsync(dir);
            close(dir);
        }
    }
    m_strTemp.clear();
    return m_bGood;
}

void CSeriesOutput::Abandon()
{
    if (!m_bOwnFd)
        return;
    close(m_fd);
    m_fd = -1;
    m_bOwnFd = false;
    unlink(m_strTemp.c_str());
    m_strTemp.clear();
}
