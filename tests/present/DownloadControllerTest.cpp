// Whole downloads through the controller, the engine and the session against the simulated
// Velunit on an in-process line, on a virtual clock: what the operator sees, in order, and
// what ends up in the station directory. The transfer runs on the controller's worker; what
// the operator sees runs here, on the test's thread, in lockstep with it.
#include "present/DownloadController.h"
#include "sim/VelunitLineDriver.h"
#include "sim/YmodemSender.h"
#include "tests/present/LockstepDispatcher.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

using testsupport::TempDir;

// Records every call as one line of text; answers the erase question as told.
class CRecordingHost : public IStatusView, public ICommunicationsView, public IDownloadView
{
  public:
    bool eraseAnswer = true;
    std::function<void(int percent)> onProgress;

    void AppendStatus(const std::string& text) override { Add("status " + text); }
    void ClearStatus() override { Add("clear"); }
    void ShowMessage(const std::string& text) override { Add("message " + text); }
    void EnableButtons(bool operations, bool wakeup) override
    {
        Add(std::string("buttons ") + (operations ? "on" : "off") + " " + (wakeup ? "on" : "off"));
    }
    void SetField(ECommField, const std::string& text) override { Add("field " + text); }
    bool AskTimeZoneOffset(int&) override
    {
        Add("time zone");
        return false;
    }
    bool LaunchRealTimeView(std::unique_ptr<CSerialPort>) override
    {
        Add("real-time view");
        return false;
    }
    void CloseDialog(int result) override { Add("close " + std::to_string(result)); }
    void SetDownloadCaption(const std::string& caption) override { Add("caption " + caption); }
    void EnableDownloadButton(bool enabled) override
    {
        Add(std::string("download button ") + (enabled ? "on" : "off"));
    }
    void SetProgress(int percent) override
    {
        Add("progress " + std::to_string(percent));
        if (onProgress)
            onProgress(percent);
    }
    bool AskYesNo(const std::string& question) override
    {
        Add("ask " + question);
        return eraseAnswer;
    }
    void Beep(int hz, int ms) override { Add("beep " + std::to_string(hz) + " " + std::to_string(ms)); }
    SDownloadSteps Steps()
    {
        SDownloadSteps steps;
        steps.m_resetConnection = [this] { Add("reset connection"); };
        steps.m_erase = [this] { Add("erase"); };
        return steps;
    }

    std::vector<std::string> Events() const
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    bool Has(const std::string& event) const
    {
        const auto e = Events();
        return std::find(e.begin(), e.end(), event) != e.end();
    }
    // The events from the first one that starts with the prefix on.
    std::vector<std::string> From(const std::string& prefix) const
    {
        const auto e = Events();
        auto it =
            std::find_if(e.begin(), e.end(), [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
        return std::vector<std::string>(it, e.end());
    }

  private:
    void Add(const std::string& event)
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
    }
    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
};

std::vector<unsigned char> Recording(size_t size)
{
    std::vector<unsigned char> data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<unsigned char>((i * 13 + 5) & 0xFF);
    return data;
}

struct DownloadBench {
    TempDir stationDir;
    TempDir cardDir;
    CSimLine line;
    CVirtualClock clock;
    std::vector<unsigned char> recording;
    std::unique_ptr<CVelunitLineDriver> driver;
    CSerialPort port{&clock};
    std::unique_ptr<CInstrumentSession> session;
    std::unique_ptr<CDownloadEngine> engine;
    CRecordingHost host;
    CLockstepDispatcher dispatcher;
    std::unique_ptr<CDownloadController> controller;

