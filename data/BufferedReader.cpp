#include "data/BufferedReader.h"

bool CBufferedReader::Open(const std::string& path)
{
    Close();
    m_pFile = std::fopen(path.c_str(), "rb");
    if (!m_pFile)
        return false;
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

bool CBufferedReader::ReadWholeFile(const std::string& path, ByteBuffer& bytes, size_t& size)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long end = ok ? std::ftell(f) : -1;
    ok = ok && end >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        size = static_cast<size_t>(end);
        bytes = AllocateBytes(size);
        if (!bytes) {
            std::fclose(f);
            return false;
        }
        size_t got = 0;
        while (got < size) {
            const size_t n = std::fread(bytes.get() + got, 1, size - got, f);
            if (n == 0)
                break;
            got += n;
        }
        // A file that shrank while we read it is taken as far as it goes.
        size = got;
        ok = !std::ferror(f);
    }
    std::fclose(f);
    return ok;
}
