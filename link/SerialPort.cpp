#include "link/SerialPort.h"

#include <algorithm>

CSerialPort::CSerialPort(IClock* clock, IPortOpener* opener)
    : m_pClock(clock ? clock : &CSystemClock::Instance()), m_pOpener(opener)
{
}

CSerialPort::~CSerialPort()
{
    Close();
    for (ISerialTap* tap : m_taps)
        tap->OnDetached(*this);
}

bool CSerialPort::Open(int port, int baud)
{
    return Open("COM " + std::to_string(port), baud);
}

bool CSerialPort::Open(const std::string& name, int baud)
{
    Close();
    m_strOpenError.clear();
    std::unique_ptr<ISerialStream> stream;
    if (m_pOpener) {
        stream = m_pOpener->OpenStream(name);
        if (!stream)
            m_strOpenError = m_pOpener->LastOpenError();
        for (ISerialTap* tap : m_pOpener->Taps())
            AddTap(tap);
    } else {
        CTtyPortOpener opener;
        stream = opener.OpenStream(name);
        if (!stream)
            m_strOpenError = opener.LastOpenError();
    }
    if (stream && !Attach(std::move(stream), baud)) {
        m_strOpenError = "the port could not be set up";
        return false;
    }
    return IsOpen();
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
    if (!IsOpen())
        return false;
    PassReceivedToTaps();
    if (!m_pStream->Configure(baud))
        return false;
    TapEvent(ETapEvent::baud, baud);
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
    if (IsOpen())
        TapEvent(ETapEvent::close, 0);
    m_pStream.reset();
}

bool CSerialPort::SendBreak(int durationMs)
{
    if (!IsOpen())
        return false;
    TapEvent(ETapEvent::lineBreak, durationMs);
    if (!m_pStream->SetBreak(true))
        return false;
    m_pClock->SleepMs(durationMs);
    m_pStream->SetBreak(false);
    return true;
}

bool CSerialPort::WriteBytes(const unsigned char* data, size_t size)
{
    if (!IsOpen())
        return false;
    size_t written = 0;
    if (m_taps.empty())
        return m_pStream->Write(data, size, m_nTimeoutMs, written) && written == size;
    PassReceivedToTaps();
    const CDateTime at = m_pClock->PreciseLocalNow();
    const bool ok = m_pStream->Write(data, size, m_nTimeoutMs, written);
    if (written > 0)
        for (ISerialTap* tap : m_taps)
            tap->OnBytes(ETapDirection::out, data, written, at);
    return ok && written == size;
}

bool CSerialPort::Write(const std::string& text)
{
    return WriteBytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

bool CSerialPort::WriteByte(unsigned char byte)
{
    return WriteBytes(&byte, 1);
}

bool CSerialPort::ReadByte(unsigned char& byte)
{
    if (!IsOpen())
        return false;
    if (!m_pStream->ReadByte(byte, m_nTimeoutMs)) {
        PassReceivedToTaps(); // silence ends a chunk
        return false;
    }
    if (!m_taps.empty())
        TapReceived(byte);
    return true;
}

bool CSerialPort::ReadByteIfAvailable(unsigned char& byte)
{
    if (!IsOpen())
        return false;
    if (m_pStream->Available() <= 0) {
        PassReceivedToTaps();
        return false;
    }
    return ReadByte(byte);
}

int CSerialPort::Available()
{
    return IsOpen() ? m_pStream->Available() : -1;
}

bool CSerialPort::ReadUntil(std::string& text, int timeoutMs, unsigned char terminator)
{
    if (!SetTimeouts(timeoutMs))
        return false;
    for (;;) {
        unsigned char byte = 0;
        if (!ReadByte(byte))
            return false; // the taps have what came already
        text.push_back(static_cast<char>(byte));
        if (byte == terminator) {
            PassReceivedToTaps();
            return true;
        }
    }
}

void CSerialPort::Flush()
{
    if (!IsOpen())
        return;
    TapEvent(ETapEvent::purge, 0);
    m_pStream->Purge();
    // Whatever slipped in after the purge is read and dropped, until the queue stays empty.
    for (;;) {
        int waiting = m_pStream->Available();
        if (waiting <= 0)
            break;
        for (int i = 0; i < waiting; ++i) {
            unsigned char byte;
            if (!ReadByte(byte))
                break;
        }
    }
    PassReceivedToTaps();
}

void CSerialPort::AddTap(ISerialTap* tap)
{
    if (tap && std::find(m_taps.begin(), m_taps.end(), tap) == m_taps.end())
        m_taps.push_back(tap);
}

void CSerialPort::RemoveTap(ISerialTap* tap)
{
    auto it = std::find(m_taps.begin(), m_taps.end(), tap);
    if (it == m_taps.end())
        return;
    PassReceivedToTaps();
    m_taps.erase(it);
    tap->OnDetached(*this);
}

void CSerialPort::TapReceived(unsigned char byte)
{
    if (m_received.empty())
        m_receivedAt = m_pClock->PreciseLocalNow();
    m_received.push_back(byte);
    if (m_received.size() >= kMaxChunk)
        PassReceivedToTaps();
}

void CSerialPort::PassReceivedToTaps()
{
    // Bytes are only ever held for taps (RemoveTap hands them over before the last goes), so
    // with none attached this returns at once.
    if (m_received.empty())
        return;
    for (ISerialTap* tap : m_taps)
        tap->OnBytes(ETapDirection::in, m_received.data(), m_received.size(), m_receivedAt);
    m_received.clear();
}

void CSerialPort::TapEvent(ETapEvent event, int value)
{
    if (m_taps.empty())
        return;
    PassReceivedToTaps();
    const CDateTime at = m_pClock->PreciseLocalNow();
    for (ISerialTap* tap : m_taps)
        tap->OnEvent(event, value, at);
}