    explicit DownloadBench(size_t size, YmodemSenderFaults faults = {},
                           std::function<void(SVelunitConfig&)> configure = {})
        : recording(Recording(size))
    {
        testsupport::WriteFileBytes(cardDir / "card.bin", recording);
        SVelunitConfig config;
        config.m_strSiteName = "RIVER_1";
        config.m_strRecorderPath = (cardDir / "card.bin").string();
        config.m_transferFactory = CYmodemSender::Factory(faults, &clock);
        if (configure)
            configure(config);
        driver = std::make_unique<CVelunitLineDriver>(line, clock, config);
        EXPECT_TRUE(port.Attach(line.TakeHostEnd(), 9600));
        session = std::make_unique<CInstrumentSession>(&port);
        session->SetStationDirectory(stationDir.Path().string());
        EXPECT_TRUE(session->WakeUp());
        engine = std::make_unique<CDownloadEngine>(*session);
        controller =
            std::make_unique<CDownloadController>(*engine, dispatcher, host, &host, &host, host.Steps());
    }

    // Presses "Download Data" and shows what the worker reports until its end.
    void Run()
    {
        controller->DownloadButton();
        EXPECT_TRUE(controller->IsDownloading());
        while (controller->IsDownloading())
            ASSERT_TRUE(dispatcher.WaitAndRun(20000)) << "the worker went silent";
        for (const auto& thread : dispatcher.Threads())
            EXPECT_EQ(thread, dispatcher.Owner());
    }
    std::vector<unsigned char> Received(const std::string& name = "RIVER_1.000") const
    {
        return testsupport::ReadFileBytes(stationDir / name);
    }
    // The instrument is back at its prompt at 9600 and answers as usual.
    bool InstrumentAnswers()
    {
        std::string reply;
        const bool ok = driver->Simulator().Baud() == 9600 && session->SendCommand("PS0", reply);
        if (!ok)
            ADD_FAILURE() << "instrument at " << driver->Simulator().Baud() << " answered: " << reply;
        return ok;
    }
};

TEST(Download, GoodTransferShowsProgressAndOffersTheErase)
{
    DownloadBench b(2500);
    b.Run();
    const auto e = b.host.Events();
    const std::vector<std::string> start = {"buttons off off",
                                            "status Inititializing download...",
                                            "caption Abort",
                                            "progress 0",
                                            "clear",
                                            "status Transfering RIVER_1.000, 0 of 2500 bytes received",
                                            "status 0 transfer errors",
                                            "download button on"};
    ASSERT_GE(e.size(), start.size());
    EXPECT_EQ(std::vector<std::string>(e.begin(), e.begin() + static_cast<long>(start.size())), start);
    EXPECT_TRUE(b.host.Has("status Transfering RIVER_1.000, 1024 of 2500 bytes received"));
    EXPECT_TRUE(b.host.Has("progress 40"));
    // The padding of the last block is not data: exactly the announced size arrives.
    EXPECT_TRUE(b.host.Has("status Transfering RIVER_1.000, 2500 of 2500 bytes received"));
    EXPECT_TRUE(b.host.Has("status RIVER_1.000 received, 2500 bytes"));
    EXPECT_EQ(b.host.From("caption Download"),
              (std::vector<std::string>{"caption Download", "buttons on on",
                                        "status Transfer completed succesfully",
                                        std::string("ask ") + CDownloadController::ERASE_QUESTION, "erase"}));
    EXPECT_EQ(b.Received(), b.recording);
    EXPECT_FALSE(std::filesystem::exists(b.stationDir / "RIVER_1.000.partial"));
    EXPECT_TRUE(b.InstrumentAnswers());
}

TEST(Download, NoToTheEraseQuestionErasesNothing)
{
    DownloadBench b(100);
    b.host.eraseAnswer = false;
    b.Run();
    EXPECT_TRUE(b.host.Has(std::string("ask ") + CDownloadController::ERASE_QUESTION));
    EXPECT_FALSE(b.host.Has("erase"));
}

TEST(Download, EmptyRecorderKeepsTheBarAtZero)
{
    DownloadBench b(0);
    b.Run();
    EXPECT_TRUE(b.host.Has("status Transfering RIVER_1.000, 0 of 0 bytes received"));
    EXPECT_TRUE(b.host.Has("status Transfer completed succesfully"));
    for (const auto& event : b.host.Events()) {
        if (event.rfind("progress", 0) == 0) {
            EXPECT_EQ(event, "progress 0");
        }
    }
    EXPECT_TRUE(b.Received().empty());
    EXPECT_EQ(CDownloadController::ProgressPercent(512, 0), 0);
    EXPECT_EQ(CDownloadController::ProgressPercent(999, 1000), 99);
    EXPECT_EQ(CDownloadController::ProgressPercent(1024, 1000), 100);
}

TEST(Download, GapOrShortFileIsReportedIncompleteAndNeverOffersTheErase)
{
    YmodemSenderFaults dropped;
    dropped.drop = {2};
    YmodemSenderFaults shortOfAnnounced;
    shortOfAnnounced.announcedSize = 9000;
    const std::pair<YmodemSenderFaults, std::string> cases[] = {
        {dropped, "2048 of 3000 bytes|Transfer incomplete, 2048 of 3000 bytes received, 1 transfer errors"},
        {shortOfAnnounced,
         "3072 of 9000 bytes|Transfer incomplete, 3072 of 9000 bytes received, 0 transfer errors"},
    };
    for (const auto& [faults, lines] : cases) {
        const std::string bytes = lines.substr(0, lines.find('|'));
        const std::string reason = lines.substr(lines.find('|') + 1);
        DownloadBench b(3000, faults);
        b.Run();
        // Where the bytes went comes first, so that the fixed lines stay together.
        EXPECT_EQ(
            b.host.From("status RIVER_1.000: "),
            (std::vector<std::string>{
                "status RIVER_1.000: " + bytes + " kept in RIVER_1.000.partial, RIVER_1.000 not changed",
                "status Download failed: " + reason, "buttons on on", "caption Download", "progress 0"}));
        EXPECT_FALSE(b.host.Has(std::string("ask ") + CDownloadController::ERASE_QUESTION));
        EXPECT_FALSE(b.host.Has("status Transfer completed succesfully"));
        EXPECT_FALSE(b.Received("RIVER_1.000.partial").empty()); // what arrived is kept, apart
        EXPECT_FALSE(std::filesystem::exists(b.stationDir / "RIVER_1.000"));
        EXPECT_TRUE(b.InstrumentAnswers());
    }
}

TEST(Download, SizeNotAnnouncedKeepsEveryByte)
{
    YmodemSenderFaults noSize;
    noSize.noSize = true;
    DownloadBench b(2500, noSize);
    b.Run();
    EXPECT_TRUE(b.host.Has("status Transfering RIVER_1.000, 3072 of 0 bytes received"));
    EXPECT_TRUE(b.host.Has("status Transfer completed succesfully"));
    auto padded = b.recording; // nothing says where the data ends
    padded.resize(3 * 1024, 0x1A);
    EXPECT_EQ(b.Received(), padded);
    ASSERT_EQ(b.engine->Files().size(), 1u);
    EXPECT_EQ(b.engine->Files()[0].Status(), "RIVER_1.000 received, 3072 bytes, size not announced");
}

TEST(Download, AbortStopsAtTheNextBlockAndReestablishes)
{
    DownloadBench b(10 * 1024);
    // Yesterday's copy of the recording, which a failed download must leave alone.
    testsupport::WriteFileText(b.stationDir / "RIVER_1.000", "yesterday");
    int shown = 0;
    b.host.onProgress = [&](int) {
        if (++shown == 3) // block 2 has been shown: the operator presses "Abort"
            b.controller->DownloadButton();
    };
    b.Run();
    EXPECT_TRUE(b.host.Has("status Transfer Aborted!"));
    EXPECT_TRUE(b.host.Has("status Please wait while communications are re-established"));
    EXPECT_EQ(b.host.From("status Download failed"),
              (std::vector<std::string>{"status Download failed: Transfer error",
                                        "status Communications were re-established", "buttons on on",
                                        "caption Download", "progress 0", "beep 600 1000"}));
    // Closed as far as it was written, under a name that is not the recording's.
    EXPECT_EQ(b.Received("RIVER_1.000.partial").size(), 2u * 1024);
    EXPECT_EQ(testsupport::ReadFileText(b.stationDir / "RIVER_1.000"), "yesterday");
    EXPECT_TRUE(b.InstrumentAnswers());
}

TEST(Download, RefusedBaudChange)
{
    DownloadBench b(100, {}, [](SVelunitConfig& c) { c.m_strErrOn = "CB 711"; });
    b.Run();
    EXPECT_TRUE(b.host.Has("status Download failed: Could not set download baud"));
    EXPECT_TRUE(b.host.Has("status Communications were re-established"));
    EXPECT_TRUE(std::filesystem::is_empty(b.stationDir.Path()));
}

TEST(Download, SilentInstrumentIsWokenAgainAtItsNormalRate)
{
    // After "MY" the unit says nothing: the cancel gets no prompt, so the instrument is woken
    // with a break, which brings it back to 9600 while this end still runs at 57600.
    DownloadBench b(100, {}, [](SVelunitConfig& c) { c.m_strSilentFrom = "MY"; });
    b.Run();
    EXPECT_EQ(b.host.From("status Download failed"),
              (std::vector<std::string>{"status Download failed: Transfer error",
                                        "status Communications were re-established", "buttons on on",
                                        "caption Download", "progress 0", "beep 600 1000"}));
    EXPECT_TRUE(b.InstrumentAnswers());
}

TEST(Download, InstrumentFileNameCannotLeaveTheStationDirectory)
{
    DownloadBench b(100, {}, [](SVelunitConfig& c) { c.m_strSiteName = "../outside"; });
    b.Run();
    EXPECT_TRUE(b.host.Has("status Download failed: Transfer error"));
    EXPECT_FALSE(std::filesystem::exists(b.stationDir.Path().parent_path() / "outside.000"));
    EXPECT_TRUE(std::filesystem::is_empty(b.stationDir.Path()));
    EXPECT_TRUE(b.InstrumentAnswers());
}

TEST(Download, NoisyLineStillDeliversTheExactFile)
{
    DownloadBench b(20000, {}, [](SVelunitConfig& c) {
        c.m_dNoiseRate = 0.0002;
        c.m_nNoiseSeed = 7;
    });
    b.Run();
    ASSERT_TRUE(b.host.Has("status Transfer completed succesfully"));
    EXPECT_EQ(b.Received(), b.recording);
}

} // namespace

