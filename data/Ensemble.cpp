#include "data/Ensemble.h"

#include "data/ByteOrder.h"
#include "data/EnsembleRef.h"

double CEnsemble::GetValue(int, int, int) const
{
    return NODATA;
}

bool CEnsemble::WriteTo(std::FILE* file) const
{
    return WriteRecordBytes(m_rec, file);
}

uint16_t CEnsemble::ReadU16(size_t offset) const
{
    return offset + 2 <= m_bytes.size() ? ReadLeU16(m_bytes.data() + offset) : 0;
}

int32_t CEnsemble::ReadS32(size_t offset) const
{
    return offset + 4 <= m_bytes.size() ? ReadLeS32(m_bytes.data() + offset) : 0;
}

void CEnsemble::SetBytes(const uint8_t* bytes, size_t size)
{
    // The framer never gives more than 6000 bytes; a longer copy would not fit the record.
    if (size > 0xFFFF)
        size = 0xFFFF;
    m_bytes.assign(bytes, bytes + size);
    m_rec.m_pBytes = m_bytes.data();
    m_rec.m_nSize = static_cast<uint16_t>(size);
}
