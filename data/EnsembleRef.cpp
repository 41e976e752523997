#include "data/EnsembleRef.h"

#include "data/Pd0Format.h"
#include "data/Pd14Format.h"

double RecordValue(const SEnsembleRecord& rec, int dataType, int beam, int bin)
{
    switch (rec.m_nType) {
    case ENSEMBLE_PD0:
        return CPd0Format::GetValue(rec, dataType, beam, bin);
    case ENSEMBLE_PD14:
        return CPd14Format::GetValue(rec, dataType, beam, bin);
    default:
        return NODATA;
    }
}

bool RecordIsValid(const SEnsembleRecord& rec)
{
    switch (rec.m_nType) {
    case ENSEMBLE_PD0:
        return CPd0Format::IsValid(rec.m_pBytes, rec.m_nSize);
    case ENSEMBLE_PD14:
        return CPd14Format::IsValid(rec);
    default:
        return false;
    }
}

bool WriteRecordBytes(const SEnsembleRecord& rec, std::FILE* file)
{
    if (!rec.m_pBytes || rec.m_nSize == 0 || !file)
        return true;
    return std::fwrite(rec.m_pBytes, 1, rec.m_nSize, file) == rec.m_nSize && std::fflush(file) == 0;
}

double CEnsembleRef::GetValue(int dataType, int beam, int bin) const
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
