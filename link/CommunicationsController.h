#pragma once
// The communications dialog's work without its window: opening the port and session,
// Connect with its frequency and identity checks, the single operations, the orientation
// stream assembled tick by tick, programming, and the download button (handed to the
// download controller). Every operation blocks its caller while it waits for the unit.
#include "data/DateTime.h"
#include "link/Clock.h"
#include "link/CommunicationsView.h"
#include "link/DownloadController.h"
#include "link/DownloadEngine.h"
#include "link/InstrumentSession.h"
#include "link/PortOpener.h"
#include "link/SerialPort.h"

#include <memory>
#include <string>

class CStation;

struct SCommunicationsSetup {
    IClock* m_pClock = nullptr;       // the computer's clock when none
    IPortOpener* m_pOpener = nullptr; // settings file and tty devices when none
    std::string m_strSiteDir;         // the settings file's site directory when empty
    std::string m_strStationDir;      // overrides the folder built from the site directory
};

class CCommunicationsController : public IDownloadHost
{
  public:
    static constexpr const char* CHECK_ORIENTATION = "Check Orientation";
    static constexpr const char* STOP_TEST = "Stop Test";

    CCommunicationsController(CStation& station, ICommunicationsView& view, SCommunicationsSetup setup = {});
    ~CCommunicationsController() override;
    CCommunicationsController(const CCommunicationsController&) = delete;
    CCommunicationsController& operator=(const CCommunicationsController&) = delete;

    // Dialog opening: port at 9600 baud, session, log, Connect. False when the port could
    // not be opened (the dialog has been told to close).
    bool OpenPort(int portNumber);
    bool OpenPort(const std::string& portName);
    // The same on a stream already made (one end of a simulated line).
    bool OpenStream(std::unique_ptr<ISerialStream> stream);

    // Buttons and timer.
    void Connect();
    void SystemTest();
    void ZeroPressure();
    void Orientation();
    void DownloadButton();
    void SetClock();
    void SleepUnit();
    void EraseData();
    void Program();
    void Tick();
    // The close request: refused (false) while a download runs.
    bool CanClose() const;

    // IDownloadHost, and the steps the download shares with the other operations.
    void AppendStatus(const std::string& text) override { m_view.AppendStatus(text); }
    void ClearStatus() override { m_view.ClearStatus(); }
    void EnableButtons(bool operations, bool wakeup) override;
    void SetDownloadCaption(const std::string& caption) override { m_view.SetDownloadCaption(caption); }
    void EnableDownloadButton(bool enabled) override { m_view.EnableDownloadButton(enabled); }
    void SetProgress(int percent) override { m_view.SetProgress(percent); }
    bool AskYesNo(const std::string& question) override { return m_view.AskYesNo(question); }
    void ResetConnection() override;
    void Erase() override;
    void Beep(int hz, int ms) override { m_view.Beep(hz, ms); }

    CInstrumentSession* Session() { return m_pSession.get(); }
    const CDateTime& InstrumentTime() const { return m_dtInstrument; }
    bool IsOrientationRunning() const { return m_bOrientationRunning; }
    bool IsTimerRunning() const { return m_bTimerRunning; }
    // The station's instrument ID: the site name with every character that is not a
    // letter or digit replaced by "_".
    static std::string InstrumentId(const std::string& siteName);

  private:
    bool StartSession();
    bool ProgramCommands();
    bool ProgramClosing(const std::string& command, const std::string& failure);
    void SaveStation();
    void StopOrientation();

    CStation& m_station;
    ICommunicationsView& m_view;
    SCommunicationsSetup m_setup;
    IClock& m_clock;
    int m_nPortNumber = 0;
    std::unique_ptr<CSerialPort> m_pPort;
    std::unique_ptr<CInstrumentSession> m_pSession;
    std::unique_ptr<CDownloadEngine> m_pEngine;
    std::unique_ptr<CDownloadController> m_pDownload;
    CDateTime m_dtInstrument{-1.0};
    bool m_bTimerRunning = false;
    bool m_bOrientationRunning = false;
    std::string m_strOrientationLine;
};
