#include "sim/FlowComputerSim.h"

#include "link/Clock.h"
#include "link/SimLine.h"

std::string CFlowComputerSim::Confirmation()
{
    if (!m_mismatches.empty())
        return std::string(1, '\x03');
    switch (m_options.confirm) {
    case FlowComputerSimOptions::confirm4:
        return std::string(1, '\x04');
    case FlowComputerSimOptions::confirm3:
        return std::string(1, '\x03');
    case FlowComputerSimOptions::strayThen4:
        return std::string(m_options.strayBytes.begin(), m_options.strayBytes.end()) + '\x04';
    case FlowComputerSimOptions::noConfirm:
        break;
    }
    return {};
}

std::string CFlowComputerSim::OnByte(uint8_t byte)
{
    switch (m_state) {
    case waitWake: {
        m_nWakeSeen = byte == 0x9F ? m_nWakeSeen + 1 : 0;
        if (m_nWakeSeen < 2)
            return {};
        const int reply = m_options.reply;
        if (reply == 6 || reply == 7) {
            m_state = readMessage;
            return std::string(1, static_cast<char>(reply));
        }
        m_state = done;
        if (reply < 0)
            return {};
        // A unit that answers with another positive value takes no message and confirms at once;
        // one answering 0x80 or above is treated as not there by the program.
        if (reply < 0x80)
            m_deferred = Confirmation();
        return std::string(1, static_cast<char>(reply));
    }
    case readMessage:
        m_message.push_back(byte);
        if (m_message.size() < MESSAGE_SIZE)
            return {};
        m_state = done;
        if (!m_options.expected.empty()) {
            for (size_t i = 0; i < MESSAGE_SIZE; ++i)
                if (i >= m_options.expected.size() || m_options.expected[i] != m_message[i])
                    m_mismatches.push_back(i);
        }
        return Confirmation();
    case done:
        ++m_nExtra;
        return {};
    }
    return {};
}

void CFlowComputerSim::Pump(CSimLine& line, CVirtualClock* clock, int maxWaitMs)
{
    bool answered = false;
    SLineItem item;
    while (line.DevicePoll(item)) {
        if (item.m_kind != SLineItem::byte)
            continue;
        const std::string out = OnByte(static_cast<uint8_t>(item.m_nValue));
        if (!out.empty()) {
            line.DeviceWrite(reinterpret_cast<const unsigned char*>(out.data()), out.size());
            answered = true;
        }
    }
    if (answered || maxWaitMs <= 0)
        return;
    if (!m_deferred.empty() && m_bSilenceSeen) {
        const std::string out = TakeDeferred();
        line.DeviceWrite(reinterpret_cast<const unsigned char*>(out.data()), out.size());
        return;
    }
    if (!m_deferred.empty())
        m_bSilenceSeen = true;
    if (clock)
        clock->Advance(maxWaitMs);
}