namespace
{

TEST(Download, FailureReasonNamesEveryFileByItsOutcome)
{
    YmodemFileResult whole{{"A.000", 100, 100, 0, true}, YmodemFileResult::complete, "A.000"};
    YmodemFileResult cut{{"B.000", 1024, 4096, 0, true}, YmodemFileResult::failed, "B.000.partial"};
    YmodemFileResult gap{{"C.000", 2048, 3072, 1, false}, YmodemFileResult::incomplete, "C.000.partial"};
    // Nothing begun, or every file whole: the failure lies elsewhere.
    EXPECT_EQ(CDownloadEngine::OutcomeText({}, true), "Transfer error");
    EXPECT_EQ(CDownloadEngine::OutcomeText({whole}, true), "Transfer error");
    EXPECT_EQ(CDownloadEngine::OutcomeText({whole}, false), "");
    // The first file that went wrong gives the reason, in the download's fixed words.
    EXPECT_EQ(CDownloadEngine::OutcomeText({whole, cut}, true), "Transfer error");
    EXPECT_EQ(CDownloadEngine::OutcomeText({whole, gap, cut}, false),
              "Transfer incomplete, 2048 bytes received, size not announced, 1 transfer errors");
    // Where each file's bytes are, one line a file.
    EXPECT_EQ(whole.Whereabouts(), "A.000 received, 100 bytes");
    EXPECT_EQ(cut.Whereabouts(), "B.000: 1024 of 4096 bytes kept in B.000.partial, B.000 not changed");
    EXPECT_EQ(gap.Whereabouts(),
              "C.000: 2048 bytes kept in C.000.partial, C.000 not changed, size not announced");
}

} // namespace
