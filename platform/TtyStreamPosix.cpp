#include "platform/TtyStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/serial.h>
#endif

namespace
{

bool BaudToSpeed(int baud, speed_t& speed)
{
    switch (baud) {
    case 1200:
        speed = B1200;
        return true;
    case 2400:
        speed = B2400;
        return true;
    case 4800:
        speed = B4800;
        return true;
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    default:
        return false;
    }
}

// Waits for the descriptor to become ready for the given events; false on time-out,
// hang-up or error. EINTR restarts the wait with the full time-out, which only lengthens
// a wait that a signal interrupted.
bool WaitReady(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        int r = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        return (p.revents & events) != 0;
    }
}

} // namespace

std::unique_ptr<CTtyStream> CTtyStream::Open(const std::string& path, std::string* reason)
{
    std::string ignored;
    std::string& why = reason ? *reason : ignored;
    why.clear();
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        why = std::strerror(errno);
        return nullptr;
    }
    if (!::isatty(fd)) {
        why = "not a serial device";
        ::close(fd);
        return nullptr;
    }
    // Exclusive use: the advisory lock keeps out every cooperating program (and a second
    // port object in this one), TIOCEXCL keeps out plain opens by non-privileged programs.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        why = errno == EWOULDBLOCK ? "in use by another program" : std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        why = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    auto stream = std::unique_ptr<CTtyStream>(new CTtyStream(fd));
    stream->BreakReceived(); // only breaks from now on count
    return stream;
}

CTtyStream::~CTtyStream()
{
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd); // also drops the advisory lock
}

bool CTtyStream::Configure(int baud)
{
    // Linux offers no way to size the driver's queues (the 2048-byte request of the
    // original platform); its own buffers are at least that large, so nothing is asked.
    speed_t speed;
    if (!BaudToSpeed(baud, speed))
        return false;
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0)
        return false;
    return ::tcsetattr(m_fd, TCSANOW, &t) == 0;
}

bool CTtyStream::ReadByte(unsigned char& byte, int timeoutMs)
{
    if (m_rxPos < m_rxLen) {
        byte = m_rxBuffer[m_rxPos++];
        return true;
    }
    if (!WaitReady(m_fd, POLLIN, timeoutMs))
        return false;
    for (;;) {
        // The descriptor is non-blocking: this takes whatever the driver holds, at most
        // the buffer's size, and never waits.
        ssize_t n = ::read(m_fd, m_rxBuffer, sizeof m_rxBuffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        m_rxLen = static_cast<size_t>(n);
        m_rxPos = 1;
        byte = m_rxBuffer[0];
        return true;
    }
}

int CTtyStream::Available()
{
    int count = 0;
    if (::ioctl(m_fd, FIONREAD, &count) != 0)
        return -1;
    return count + static_cast<int>(m_rxLen - m_rxPos);
}

bool CTtyStream::Write(const unsigned char* data, size_t size, int timeoutMs, size_t& written)
{
    written = 0;
    while (written < size) {
        ssize_t n = ::write(m_fd, data + written, size - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The driver's queue is full: give the line the write time-out to drain.
            if (!WaitReady(m_fd, POLLOUT, timeoutMs))
                return true; // a short write; the caller compares the count
            continue;
        }
        return false;
    }
    return true;
}

bool CTtyStream::SetBreak(bool on)
{
    return ::ioctl(m_fd, on ? TIOCSBRK : TIOCCBRK) == 0;
}

void CTtyStream::Purge()
{
    m_rxPos = m_rxLen = 0;
    ::tcflush(m_fd, TCIOFLUSH);
}

bool CTtyStream::BreakReceived()
{
#ifdef __linux__
    // The driver counts the breaks it has seen (a pseudo-terminal keeps no counts and refuses).
    serial_icounter_struct counts{};
    if (::ioctl(m_fd, TIOCGICOUNT, &counts) != 0)
        return false;
    const bool seen = m_nBreaks >= 0 && counts.brk != m_nBreaks;
    m_nBreaks = counts.brk;
    return seen;
#else
    return false;
#endif
}
