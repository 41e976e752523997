#include "app/MainFrame.h"

#include "app/AppIcon.h"
#include "app/StationApp.h"
#include "app/StationInfoView.h"
#include "app/StationsBar.h"
#include "app/Unattended.h"
#include "present/StationAppModel.h"
#include "present/ViewDataLoad.h"
#include "station/Station.h"
#include "ui/AppSettingsDialog.h"
#include "ui/CopyStationDialog.h"
#include "ui/StationConfigDialog.h"
#include "views/DataView.h"
#include "views/RealTimeView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace
{

// Message texts carry Windows line ends; a message box wants plain ones.
QString ForDisplay(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s.trimmed();
}

} // namespace

CMainFrame::CMainFrame(CStationApp& app, QWidget* parent) : QMainWindow(parent), m_app(app)
{
    setWindowTitle(QStringLiteral("Tidewell"));
    setWindowIcon(TidewellIcon());
    setObjectName(QStringLiteral("MainFrame"));

    m_pMdi = new QMdiArea;
    m_pMdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdi);

    m_pInfoView = new CStationInfoView(app);
    m_pInfoWindow = m_pMdi->addSubWindow(m_pInfoView);
    // Closing the information view only hides it; the View menu brings it back.
    m_pInfoWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    m_pInfoWindow->setWindowFlags(m_pInfoWindow->windowFlags() & ~Qt::WindowMinimizeButtonHint);
    m_pInfoWindow->setWindowTitle(m_pInfoView->windowTitle());
    m_pInfoWindow->installEventFilter(this);
    connect(m_pInfoView, &CStationInfoView::titleChanged, m_pInfoWindow, &QWidget::setWindowTitle);
    connect(m_pInfoView, &CStationInfoView::viewDataRequested, this,
            [this](const QString& name) { ViewData(name.toStdString()); });
    connect(m_pInfoView, &CStationInfoView::realTimeViewOpened, this, [this](CRealTimeView* view) {
        view->SetMessageHandler([this](const QString& text) {
            if (m_pPrompter)
                m_pPrompter->ShowMessage(text.toStdString());
        });
        OpenDataWindow(view);
    });

    CreateButtonBar();
    statusBar()->showMessage(tr("Ready"));

    m_pStationsBar = new CStationsBar(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_pStationsBar);
    m_pStationsBar->installEventFilter(this);
    connect(m_pStationsBar, &CStationsBar::rowClicked, this, [this](int row) {
        m_app.OpenStation(m_pStationsBar->RowName(row), m_pStationsBar->RowGroup(row));
    });

    CreateMenus();
    SetPrompter(this);

    connect(&m_app, &CStationApp::stationChanged, this, &CMainFrame::OnStationChanged);
    connect(&m_app, &CStationApp::stationListChanged, this, &CMainFrame::RefreshStationList);
}

CMainFrame::~CMainFrame()
{
    // The document area closes its windows while the base class takes it down, and each one
    // it closes activates another; by then this object is a plain widget, so nothing may
    // call back into it.
    disconnect(m_pMdi, nullptr, this, nullptr);
}

void CMainFrame::SetPrompter(IAppPrompter* prompter)
{
    m_pPrompter = prompter;
    m_app.SetPrompter(prompter);
    m_pInfoView->SetPrompter(prompter);
}

void CMainFrame::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* newStation = file->addAction(tr("&New Station"), QKeySequence(Qt::CTRL | Qt::Key_N), &m_app,
                                          &CStationApp::NewStation);
    newStation->setStatusTip(tr("Create a new station"));
    file->addAction(tr("Copy Station"), &m_app, &CStationApp::CopyStation)
        ->setStatusTip(tr("Copy the current station"));
    m_pExportAction = file->addAction(tr("Export..."), this, [this] {
        if (CDataView* view = ActiveDataView())
            view->Export();
    });
    m_pExportAction->setStatusTip(tr("Save the data view's table as a CSV file"));
    m_pExportAction->setEnabled(false);
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close)->setStatusTip(tr("Quit the application"));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    m_pCopyAction = edit->addAction(tr("&Copy"), QKeySequence::Copy, this, [this] {
        if (CDataView* view = ActiveDataView())
            view->Copy();
    });
    m_pCopyAction->setStatusTip(tr("Copy the selected rows of the data view's table"));
    m_pCopyAction->setEnabled(false);
    connect(m_pMdi, &QMdiArea::subWindowActivated, this, [this] {
        const bool dataView = ActiveDataView() != nullptr;
        m_pExportAction->setEnabled(dataView);
        m_pCopyAction->setEnabled(dataView);
    });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    m_pStatusBarAction = view->addAction(tr("&Status Bar"));
    m_pStatusBarAction->setCheckable(true);
    m_pStatusBarAction->setChecked(true);
    connect(m_pStatusBarAction, &QAction::toggled, statusBar(), &QWidget::setVisible);
    m_pStationsAction = view->addAction(tr("Stations"));
    m_pStationsAction->setCheckable(true);
    connect(m_pStationsAction, &QAction::triggered, this, [this](bool on) {
        m_pStationsBar->setVisible(on);
        UpdateViewChecks();
    });
    m_pInfoAction = view->addAction(tr("Station Information"));
    m_pInfoAction->setCheckable(true);
    connect(m_pInfoAction, &QAction::triggered, this, [this](bool on) {
        if (on) {
            m_pInfoWindow->show();
            m_pMdi->setActiveSubWindow(m_pInfoWindow);
        } else {
            m_pInfoWindow->hide();
        }
        UpdateViewChecks();
    });
    view->addSeparator();
    view->addAction(tr("Refresh Station List"), this, &CMainFrame::RefreshStationList);
    connect(view, &QMenu::aboutToShow, this, &CMainFrame::UpdateViewChecks);

    QMenu* window = menuBar()->addMenu(tr("&Window"));
    window->addAction(tr("&Cascade"), m_pMdi, &QMdiArea::cascadeSubWindows);
    window->addAction(tr("&Tile"), m_pMdi, &QMdiArea::tileSubWindows);
    window->addAction(tr("&Arrange Icons"), m_pMdi, &QMdiArea::tileSubWindows);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&About Tidewell..."), this, &CMainFrame::About);
}

