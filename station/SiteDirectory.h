#pragma once
// The site directory: the one folder under which every station lives, one station
// directory per station, optionally below group folders:
//
//     <site dir>/<site name>/<site name>.hstn
//     <site dir>/<group>/<site name>/<site name>.hstn      (a group may be A/B)
//
// This class keeps the site directory's path and the station list of the last scan, and
// does the work on disk behind the File menu: open, add, copy and delete a station, and
// list a station's recorded data files. The windows ask the questions and show the
// messages; the operations here hand back the exact text to show when they fail.
//
// Paths use the platform separator. The name and group rules count separators where the
// Windows build counts backslashes.
#include <memory>
#include <string>
#include <vector>

class CSettingsStore;
class CStation;

class CSiteDirectory
{
  public:
    explicit CSiteDirectory(std::string siteDir = {});

    // The site directory from the settings file ("StationDir"), or its default.
    void ReadStationDir(const CSettingsStore& settings);
    // Stores the site directory in the settings file and writes the file; false when it
    // could not be written (the new directory is in use either way).
    bool WriteStationDir(CSettingsStore& settings);

    const std::string& GetSiteDir() const { return m_strSiteDir; }
    // Trailing separators are dropped: the group rule needs the path without one.
    void SetSiteDir(std::string siteDir);

    // Empties the station list and fills it from the site directory, depth first, in the
    // order the file system returns the entries. Every file whose full path ends in
    // "hstn" counts. A missing or unreadable site directory gives an empty list.
    void ScanStations();
    int GetStationCount() const { return static_cast<int>(m_arrStationFiles.size()); }
    // Row i of the list; an empty text for a row that does not exist.
    std::string GetStationPath(int i) const;
    std::string GetStationName(int i) const;
    std::string GetStationGroup(int i) const;
    const std::vector<std::string>& GetStationFiles() const { return m_arrStationFiles; }

    // The text after the last separator less its last five characters (".hstn"); empty
    // when the path has no separator or nothing before the extension.
    static std::string StationNameFromPath(const std::string& path);
    // The folders between the site directory and the station directory ("" for none).
    std::string GroupFromPath(const std::string& path) const;

    // <site dir>[/<group>]/<site name>
    std::string GetStationDirectory(const std::string& siteName, const std::string& group) const;
    std::string GetStationDirectory(const CStation& station) const;
    // Where OpenStation looks: the station directory, then <site name>.hstn.
    std::string GetStationFilePath(const std::string& siteName, const std::string& group) const;

    // True when site name and group name a station directory strictly below the site
    // directory: the site name one plain folder name, the group empty or plain folder
    // names joined by separators; no empty, "." or ".." part and no NUL. Nothing is created
    // or deleted for a station that fails this.
    static bool IsSafeStationLocation(const std::string& siteName, const std::string& group);

    // Loads a station file and makes it the current station. On failure `message` is set
    // ("Failed to load <path> file may be in use or corrupted!") and `current` is kept.
    // A modified current station is saved first (a failed save is not reported). The new
    // station's group is set from its path, which marks it modified.
    // A file can open and still have something to tell the operator (a version number
    // this program does not know opens as a station with every default): those texts are
    // appended to `notices` when it is given.
    bool OpenStationFile(const std::string& path, std::unique_ptr<CStation>& current, std::string& message,
                         std::vector<std::string>* notices = nullptr) const;
    // The station file of a site name and group, opened as above.
    bool OpenStation(const std::string& siteName, const std::string& group,
                     std::unique_ptr<CStation>& current, std::string& message,
                     std::vector<std::string>* notices = nullptr) const;

    // True when a station file of that site name and group is already on disk.
    bool StationFileExists(const std::string& siteName, const std::string& group) const;

    // Makes `station` current (the old current station is dropped unsaved), creates its
    // group folder and station directory (only the last level of each: a missing site
    // directory fails) and saves the station file there. On failure `message` holds the
    // text to show, and the new station stays current without a file.
    // Another station's file is never written over: when a station file of that name and
    // group exists, nothing changes at all, `station` is left with the caller (so that the
    // dialog can offer it again) and `message` says so.
    bool AddStation(std::unique_ptr<CStation>& station, std::unique_ptr<CStation>& current,
                    std::string& message) const;

    // The name the "Copy Station" dialog proposes: the site name with "_COPY".
    static std::string ProposedCopyName(const CStation& station);
    // Copies the current station under a new site name and group and adds the copy. The
    // name and group must pass the station's site-name rule first; when they do not,
    // nothing is created, the current station is kept and `message` holds the errors.
    bool CopyStation(const std::string& siteName, const std::string& group,
                     std::unique_ptr<CStation>& current, std::string& message) const;

    // The question asked before a station is deleted.
    static std::string DeleteQuestion(const CStation& station);
    // Deletes the station directory with everything in it; its group folder stays. Errors
    // along the way are not reported; false only when nothing was attempted because the
    // station's location is not safe (see IsSafeStationLocation).
    bool DeleteStation(const CStation& station) const;

    // The names (without folder) of the recorded data files in the station directory:
    // files whose name is longer than four characters and ends in "." and three digits.
    void GetDataFiles(const CStation& station, std::vector<std::string>& names) const;
    static void GetDataFilesIn(const std::string& folder, std::vector<std::string>& names);

  private:
    std::string m_strSiteDir;
    std::vector<std::string> m_arrStationFiles;
};
