// Data files are read only when they are regular files that fit in memory; every other
// case fails with the reason, and no ensemble is made up.
#include "data/BufferedReader.h"
#include "data/EnsembleList.h"
#include "data/FileSummary.h"
#include "data/FlowSettingsTable.h"
#include "platform/RegularFile.h"
#include "tests/support/NamedPipe.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::NamedPipe;
using testsupport::TempDir;

TEST(DataFileRead, FoldersPipesAndSparseGiantsAreRefusedWithTheReason)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "folder.000");
    const NamedPipe pipe(dir.Path(), "pipe.000");
    ASSERT_FALSE(pipe.Path().empty());
    // A sparse file far larger than the machine's memory costs no disk.
    testsupport::WriteFileBytes(dir / "giant.000", {});
    std::filesystem::resize_file(dir / "giant.000", LargestFileInMemory() + 4096);
    const struct {
        const char* name;
        std::string path;
        const char* reason;
    } cases[] = {{"folder.000", (dir / "folder.000").string(), "is a folder, not a file"},
                 {"pipe.000", pipe.Path(), "is a named pipe, not a regular file"},
                 {"giant.000", (dir / "giant.000").string(), "too large"},
                 {"missing.000", (dir / "missing.000").string(), "No such file or directory"}};
    for (const auto& c : cases) {
        const std::string& path = c.path;
        CEnsembleList list;
        std::string error;
        EXPECT_EQ(list.Load(path, CFlowSettingsTable(), &error), 0) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(list.GetCount(), 0u);

        CDataSummary summary;
        summary.m_nEnsembles = 5;
        error.clear();
        EXPECT_FALSE(SummarizeFile(path, CFlowSettingsTable(), summary, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name;
        EXPECT_EQ(summary.m_nEnsembles, 5);

        // The streaming reader never holds a whole file, so only the size is no reason for it.
        CBufferedReader reader;
        EXPECT_EQ(reader.Open(path), std::string(c.name) == "giant.000") << c.name;
    }

    // An empty file is read (it holds no ensemble, which is not a read error).
    testsupport::WriteFileBytes(dir / "empty.000", {});
    CEnsembleList list;
    std::string error = "stale";
    EXPECT_EQ(list.Load((dir / "empty.000").string(), CFlowSettingsTable(), &error), 0);
    EXPECT_EQ(error, "");
}
