#include "link/YmodemReceiver.h"

#include "platform/Utf8Path.h"
#include <algorithm>
#include <cstdio>
#include <fstream>

namespace
{
// A purge gives up after this much and answers anyway: a line that never falls quiet is
// not going to carry a block either.
constexpr int PURGE_LIMIT = 16 * 1029;

std::string Format(const char* format, long long a, long long b = 0, long long c = 0)
{
    char text[200];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

// "R of T bytes", or "R bytes" when block 0 gave no size.
std::string Bytes(const YmodemProgress& p)
{
    return p.sizeAnnounced ? Format("%lld of %lld bytes", p.received, p.total)
                           : Format("%lld bytes", p.received);
}
} // namespace

std::string YmodemFileResult::Status() const
{
    const YmodemProgress& p = progress;
    const std::string unsized = p.sizeAnnounced ? "" : ", size not announced";
    const std::string kept =
        "kept in " + CYmodemReceiver::PartialName(p.fileName) + ", " + p.fileName + " not changed";
    switch (outcome) {
    case complete:
        return p.fileName + Format(" received, %lld bytes", p.received) + unsized;
    case incomplete:
        return "Transfer incomplete, " + Bytes(p) + " received" + unsized +
               Format(", %lld transfer errors, ", p.errors) + kept;
    case failed:
        break;
    }
    return "Transfer error, " + Bytes(p) + " " + kept + unsized;
}

std::string YmodemFileResult::Reason() const
{
    const YmodemProgress& p = progress;
    switch (outcome) {
    case complete:
        return {};
    case incomplete:
        return "Transfer incomplete, " + Bytes(p) + " received" +
               (p.sizeAnnounced ? "" : ", size not announced") + Format(", %lld transfer errors", p.errors);
    case failed:
        break;
    }
    return "Transfer error";
}

std::string YmodemFileResult::Whereabouts() const
{
    const YmodemProgress& p = progress;
    if (outcome == complete)
        return Status();
    return p.fileName + ": " + Bytes(p) + " kept in " + CYmodemReceiver::PartialName(p.fileName) + ", " +
           p.fileName + " not changed" + (p.sizeAnnounced ? "" : ", size not announced");
}

CYmodemReceiver::CYmodemReceiver(IYmodemLine& line, std::filesystem::path directory,
                                 const std::atomic<int>& abortFlag)
    : m_line(line), m_directory(std::move(directory)), m_abort(abortFlag)
{
}

void CYmodemReceiver::SetOnFileAnnounced(std::function<void(const YmodemProgress&)> callback)
{
    m_onFileAnnounced = std::move(callback);
}

void CYmodemReceiver::SetOnProgress(std::function<void(const YmodemProgress&)> callback)
{
    m_onProgress = std::move(callback);
}

bool CYmodemReceiver::IsSafeFileName(const std::string& name)
{
    if (name.empty() || name == "." || name.find("..") != std::string::npos)
        return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':')
            return false;
    }
    return true;
}

bool CYmodemReceiver::IsComplete(const YmodemProgress& progress)
{
    return progress.errors == 0 && (!progress.sizeAnnounced || progress.received == progress.total);
}

bool CYmodemReceiver::AllComplete() const
{
    return m_bClosed && std::all_of(m_files.begin(), m_files.end(), [](const YmodemFileResult& f) {
               return f.outcome == YmodemFileResult::complete;
           });
}

bool CYmodemReceiver::Fail(const std::string& detail)
{
    m_strFailure = detail;
    return false;
}

bool CYmodemReceiver::Send(uint8_t byte)
{
    return m_line.Write(std::string(1, static_cast<char>(byte)));
}

// One reception: the long time-out for the first byte, the short one for every byte after
// it (noise in front of the header included: a line that has started to talk and stops
// again will not bring the rest of a block). header tells whether a header byte was seen.
CYmodemReceiver::EReception CYmodemReceiver::ReceiveBlock(bool& header)
{
    m_packet.Reset();
    header = false;
    if (!m_line.SetTimeouts(START_TIMEOUT_MS))
        return silent;
    uint8_t byte = 0;
    bool any = false;
    while (m_line.ReadByte(byte)) {
        if (!any) {
            any = true;
            m_line.SetTimeouts(BYTE_TIMEOUT_MS);
        }
        m_packet.AddByte(byte);
        header = header || m_packet.HasHeader();
        if (m_packet.IsFinished())
            return complete;
    }
    return any ? partial : silent;
}

