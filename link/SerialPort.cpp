#include "link/SerialPort.h"

CSerialPort::CSerialPort(IClock* clock, IPortOpener* opener)
    : m_pClock(clock ? clock : &CSystemClock::Instance()), m_pOpener(opener)
{
}

CSerialPort::~CSerialPort()
{
    Close();
}

bool CSerialPort::Open(int port, int baud)
{
    return Open("COM " + std::to_string(port), baud);
}

bool CSerialPort::Open(const std::string& name, int baud)
{
    Close();
    std::unique_ptr<ISerialStream> stream;
    if (m_pOpener) {
        stream = m_pOpener->OpenStream(name);
    } else {
        CTtyPortOpener opener;
        stream = opener.OpenStream(name);
    }
    return Attach(std::move(stream), baud);
}

bool CSerialPort::Attach(std::unique_ptr<ISerialStream> stream, int baud)
{
    Close();
    if (!stream)
        return false;
    m_pStream = std::move(stream);
    if (!Configure(baud)) {
        Close();
        return false;
    }
    return true;
}

bool CSerialPort::Configure(int baud)
{
    if (!IsOpen() || !m_pStream->Configure(baud))
        return false;
    return SetTimeouts(kDefaultTimeoutMs);
}

bool CSerialPort::SetTimeouts(int timeoutMs)
{
    if (!IsOpen())
        return false;
    m_nTimeoutMs = timeoutMs;
    return true;
}

void CSerialPort::Close()
{
    m_pStream.reset();
}

bool CSerialPort::SendBreak(int durationMs)
{
    if (!IsOpen() || !m_pStream->SetBreak(true))
        return false;
    m_pClock->SleepMs(durationMs);
    m_pStream->SetBreak(false);
    return true;
}

bool CSerialPort::Write(const std::string& text)
{
    if (!IsOpen())
        return false;
    size_t written = 0;
    bool ok = m_pStream->Write(reinterpret_cast<const unsigned char*>(text.data()), text.size(), m_nTimeoutMs,
                               written);
    return ok && written == text.size();
}

bool CSerialPort::WriteByte(unsigned char byte)
{
    if (!IsOpen())
        return false;
    size_t written = 0;
    return m_pStream->Write(&byte, 1, m_nTimeoutMs, written) && written == 1;
}

bool CSerialPort::ReadByte(unsigned char& byte)
{
    return IsOpen() && m_pStream->ReadByte(byte, m_nTimeoutMs);
}

bool CSerialPort::ReadByteIfAvailable(unsigned char& byte)
{
    if (!IsOpen() || m_pStream->Available() <= 0)
        return false;
    return ReadByte(byte);
}

bool CSerialPort::ReadUntil(std::string& text, int timeoutMs, unsigned char terminator)
{
    if (!SetTimeouts(timeoutMs))
        return false;
    for (;;) {
        unsigned char byte = 0;
        if (!ReadByte(byte))
            return false;
        text.push_back(static_cast<char>(byte));
        if (byte == terminator)
            return true;
    }
}

void CSerialPort::Flush()
{
    if (!IsOpen())
        return;
    m_pStream->Purge();
    // Whatever slipped in after the purge is read and dropped, until the queue stays empty.
    for (;;) {
        int waiting = m_pStream->Available();
        if (waiting <= 0)
            return;
        for (int i = 0; i < waiting; ++i) {
            unsigned char byte;
            if (!ReadByte(byte))
                break;
        }
    }
}
