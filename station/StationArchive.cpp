#include "station/StationArchive.h"

#include "station/Cp1252.h"

#include <bit>
#include <limits>

void CStationArchive::Need(size_t bytes) const
{
    if (bytes > Remaining())
        throw CArchiveError("station file ends early");
}

uint8_t CStationArchive::ReadU8()
{
    Need(1);
    return m_in[m_pos++];
}

uint16_t CStationArchive::ReadU16()
{
    Need(2);
    const uint16_t v = static_cast<uint16_t>(m_in[m_pos] | (m_in[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

uint32_t CStationArchive::ReadU32()
{
    Need(4);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | m_in[m_pos + static_cast<size_t>(i)];
    m_pos += 4;
    return v;
}

uint64_t CStationArchive::ReadU64()
{
    Need(8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | m_in[m_pos + static_cast<size_t>(i)];
    m_pos += 8;
    return v;
}

void CStationArchive::WriteU16(uint16_t v)
{
    m_out.push_back(static_cast<uint8_t>(v));
    m_out.push_back(static_cast<uint8_t>(v >> 8));
}

void CStationArchive::WriteU32(uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        m_out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void CStationArchive::WriteU64(uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        m_out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void CStationArchive::Int32(int32_t& value)
{
    if (IsStoring())
        WriteU32(static_cast<uint32_t>(value));
    else
        value = static_cast<int32_t>(ReadU32());
}

void CStationArchive::UInt16(uint16_t& value)
{
    if (IsStoring())
        WriteU16(value);
    else
        value = ReadU16();
}

void CStationArchive::UInt8(uint8_t& value)
{
    if (IsStoring())
        WriteU8(value);
    else
        value = ReadU8();
}

void CStationArchive::Double(double& value)
{
    if (IsStoring())
        WriteU64(std::bit_cast<uint64_t>(value));
    else
        value = std::bit_cast<double>(ReadU64());
}

void CStationArchive::Date(CDateTime& value)
{
    Int32(value.m_status);
    Double(value.m_dt);
}

// Text lengths: one byte below 255; 0xFF then u16 up to 65533; 0xFF, 0xFFFF then u32
// beyond (and 0xFFFFFFFF then u64 for the very long). A u16 of 0xFFFE after the 0xFF byte
// announces 16-bit characters, whose own length follows.
uint64_t CStationArchive::ReadTextLength(bool& wide)
{
    const uint8_t b = ReadU8();
    if (b < 0xFF)
        return b;
    const uint16_t w = ReadU16();
    if (w == 0xFFFE) {
        if (wide)
            throw CArchiveError("station file holds a malformed text");
        wide = true;
        return ReadTextLength(wide);
    }
    if (w < 0xFFFF)
        return w;
    const uint32_t d = ReadU32();
    if (d < 0xFFFFFFFFu)
        return d;
    return ReadU64();
}

void CStationArchive::WriteTextLength(size_t length)
{
    if (length < 0xFF) {
        WriteU8(static_cast<uint8_t>(length));
        return;
    }
    WriteU8(0xFF);
    if (length < 0xFFFE) {
        WriteU16(static_cast<uint16_t>(length));
        return;
    }
    WriteU16(0xFFFF);
    if (length < 0xFFFFFFFFu) {
        WriteU32(static_cast<uint32_t>(length));
        return;
    }
    WriteU32(0xFFFFFFFFu);
    WriteU64(length);
}

void CStationArchive::Text(std::string& value)
{
    if (IsStoring()) {
        const std::string bytes = Utf8ToCp1252(value);
        WriteTextLength(bytes.size());
        m_out.insert(m_out.end(), bytes.begin(), bytes.end());
        return;
    }
    bool wide = false;
    const uint64_t length = ReadTextLength(wide);
    const uint64_t charSize = wide ? 2 : 1;
    if (length > Remaining() / charSize)
        throw CArchiveError("station file ends early");
    const size_t n = static_cast<size_t>(length);
    if (!wide) {
        std::string bytes(reinterpret_cast<const char*>(m_in.data() + m_pos), n);
        m_pos += n;
        value = Cp1252ToUtf8(bytes);
        return;
    }
    std::vector<uint16_t> units(n);
    for (auto& u : units)
        u = ReadU16();
    value = Cp1252ToUtf8(Utf16ToCp1252(units));
}

void CStationArchive::PlainCount(size_t& count, size_t minElementSize)
{
    if (IsStoring()) {
        if (count > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
            throw CArchiveError("too many elements to store");
        WriteU32(static_cast<uint32_t>(count));
        return;
    }
    const auto n = static_cast<int32_t>(ReadU32());
    if (n < 0 || (minElementSize > 0 && static_cast<size_t>(n) > Remaining() / minElementSize))
        throw CArchiveError("station file holds a count beyond its size");
    count = static_cast<size_t>(n);
}

void CStationArchive::WriteCount(size_t count)
{
    if (count < 0xFFFF) {
        WriteU16(static_cast<uint16_t>(count));
        return;
    }
    WriteU16(0xFFFF);
    WriteU32(static_cast<uint32_t>(count));
}

size_t CStationArchive::ReadCount(size_t minElementSize)
{
    size_t n = ReadU16();
    if (n == 0xFFFF)
        n = ReadU32();
    if (minElementSize > 0 && n > Remaining() / minElementSize)
        throw CArchiveError("station file holds a count beyond its size");
    return n;
}
