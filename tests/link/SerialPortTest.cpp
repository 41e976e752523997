// The serial port over the in-process simulated line, a port that is not there, and port
// names. The real lines are tested per platform (pseudo-terminals, COM ports).
#include "link/SerialPort.h"
#include "link/PortOpener.h"
#include "link/SimLine.h"

#include <gtest/gtest.h>

#include <chrono>

namespace
{

int64_t ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
        .count();
}

TEST(SerialPortClosed, EveryOperationFailsWithoutAnOpenPort)
{
    CSerialPort port;
    EXPECT_FALSE(port.Open("/dev/no-such-serial-device", 9600));
    EXPECT_FALSE(port.IsOpen());
    unsigned char byte = 0;
    std::string text = "x";
    EXPECT_FALSE(port.Configure(9600));
    EXPECT_FALSE(port.SetTimeouts(100));
    EXPECT_FALSE(port.Write("PS0\n"));
    EXPECT_FALSE(port.Write(""));
    EXPECT_FALSE(port.WriteByte('a'));
    EXPECT_FALSE(port.ReadByte(byte));
    EXPECT_FALSE(port.ReadByteIfAvailable(byte));
    EXPECT_FALSE(port.ReadUntil(text, 100, '>'));
    EXPECT_EQ(text, "x");
    EXPECT_FALSE(port.SendBreak(10));
    port.Flush();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST(PortNames, ComNumbersResolveThroughSettings)
{
    SettingLookup lookup = [](const std::string& key) -> std::optional<std::string> {
        if (key == "COM3")
            return "sim:velunit";
        return std::nullopt;
    };
    EXPECT_EQ(ResolvePortName("COM3", lookup), "sim:velunit");
    EXPECT_EQ(ResolvePortName("com 3", lookup), "sim:velunit");
    EXPECT_EQ(ResolvePortName("/dev/pts/4", lookup), "/dev/pts/4");
    int n = 0;
    EXPECT_TRUE(ParseComPortName("COM 12", n));
    EXPECT_EQ(n, 12);
    EXPECT_FALSE(ParseComPortName("COM0", n));
    EXPECT_FALSE(ParseComPortName("COM", n));
    EXPECT_FALSE(ParseComPortName("COM 1x", n));
    EXPECT_FALSE(ParseComPortName("COMPUTER", n));
}

TEST(SimulatedLine, CarriesBytesBreaksAndBaudChanges)
{
    CSimLine line;
    CSerialPort port;
    ASSERT_TRUE(port.Attach(line.TakeHostEnd(), 9600));
    SLineItem item;
    ASSERT_TRUE(line.DevicePoll(item));
    EXPECT_EQ(item.m_kind, SLineItem::baud);
    EXPECT_EQ(item.m_nValue, 9600);

    ASSERT_TRUE(port.Write("ok"));
    ASSERT_TRUE(port.SendBreak(0));
    std::vector<SLineItem::Kind> kinds;
    std::string bytes;
    while (line.DevicePoll(item)) {
        kinds.push_back(item.m_kind);
        if (item.m_kind == SLineItem::byte)
            bytes.push_back(static_cast<char>(item.m_nValue));
    }
    EXPECT_EQ(bytes, "ok");
    EXPECT_EQ(kinds, (std::vector<SLineItem::Kind>{SLineItem::byte, SLineItem::byte, SLineItem::breakOn,
                                                   SLineItem::breakOff}));

    // Once the two ends run at different rates, nothing arrives as it was sent.
    ASSERT_TRUE(port.Configure(57600));
    line.DevicePoll(item);
    const unsigned char reply[] = {'>'};
    line.DeviceWrite(reply, 1);
    unsigned char byte = 0;
    ASSERT_TRUE(port.ReadByte(byte));
    EXPECT_NE(byte, '>');
    line.DeviceSetBaud(57600);
    line.DeviceWrite(reply, 1);
    ASSERT_TRUE(port.ReadByte(byte));
    EXPECT_EQ(byte, '>');
}

TEST(SimulatedLine, PumpedReadTimesOutWithoutRealWaiting)
{
    CSimLine line;
    CVirtualClock clock;
    int pumps = 0;
    line.SetPump([&](int maxWaitMs) {
        ++pumps;
        clock.Advance(maxWaitMs);
    });
    CSerialPort port(&clock);
    ASSERT_TRUE(port.Attach(line.TakeHostEnd(), 9600));
    std::string text;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.ReadUntil(text, 5000, '>'));
    EXPECT_LT(ElapsedMs(start), 1000);
    EXPECT_EQ(clock.NowMs(), 5000);
    EXPECT_EQ(pumps, 1);

    // Purge drops what the instrument has sent and what it has not yet read.
    const unsigned char junk[] = {'x', 'y'};
    line.DeviceWrite(junk, 2);
    ASSERT_TRUE(port.Write("abc"));
    port.Flush();
    unsigned char byte;
    EXPECT_FALSE(port.ReadByteIfAvailable(byte));
    SLineItem item;
    bool sawByte = false;
    while (line.DevicePoll(item))
        sawByte = sawByte || item.m_kind == SLineItem::byte;
    EXPECT_FALSE(sawByte);
}

} // namespace
