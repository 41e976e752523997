#include "platform/SettingsStore.h"
#include "tests/platform/ScopedEnv.h"
#include "tests/support/TestSupport.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

using testsupport::ReadFileText;
using testsupport::TempDir;
using testsupport::WriteFileText;

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

TEST(SettingsStoreFile, TheDefaultSiteDirectoryIsInTheHomeFolder)
{
    TempDir dir;
    ScopedEnv env;
    env.Set("HOME", dir.Path().c_str());
    env.Set("TIDEWELL_CONFIG", (dir / "none.conf").c_str());
    CSettingsStore store;
    EXPECT_TRUE(store.Load());
    EXPECT_EQ(store.GetStationDir(), (dir.Path() / "Tidewell" / "Config").string());
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

} // namespace
