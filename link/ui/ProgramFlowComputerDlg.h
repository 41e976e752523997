#pragma once
// "Program Flow Computer": sends the station's settings to the Flow Computer as soon as the
// window shows, with one status line, a progress bar and "Exit", hidden until the transfer
// is over. The transfer (ten seconds and more) runs on a background worker; its reports come
// back to this window through the event loop, in order.
#include "app/QtDispatcher.h"
#include "flowcomputer/FlowComputerProgrammer.h"
#include "present/BackgroundWorker.h"

#include <QDialog>

#include <functional>
#include <string>

class CStation;
class IClock;
class IPortOpener;
class QLabel;
class QProgressBar;
class QPushButton;

class CProgramFlowComputerDlg : public QDialog
{
    Q_OBJECT
  public:
    // The port is opened by name ("COM 3", a device path) through the opener (the settings
    // file and tty devices when none), on the clock that paces the bytes (the computer's
    // when none).
    CProgramFlowComputerDlg(const CStation& station, std::string portName, IPortOpener* opener = nullptr,
                            IClock* clock = nullptr, QWidget* parent = nullptr);
    ~CProgramFlowComputerDlg() override;

    // The message boxes ("Debug:", the port error); tests record them instead.
    void SetMessageHandler(std::function<void(const std::string&)> show) { m_show = std::move(show); }

    QLabel* StatusLine() const { return m_pStatus; }
    QProgressBar* ProgressBar() const { return m_pProgress; }
    QPushButton* ExitButton() const { return m_pExit; }
    bool IsRunning() const { return m_worker.IsBusy(); }
    // The transfer is over and its outcome known.
    bool IsFinished() const { return m_bFinished; }
    // The outcome once the transfer is over.
    CFlowComputerProgrammer::EResult Result() const { return m_result; }

  public slots:
    // Refused while the transfer runs.
    void done(int result) override;

  signals:
    void finishedTransfer();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    class CReporter;
    void Start();
    void Finish(CFlowComputerProgrammer::EResult result);
    void ShowMessage(const std::string& text);

    const CStation& m_station;
    std::string m_strPortName;
    IPortOpener* m_pOpener;
    IClock* m_pClock;
    std::function<void(const std::string&)> m_show;
    bool m_bStarted = false;
    CFlowComputerProgrammer::EResult m_result = CFlowComputerProgrammer::NotConfirmed;
    CFlowComputerProgrammer::EResult m_jobResult = CFlowComputerProgrammer::NotConfirmed;
    bool m_bFinished = false;
    bool m_bInMessage = false;
    bool m_bClosePending = false;

    QLabel* m_pStatus;
    QProgressBar* m_pProgress;
    QPushButton* m_pExit;

    CQtDispatcher m_dispatcher;
    CBackgroundWorker m_worker; // last: its thread ends before the rest goes
};
