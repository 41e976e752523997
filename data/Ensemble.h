#pragma once
// One recorded ensemble with its own copy of the bytes, decoded in its format and computed
// with the settings in force. Built without bytes it is the empty record used as a
// separator: every value no data, type 1, never valid.
#include "data/EnsembleRecord.h"
#include "data/FlowSettings.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

struct SEnsembleFormat;

class CEnsemble
{
  public:
    CEnsemble() = default;
    // Copies the framed bytes, decodes them as the given format and computes the derived
    // values with the given (the station's own) settings.
    CEnsemble(const SEnsembleFormat& format, const CFlowSettings& settings, const uint8_t* bytes,
              size_t size);
    virtual ~CEnsemble() = default;
    CEnsemble(const CEnsemble&) = delete;
    CEnsemble& operator=(const CEnsemble&) = delete;

    double GetValue(DataType dataType, int beam, int bin) const;
    std::string GetLabel() const { return {}; }
    EnsembleType GetType() const { return static_cast<EnsembleType>(m_rec.m_nType); }
    bool IsValid() const;
    // Writes the stored bytes unchanged and flushes; nothing without bytes. False on a
    // write error.
    bool WriteTo(std::FILE* file) const;

    // Computes the derived values again, with a calculation set's settings.
    void Recompute(const CFlowSettings& settings);

    const uint8_t* GetBytes() const { return m_bytes.data(); }
    size_t GetSize() const { return m_bytes.size(); }
    // Little-endian reads at an offset; 0 when the value does not lie inside the bytes.
    uint16_t ReadU16(size_t offset) const;
    int32_t ReadS32(size_t offset) const;

    double GetTime() const { return GetValue(DATATYPE_DATETIME, 0, 0); }
    double GetNumber() const { return GetValue(DATATYPE_NUMBER, 0, 0); }
    int GetSign() const { return m_rec.GetSign(); }
    const SEnsembleRecord& GetRecord() const { return m_rec; }

  private:
    std::vector<uint8_t> m_bytes;
    SEnsembleRecord m_rec;
};
