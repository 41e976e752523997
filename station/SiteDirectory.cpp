#include "station/SiteDirectory.h"

#include "data/DataFiles.h"
#include "platform/FileIdentity.h"
#include "platform/SettingsStore.h"
#include "platform/Utf8Path.h"
#include "station/Station.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace
{

constexpr char SEP = PATH_SEPARATOR;

int CountSeparators(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), SEP));
}

std::string WithoutTrailingSeparators(std::string path)
{
    while (path.size() > 1 && path.back() == SEP)
        path.pop_back();
    return path;
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == SEP)
        return folder + name;
    return folder + SEP + name;
}

// Characters that make a name more than one folder: the separators, and on Windows the
// ":" of a drive or of a file's alternate stream.
#ifdef _WIN32
constexpr const char* NOT_IN_A_NAME = "\\/:";
#else
constexpr const char* NOT_IN_A_NAME = "/";
#endif

bool IsPlainFolderName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(NOT_IN_A_NAME) == std::string::npos && name.find('\0') == std::string::npos;
}

// The entries of a folder in the order the file system gives them, "." and ".." left out.
// An unreadable folder has none.
std::vector<fs::directory_entry> ListFolder(const fs::path& folder)
{
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
        entries.push_back(*it);
    return entries;
}

// Depth first, each sub-folder at the point where it is met. A folder reached a second
// time (through a link that loops back) is not scanned again.
void ScanFolder(const fs::path& folder, std::set<SFileIdentity>& seen, std::vector<std::string>& files)
{
    SFileIdentity identity;
    if (!GetFileIdentity(folder, identity) || !seen.insert(identity).second)
        return;
    for (const fs::directory_entry& entry : ListFolder(folder)) {
        std::error_code ec;
        if (entry.is_directory(ec)) {
            ScanFolder(entry.path(), seen, files);
            continue;
        }
        const std::string path = Utf8FromPath(entry.path());
        if (path.size() >= 4 && path.compare(path.size() - 4, 4, "hstn") == 0)
            files.push_back(path);
    }
}

// Removes a folder with everything in it, going on past what cannot be removed. A link
// is removed as a link; what it points to is never touched.
void RemoveTree(const fs::path& folder)
{
    for (const fs::directory_entry& entry : ListFolder(folder)) {
        std::error_code ec;
        if (entry.symlink_status(ec).type() == fs::file_type::directory)
            RemoveTree(entry.path());
        else
            fs::remove(entry.path(), ec);
    }
    std::error_code ec;
    fs::remove(folder, ec);
}

// Makes sure one folder exists, creating only that last level.
bool EnsureFolder(const std::string& folder)
{
    std::error_code ec;
    const fs::path path = PathFromUtf8(folder);
    if (fs::is_directory(path, ec))
        return true;
    return fs::create_directory(path, ec) && !ec;
}

} // namespace

CSiteDirectory::CSiteDirectory(std::string siteDir)
{
    SetSiteDir(siteDir.empty() ? CSettingsStore::DefaultStationDir() : std::move(siteDir));
}

void CSiteDirectory::ReadStationDir(const CSettingsStore& settings)
{
    SetSiteDir(settings.GetStationDir());
}

bool CSiteDirectory::WriteStationDir(CSettingsStore& settings)
{
    return settings.SetStationDir(m_strSiteDir) && settings.Save();
}

void CSiteDirectory::SetSiteDir(std::string siteDir)
{
    // The name and group rules count the system's own separator; Windows takes "/" as one
    // too, so a site directory typed with it is written the system's way.
    if (SEP != '/')
        std::replace(siteDir.begin(), siteDir.end(), '/', SEP);
    m_strSiteDir = WithoutTrailingSeparators(std::move(siteDir));
}

void CSiteDirectory::ScanStations()
{
    m_arrStationFiles.clear();
    if (m_strSiteDir.empty())
        return;
    std::set<SFileIdentity> seen;
    ScanFolder(PathFromUtf8(m_strSiteDir), seen, m_arrStationFiles);
}

std::string CSiteDirectory::GetStationPath(int i) const
{
    if (i < 0 || i >= GetStationCount())
        return {};
    return m_arrStationFiles[static_cast<size_t>(i)];
}

std::string CSiteDirectory::GetStationName(int i) const
{
    return StationNameFromPath(GetStationPath(i));
}

std::string CSiteDirectory::GetStationGroup(int i) const
{
    return GroupFromPath(GetStationPath(i));
}

std::string CSiteDirectory::StationNameFromPath(const std::string& path)
{
    auto sep = path.find_last_of(PATH_SEPARATORS);
    if (sep == std::string::npos)
        return {};
    std::string file = path.substr(sep + 1);
    if (file.size() <= 5)
        return {};
    return file.substr(0, file.size() - 5);
}

std::string CSiteDirectory::GroupFromPath(const std::string& path) const
{
    // The site directory's own separators, then one before the station directory and one
    // before the file: any separator beyond those belongs to the group. A site directory
    // of "/" counts as having none, so that its stations' groups come out right.
    const std::string siteDir = m_strSiteDir == std::string(1, SEP) ? std::string() : m_strSiteDir;
    const int first = CountSeparators(siteDir) + 2;
    const int count = CountSeparators(path);
    if (first >= count)
        return {};
    std::vector<size_t> positions;
    for (size_t i = 0; i < path.size(); ++i)
        if (path[i] == SEP)
            positions.push_back(i);
    const size_t start = positions[static_cast<size_t>(first - 2)];
    const size_t end = positions[static_cast<size_t>(count - 2)];
    return path.substr(start + 1, end - start - 1);
}

