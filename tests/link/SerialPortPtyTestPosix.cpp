// The serial port over real pseudo-terminals (the termios backend). The tests use short
// time-outs: the kernel's line is real.
#include "link/PortOpener.h"
#include "link/SerialPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace
{

// The far end of a pseudo-terminal: the test plays the instrument on the master side.
class PtyPair
{
  public:
    PtyPair()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(m_master, 0);
        EXPECT_EQ(::grantpt(m_master), 0);
        EXPECT_EQ(::unlockpt(m_master), 0);
        m_slavePath = ::ptsname(m_master);
    }
    ~PtyPair() { ::close(m_master); }

    const std::string& SlavePath() const { return m_slavePath; }
    void Send(const std::string& text)
    {
        ASSERT_EQ(::write(m_master, text.data(), text.size()), (ssize_t)text.size());
    }
    std::string Receive(int timeoutMs = 500)
    {
        std::string got;
        pollfd p{m_master, POLLIN, 0};
        while (::poll(&p, 1, timeoutMs) > 0) {
            char buf[256];
            ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, static_cast<size_t>(n));
            timeoutMs = 50;
        }
        return got;
    }

  private:
    int m_master = -1;
    std::string m_slavePath;
};

int64_t ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
        .count();
}

TEST(SerialPortPty, ReadUntilKeepsWhatArrivedAndStopsAtTerminator)
{
    PtyPair pty;
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.SlavePath(), 9600));

    pty.Send("abc>rest");
    std::string text = "kept:";
    EXPECT_TRUE(port.ReadUntil(text, 200, '>'));
    EXPECT_EQ(text, "kept:abc>");

    // "rest" is still waiting; then silence longer than the time-out.
    std::string partial;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.ReadUntil(partial, 150, '>'));
    EXPECT_EQ(partial, "rest");
    EXPECT_GE(ElapsedMs(start), 140);
    EXPECT_EQ(port.Timeout(), 150); // ReadUntil leaves its time-out in force
}

TEST(SerialPortPty, TricklingReplyNeverTimesOut)
{
    PtyPair pty;
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.SlavePath(), 57600));
    const std::string reply = "a reply that trickles in>";
    std::thread writer([&] {
        for (char c : reply) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            pty.Send(std::string(1, c));
        }
    });
    std::string text;
    auto start = std::chrono::steady_clock::now();
    bool ok = port.ReadUntil(text, 120, '>'); // the whole reply takes far longer than 120 ms
    writer.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(text, reply);
    EXPECT_GT(ElapsedMs(start), 120 * 2);
}

TEST(SerialPortPty, WritesReachTheLineWholeAndEmptyWriteSucceeds)
{
    PtyPair pty;
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.SlavePath(), 9600));
    EXPECT_TRUE(port.Write(""));
    EXPECT_TRUE(port.Write("PS0\n"));
    EXPECT_TRUE(port.WriteByte(0x06));
    // Raw mode: no line-feed translation, bytes go as written.
    EXPECT_EQ(pty.Receive(), std::string("PS0\n\x06"));
}

TEST(SerialPortPty, OpenIsExclusive)
{
    PtyPair pty;
    CSerialPort first;
    CSerialPort second;
    ASSERT_TRUE(first.Open(pty.SlavePath(), 9600));
    EXPECT_FALSE(second.Open(pty.SlavePath(), 9600));
    EXPECT_FALSE(second.IsOpen());
    first.Close();
    EXPECT_TRUE(second.Open(pty.SlavePath(), 9600));
}

TEST(SerialPortPty, FlushDropsPendingInputAndAvailableReadNeverWaits)
{
    PtyPair pty;
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.SlavePath(), 9600));
    unsigned char byte = 0;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.ReadByteIfAvailable(byte));
    EXPECT_LT(ElapsedMs(start), 100);

    pty.Send("stale bytes");
    std::this_thread::sleep_for(std::chrono::milliseconds(30)); // let the kernel move them
    ASSERT_TRUE(port.ReadByteIfAvailable(byte));
    EXPECT_EQ(byte, 's');
    port.Flush();
    EXPECT_FALSE(port.ReadByteIfAvailable(byte));

    pty.Send("Z");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_TRUE(port.ReadByteIfAvailable(byte));
    EXPECT_EQ(byte, 'Z');
}

TEST(SerialPortPty, BaudRatesAndBreakOnAnOpenPort)
{
    PtyPair pty;
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty.SlavePath(), 9600));
    EXPECT_TRUE(port.Configure(57600));
    EXPECT_TRUE(port.Configure(19200));
    EXPECT_FALSE(port.Configure(12345)); // not a rate the line offers
    CVirtualClock clock;
    CSerialPort timed(&clock);
    port.Close();
    ASSERT_TRUE(timed.Open(pty.SlavePath(), 9600));
    EXPECT_TRUE(timed.SendBreak(250));
    EXPECT_EQ(clock.NowMs(), 250); // the break is timed on the port's clock
}

TEST(SerialPortClosed, ARegularFileIsNotASerialPort)
{
    char path[] = "/tmp/tidewell-notatty-XXXXXX";
    int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    CSerialPort port;
    EXPECT_FALSE(port.Open(path, 9600));
    ::unlink(path);
}

TEST(PortNames, ComNumbersResolveThroughSettingsElseToTtyS)
{
    SettingLookup lookup = [](const std::string& key) -> std::optional<std::string> {
        if (key == "COM1")
            return "/dev/ttyUSB0";
        return std::nullopt;
    };
    EXPECT_EQ(ResolvePortName("COM 1", lookup), "/dev/ttyUSB0");
    EXPECT_EQ(ResolvePortName("com1", lookup), "/dev/ttyUSB0");
    EXPECT_EQ(ResolvePortName("COM 2", lookup), "/dev/ttyS1");
    EXPECT_EQ(ResolvePortName("COM 12", nullptr), "/dev/ttyS11");
}

} // namespace
