#include "platform/SettingsStore.h"
#include "tests/platform/ScopedEnv.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using testsupport::ReadFileText;
using testsupport::TempDir;
using testsupport::WriteFileText;

TEST(SettingsStoreFile, MissingFileIsAnEmptyStoreWithTheDefaultSiteDirectory)
{
    TempDir dir;
    ScopedEnv env;
    env.Set("TIDEWELL_CONFIG", (dir / "none.conf").string().c_str());
    CSettingsStore store;
    EXPECT_EQ(store.GetPath(), dir / "none.conf");
    EXPECT_TRUE(store.Load());
    EXPECT_FALSE(store.Get("StationDir").has_value());
    EXPECT_EQ(store.GetStationDir(), CSettingsStore::DefaultStationDir());
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
    CSettingsStore store(dir / "s.conf");
    ASSERT_TRUE(store.SetStationDir(""));
    EXPECT_EQ(store.GetStationDir(), CSettingsStore::DefaultStationDir());
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
