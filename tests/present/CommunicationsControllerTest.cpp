// The communications dialog's operations against the simulated unit: what the operator
// sees, what goes over the line, what the station and the session log keep.
#include "tests/present/CommsFixture.h"

#include "station/Station.h"

namespace
{

using Lines = std::vector<std::string>;

TEST(Connect, FullConnectFillsTheDialogAndLogs)
{
    CommsFixture f;
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.view.status, (Lines{"Connected to velunit...", "Ready"}));
    EXPECT_TRUE(f.view.questions.empty());
    EXPECT_TRUE(f.view.messages.empty());
    EXPECT_TRUE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.wakeupEnabled);
    EXPECT_TRUE(f.view.timerRunning);
    EXPECT_FALSE(f.view.waitCursor);
    EXPECT_EQ(f.view.orientationCaption, "Check Orientation");
    EXPECT_EQ(f.view.Field(ECommField::firmware), "51.40");
    EXPECT_EQ(f.view.Field(ECommField::siteName), "Mill_Race");
    EXPECT_EQ(f.view.Field(ECommField::frequency), "1200 KHz");
    EXPECT_EQ(f.view.Field(ECommField::time).substr(0, 14), "2026/12/08 10:");
    EXPECT_EQ(f.ReceivedSince(0), (Lines{"ts?", "mn?", "PS0"}));

    const std::string log = f.LogText();
    EXPECT_EQ(
        log.find("\r\n\r\n\r\n-------------New Session Started: 2026/12/08 10:00:00-------------\r\n\r\n"
                 "\r\n\r\n-----Wakeup (2026/12/08 10:00:00)-----\r\n\r\n"),
        0u);
    EXPECT_NE(log.find("mn?\r\nMN Mill_Race\r\n>"), std::string::npos);
    EXPECT_EQ(log.find("Horizontal ADCP\r\nVersion"), std::string::npos); // the banner is not logged

    // The timer runs the displayed clock on without asking the unit.
    const std::string shown = f.view.Field(ECommField::time);
    size_t asked = f.rig.Sim().Received().size();
    f.controller->Tick();
    EXPECT_EQ(f.view.Field(ECommField::time), CDateTime(f.controller->InstrumentTime()).Format());
    EXPECT_NE(f.view.Field(ECommField::time), shown);
    EXPECT_EQ(f.rig.Sim().Received().size(), asked);
}

TEST(Connect, SilentLineReportsConnectFailed)
{
    SVelunitConfig config = CommsFixture::UnitNamed("Mill_Race");
    config.m_nWakeDelayMs = 6000; // the banner never comes within the time-out
    CommsFixture f(config);
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.view.status,
              (Lines{"Error, connect failed!", "Ensure cable is connected and unit is powered."}));
    EXPECT_FALSE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.wakeupEnabled);
    EXPECT_FALSE(f.view.timerRunning);
}

TEST(Connect, QueryFailuresAndAClockWithMonth13)
{
    for (const char* fault : {"clock", "mn?", "PS0"}) {
        SVelunitConfig config = CommsFixture::UnitNamed("Mill_Race");
        if (std::string(fault) == "clock")
            config.m_strTimeReply = "TS 26/13/08,10:00:00";
        else
            config.m_strSilentFrom = fault;
        CommsFixture f(config);
        ASSERT_TRUE(f.Open());
        EXPECT_EQ(f.view.status,
                  (Lines{"Connected to velunit...", "Error, could not query system information"}))
            << fault;
        EXPECT_FALSE(f.view.operationsEnabled) << fault;
        EXPECT_TRUE(f.view.wakeupEnabled) << fault;
        EXPECT_FALSE(f.view.timerRunning) << fault;
    }
}

