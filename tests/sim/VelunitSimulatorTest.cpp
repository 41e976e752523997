// The simulated Velunit on its own: fed lines and breaks, watched through what it sends.
#include "sim/VelunitSimulator.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

struct Unit {
    explicit Unit(SVelunitConfig config = {})
        : sim(clock, std::move(config), [this](const std::string& bytes) { out += bytes; })
    {
    }
    // Wakes the unit and forgets the banner.
    void Wake()
    {
        sim.OnBreak();
        clock.Advance(1000);
        sim.Service();
        out.clear();
    }
    std::string Say(const std::string& line)
    {
        out.clear();
        for (char c : line + "\n")
            sim.OnByte(static_cast<unsigned char>(c));
        sim.Service();
        return out;
    }
    void Run(int ms)
    {
        clock.Advance(ms);
        sim.Service();
    }
    CVirtualClock clock{CDateTime::FromParts(2026, 12, 8, 10, 0, 0)};
    std::string out;
    CVelunitSimulator sim;
};

TEST(VelunitSim, SleepsUntilABreakThenShowsTheBannerAndPrompt)
{
    Unit u;
    EXPECT_EQ(u.Say("PS0"), "");
    u.sim.OnBreak();
    u.sim.Service();
    EXPECT_EQ(u.out, ""); // the banner follows the break after a moment
    u.Run(100);
    EXPECT_NE(u.out.find("Horizontal ADCP\r\nVersion: 51.40\r\n"), std::string::npos);
    EXPECT_EQ(u.out.back(), '>');
    EXPECT_EQ(u.Say("cz"), "cz\r\n");
    EXPECT_EQ(u.sim.State(), CVelunitSimulator::asleep);
    EXPECT_EQ(u.Say("PS0"), "");
}

TEST(VelunitSim, EchoesAnswersAndRefuses)
{
    SVelunitConfig config;
    config.m_nFrequencyHz = 307200;
    Unit u(config);
    u.Wake();
    EXPECT_EQ(u.Say("PS0").rfind("PS0\r\nHorizontal ADCP\r\nFirmware: 51.40\r\nFrequency: 307200\r\n", 0),
              0u);
    EXPECT_EQ(u.Say("XY1"), "XY1\r\nERR 001: unknown command\r\n>");
    EXPECT_EQ(u.Say("WN25"), "WN25\r\n>");
    EXPECT_EQ(u.Say("WN0"), "WN0\r\nERR 002: bad parameter\r\n>"); // out of range
    EXPECT_EQ(u.Say("PD7"), "PD7\r\nERR 002: bad parameter\r\n>");
    EXPECT_EQ(u.Say("TP00:00.5"), "TP00:00.5\r\nERR 002: bad parameter\r\n>");
    EXPECT_EQ(u.Say("WN40"), "WN40\r\n>");
    EXPECT_EQ(u.Say("WN?"), "WN?\r\nWN 40\r\n>");
    EXPECT_EQ(u.Say("CR1"), "CR1\r\n[Parameters set to FACTORY defaults]\r\n>");
    EXPECT_EQ(u.sim.Setting("WN"), "25");
    EXPECT_EQ(u.Say(""), "\r\n>");
    EXPECT_EQ(u.Say("MN bad name"), "MN bad name\r\nERR 002: bad parameter\r\n>");
    EXPECT_EQ(u.Say("MN Mill_Race"), "MN Mill_Race\r\n>");
    EXPECT_EQ(u.Say("mn?"), "mn?\r\nMN Mill_Race\r\n>");
    EXPECT_EQ(u.Say("ME erase"), "ME erase\r\nERR 002: bad parameter\r\n>");
}

TEST(VelunitSim, KeepsItsOwnClock)
{
    Unit u;
    u.Wake();
    EXPECT_EQ(u.Say("ts?"), "ts?\r\nTS 26/12/08,10:00:01\r\n>");
    EXPECT_EQ(u.Say("TS 99/01/02,03:04:05"), "TS 99/01/02,03:04:05\r\n>");
    u.Run(61000);
    EXPECT_EQ(u.Say("ts?"), "ts?\r\nTS 99/01/02,03:05:06\r\n>");
    EXPECT_EQ(u.Say("TS 26/02/30,00:00:00"), "TS 26/02/30,00:00:00\r\nERR 002: bad parameter\r\n>");
}

TEST(VelunitSim, OrientationLoopStreamsOnceASecondUntilAKey)
{
    Unit u;
    u.Wake();
    EXPECT_EQ(u.Say("PC2"), "PC2\r\nPress any key to exit the loop.\r\n");
    u.out.clear();
    u.Run(3000);
    ASSERT_EQ(std::count(u.out.begin(), u.out.end(), '\r'), 3);
    EXPECT_EQ(u.out[0], '/');
    u.out.clear();
    u.sim.OnByte('c');
    EXPECT_EQ(u.out, "\r\n>");
    u.Run(3000);
    EXPECT_EQ(u.out, "\r\n>");
    EXPECT_EQ(u.sim.State(), CVelunitSimulator::command);
}

