#pragma once
// One block of a batch file transfer as the receiver assembles it, fed one byte at a time.
//
//   SOH nn ~nn <128 data> crcH crcL     block of 128 bytes (always the case for block 0)
//   STX nn ~nn <1024 data> crcH crcL    block of 1024 bytes
//   EOT                                 end of the file, a block by itself
//
// The assembler falls back to waiting for a header on anything that cannot start a block and
// drops a block whose number and complement disagree (looking at those two bytes again as a
// possible header), so line noise between blocks is skipped.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

namespace ymodem
{
inline constexpr uint8_t SOH = 0x01;
inline constexpr uint8_t STX = 0x02;
inline constexpr uint8_t EOT = 0x04;
inline constexpr uint8_t ACK = 0x06;
inline constexpr uint8_t NAK = 0x15;
inline constexpr uint8_t CAN = 0x18;
inline constexpr uint8_t CRC_REQUEST = 0x43; // "C"

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, no reflection, no final XOR.
uint16_t Crc16Update(uint16_t crc, uint8_t byte);
uint16_t Crc16(const uint8_t* data, size_t length);
} // namespace ymodem

class CYmodemPacket
{
  public:
    static constexpr size_t BUFFER_SIZE = 1029; // header, number, complement, 1024 data, CRC

    CYmodemPacket() { Reset(); }
    virtual ~CYmodemPacket() = default;

    void Reset();
    void AddByte(uint8_t b);

    bool IsFinished() const { return m_bComplete != 0; }
    // A header byte has been taken: what follows is read as a block, not skipped as noise.
    bool HasHeader() const { return m_nCount >= 1; }
    bool IsEndOfFile() const { return m_nCount >= 1 && m_buffer[0] == ymodem::EOT; }
    uint8_t BlockNumber() const { return m_buffer[1]; }
    // 128 for SOH, 1024 for STX, 0 for anything else (EOT included).
    size_t DataLength() const;
    const uint8_t* Data() const { return m_buffer + 3; }

    // True for an end-of-file block, or when the CRC over the data and the transmitted CRC is 0.
    bool IsValid() const;

    // Block 0 carries "name\0size ..." in a 128-byte block; both fail on any other block size
    // or when the fields are not terminated where they must be.
    bool FileName(std::string& name) const;
    bool FileSize(long long& size) const;
    // Whether block 0 gives a size at all: a sender may send the name alone, and then a
    // FileSize of 0 means "unknown", not "empty".
    bool HasFileSize() const;

    // Appends all data bytes (the padding of the last block included) and flushes.
    bool WriteData(std::ostream& file) const;
    // The same, at most maxBytes of them: what is left of an announced size.
    bool WriteData(std::ostream& file, size_t maxBytes) const;

    // The sender's side: one whole block of blockSize (128 or 1024) bytes carrying data, the
    // rest filled with pad, followed by its CRC high byte first.
    static std::string Frame(uint8_t number, const std::string& data, size_t blockSize, char pad = 0x1A);
    // Block 0 of a file: "name\0size" in 128 bytes (1024 when the name does not fit).
    static std::string HeaderFrame(const std::string& name, long long size);

  private:
    uint8_t m_buffer[BUFFER_SIZE];
    int m_bComplete = 0;
    size_t m_nCount = 0;
};