TEST(Connect, DifferingFrequencyAnsweredYesAdjustsAndSavesTheStationWithoutTheIdQuestion)
{
    CommsFixture f(CommsFixture::UnitNamed("SOMEWHERE_ELSE"));
    f.station.SetFrequency(1);
    f.station.SetAutoCalc(1);
    ASSERT_TRUE(f.station.Save());
    f.station.GetCommands().SetText("WF", "999");
    f.view.answers = {true};
    ASSERT_TRUE(f.Open());
    ASSERT_EQ(
        f.view.questions,
        (Lines{"Warning, the frequency of the velunit and the station file do not match, would you like to "
               "adjust the station file?"}));
    EXPECT_EQ(f.station.GetFrequency(), 3);
    std::string wfAfter;
    f.station.GetCommands().Find("WF", wfAfter);
    EXPECT_NE(wfAfter, "999"); // the profiling values were worked out again
    CStation reloaded;
    ASSERT_TRUE(reloaded.Load(f.station.GetFilePath()));
    EXPECT_EQ(reloaded.GetFrequency(), 3);
    EXPECT_EQ(f.view.status.back(), "Ready");
    EXPECT_EQ(f.view.closedWith, -1);
}

TEST(Connect, DifferingFrequencyAnsweredNoLeavesTheStation)
{
    CommsFixture f;
    f.station.SetFrequency(2);
    f.view.answers = {false};
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.view.questions.size(), 1u);
    EXPECT_EQ(f.station.GetFrequency(), 2);
    EXPECT_EQ(f.view.status.back(), "Ready");
}

TEST(Connect, DifferingIdAnsweredNoRestartsTheUnitAndClosesTheDialog)
{
    CommsFixture f(CommsFixture::UnitNamed("Other_Site"));
    f.view.answers = {false};
    ASSERT_TRUE(f.Open());
    ASSERT_EQ(f.view.questions,
              (Lines{"Warning, the connected meter has ID \"Other_Site\" but the station is "
                     "configured with ID \"Mill_Race\" are you sure you want to continue?"}));
    EXPECT_EQ(f.ReceivedSince(0).back(), "CS");
    EXPECT_EQ(f.rig.Sim().State(), CVelunitSimulator::deployed);
    EXPECT_EQ(f.view.closedWith, 0);
    EXPECT_TRUE(f.view.messages.empty());
    EXPECT_FALSE(f.view.waitCursor);
}

TEST(Connect, DifferingIdAnsweredYesCarriesOn)
{
    CommsFixture f(CommsFixture::UnitNamed("Other_Site"));
    f.view.answers = {true};
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.view.questions.size(), 1u);
    EXPECT_EQ(f.view.status.back(), "Ready");
    EXPECT_EQ(f.view.closedWith, -1);
}

TEST(Connect, SpacesAndHyphensBecomeUnderscoresInTheId)
{
    CommsFixture f(CommsFixture::UnitNamed("My_Site_1"), "My Site-1");
    ASSERT_TRUE(f.Open());
    EXPECT_TRUE(f.view.questions.empty());
}

TEST(Connect, EachCharacterOfANonAsciiSiteNameIsOneUnderscore)
{
    // "Été" in UTF-8: five bytes, three characters.
    CommsFixture f(CommsFixture::UnitNamed("_t_"), "\xc3\x89t\xc3\xa9");
    ASSERT_TRUE(f.Open());
    EXPECT_TRUE(f.view.questions.empty());
    EXPECT_EQ(f.view.status.back(), "Ready");

    CommsFixture g(CommsFixture::UnitNamed("__t__"), "\xc3\x89t\xc3\xa9");
    g.view.answers = {true};
    ASSERT_TRUE(g.Open());
    ASSERT_EQ(g.view.questions.size(), 1u);
    EXPECT_NE(g.view.questions[0].find("configured with ID \"_t_\""), std::string::npos);
}

TEST(Connect, LogThatCannotBeOpenedIsReportedAndTheWorkGoesOn)
{
    CommsFixture f;
    std::filesystem::remove_all(f.StationDir());
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.view.messages, (Lines{"Error, the log file could not be opened!  File may be in use"}));
    EXPECT_EQ(f.view.status, (Lines{"Connected to velunit...", "Ready"}));
}

TEST(Connect, PortThatCannotBeOpenedClosesTheDialog)
{
    CommsFixture f;
    EXPECT_FALSE(f.controller->OpenPort("/dev/no-such-port"));
    // The fixed text, and the system's reason on a second line.
    EXPECT_EQ(f.view.messages.back(), "Error, could not open /dev/no-such-port!  Please verify port is not "
                                      "in use.\nNo such file or directory");
    EXPECT_FALSE(f.controller->OpenPort(7));
    EXPECT_EQ(f.view.messages.back().rfind("Error, could not COM 7!  Please verify port is not in use.\n", 0),
              0u)
        << f.view.messages.back();
    EXPECT_EQ(f.view.closedWith, 0);
}