void CYmodemReceiver::Purge()
{
    m_line.SetTimeouts(PURGE_QUIET_MS);
    uint8_t byte = 0;
    for (int n = 0; n < PURGE_LIMIT && m_line.ReadByte(byte); ++n) {
    }
}

// A whole block that failed its check: the sender is waiting for the answer, unless the
// block ended early (a byte doubled, a false header) and the rest is still coming.
void CYmodemReceiver::PurgeIfPending()
{
    uint8_t byte = 0;
    if (m_line.ReadByteIfAvailable(byte))
        Purge();
}

// A reception that brought no usable block: NAK, and the tenth in a row ends the transfer
// (the thirtieth, when they were whole blocks that failed their check).
bool CYmodemReceiver::Refuse(STries& tries, bool damaged)
{
    ++(damaged ? tries.damaged : tries.bad);
    if (!Send(ymodem::NAK))
        return Fail("the line failed while asking for a block again");
    if (tries.bad >= MAX_TRIES)
        return Fail("ten bad receptions in a row");
    if (tries.damaged + tries.bad >= MAX_DAMAGED)
        return Fail("thirty damaged blocks in a row");
    return true;
}

// Block 0 of the next file, or the closing block of the batch. Before the first file
// anything that is not a sound block 0 is noise and asked for again.
bool CYmodemReceiver::ReceiveHeader(bool first, bool& endOfBatch)
{
    endOfBatch = false;
    STries tries;
    for (;;) {
        if (m_abort.load() != 0)
            return Fail("aborted");
        bool header = false;
        const EReception r = ReceiveBlock(header);
        if (r == complete && m_packet.IsEndOfFile() && !first) {
            // The sender missed the answer to the end of the last file.
            ++tries.bad;
            if (!Send(ymodem::ACK) || !Send(ymodem::CRC_REQUEST))
                return Fail("could not write to the line");
            if (tries.bad >= MAX_TRIES)
                return Fail("ten bad receptions in a row");
            continue;
        }
        if (r != complete || m_packet.IsEndOfFile() || !m_packet.IsValid() || m_packet.BlockNumber() != 0) {
            const bool damaged = r == complete && !m_packet.IsEndOfFile() && !m_packet.IsValid();
            if (r == complete)
                m_packet.IsEndOfFile() ? Purge() : PurgeIfPending();
            if (!Refuse(tries, damaged))
                return false;
            continue;
        }
        break;
    }
    if (m_packet.Data()[0] == 0) {
        endOfBatch = true; // the empty name closes the batch
        return true;
    }
    std::string name;
    long long total = 0;
    if (!m_packet.FileName(name) || !m_packet.FileSize(total))
        return Fail("the first block does not name a file");
    if (!IsSafeFileName(name))
        return Fail("the sender's file name is not a plain file name");
    m_progress = YmodemProgress{};
    m_progress.fileName = name;
    m_progress.total = total;
    m_progress.sizeAnnounced = m_packet.HasFileSize();
    return true;
}

bool CYmodemReceiver::FileFailed(const std::string& detail)
{
    m_files.push_back({m_progress, YmodemFileResult::failed, m_outputPath});
    return Fail(detail);
}

