#pragma once
// The application's own settings: a small text file of "key=value" lines. It takes the
// place of the registry key of the Windows build. It holds the site directory
// ("StationDir") and the device behind each numbered serial port ("COM1" .. "COM8"), and
// anything else a later piece needs, through the generic Get/Set.
//
// Where the file lives: the file named by the environment variable TIDEWELL_CONFIG when
// it is set and not empty (tests and the demo site point it at their own file), else
// $XDG_CONFIG_HOME/Tidewell/Tidewell.conf, else ~/.config/Tidewell/Tidewell.conf; on
// Windows %APPDATA%\Tidewell\Tidewell.conf (the user's roaming application data).
//
// Lines that are not "key=value" (blank lines, "#" comments) are kept as they are, so a
// file someone edited by hand keeps its notes when the program writes it back.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CSettingsStore
{
  public:
    // Value name of the site directory, as the Windows build calls it in the registry.
    static constexpr const char* STATION_DIR_KEY = "StationDir";

    // A store for the file at the usual place (see above); nothing is read yet.
    CSettingsStore();
    explicit CSettingsStore(std::filesystem::path path);

    // The usual place of the settings file, from the environment.
    static std::filesystem::path DefaultPath();
    // $HOME/Tidewell/Config (on Windows Tidewell\Config in the user's documents folder):
    // the site directory when the file does not name one.
    static std::string DefaultStationDir();
    // The key of serial port n ("COM1" for 1).
    static std::string ComPortKey(int port);

    const std::filesystem::path& GetPath() const { return m_path; }

    // Reads the file. A missing file is an empty store and not a failure; false only when
    // the file exists and cannot be read. What was held before is replaced either way.
    bool Load();
    // Writes the file whole: a temporary file beside it, flushed to disk, then renamed
    // over it, so a crash never leaves half a settings file. Creates the file's folder
    // when missing. False on any error, with the old file left as it was.
    bool Save() const;

    // The value of a key (exact, case-sensitive match), or none.
    std::optional<std::string> Get(const std::string& key) const;
    std::string Get(const std::string& key, const std::string& fallback) const;
    // Stores a value, replacing the key's line in place or appending a new one. False
    // (nothing changed) when the key or value would not read back as given: a key that is
    // empty, holds "=", starts with "#" or has spaces at its ends, a value with spaces at
    // its ends (reading trims them), or a line break or NUL in either.
    bool Set(const std::string& key, const std::string& value);
    // Drops a key; false when it was not there.
    bool Remove(const std::string& key);

    // The site directory: the "StationDir" value when it is present and not empty, else
    // DefaultStationDir(). A trailing separator is dropped, as the name and group rules
    // of the site directory expect a path without one.
    std::string GetStationDir() const;
    bool SetStationDir(const std::string& dir);

  private:
    // The file's new text written whole in the file's place (see Save).
    static bool WriteWhole(const std::filesystem::path& path, const std::string& text);

    struct SLine {
        std::string m_strKey; // empty: a line kept verbatim in m_strText
        std::string m_strText;
    };

    std::filesystem::path m_path;
    std::vector<SLine> m_arrLines;
};
