#pragma once
// The application's decisions about the site folder, the station list and the current
// station, kept apart from the windows: the first-run site folder, a station folder that
// cannot be made, whether a station may drive an instrument or be deleted, and which row
// of a rebuilt station list is the current station's.
#include <string>
#include <vector>

class CSiteDirectory;
class CStation;

namespace stationapp
{

// Makes the site folder when it is the default one and is missing (an account that never
// ran the program). A folder the operator chose is never made: a missing one is more likely
// an absent drive than a wish. Returns the status bar text to show once, empty when there
// is nothing to say; `error` is set when the folder was needed and could not be made.
std::string EnsureDefaultSiteFolder(const std::string& siteDir, const std::string& defaultDir,
                                    std::string& error);

// Makes the group folder and the station folder of a new station below the site folder,
// only the last level of each (as the site directory does). On failure `message` starts with
// "System Error! Could not create station directory!" and names the folder and the system's
// reason. A site name or group that is not a plain location makes nothing and returns true:
// the site directory refuses it with its own message.
bool MakeStationFolder(const CSiteDirectory& site, const std::string& siteName, const std::string& group,
                       std::string& message);

// The load notices of a station file joined into the text the operator is shown; empty
// when there were none. A warning (bytes after the last field) is a notice of a clean load.
std::string LoadProblem(const std::vector<std::string>& notices);

// Why a station that did not load cleanly must not program an instrument (the tool tip of
// the programming buttons).
std::string ProgramBlockedReason(const std::string& loadProblem);

// Why Delete is not offered for this station, empty when it is.
std::string DeleteBlockedReason(const CStation* station);

// The row of the rebuilt list holding `currentPath`; when it is not listed (it was deleted
// or moved), the row number kept before, if the list still has it; else -1.
int RowToKeep(const std::vector<std::string>& paths, const std::string& currentPath, int previousRow);

// The station file a start-up request names: `wanted` is a site name as the Stations bar
// lists it (names[i] with its file paths[i]) or the path of a station file. Returns the
// path, or empty with `error` set to one line (unknown, or a name that two groups share).
std::string FindStartStation(const std::vector<std::string>& names, const std::vector<std::string>& paths,
                             const std::string& wanted, std::string& error);

} // namespace stationapp
