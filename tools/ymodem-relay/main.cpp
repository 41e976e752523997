// ymodem-relay: a noisy cable between a sending program and a receiver, on pseudo-terminals.
// It runs the sender with a terminal of its own, prints the device the receiver is to open,
// and carries bytes both ways, damaging those from the sender on their way:
//
//   ymodem-relay --seed 3 --bit-errors 1e-5 -- sb --ymodem --1k REC.000 &
//   tidewell-tool ymodem-receive /dev/pts/N received/
//
// Faults, all drawn from one seeded generator in the order the bytes pass, so a seed gives
// the same damage to the same stream: bit errors (each bit flipped with the rate), bytes
// dropped, bytes doubled, noise bytes in front of the sender's first byte, and a stall of
// both directions for some seconds once a number of bytes has passed (the sender pausing:
// its data waits, and it hears nothing either). The answers to the sender pass unharmed.
// Ends when the sender has ended and what it sent has been passed on; prints a tally on
// standard error.
#include "tools/ProgramInfo.h"
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{

struct SFaults {
    unsigned long long seed = 1;
    double bitErrors = 0;   // per bit
    double drops = 0;       // per byte
    double doubles = 0;     // per byte
    int noiseBytes = 0;     // in front of the first byte from the sender
    long long stallAt = -1; // bytes from the sender passed before the stall
    double stallSeconds = 0;
};

struct STally {
    long long passed = 0;
    long long flipped = 0;
    long long dropped = 0;
    long long doubled = 0;
    long long naks = 0; // answers from the receiver, for the tally
    long long longestNakRun = 0;
    long long nakRun = 0;
};

void Help(std::FILE* out)
{
    std::fputs("Usage: ymodem-relay [options] -- SENDER [ARGS...]\n"
               "  --seed N              seed of the fault generator (default 1)\n"
               "  --bit-errors RATE     share of bits flipped on the way to the receiver\n"
               "  --drops RATE          share of bytes dropped\n"
               "  --doubles RATE        share of bytes sent twice\n"
               "  --noise N             N random bytes before the sender's first byte\n"
               "  --stall-at BYTES      stop both directions once this many bytes have passed ...\n"
               "  --stall SECONDS       ... for this long\n"
               "  --help                this text\n"
               "  --version             the program's version\n"
               "Prints the receiver's device on the first line of standard output.\n",
               out);
}

void Usage()
{
    Help(stderr);
}

bool OpenPty(int& master, std::string& slavePath)
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return false;
    slavePath = ::ptsname(master);
    return true;
}

// Raw from the start: nothing the relay passes may be echoed or translated before the
// program on the other end gets round to setting its own modes.
bool MakeRaw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

bool WriteAll(int fd, const unsigned char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
            continue;
        }
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

class CDamage
{
  public:
    explicit CDamage(const SFaults& faults) : m_faults(faults), m_random(faults.seed) {}

    // What the receiver gets for these bytes from the sender.
    std::vector<unsigned char> Pass(const unsigned char* data, size_t size, STally& tally)
    {
        std::vector<unsigned char> out;
        out.reserve(size + 16);
        if (!m_bStarted && size > 0) {
            m_bStarted = true;
            for (int i = 0; i < m_faults.noiseBytes; ++i)
                out.push_back(static_cast<unsigned char>(m_random() & 0xFF));
        }
        const double byteErrors = 1.0 - std::pow(1.0 - m_faults.bitErrors, 8.0);
        for (size_t i = 0; i < size; ++i) {
            unsigned char b = data[i];
            ++tally.passed;
            if (m_faults.drops > 0 && Chance(m_faults.drops)) {
                ++tally.dropped;
                continue;
            }
            if (m_faults.bitErrors > 0 && Chance(byteErrors)) {
                b ^= static_cast<unsigned char>(1u << (m_random() % 8));
                ++tally.flipped;
            }
            out.push_back(b);
            if (m_faults.doubles > 0 && Chance(m_faults.doubles)) {
                out.push_back(b);
                ++tally.doubled;
            }
        }
        return out;
    }