TEST(Operations, SystemTestShowsBothRepliesAndFailsOnSilence)
{
    CommsFixture f;
    ASSERT_TRUE(f.Open());
    f.controller->SystemTest();
    ASSERT_EQ(f.view.status.size(), 3u);
    EXPECT_EQ(f.view.status[0].rfind("PA\r\nPre-deployment tests", 0), 0u);
    EXPECT_EQ(f.view.status[1].rfind("PS0\r\nHorizontal ADCP\r\nFirmware: 51.40", 0), 0u);
    EXPECT_EQ(f.view.status[2], "Ready");
    EXPECT_TRUE(f.view.operationsEnabled);
    EXPECT_NE(f.LogText().find("-----System Test (2026/12/08 10:00:"), std::string::npos);

    SVelunitConfig config = CommsFixture::UnitNamed("Mill_Race");
    config.m_strSilentFrom = "PA";
    CommsFixture g(config);
    ASSERT_TRUE(g.Open());
    g.controller->SystemTest();
    EXPECT_EQ(g.view.status, (Lines{"PA test failed"}));
    EXPECT_FALSE(g.view.operationsEnabled);
    EXPECT_FALSE(g.view.timerRunning);
    EXPECT_EQ(g.view.Field(ECommField::firmware), "");
}

TEST(Operations, ZeroPressureAsksFirst)
{
    CommsFixture f;
    ASSERT_TRUE(f.Open());
    size_t before = f.rig.Sim().Received().size();
    f.view.answers = {false};
    f.controller->ZeroPressure();
    EXPECT_EQ(f.rig.Sim().Received().size(), before);
    EXPECT_EQ(f.view.status.back(), "Ready");
    f.view.answers = {true};
    f.controller->ZeroPressure();
    EXPECT_EQ(f.ReceivedSince(before), (Lines{"sz"}));
    EXPECT_EQ(f.view.status, (Lines{"Command successful",
                                    "Choose \"Check Orientation\" to view current pressure", "Ready"}));
    EXPECT_TRUE(f.view.operationsEnabled);
}

TEST(Operations, OrientationStreamShowsTheLastCompletedReadingAndStops)
{
    CommsFixture f;
    ASSERT_TRUE(f.Open());
    f.controller->Orientation();
    EXPECT_TRUE(f.controller->IsOrientationRunning());
    EXPECT_EQ(f.view.orientationCaption, "Stop Test");
    EXPECT_EQ(f.view.status.back(), "Please wait, checking orientation...");
    EXPECT_FALSE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.orientationEnabled);
    EXPECT_TRUE(f.view.wakeupEnabled);

    // The first reading only closes the "Press any key" text, which never shows.
    f.rig.clock.Advance(1000);
    f.controller->Tick();
    EXPECT_EQ(f.view.status.back(), "Please wait, checking orientation...");
    f.rig.clock.Advance(1000);
    f.controller->Tick();
    ASSERT_EQ(f.view.status.size(), 2u) << testing::PrintToString(f.view.status);
    EXPECT_EQ(f.view.status[0], "Temp(degC)  Press(kPa)  Press(m) Pitch(deg) Roll(deg)");
    EXPECT_EQ(f.view.status[1].substr(0, 1), "/");
    EXPECT_NE(f.view.status[1].find("21.3"), std::string::npos);
    EXPECT_EQ(f.view.status[1].find('\r'), std::string::npos);
    f.rig.clock.Advance(3000);
    f.controller->Tick();
    EXPECT_EQ(f.view.status[1].substr(0, 1), "\\"); // the reading completed last

    f.controller->Orientation();
    EXPECT_FALSE(f.controller->IsOrientationRunning());
    EXPECT_EQ(f.view.orientationCaption, "Check Orientation");
    EXPECT_EQ(f.view.status, (Lines{"Ready"}));
    EXPECT_TRUE(f.view.operationsEnabled);
    EXPECT_EQ(f.rig.Sim().State(), CVelunitSimulator::command);
}

