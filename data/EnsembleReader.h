#pragma once
// The framer: cuts ensembles out of a byte stream, one byte at a time.
//
//   7F 7F Ll Lh ......... Cl Ch     PD0:  total = L + 2 (counted bytes, then a checksum)
//   8F 8F Ll Lh .........           PD14: total = L
//
// L is a signed 16-bit length; a total outside 6..6000 is noise. Any byte that does not fit
// the header resets the framer and is dropped (it is not looked at again as a start).
#include <cstddef>
#include <cstdint>
#include <vector>

class CBufferedReader;

class CEnsembleReader
{
  public:
    static constexpr uint8_t ID_PD0 = 0x7F;
    static constexpr uint8_t ID_PD14 = 0x8F;
    static constexpr int MIN_TOTAL = 6;
    static constexpr int MAX_TOTAL = 6000;

    // Frees the buffer and sets the count and the expected total to 0.
    void Reset();
    void AddByte(uint8_t b);
    bool HasEnsemble() const { return m_nCount >= 5 && m_nCount == m_nTotal; }
    int GetSize() const { return m_nTotal; }
    uint8_t GetByte(int i) const;
    // The framed bytes (GetSize() of them) once HasEnsemble() is true.
    const uint8_t* GetBytes() const { return m_buffer.data(); }

    // Resets, then feeds bytes from the reader until an ensemble is complete; false when
    // the input ends first (a partial ensemble at the end is dropped).
    bool ReadNext(CBufferedReader& file);

    // Feeds bytes from memory exactly as AddByte would, one after another, and stops right
    // after the byte that completes an ensemble. Returns how many bytes were taken. When an
    // ensemble completes, *start (if given) is the index in data of its first byte, or
    // npos when its header arrived in an earlier call. Bytes of the body are not copied
    // when keepBytes is false; the caller then reads them from data.
    static constexpr size_t npos = static_cast<size_t>(-1);
    size_t Feed(const uint8_t* data, size_t size, size_t* start = nullptr, bool keepBytes = true);

  private:
    int HeaderTotal() const;

    int m_nCount = 0;
    int m_nTotal = 0;
    uint8_t m_header[4] = {};
    std::vector<uint8_t> m_buffer;
};
