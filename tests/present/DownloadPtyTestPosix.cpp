// A whole download over a pseudo-terminal: the program's serial port on the slave device,
// the simulated Velunit with the batch sender on the master, in real time.
#include "present/DownloadController.h"
#include "sim/VelunitSimulator.h"
#include "sim/YmodemSender.h"
#include "tests/link/YmodemPty.h"
#include "tests/present/LockstepDispatcher.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <thread>

namespace
{

// Serves the simulated unit on the master side of a pseudo-terminal from its own thread.
// A break cannot cross a pseudo-terminal, so the unit starts awake at its prompt.
class CPtyVelunit
{
  public:
    CPtyVelunit(SVelunitConfig config)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        m_slave = ::ptsname(m_master);
        m_sim = std::make_unique<CVelunitSimulator>(CSystemClock::Instance(), std::move(config),
                                                    [this](const std::string& bytes) { Write(bytes); });
        m_sim->OnBreak();
        m_thread = std::thread([this] { Run(); });
    }
    ~CPtyVelunit()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_master >= 0)
            ::close(m_master);
    }
    const std::string& SlavePath() const { return m_slave; }
    // The unit's thread records its rate after it has answered; give it a moment to.
    int Baud() const
    {
        for (int i = 0; i < 100 && m_baud.load() != 9600; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return m_baud.load();
    }

  private:
    void Write(const std::string& bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<size_t>(n);
        }
    }
    void Run()
    {
        while (!m_stop) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 5) > 0 && (p.revents & POLLIN)) {
                unsigned char buffer[512];
                const ssize_t n = ::read(m_master, buffer, sizeof buffer);
                for (ssize_t i = 0; i < n; ++i)
                    m_sim->OnByte(buffer[i]);
            } else if (p.revents & (POLLHUP | POLLERR)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            m_sim->Service();
            m_baud.store(m_sim->Baud());
        }
    }

    int m_master = -1;
    std::string m_slave;
    std::unique_ptr<CVelunitSimulator> m_sim;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_baud{9600};
    std::thread m_thread;
};

class CCountingHost : public IStatusView, public IDownloadView
{
  public:
    std::atomic<int> progressCalls{0};
    std::atomic<bool> completed{false};
    std::atomic<bool> erased{false};
    std::function<void()> onProgress;
    std::mutex mutex;
    std::vector<std::string> statuses;
    int clears = 0;
    int beeps = 0;
    std::string caption;
    bool abortEnabled = false;

    void AppendStatus(const std::string& text) override
    {
        std::lock_guard lock(mutex);
        statuses.push_back(text);
    }
    void ClearStatus() override { ++clears; }
    void ShowMessage(const std::string& text) override { AppendStatus(text); }
    void SetDownloadCaption(const std::string& text) override { caption = text; }
    void EnableDownloadButton(bool enabled) override { abortEnabled = enabled; }
    void Beep(int, int) override { ++beeps; }
    void SetProgress(int) override
    {
        ++progressCalls;
        if (onProgress)
            onProgress();
    }
    bool AskYesNo(const std::string&) override
    {
        completed = true;
        return true;
    }
};

struct PtyDownload {
    testsupport::TempDir stationDir;
    testsupport::TempDir cardDir;
    std::vector<unsigned char> recording;
    std::unique_ptr<CPtyVelunit> unit;
    CSerialPort port;
    std::unique_ptr<CInstrumentSession> session;
    std::unique_ptr<CDownloadEngine> engine;
    CCountingHost host;

    explicit PtyDownload(size_t size) : recording(size)
    {
        for (size_t i = 0; i < size; ++i)
            recording[i] = static_cast<unsigned char>((i * 31) >> 3);
        testsupport::WriteFileBytes(cardDir / "card.bin", recording);
        SVelunitConfig config;
        config.m_strSiteName = "WEIR";
        config.m_strRecorderPath = (cardDir / "card.bin").string();
        config.m_transferFactory = CYmodemSender::Factory();
        unit = std::make_unique<CPtyVelunit>(config);
        EXPECT_TRUE(port.Open(unit->SlavePath(), 9600));
        session = std::make_unique<CInstrumentSession>(&port);
        session->SetStationDirectory(stationDir.Path().string());
        EXPECT_TRUE(session->WaitForPrompt()); // the banner of the unit that just woke
        engine = std::make_unique<CDownloadEngine>(*session);
    }
    void Run()
    {
        CLockstepDispatcher dispatcher;
        SDownloadSteps steps;
        steps.m_erase = [this] { host.erased = true; };
        CDownloadController controller(*engine, dispatcher, host, nullptr, &host, std::move(steps));
        controller.DownloadButton();
        while (controller.IsDownloading())
            ASSERT_TRUE(dispatcher.WaitAndRun(20000)) << "the worker went silent";
        EXPECT_EQ(host.caption, CDownloadController::DOWNLOAD_CAPTION);
        EXPECT_EQ(host.beeps, 1);
    }
};

TEST(DownloadPty, WholeDownloadOverAPseudoTerminal)
{
    PtyDownload d(100000);
    d.Run();
    EXPECT_TRUE(d.host.completed);
    EXPECT_TRUE(d.host.erased);
    EXPECT_GE(d.host.progressCalls.load(), 98);
    EXPECT_EQ(testsupport::ReadFileBytes(d.stationDir / "WEIR.000"), d.recording);
    EXPECT_EQ(d.unit->Baud(), 9600);
    std::string reply;
    EXPECT_TRUE(d.session->SendCommand("PS0", reply));
}

TEST(DownloadPty, AbortOverAPseudoTerminalReestablishes)
{
    PtyDownload d(200000);
    CDownloadEngine* engine = d.engine.get();
    d.host.onProgress = [&] {
        if (d.host.progressCalls == 10)
            engine->Abort();
    };
    d.Run();
    EXPECT_FALSE(d.host.completed);
    {
        std::lock_guard lock(d.host.mutex);
        const auto& s = d.host.statuses;
        EXPECT_NE(std::find_if(s.begin(), s.end(),
                               [](const std::string& line) {
                                   return line.rfind("WEIR.000: ", 0) == 0 &&
                                          line.find(" kept in WEIR.000.partial, WEIR.000 not changed") !=
                                              std::string::npos;
                               }),
                  s.end());
        EXPECT_NE(std::find(s.begin(), s.end(), "Download failed: Transfer error"), s.end());
        EXPECT_NE(std::find(s.begin(), s.end(), "Communications were re-established"), s.end());
    }
    EXPECT_TRUE(std::filesystem::exists(d.stationDir / "WEIR.000.partial"));
    EXPECT_FALSE(std::filesystem::exists(d.stationDir / "WEIR.000"));
    EXPECT_EQ(d.unit->Baud(), 9600);
    std::string reply;
    EXPECT_TRUE(d.session->SendCommand("PS0", reply)) << reply;
}

} // namespace
