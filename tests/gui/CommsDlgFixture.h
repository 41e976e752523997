#pragma once
// The "Velunit Communications" window on a simulated unit: a station in a temporary site
// directory, the window's questions answered from a script, and the unit on an in-process
// line pumped on a virtual clock (or on the real one, for the tests that watch time pass).
#include "link/ui/CommunicationsDlg.h"
#include "sim/YmodemSender.h"
#include "tests/gui/GuiFixture.h"
#include "tests/link/VelunitRig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <optional>
#include <thread>

// The usual sender with a real pause before it answers each ACK, so that a transfer takes
// long enough to be seen (and aborted) part-way.
class CPacedTransfer : public IVelunitTransfer
{
  public:
    CPacedTransfer(std::unique_ptr<IVelunitTransfer> inner, int pauseMs)
        : m_inner(std::move(inner)), m_ms(pauseMs)
    {
    }
    void OnByte(unsigned char byte) override
    {
        if (byte == 0x06)
            std::this_thread::sleep_for(std::chrono::milliseconds(m_ms));
        m_inner->OnByte(byte);
    }
    bool Finished() const override { return m_inner->Finished(); }

    static VelunitTransferFactory Factory(int pauseMs)
    {
        VelunitTransferFactory usual = CYmodemSender::Factory();
        return [usual,
                pauseMs](const std::string& name, const std::vector<unsigned char>& data,
                         std::function<void(const std::string&)> send) -> std::unique_ptr<IVelunitTransfer> {
            return std::make_unique<CPacedTransfer>(usual(name, data, std::move(send)), pauseMs);
        };
    }

  private:
    std::unique_ptr<IVelunitTransfer> m_inner;
    int m_ms;
};

class CommsDlgTest : public GuiTest
{
  protected:
    void SetUp() override
    {
        m_station.SetSiteName("Mill Race");
        m_station.SetFrequency(3); // the simulated unit reports 1228800 Hz
        std::filesystem::create_directories(StationDir());
        ASSERT_TRUE(m_station.Save(StationDir() + "/Mill Race.hstn"));
    }

    std::string StationDir() const { return m_station.GetStationDirectory(SiteDir().string()); }
    std::string LogText() const { return testsupport::ReadFileText(StationDir() + "/Mill Race.log"); }

    static SVelunitConfig Unit(const std::string& name = "Mill_Race")
    {
        SVelunitConfig config;
        config.m_strSiteName = name;
        return config;
    }

    // A recorder card holding this many bytes, in a file of the temporary folder.
    std::string RecorderWith(size_t bytes)
    {
        std::string data(bytes, '\0');
        for (size_t i = 0; i < bytes; ++i)
            data[i] = static_cast<char>(i * 7 + 3);
        const auto path = m_temp / "recorder.bin";
        testsupport::WriteFileText(path, data);
        return path.string();
    }

    // The window shown on its own, the opening over.
    std::unique_ptr<CCommunicationsDlg> Show(std::function<bool(CCommunicationsController&)> open,
                                             IClock* clock, const std::string& portName = "COM 3")
    {
        SCommunicationsSetup setup;
        setup.m_pClock = clock;
        setup.m_strSiteDir = SiteDir().string();
        auto dialog = std::make_unique<CCommunicationsDlg>(m_station, portName, setup);
        if (open)
            dialog->SetOpen(std::move(open));
        CCommunicationsDlg::SPrompts prompts;
        prompts.m_ask = [this](const std::string& question) {
            m_questions.push_back(question);
            if (m_answers.empty())
                return false;
            const bool yes = m_answers.front();
            m_answers.pop_front();
            return yes;
        };
        prompts.m_show = [this](const std::string& text) { m_messages.push_back(text); };
        prompts.m_askOffset = [this](int& offset) {
            m_nOffered = offset;
            if (!m_offset)
                return false;
            offset = *m_offset;
            return true;
        };
        if (!m_bWindowsOwnLaunch)
            prompts.m_launch = [this](std::unique_ptr<CSerialPort> port) {
                m_bLaunched = port != nullptr;
                return true;
            };
        dialog->SetPrompts(std::move(prompts));
        dialog->show();
        CCommunicationsDlg* d = dialog.get();
        EXPECT_TRUE(QTest::qWaitFor([d] { return d->IsOpened(); }, 30000));
        return dialog;
    }

    std::unique_ptr<CCommunicationsDlg> Show(VelunitRig& rig)
    {
        return Show([&rig](CCommunicationsController& c) { return c.OpenStream(rig.line.TakeHostEnd()); },
                    &rig.clock);
    }

    static QStringList Lines(std::initializer_list<const char*> lines)
    {
        QStringList out;
        for (const char* line : lines)
            out << QString::fromLatin1(line);
        return out;
    }

    // Which buttons are on, in the order of the window's enumeration.
    static std::vector<bool> Enabled(const CCommunicationsDlg& dialog)
    {
        std::vector<bool> on;
        for (int i = 0; i < CCommunicationsDlg::BUTTON_COUNT; ++i)
            on.push_back(dialog.Button(static_cast<CCommunicationsDlg::EButton>(i))->isEnabled());
        return on;
    }
    static std::vector<bool> AllOn() { return std::vector<bool>(CCommunicationsDlg::BUTTON_COUNT, true); }
    static std::vector<bool> OnlyWakeup()
    {
        std::vector<bool> on(CCommunicationsDlg::BUTTON_COUNT, false);
        on[CCommunicationsDlg::WAKEUP] = true;
        return on;
    }

    static QString Field(const CCommunicationsDlg& dialog, ECommField field)
    {
        return dialog.FieldEdit(field)->text();
    }

    CStation m_station;
    std::vector<std::string> m_questions, m_messages;
    std::deque<bool> m_answers;
    std::optional<int> m_offset;
    int m_nOffered = 0;
    bool m_bLaunched = false;
    bool m_bWindowsOwnLaunch = false; // the hand-over as the window does it, box included
};
