#include "present/StationAppModel.h"

#include "platform/Utf8Path.h"
#include "station/SiteDirectory.h"
#include "station/Station.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace stationapp
{

namespace
{

constexpr const char* kCannotCreate = "System Error! Could not create station directory!";

// Makes one folder level; false with the system's reason when it cannot.
bool MakeLevel(const fs::path& folder, std::string& reason)
{
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return true;
    if (fs::create_directory(folder, ec) && !ec)
        return true;
    if (!ec) // create_directory said no without a reason: something else is in the way
        ec = std::make_error_code(std::errc::file_exists);
    reason = ec.message();
    return false;
}

} // namespace

std::string EnsureDefaultSiteFolder(const std::string& siteDir, const std::string& defaultDir,
                                    std::string& error)
{
    error.clear();
    std::error_code ec;
    if (siteDir.empty() ||
        PathFromUtf8(siteDir).lexically_normal() != PathFromUtf8(defaultDir).lexically_normal() ||
        fs::exists(PathFromUtf8(siteDir), ec))
        return {};
    fs::create_directories(PathFromUtf8(siteDir), ec);
    if (ec) {
        error = "Could not create the site folder " + siteDir + ": " + ec.message();
        return {};
    }
    return "Created the site folder " + siteDir;
}

bool MakeStationFolder(const CSiteDirectory& site, const std::string& siteName, const std::string& group,
                       std::string& message)
{
    if (site.GetSiteDir().empty() || !CSiteDirectory::IsSafeStationLocation(siteName, group))
        return true;
    std::string reason;
    fs::path folder = PathFromUtf8(site.GetSiteDir());
    if (!group.empty()) {
        folder /= PathFromUtf8(group);
        if (!MakeLevel(folder, reason)) {
            message = std::string(kCannotCreate) + "\r\n" + Utf8FromPath(folder) + ": " + reason;
            return false;
        }
    }
    folder = PathFromUtf8(site.GetStationDirectory(siteName, group));
    if (!MakeLevel(folder, reason)) {
        message = std::string(kCannotCreate) + "\r\n" + Utf8FromPath(folder) + ": " + reason;
        return false;
    }
    return true;
}

std::string LoadProblem(const std::vector<std::string>& notices)
{
    std::string text;
    for (const std::string& notice : notices) {
        if (!text.empty())
            text += "\r\n";
        text += notice;
    }
    return text;
}

std::string ProgramBlockedReason(const std::string& loadProblem)
{
    if (loadProblem.empty())
        return {};
    return "This station's file did not load cleanly, so it may not program an instrument: " + loadProblem;
}

std::string DeleteBlockedReason(const CStation* station)
{
    if (!station)
        return "No station is open";
    if (station->GetSiteName().empty())
        return "This station has no site name, so it has no station folder to delete";
    return {};
}

int RowToKeep(const std::vector<std::string>& paths, const std::string& currentPath, int previousRow)
{
    if (!currentPath.empty())
        for (size_t i = 0; i < paths.size(); ++i)
            if (PathFromUtf8(paths[i]).lexically_normal() == PathFromUtf8(currentPath).lexically_normal())
                return static_cast<int>(i);
    if (previousRow >= 0 && previousRow < static_cast<int>(paths.size()))
        return previousRow;
    return -1;
}

std::string FindStartStation(const std::vector<std::string>& names, const std::vector<std::string>& paths,
                             const std::string& wanted, std::string& error)
{
    error.clear();
    std::string found;
    int matches = 0;
    for (size_t i = 0; i < names.size() && i < paths.size(); ++i) {
        if (names[i] == wanted) {
            found = paths[i];
            ++matches;
        }
    }
    if (matches == 1)
        return found;
    if (matches > 1) {
        error = "station name " + wanted + " is used in more than one group; give the path of its .hstn file";
        return {};
    }
    // Not a listed name: a path to a station file, which need not be in the site folder.
    std::error_code ec;
    if (std::filesystem::is_regular_file(PathFromUtf8(wanted), ec))
        return wanted;
    error = "no station " + wanted + " in the site folder, and no station file by that path";
    return {};
}

} // namespace stationapp
