#include "sim/YmodemSender.h"

#include "link/YmodemPacket.h"

#include <algorithm>

namespace
{
constexpr size_t BLOCK = 1024;
}

CYmodemSender::CYmodemSender(std::string fileName, std::vector<unsigned char> data, SendFunction send,
                             YmodemSenderFaults faults, IClock* clock)
    : CYmodemSender(std::vector<YmodemSenderFile>{{std::move(fileName), std::move(data)}}, std::move(send),
                    std::move(faults), clock)
{
}

CYmodemSender::CYmodemSender(std::vector<YmodemSenderFile> files, SendFunction send,
                             YmodemSenderFaults faults, IClock* clock)
    : m_files(std::move(files)), m_send(std::move(send)), m_faults(std::move(faults)), m_pClock(clock)
{
    StartFile();
}

void CYmodemSender::StartFile()
{
    m_strName = m_files[m_nFile].name;
    m_data = m_files[m_nFile].data;
    m_nBlocks = static_cast<int>((m_data.size() + BLOCK - 1) / BLOCK);
    m_nCurrent = 0;
    m_nExtraAcks = 0;
}

VelunitTransferFactory CYmodemSender::Factory(YmodemSenderFaults faults, IClock* clock)
{
    return
        [faults, clock](const std::string& name, const std::vector<unsigned char>& data,
                        std::function<void(const std::string&)> send) -> std::unique_ptr<IVelunitTransfer> {
            return std::make_unique<CYmodemSender>(name, data, std::move(send), faults, clock);
        };
}

std::string CYmodemSender::BlockFrame(int index) const
{
    const size_t start = static_cast<size_t>(index - 1) * BLOCK;
    const size_t count = std::min(BLOCK, m_data.size() - start);
    const std::string chunk(reinterpret_cast<const char*>(m_data.data()) + start, count);
    return CYmodemPacket::Frame(static_cast<uint8_t>(index & 0xFF), chunk, BLOCK);
}

std::string CYmodemSender::HeaderFrame() const
{
    const long long size = m_faults.announcedSize >= 0 && Faulty() ? m_faults.announcedSize
                                                                   : static_cast<long long>(m_data.size());
    if (m_faults.noSize && Faulty())
        return CYmodemPacket::Frame(0, m_strName + std::string(1, '\0'), 128, 0);
    return CYmodemPacket::HeaderFrame(m_strName, size);
}

// The first transmission of a block as a damaged line delivers it, or as far as a stall
// lets it go.
void CYmodemSender::SendDamaged(int index, std::string frame)
{
    if (Faulty() && !m_damaged.count(index)) {
        m_damaged.insert(index);
        if (auto drop = m_faults.dropByte.find(index);
            drop != m_faults.dropByte.end() && drop->second < frame.size())
            frame.erase(drop->second, 1);
        if (auto in = m_faults.inside.find(index); in != m_faults.inside.end())
            frame.insert(std::min(in->second.first, frame.size()), in->second.second);
        if (auto b = m_faults.before.find(index); b != m_faults.before.end())
            frame = b->second + frame;
    }
    if (Faulty() && !m_bStallDone && m_faults.stallMs > 0 && index == m_faults.stallBlock && m_pClock) {
        m_bStallDone = true;
        m_bStalled = true;
        m_nResumeMs = m_pClock->NowMs() + m_faults.stallMs;
        const size_t cut = std::min(m_faults.stallOffset, frame.size());
        m_strHeld = frame.substr(cut);
        frame.resize(cut);
    }
    SendRaw(frame);
}

void CYmodemSender::Service()
{
    if (!m_bStalled || !m_pClock || m_pClock->NowMs() < m_nResumeMs)
        return;
    m_bStalled = false;
    SendRaw(m_strHeld);
    m_strHeld.clear();
    const std::string heard = std::move(m_strHeard);
    m_strHeard.clear();
    for (char c : heard)
        HandleByte(static_cast<unsigned char>(c));
}

