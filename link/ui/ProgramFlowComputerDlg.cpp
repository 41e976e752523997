#include "link/ui/ProgramFlowComputerDlg.h"

#include "link/SerialPort.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

// The programmer's reports, made on the worker, shown by this window on its own thread.
class CProgramFlowComputerDlg::CReporter : public IFlowComputerReporter
{
  public:
    CReporter(CProgramFlowComputerDlg& dialog, CBackgroundWorker::CContext& context)
        : m_dialog(&dialog), m_context(context)
    {
    }
    void SetStatus(const std::string& text) override
    {
        CProgramFlowComputerDlg* d = m_dialog;
        m_context.Post([d, text] { d->m_pStatus->setText(QString::fromLatin1(text.data(), text.size())); });
    }
    void SetProgress(int percent) override
    {
        CProgramFlowComputerDlg* d = m_dialog;
        m_context.Post([d, percent] { d->m_pProgress->setValue(percent); });
    }
    void ShowMessage(const std::string& text) override
    {
        CProgramFlowComputerDlg* d = m_dialog;
        m_context.Post([d, text] { d->ShowMessage(text); });
    }
    void ShowExit(bool visible) override
    {
        CProgramFlowComputerDlg* d = m_dialog;
        m_context.Post([d, visible] { d->m_pExit->setVisible(visible); });
    }

  private:
    CProgramFlowComputerDlg* m_dialog; // only inside notifications
    CBackgroundWorker::CContext& m_context;
};

CProgramFlowComputerDlg::CProgramFlowComputerDlg(const CStation& station, std::string portName,
                                                 IPortOpener* opener, IClock* clock, QWidget* parent)
    : QDialog(parent), m_station(station), m_strPortName(std::move(portName)), m_pOpener(opener),
      m_pClock(clock), m_dispatcher(this), m_worker(m_dispatcher)
{
    setWindowTitle(tr("Program Flow Computer"));
    m_pStatus = new QLabel(tr("Preparing to send settings"));
    m_pStatus->setWordWrap(true);
    // Room for the longest text (two lines with the out-of-date note) without the window
    // growing as the texts change.
    m_pStatus->setMinimumSize(440, m_pStatus->fontMetrics().lineSpacing() * 3);
    m_pStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pProgress = new QProgressBar;
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    m_pExit = new QPushButton(tr("Exit"));
    m_pExit->setVisible(false);
    connect(m_pExit, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });

    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch(1);
    exitRow->addWidget(m_pExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pStatus);
    layout->addWidget(m_pProgress);
    layout->addLayout(exitRow);
    // "Exit" keeps its room while hidden, so the window does not jump when it appears.
    QSizePolicy keep = m_pExit->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_pExit->setSizePolicy(keep);
}

CProgramFlowComputerDlg::~CProgramFlowComputerDlg() = default;

void CProgramFlowComputerDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_bStarted)
        return;
    m_bStarted = true;
    QTimer::singleShot(0, this, &CProgramFlowComputerDlg::Start);
}

void CProgramFlowComputerDlg::Start()
{
    repaint();
    // The outcome is written on the worker and read by the finishing notification alone.
    m_worker.Start(
        [this](CBackgroundWorker::CContext& context) {
            CReporter reporter(*this, context);
            CSerialPort port(m_pClock, m_pOpener);
            CFlowComputerProgrammer programmer(m_station, reporter);
            m_jobResult = programmer.Program(port, m_strPortName);
        },
        [this] { Finish(m_jobResult); });
}

void CProgramFlowComputerDlg::Finish(CFlowComputerProgrammer::EResult result)
{
    m_result = result;
    m_bFinished = true;
    emit finishedTransfer();
    // A port that would not open ends the window, once its message has been read.
    if (result == CFlowComputerProgrammer::PortError) {
        if (m_bInMessage)
            m_bClosePending = true;
        else
            done(QDialog::Rejected);
    }
}

void CProgramFlowComputerDlg::ShowMessage(const std::string& text)
{
    // The box waits for the operator in a loop of its own, where later reports may run.
    m_bInMessage = true;
    if (m_show)
        m_show(text);
    else
        QMessageBox::information(this, windowTitle(), QString::fromLatin1(text.data(), text.size()));
    m_bInMessage = false;
    if (m_bClosePending) {
        m_bClosePending = false;
        done(QDialog::Rejected);
    }
}

void CProgramFlowComputerDlg::done(int result)
{
    if (m_worker.IsBusy())
        return;
    QDialog::done(result);
}

void CProgramFlowComputerDlg::closeEvent(QCloseEvent* event)
{
    if (m_worker.IsBusy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
