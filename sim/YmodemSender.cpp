#include "sim/YmodemSender.h"

#include "link/YmodemPacket.h"

#include <algorithm>

namespace
{
constexpr size_t BLOCK = 1024;
}

CYmodemSender::CYmodemSender(std::string fileName, std::vector<unsigned char> data, SendFunction send,
                             YmodemSenderFaults faults, IClock* clock)
    : m_strName(std::move(fileName)), m_data(std::move(data)), m_send(std::move(send)),
      m_faults(std::move(faults)), m_pClock(clock)
{
    m_nBlocks = static_cast<int>((m_data.size() + BLOCK - 1) / BLOCK);
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
    const long long size =
        m_faults.announcedSize >= 0 ? m_faults.announcedSize : static_cast<long long>(m_data.size());
    return CYmodemPacket::HeaderFrame(m_strName, size);
}

// Sends the block at this place in the file, or the end marker past the last one. A
// dropped block is skipped over as if it had been acknowledged.
void CYmodemSender::SendBlock(int index, bool first)
{
    while (first && index <= m_nBlocks && m_faults.drop.count(index))
        ++index;
    m_nCurrent = index;
    if (index > m_nBlocks) {
        m_state = waitEotAck;
        SendRaw(std::string(1, static_cast<char>(ymodem::EOT)));
        return;
    }
    m_state = waitDataAck;
    if (first) {
        auto delay = m_faults.delayMs.find(index);
        if (delay != m_faults.delayMs.end() && m_pClock)
            m_pClock->SleepMs(delay->second);
    }
    std::string frame = BlockFrame(index);
    if (m_faults.corrupt.count(index) && !m_corrupted.count(index)) {
        m_corrupted.insert(index);
        frame.back() = static_cast<char>(frame.back() ^ 0x5A);
    }
    SendRaw(frame);
    if (first && m_faults.repeat.count(index)) {
        SendRaw(BlockFrame(index));
        ++m_nExtraAcks;
    }
}

void CYmodemSender::OnByte(unsigned char byte)
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
            SendRaw(HeaderFrame());
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
        if (crc) {
            SendRaw(CYmodemPacket::Frame(0, {}, 128, 0));
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
