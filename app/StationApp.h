#pragma once
// The application object: the settings file, the site directory with its station list, the
// current station (owned) and the list of open data windows. The main window routes its
// commands here; the questions and dialogs go through an IAppPrompter.
#include "platform/SettingsStore.h"
#include "present/GrabGate.h"
#include "station/SiteDirectory.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class CStation;
class IAppPrompter;
class QWidget;

class CStationApp : public QObject
{
    Q_OBJECT
  public:
    explicit CStationApp(CSettingsStore settings, QObject* parent = nullptr);
    ~CStationApp() override;

    void SetPrompter(IAppPrompter* prompter) { m_pPrompter = prompter; }

    // Start-up: the site directory from the settings file (the default when none). The
    // default folder is made when it is missing; StartUpNotice() then says so once.
    void ReadStationDir();
    const std::string& StartUpNotice() const { return m_strStartUpNotice; }
    const std::string& GetSiteDir() const { return m_site.GetSiteDir(); }
    CSettingsStore& Settings() { return m_settings; }
    const CSiteDirectory& Site() const { return m_site; }

    void ScanStations() { m_site.ScanStations(); }
    int GetStationCount() const { return m_site.GetStationCount(); }
    std::string GetStationPath(int i) const { return m_site.GetStationPath(i); }
    std::string GetStationName(int i) const { return m_site.GetStationName(i); }
    std::string GetStationGroup(int i) const { return m_site.GetStationGroup(i); }

    CStation* GetStation() const { return m_pStation.get(); }
    // What the current station's file load had to say (an unknown version read as defaults),
    // empty when it loaded cleanly. Such a station must not program an instrument.
    const std::string& GetLoadProblem() const { return m_strLoadProblem; }

    bool OpenStation(const std::string& name, const std::string& group);
    bool OpenStationFile(const std::string& path);
    void NewStation();
    void CopyStation();
    void DeleteStation();
    // Makes `station` current, creates its folders and writes its file.
    bool AddStation(std::unique_ptr<CStation> station);
    // Replaces the current station by an edited copy and writes it to the same file (the
    // "Configure" road of the station information view).
    bool ReplaceStation(std::unique_ptr<CStation> edited);
    // Sets the site directory and the eight port devices, writes the settings file and
    // asks for the station list to be rebuilt. False when the file could not be written.
    bool ApplySettings(const std::string& siteDir, const std::vector<std::string>& comDevices);

    std::string GetStationDirectory(const CStation& station) const
    {
        return m_site.GetStationDirectory(station);
    }
    void GetDataFiles(const CStation& station, std::vector<std::string>& names) const
    {
        m_site.GetDataFiles(station, names);
    }

    // The station open when the program last ended (or last opened), when its file is
    // still there; opened quietly, as a start-up step must not greet the operator with a
    // message about a station that has gone.
    bool ReopenLastStation();

    // Shut-down: a modified current station is written without asking, then dropped.
    void ExitInstance();

    // An unattended run's picture (--grab) waits until every window that started work at
    // start-up has finished it: such a window calls HoldGrab() when the work starts and
    // ReleaseGrab() at its end, well or badly, and FailGrab() with one line when it failed.
    void HoldGrab() { m_grab.Hold(); }
    void ReleaseGrab() { m_grab.Release(); }
    void FailGrab(const std::string& why) { m_grab.Fail(why); }
    CGrabGate& GrabGate() { return m_grab; }

    // Data windows: appended when opened, taken out when they close.
    void AddDataWindow(QWidget* window);
    QList<QWidget*> DataWindows() const;

  signals:
    // The current station changed (it may be null).
    void stationChanged(CStation* station);
    // The site directory's contents changed: the Stations bar should be rebuilt.
    void stationListChanged();

  private:
    void Message(const std::string& text);
    void RememberStation();
    // Opens a station file as the current one. Its load notices are kept and always shown;
    // `quiet` leaves a file that could not be opened at all unreported.
    bool Open(const std::string& path, bool quiet);

    CSettingsStore m_settings;
    CSiteDirectory m_site;
    std::unique_ptr<CStation> m_pStation;
    std::string m_strLoadProblem;
    std::string m_strStartUpNotice;
    QList<QPointer<QWidget>> m_arrWindows;
    IAppPrompter* m_pPrompter = nullptr;
    CGrabGate m_grab;
};