std::string CSiteDirectory::GetStationDirectory(const std::string& siteName, const std::string& group) const
{
    std::string dir = m_strSiteDir;
    if (!group.empty())
        dir = Join(dir, group);
    return Join(dir, siteName);
}

std::string CSiteDirectory::GetStationDirectory(const CStation& station) const
{
    return GetStationDirectory(station.GetSiteName(), station.GetGroup());
}

std::string CSiteDirectory::GetStationFilePath(const std::string& siteName, const std::string& group) const
{
    return Join(GetStationDirectory(siteName, group), siteName + ".hstn");
}

bool CSiteDirectory::IsSafeStationLocation(const std::string& siteName, const std::string& group)
{
    if (!IsPlainFolderName(siteName))
        return false;
    if (group.empty())
        return true;
    size_t start = 0;
    while (true) {
        size_t sep = group.find(SEP, start);
        if (!IsPlainFolderName(
                group.substr(start, sep == std::string::npos ? std::string::npos : sep - start)))
            return false;
        if (sep == std::string::npos)
            return true;
        start = sep + 1;
    }
}

bool CSiteDirectory::OpenStationFile(const std::string& path, std::unique_ptr<CStation>& current,
                                     std::string& message, std::vector<std::string>* notices) const
{
    auto station = std::make_unique<CStation>();
    StationLoadReport report;
    if (!station->Load(path, {}, &report)) {
        message = "Failed to load " + path + " file may be in use or corrupted!";
        return false;
    }
    if (notices)
        notices->insert(notices->end(), report.messages.begin(), report.messages.end());
    if (current && current->IsModified())
        current->Save();
    // Where the file lies decides the group, whatever the file says; setting it marks the
    // station modified, so the file learns its group when the station is next written.
    station->SetGroup(GroupFromPath(path));
    current = std::move(station);
    return true;
}

bool CSiteDirectory::OpenStation(const std::string& siteName, const std::string& group,
                                 std::unique_ptr<CStation>& current, std::string& message,
                                 std::vector<std::string>* notices) const
{
    return OpenStationFile(GetStationFilePath(siteName, group), current, message, notices);
}

bool CSiteDirectory::StationFileExists(const std::string& siteName, const std::string& group) const
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(PathFromUtf8(GetStationFilePath(siteName, group)), ec));
}

bool CSiteDirectory::AddStation(std::unique_ptr<CStation>& station, std::unique_ptr<CStation>& current,
                                std::string& message) const
{
    const std::string siteName = station->GetSiteName();
    const std::string group = station->GetGroup();
    if (StationFileExists(siteName, group)) {
        message = "Error, the station " + GetStationFilePath(siteName, group) + " already exists!";
        return false;
    }
    current = std::move(station);

    static const char* const kCannotCreate = "System Error! Could not create station directory!";
    if (m_strSiteDir.empty() || !IsSafeStationLocation(siteName, group)) {
        message = kCannotCreate;
        return false;
    }
    std::string folder = m_strSiteDir;
    if (!group.empty()) {
        folder = Join(folder, group);
        if (!EnsureFolder(folder)) {
            message = kCannotCreate;
            return false;
        }
    }
    folder = Join(folder, siteName);
    if (!EnsureFolder(folder)) {
        message = kCannotCreate;
        return false;
    }
    if (!current->Save(Join(folder, siteName + ".hstn"))) {
        message = "Error, could not save station file, possible system error";
        return false;
    }
    return true;
}

std::string CSiteDirectory::ProposedCopyName(const CStation& station)
{
    return station.GetSiteName() + "_COPY";
}

bool CSiteDirectory::CopyStation(const std::string& siteName, const std::string& group,
                                 std::unique_ptr<CStation>& current, std::string& message) const
{
    if (!current)
        return false;
    // The typed name becomes a folder: check it before anything is made on disk.
    std::string errors;
    if (!CStation::ValidateNames(siteName, group, errors)) {
        message = "Error, the settings are not valid, please correct the following errors:\r\n" + errors;
        return false;
    }
    auto copy = std::make_unique<CStation>(*current);
    copy->SetGroup(group);
    copy->SetSiteName(siteName);
    return AddStation(copy, current, message);
}

std::string CSiteDirectory::DeleteQuestion(const CStation& station)
{
    return "Are you sure you wish to delete " + station.GetSiteName() +
           ", including all data?  This operation is not reversible.";
}

bool CSiteDirectory::DeleteStation(const CStation& station) const
{
    // A site name of "", "." or ".." (or a group with such a part) would put the
    // "station directory" on the site directory or above it.
    if (m_strSiteDir.empty() || !IsSafeStationLocation(station.GetSiteName(), station.GetGroup()))
        return false;
    const fs::path folder = PathFromUtf8(GetStationDirectory(station));
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(folder, ec);
    if (status.type() == fs::file_type::directory)
        RemoveTree(folder);
    else if (status.type() == fs::file_type::symlink)
        fs::remove(folder, ec);
    return true;
}

void CSiteDirectory::GetDataFiles(const CStation& station, std::vector<std::string>& names) const
{
    GetDataFilesIn(GetStationDirectory(station), names);
}

void CSiteDirectory::GetDataFilesIn(const std::string& folder, std::vector<std::string>& names)
{
    for (const fs::directory_entry& entry : ListFolder(PathFromUtf8(folder))) {
        std::error_code ec;
        if (entry.is_directory(ec))
            continue;
        std::string name = Utf8FromPath(entry.path().filename());
        if (IsDataFileName(name))
            names.push_back(std::move(name));
    }
}