bool CYmodemReceiver::ReceiveFile()
{
    if (m_onFileAnnounced)
        m_onFileAnnounced(m_progress);
    if (!Send(ymodem::ACK) || !Send(ymodem::CRC_REQUEST))
        return Fail("could not write to the line");

    const std::filesystem::path target = m_directory / PathFromUtf8(m_progress.fileName);
    m_outputPath = m_directory / PathFromUtf8(PartialName(m_progress.fileName));
    std::ofstream file(m_outputPath, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!file)
        return FileFailed("cannot create " + Utf8FromPath(m_outputPath));

    // Block numbers are one byte: after 255 comes 0, which is new data unless the block
    // before it was a 0 as well (the sender repeating it, or block 0 itself again).
    int last = 0;
    STries tries;
    bool endOnce = false;
    // Every answer makes the sender send one block. An answer to something it did not send
    // (a NAK after silence or after noise) earns an extra copy of the block that comes
    // next; that copy gets no answer, or the sender would run one block ahead of us.
    int answers = 0;  // NAKs since the last new block
    int arrivals = 0; // receptions that started with a header since then
    int extraCopies = 0;
    for (;;) {
        if (m_abort.load() != 0)
            return FileFailed("aborted");
        bool header = false;
        const EReception r = ReceiveBlock(header);
        if (header)
            ++arrivals;
        if (r == complete && m_packet.IsEndOfFile()) {
            if (endOnce)
                break; // sent again: the end of the file
            endOnce = true;
            // A stray 0x04 may have a block behind it. Where the file is due to end, only what
            // has arrived already is cleared, so a sound line keeps its pace; anywhere else the
            // line must fall quiet first, so that a second stray 0x04 cannot pass for the
            // sender's repetition.
            if (m_progress.sizeAnnounced && m_progress.received >= m_progress.total)
                PurgeIfPending();
            else
                Purge();
            ++answers;
            if (!Refuse(tries))
                return FileFailed(m_strFailure);
            continue;
        }
        if (endOnce)
            --arrivals; // that 0x04 was noise, not something the sender sent
        endOnce = false;
        if (r != complete || !m_packet.IsValid()) {
            if (r == complete)
                PurgeIfPending();
            ++answers;
            if (!Refuse(tries, r == complete))
                return FileFailed(m_strFailure);
            continue;
        }
        tries = STries{};
        const int n = m_packet.BlockNumber();
        if (!(last < n || (n == 0 && last != 0))) {
            // A repeat, not written again. The sender missed our answer, or it is an extra
            // copy we asked for without knowing.
            if (n == last && extraCopies > 0) {
                --extraCopies;
                continue;
            }
            if (!Send(ymodem::ACK))
                return FileFailed("could not write to the line");
            if (m_onProgress)
                m_onProgress(m_progress);
            continue;
        }
        if (last + 1 < n && n != 0)
            ++m_progress.errors;
        size_t count = m_packet.DataLength();
        if (m_progress.sizeAnnounced)
            count = static_cast<size_t>(std::clamp<long long>(m_progress.total - m_progress.received, 0,
                                                              static_cast<long long>(count)));
        if (!m_packet.WriteData(file, count))
            return FileFailed("cannot write " + Utf8FromPath(m_outputPath));
        last = n;
        m_progress.received += static_cast<long long>(count);
        extraCopies = std::max(0, answers + 1 - arrivals);
        answers = 0;
        arrivals = 0;
        if (!Send(ymodem::ACK))
            return FileFailed("could not write to the line");
        if (m_onProgress)
            m_onProgress(m_progress);
    }
    file.close();
    if (!file)
        return FileFailed("cannot write " + Utf8FromPath(m_outputPath));

    YmodemFileResult result{m_progress, YmodemFileResult::incomplete, m_outputPath};
    if (IsComplete(m_progress)) {
        std::error_code ec;
        std::filesystem::rename(m_outputPath, target, ec);
        if (ec)
            return FileFailed("cannot rename " + Utf8FromPath(m_outputPath) + " to " + Utf8FromPath(target));
        m_outputPath = target;
        result.outcome = YmodemFileResult::complete;
        result.path = target;
    }
    m_files.push_back(result);
    if (!Send(ymodem::ACK) || !Send(ymodem::CRC_REQUEST))
        return Fail("could not write to the line");
    return true;
}

bool CYmodemReceiver::Receive()
{
    m_progress = YmodemProgress{};
    m_files.clear();
    m_bClosed = false;
    m_strFailure.clear();
    m_outputPath.clear();

    if (!Send(ymodem::CRC_REQUEST))
        return Fail("could not write to the line");
    for (bool first = true;; first = false) {
        bool endOfBatch = false;
        if (!ReceiveHeader(first, endOfBatch))
            return false;
        if (endOfBatch) {
            if (!Send(ymodem::ACK))
                return Fail("could not write to the line");
            m_bClosed = true;
            return true;
        }
        if (!ReceiveFile())
            return false;
    }
}