TEST(VelunitSim, DeployedUnitStreamsAndRecordsUntilABreak)
{
    testsupport::TempDir dir;
    SVelunitConfig config;
    config.m_strRecorderPath = (dir / "card.rec").string();
    config.m_nTimeCompression = 10;
    {
        Unit u(config);
        u.Wake();
        u.Say("TE00:00:10.00");
        EXPECT_EQ(u.Say("CS"), "CS\r\n");
        u.out.clear();
        u.Run(999);
        EXPECT_EQ(u.out, "");
        u.Run(1);
        ASSERT_EQ(u.out.size(), 23u + 6 * 25);
        EXPECT_EQ(static_cast<unsigned char>(u.out[0]), 0x8F);
        EXPECT_EQ(u.Say("PS0"), ""); // deployed: deaf to everything but a break
        u.Run(2000);
        EXPECT_EQ(u.sim.Recorder().Bytes().size(), 3u * 173);
        u.Wake();
        u.Run(5000);
        EXPECT_EQ(u.out, "");
        u.Say("PD0");
        u.Say("CS");
        u.out.clear();
        u.Run(1000);
        ASSERT_GE(u.out.size(), 2u);
        EXPECT_EQ(static_cast<unsigned char>(u.out[0]), 0x7F);
        EXPECT_EQ(static_cast<unsigned char>(u.out[1]), 0x7F);
    }
    // The card outlives the run, and ME ErAsE empties it.
    Unit again(config);
    const size_t kept = again.sim.Recorder().Bytes().size();
    EXPECT_GT(kept, 3u * 173);
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "card.rec").size(), kept);
    again.Wake();
    EXPECT_NE(again.Say("PS0").find("Recorder: " + std::to_string(kept) + " bytes used"), std::string::npos);
    EXPECT_EQ(again.Say("ME ErAsE"), "ME ErAsE\r\nRecorder erased.\r\n>");
    EXPECT_TRUE(testsupport::ReadFileBytes(dir / "card.rec").empty());
}

TEST(VelunitSim, ValuesThatDoNotFitACommandMakeItUnknown)
{
    Unit u;
    u.Wake();
    const std::pair<const char*, const char*> cases[] = {
        {"PS1", "PS1\r\nERR 001: unknown command\r\n>"},
        {"PA 1", "PA 1\r\nERR 001: unknown command\r\n>"},
        {"PC1", "PC1\r\nERR 001: unknown command\r\n>"},
        {"cz now", "cz now\r\nERR 001: unknown command\r\n>"},
        {"CK1", "CK1\r\nERR 001: unknown command\r\n>"},
        {"CR2", "CR2\r\nERR 001: unknown command\r\n>"},
        {"MY 1", "MY 1\r\nERR 001: unknown command\r\n>"},
        {"ps?", "ps?\r\nERR 001: unknown command\r\n>"}, // no query form
        {"wn ?", "wn ?\r\nWN 25\r\n>"},                  // any case, spaces before the value
        {"sz", "sz\r\nPressure sensor zeroed\r\n>"},
        {"CR 0", "CR 0\r\n[Parameters set to USER defaults]\r\n>"},
    };
    for (const auto& [line, answer] : cases)
        EXPECT_EQ(u.Say(line), answer) << line;
}

TEST(VelunitSim, BaudChangesAfterTheAnswer)
{
    Unit u;
    u.Wake();
    EXPECT_EQ(u.Say("CB 711"), "CB 711\r\n>");
    EXPECT_EQ(u.sim.Baud(), 57600);
    EXPECT_EQ(u.Say("CB 999"), "CB 999\r\nERR 002: bad parameter\r\n>");
    EXPECT_EQ(u.Say("CB 411"), "CB 411\r\n>");
    EXPECT_EQ(u.sim.Baud(), 9600);
}

TEST(VelunitSim, InjectedFaults)
{
    SVelunitConfig silent;
    silent.m_strSilentFrom = "CK";
    Unit s(silent);
    s.Wake();
    EXPECT_EQ(s.Say("WN25"), "WN25\r\n>");
    EXPECT_EQ(s.Say("CK"), "");
    EXPECT_EQ(s.Say("PS0"), "");
    s.Wake(); // a break cures it
    EXPECT_NE(s.Say("PS0"), "");

    SVelunitConfig err;
    err.m_strErrOn = "WF";
    err.m_strTimeReply = "TS 26/13/08,10:00:00";
    err.m_strSiteName = "Elsewhere";
    Unit e(err);
    e.Wake();
    EXPECT_EQ(e.Say("WF50"), "WF50\r\nERR 010: command refused\r\n>");
    EXPECT_EQ(e.Say("ts?"), "ts?\r\nTS 26/13/08,10:00:00\r\n>");
    EXPECT_EQ(e.Say("mn?"), "mn?\r\nMN Elsewhere\r\n>");

    SVelunitConfig noisy;
    noisy.m_dNoiseRate = 0.5;
    Unit n(noisy);
    n.Wake();
    const std::string clean = "PA\r\nPre-deployment tests";
    EXPECT_NE(n.Say("PA").substr(0, clean.size()), clean);
}

} // namespace
