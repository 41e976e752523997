#include "sim/VelunitPtyServer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

CVelunitPtyServer::CVelunitPtyServer(IClock& clock, SVelunitConfig config) : m_clock(clock)
{
    m_pSim = std::make_unique<CVelunitSimulator>(clock, std::move(config),
                                                 [this](const std::string& bytes) { Write(bytes); });
}

CVelunitPtyServer::~CVelunitPtyServer()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool CVelunitPtyServer::Open(std::string& error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        error = "cannot name the pseudo-terminal";
        return false;
    }
    m_strSlavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    int one = 1;
    if (m_slave < 0 || ::ioctl(m_master, TIOCPKT, &one) != 0) {
        error = std::string("cannot set up the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    // Raw from the start: a program that writes before configuring must not see its bytes
    // echoed or translated.
    termios t{};
    if (::tcgetattr(m_slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(m_slave, TCSANOW, &t);
    }
    return true;
}

void CVelunitPtyServer::Write(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else {
            return; // the line is gone; what was not sent is lost as on a pulled cable
        }
    }
}

bool CVelunitPtyServer::RunOnce(int maxWaitMs)
{
    if (m_bBreakRequested.exchange(false))
        m_pSim->OnBreak();
    int64_t due = m_pSim->NextDueMs();
    int64_t wait = due == CVelunitSimulator::kNever
                       ? maxWaitMs
                       : std::clamp<int64_t>(due - m_clock.NowMs(), 0, maxWaitMs);
    pollfd p{m_master, POLLIN, 0};
    int r = ::poll(&p, 1, static_cast<int>(wait));
    if (r < 0 && errno != EINTR)
        return false;
    if (r > 0 && (p.revents & POLLIN)) {
        unsigned char buf[512];
        ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            if (buf[0] == TIOCPKT_DATA) {
                for (ssize_t i = 1; i < n; ++i)
                    m_pSim->OnByte(buf[i]);
            } else if (buf[0] & (TIOCPKT_FLUSHREAD | TIOCPKT_FLUSHWRITE)) {
                ++m_nFlushes;
                if (m_bFlushWakesDeployed || m_pSim->State() != CVelunitSimulator::deployed)
                    m_pSim->OnBreak();
            }
        }
    }
    m_pSim->Service();
    return true;
}

void CVelunitPtyServer::Run(const std::atomic<bool>& stop)
{
    while (!stop.load())
        if (!RunOnce(100))
            return;
}
