#pragma once
// A light handle on one entry of an ensemble list: the same questions as CEnsemble asks
// of its record (values by data type, type, validity, bytes), answered from the list's
// compact record without building an object per ensemble.
#include "data/EnsembleRecord.h"

#include <cstddef>
#include <cstdio>
#include <string>

class CEnsembleRef
{
  public:
    explicit CEnsembleRef(const SEnsembleRecord& rec) : m_pRec(&rec) {}

    double GetValue(DataType dataType, int beam = 0, int bin = 0) const;
    std::string GetLabel() const { return {}; }
    EnsembleType GetType() const { return static_cast<EnsembleType>(m_pRec->m_nType); }
    bool IsSeparator() const { return m_pRec->m_nType == ENSEMBLE_SEPARATOR; }
    bool IsValid() const;
    // Writes the bytes unchanged and flushes; false on a write error. A separator writes nothing.
    bool WriteTo(std::FILE* file) const;

    double GetTime() const { return GetValue(DATATYPE_DATETIME); }
    double GetNumber() const { return GetValue(DATATYPE_NUMBER); }
    const uint8_t* GetBytes() const { return m_pRec->m_pBytes; }
    size_t GetSize() const { return m_pRec->m_nSize; }
    const SEnsembleRecord& GetRecord() const { return *m_pRec; }

  private:
    const SEnsembleRecord* m_pRec;
};

// The shared answers behind CEnsembleRef and the ensemble classes.
double RecordValue(const SEnsembleRecord& rec, DataType dataType, int beam, int bin);
bool RecordIsValid(const SEnsembleRecord& rec);
bool WriteRecordBytes(const SEnsembleRecord& rec, std::FILE* file);