TEST(Operations, OrientationStopWithoutPromptLeavesTheErrorAndDisconnects)
{
    CommsFixture f;
    ASSERT_TRUE(f.Open());
    f.controller->Orientation();
    f.rig.Sim().OnBreak(); // the unit restarts behind the dialog's back...
    f.rig.clock.Advance(100);
    f.controller->Tick();
    f.rig.line.SetPump([&](int ms) { f.rig.clock.Advance(ms); }); // ...and then says nothing more
    f.controller->Orientation();
    EXPECT_FALSE(f.controller->IsOrientationRunning());
    EXPECT_EQ(f.view.orientationCaption, "Check Orientation");
    EXPECT_EQ(f.view.status, (Lines{"Error, did not receive prompt!"}));
    EXPECT_FALSE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.wakeupEnabled);
}

TEST(Operations, SetClockAppliesTheOffsetAndKeepsItInTheStation)
{
    CommsFixture f;
    ASSERT_TRUE(f.Open());
    size_t before = f.rig.Sim().Received().size();
    f.controller->SetClock(); // cancelled
    EXPECT_EQ(f.rig.Sim().Received().size(), before);

    f.station.SetTimeZoneOffset(-1);
    f.view.offsetAnswer = 2;
    f.controller->SetClock();
    EXPECT_EQ(f.view.offeredOffset, -1);
    const Lines sent = f.ReceivedSince(before);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].substr(0, 15), "TS 26/12/08,12:"); // ten o'clock plus two hours
    EXPECT_EQ(sent[1], "ts?");
    EXPECT_EQ(f.view.Field(ECommField::time).substr(0, 14), "2026/12/08 12:");
    EXPECT_EQ(f.station.GetTimeZoneOffset(), 2);
    CStation reloaded;
    ASSERT_TRUE(reloaded.Load(f.station.GetFilePath()));
    EXPECT_EQ(reloaded.GetTimeZoneOffset(), 2);
    EXPECT_EQ(f.view.status, (Lines{"Ready"}));
}

TEST(Operations, SetClockFailures)
{
    SVelunitConfig refuses = CommsFixture::UnitNamed("Mill_Race");
    refuses.m_strErrOn = "TS ";
    CommsFixture f(refuses);
    ASSERT_TRUE(f.Open());
    f.view.offsetAnswer = 0;
    f.controller->SetClock();
    EXPECT_EQ(f.view.status, (Lines{"Error, failed to set time"}));
    EXPECT_FALSE(f.view.operationsEnabled);
}

TEST(Operations, SleepDisconnectsAndEraseAsksFirst)
{
    SVelunitConfig config = CommsFixture::UnitNamed("Mill_Race");
    CommsFixture f(config);
    ASSERT_TRUE(f.Open());
    f.view.answers = {false};
    size_t before = f.rig.Sim().Received().size();
    f.controller->EraseData();
    EXPECT_EQ(f.rig.Sim().Received().size(), before);
    f.view.answers = {true};
    f.controller->EraseData();
    EXPECT_EQ(f.ReceivedSince(before), (Lines{"ME ErAsE"}));
    EXPECT_EQ(f.view.status, (Lines{"Recorder card erased"}));

    f.controller->SleepUnit();
    EXPECT_EQ(f.view.status, (Lines{"The unit is in sleep mode", "Disconnected"}));
    EXPECT_EQ(f.rig.Sim().State(), CVelunitSimulator::asleep);
    EXPECT_FALSE(f.view.operationsEnabled);
    EXPECT_TRUE(f.view.wakeupEnabled);
    const std::string log = f.LogText();
    EXPECT_NE(log.find("-----Erase Data ("), std::string::npos);
    EXPECT_NE(log.find("-----Sleep (2026/12/08 10:00:"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 4), "cz\r\n");

    // Asleep: the next operation fails and resets the dialog.
    f.controller->Erase();
    EXPECT_EQ(f.view.status, (Lines{"An error occured while trying to erase the recorder"}));
    // Wakeup brings it back.
    f.controller->Connect();
    EXPECT_EQ(f.view.status.back(), "Ready");
}

} // namespace