void CMainFrame::CreateButtonBar()
{
    m_pButtonBar = addToolBar(tr("Buttons"));
    m_pButtonBar->setObjectName(QStringLiteral("ButtonBar"));
    m_pButtonBar->setMovable(false);
    m_pButtonBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle* s = style();
    QAction* a = m_pButtonBar->addAction(s->standardIcon(QStyle::SP_FileIcon), tr("New"), &m_app,
                                         &CStationApp::NewStation);
    a->setToolTip(tr("Create a new station"));
    a = m_pButtonBar->addAction(s->standardIcon(QStyle::SP_BrowserReload), tr("Refresh"), this,
                                &CMainFrame::RefreshStationList);
    a->setToolTip(tr("Refresh station list"));
    m_pDeleteAction = m_pButtonBar->addAction(s->standardIcon(QStyle::SP_TrashIcon), tr("Delete"), &m_app,
                                              &CStationApp::DeleteStation);
    UpdateDeleteAction();
    a = m_pButtonBar->addAction(s->standardIcon(QStyle::SP_FileDialogDetailedView), tr("Settings"), this,
                                &CMainFrame::ApplicationSettings);
    a->setToolTip(tr("View and configure application settings"));
}

void CMainFrame::UpdateDeleteAction()
{
    const std::string blocked = stationapp::DeleteBlockedReason(m_app.GetStation());
    m_pDeleteAction->setEnabled(blocked.empty());
    m_pDeleteAction->setToolTip(blocked.empty() ? tr("Delete station (Permanent!)")
                                                : QString::fromStdString(blocked));
}

