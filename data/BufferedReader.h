#pragma once
// Reads a file in large blocks and hands it out byte by byte or as the bytes buffered so
// far, so that byte-wise consumers such as the framer cost no system call per byte.
#include "data/ByteBuffer.h"
#include "platform/RegularFile.h"
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CBufferedReader
{
  public:
    static constexpr size_t BLOCK_SIZE = 1 << 16;

    CBufferedReader() = default;
    ~CBufferedReader() { Close(); }
    CBufferedReader(const CBufferedReader&) = delete;
    CBufferedReader& operator=(const CBufferedReader&) = delete;

    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }

    // The bytes buffered and not yet taken, refilling when none are left; 0 at the end of
    // the file or on a read error.
    size_t Peek(const uint8_t*& data);
    void Skip(size_t count);
    // One byte; false at the end of the file.
    bool ReadByte(uint8_t& b);

    // The whole file in one allocation of exactly its size. False when it is not a regular
    // file, cannot be opened or read, or is larger than the memory of this machine; reason
    // (when given) then says why, in words for a message after the path.
    static bool ReadWholeFile(const std::string& path, ByteBuffer& bytes, size_t& size,
                              std::string* reason = nullptr);

  private:
    CRegularFile m_file;
    std::unique_ptr<uint8_t[]> m_block;
    size_t m_nPos = 0;
    size_t m_nEnd = 0;
};
