#include "link/ui/CommunicationsDlg.h"

#include "link/SerialPort.h"
#include "link/ui/SetTimeDlg.h"
#include "platform/SettingsStore.h"
#include "station/Station.h"
#include "views/RealTimeView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

constexpr int kTickMs = 1000;

QString FromBytes(const std::string& text)
{
    // The unit's replies are single-byte text with CR LF line ends.
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.remove(QLatin1Char('\r'));
    return shown;
}

// Keeps the window's event loop turning until the exchange is over: paint, timers and the
// worker's finishing notification all come through it.
void TurnEventLoop(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

CCommunicationsDlg::CCommunicationsDlg(CStation& station, std::string portName, SCommunicationsSetup setup,
                                       QWidget* parent)
    : QDialog(parent), m_station(station), m_strSiteDir(setup.m_strSiteDir),
      m_strStationDir(setup.m_strStationDir), m_strPortName(std::move(portName)), m_dispatcher(this),
      m_runner(m_dispatcher, TurnEventLoop, [this](bool busy) { Busy(busy); })
{
    setWindowTitle(tr("Velunit Communications"));

    m_pStatus = new QPlainTextEdit;
    m_pStatus->setReadOnly(true);
    m_pStatus->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pStatus->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pStatus->setMinimumSize(460, 280);

    const char* captions[BUTTON_COUNT] = {
        "Wakeup", "System Test", "Zero Pressure", "Check Orientation", "Download Data", "Set Time",
        "Sleep",  "Erase Data",  "Program"};
    auto* buttons = new QVBoxLayout;
    int width = 0;
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        m_pButtons[i] = new QPushButton(tr(captions[i]));
        m_pButtons[i]->setAutoDefault(false);
        buttons->addWidget(m_pButtons[i]);
        width = std::max(width, m_pButtons[i]->fontMetrics().horizontalAdvance(m_pButtons[i]->text()));
    }
    // Wide enough for the longer of the captions a button takes ("Check Orientation").
    for (QPushButton* button : m_pButtons)
        button->setMinimumWidth(width + 32);
    buttons->addStretch(1);

    auto* system = new QGroupBox(tr("System"));
    auto* grid = new QGridLayout(system);
    const char* labels[4] = {"Time:", "Firmware:", "Site Name:", "Frequency:"};
    for (int i = 0; i < 4; ++i) {
        m_pFields[i] = new QLineEdit;
        m_pFields[i]->setReadOnly(true);
        m_pFields[i]->setFocusPolicy(Qt::NoFocus);
        const int row = i % 2;
        const int column = (i / 2) * 2;
        grid->addWidget(new QLabel(tr(labels[i])), row, column);
        grid->addWidget(m_pFields[i], row, column + 1);
    }
    m_pFields[static_cast<int>(ECommField::time)]->setMinimumWidth(
        m_pFields[0]->fontMetrics().horizontalAdvance(QStringLiteral("2026/12/08 10:00:00")) + 16);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    m_pProgress = new QProgressBar;
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    m_pClose = new QPushButton(tr("Close"));
    m_pClose->setAutoDefault(false);
    connect(m_pClose, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });

    auto* top = new QHBoxLayout;
    top->addWidget(m_pStatus, 1);
    top->addLayout(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_pProgress, 1);
    bottom->addWidget(m_pClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(system);
    layout->addLayout(bottom);

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(kTickMs);
    connect(m_pTimer, &QTimer::timeout, this, [this] { m_pController->Tick(); });

    using C = CCommunicationsController;
    void (C::*operations[BUTTON_COUNT])() = {&C::Connect,     &C::SystemTest,     &C::ZeroPressure,
                                             &C::Orientation, &C::DownloadButton, &C::SetClock,
                                             &C::SleepUnit,   &C::EraseData,      &C::Program};
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        auto operation = operations[i];
        connect(m_pButtons[i], &QPushButton::clicked, this, [this, operation] { Press(operation); });
    }

    setup.m_pControls = this;
    setup.m_pDownloadView = this;
    setup.m_pExchanges = &m_runner;
    m_pController = std::make_unique<CCommunicationsController>(station, *this, *this, m_dispatcher, setup);
    // Nothing is connected yet: only "Wakeup" could do anything, and not before the port is open.
    EnableButtons(false, false);
}

CCommunicationsDlg::~CCommunicationsDlg()
{
    m_pTimer->stop();
    // The download worker ends before the port and session it uses.
    m_pController.reset();
    if (m_bWaitCursor || m_nBusyCursors > 0)
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

void CCommunicationsDlg::SetPrompts(SPrompts prompts)
{
    if (prompts.m_ask)
        m_prompts.m_ask = std::move(prompts.m_ask);
    if (prompts.m_show)
        m_prompts.m_show = std::move(prompts.m_show);
    if (prompts.m_askOffset)
        m_prompts.m_askOffset = std::move(prompts.m_askOffset);
    if (prompts.m_launch)
        m_prompts.m_launch = std::move(prompts.m_launch);
}

void CCommunicationsDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_bStarted)
        return;
    m_bStarted = true;
    // After the window has been painted once: the opening waits on the unit.
    QTimer::singleShot(0, this, &CCommunicationsDlg::Open);
}