// Sends the block at this place in the file, or the end marker past the last one. A
// dropped block is skipped over as if it had been acknowledged.
void CYmodemSender::SendBlock(int index, bool first)
{
    while (first && Faulty() && index <= m_nBlocks && m_faults.drop.count(index))
        ++index;
    m_nCurrent = index;
    if (index > m_nBlocks) {
        m_state = waitEotAck;
        SendRaw(std::string(1, static_cast<char>(ymodem::EOT)));
        return;
    }
    m_state = waitDataAck;
    if (first && Faulty()) {
        auto delay = m_faults.delayMs.find(index);
        if (delay != m_faults.delayMs.end() && m_pClock)
            m_pClock->SleepMs(delay->second);
    }
    std::string frame = BlockFrame(index);
    if (Faulty() && m_faults.corrupt.count(index) && !m_corrupted.count(index)) {
        m_corrupted.insert(index);
        frame.back() = static_cast<char>(frame.back() ^ 0x5A);
    }
    SendDamaged(index, frame);
    if (first && Faulty() && m_faults.repeat.count(index)) {
        SendRaw(BlockFrame(index));
        ++m_nExtraAcks;
    }
}

void CYmodemSender::OnByte(unsigned char byte)
{
    if (m_bStalled) {
        m_strHeard.push_back(static_cast<char>(byte));
        return;
    }
    HandleByte(byte);
}

void CYmodemSender::HandleByte(unsigned char byte)
{
    if (Finished())
        return;
    // Two cancels in a row abandon the transfer, wherever it stands; the rest of the
    // receiver's run of cancels is swallowed so that none of it reaches the command line.
    if (m_state == cancelled) {
        m_nCans = byte == ymodem::CAN ? m_nCans + 1 : CANCEL_RUN;
        return;
    }
    m_nCans = byte == ymodem::CAN ? m_nCans + 1 : 0;
    if (m_nCans >= 2) {
        m_state = cancelled;
        return;
    }
    const bool ack = byte == ymodem::ACK;
    const bool nak = byte == ymodem::NAK;
    const bool crc = byte == ymodem::CRC_REQUEST;
    if (nak)
        ++m_nNaks;

    switch (m_state) {
    case waitStart:
        if (crc) {
            SendDamaged(0, HeaderFrame());
            m_state = waitHeaderAck;
        }
        break;
    case waitHeaderAck:
        if (ack)
            m_state = waitDataStart;
        else if (nak || crc)
            SendRaw(HeaderFrame());
        break;
    case waitDataStart:
        if (crc)
            SendBlock(1, true);
        break;
    case waitDataAck:
        if (ack && m_nExtraAcks > 0)
            --m_nExtraAcks; // the answer to a block sent twice
        else if (ack)
            SendBlock(m_nCurrent + 1, true);
        else if (nak)
            SendBlock(m_nCurrent, false);
        break;
    case waitEotAck:
        if (ack)
            m_state = waitEndStart;
        else if (nak)
            SendRaw(std::string(1, static_cast<char>(ymodem::EOT)));
        break;
    case waitEndStart:
        if (crc && m_nFile + 1 < m_files.size()) {
            ++m_nFile;
            StartFile();
            SendRaw(HeaderFrame());
            m_state = waitHeaderAck;
        } else if (crc) {
            std::string closing = CYmodemPacket::Frame(0, {}, 128, 0);
            if (m_faults.garbleClosing && !m_bClosingGarbled) {
                m_bClosingGarbled = true;
                closing[40] = static_cast<char>(closing[40] ^ 0x10);
            }
            SendRaw(closing);
            m_state = waitEndAck;
        }
        break;
    case waitEndAck:
        if (ack)
            m_state = done;
        else if (nak)
            SendRaw(CYmodemPacket::Frame(0, {}, 128, 0));
        break;
    case done:
    case cancelled:
        break;
    }
}
