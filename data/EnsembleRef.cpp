#include "data/EnsembleRef.h"

#include "data/EnsembleFormat.h"

double RecordValue(const SEnsembleRecord& rec, DataType dataType, int beam, int bin)
{
    double derived;
    if (rec.GetDerived(dataType, derived))
        return derived;
    const SEnsembleFormat* format = EnsembleFormatOf(rec.m_nType);
    return format ? format->GetValue(rec, dataType, beam, bin) : NODATA;
}

bool RecordIsValid(const SEnsembleRecord& rec)
{
    const SEnsembleFormat* format = EnsembleFormatOf(rec.m_nType);
    return format && format->IsValid(rec);
}

bool WriteRecordBytes(const SEnsembleRecord& rec, std::FILE* file)
{
    if (!rec.m_pBytes || rec.m_nSize == 0 || !file)
        return true;
    return std::fwrite(rec.m_pBytes, 1, rec.m_nSize, file) == rec.m_nSize && std::fflush(file) == 0;
}

double CEnsembleRef::GetValue(DataType dataType, int beam, int bin) const
{
    return RecordValue(*m_pRec, dataType, beam, bin);
}

bool CEnsembleRef::IsValid() const
{
    return RecordIsValid(*m_pRec);
}

bool CEnsembleRef::WriteTo(std::FILE* file) const
{
    return WriteRecordBytes(*m_pRec, file);
}
