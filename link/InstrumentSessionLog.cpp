#include "link/InstrumentSessionLog.h"

#include "link/SerialPort.h"
#include "link/YmodemPacket.h"
#include "platform/Utf8Path.h"

namespace
{

bool IsText(uint8_t byte)
{
    return (byte >= 0x20 && byte < 0x7f) || byte == '\r' || byte == '\n' || byte == '\t';
}

// A command line as the instrument takes it: text ended by a line feed.
bool IsCommandLine(const uint8_t* data, size_t size)
{
    if (size < 2 || data[size - 1] != '\n')
        return false;
    for (size_t i = 0; i < size; ++i)
        if (!IsText(data[i]))
            return false;
    return true;
}

} // namespace

CInstrumentSessionLog::~CInstrumentSessionLog()
{
    Watch(nullptr);
    EndDirect();
    if (m_pFile)
        std::fclose(m_pFile);
}

std::string CInstrumentSessionLog::Now() const
{
    return m_clock.LocalNow().Format("%Y/%m/%d %H:%M:%S");
}

bool CInstrumentSessionLog::Open(const std::string& path)
{
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    // Append mode: every write lands at the end even when another session of the program
    // logs to the same file, and an existing log is never cut short.
    m_pFile = OpenFileUtf8(path, "ab");
    if (!m_pFile)
        return false;
    Text("\r\n\r\n\r\n-------------New Session Started: " + Now() + "-------------\r\n\r\n");
    return true;
}

void CInstrumentSessionLog::Watch(CSerialPort* port)
{
    if (port == m_pPort)
        return;
    if (m_pPort)
        m_pPort->RemoveTap(this); // clears m_pPort through OnDetached
    m_pPort = port;
    if (m_pPort)
        m_pPort->AddTap(this);
}

void CInstrumentSessionLog::OnDetached(const CSerialPort& port)
{
    if (&port == m_pPort) {
        EndDirect();
        m_pPort = nullptr;
    }
}

void CInstrumentSessionLog::Section(const std::string& label)
{
    Text("\r\n\r\n-----" + label + " (" + Now() + ")-----\r\n\r\n");
}

void CInstrumentSessionLog::Text(const std::string& text)
{
    if (!m_pFile)
        return;
    EndDirect();
    // A full disk or a vanished file must not stop the operation: errors are ignored. Each
    // piece is flushed so that support finds everything up to a crash.
    std::fwrite(text.data(), 1, text.size(), m_pFile);
    std::fflush(m_pFile);
}

// What the port has read but not yet handed over belongs to what came before.
void CInstrumentSessionLog::Sync()
{
    if (m_pPort)
        m_pPort->PassReceivedToTaps();
}

void CInstrumentSessionLog::BeginReply()
{
    Sync();
    EndDirect();
    m_strReply.clear();
    m_eState = EState::reply;
}

void CInstrumentSessionLog::EndReply(bool keep)
{
    Sync();
    m_eState = EState::idle;
    std::string reply;
    reply.swap(m_strReply);
    if (keep)
        Text(reply);
}

void CInstrumentSessionLog::Quiet()
{
    Sync();
    EndDirect();
    m_eState = EState::quiet;
}

void CInstrumentSessionLog::Idle()
{
    Sync();
    EndDirect();
    m_eState = EState::idle;
}

// A direct command ends: its echo as a line of its own, or the transfer that followed it
// summed up in one.
void CInstrumentSessionLog::EndDirect()
{
    const EState state = m_eState;
    if (state != EState::directReply && state != EState::transfer)
        return;
    m_eState = EState::idle;
    if (state == EState::directReply) {
        std::string echo;
        echo.swap(m_strReply);
        if (!echo.empty())
            Text(echo + "\r\n");
        return;
    }
    char note[200];
    std::snprintf(
        note, sizeof note,
        "[Transfer: %lld bytes received, %lld sent (%lld ACK, %lld NAK, %lld C, %lld CAN), ended %s]\r\n",
        m_nReceived, m_nSent, m_nAck, m_nNak, m_nStart, m_nCancel, Now().c_str());
    Text(note);
}

void CInstrumentSessionLog::StartTransfer()
{
    std::string echo;
    echo.swap(m_strReply);
    m_eState = EState::idle;
    if (!echo.empty())
        Text(echo + "\r\n");
    m_eState = EState::transfer;
    m_nReceived = m_nSent = m_nAck = m_nNak = m_nStart = m_nCancel = 0;
}

void CInstrumentSessionLog::OnBytes(ETapDirection direction, const uint8_t* data, size_t size,
                                    const CDateTime&)
{
    if (!m_pFile)
        return;
    if (direction == ETapDirection::in)
        Received(data, size);
    else
        Sent(data, size);
}

void CInstrumentSessionLog::Received(const uint8_t* data, size_t size)
{
    switch (m_eState) {
    case EState::reply:
        m_strReply.append(reinterpret_cast<const char*>(data), size);
        return;
    case EState::directReply:
        for (size_t i = 0; i < size; ++i) {
            if (!IsText(data[i])) {
                StartTransfer();
                Received(data + i, size - i);
                return;
            }
            m_strReply.push_back(static_cast<char>(data[i]));
            if (data[i] == '>') {
                // A whole reply, as the session's own are logged; the rest is nobody's.
                m_eState = EState::idle;
                std::string reply;
                reply.swap(m_strReply);
                Text(reply);
                return;
            }
        }
        return;
    case EState::transfer:
        m_nReceived += static_cast<long long>(size);
        return;
    case EState::idle:
    case EState::quiet:
        return;
    }
}

void CInstrumentSessionLog::Sent(const uint8_t* data, size_t size)
{
    switch (m_eState) {
    case EState::idle:
    case EState::directReply:
    case EState::transfer:
        if (IsCommandLine(data, size)) {
            EndDirect();
            m_strReply.clear();
            m_eState = EState::directReply;
            return;
        }
        if (m_eState == EState::idle)
            return;
        if (m_eState == EState::directReply)
            StartTransfer();
        m_nSent += static_cast<long long>(size);
        for (size_t i = 0; i < size; ++i) {
            m_nAck += data[i] == ymodem::ACK;
            m_nNak += data[i] == ymodem::NAK;
            m_nStart += data[i] == 'C';
            m_nCancel += data[i] == ymodem::CAN;
        }
        return;
    case EState::reply:
    case EState::quiet:
        return;
    }
}

void CInstrumentSessionLog::OnEvent(ETapEvent, int, const CDateTime&)
{
    // A break, a purge, a baud change or the close ends whatever was sent directly.
    EndDirect();
}
