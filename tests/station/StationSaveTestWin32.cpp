// The station save on Windows: the failures the system can put in its way each leave the
// old file whole and no temporary file beside it, and the temporary files of saves that
// were killed are removed by the next save while those of saves still under way are not.
#include "station/FileReplace.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <windows.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

const std::vector<unsigned char> OLD = {9, 8, 7, 6};

std::vector<std::string> Entries(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

CStation NamedStation()
{
    CStation station{CDateTime(45000.0)};
    station.SetSiteName("s");
    return station;
}

// A big station, so that a kill lands inside its save.
std::vector<uint8_t> BigStationBytes()
{
    CStation big;
    big.SetSiteName("s");
    for (int i = 0; i < 2000; ++i)
        big.AddCalcSetFromStation(CDateTime(40000.0 + i));
    return big.ToBytes();
}

const wchar_t* const SAVE_FOREVER = L"TIDEWELL_TEST_SAVE_FOREVER";

// A process of this test program: one that runs no test, started suspended (it then runs
// until it is ended) or run to its end; or one that saves for ever (see below).
struct SChild {
    PROCESS_INFORMATION info{};
    bool Start(bool suspended, const wchar_t* filter = L"-*")
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring line =
            L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return CreateProcessW(self, line.data(), nullptr, nullptr, FALSE,
                              CREATE_NO_WINDOW | (suspended ? CREATE_SUSPENDED : 0), nullptr, nullptr,
                              &startup, &info);
    }
    ~SChild()
    {
        if (info.hProcess) {
            TerminateProcess(info.hProcess, 0);
            WaitForSingleObject(info.hProcess, 10000);
            CloseHandle(info.hThread);
            CloseHandle(info.hProcess);
        }
    }
};

} // namespace

TEST(StationSaveWin32, StaleTemporaryFilesOfDeadSavesAreRemovedAtTheNextSave)
{
    TempDir dir;
    const auto path = (dir / "s.hstn").string();
    // A process id that is surely gone: a child that ran to its end and was let go.
    DWORD gone = 0;
    {
        SChild child;
        ASSERT_TRUE(child.Start(false));
        ASSERT_EQ(WaitForSingleObject(child.info.hProcess, 60000), WAIT_OBJECT_0);
        gone = child.info.dwProcessId;
        CloseHandle(child.info.hThread);
        CloseHandle(child.info.hProcess);
        child.info = {};
    }
    SChild living;
    ASSERT_TRUE(living.Start(true));
    const std::string dead = "s.hstn.tmp" + std::to_string(gone) + "-123";
    const std::string alive =
        "s.hstn.tmp" + std::to_string(living.info.dwProcessId) + "-5"; // a save under way
    WriteFileBytes(dir / dead, {1});
    WriteFileBytes(dir / alive, {2});
    WriteFileBytes(dir / ("other.hstn.tmp" + std::to_string(gone) + "-1"), {3}); // another station's
    WriteFileBytes(dir / "s.hstn.tmp-notes", {4});                               // not of the pattern

    CStation station = NamedStation();
    ASSERT_TRUE(station.Save(path));
    const auto names = Entries(dir.Path());
    EXPECT_EQ(std::count(names.begin(), names.end(), dead), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), alive), 1);
    EXPECT_EQ(names.size(), 4u); // s.hstn, the living save's, the other station's, the notes
}

TEST(StationSaveWin32, ASaveReplacesTheFileAndKeepsItsAttributes)
{
    TempDir dir;
    const auto path = dir / "s.hstn";
    WriteFileBytes(path, OLD);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
    CStation station = NamedStation();
    ASSERT_TRUE(station.Save(path.string()));
    const auto bytes = station.ToBytes();
    EXPECT_EQ(ReadFileBytes(path), std::vector<unsigned char>(bytes.begin(), bytes.end()));
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"s.hstn"});
}

TEST(StationSaveWin32, FailuresLeaveTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    const auto path = dir / "s.hstn";
    CStation station = NamedStation();

    // A read-only file is not written over.
    WriteFileBytes(path, OLD);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(station.Save(path.string()));
    EXPECT_EQ(ReadFileBytes(path), OLD);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"s.hstn"});
    EXPECT_TRUE(station.IsModified());
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));

    // Another program holds the file open and does not let it be deleted or renamed.
    {
        const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(station.Save(path.string()));
        CloseHandle(held);
        EXPECT_EQ(ReadFileBytes(path), OLD);
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"s.hstn"});
    }

    // A device given as the temporary file: it takes the bytes but is never renamed or
    // removed, and the station file stays.
    StationSaveOptions device;
    device.tempPath = "NUL";
    EXPECT_FALSE(station.Save(path.string(), device));
    EXPECT_EQ(ReadFileBytes(path), OLD);

    // A missing folder, and a folder in the station file's place.
    EXPECT_FALSE(station.Save((dir / "nowhere" / "s.hstn").string()));
    std::filesystem::create_directory(dir / "f.hstn");
    EXPECT_FALSE(ReplaceFileContents((dir / "f.hstn").string(), std::vector<uint8_t>{1, 2}));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "f.hstn"));
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"f.hstn", "s.hstn"}));

    // With nothing in the way any more the same save goes through.
    EXPECT_TRUE(station.Save(path.string()));
    EXPECT_FALSE(station.IsModified());
    EXPECT_NE(ReadFileBytes(path), OLD);
}

// Run only as the child of the test below, which names the file in the environment.
TEST(StationSaveWin32, DISABLED_SavesForEver)
{
    const wchar_t* path = _wgetenv(SAVE_FOREVER);
    if (!path)
        return;
    const auto bytes = BigStationBytes();
    for (;;)
        ReplaceFileContents(std::filesystem::path(path).string(), bytes);
}

TEST(StationSaveWin32, KilledSavesLeaveTheFileWholeAndTheNextSaveClearsUp)
{
    TempDir dir;
    const auto path = dir / "s.hstn";
    const auto bytes = BigStationBytes();
    ASSERT_TRUE(ReplaceFileContents(path.string(), bytes));
    const auto before = std::filesystem::last_write_time(path);
    ASSERT_TRUE(SetEnvironmentVariableW(SAVE_FOREVER, path.c_str()));
    for (int round = 0; round < 12; ++round) {
        SChild child;
        ASSERT_TRUE(child.Start(false, L"StationSaveWin32.DISABLED_SavesForEver"));
        // Once the child saves (a process start takes a while here), a kill at some instant.
        const auto started = std::filesystem::last_write_time(path);
        for (int wait = 0; wait < 1000 && std::filesystem::last_write_time(path) == started; ++wait)
            Sleep(10);
        Sleep(static_cast<DWORD>(1 + (round * 7) % 23));
        TerminateProcess(child.info.hProcess, 1);
        WaitForSingleObject(child.info.hProcess, 10000);
        // Whatever instant the kill hit, the file is the old one or the new one, whole.
        EXPECT_EQ(ReadFileBytes(path).size(), bytes.size()) << round;
    }
    SetEnvironmentVariableW(SAVE_FOREVER, nullptr);
    EXPECT_NE(std::filesystem::last_write_time(path), before) << "the children never saved";
    // The next save removes whatever temporary file a kill left behind.
    ASSERT_TRUE(ReplaceFileContents(path.string(), bytes));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"s.hstn"});
}
