#pragma once
// A communications controller on a simulated unit: a station in a temporary site
// directory, a view that records what the operator would see and answers questions from
// a script, and the virtual clock under all of it.
#include "link/CommunicationsController.h"
#include "station/Station.h"
#include "tests/link/VelunitRig.h"
#include "tests/support/TestSupport.h"

#include <deque>
#include <filesystem>
#include <gtest/gtest.h>

class RecordingView : public ICommunicationsView
{
  public:
    void AppendStatus(const std::string& text) override
    {
        status.push_back(text);
        events.push_back("status: " + text);
    }
    void ClearStatus() override { status.clear(); }
    void EnableButtons(bool operations, bool wakeup) override
    {
        operationsEnabled = operations;
        wakeupEnabled = wakeup;
        orientationEnabled = operations;
    }
    void EnableOrientationButton(bool enabled) override { orientationEnabled = enabled; }
    void SetOrientationCaption(const std::string& caption) override { orientationCaption = caption; }
    void SetDownloadCaption(const std::string&) override {}
    void EnableDownloadButton(bool) override {}
    void SetProgress(int) override {}
    void SetField(ECommField field, const std::string& text) override
    {
        fields[static_cast<int>(field)] = text;
    }
    bool AskYesNo(const std::string& question) override
    {
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
        messages.push_back(text);
        events.push_back("message: " + text);
    }
    void SetWaitCursor(bool waiting) override { waitCursor = waiting; }
    void StartTimer() override { timerRunning = true; }
    void StopTimer() override { timerRunning = false; }
    bool AskTimeZoneOffset(int& offset) override
    {
        offeredOffset = offset;
        if (!offsetAnswer)
            return false;
        offset = *offsetAnswer;
        return true;
    }
    bool LaunchRealTimeView(std::unique_ptr<CSerialPort> port) override
    {
        handedPort = std::move(port);
        return launchSucceeds;
    }
    void CloseDialog(int result) override { closedWith = result; }

    std::string Field(ECommField field) const { return fields[static_cast<int>(field)]; }

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
};

struct CommsFixture {
    explicit CommsFixture(SVelunitConfig config = UnitNamed("Mill_Race"),
                          const std::string& siteName = "Mill Race")
        : rig(std::move(config), false)
    {
        station.SetSiteName(siteName);
        station.SetFrequency(3); // the simulated unit reports 1228800 Hz
        std::filesystem::create_directories(StationDir());
        EXPECT_TRUE(station.Save(StationDir() + "/" + siteName + ".hstn"));
        SCommunicationsSetup setup;
        setup.m_pClock = &rig.clock;
        setup.m_strSiteDir = site.Path().string();
        controller = std::make_unique<CCommunicationsController>(station, view, setup);
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
        return testsupport::ReadFileText(StationDir() + "/" + station.GetSiteName() + ".log");
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
    std::unique_ptr<CCommunicationsController> controller;
};
