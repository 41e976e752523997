#include "link/YmodemReceiver.h"

#include <fstream>

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
    return progress.errors == 0 && progress.received >= progress.total;
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

bool CYmodemReceiver::ReceiveBlock()
{
    m_packet.Reset();
    uint8_t byte = 0;
    while (!m_packet.IsFinished() && m_line.ReadByte(byte))
        m_packet.AddByte(byte);
    return m_packet.IsFinished();
}

// Receives until a block passes its CRC, answering each bad or missing one with NAK. Stops
// early on abort; the caller tells the outcomes apart by the flag and the number of tries.
bool CYmodemReceiver::ReceiveGoodBlock(int& tries)
{
    tries = 0;
    while (tries < MAX_TRIES && m_abort.load() == 0 && (!ReceiveBlock() || !m_packet.IsValid())) {
        ++tries;
        if (!Send(ymodem::NAK))
            return Fail("the line failed while asking for a block again");
    }
    if (m_abort.load() != 0)
        return Fail("aborted");
    if (tries == MAX_TRIES)
        return Fail("ten bad receptions in a row");
    return true;
}

bool CYmodemReceiver::Receive()
{
    m_progress = YmodemProgress{};
    m_strFailure.clear();
    m_outputPath.clear();

    if (!m_line.SetTimeouts(BYTE_TIMEOUT_MS) || !Send(ymodem::CRC_REQUEST))
        return Fail("could not write to the line");

    // Block 0 is retried like any other: a noisy line may garble it, and a name read from
    // a damaged block must never be used.
    int tries = 0;
    if (!ReceiveGoodBlock(tries))
        return false;
    std::string name;
    long long total = 0;
    if (m_packet.IsEndOfFile() || !m_packet.FileName(name) || !m_packet.FileSize(total))
        return Fail("the first block does not name a file");
    if (!IsSafeFileName(name))
        return Fail("the sender's file name is not a plain file name");
    m_progress.fileName = name;
    m_progress.total = total;
    if (m_onFileAnnounced)
        m_onFileAnnounced(m_progress);

    if (!Send(ymodem::ACK) || !Send(ymodem::CRC_REQUEST))
        return Fail("could not write to the line");

    m_outputPath = m_directory / name;
    std::ofstream file(m_outputPath, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!file)
        return Fail("cannot create " + m_outputPath.string());

    // Block numbers are one byte: after 255 comes 0, which is new data unless the block
    // before it was a 0 as well (the sender repeating it, or block 0 itself again).
    int last = 0;
    for (;;) {
        if (!ReceiveGoodBlock(tries))
            return false; // the file closes as far as it was written
        if (m_packet.IsEndOfFile())
            break;
        const int n = m_packet.BlockNumber();
        if (last + 1 < n && n != 0)
            ++m_progress.errors;
        if (last < n || (n == 0 && last != 0)) {
            if (!m_packet.WriteData(file))
                return Fail("cannot write " + m_outputPath.string());
            last = n;
            m_progress.received += static_cast<long long>(m_packet.DataLength());
        }
        if (!Send(ymodem::ACK))
            return Fail("could not write to the line");
        if (m_onProgress)
            m_onProgress(m_progress);
    }
    file.close();

    // End of the file, then the sender's closing block of the batch, whose contents do not matter.
    if (!Send(ymodem::ACK) || !Send(ymodem::CRC_REQUEST))
        return Fail("could not write to the line");
    if (!ReceiveBlock())
        return Fail("the batch was not closed");
    if (!Send(ymodem::ACK))
        return Fail("could not write to the line");
    return true;
}
