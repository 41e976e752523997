#pragma once
// The receiving side of a batch file transfer in CRC mode, from the first "C" to the
// acknowledgement of the batch's closing block:
//
//   > C                       < SOH 00 FF "name\0size ..." crc     block 0: name and size
//   > ACK C                   < STX 01 FE <1024 bytes> crc         data, 1024 or 128 a block
//   > ACK                     < ...
//   > ACK                     < EOT                                end of the file?
//   > NAK                     < EOT                                yes: it is sent again
//   > ACK C                   < SOH 00 FF "name\0size ..." crc     the next file, or
//                             < SOH 00 FF <zeros> crc              the end of the batch
//   > ACK
//
// A bad block is answered with NAK once the line is quiet and expected again; ten bad
// receptions in a row, a silent line, an abort or a file that cannot be written end the
// transfer. A lone 0x04 is as likely line noise as the end of a file, so it ends the file only
// when the sender repeats it after a NAK.
//
// Each file is written into the given directory as NAME.partial and renamed to NAME, which it
// then replaces, only when it is whole: every block in sequence, and exactly the size block 0
// announced (the padding of the last block is not data). Anything less stays NAME.partial
// and an existing NAME is not touched. The name must be a plain file name.
#include "link/YmodemLine.h"
#include "link/YmodemPacket.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct YmodemProgress {
    std::string fileName;
    long long received = 0;    // bytes written to the file
    long long total = 0;       // as the sender announced it; 0 when it gave no size
    int errors = 0;            // gaps seen in the block numbering
    bool sizeAnnounced = true; // block 0 carried a size
};

// How one file of the batch ended.
struct YmodemFileResult {
    enum EOutcome { complete, incomplete, failed };
    YmodemProgress progress;
    EOutcome outcome = failed;
    std::filesystem::path path; // where its bytes are: NAME when complete, else NAME.partial

    // One line for the operator, e.g. "REC1.000 received, 1000 bytes" or "Transfer error,
    // 2048 of 9000 bytes kept in REC1.000.partial, REC1.000 not changed".
    std::string Status() const;
    // The same split in two for a window whose status keeps its fixed texts: the reason in
    // those words ("Transfer error", "Transfer incomplete, R of T bytes received, E transfer
    // errors"; empty for a whole file), and where the bytes are ("REC1.000 received, 1000
    // bytes", "REC1.000: 2048 of 9000 bytes kept in REC1.000.partial, REC1.000 not changed").
    std::string Reason() const;
    std::string Whereabouts() const;
};

class CYmodemReceiver
{
  public:
    // Nothing at all for this long where a block should start: a silent line, answered
    // with NAK. Ten of them in a row tolerate a pause of the sender of 100 s.
    static constexpr int START_TIMEOUT_MS = 10000;
    // Once a block has started its bytes follow each other closely; a gap this long means
    // some were lost and the block is asked for again.
    static constexpr int BYTE_TIMEOUT_MS = 1000;
    // After a damaged block or a first end-of-file: read until the line has been quiet this
    // long, so that the NAK is not lost among (or taken for the answer to) what still arrives.
    static constexpr int PURGE_QUIET_MS = 1000;
    static constexpr int MAX_TRIES = 10;
    // A whole block that fails its check shows a sender that is there
    // and a line that damages blocks: on a line that spoils one 1024-byte block in two, ten
    // such in a row come once in a few hundred blocks, and would end a transfer that gets
    // through. Those are allowed this many in a row (and together with the other bad
    // receptions still no more than ten of those).
    static constexpr int MAX_DAMAGED = 30;

    // The abort flag is written by another thread and read here before each block.
    CYmodemReceiver(IYmodemLine& line, std::filesystem::path directory, const std::atomic<int>& abortFlag);
    virtual ~CYmodemReceiver() = default;

    // Called on the receiving thread: once block 0 has named a file, and after every block.
    void SetOnFileAnnounced(std::function<void(const YmodemProgress&)> callback);
    void SetOnProgress(std::function<void(const YmodemProgress&)> callback);

    // The whole batch exchange; true when every file ran to its end and the batch was
    // closed. Whether each file is whole is in Files().
    bool Receive();

    // The file being or last received.
    const YmodemProgress& Progress() const { return m_progress; }
    // Every file the sender announced, in order, with its outcome (the one a failure cut
    // short included).
    const std::vector<YmodemFileResult>& Files() const { return m_files; }
    // Receive succeeded and every file is whole.
    bool AllComplete() const;
    // A few words on why Receive failed, for logs and the command-line tool.
    const std::string& FailureDetail() const { return m_strFailure; }
    // Where the file being or last received is (empty before block 0 was accepted).
    const std::filesystem::path& OutputPath() const { return m_outputPath; }

    // A name the sender may choose: not empty, no folder part, no "..", no control or
    // drive characters. Anything else could reach outside the target directory.
    static bool IsSafeFileName(const std::string& name);
    // Where an unfinished file is kept: a name no one takes for the complete file.
    static std::string PartialName(const std::string& name) { return name + ".partial"; }

    // Whether a file that ran to its end holds every byte announced without gaps.
    static bool IsComplete(const YmodemProgress& progress);

  private:
    enum EReception { complete, partial, silent };

    bool Fail(const std::string& detail);
    bool Send(uint8_t byte);
    EReception ReceiveBlock(bool& header);
    void Purge();
    void PurgeIfPending();
    struct STries {
        int bad = 0;     // receptions that brought no whole block, or an unexpected one
        int damaged = 0; // whole blocks that failed their check
    };
    bool Refuse(STries& tries, bool damaged = false);
    bool ReceiveHeader(bool first, bool& endOfBatch);
    bool ReceiveFile();
    bool FileFailed(const std::string& detail);

    IYmodemLine& m_line;
    std::filesystem::path m_directory;
    const std::atomic<int>& m_abort;
    CYmodemPacket m_packet;
    YmodemProgress m_progress;
    std::vector<YmodemFileResult> m_files;
    bool m_bClosed = false;
    std::string m_strFailure;
    std::filesystem::path m_outputPath;
    std::function<void(const YmodemProgress&)> m_onFileAnnounced;
    std::function<void(const YmodemProgress&)> m_onProgress;
};
