// Programming the unit: the exact wire sequence, every failure branch with its text, the
// calculation set, and the hand-over of the port to the live view.
#include "tests/present/CommsFixture.h"

#include "station/Station.h"

namespace
{

using Lines = std::vector<std::string>;

const Lines kDefaultWire = {"CR1",        "WP1", "WF50",      "WN25",         "WS100", "TP00:00.50",
                            "TE00003000", "VP3", "EZ1101101", "EX01010",      "ES0",   "CF11110",
                            "CT1",        "MR1", "PD14",      "MN Mill_Race", "CK",    "CS"};

struct ProgramFixture : CommsFixture {
    explicit ProgramFixture(SVelunitConfig config = UnitNamed("Mill_Race"),
                            const std::string& siteName = "Mill Race")
        : CommsFixture(std::move(config), siteName)
    {
        station.GetCommands().RestoreDefaults();
        EXPECT_TRUE(Open());
        EXPECT_EQ(view.status.back(), "Ready");
        sentBefore = rig.Sim().Received().size();
        setsBefore = station.GetCalcSetCount();
    }
    static SVelunitConfig With(const std::string& errOn, const std::string& silentFrom = {})
    {
        SVelunitConfig config = UnitNamed("Mill_Race");
        config.m_strErrOn = errOn;
        config.m_strSilentFrom = silentFrom;
        return config;
    }
    Lines Sent() const { return ReceivedSince(sentBefore); }
    size_t sentBefore = 0;
    int setsBefore = 0;
};

TEST(Program, DefaultListGoesOutInOrderThenIdStoreAndStart)
{
    ProgramFixture f;
    f.view.answers = {false};
    f.controller->Program();
    EXPECT_EQ(f.Sent(), kDefaultWire);
    EXPECT_EQ(f.rig.Sim().State(), CVelunitSimulator::deployed);
    EXPECT_EQ(f.rig.Sim().SiteName(), "Mill_Race");
    EXPECT_EQ(f.rig.Sim().Setting("TP"), "00:00.50");
    EXPECT_EQ(f.station.GetCalcSetCount(), f.setsBefore + 1);
    EXPECT_EQ(f.view.questions,
              (Lines{"Successfully programmed unit, would you like to view real-time data?"}));
    // No to the live view: the dialog stays, not connected.
    EXPECT_EQ(f.view.status, (Lines{"Ready"}));
    EXPECT_FALSE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.wakeupEnabled);
    EXPECT_EQ(f.view.closedWith, -1);
    EXPECT_EQ(f.view.events[f.view.events.size() - 3], "status: Sent Command: PD 14");
    EXPECT_NE(std::find(f.view.events.begin(), f.view.events.end(), "status: Sent Command: TP 00:00.50"),
              f.view.events.end());
    const std::string log = f.LogText();
    size_t section = log.find("-----Program (");
    ASSERT_NE(section, std::string::npos);
    EXPECT_NE(log.find("CR1\r\n[Parameters set to FACTORY defaults]\r\n>", section), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 4), "CS\r\n");
}

TEST(Program, YesHandsThePortToTheLiveViewAndCloses)
{
    ProgramFixture f;
    f.view.answers = {true};
    f.controller->Program();
    ASSERT_TRUE(f.view.handedPort);
    EXPECT_TRUE(f.view.handedPort->IsOpen());
    EXPECT_EQ(f.view.closedWith, 0);
    EXPECT_TRUE(f.view.messages.empty());
    // The deployed unit's ensembles arrive on the handed port.
    f.rig.clock.Advance(31000);
    unsigned char first = 0;
    ASSERT_TRUE(f.view.handedPort->ReadByteIfAvailable(first));
    EXPECT_EQ(first, 0x8F);

    ProgramFixture g;
    g.view.answers = {true};
    g.view.launchSucceeds = false;
    g.controller->Program();
    EXPECT_EQ(g.view.messages, (Lines{"Error, failed to launch real-time view"}));
    EXPECT_EQ(g.view.closedWith, 0);
}

