#pragma once
// One recorded ensemble with its own copy of the bytes. The base class is the empty record
// used as a separator: no bytes, every value no data, type 1, never valid.
#include "data/EnsembleRecord.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class CEnsemble
{
  public:
    CEnsemble() = default;
    virtual ~CEnsemble() = default;
    CEnsemble(const CEnsemble&) = delete;
    CEnsemble& operator=(const CEnsemble&) = delete;

    virtual double GetValue(int dataType, int beam, int bin) const;
    virtual std::string GetLabel() const { return {}; }
    virtual int GetType() const { return ENSEMBLE_SEPARATOR; }
    virtual bool IsValid() const { return false; }
    // Writes the stored bytes unchanged and flushes; nothing without bytes. False on a
    // write error.
    virtual bool WriteTo(std::FILE* file) const;

    const uint8_t* GetBytes() const { return m_bytes.data(); }
    size_t GetSize() const { return m_bytes.size(); }
    // Little-endian reads at an offset; 0 when the value does not lie inside the bytes.
    uint16_t ReadU16(size_t offset) const;
    int32_t ReadS32(size_t offset) const;

    double GetTime() const { return GetValue(2, 0, 0); }
    double GetNumber() const { return GetValue(1, 0, 0); }
    const SEnsembleRecord& GetRecord() const { return m_rec; }

  protected:
    // Takes a copy of the bytes and points the record at it.
    void SetBytes(const uint8_t* bytes, size_t size);

    std::vector<uint8_t> m_bytes;
    SEnsembleRecord m_rec;
};
