#pragma once
// The receiving side of one batch file transfer in CRC mode, from the first "C" to the
// acknowledgement of the batch's closing block:
//
//   > C                       < SOH 00 FF "name\0size ..." crc     block 0: name and size
//   > ACK C                   < STX 01 FE <1024 bytes> crc         data, 1024 or 128 a block
//   > ACK                     < ...
//   > ACK                     < EOT                                end of the file
//   > ACK C                   < SOH 00 FF <zeros> crc              end of the batch
//   > ACK
//
// A bad block is answered with NAK and expected again; ten bad receptions in a row, a silent
// line, an abort or a file that cannot be written end the transfer. The file is written into
// the given directory under the name the sender announced, which must be a plain file name.
#include "link/YmodemLine.h"
#include "link/YmodemPacket.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>

struct YmodemProgress {
    std::string fileName;
    long long received = 0; // bytes written, padding of the last block included
    long long total = 0;    // as the sender announced it
    int errors = 0;         // gaps seen in the block numbering
};

class CYmodemReceiver
{
  public:
    static constexpr int BYTE_TIMEOUT_MS = 10000;
    static constexpr int MAX_TRIES = 10;

    // The abort flag is written by another thread and read here before each block.
    CYmodemReceiver(IYmodemLine& line, std::filesystem::path directory, const std::atomic<int>& abortFlag);
    virtual ~CYmodemReceiver() = default;

    // Called on the receiving thread: once block 0 has named the file, and after every block.
    void SetOnFileAnnounced(std::function<void(const YmodemProgress&)> callback);
    void SetOnProgress(std::function<void(const YmodemProgress&)> callback);

    // Reads one block byte by byte until it is complete or a read fails.
    bool ReceiveBlock();

    // The whole batch exchange; true when the file was received up to its end marker and the
    // batch was closed. Whether every byte arrived is for the caller to judge from Progress().
    bool Receive();

    const YmodemProgress& Progress() const { return m_progress; }
    // A few words on why Receive failed, for logs and the command-line tool.
    const std::string& FailureDetail() const { return m_strFailure; }
    // The file being or last written (empty before block 0 was accepted).
    const std::filesystem::path& OutputPath() const { return m_outputPath; }

    // A name the sender may choose: not empty, no folder part, no "..", no control or
    // drive characters. Anything else could reach outside the target directory.
    static bool IsSafeFileName(const std::string& name);

    // Whether a completed transfer holds every byte announced without gaps.
    static bool IsComplete(const YmodemProgress& progress);

  private:
    bool Fail(const std::string& detail);
    bool Send(uint8_t byte);
    bool ReceiveGoodBlock(int& tries);

    IYmodemLine& m_line;
    std::filesystem::path m_directory;
    const std::atomic<int>& m_abort;
    CYmodemPacket m_packet;
    YmodemProgress m_progress;
    std::string m_strFailure;
    std::filesystem::path m_outputPath;
    std::function<void(const YmodemProgress&)> m_onFileAnnounced;
    std::function<void(const YmodemProgress&)> m_onProgress;
};
