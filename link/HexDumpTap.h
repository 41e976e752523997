#pragma once
// A trace of the serial line for support: every chunk of bytes as a timestamped hex dump,
// and the line events between them.
//
//   2026-12-08T10:00:00.000 --  break 250 ms
//   2026-12-08T10:00:00.250 >      4  50 53 30 0a                                      |PS0.|
//   2026-12-08T10:00:00.262 <     23  50 53 30 0d 0a 46 69 72 6d 77 61 72 65 3a 20 35  |PS0..Firmware: 5|
//                                     31 2e 34 30 0d 0a 3e                             |1.40..>|
//
// Local time to the millisecond; "<" from the instrument, ">" to it; the byte count; 16
// bytes a line with their printable characters ("." for the rest).
#include "link/SerialTap.h"

#include <cstdio>
#include <mutex>
#include <string>

class CHexDumpTap : public ISerialTap
{
  public:
    // Writes to the file at path, replacing what it held; IsOpen tells whether it could.
    explicit CHexDumpTap(const std::string& path);
    ~CHexDumpTap() override;
    CHexDumpTap(const CHexDumpTap&) = delete;
    CHexDumpTap& operator=(const CHexDumpTap&) = delete;

    bool IsOpen() const { return m_pFile != nullptr; }

    void OnBytes(ETapDirection direction, const uint8_t* data, size_t size, const CDateTime& time) override;
    void OnEvent(ETapEvent event, int value, const CDateTime& time) override;

    // "2026-12-08T10:00:01.250"
    static std::string FormatTime(const CDateTime& time);
    static std::string FormatChunk(ETapDirection direction, const uint8_t* data, size_t size,
                                   const CDateTime& time);

  private:
    void Put(const std::string& text);

    std::FILE* m_pFile = nullptr;
    std::mutex m_mutex; // one trace may watch ports on several threads
};