void CCommunicationsDlg::Open()
{
    repaint();
    if (m_open)
        m_open(*m_pController);
    else
        m_pController->OpenPort(m_strPortName);
    m_bOpened = true;
    emit opened();
}

void CCommunicationsDlg::Press(void (CCommunicationsController::*operation)())
{
    // A click that reached a button while an exchange has the line (queued before the
    // button went off) waits for nothing: it is dropped.
    if (m_runner.IsRunning() || !m_bOpened)
        return;
    ((*m_pController).*operation)();
}

void CCommunicationsDlg::Busy(bool busy)
{
    if (busy) {
        if (m_nBusyCursors++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_nBusyCursors > 0 && --m_nBusyCursors == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void CCommunicationsDlg::SetWaitCursor(bool waiting)
{
    if (waiting == m_bWaitCursor)
        return;
    m_bWaitCursor = waiting;
    Busy(waiting);
}

bool CCommunicationsDlg::CanClose() const
{
    return !m_runner.IsRunning() && m_pController->CanClose();
}

void CCommunicationsDlg::done(int result)
{
    if (!CanClose())
        return;
    m_pTimer->stop();
    QDialog::done(result);
}

void CCommunicationsDlg::closeEvent(QCloseEvent* event)
{
    if (!CanClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QStringList CCommunicationsDlg::StatusLines() const
{
    QStringList lines = m_pStatus->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

void CCommunicationsDlg::AppendStatus(const std::string& text)
{
    m_pStatus->moveCursor(QTextCursor::End);
    m_pStatus->insertPlainText(FromBytes(text) + QLatin1Char('\n'));
    m_pStatus->moveCursor(QTextCursor::End);
    m_pStatus->verticalScrollBar()->setValue(m_pStatus->verticalScrollBar()->maximum());
}

void CCommunicationsDlg::ClearStatus()
{
    m_pStatus->clear();
}

bool CCommunicationsDlg::AskYesNo(const std::string& question)
{
    if (m_prompts.m_ask)
        return m_prompts.m_ask(question);
    return QMessageBox::question(this, windowTitle(), FromBytes(question),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CCommunicationsDlg::ShowMessage(const std::string& text)
{
    if (m_prompts.m_show) {
        m_prompts.m_show(text);
        return;
    }
    QMessageBox::warning(this, windowTitle(), FromBytes(text));
}

void CCommunicationsDlg::EnableButtons(bool operations, bool wakeup)
{
    m_pButtons[WAKEUP]->setEnabled(wakeup);
    for (int i = SYSTEM_TEST; i < BUTTON_COUNT; ++i)
        m_pButtons[i]->setEnabled(operations);
}

void CCommunicationsDlg::SetField(ECommField field, const std::string& text)
{
    m_pFields[static_cast<int>(field)]->setText(FromBytes(text));
}

bool CCommunicationsDlg::AskTimeZoneOffset(int& offset)
{
    if (m_prompts.m_askOffset)
        return m_prompts.m_askOffset(offset);
    CSetTimeDlg dialog(offset, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    offset = dialog.Offset();
    return true;
}

bool CCommunicationsDlg::LaunchRealTimeView(std::unique_ptr<CSerialPort> port)
{
    if (m_prompts.m_launch)
        return m_prompts.m_launch(std::move(port));
    // Nobody claimed the view: it becomes a window of its own.
    CRealTimeView* view = nullptr;
    try {
        SLiveRecorderSetup setup;
        setup.m_strStationDir = m_strStationDir;
        if (setup.m_strStationDir.empty()) {
            // The station's folder in the site the settings file names, as the session log's.
            std::string siteDir = m_strSiteDir;
            if (siteDir.empty()) {
                CSettingsStore store;
                store.Load();
                siteDir = store.GetStationDir();
            }
            setup.m_strStationDir = m_station.GetStationDirectory(siteDir);
        }
        view = new CRealTimeView(m_station, std::move(port), std::move(setup));
    } catch (const std::exception&) {
        return false;
    }
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->resize(640, 490);
    view->show();
    return true;
}

void CCommunicationsDlg::CloseDialog(int result)
{
    m_pTimer->stop();
    QDialog::done(result);
}

void CCommunicationsDlg::StartTimer()
{
    m_pTimer->start();
}

void CCommunicationsDlg::StopTimer()
{
    m_pTimer->stop();
}

void CCommunicationsDlg::EnableOrientationButton(bool enabled)
{
    m_pButtons[ORIENTATION]->setEnabled(enabled);
}

void CCommunicationsDlg::SetOrientationCaption(const std::string& caption)
{
    m_pButtons[ORIENTATION]->setText(QString::fromStdString(caption));
}

void CCommunicationsDlg::SetDownloadCaption(const std::string& caption)
{
    m_pButtons[DOWNLOAD]->setText(QString::fromStdString(caption));
}

void CCommunicationsDlg::EnableDownloadButton(bool enabled)
{
    m_pButtons[DOWNLOAD]->setEnabled(enabled);
}

void CCommunicationsDlg::SetProgress(int percent)
{
    m_pProgress->setValue(percent);
    emit progressChanged(percent);
}

void CCommunicationsDlg::Beep(int, int)
{
    QApplication::beep();
}
