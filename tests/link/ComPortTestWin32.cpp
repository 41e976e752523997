// The COM port backend. Port names, and ports that cannot be opened, need no hardware; the
// rest runs against the port named in TIDEWELL_TEST_COM_PORT ("COM 7"), on whose far end a
// velunit-sim answers (tests/scripts/WineSerialTest.sh sets this up under Wine with a
// pseudo-terminal standing in for the port), and is skipped without it.
#include "link/PortOpener.h"
#include "link/SerialPort.h"
#include "platform/SerialDevice.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{

TEST(PortNamesWindows, ComNumbersAreTheSystemsPortsUnlessAnEntrySendsThemElsewhere)
{
    SettingLookup lookup = [](const std::string& key) -> std::optional<std::string> {
        if (key == "COM1")
            return "/dev/ttyUSB0"; // brought over from Linux: means nothing here
        if (key == "COM2")
            return "\\\\.\\COM9";
        if (key == "COM3")
            return "sim:velunit";
        return std::nullopt;
    };
    EXPECT_EQ(ResolvePortName("COM 1", lookup), "\\\\.\\COM1");
    EXPECT_EQ(ResolvePortName("com2", lookup), "\\\\.\\COM9");
    EXPECT_EQ(ResolvePortName("COM 3", lookup), "sim:velunit");
    EXPECT_EQ(ResolvePortName("COM 12", nullptr), "\\\\.\\COM12");
    EXPECT_EQ(ResolvePortName("\\\\.\\COM4", lookup), "\\\\.\\COM4");
}

TEST(ComStream, PortsThatCannotBeUsedSayWhy)
{
    std::string reason;
    EXPECT_EQ(OpenSerialDevice("\\\\.\\COM219", &reason), nullptr);
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(reason, "in use by another program");
    EXPECT_NE(reason.back(), '\n');

    testsupport::TempDir dir;
    testsupport::WriteFileText(dir / "plain.txt", "not a port");
    EXPECT_EQ(OpenSerialDevice((dir / "plain.txt").string(), &reason), nullptr);
    EXPECT_EQ(reason, "not a serial device");

    CSerialPort port;
    EXPECT_FALSE(port.Open("COM 219", 9600));
    EXPECT_FALSE(port.OpenError().empty());
}

// The port named in the environment, or empty.
std::string TestPort()
{
    const char* name = std::getenv("TIDEWELL_TEST_COM_PORT");
    return name ? name : "";
}

int64_t ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
        .count();
}

TEST(ComStreamOnAPort, ConfigureExclusiveUseWakeTimeOutsAvailableAndPurge)
{
    const std::string name = TestPort();
    if (name.empty())
        GTEST_SKIP() << "TIDEWELL_TEST_COM_PORT names no port with a velunit-sim behind it";
    const std::string device = ResolvePortName(name, nullptr);
    std::string reason;
    auto stream = OpenSerialDevice(device, &reason);
    ASSERT_NE(stream, nullptr) << device << ": " << reason;
    EXPECT_TRUE(stream->Configure(57600));
    EXPECT_FALSE(stream->Configure(12345)); // not a rate the line offers
    EXPECT_EQ(OpenSerialDevice(device, &reason), nullptr);
    EXPECT_EQ(reason, "in use by another program");

    CSerialPort port;
    ASSERT_TRUE(port.Attach(std::move(stream), 9600));
    // The wake-up as the session does it: purge, then the break.
    port.Flush();
    ASSERT_TRUE(port.SendBreak(300));
    std::string banner;
    ASSERT_TRUE(port.ReadUntil(banner, 3000, '>'));
    EXPECT_NE(banner.find("Version:"), std::string::npos) << banner;

    // Silence: a read waits its time-out out, and no longer than it should.
    unsigned char byte = 0;
    auto start = std::chrono::steady_clock::now();
    port.SetTimeouts(300);
    EXPECT_FALSE(port.ReadByte(byte));
    EXPECT_GE(ElapsedMs(start), 250);
    EXPECT_LT(ElapsedMs(start), 2000);
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.ReadByteIfAvailable(byte));
    EXPECT_LT(ElapsedMs(start), 200);

    // An answer is waiting whole before it is read, then read at once.
    ASSERT_TRUE(port.Write("mn?\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const int waiting = port.Available();
    EXPECT_GE(waiting, 5);
    std::string answer;
    ASSERT_TRUE(port.ReadUntil(answer, 1000, '>'));
    EXPECT_EQ(answer.substr(0, 5), "mn?\r\n") << answer;
    EXPECT_EQ(static_cast<int>(answer.size()), waiting);

    // Purge drops what waits.
    ASSERT_TRUE(port.Write("mn?\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_GT(port.Available(), 0);
    port.Flush();
    EXPECT_EQ(port.Available(), 0);
    EXPECT_FALSE(port.ReadByteIfAvailable(byte));
}

} // namespace
