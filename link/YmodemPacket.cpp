#include "link/YmodemPacket.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ymodem
{
namespace
{

constexpr std::array<uint16_t, 256> MakeCrcTable()
{
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) : (crc << 1);
        table[i] = static_cast<uint16_t>(crc & 0xFFFF);
    }
    return table;
}

constexpr std::array<uint16_t, 256> CRC_TABLE = MakeCrcTable();
static_assert(CRC_TABLE[1] == 0x1021 && CRC_TABLE[255] == 0x1EF0);

} // namespace

uint16_t Crc16Update(uint16_t crc, uint8_t byte)
{
    return static_cast<uint16_t>(((crc << 8) & 0xFFFF) ^ CRC_TABLE[crc >> 8] ^ byte);
}

uint16_t Crc16(const uint8_t* data, size_t length)
{
    // The update above folds each byte in at the bottom, which is the "augmented" form: to get
    // the CRC of a message it must be followed by two zero bytes.
    uint16_t crc = 0;
    for (size_t i = 0; i < length; ++i)
        crc = Crc16Update(crc, data[i]);
    crc = Crc16Update(crc, 0);
    return Crc16Update(crc, 0);
}

} // namespace ymodem

void CYmodemPacket::Reset()
{
    std::memset(m_buffer, 0, sizeof m_buffer);
    m_bComplete = 0;
    m_nCount = 0;
}

size_t CYmodemPacket::DataLength() const
{
    if (m_nCount == 0)
        return 0;
    switch (m_buffer[0]) {
    case ymodem::SOH:
        return 128;
    case ymodem::STX:
        return 1024;
    default:
        return 0;
    }
}

void CYmodemPacket::AddByte(uint8_t b)
{
    if (m_nCount == 0) {
        if (b == ymodem::SOH || b == ymodem::STX || b == ymodem::EOT) {
            m_buffer[0] = b;
            m_nCount = 1;
            if (b == ymodem::EOT)
                m_bComplete = 1;
        }
        return; // anything else in front of a header is noise
    }
    if (m_bComplete)
        return;
    if (m_nCount == 1) {
        m_buffer[1] = b;
        m_nCount = 2;
    } else if (m_nCount == 2) {
        m_buffer[2] = b;
        m_nCount = 3;
        if (m_buffer[1] + m_buffer[2] != 255) {
            // Not a block after all: the header byte was noise or the number is garbled. The
            // two bytes taken as number and complement may be the start of the real block
            // (a stray 0x02 just in front of it), so they are looked at again.
            const uint8_t number = m_buffer[1];
            const uint8_t complement = m_buffer[2];
            Reset();
            AddByte(number);
            AddByte(complement);
            return;
        }
    } else {
        const size_t n = DataLength();
        if (n != 0 && m_nCount < n + 5)
            m_buffer[m_nCount++] = b;
    }
    if (m_nCount == DataLength() + 5)
        m_bComplete = 1;
}

bool CYmodemPacket::IsValid() const
{
    if (IsEndOfFile())
        return true;
    const size_t n = DataLength();
    if (n == 0 || !m_bComplete)
        return false;
    uint16_t crc = 0;
    for (size_t i = 3; i < 3 + n + 2; ++i)
        crc = ymodem::Crc16Update(crc, m_buffer[i]);
    return crc == 0;
}

bool CYmodemPacket::FileName(std::string& name) const
{
    name.clear();
    if (DataLength() != 128)
        return false;
    for (size_t i = 3; i < 128; ++i) {
        if (m_buffer[i] == 0)
            return true;
        name.push_back(static_cast<char>(m_buffer[i]));
    }
    name.clear();
    return false;
}

bool CYmodemPacket::FileSize(long long& size) const
{
    size = 0;
    if (DataLength() != 128)
        return false;
    size_t i = 3;
    while (i < 128 && m_buffer[i] != 0)
        ++i;
    if (i >= 128)
        return false;
    ++i; // the name's terminator
    std::string digits;
    for (;; ++i) {
        if (i >= 128)
            return false;
        if (m_buffer[i] == ' ' || m_buffer[i] == 0)
            break;
        digits.push_back(static_cast<char>(m_buffer[i]));
    }
    // Leading decimal digits only, as the instrument writes the size; none gives 0. The value is
    // capped well above any recorder card so that a garbled field cannot overflow.
    for (char c : digits) {
        if (c < '0' || c > '9')
            break;
        if (size < 1000000000000LL)
            size = size * 10 + (c - '0');
    }
    return true;
}

bool CYmodemPacket::HasFileSize() const
{
    if (DataLength() != 128)
        return false;
    size_t i = 3;
    while (i < 128 && m_buffer[i] != 0)
        ++i;
    return i + 1 < 128 && m_buffer[i + 1] >= '0' && m_buffer[i + 1] <= '9';
}

bool CYmodemPacket::WriteData(std::ostream& file) const
{
    return WriteData(file, DataLength());
}

bool CYmodemPacket::WriteData(std::ostream& file, size_t maxBytes) const
{
    const size_t n = std::min(DataLength(), maxBytes);
    file.write(reinterpret_cast<const char*>(m_buffer + 3), static_cast<std::streamsize>(n));
    file.flush();
    return static_cast<bool>(file);
}

std::string CYmodemPacket::Frame(uint8_t number, const std::string& data, size_t blockSize, char pad)
{
    std::string block = data.substr(0, blockSize);
    block.resize(blockSize, pad);
    std::string frame;
    frame.reserve(blockSize + 5);
    frame.push_back(static_cast<char>(blockSize == 1024 ? ymodem::STX : ymodem::SOH));
    frame.push_back(static_cast<char>(number));
    frame.push_back(static_cast<char>(255 - number));
    frame += block;
    const uint16_t crc = ymodem::Crc16(reinterpret_cast<const uint8_t*>(block.data()), block.size());
    frame.push_back(static_cast<char>(crc >> 8));
    frame.push_back(static_cast<char>(crc & 0xFF));
    return frame;
}

std::string CYmodemPacket::HeaderFrame(const std::string& name, long long size)
{
    std::string fields = name;
    fields.push_back('\0');
    fields += std::to_string(size);
    return Frame(0, fields, fields.size() < 125 ? 128 : 1024, 0);
}
