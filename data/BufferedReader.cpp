#include "data/BufferedReader.h"

#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool CBufferedReader::Open(const std::string& path)
{
    Close();
    std::string reason;
    const int fd = OpenRegularFileForReading(path, reason);
    if (fd < 0)
        return false;
    m_pFile = fdopen(fd, "rb");
    if (!m_pFile) {
        close(fd);
        return false;
    }
    if (!m_block)
        m_block = std::make_unique<uint8_t[]>(BLOCK_SIZE);
    m_nPos = m_nEnd = 0;
    return true;
}

void CBufferedReader::Close()
{
    if (m_pFile)
        std::fclose(m_pFile);
    m_pFile = nullptr;
    m_nPos = m_nEnd = 0;
}

size_t CBufferedReader::Peek(const uint8_t*& data)
{
    if (m_nPos == m_nEnd && m_pFile) {
        m_nPos = 0;
        m_nEnd = std::fread(m_block.get(), 1, BLOCK_SIZE, m_pFile);
    }
    data = m_block ? m_block.get() + m_nPos : nullptr;
    return m_nEnd - m_nPos;
}

void CBufferedReader::Skip(size_t count)
{
    m_nPos += count < m_nEnd - m_nPos ? count : m_nEnd - m_nPos;
}

bool CBufferedReader::ReadByte(uint8_t& b)
{
    const uint8_t* data = nullptr;
    if (Peek(data) == 0)
        return false;
    b = *data;
    ++m_nPos;
    return true;
}

bool CBufferedReader::ReadWholeFile(const std::string& path, ByteBuffer& bytes, size_t& size,
                                    std::string* reason)
{
    std::string why;
    const bool ok = [&] {
        const int fd = OpenRegularFileForReading(path, why);
        if (fd < 0)
            return false;
        struct stat info {
        };
        if (fstat(fd, &info) != 0) {
            why = std::strerror(errno);
            close(fd);
            return false;
        }
        const auto length = static_cast<uint64_t>(info.st_size);
        if (length > LargestFileInMemory()) {
            why = "is too large (" + std::to_string(length) + " bytes) for the memory of this computer";
            close(fd);
            return false;
        }
        bytes = AllocateBytes(static_cast<size_t>(length));
        if (!bytes) {
            why = "is too large (" + std::to_string(length) + " bytes) for the memory available";
            close(fd);
            return false;
        }
        size_t got = 0;
        while (got < length) {
            const ssize_t n = read(fd, bytes.get() + got, static_cast<size_t>(length) - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                why = std::strerror(errno);
                close(fd);
                return false;
            }
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
        close(fd);
        // A file that shrank while we read it is taken as far as it goes.
        size = got;
        return true;
    }();
    if (!ok)
        bytes.reset();
    if (reason)
        *reason = why;
    return ok;
}
