#pragma once
// A communications controller on a simulated unit: a station in a temporary site
// directory, a view that records what the operator would see and answers questions from
// a script, and the virtual clock under all of it. The view keeps the thread of every call:
// all of them must come on the thread that owns the dialog.
#include "platform/Utf8Path.h"
#include "present/CommunicationsController.h"
#include "station/Station.h"
#include "tests/link/VelunitRig.h"
#include "tests/present/LockstepDispatcher.h"
#include "tests/support/TestSupport.h"

#include <atomic>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

class RecordingView : public IStatusView,
                      public ICommunicationsView,
                      public ICommunicationsControls,
                      public IDownloadView
{
  public:
    void AppendStatus(const std::string& text) override
    {
        Seen();
        status.push_back(text);
        events.push_back("status: " + text);
    }
    void ClearStatus() override
    {
        Seen();
        status.clear();
    }
    void EnableButtons(bool operations, bool wakeup) override
    {
        Seen();
        operationsEnabled = operations;
        wakeupEnabled = wakeup;
        orientationEnabled = operations;
    }
    void EnableOrientationButton(bool enabled) override
    {
        Seen();
        orientationEnabled = enabled;
    }
    void SetOrientationCaption(const std::string& caption) override
    {
        Seen();
        orientationCaption = caption;
    }
    void SetDownloadCaption(const std::string& caption) override
    {
        Seen();
        downloadCaption = caption;
    }
    void EnableDownloadButton(bool enabled) override
    {
        Seen();
        downloadEnabled = enabled;
    }
    void SetProgress(int percent) override
    {
        Seen();
        progress = percent;
    }
    void Beep(int hz, int ms) override
    {
        Seen();
        events.push_back("beep " + std::to_string(hz) + " " + std::to_string(ms));
    }
    void SetField(ECommField field, const std::string& text) override
    {
        Seen();
        fields[static_cast<int>(field)] = text;
    }
    bool AskYesNo(const std::string& question) override
    {
        Seen();
        questions.push_back(question);
        events.push_back("ask: " + question);
        if (answers.empty())
            return false;
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowMessage(const std::string& text) override
    {
        Seen();
        messages.push_back(text);
        events.push_back("message: " + text);
    }
    void SetWaitCursor(bool waiting) override
    {
        Seen();
        waitCursor = waiting;
    }
    void StartTimer() override
    {
        Seen();
        timerRunning = true;
    }
    void StopTimer() override
    {
        Seen();
        timerRunning = false;
        ++timerStops;
    }
    bool AskTimeZoneOffset(int& offset) override
    {
        Seen();
        offeredOffset = offset;
        if (!offsetAnswer)
            return false;
        offset = *offsetAnswer;
        return true;
    }
    bool LaunchRealTimeView(std::unique_ptr<CSerialPort> port) override
    {
        Seen();
        handedPort = std::move(port);
        return launchSucceeds;
    }
    void CloseDialog(int result) override
    {
        Seen();
        closedWith = result;
    }

    std::string Field(ECommField field) const { return fields[static_cast<int>(field)]; }
    // Calls that came on another thread than the one that made the view.
    std::atomic<int> foreignCalls{0};

    std::vector<std::string> status; // what the status window shows now
    std::vector<std::string> events; // every line and question, in order
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    std::deque<bool> answers;
    std::string fields[4];
    bool operationsEnabled = false, wakeupEnabled = false, orientationEnabled = false;
    std::string orientationCaption;
    bool waitCursor = false, timerRunning = false;
    std::optional<int> offsetAnswer;
    int offeredOffset = 0;
    bool launchSucceeds = true;
    std::unique_ptr<CSerialPort> handedPort;
    int closedWith = -1;
    std::string downloadCaption;
    bool downloadEnabled = false;
    int progress = -1;
    int timerStops = 0;

  private:
    // Counting from another thread would itself be a race; the count is only read after
    // the worker has ended.
    void Seen()
    {
        if (std::this_thread::get_id() != m_owner)
            ++foreignCalls;
    }
    const std::thread::id m_owner = std::this_thread::get_id();
};

struct CommsFixture {
    explicit CommsFixture(SVelunitConfig config = UnitNamed("Mill_Race"),
                          const std::string& siteName = "Mill Race")
        : rig(std::move(config), false)
    {
        station.SetSiteName(siteName);
        station.SetFrequency(3); // the simulated unit reports 1228800 Hz
        std::filesystem::create_directories(PathFromUtf8(StationDir())); // a site name may be any text
        EXPECT_TRUE(station.Save(StationDir() + PATH_SEPARATOR + siteName + ".hstn"));
        SCommunicationsSetup setup;
        setup.m_pClock = &rig.clock;
        setup.m_strSiteDir = site.Path().string();
        setup.m_pControls = &view;
        setup.m_pDownloadView = &view;
        controller = std::make_unique<CCommunicationsController>(station, view, view, dispatcher, setup);
    }
    static SVelunitConfig UnitNamed(const std::string& name)
    {
        SVelunitConfig config;
        config.m_strSiteName = name;
        return config;
    }
    std::string StationDir() const { return station.GetStationDirectory(site.Path().string()); }
    std::string LogText() const
    {
        return testsupport::ReadFileText(
            PathFromUtf8(StationDir() + PATH_SEPARATOR + station.GetSiteName() + ".log"));
    }
    // Opens the dialog on the simulated line: session, log, Connect.
    bool Open() { return controller->OpenStream(rig.line.TakeHostEnd()); }
    // Commands the unit received since the given count.
    std::vector<std::string> ReceivedSince(size_t from) const
    {
        const auto& all = const_cast<VelunitRig&>(rig).Sim().Received();
        return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
    }

    testsupport::TempDir site;
    CStation station;
    VelunitRig rig;
    RecordingView view;
    CLockstepDispatcher dispatcher;
    std::unique_ptr<CCommunicationsController> controller;
};
