#include "link/InstrumentSession.h"

#include "link/TokenList.h"

#include <cstdlib>

namespace
{

const char* const kPrompt = ">";
constexpr int kBreakMs = 250;

} // namespace

CInstrumentSession::CInstrumentSession(CSerialPort* port) : m_pPort(port), m_log(port->Clock())
{
}

CInstrumentSession::~CInstrumentSession() = default;

bool CInstrumentSession::OpenLog(const std::string& path)
{
    if (!m_log.Open(path))
        return false;
    m_log.Watch(m_pPort);
    return true;
}

void CInstrumentSession::LogSection(const std::string& label)
{
    m_log.Section(label);
}

void CInstrumentSession::LogText(const std::string& text)
{
    m_log.Text(text);
}

// > (break 250 ms)
// < \r\nHorizontal ADCP\r\nVersion: 51.40\r\n...\r\n>
bool CInstrumentSession::WakeUp()
{
    m_strFirmware.clear();
    m_nFrequency = -1;
    m_log.Quiet(); // the banner is not logged
    const bool awake = ReadBanner();
    m_log.Idle();
    return awake;
}

bool CInstrumentSession::ReadBanner()
{
    m_pPort->Flush();
    if (!m_pPort->SendBreak(kBreakMs))
        return false;
    std::string banner;
    if (!m_pPort->ReadUntil(banner, kCommandTimeoutMs, '>'))
        return false;
    if (banner.find("Horizontal ADCP") == std::string::npos)
        return false;
    size_t at = banner.find("Version:");
    if (at != std::string::npos) {
        CTokenList tokens;
        tokens.Split(banner.substr(at), "\r\n ");
        int i = tokens.Find("Version:");
        if (i >= 0 && tokens.Count() >= i + 3)
            m_strFirmware = tokens.Get(i + 1);
    }
    return true;
}

bool CInstrumentSession::SendCommand(const std::string& command, std::string& reply, int timeoutMs)
{
    // The log takes the reply from the line: the instrument's echo records the command, and
    // a reply cut short by silence is not logged.
    m_log.BeginReply();
    const bool answered = m_pPort->Write(command + "\n") && m_pPort->ReadUntil(reply, timeoutMs, '>');
    m_log.EndReply(answered);
    if (!answered)
        return false;
    // An "ERR" at the very start cannot be the instrument's complaint: the echo comes first.
    size_t err = reply.find("ERR");
    return err == std::string::npos || err == 0;
}

bool CInstrumentSession::WaitForPrompt()
{
    m_log.Quiet();
    std::string scratch;
    const bool prompt = m_pPort->ReadUntil(scratch, kCommandTimeoutMs, kPrompt[0]);
    m_log.Idle();
    return prompt;
}

// What is sent raw (a key that ends the orientation stream, the cancel of a transfer) and
// whatever comes back until the next command is not logged.
bool CInstrumentSession::SendRaw(const std::string& text)
{
    m_log.Quiet();
    return m_pPort->Write(text);
}

bool CInstrumentSession::SendLine(const std::string& text)
{
    m_log.Quiet();
    return m_pPort->Write(text + "\n");
}

bool CInstrumentSession::ReadAvailableByte(unsigned char& byte)
{
    return m_pPort->ReadByteIfAvailable(byte);
}

int CInstrumentSession::FrequencyCodeFromHz(long hz)
{
    if (hz >= 1000001)
        return 3;
    if (hz < 600001)
        return 1;
    return 2;
}

bool CInstrumentSession::ParseSystem(const std::string& reply)
{
    CTokenList tokens;
    tokens.Split(reply, "\r\n ");
    int i = tokens.Find("Firmware:");
    if (i < 0 || tokens.Count() < i + 3)
        return false;
    m_strFirmware = tokens.Get(i + 1);
    i = tokens.Find("Frequency:");
    if (i < 0 || tokens.Count() < i + 3)
        return false;
    m_nFrequency = FrequencyCodeFromHz(std::atol(tokens.Get(i + 1).c_str()));
    return true;
}

bool CInstrumentSession::GetFirmware(std::string& firmware)
{
    if (m_strFirmware.empty()) {
        std::string reply;
        if (SendCommand("PS0", reply))
            ParseSystem(reply);
    }
    firmware = m_strFirmware;
    return !m_strFirmware.empty();
}

int CInstrumentSession::GetFrequency()
{
    if (m_nFrequency >= 0)
        return m_nFrequency;
    std::string reply;
    if (!SendCommand("PS0", reply) || !ParseSystem(reply))
        return -1;
    return m_nFrequency;
}

// > mn?\n
// < mn?\r\nMN Tidewell_Creek\r\n>
bool CInstrumentSession::GetSiteName(std::string& name)
{
    std::string reply;
    if (!SendCommand("mn?", reply))
        return false;
    CTokenList tokens;
    tokens.Split(reply, "\r\n ");
    int i = tokens.Find("MN");
    if (i < 0 || tokens.Count() < i + 3)
        return false;
    name = tokens.Get(i + 1);
    return true;
}

bool CInstrumentSession::ParseTime(const std::string& reply, CDateTime& time)
{
    CTokenList tokens;
    tokens.Split(reply, "\r\n /,:.");
    int i = tokens.Find("TS");
    if (i < 0 || tokens.Count() < i + 7)
        return false;
    int part[6];
    for (int k = 0; k < 6; ++k)
        part[k] = std::atoi(tokens.Get(i + 1 + k).c_str());
    int year = part[0] < 80 ? 2000 + part[0] : 1900 + part[0];
    int month = part[1], day = part[2], hour = part[3], minute = part[4], second = part[5];
    if (year < 1902 || year > 2099 || month < 1 || month > 12 || day < 1 || day > 31 || minute < 0 ||
        minute > 60 || second < 0 || second > 60)
        return false;
    // The instrument may say minute or second 60, and the hour is not checked: the parts
    // are added up from the first of the month, so they carry into the next unit instead
    // of making an invalid stamp.
    CDateTime first = CDateTime::FromParts(year, month, 1, 0, 0, 0);
    if (!first.IsValid())
        return false;
    double seconds = hour * 3600.0 + minute * 60.0 + second;
    time = CDateTime(first.m_dt + (day - 1) + seconds / 86400.0);
    return true;
}

// > ts?\n
// < ts?\r\nTS 26/12/08,19:23:00\r\n>
bool CInstrumentSession::GetTime(CDateTime& time)
{
    std::string reply;
    if (!SendCommand("ts?", reply))
        return false;
    return ParseTime(reply, time);
}

bool CInstrumentSession::SetTime(const CDateTime& time)
{
    std::string command = time.Format("TS %y/%m/%d,%H:%M:%S");
    if (command.empty())
        return false;
    std::string reply;
    return SendCommand(command, reply);
}

// The sleep and start commands do not end with a prompt: the instrument stops listening.
// > cz\n
// < cz\r\n
bool CInstrumentSession::SendAndReadLine(const std::string& command)
{
    m_log.BeginReply();
    if (!m_pPort->Write(command + "\n")) {
        m_log.EndReply(false);
        return false;
    }
    std::string reply;
    m_pPort->ReadUntil(reply, kCommandTimeoutMs, '\n');
    m_log.EndReply(true); // what came, even without its line end
    return reply.find(command) != std::string::npos;
}

bool CInstrumentSession::Sleep()
{
    return SendAndReadLine("cz");
}

bool CInstrumentSession::Restart()
{
    return SendAndReadLine("CS");
}
