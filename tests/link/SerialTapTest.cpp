// Taps on the serial port: that they see the whole line, the trace's layout, and the session
// log written from the line, over the simulated unit on a virtual clock.
#include "link/DownloadEngine.h"
#include "link/HexDumpTap.h"
#include "link/InstrumentSession.h"
#include "tests/link/VelunitRig.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace
{

// Keeps what a tap is shown, one text per direction, and the events as words.
class CRecordingTap : public ISerialTap
{
  public:
    void OnBytes(ETapDirection direction, const uint8_t* data, size_t size, const CDateTime&) override
    {
        (direction == ETapDirection::in ? in : out).append(reinterpret_cast<const char*>(data), size);
        ++chunks;
    }
    void OnEvent(ETapEvent event, int value, const CDateTime&) override
    {
        static const char* const kNames[] = {"break", "baud", "purge", "close"};
        events.push_back(std::string(kNames[static_cast<int>(event)]) + " " + std::to_string(value));
    }
    void OnDetached(const CSerialPort&) override { ++detached; }

    std::string in, out;
    std::vector<std::string> events;
    int chunks = 0;
    int detached = 0;
};

// What crossed the simulated line itself, whoever put it there.
struct LineRecord {
    explicit LineRecord(CSimLine& line)
    {
        line.SetMonitor([this](bool toDevice, const unsigned char* data, size_t size) {
            (toDevice ? toUnit : fromUnit).append(reinterpret_cast<const char*>(data), size);
        });
    }
    std::string toUnit, fromUnit;
};

std::vector<unsigned char> Card(size_t size)
{
    std::vector<unsigned char> data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<unsigned char>(i * 7 + 1);
    return data;
}

// A unit with a recorder card, woken, and a download engine on the session.
struct DownloadRig {
    explicit DownloadRig(size_t cardSize) : rig(Config(cardSize)), record(rig.line)
    {
        session.SetStationDirectory(stationDir.Path().string());
    }
    SVelunitConfig Config(size_t cardSize)
    {
        testsupport::WriteFileBytes(cardDir / "card.bin", Card(cardSize));
        SVelunitConfig config;
        config.m_strSiteName = "RIVER_1";
        config.m_strRecorderPath = (cardDir / "card.bin").string();
        return config;
    }
    testsupport::TempDir cardDir;
    testsupport::TempDir stationDir;
    VelunitRig rig;
    LineRecord record;
    CInstrumentSession session{&rig.port};
};

size_t Count(const std::string& text, char c)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), c));
}

TEST(SerialTap, SeesEveryByteBothWaysOfAWakeUpCommandsAndADownload)
{
    DownloadRig d(5000);
    CRecordingTap tap;
    d.rig.port.AddTap(&tap);
    d.rig.port.AddTap(&tap); // once is enough
    ASSERT_TRUE(d.session.WakeUp());
    std::string reply;
    ASSERT_TRUE(d.session.SendCommand("PS0", reply));
    CDownloadEngine engine(d.session);
    ASSERT_TRUE(engine.Download(CDownloadEngine::DOWNLOAD_BAUD)) << engine.FailureDetail();
    reply.clear();
    ASSERT_TRUE(d.session.SendCommand("mn?", reply));

    // Byte for byte what crossed the line, the download's own writes and reads included.
    EXPECT_EQ(tap.out, d.record.toUnit);
    EXPECT_EQ(tap.in, d.record.fromUnit);
    EXPECT_NE(tap.out.find("PS0\nCB 711\nMY\nC"), std::string::npos);
    EXPECT_NE(tap.in.find("Horizontal ADCP"), std::string::npos);
    EXPECT_GE(Count(tap.out, '\x06'), 6u); // an ACK for every block of five, the name and the end
    // Received bytes arrive in chunks, not one call per byte.
    EXPECT_LT(tap.chunks, static_cast<int>(tap.in.size() / 100));
    EXPECT_EQ(tap.events, (std::vector<std::string>{"purge 0", "break 250", "baud 57600", "baud 9600"}));
    // Exactly the announced size: the last block's padding is not data.
    EXPECT_EQ(testsupport::ReadFileBytes(d.stationDir / "RIVER_1.000").size(), 5000u);

    d.rig.port.RemoveTap(&tap);
    EXPECT_EQ(tap.detached, 1);
    d.rig.port.Write("PS0\n");
    EXPECT_EQ(tap.out.size(), d.record.toUnit.size() - 4); // no longer watching
}

