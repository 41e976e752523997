#pragma once
// The main window: menus, the button bar, the status bar, the dockable Stations bar, the
// station information view and the data windows, all inside one frame.
#include "app/AppPrompter.h"

#include <QMainWindow>

#include <string>

class CDataView;
class CStationApp;
class CStationInfoView;
class CStationsBar;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

class CMainFrame : public QMainWindow, public IAppPrompter
{
    Q_OBJECT
  public:
    explicit CMainFrame(CStationApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Start-up after the frame is built: the site directory from the settings file, the
    // window shown, the station list scanned, and the information view with no station.
    // The station open when the program last ended comes back unless `reopenLast` is
    // false (a station named on the command line takes its place).
    void StartUp(int screenWidth, bool reopenLast = true);

    // Opens a station named on the command line (a path the caller has found) as the
    // current one, its row marked. False when the file could not be opened (already said).
    bool OpenStartStation(const std::string& path);

    // Frame placement for a screen of the given width: a wider screen than 800 pixels puts
    // the frame at (25, 25) with size 975 x 700; otherwise the default placement stays.
    void PlaceOnScreen(int screenWidth);

    // Rescans the site directory and rebuilds the Stations bar. The current station keeps
    // its row wherever it moved to and is opened again; a station no longer listed (just
    // deleted) gives its row number to the station that took it.
    void RefreshStationList();

    // Opens a data window: a sub-window titled with the current site name, kept in the
    // application's list until it closes.
    QMdiSubWindow* OpenDataWindow(QWidget* content);
    // "View Data": reads a data file of the current station (a name of its data files or a
    // path) and opens a data view of it, also when nothing could be read (after saying so).
    // Null without a current station.
    CDataView* ViewData(const std::string& nameOrPath);
    // The data view of the active sub-window, if that is one.
    CDataView* ActiveDataView() const;

    // Replaces the prompter, so that tests can answer the questions themselves.
    void SetPrompter(IAppPrompter* prompter);

    CStationsBar* StationsBar() const { return m_pStationsBar; }
    CStationInfoView* InfoView() const { return m_pInfoView; }
    QMdiSubWindow* InfoWindow() const { return m_pInfoWindow; }
    QMdiArea* MdiArea() const { return m_pMdi; }
    QAction* StationsAction() const { return m_pStationsAction; }
    QAction* InfoAction() const { return m_pInfoAction; }
    QAction* StatusBarAction() const { return m_pStatusBarAction; }
    QToolBar* ButtonBar() const { return m_pButtonBar; }
    QAction* DeleteAction() const { return m_pDeleteAction; }
    QAction* CopyAction() const { return m_pCopyAction; }
    QAction* ExportAction() const { return m_pExportAction; }

    // IAppPrompter: message boxes and the real dialogs.
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& question) override;
    bool EditStation(CStation& station, bool isNew) override;
    bool AskCopyStation(std::string& siteName, std::string& group) override;

    void ApplicationSettings();
    void About();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateMenus();
    void CreateButtonBar();
    void UpdateViewChecks();
    void MarkCurrentStationRow();
    void UpdateDeleteAction();
    void OnStationChanged(CStation* station);

    CStationApp& m_app;
    QMdiArea* m_pMdi;
    CStationsBar* m_pStationsBar;
    CStationInfoView* m_pInfoView;
    QMdiSubWindow* m_pInfoWindow;
    QToolBar* m_pButtonBar = nullptr;
    QAction* m_pDeleteAction = nullptr;
    QAction *m_pCopyAction = nullptr, *m_pExportAction = nullptr;
    IAppPrompter* m_pPrompter = nullptr;
    QAction *m_pStationsAction = nullptr, *m_pInfoAction = nullptr, *m_pStatusBarAction = nullptr;
};
