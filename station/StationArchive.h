#pragma once
// The byte stream of a station file. One object either stores (collects bytes) or loads
// (reads from a byte buffer), so each record has one Serialize routine that calls the same
// operations in the same order for both directions. Every value is little-endian with no
// padding; texts are stored in Windows-1252 and held as UTF-8 in memory.
//
// Loading never trusts the bytes: each read checks what is left first, and a count is
// checked against the bytes left before anything is allocated by it. Either failure throws
// CArchiveError, which abandons the whole load.
#include "data/DateTime.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A file that ends before its fields do, or holds a count its size cannot back.
class CArchiveError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

class CStationArchive
{
  public:
    // A storing archive that collects the bytes written.
    CStationArchive() = default;
    // A loading archive over bytes the caller keeps alive for the archive's lifetime.
    explicit CStationArchive(std::span<const uint8_t> bytes) : m_bLoading(true), m_in(bytes) {}

    bool IsStoring() const { return !m_bLoading; }
    bool IsLoading() const { return m_bLoading; }

    // Each of these writes the value when storing and reads it into the value when loading.
    void Int32(int32_t& value);
    void UInt16(uint16_t& value);
    void UInt8(uint8_t& value);
    void Double(double& value);
    void Date(CDateTime& value); // i32 status, then the f64 day count
    void Text(std::string& value);

    // A plain i32 element count of a record list. Loading checks that count x the
    // smallest size of one element fits in what is left; a negative count is damage too.
    void PlainCount(size_t& count, size_t minElementSize);
    // The compact count of a text list: u16, or 0xFFFF and then u32.
    void WriteCount(size_t count);
    size_t ReadCount(size_t minElementSize);

    const std::vector<uint8_t>& Bytes() const { return m_out; }
    size_t Remaining() const { return m_in.size() - m_pos; }

  private:
    void Need(size_t bytes) const;
    uint8_t ReadU8();
    uint16_t ReadU16();
    uint32_t ReadU32();
    uint64_t ReadU64();
    void WriteU8(uint8_t v) { m_out.push_back(v); }
    void WriteU16(uint16_t v);
    void WriteU32(uint32_t v);
    void WriteU64(uint64_t v);
    uint64_t ReadTextLength(bool& wide);
    void WriteTextLength(size_t length);

    bool m_bLoading = false;
    std::span<const uint8_t> m_in;
    size_t m_pos = 0;
    std::vector<uint8_t> m_out;
};
