#include "platform/ComStream.h"

#include "platform/Utf8Path.h"
#include "platform/WinApi.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace
{

HANDLE Handle(void* handle)
{
    return static_cast<HANDLE>(handle);
}

// The name of the object that marks a port as held: the device's name without the
// backslashes that object names may not contain, in capitals ("\\.\com3" and "\\.\COM3"
// are one port).
std::wstring MarkerName(const std::string& path)
{
    std::wstring name = L"Local\\Tidewell.SerialPort.";
    for (wchar_t c : PathFromUtf8(path).wstring())
        name += c == L'\\' ? L'_' : static_cast<wchar_t>(::towupper(c));
    return name;
}

bool SupportedBaud(int baud)
{
    switch (baud) {
    case 1200:
    case 2400:
    case 4800:
    case 9600:
    case 19200:
    case 38400:
    case 57600:
    case 115200:
        return true;
    default:
        return false;
    }
}

// Asked of the driver as the size of its queues. It is a recommendation; drivers that keep
// larger buffers of their own keep them.
constexpr DWORD INPUT_QUEUE = 4096;
constexpr DWORD OUTPUT_QUEUE = 2048;

} // namespace

std::unique_ptr<CComStream> CComStream::Open(const std::string& path, std::string* reason)
{
    std::string ignored;
    std::string& why = reason ? *reason : ignored;
    why.clear();
    // No sharing mode: a port that another handle holds cannot be opened again, by this
    // program or any other.
    HANDLE handle = ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        why = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? "in use by another program"
                                                                               : SystemErrorText(error);
        return nullptr;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (::GetFileType(handle) != FILE_TYPE_CHAR || !::GetCommState(handle, &dcb)) {
        why = "not a serial device";
        ::CloseHandle(handle);
        return nullptr;
    }
    // Not every driver refuses a second open (emulated ports, some port-pair drivers): a
    // named object per port keeps out this program's other ports and every other program
    // of ours, as the advisory lock does on POSIX systems.
    HANDLE marker = ::CreateEventW(nullptr, TRUE, FALSE, MarkerName(path).c_str());
    if (!marker || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        why = marker ? "in use by another program" : SystemErrorText(::GetLastError());
        if (marker)
            ::CloseHandle(marker);
        ::CloseHandle(handle);
        return nullptr;
    }
    ::SetupComm(handle, INPUT_QUEUE, OUTPUT_QUEUE);
    return std::unique_ptr<CComStream>(new CComStream(handle, marker));
}

CComStream::~CComStream()
{
    ::CloseHandle(Handle(m_handle));
    ::CloseHandle(Handle(m_marker));
}

bool CComStream::Configure(int baud)
{
    if (!SupportedBaud(baud))
        return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(Handle(m_handle), &dcb))
        return false;
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    // No flow control of any kind; the modem lines are held up, as an open tty holds them.
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    // Every byte as received: no replacement of damaged ones, no dropping of NULs, and an
    // error never stops the port until it is acknowledged.
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!::SetCommState(Handle(m_handle), &dcb))
        return false;
    m_nBaud = baud;
    return true;
}

bool CComStream::SetTimeouts(unsigned long readInterval, unsigned long readMultiplier,
                             unsigned long readConstant, unsigned long writeMultiplier,
                             unsigned long writeConstant)
{
    const unsigned long wanted[5] = {readInterval, readMultiplier, readConstant, writeMultiplier,
                                     writeConstant};
    if (m_bTimeoutsKnown && std::equal(wanted, wanted + 5, m_timeouts))
        return true;
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = readInterval;
    t.ReadTotalTimeoutMultiplier = readMultiplier;
    t.ReadTotalTimeoutConstant = readConstant;
    t.WriteTotalTimeoutMultiplier = writeMultiplier;
    t.WriteTotalTimeoutConstant = writeConstant;
    m_bTimeoutsKnown = ::SetCommTimeouts(Handle(m_handle), &t) != 0;
    if (m_bTimeoutsKnown)
        std::copy(wanted, wanted + 5, m_timeouts);
    return m_bTimeoutsKnown;
}

bool CComStream::ReadByte(unsigned char& byte, int timeoutMs)
{
    if (m_rxPos < m_rxLen) {
        byte = m_rxBuffer[m_rxPos++];
        return true;
    }
    m_rxPos = m_rxLen = 0;
    // First whatever is waiting, at most the buffer's size, in one call: with the interval at
    // MAXDWORD and no total, a read returns at once.
    DWORD got = 0;
    if (!SetTimeouts(MAXDWORD, 0, 0, m_timeouts[3], m_timeouts[4]) ||
        !::ReadFile(Handle(m_handle), m_rxBuffer, sizeof m_rxBuffer, &got, nullptr))
        return false;
    if (got == 0) {
        if (timeoutMs <= 0)
            return false;
        // Nothing yet: wait for one byte, up to the time-out. A read of one byte ends when it
        // comes; a larger read with the "return on the first byte" time-outs would do the
        // same on Windows, but not under every emulation of its drivers.
        if (!SetTimeouts(0, 0, static_cast<unsigned long>(timeoutMs), m_timeouts[3], m_timeouts[4]) ||
            !::ReadFile(Handle(m_handle), m_rxBuffer, 1, &got, nullptr) || got == 0)
            return false;
    }
    m_rxLen = got;
    m_rxPos = 1;
    byte = m_rxBuffer[0];
    return true;
}

int CComStream::QueuedInput()
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(Handle(m_handle), &errors, &status))
        return -1;
    if (errors & CE_BREAK)
        m_bBreakSeen = true;
    return static_cast<int>(status.cbInQue);
}

int CComStream::Available()
{
    const int queued = QueuedInput();
    if (queued < 0)
        return -1;
    return queued + static_cast<int>(m_rxLen - m_rxPos);
}

bool CComStream::Write(const unsigned char* data, size_t size, int timeoutMs, size_t& written)
{
    written = 0;
    if (size == 0)
        return true;
    // A write returns once the driver has sent the bytes, not when it has queued them, so
    // the time the line needs for them (ten bits a byte) comes on top of the caller's wait.
    const unsigned long perByte = static_cast<unsigned long>((10000 + m_nBaud - 1) / m_nBaud);
    if (!SetTimeouts(m_timeouts[0], m_timeouts[1], m_timeouts[2], perByte,
                     static_cast<unsigned long>(timeoutMs < 0 ? 0 : timeoutMs)))
        return false;
    DWORD sent = 0;
    const DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    if (!::WriteFile(Handle(m_handle), data, chunk, &sent, nullptr))
        return false;
    written = sent; // short on a time-out; the caller compares the count
    return true;
}

bool CComStream::SetBreak(bool on)
{
    return (on ? ::SetCommBreak(Handle(m_handle)) : ::ClearCommBreak(Handle(m_handle))) != 0;
}

void CComStream::Purge()
{
    m_rxPos = m_rxLen = 0;
    ::PurgeComm(Handle(m_handle), PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
}

bool CComStream::BreakReceived()
{
    QueuedInput();
    const bool seen = m_bBreakSeen;
    m_bBreakSeen = false;
    return seen;
}