TEST(SerialTap, FlushedAndOrientationBytesAreSeenToo)
{
    VelunitRig rig;
    LineRecord record(rig.line);
    CRecordingTap tap;
    rig.port.AddTap(&tap);
    CInstrumentSession session(&rig.port);
    ASSERT_TRUE(session.WakeUp());
    ASSERT_TRUE(session.SendLine("PC2"));
    rig.clock.Advance(3500);
    unsigned char byte = 0;
    std::string stream;
    while (session.ReadAvailableByte(byte))
        stream.push_back(static_cast<char>(byte));
    ASSERT_TRUE(session.SendRaw("c"));
    ASSERT_TRUE(session.WaitForPrompt());
    rig.port.Flush();
    EXPECT_NE(stream.find("Press any key"), std::string::npos);
    EXPECT_EQ(tap.out, record.toUnit);
    EXPECT_EQ(tap.in, record.fromUnit);
    rig.port.Close();
    EXPECT_EQ(tap.events.back(), "close 0");
    rig.port.RemoveTap(&tap); // the tap dies first
}

TEST(HexDumpTap, LayoutOfAKnownExchange)
{
    testsupport::TempDir dir;
    CVirtualClock clock{CDateTime::FromParts(2026, 12, 8, 10, 0, 0)};
    CSimLine line;
    line.SetPump([&](int ms) { clock.Advance(ms); });
    CSerialPort port{&clock};
    {
        CHexDumpTap trace((dir / "line.trace").string());
        ASSERT_TRUE(trace.IsOpen());
        port.AddTap(&trace);
        ASSERT_TRUE(port.Attach(line.TakeHostEnd(), 9600));
        ASSERT_TRUE(port.SendBreak(250));
        ASSERT_TRUE(port.Write("PS0\n"));
        const std::string answer = "PS0\r\nFirmware: 51.40\r\n>";
        line.DeviceWrite(reinterpret_cast<const unsigned char*>(answer.data()), answer.size());
        clock.Advance(12);
        std::string reply;
        ASSERT_TRUE(port.ReadUntil(reply, 1000, '>'));
        const unsigned char binary[] = {0x02, 0x01, 0xfe, 0x00, 0x7f, 0x80, 0xff};
        line.DeviceWrite(binary, sizeof binary);
        EXPECT_TRUE(port.ReadUntil(reply, 1000, 0xff));
        port.Close();
        port.RemoveTap(&trace);
    }
    const std::string expected =
        "2026-12-08T10:00:00.000 --  baud 9600\n"
        "2026-12-08T10:00:00.000 --  break 250 ms\n"
        "2026-12-08T10:00:00.250 >      4  50 53 30 0a                                      |PS0.|\n"
        "2026-12-08T10:00:00.262 <     23  50 53 30 0d 0a 46 69 72 6d 77 61 72 65 3a 20 35  |PS0..Firmware: "
        "5|\n"
        "                                  31 2e 34 30 0d 0a 3e                             |1.40..>|\n"
        "2026-12-08T10:00:00.262 <      7  02 01 fe 00 7f 80 ff                             |.......|\n"
        "2026-12-08T10:00:00.262 --  close\n";
    EXPECT_EQ(testsupport::ReadFileText(dir / "line.trace"), expected);

    EXPECT_EQ(CHexDumpTap::FormatTime(CDateTime::FromParts(2026, 1, 31, 23, 59, 59)),
              "2026-01-31T23:59:59.000");
    EXPECT_EQ(CHexDumpTap::FormatTime(
                  CDateTime(CDateTime::FromParts(2026, 1, 31, 23, 59, 59).m_dt + 0.9996 / 86400.0)),
              "2026-02-01T00:00:00.000"); // rounding to the millisecond carries into the next day
    EXPECT_FALSE(CHexDumpTap((dir / "no-such-folder" / "x").string()).IsOpen());
}

