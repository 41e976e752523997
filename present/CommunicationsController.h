#pragma once
// The communications dialog's work without its window: opening the port and session,
// Connect with its frequency and identity checks, the single operations, the orientation
// stream assembled tick by tick, programming, and the download button (handed to the
// download controller). Every operation blocks its caller while it waits for the unit; the
// download alone runs on a worker, whose notifications come back through the dispatcher.
#include "data/DateTime.h"
#include "link/Clock.h"
#include "link/DownloadEngine.h"
#include "link/InstrumentSession.h"
#include "link/PortOpener.h"
#include "link/SerialPort.h"
#include "present/CommunicationsControls.h"
#include "present/CommunicationsView.h"
#include "present/Dispatcher.h"
#include "present/DownloadController.h"
#include "present/DownloadView.h"
#include "present/ExchangeRunner.h"
#include "present/StatusView.h"

#include <functional>
#include <memory>
#include <string>

class CStation;

struct SCommunicationsSetup {
    IClock* m_pClock = nullptr;       // the computer's clock when none
    IPortOpener* m_pOpener = nullptr; // settings file and tty devices when none
    std::string m_strSiteDir;         // the settings file's site directory when empty
    std::string m_strStationDir;      // overrides the folder built from the site directory
    // The parts only a window has; a terminal has neither.
    ICommunicationsControls* m_pControls = nullptr;
    IDownloadView* m_pDownloadView = nullptr;
    // Where each exchange with the unit runs; on the caller's thread when none.
    IExchangeRunner* m_pExchanges = nullptr;
};

class CCommunicationsController
{
  public:
    static constexpr const char* CHECK_ORIENTATION = "Check Orientation";
    static constexpr const char* STOP_TEST = "Stop Test";

    // Notifications of the download run through the dispatcher, on the thread that calls
    // everything else here.
    CCommunicationsController(CStation& station, IStatusView& status, ICommunicationsView& view,
                              IDispatcher& dispatcher, SCommunicationsSetup setup = {});
    ~CCommunicationsController();
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

    // The steps the download shares with the other operations: back to "not connected",
    // and the recorder erase without its question.
    void ResetConnection();
    void Erase();

    CInstrumentSession* Session() { return m_pSession.get(); }
    const CDateTime& InstrumentTime() const { return m_dtInstrument; }
    bool IsOrientationRunning() const { return m_bOrientationRunning; }
    bool IsTimerRunning() const { return m_bTimerRunning; }

  private:
    bool StartSession();
    bool ProgramCommands();
    bool ProgramClosing(const std::string& command, const std::string& failure);
    void SaveStation();
    void StopOrientation();
    void AppendStatus(const std::string& text) { m_status.AppendStatus(text); }
    void ClearStatus() { m_status.ClearStatus(); }
    void EnableButtons(bool operations, bool wakeup) { m_view.EnableButtons(operations, wakeup); }
    void SetWaitCursor(bool waiting);
    void SetOrientationCaption(const std::string& caption);
    // One exchange with the unit: talks to the line only, never to the operator.
    bool Exchange(const std::function<bool()>& exchange);
    bool Exchanging() const { return m_setup.m_pExchanges && m_setup.m_pExchanges->IsRunning(); }

    CStation& m_station;
    IStatusView& m_status;
    ICommunicationsView& m_view;
    IDispatcher& m_dispatcher;
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
