// Where the settings and the site directory live on Windows, names beyond the system's code
// page, and a save that the system refuses.
#include "platform/SettingsStore.h"
#include "platform/Utf8Path.h"
#include "tests/platform/ScopedEnv.h"
#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <windows.h>

namespace
{

using testsupport::ReadFileText;
using testsupport::TempDir;
using testsupport::WriteFileText;

int EntriesIn(const std::filesystem::path& folder)
{
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder))
        ++entries;
    return entries;
}

TEST(SettingsStoreWin32, TheFileIsInTheRoamingApplicationDataAndTheSitesInTheDocuments)
{
    ScopedEnv env;
    env.Set("TIDEWELL_CONFIG", nullptr);
    const wchar_t* appData = _wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    const std::filesystem::path path = CSettingsStore::DefaultPath();
    EXPECT_EQ(path, std::filesystem::path(appData) / L"Tidewell" / L"Tidewell.conf");

    const std::filesystem::path sites = PathFromUtf8(CSettingsStore::DefaultStationDir());
    EXPECT_EQ(sites.filename(), L"Config");
    EXPECT_EQ(sites.parent_path().filename(), L"Tidewell");
    EXPECT_TRUE(std::filesystem::is_directory(sites.parent_path().parent_path())) << sites;
    EXPECT_NE(sites.parent_path().parent_path(), std::filesystem::path(appData));
    // A site directory from the settings file is written with the system's separator.
    CSettingsStore store(path);
    ASSERT_TRUE(store.SetStationDir("D:\\Sites\\"));
    EXPECT_EQ(store.GetStationDir(), "D:\\Sites");
}

TEST(SettingsStoreWin32, ANamedFileOutsideTheCodePageIsFoundAndWritten)
{
    TempDir dir;
    const std::wstring name = L"Einstellungen \u6C34.conf";
    const std::filesystem::path path = dir.Path() / name;
    ASSERT_EQ(_wputenv_s(L"TIDEWELL_CONFIG", path.c_str()), 0);
    CSettingsStore store;
    _wputenv_s(L"TIDEWELL_CONFIG", L"");
    EXPECT_EQ(store.GetPath(), path);
    ASSERT_TRUE(store.SetStationDir("C:\\Pegel \xE6\xB0\xB4"));
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(ReadFileText(path), "StationDir=C:\\Pegel \xE6\xB0\xB4\n");
    CSettingsStore again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetStationDir(), "C:\\Pegel \xE6\xB0\xB4");
    EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

TEST(SettingsStoreWin32, AFileHeldOpenByAnotherProgramIsNotReplacedAndNothingIsLeftBehind)
{
    TempDir dir;
    const auto path = dir / "Tidewell.conf";
    WriteFileText(path, "StationDir=C:\\old\n");
    CSettingsStore store(path);
    ASSERT_TRUE(store.Load());
    ASSERT_TRUE(store.SetStationDir("C:\\new"));
    // Read and write sharing, but no sharing of deletion: it cannot be replaced.
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(store.Save());
    CloseHandle(held);
    EXPECT_EQ(ReadFileText(path), "StationDir=C:\\old\n");
    EXPECT_EQ(EntriesIn(dir.Path()), 1) << "no temporary file is left beside the settings file";
    EXPECT_TRUE(store.Save());
    EXPECT_EQ(ReadFileText(path), "StationDir=C:\\new\n");
}

} // namespace
