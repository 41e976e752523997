#include "tools/flowcomputer-sim/UnitLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace
{

class CPseudoTerminalLine : public IUnitLine
{
  public:
    explicit CPseudoTerminalLine(int master) : m_master(master) {}
    ~CPseudoTerminalLine() override { ::close(m_master); }
    CPseudoTerminalLine(const CPseudoTerminalLine&) = delete;
    CPseudoTerminalLine& operator=(const CPseudoTerminalLine&) = delete;

    int Read(unsigned char* buffer, size_t size, int timeoutMs) override
    {
        pollfd p{m_master, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready <= 0)
            return 0;
        if (!(p.revents & POLLIN))
            return -1; // a hang-up: nobody has the device open
        const ssize_t n = ::read(m_master, buffer, size);
        return n > 0 ? static_cast<int>(n) : 0;
    }

    void Write(const std::string& bytes) override
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<size_t>(n);
        }
    }

  private:
    int m_master;
};

} // namespace

std::unique_ptr<IUnitLine> OpenPseudoTerminalLine(std::string& device, std::string& error)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        error = std::string("pseudo-terminal: ") + std::strerror(errno);
        if (master >= 0)
            ::close(master);
        return nullptr;
    }
    device = ::ptsname(master);
    return std::make_unique<CPseudoTerminalLine>(master);
}
