#include "data/BufferedReader.h"

bool CBufferedReader::Open(const std::string& path)
{
    Close();
    std::string reason;
    if (!m_file.Open(path, reason))
        return false;
    if (!m_block)
        m_block = std::make_unique<uint8_t[]>(BLOCK_SIZE);
    m_nPos = m_nEnd = 0;
    return true;
}

void CBufferedReader::Close()
{
    m_file.Close();
    m_nPos = m_nEnd = 0;
}

size_t CBufferedReader::Peek(const uint8_t*& data)
{
    if (m_nPos == m_nEnd && m_file.IsOpen()) {
        // A whole block where the file has it, as a buffered stream would fill it; a read
        // error ends the file.
        m_nPos = m_nEnd = 0;
        std::string reason;
        while (m_nEnd < BLOCK_SIZE) {
            const int64_t n = m_file.Read(m_block.get() + m_nEnd, BLOCK_SIZE - m_nEnd, reason);
            if (n <= 0)
                break;
            m_nEnd += static_cast<size_t>(n);
        }
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
        CRegularFile file;
        if (!file.Open(path, why))
            return false;
        uint64_t length = 0;
        if (!file.Size(length, why))
            return false;
        if (length > LargestFileInMemory()) {
            why = "is too large (" + std::to_string(length) + " bytes) for the memory of this computer";
            return false;
        }
        bytes = AllocateBytes(static_cast<size_t>(length));
        if (!bytes) {
            why = "is too large (" + std::to_string(length) + " bytes) for the memory available";
            return false;
        }
        size_t got = 0;
        while (got < length) {
            const int64_t n = file.Read(bytes.get() + got, static_cast<size_t>(length) - got, why);
            if (n < 0)
                return false;
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
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
