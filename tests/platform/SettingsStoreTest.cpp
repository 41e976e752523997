#include "platform/SettingsStore.h"
#include "tests/support/TestSupport.h"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

using testsupport::ReadFileText;
using testsupport::TempDir;
using testsupport::WriteFileText;

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnv
{
  public:
    void Set(const char* name, const char* value)
    {
        if (!m_saved.count(name)) {
            const char* old = std::getenv(name);
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        for (auto& [name, value] : m_saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> m_saved;
};

TEST(SettingsStoreLocation, FollowsTheEnvironmentInOrder)
{
    ScopedEnv env;
    env.Set("HOME", "/home/op");
    env.Set("TIDEWELL_CONFIG", "/tmp/elsewhere.conf");
    env.Set("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(CSettingsStore::DefaultPath(), "/tmp/elsewhere.conf");

    env.Set("TIDEWELL_CONFIG", "");
    EXPECT_EQ(CSettingsStore::DefaultPath(), "/xdg/Tidewell/Tidewell.conf");

    env.Set("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(CSettingsStore::DefaultPath(), "/home/op/.config/Tidewell/Tidewell.conf");

    // A relative XDG_CONFIG_HOME is not a usable base.
    env.Set("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(CSettingsStore::DefaultPath(), "/home/op/.config/Tidewell/Tidewell.conf");

    EXPECT_EQ(CSettingsStore::DefaultStationDir(), "/home/op/Tidewell/Config");
    EXPECT_EQ(CSettingsStore().GetPath(), "/home/op/.config/Tidewell/Tidewell.conf");
}

TEST(SettingsStoreFile, MissingFileIsAnEmptyStoreWithTheDefaultSiteDirectory)
{
    TempDir dir;
    ScopedEnv env;
    env.Set("HOME", dir.Path().c_str());
    env.Set("TIDEWELL_CONFIG", (dir / "none.conf").c_str());
    CSettingsStore store;
    EXPECT_TRUE(store.Load());
    EXPECT_FALSE(store.Get("StationDir").has_value());
    EXPECT_EQ(store.GetStationDir(), (dir.Path() / "Tidewell" / "Config").string());
    EXPECT_FALSE(std::filesystem::exists(dir / "none.conf")); // reading writes nothing
}

TEST(SettingsStoreFile, ReadsHandWrittenLinesAndKeepsTheirNotes)
{
    TempDir dir;
    auto path = dir / "Tidewell.conf";
    WriteFileText(path, "# site of the river stations\r\n"
                        "StationDir = /data/stations/ \r\n"
                        "\n"
                        "COM1=/dev/ttyUSB0\n"
                        "not a setting\n"
                        "COM2=\n");
    CSettingsStore store(path);
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.Get("StationDir", "x"), "/data/stations/");
    EXPECT_EQ(store.GetStationDir(), "/data/stations"); // no trailing separator
    EXPECT_EQ(store.Get(CSettingsStore::ComPortKey(1), ""), "/dev/ttyUSB0");
    EXPECT_EQ(store.Get("COM2", "x"), "");       // present and empty is not missing
    EXPECT_FALSE(store.Get("com1").has_value()); // keys match exactly
    EXPECT_FALSE(store.Get("not a setting").has_value());

    ASSERT_TRUE(store.Set("COM1", "/dev/ttyS3"));
    ASSERT_TRUE(store.Set("COM8", "sim:velunit"));
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(ReadFileText(path), "# site of the river stations\n"
                                  "StationDir=/data/stations/\n"
                                  "\n"
                                  "COM1=/dev/ttyS3\n"
                                  "not a setting\n"
                                  "COM2=\n"
                                  "COM8=sim:velunit\n");
}

TEST(SettingsStoreFile, EmptyStationDirFallsBackToTheDefault)
{
    TempDir dir;
    ScopedEnv env;
    env.Set("HOME", "/home/op");
    CSettingsStore store(dir / "s.conf");
    ASSERT_TRUE(store.SetStationDir(""));
    EXPECT_EQ(store.GetStationDir(), "/home/op/Tidewell/Config");
    ASSERT_TRUE(store.SetStationDir("/"));
    EXPECT_EQ(store.GetStationDir(), "/"); // the root keeps its only separator
}

TEST(SettingsStoreFile, SaveCreatesTheFolderAndReadsBack)
{
    TempDir dir;
    auto path = dir / "config" / "Tidewell" / "Tidewell.conf";
    CSettingsStore store(path);
    ASSERT_TRUE(store.SetStationDir("/srv/Tidewell Sites/Config"));
    ASSERT_TRUE(store.Set("COM3", "/dev/pts/7"));
    ASSERT_TRUE(store.Save());

    CSettingsStore again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetStationDir(), "/srv/Tidewell Sites/Config");
    EXPECT_EQ(again.Get("COM3", ""), "/dev/pts/7");
    EXPECT_TRUE(again.Remove("COM3"));
    EXPECT_FALSE(again.Remove("COM3"));
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(ReadFileText(path), "StationDir=/srv/Tidewell Sites/Config\n");

    // Nothing but the file itself is left in its folder (no temporary files).
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(path.parent_path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(SettingsStoreFile, RejectsKeysAndValuesThatWouldNotReadBack)
{
    CSettingsStore store("/nonexistent/s.conf");
    EXPECT_FALSE(store.Set("", "x"));
    EXPECT_FALSE(store.Set("a=b", "x"));
    EXPECT_FALSE(store.Set("#COM1", "x"));
    EXPECT_FALSE(store.Set(" COM1", "x"));
    EXPECT_FALSE(store.Set("COM1", "/dev/tty\nStationDir=/"));
    EXPECT_FALSE(store.Set("COM1", std::string("a\0b", 3)));
    EXPECT_FALSE(store.Set("COM1", " /dev/ttyS0"));
    EXPECT_FALSE(store.Set("COM1", "/dev/ttyS0 "));
    EXPECT_FALSE(store.Get("COM1").has_value());
    EXPECT_TRUE(store.Set("COM1", "a=b")); // an "=" in a value is harmless
}

TEST(SettingsStoreFile, FailedSaveLeavesTheOldFile)
{
    // The save runs in a child whose file-size limit makes every write of more than a few
    // bytes fail, as a full disk would; that works for root too, unlike a read-only folder.
    TempDir dir;
    auto path = dir / "Tidewell.conf";
    WriteFileText(path, "StationDir=/old\n");

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            8, 8
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CSettingsStore store(path);
        bool ok = store.Load() && store.SetStationDir("/a/much/longer/site/directory/than/eight/bytes");
        ::_exit(!ok ? 3 : store.Save() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must report the failed write";
    EXPECT_EQ(ReadFileText(path), "StationDir=/old\n");
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "no temporary file is left beside the settings file";
}

TEST(SettingsStoreFile, UnreadableFileIsAFailure)
{
    TempDir dir;
    // A folder where the file should be cannot be read as a file.
    std::filesystem::create_directory(dir / "Tidewell.conf");
    CSettingsStore store(dir / "Tidewell.conf");
    EXPECT_FALSE(store.Load());
    EXPECT_FALSE(store.Save()); // and cannot be replaced by one
    // The failed save leaves the folder as it was, with no temporary file beside it.
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Tidewell.conf"));
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

} // namespace