void CMainFrame::StartUp(int screenWidth, bool reopenLast)
{
    m_app.ReadStationDir();
    if (!m_app.StartUpNotice().empty())
        statusBar()->showMessage(QString::fromStdString(m_app.StartUpNotice()));
    PlaceOnScreen(screenWidth);
    show();
    RefreshStationList();
    m_pInfoView->ShowStation(nullptr);
    m_pInfoWindow->show();
    // Not a step of the classic start-up: the operator comes back to the station they
    // left, with its row marked so that Refresh keeps it.
    if (reopenLast && m_app.ReopenLastStation())
        MarkCurrentStationRow();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

bool CMainFrame::OpenStartStation(const std::string& path)
{
    if (!m_app.OpenStationFile(path))
        return false;
    MarkCurrentStationRow();
    return true;
}

void CMainFrame::MarkCurrentStationRow()
{
    if (!m_app.GetStation())
        return;
    const std::string path = m_app.GetStation()->GetFilePath();
    for (int i = 0; i < m_app.GetStationCount(); ++i)
        if (m_app.GetStationPath(i) == path)
            m_pStationsBar->SelectRow(i);
}

void CMainFrame::PlaceOnScreen(int screenWidth)
{
    if (screenWidth > 800)
        setGeometry(25, 25, 975, 700);
    // The information view sits at (100, 25) of the frame, with its own size; the frame's
    // Stations bar takes the left, so the point is taken into the document area.
    const QPoint inArea = m_pMdi->mapFrom(this, QPoint(100, 25));
    m_pInfoWindow->resize(m_pInfoWindow->sizeHint());
    m_pInfoWindow->move(std::max(0, inArea.x()), std::max(0, inArea.y()));
}

void CMainFrame::RefreshStationList()
{
    const int remembered = m_pStationsBar->FocusedRow();
    const CStation* current = m_app.GetStation();
    const std::string currentPath = current ? current->GetFilePath() : std::string();
    m_app.ScanStations();
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<std::string> paths;
    for (int i = 0; i < m_app.GetStationCount(); ++i) {
        rows.emplace_back(m_app.GetStationName(i), m_app.GetStationGroup(i));
        paths.push_back(m_app.GetStationPath(i));
    }
    m_pStationsBar->SetRows(rows);
    const int row = stationapp::RowToKeep(paths, currentPath, remembered);
    if (row >= 0) {
        m_pStationsBar->SelectRow(row);
        m_app.OpenStation(m_pStationsBar->RowName(row), m_pStationsBar->RowGroup(row));
    }
}

QMdiSubWindow* CMainFrame::OpenDataWindow(QWidget* content)
{
    QMdiSubWindow* window = m_pMdi->addSubWindow(content);
    window->setAttribute(Qt::WA_DeleteOnClose, true);
    const CStation* station = m_app.GetStation();
    window->setWindowTitle(station ? QString::fromStdString(station->GetSiteName()) : QString());
    window->setGeometry(QRect(QPoint(10, 10), QPoint(650, 500)));
    window->show();
    m_app.AddDataWindow(window);
    return window;
}

CDataView* CMainFrame::ViewData(const std::string& nameOrPath)
{
    const CStation* station = m_app.GetStation();
    if (!station)
        return nullptr;
    const std::string path = DataFilePathFor(m_app.GetStationDirectory(*station), nameOrPath);
    CEnsembleList list;
    std::string message;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LoadDataForView(*station, path, list, message);
    QApplication::restoreOverrideCursor();
    if (!message.empty() && m_pPrompter)
        m_pPrompter->ShowMessage(message);
    auto* view = new CDataView(*station, std::move(list));
    view->SetMessageHandler([this](const QString& text) {
        if (m_pPrompter)
            m_pPrompter->ShowMessage(text.toStdString());
    });
    OpenDataWindow(view);
    view->setFocus();
    return view;
}

CDataView* CMainFrame::ActiveDataView() const
{
    QMdiSubWindow* window = m_pMdi->activeSubWindow();
    return window ? qobject_cast<CDataView*>(window->widget()) : nullptr;
}

void CMainFrame::OnStationChanged(CStation* station)
{
    UpdateDeleteAction();
    m_pInfoView->ShowStation(station);
    // A longer location may need more room than the window had; never squeeze the view.
    m_pInfoWindow->resize(m_pInfoWindow->size().expandedTo(m_pInfoWindow->sizeHint()));

    // Grown past the bottom of the frame, it moves up rather than hiding its buttons.
    const int overflow = m_pInfoWindow->geometry().bottom() - m_pMdi->viewport()->height() + 1;
    if (overflow > 0 && m_pMdi->viewport()->height() > 0)
        m_pInfoWindow->move(m_pInfoWindow->x(), std::max(0, m_pInfoWindow->y() - overflow));
}

void CMainFrame::UpdateViewChecks()
{
    // Asked relative to the frame, so that the marks are right before the frame is shown.
    m_pStationsAction->setChecked(m_pStationsBar->isVisibleTo(this));
    m_pInfoAction->setChecked(m_pInfoWindow->isVisibleTo(this));
    m_pStatusBarAction->setChecked(statusBar()->isVisibleTo(this));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_pInfoWindow || watched == m_pStationsBar) &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        UpdateViewChecks();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_app.ExitInstance();
    event->accept();
}

void CMainFrame::ShowMessage(const std::string& text)
{
    if (unattended::Report(QString::fromStdString(text))) {
        m_app.FailGrab(ForDisplay(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).toStdString());
        return;
    }
    QMessageBox::warning(this, QStringLiteral("Tidewell"), ForDisplay(text));
}

bool CMainFrame::AskYesNo(const std::string& question)
{
    if (unattended::Report(QString::fromStdString(question) + QStringLiteral(" (answered No)")))
        return false;
    return QMessageBox::question(this, QStringLiteral("Tidewell"), ForDisplay(question),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool CMainFrame::EditStation(CStation& station, bool isNew)
{
    if (unattended::IsOn())
        return false;
    CStationConfigDialog dialog(station, isNew, this);
    return dialog.exec() == QDialog::Accepted;
}

bool CMainFrame::AskCopyStation(std::string& siteName, std::string& group)
{
    CCopyStationDialog dialog(QString::fromStdString(siteName), QString::fromStdString(group), this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    siteName = dialog.SiteName().toStdString();
    group = dialog.Group().toStdString();
    return true;
}

void CMainFrame::ApplicationSettings()
{
    std::vector<QString> devices;
    for (int port = 1; port <= 8; ++port)
        devices.push_back(QString::fromStdString(m_app.Settings().Get(CSettingsStore::ComPortKey(port), "")));
    CAppSettingsDialog dialog(QString::fromStdString(m_app.GetSiteDir()), devices, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<std::string> chosen;
    for (const QString& d : dialog.ComDevices())
        chosen.push_back(d.toStdString());
    if (!m_app.ApplySettings(dialog.SiteDir().toStdString(), chosen))
        ShowMessage("Warning, the settings file " + m_app.Settings().GetPath().string() +
                    " could not be written; the new settings last only until the program ends.");
}

void CMainFrame::About()
{
    QMessageBox box(this);
    box.setWindowTitle(tr("About Tidewell"));
    box.setIconPixmap(TidewellIcon().pixmap(64, 64));
    box.setText(tr("Tidewell Version 1.03"));
    box.setInformativeText(tr("Station configuration, instrument programming and recorded flow data."));
    box.exec();
}
