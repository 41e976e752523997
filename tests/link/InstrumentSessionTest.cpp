// The command session: reply framing, the ERR rule, wake-up, the queries' parsing and the
// session log, against scripted replies and against the simulated unit.
#include "link/InstrumentSession.h"
#include "link/TokenList.h"
#include "tests/link/VelunitRig.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

// A line whose far end only says what the test scripted; silence costs virtual time.
struct ScriptedLine {
    ScriptedLine()
    {
        line.SetPump([this](int ms) { clock.Advance(ms); });
        port.Attach(line.TakeHostEnd(), 9600);
    }
    void Say(const std::string& text)
    {
        line.DeviceWrite(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    }
    std::string Heard()
    {
        std::string heard;
        SLineItem item;
        while (line.DevicePoll(item))
            if (item.m_kind == SLineItem::byte)
                heard.push_back(static_cast<char>(item.m_nValue));
        return heard;
    }
    CVirtualClock clock{CDateTime::FromParts(2026, 12, 8, 10, 0, 0)};
    CSimLine line;
    CSerialPort port{&clock};
};

TEST(TokenList, SplitsOnAnyDelimiterWithoutEmptyTokens)
{
    CTokenList tokens;
    tokens.Split("\r\nTS 26/12/08,19:23:00\r\n>", "\r\n /,:.");
    ASSERT_EQ(tokens.Count(), 8);
    EXPECT_EQ(tokens.Get(0), "TS");
    EXPECT_EQ(tokens.Get(6), "00");
    EXPECT_EQ(tokens.Get(7), ">");
    EXPECT_EQ(tokens.Find("TS"), 0);
    EXPECT_EQ(tokens.Find("ts"), -1);
    EXPECT_EQ(tokens.Get(8), "");
    tokens.Split("  \r\n ", "\r\n ");
    EXPECT_EQ(tokens.Count(), 0);
}

TEST(SessionParsing, FrequencyThresholdsAndFirmware)
{
    CSerialPort port;
    CInstrumentSession session(&port);
    auto codeFor = [&](const std::string& hz) {
        EXPECT_TRUE(session.ParseSystem("PS0\r\nFirmware: 51.40\r\nFrequency: " + hz + "\r\n>"));
        return session.FrequencyCode();
    };
    EXPECT_EQ(codeFor("1000000"), 2);
    EXPECT_EQ(codeFor("1000001"), 3);
    EXPECT_EQ(codeFor("600000"), 1);
    EXPECT_EQ(codeFor("600001"), 2);
    EXPECT_EQ(codeFor("1228800"), 3);
    EXPECT_EQ(session.FirmwareVersion(), "51.40");

    CInstrumentSession fresh(&port);
    EXPECT_FALSE(fresh.ParseSystem("PS0\r\nFirmware: 9.1\r\nFrequency:\r\n>"));
    EXPECT_EQ(fresh.FirmwareVersion(), "9.1"); // kept although the frequency failed
    EXPECT_EQ(fresh.FrequencyCode(), -1);
    EXPECT_FALSE(fresh.ParseSystem("PS0\r\nFirmware: 9.1\r\n"));
}

TEST(SessionParsing, ClockRepliesCenturyRangesAndCarry)
{
    CDateTime t;
    ASSERT_TRUE(CInstrumentSession::ParseTime("ts?\r\nTS 79/12/31,23:59:59\r\n>", t));
    EXPECT_EQ(t.Format(), "2079/12/31 23:59:59");
    ASSERT_TRUE(CInstrumentSession::ParseTime("ts?\r\nTS 80/01/01,00:00:00\r\n>", t));
    EXPECT_EQ(t.Format(), "1980/01/01 00:00:00");
    // Minute 60 is accepted and carries into the next hour rather than making a bad stamp.
    ASSERT_TRUE(CInstrumentSession::ParseTime("TS 26/12/08,10:60:00\r\n>", t));
    EXPECT_EQ(t.Format(), "2026/12/08 11:00:00");
    EXPECT_FALSE(CInstrumentSession::ParseTime("TS 26/13/08,10:00:00\r\n>", t));
    EXPECT_FALSE(CInstrumentSession::ParseTime("TS 26/12/00,10:00:00\r\n>", t));
    EXPECT_FALSE(CInstrumentSession::ParseTime("TS 26/12/08,10:61:00\r\n>", t));
    EXPECT_FALSE(CInstrumentSession::ParseTime("TS 26/12/08,10\r\n>", t)); // one token short
    EXPECT_FALSE(CInstrumentSession::ParseTime("ts?\r\n26/12/08,10:00:00\r\n>", t));
}

TEST(SessionCommands, ErrAfterTheFirstCharacterFailsAtTheFirstSucceeds)
{
    ScriptedLine s;
    CInstrumentSession session(&s.port);
    std::string reply;
    s.Say("XY9\r\nERR 001\r\n>");
    EXPECT_FALSE(session.SendCommand("XY9", reply));
    EXPECT_EQ(reply, "XY9\r\nERR 001\r\n>");
    EXPECT_EQ(s.Heard(), "XY9\n");

    reply.clear();
    s.Say("ERR at the start\r\n>");
    EXPECT_TRUE(session.SendCommand("XY9", reply));
    reply.clear();
    s.Say("WN25\r\n>");
    EXPECT_TRUE(session.SendCommand("WN25", reply));
}

TEST(SessionCommands, SilenceFailsAfterTheTimeoutKeepingTheUnloggedPartialReply)
{
    testsupport::TempDir dir;
    ScriptedLine s;
    CInstrumentSession session(&s.port);
    ASSERT_TRUE(session.OpenLog((dir / "Site.log").string()));
    const std::string before = testsupport::ReadFileText(dir / "Site.log");
    s.Say("PA\r\nhalf a rep");
    std::string reply;
    int64_t start = s.clock.NowMs();
    EXPECT_FALSE(session.SendCommand("PA", reply));
    EXPECT_EQ(reply, "PA\r\nhalf a rep");
    EXPECT_EQ(s.clock.NowMs() - start, 5000);
    EXPECT_EQ(testsupport::ReadFileText(dir / "Site.log"), before);
}

TEST(SessionWakeUp, BannerRules)
{
    struct Case {
        const char* name;
        std::string banner;
        bool wakes;
        std::string firmware;
    };
    const Case cases[] = {
        {"with version", "\r\nHorizontal ADCP\r\nVersion: 51.40\r\nmore\r\n>", true, "51.40"},
        {"no version", "\r\nHorizontal ADCP\r\n>", true, ""},
        {"version last but one", "\r\nHorizontal ADCP Version: 51.40", true, ""},
        {"another instrument", "\r\nVertical thing\r\nVersion: 1\r\nx>", false, ""},
        {"no prompt", "\r\nHorizontal ADCP\r\n", false, ""},
    };
    for (const auto& c : cases) {
        ScriptedLine s;
        CInstrumentSession session(&s.port);
        // The banner is said during the break, after the flush.
        s.line.SetPump([&, said = false](int ms) mutable {
            if (!said && ms > 0) { // not while the port is being flushed
                said = true;
                s.Say(c.banner + (c.wakes && c.banner.back() != '>' ? ">" : ""));
            } else {
                s.clock.Advance(ms);
            }
        });
        EXPECT_EQ(session.WakeUp(), c.wakes) << c.name;
        EXPECT_EQ(session.FirmwareVersion(), c.firmware) << c.name;
    }
}

TEST(SessionQueries, AgainstTheSimulatedUnit)
{
    SVelunitConfig config;
    config.m_strSiteName = "Mill_Race";
    config.m_nFrequencyHz = 614400;
    VelunitRig rig(config);
    CInstrumentSession session(&rig.port);
    ASSERT_TRUE(session.WakeUp());
    EXPECT_EQ(session.FirmwareVersion(), "51.40");
    EXPECT_EQ(session.FrequencyCode(), -1);

    std::string firmware, site;
    ASSERT_TRUE(session.GetFirmware(firmware)); // known from the banner already
    EXPECT_EQ(firmware, "51.40");
    EXPECT_TRUE(rig.Sim().Received().empty());
    EXPECT_EQ(session.GetFrequency(), 2);
    EXPECT_EQ(session.GetFrequency(), 2);
    EXPECT_EQ(rig.Sim().Received(), std::vector<std::string>{"PS0"}); // asked once, then cached
    ASSERT_TRUE(session.GetSiteName(site));
    EXPECT_EQ(site, "Mill_Race");

    CDateTime set = CDateTime::FromParts(2027, 3, 4, 5, 6, 7);
    ASSERT_TRUE(session.SetTime(set));
    EXPECT_EQ(rig.Sim().Received().back(), "TS 27/03/04,05:06:07");
    rig.clock.Advance(2000);
    CDateTime now;
    ASSERT_TRUE(session.GetTime(now));
    EXPECT_EQ(now.Format(), "2027/03/04 05:06:09"); // the unit's clock runs on by itself

    EXPECT_FALSE(session.SetTime(CDateTime(0.0, CDateTime::invalid)));
    ASSERT_TRUE(session.Sleep());
    EXPECT_EQ(rig.Sim().State(), CVelunitSimulator::asleep);
    std::string reply;
    EXPECT_FALSE(session.SendCommand("PS0", reply)); // asleep: no answer
    ASSERT_TRUE(session.WakeUp());
    EXPECT_EQ(session.FirmwareVersion(), "51.40");
    ASSERT_TRUE(session.Restart());
    EXPECT_EQ(rig.Sim().State(), CVelunitSimulator::deployed);
}

TEST(SessionLog, LayoutAppendsAcrossSessionsAndNeverStopsTheWork)
{
    testsupport::TempDir dir;
    const auto path = (dir / "My Site.log").string();
    testsupport::WriteFileText(path, "earlier visit\r\n");
    VelunitRig rig;
    {
        CInstrumentSession session(&rig.port);
        ASSERT_TRUE(session.OpenLog(path));
        session.LogSection("Wakeup");
        ASSERT_TRUE(session.WakeUp());
        rig.clock.Advance(1000);
        session.LogSection("System Test");
        std::string reply;
        ASSERT_TRUE(session.SendCommand("CK", reply));
        ASSERT_TRUE(session.Sleep());
    }
    {
        CInstrumentSession second(&rig.port);
        ASSERT_TRUE(second.OpenLog(path));
    }
    const std::string expected =
        "earlier visit\r\n"
        "\r\n\r\n\r\n-------------New Session Started: 2026/12/08 10:00:00-------------\r\n\r\n"
        "\r\n\r\n-----Wakeup (2026/12/08 10:00:00)-----\r\n\r\n"
        "\r\n\r\n-----System Test (2026/12/08 10:00:01)-----\r\n\r\n"
        "CK\r\n[Parameters saved as USER defaults]\r\n>"
        "cz\r\n"
        "\r\n\r\n\r\n-------------New Session Started: 2026/12/08 10:00:01-------------\r\n\r\n";
    // The wake-up took 250 ms of break and the banner's delay; the banner is not logged.
    std::string log = testsupport::ReadFileText(path);
    EXPECT_EQ(log, expected);

    CInstrumentSession nolog(&rig.port);
    EXPECT_FALSE(nolog.OpenLog((dir / "missing-folder" / "x.log").string()));
    EXPECT_FALSE(nolog.IsLogOpen());
    nolog.LogSection("Wakeup");
    EXPECT_TRUE(nolog.WakeUp());
    std::string reply;
    EXPECT_TRUE(nolog.SendCommand("CK", reply));
}

} // namespace

namespace
{

TEST(SessionLog, TwoSessionsOnOneStationBothAppend)
{
    testsupport::TempDir dir;
    const auto path = (dir / "Site.log").string();
    CSerialPort port;
    CInstrumentSession first(&port);
    CInstrumentSession second(&port);
    ASSERT_TRUE(first.OpenLog(path));
    first.LogText("one-a|");
    ASSERT_TRUE(second.OpenLog(path)); // must not cut the first session's lines
    first.LogText("one-b|");
    second.LogText("two-a|");
    const std::string log = testsupport::ReadFileText(path);
    size_t a = log.find("one-a|");
    size_t b = log.find("one-b|");
    size_t c = log.find("two-a|");
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    ASSERT_NE(c, std::string::npos);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c); // each write lands at the end of the file, whoever wrote last
    size_t banners = 0;
    for (size_t at = log.find("New Session Started"); at != std::string::npos;
         at = log.find("New Session Started", at + 1))
        ++banners;
    EXPECT_EQ(banners, 2u);
}

} // namespace
