#include "data/Ensemble.h"

#include "data/ByteOrder.h"
#include "data/EnsembleFormat.h"
#include "data/EnsembleRef.h"
#include "data/FlowChain.h"

CEnsemble::CEnsemble(const SEnsembleFormat& format, const CFlowSettings& settings, const uint8_t* bytes,
                     size_t size)
{
    // The framer never gives more than 6000 bytes; a longer copy would not fit the record.
    if (size > 0xFFFF)
        size = 0xFFFF;
    m_bytes.assign(bytes, bytes + size);
    m_rec.m_pBytes = m_bytes.data();
    m_rec.m_nSize = static_cast<uint16_t>(size);
    format.Decode(m_rec);
    ComputeDerived(m_rec, &format, settings);
}

double CEnsemble::GetValue(DataType dataType, int beam, int bin) const
{
    return RecordValue(m_rec, dataType, beam, bin);
}

bool CEnsemble::IsValid() const
{
    return RecordIsValid(m_rec);
}

bool CEnsemble::WriteTo(std::FILE* file) const
{
    return WriteRecordBytes(m_rec, file);
}

void CEnsemble::Recompute(const CFlowSettings& settings)
{
    ComputeDerived(m_rec, settings);
}

uint16_t CEnsemble::ReadU16(size_t offset) const
{
    return offset + 2 <= m_bytes.size() ? ReadLeU16(m_bytes.data() + offset) : 0;
}

int32_t CEnsemble::ReadS32(size_t offset) const
{
    return offset + 4 <= m_bytes.size() ? ReadLeS32(m_bytes.data() + offset) : 0;
}
