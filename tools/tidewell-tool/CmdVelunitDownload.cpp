// velunit download: wakes the Velunit on a port and copies its recorded file into the
// station directory (the folder of the station file), as "Download Data" does, optionally
// erasing the recorder card after a good transfer.
#include "platform/StandardStreams.h"
#include "present/DownloadController.h"
#include "present/QueueDispatcher.h"
#include "tools/tidewell-tool/StationArg.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace
{

// The operator's side of the download on a terminal: status lines on standard output, the
// progress as one line redrawn on standard error when that is a terminal.
class CTerminalDownloadHost : public IStatusView
{
  public:
    CTerminalDownloadHost(CInstrumentSession& session, bool erase) : m_session(session), m_bErase(erase) {}

    void AppendStatus(const std::string& text) override
    {
        // ShowProgress clears the status and writes the two progress lines: those become
        // the redrawn progress line.
        if (m_nProgressLines > 0) {
            m_strProgress += (m_nProgressLines == 2 ? "" : ", ") + text;
            if (--m_nProgressLines == 0 && m_bTerminal) {
                std::fprintf(stderr, "\r%s\033[K", m_strProgress.c_str());
                std::fflush(stderr);
                m_bProgressShown = true;
            }
            return;
        }
        EndProgressLine();
        std::cout << text << std::endl;
        const std::string prefix = "Download failed: ";
        if (text.rfind(prefix, 0) == 0)
            m_strFailure = text.substr(prefix.size());
    }
    void ClearStatus() override
    {
        m_nProgressLines = 2;
        m_strProgress.clear();
    }
    bool AskYesNo(const std::string& question) override
    {
        EndProgressLine();
        std::cout << question << (m_bErase ? " yes" : " no") << std::endl;
        m_bCompleted = true;
        return m_bErase;
    }
    void ShowMessage(const std::string& text) override
    {
        EndProgressLine();
        std::cout << text << std::endl;
    }
    void Erase()
    {
        std::string reply;
        m_bErased = m_session.SendCommand("ME ErAsE", reply);
        std::cout << (m_bErased ? "Recorder card erased"
                                : "An error occured while trying to erase the recorder")
                  << std::endl;
    }

    bool Completed() const { return m_bCompleted; }
    bool EraseFailed() const { return m_bErase && m_bCompleted && !m_bErased; }
    const std::string& Failure() const { return m_strFailure; }

  private:
    void EndProgressLine()
    {
        if (m_bProgressShown)
            std::fputs("\n", stderr);
        m_bProgressShown = false;
    }

    CInstrumentSession& m_session;
    bool m_bErase;
    bool m_bTerminal = StandardErrorIsTerminal();
    int m_nProgressLines = 0;
    std::string m_strProgress;
    bool m_bProgressShown = false;
    bool m_bCompleted = false;
    bool m_bErased = false;
    std::string m_strFailure;
};

int RunVelunitDownload(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station", "--port"}, {"--erase"});
    if (!parsed.Positional().empty() || !parsed.Has("--station") || !parsed.Has("--port"))
        throw UsageError{"--station and --port are required"};
    const std::string stationPath = parsed.Value("--station");
    const auto station = LoadStationArg(stationPath);
    const std::string dir = Utf8FromPath(std::filesystem::absolute(PathFromUtf8(stationPath)).parent_path());

    CSerialPort port;
    TracePort(port);
    if (!port.Open(parsed.Value("--port"), 9600))
        throw ToolFailure{PortFailure(parsed.Value("--port"), {}, port.OpenError())};
    CInstrumentSession session(&port);
    session.SetStationDirectory(dir);
    if (!session.OpenLog(Utf8FromPath(PathFromUtf8(dir) / PathFromUtf8(station->GetSiteName() + ".log"))))
        std::cerr << "Error, the log file could not be opened!  File may be in use\n";
    session.LogSection("Wakeup");
    if (!session.WakeUp())
        throw ToolFailure{"Error, connect failed! Ensure cable is connected and unit is powered."};

    CDownloadEngine engine(session);
    CTerminalDownloadHost host(session, parsed.Has("--erase"));
    {
        CQueueDispatcher dispatcher;
        SDownloadSteps steps;
        steps.m_erase = [&host] { host.Erase(); };
        CDownloadController controller(engine, dispatcher, host, nullptr, nullptr, std::move(steps));
        controller.DownloadButton();
        while (controller.IsDownloading())
            dispatcher.WaitAndRun(1000);
    }
    if (!host.Completed())
        throw ToolFailure{"Download failed: " + host.Failure()};
    for (const auto& file : engine.Files()) {
        std::cout << Utf8FromPath(file.path) << " " << file.progress.received << " bytes"
                  << (file.progress.sizeAnnounced ? "" : ", size not announced") << std::endl;
    }
    if (host.EraseFailed())
        throw ToolFailure{"the recorder card could not be erased"};
    return 0;
}

ToolCommandRegistration reg{{"velunit", "download", "velunit download --station S.hstn --port PORT [--erase]",
                             "download the Velunit's recorded data into the station's folder",
                             &RunVelunitDownload, true}};

} // namespace