  private:
    bool Chance(double rate) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < rate; }

    SFaults m_faults;
    std::mt19937_64 m_random;
    bool m_bStarted = false;
};

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (const int status = AnswerHelpOrVersion(argc, argv, "ymodem-relay", Help); status >= 0)
        return status;
    SFaults faults;
    int first = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            first = i + 1;
            break;
        }
        if (i + 1 >= argc) {
            Usage();
            return 2;
        }
        const char* v = argv[++i];
        if (a == "--seed")
            faults.seed = std::strtoull(v, nullptr, 10);
        else if (a == "--bit-errors")
            faults.bitErrors = std::atof(v);
        else if (a == "--drops")
            faults.drops = std::atof(v);
        else if (a == "--doubles")
            faults.doubles = std::atof(v);
        else if (a == "--noise")
            faults.noiseBytes = std::atoi(v);
        else if (a == "--stall-at")
            faults.stallAt = std::atoll(v);
        else if (a == "--stall")
            faults.stallSeconds = std::atof(v);
        else {
            Usage();
            return 2;
        }
    }
    if (first < 0 || first >= argc) {
        Usage();
        return 2;
    }

    int senderMaster = -1;
    int receiverMaster = -1;
    std::string senderSlave;
    std::string receiverSlave;
    if (!OpenPty(senderMaster, senderSlave) || !OpenPty(receiverMaster, receiverSlave)) {
        std::perror("ymodem-relay: pseudo-terminal");
        return 1;
    }
    // Held open so that the receiver's side keeps its modes and does not hang up between
    // programs; the relay never reads it.
    const int receiverHold = ::open(receiverSlave.c_str(), O_RDWR | O_NOCTTY);
    if (receiverHold < 0 || !MakeRaw(receiverHold)) {
        std::perror("ymodem-relay: receiver's device");
        return 1;
    }

    const pid_t sender = ::fork();
    if (sender == 0) {
        ::setsid();
        const int slave = ::open(senderSlave.c_str(), O_RDWR);
        if (slave < 0 || !MakeRaw(slave))
            ::_exit(126);
        ::dup2(slave, 0);
        ::dup2(slave, 1);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0)
            ::dup2(null, 2);
        ::execvp(argv[first], argv + first);
        ::_exit(127);
    }
    if (sender < 0) {
        std::perror("ymodem-relay: fork");
        return 1;
    }
    std::printf("%s\n", receiverSlave.c_str());
    std::fflush(stdout);

    CDamage damage(faults);
    STally tally;
    bool stalled = false;
    bool stallDone = faults.stallAt < 0 || faults.stallSeconds <= 0;
    double stallEnd = 0;
    bool senderEnded = false;
    int status = 0;
    double quietSince = Now();
    unsigned char buffer[4096];
    for (;;) {
        if (!senderEnded && ::waitpid(sender, &status, WNOHANG) == sender) {
            senderEnded = true;
            quietSince = Now();
        }
        if (stalled && Now() >= stallEnd)
            stalled = false;
        pollfd p[2] = {{senderMaster, POLLIN, 0}, {receiverMaster, POLLIN, 0}};
        const int ready = stalled ? 0 : ::poll(p, 2, 20);
        if (stalled) {
            ::usleep(20000);
            continue;
        }
        if (ready <= 0) {
            // The sender's last bytes have passed and nothing has come for a while.
            if (senderEnded && Now() - quietSince > 1.0)
                break;
            continue;
        }
        quietSince = Now();
        if (p[0].revents & POLLIN) {
            size_t want = sizeof buffer;
            if (!stallDone && faults.stallAt - tally.passed < static_cast<long long>(want))
                want = static_cast<size_t>(std::max<long long>(faults.stallAt - tally.passed, 1));
            const ssize_t n = ::read(senderMaster, buffer, want);
            if (n > 0) {
                const auto out = damage.Pass(buffer, static_cast<size_t>(n), tally);
                if (!WriteAll(receiverMaster, out.data(), out.size()))
                    break;
                if (!stallDone && tally.passed >= faults.stallAt) {
                    stallDone = true;
                    stalled = true;
                    stallEnd = Now() + faults.stallSeconds;
                }
            }
        } else if (p[0].revents & (POLLHUP | POLLERR)) {
            if (senderEnded)
                break;
            ::usleep(10000);
        }
        if (p[1].revents & POLLIN) {
            const ssize_t n = ::read(receiverMaster, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] == 0x15) {
                    ++tally.naks;
                    tally.longestNakRun = std::max(tally.longestNakRun, ++tally.nakRun);
                } else if (buffer[i] == 0x06) {
                    tally.nakRun = 0;
                }
            }
            if (n > 0 && !WriteAll(senderMaster, buffer, static_cast<size_t>(n)))
                break;
        }
    }
    if (!senderEnded) {
        ::kill(sender, SIGTERM);
        ::waitpid(sender, &status, 0);
    }
    std::fprintf(stderr,
                 "ymodem-relay: %lld bytes passed, %lld with a flipped bit, %lld dropped, %lld doubled; "
                 "%lld NAKs, at most %lld in a row; sender %s %d\n",
                 tally.passed, tally.flipped, tally.dropped, tally.doubled, tally.naks, tally.longestNakRun,
                 WIFEXITED(status) ? "exit" : "signal",
                 WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
    ::close(receiverHold);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
