#include "app/StationApp.h"

#include "app/AppPrompter.h"
#include "present/StationAppModel.h"
#include "station/Station.h"

#include <QWidget>

#include <filesystem>

#include <utility>

CStationApp::CStationApp(CSettingsStore settings, QObject* parent)
    : QObject(parent), m_settings(std::move(settings))
{
}

CStationApp::~CStationApp() = default;

void CStationApp::Message(const std::string& text)
{
    if (m_pPrompter)
        m_pPrompter->ShowMessage(text);
}

namespace
{
constexpr const char* kLastStationKey = "LastStation";
}

void CStationApp::RememberStation()
{
    if (!m_pStation || m_pStation->GetFilePath().empty())
        return;
    if (m_settings.Get(kLastStationKey, "") == m_pStation->GetFilePath())
        return;
    // Only a convenience: a settings file that cannot be written costs nothing else.
    if (m_settings.Set(kLastStationKey, m_pStation->GetFilePath()))
        m_settings.Save();
}

bool CStationApp::ReopenLastStation()
{
    const std::string path = m_settings.Get(kLastStationKey, "");
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        return false;
    // A station that is there but did not load cleanly is still reported (see Open): the
    // operator has to know why its programming buttons are off.
    return Open(path, true);
}

bool CStationApp::Open(const std::string& path, bool quiet)
{
    std::string message;
    std::vector<std::string> notices;
    if (!m_site.OpenStationFile(path, m_pStation, message, &notices)) {
        if (!quiet)
            Message(message);
        return false;
    }
    // Every notice is shown, warnings too; only a record that stands for a file it could not
    // read keeps the programming buttons off.
    const std::string shown = stationapp::LoadProblem(notices);
    if (!shown.empty())
        Message(shown);
    m_strLoadProblem = m_pStation && !m_pStation->LoadedCleanly() ? shown : std::string();
    emit stationChanged(m_pStation.get());
    return true;
}

void CStationApp::ReadStationDir()
{
    // A missing or unreadable settings file leaves the default site directory, silently.
    m_settings.Load();
    m_site.ReadStationDir(m_settings);
    std::string error;
    m_strStartUpNotice =
        stationapp::EnsureDefaultSiteFolder(m_site.GetSiteDir(), CSettingsStore::DefaultStationDir(), error);
    if (!error.empty())
        m_strStartUpNotice = error;
}

bool CStationApp::OpenStation(const std::string& name, const std::string& group)
{
    return OpenStationFile(m_site.GetStationFilePath(name, group));
}

bool CStationApp::OpenStationFile(const std::string& path)
{
    if (!Open(path, false))
        return false;
    RememberStation();
    return true;
}

void CStationApp::NewStation()
{
    if (!m_pPrompter)
        return;
    auto station = std::make_unique<CStation>();
    // The dialog comes back with the values as entered until they pass or the operator
    // gives up. A name that is already taken on disk is offered again the same way.
    for (;;) {
        if (!m_pPrompter->EditStation(*station, true))
            return;
        std::string errors;
        if (!station->Validate(errors)) {
            Message("Error, the settings are not valid, please correct the following errors:\r\n" + errors);
            continue;
        }
        std::string message;
        if (!stationapp::MakeStationFolder(m_site, station->GetSiteName(), station->GetGroup(), message)) {
            // Nothing was made: the current station stays, and the dialog is offered again.
            Message(message);
            continue;
        }
        // The new station only becomes current once it is on disk; a failure leaves the
        // station shown as it was.
        std::unique_ptr<CStation> added;
        const bool ok = m_site.AddStation(station, added, message);
        if (!ok && station) {
            Message(message);
            continue;
        }
        if (!ok) {
            if (!message.empty())
                Message(message);
            return;
        }
        m_pStation = std::move(added);
        m_strLoadProblem.clear();
        RememberStation();
        emit stationChanged(m_pStation.get());
        emit stationListChanged();
        return;
    }
}

bool CStationApp::AddStation(std::unique_ptr<CStation> station)
{
    std::string message;
    const bool ok = m_site.AddStation(station, m_pStation, message);
    if (!ok && !message.empty())
        Message(message);
    if (!station) {
        RememberStation();
        emit stationChanged(m_pStation.get());
        emit stationListChanged();
    }
    return ok;
}

void CStationApp::CopyStation()
{
    if (!m_pStation || !m_pPrompter)
        return;
    std::string name = CSiteDirectory::ProposedCopyName(*m_pStation);
    std::string group;
    if (!m_pPrompter->AskCopyStation(name, group))
        return;
    std::string message;
    std::string errors;
    // As for New Station: a folder that cannot be made is named with the reason, and the
    // current station stays.
    if (CStation::ValidateNames(name, group, errors) &&
        !stationapp::MakeStationFolder(m_site, name, group, message)) {
        Message(message);
        return;
    }
    // The copy's name becomes a folder: a name that is not a plain folder name is refused
    // with the same errors New Station gives, and nothing is created. The copy is made
    // from a copy, so that a failure leaves the current station as it was.
    auto source = std::make_unique<CStation>(*m_pStation);
    if (!m_site.CopyStation(name, group, source, message)) {
        if (!message.empty())
            Message(message);
        return;
    }
    m_pStation = std::move(source);
    m_strLoadProblem.clear(); // the copy was written afresh
    RememberStation();
    emit stationChanged(m_pStation.get());
    emit stationListChanged();
}

void CStationApp::DeleteStation()
{
    if (!m_pPrompter)
        return;
    const std::string blocked = stationapp::DeleteBlockedReason(m_pStation.get());
    if (!blocked.empty()) {
        if (m_pStation)
            Message(blocked);
        return;
    }
    if (!m_pPrompter->AskYesNo(CSiteDirectory::DeleteQuestion(*m_pStation)))
        return;
    m_site.DeleteStation(*m_pStation);
    // The deleted record stays current until another station is opened.
    emit stationListChanged();
}

bool CStationApp::ReplaceStation(std::unique_ptr<CStation> edited)
{
    if (!edited)
        return false;
    // The copy was made from the current station and keeps its file path.
    m_pStation = std::move(edited);
    bool ok = m_pStation->Save();
    if (!ok)
        Message("Error, could not save station, check the file is not write protected or in use by another "
                "program");
    emit stationChanged(m_pStation.get());
    return ok;
}

bool CStationApp::ApplySettings(const std::string& siteDir, const std::vector<std::string>& comDevices)
{
    m_site.SetSiteDir(siteDir);
    for (size_t i = 0; i < comDevices.size() && i < 8; ++i) {
        const std::string key = CSettingsStore::ComPortKey(static_cast<int>(i) + 1);
        if (comDevices[i].empty())
            m_settings.Remove(key);
        else
            m_settings.Set(key, comDevices[i]);
    }
    const bool written = m_site.WriteStationDir(m_settings);
    emit stationListChanged();
    return written;
}

void CStationApp::ExitInstance()
{
    if (m_pStation && m_pStation->IsModified())
        m_pStation->Save(); // a failure here is not reported: the program is ending
    m_pStation.reset();
}

void CStationApp::AddDataWindow(QWidget* window)
{
    if (!window)
        return;
    m_arrWindows.append(QPointer<QWidget>(window));
    // A widget announces its end before its guards are cleared, so match it by address.
    connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        m_arrWindows.removeIf([gone](const QPointer<QWidget>& p) { return p.isNull() || p.data() == gone; });
    });
}

QList<QWidget*> CStationApp::DataWindows() const
{
    QList<QWidget*> windows;
    for (const auto& p : m_arrWindows)
        if (p)
            windows.append(p.data());
    return windows;
}