TEST(SessionLog, DownloadLogsMyByItsEchoAndOneLineForTheTransfer)
{
    DownloadRig d(2500);
    const auto path = (d.stationDir / "RIVER_1.log").string();
    ASSERT_TRUE(d.session.OpenLog(path));
    d.session.LogSection("Wakeup");
    ASSERT_TRUE(d.session.WakeUp());
    {
        CDownloadEngine engine(d.session);
        ASSERT_TRUE(engine.Download(CDownloadEngine::DOWNLOAD_BAUD)) << engine.FailureDetail();
    }
    std::string reply;
    ASSERT_TRUE(d.session.SendCommand("PS0", reply));

    const std::string log = testsupport::ReadFileText(path);
    const std::string head =
        "\r\n\r\n\r\n-------------New Session Started: 2026/12/08 10:00:00-------------\r\n\r\n"
        "\r\n\r\n-----Wakeup (2026/12/08 10:00:00)-----\r\n\r\n"
        "CB 711\r\n>MY\r\n[Transfer: ";
    ASSERT_EQ(log.substr(0, head.size()), head) << log;
    // Block 0, three blocks of 1024, the end of file and the closing block 0; "C" asks for
    // block 0, the data and the next file.
    long long received = 0, sent = 0, ack = 0, nak = 0, start = 0, cancel = 0;
    int second = -1, end = 0;
    const size_t at = log.find("[Transfer: ");
    ASSERT_NE(at, std::string::npos) << log;
    ASSERT_EQ(std::sscanf(log.c_str() + at,
                          "[Transfer: %lld bytes received, %lld sent (%lld ACK, %lld NAK, %lld C, %lld CAN), "
                          "ended 2026/12/08 10:00:%d]%n",
                          &received, &sent, &ack, &nak, &start, &cancel, &second, &end),
              7)
        << log;
    EXPECT_EQ(log.substr(at + static_cast<size_t>(end)), "\r\nCB 411\r\n>" + reply);
    EXPECT_EQ(received, 133 + 3 * 1029 + 2 + 133); // the end of file comes twice
    EXPECT_EQ(ack, 6);
    EXPECT_EQ(nak, 1); // the first end of file is answered with NAK
    EXPECT_EQ(start, 3);
    EXPECT_EQ(sent, ack + nak + start + cancel);
    EXPECT_EQ(log.find("Version:"), std::string::npos); // the banner is still not logged
}

TEST(SessionLog, AFailedTransferStillLogsItsCommandAndTheRecovery)
{
    SVelunitConfig config;
    config.m_strSilentFrom = "MY";
    VelunitRig rig(config);
    testsupport::TempDir dir;
    CInstrumentSession session(&rig.port);
    session.SetStationDirectory(dir.Path().string());
    ASSERT_TRUE(session.OpenLog((dir / "Site.log").string()));
    ASSERT_TRUE(session.WakeUp());
    CDownloadEngine engine(session);
    EXPECT_FALSE(engine.Download(CDownloadEngine::DOWNLOAD_BAUD));
    ASSERT_TRUE(engine.ReEstablish());
    const std::string log = testsupport::ReadFileText(dir / "Site.log");
    // The silent unit never echoed "MY": nothing of it is logged, as a command that timed
    // out; the cancel and the wake-up that brought the unit back are not logged either.
    EXPECT_TRUE(log.ends_with("-------------\r\n\r\nCB 711\r\n>")) << log;
}

TEST(SessionLog, SessionOutlivingItsPortIsSafe)
{
    testsupport::TempDir dir;
    auto port = std::make_unique<CSerialPort>();
    CInstrumentSession session(port.get());
    ASSERT_TRUE(session.OpenLog((dir / "Site.log").string()));
    port.reset(); // a controller that opens a new port before it replaces its session
    session.LogText("after|");
    EXPECT_TRUE(testsupport::ReadFileText(dir / "Site.log").ends_with("after|"));
}

} // namespace
