#pragma once
// A site directory in a temporary folder, a settings file naming it, the application
// object and its main frame, and a prompter that answers from a script. The widgets run on
// the offscreen platform.
#include "app/AppPrompter.h"
#include "app/MainFrame.h"
#include "app/StationApp.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <QApplication>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Answers the application's questions from queues and records what it was told.
class CScriptedPrompter : public IAppPrompter
{
  public:
    std::vector<std::string> m_messages, m_questions;
    std::deque<bool> m_answers; // Yes/No, in order; No when empty
    // Each call of the Station Configuration dialog runs the next edit; Cancel when none.
    std::deque<std::function<bool(CStation&, bool isNew)>> m_edits;
    std::vector<std::pair<std::string, std::string>> m_copyProposals;
    std::deque<std::pair<std::string, std::string>> m_copyAnswers; // Cancel when empty

    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
    bool AskYesNo(const std::string& question) override
    {
        m_questions.push_back(question);
        if (m_answers.empty())
            return false;
        const bool yes = m_answers.front();
        m_answers.pop_front();
        return yes;
    }
    bool EditStation(CStation& station, bool isNew) override
    {
        if (m_edits.empty())
            return false;
        auto edit = std::move(m_edits.front());
        m_edits.pop_front();
        return edit(station, isNew);
    }
    bool AskCopyStation(std::string& siteName, std::string& group) override
    {
        m_copyProposals.emplace_back(siteName, group);
        if (m_copyAnswers.empty())
            return false;
        std::tie(siteName, group) = m_copyAnswers.front();
        m_copyAnswers.pop_front();
        return true;
    }
};

class GuiTest : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_gui";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv); // lives for the whole test program
        }
    }

    std::filesystem::path SiteDir() const { return m_temp.Path() / "site"; }
    std::filesystem::path ConfigPath() const { return m_temp.Path() / "tidewell.conf"; }

    // Writes the settings file naming the site directory (created unless told otherwise).
    void WriteConfig(bool createSiteDir = true)
    {
        if (createSiteDir)
            std::filesystem::create_directories(SiteDir());
        testsupport::WriteFileText(ConfigPath(), "StationDir=" + SiteDir().string() + "\n");
    }

    // A station file at <site>/<group>/<name>/<name>.hstn.
    std::filesystem::path MakeStation(const std::string& name, const std::string& group = {},
                                      const std::function<void(CStation&)>& adjust = {})
    {
        CStation station(CDateTime::FromParts(2006, 1, 2, 3, 4, 5));
        station.SetSiteName(name);
        station.SetGroup(group);
        if (adjust)
            adjust(station);
        std::filesystem::path dir = SiteDir();
        if (!group.empty())
            dir /= group;
        dir /= name;
        std::filesystem::create_directories(dir);
        const auto file = dir / (name + ".hstn");
        EXPECT_TRUE(station.Save(file.string()));
        return file;
    }

    // The application and its frame, started as the program starts.
    void Start()
    {
        m_app = std::make_unique<CStationApp>(CSettingsStore(ConfigPath()));
        m_frame = std::make_unique<CMainFrame>(*m_app);
        m_frame->SetPrompter(&m_prompter);
        m_frame->StartUp(1280);
    }

    void TearDown() override
    {
        m_frame.reset();
        m_app.reset();
    }

    testsupport::TempDir m_temp;
    CScriptedPrompter m_prompter;
    std::unique_ptr<CStationApp> m_app;
    std::unique_ptr<CMainFrame> m_frame;
};