TEST(Program, ErrAnsweredYesIsReportedAsSentAndGoesOn)
{
    ProgramFixture f(ProgramFixture::With("WN"));
    f.view.answers = {true, false};
    f.controller->Program();
    EXPECT_EQ(f.Sent(), kDefaultWire);
    ASSERT_EQ(f.view.questions.size(), 2u);
    EXPECT_EQ(f.view.questions[0],
              "Error, the command \"WN 25\"returned \"WN25\r\nERR 010: command refused\r\n>,\" "
              "do you want to continue anyway?");
    EXPECT_NE(std::find(f.view.events.begin(), f.view.events.end(), "status: Sent Command: WN 25"),
              f.view.events.end());
    EXPECT_EQ(f.station.GetCalcSetCount(), f.setsBefore + 1);
}

TEST(Program, ErrAnsweredNoStopsKeepingTheConnection)
{
    ProgramFixture f(ProgramFixture::With("WN"));
    f.view.answers = {false};
    f.controller->Program();
    EXPECT_EQ(f.Sent(), (Lines{"CR1", "WP1", "WF50", "WN25"}));
    EXPECT_EQ(f.view.status, (Lines{"Sent Command: CR 1", "Sent Command: WP 1", "Sent Command: WF 50",
                                    "Error sending command \"WN 25,\" aborted"}));
    EXPECT_TRUE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.timerRunning);
    EXPECT_EQ(f.station.GetCalcSetCount(), f.setsBefore);
    EXPECT_NE(f.LogText().find("WN25\r\nERR 010"), std::string::npos); // the failing reply is logged
}

TEST(Program, SilenceIsUnrecoverable)
{
    ProgramFixture f(ProgramFixture::With("", "TP"));
    f.controller->Program();
    EXPECT_EQ(f.view.status.back(), "Unrecoverable error when sending command \"TP00:00.50,\" aborted!");
    EXPECT_EQ(f.view.status.size(), 1u); // ResetConnection cleared the sent lines
    EXPECT_FALSE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.wakeupEnabled);
    EXPECT_FALSE(f.view.timerRunning);
    EXPECT_TRUE(f.view.questions.empty());
    EXPECT_EQ(f.station.GetCalcSetCount(), f.setsBefore);
}

TEST(Program, ClosingCommandFailuresEndTheRunWithoutACalculationSet)
{
    struct Case {
        SVelunitConfig config;
        std::string text;
    };
    const Case cases[] = {
        {ProgramFixture::With("MN "), "Error sending \"MN,\" aborted!"},
        {ProgramFixture::With("CK"), "Error sending \"CK,\" aborted!"},
        {ProgramFixture::With("", "CS"), "Error sending \"CS,\" aborted!"},
    };
    for (const auto& c : cases) {
        ProgramFixture f(c.config);
        f.controller->Program();
        EXPECT_EQ(f.view.status, (Lines{c.text})) << c.text;
        EXPECT_FALSE(f.view.operationsEnabled) << c.text;
        EXPECT_TRUE(f.view.wakeupEnabled) << c.text;
        EXPECT_TRUE(f.view.questions.empty()) << c.text;
        EXPECT_EQ(f.station.GetCalcSetCount(), f.setsBefore) << c.text;
    }
}

TEST(Program, NonAsciiSiteNameGoesOutOneUnderscorePerCharacter)
{
    ProgramFixture f(ProgramFixture::UnitNamed("_t_"), "\xc3\x89t\xc3\xa9"); // "Été"
    f.station.GetCommands().Clear();
    f.controller->Program();
    EXPECT_EQ(f.Sent(), (Lines{"MN _t_", "CK", "CS"}));
    EXPECT_EQ(f.rig.Sim().SiteName(), "_t_");
}

TEST(Program, EmptyListAndEmptyRow)
{
    ProgramFixture f;
    f.station.GetCommands().Clear();
    f.controller->Program();
    EXPECT_EQ(f.Sent(), (Lines{"MN Mill_Race", "CK", "CS"}));

    ProgramFixture g;
    CCommandList list;
    list.Clear();
    list.Add("", "");
    list.Add("CT", "1");
    g.station.SetCommands(list);
    g.controller->Program();
    EXPECT_EQ(g.Sent(), (Lines{"", "CT1", "MN Mill_Race", "CK", "CS"}));
    EXPECT_EQ(g.view.events[g.view.events.size() - 4], "status: Sent Command:  ");
}

} // namespace
