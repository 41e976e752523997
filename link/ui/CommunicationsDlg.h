#pragma once
// "Velunit Communications": the field visit in one window. Opening it opens the station's
// port, starts the session and its log and connects; the buttons run the single operations
// of CCommunicationsController. Each exchange with the unit runs on a worker while this
// window keeps its event loop turning, so it repaints, shows the wait cursor and each status
// line as it comes; the buttons the operation turned off keep a second exchange from
// starting. The download has its own worker, with its notifications queued back here.
#include "app/QtDispatcher.h"
#include "present/CommunicationsController.h"
#include "present/WorkerExchangeRunner.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class CStation;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

class CCommunicationsDlg : public QDialog,
                           public IStatusView,
                           public ICommunicationsView,
                           public ICommunicationsControls,
                           public IDownloadView
{
    Q_OBJECT
  public:
    enum EButton {
        WAKEUP,
        SYSTEM_TEST,
        ZERO_PRESSURE,
        ORIENTATION,
        DOWNLOAD,
        SET_TIME,
        SLEEP,
        ERASE,
        PROGRAM,
        BUTTON_COUNT
    };

    // What the window asks and shows in boxes of its own. An empty member keeps the
    // window's box; tests answer from a script, and the real-time view takes the port over
    // in m_launch.
    struct SPrompts {
        std::function<bool(const std::string& question)> m_ask;
        std::function<void(const std::string& text)> m_show;
        std::function<bool(int& offset)> m_askOffset;
        std::function<bool(std::unique_ptr<CSerialPort> port)> m_launch;
    };

    // The port is opened by name ("COM 3", a device path) once the window shows.
    CCommunicationsDlg(CStation& station, std::string portName, SCommunicationsSetup setup = {},
                       QWidget* parent = nullptr);
    ~CCommunicationsDlg() override;

    // Opens the line another way than by name (a simulated line); before the window shows.
    void SetOpen(std::function<bool(CCommunicationsController&)> open) { m_open = std::move(open); }
    void SetPrompts(SPrompts prompts);

    QPushButton* Button(EButton which) const { return m_pButtons[which]; }
    QLineEdit* FieldEdit(ECommField field) const { return m_pFields[static_cast<int>(field)]; }
    QPlainTextEdit* StatusWindow() const { return m_pStatus; }
    QProgressBar* ProgressBar() const { return m_pProgress; }
    CCommunicationsController& Controller() { return *m_pController; }
    // The lines of the status window, without the empty one after the last line break.
    QStringList StatusLines() const;
    bool IsExchanging() const { return m_runner.IsRunning(); }
    int ExchangeCount() const { return m_runner.Count(); }
    // The opening (port, session, log, Connect) is over, well or badly.
    bool IsOpened() const { return m_bOpened; }

    // IStatusView
    void AppendStatus(const std::string& text) override;
    void ClearStatus() override;
    bool AskYesNo(const std::string& question) override;
    void ShowMessage(const std::string& text) override;
    // ICommunicationsView
    void EnableButtons(bool operations, bool wakeup) override;
    void SetField(ECommField field, const std::string& text) override;
    bool AskTimeZoneOffset(int& offset) override;
    bool LaunchRealTimeView(std::unique_ptr<CSerialPort> port) override;
    void CloseDialog(int result) override;
    // ICommunicationsControls
    void SetWaitCursor(bool waiting) override;
    void StartTimer() override;
    void StopTimer() override;
    void EnableOrientationButton(bool enabled) override;
    void SetOrientationCaption(const std::string& caption) override;
    // IDownloadView
    void SetDownloadCaption(const std::string& caption) override;
    void EnableDownloadButton(bool enabled) override;
    void SetProgress(int percent) override;
    void Beep(int hz, int ms) override;

  public slots:
    // Refused while a download or an exchange runs.
    void done(int result) override;

  signals:
    // The opening is over (connected, failed, or the window closed itself).
    void opened();
    void progressChanged(int percent);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Open();
    void Press(void (CCommunicationsController::*operation)());
    void Busy(bool busy);
    bool CanClose() const;

    CStation& m_station;
    std::string m_strSiteDir;    // as the setup gave them: where a real-time view opened
    std::string m_strStationDir; // from here records
    std::string m_strPortName;
    std::function<bool(CCommunicationsController&)> m_open;
    SPrompts m_prompts;
    bool m_bStarted = false;
    bool m_bOpened = false;
    bool m_bWaitCursor = false;
    int m_nBusyCursors = 0;

    QPlainTextEdit* m_pStatus;
    QPushButton* m_pButtons[BUTTON_COUNT];
    QLineEdit* m_pFields[4];
    QProgressBar* m_pProgress;
    QPushButton* m_pClose;
    QTimer* m_pTimer;

    CQtDispatcher m_dispatcher;
    CWorkerExchangeRunner m_runner;
    std::unique_ptr<CCommunicationsController> m_pController; // last: goes first
};
