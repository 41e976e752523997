// The Export Series window's decisions: the span and file it proposes, what it refuses,
// when it shows progress, and the export run on the background worker.
#include "present/SeriesExportModel.h"
#include "data/FileSummary.h"
#include "present/BackgroundWorker.h"
#include "present/QueueDispatcher.h"
#include "series/SeriesTime.h"
#include "station/StationFlowSettings.h"
#include "tests/series/SeriesFixture.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace seriestest;

namespace
{

// A station whose folder holds one file per day from 14 March on, each summarised as the
// information view does.
struct SSite {
    explicit SSite(int days)
    {
        station = MakeStation();
        for (int d = 0; d < days; ++d) {
            const std::string name = "day" + std::to_string(d) + ".000";
            WriteData(dir / name,
                      Minutes({.day = 14 + d, .hour = 8, .number = static_cast<uint16_t>(100 * d + 1)}, 60));
            names.push_back(name);
            CDataSummary summary;
            EXPECT_TRUE(SummarizeFile((dir / name).string(), FlowSettingsTableOf(station), summary));
            summary.m_strFileName = name;
            station.AddSummary(summary);
        }
    }

    testsupport::TempDir dir;
    CStation station;
    std::vector<std::string> names;
};

} // namespace

TEST(SeriesExportModel, ProposesTheWholeRecordAndAFileNamedAfterIt)
{
    SSite site(3);
    CSeriesExportModel model;
    model.Open(site.station, site.dir.Path().string(), site.names);
    EXPECT_EQ(model.m_strFrom, "2025-03-14");
    EXPECT_EQ(model.m_strTo, "2025-03-17");
    EXPECT_EQ(model.m_strUtcOffset, "+00:00");
    EXPECT_EQ(model.m_nQuantity, CSeriesExportModel::QUANTITY_ALL);
    EXPECT_EQ(model.m_strPath, (site.dir / "Mill_Race_2025-03-14_2025-03-17.csv").string());
    EXPECT_EQ(model.m_strTitle, "Export Series - Mill Race");
    model.SetFormat(CSeriesExportModel::FORMAT_WATERML2);
    EXPECT_EQ(model.m_strPath, (site.dir / "Mill_Race_2025-03-14_2025-03-17.xml").string());
    model.m_strPath = (site.dir / "flows.dat").string();
    model.SetFormat(CSeriesExportModel::FORMAT_CSV);
    EXPECT_EQ(model.m_strPath, (site.dir / "flows.dat").string()); // a name of the operator's own stays

    // No summaries yet: no span to propose, the site's name alone.
    CSeriesExportModel bare;
    bare.Open(MakeStation(), site.dir.Path().string(), site.names);
    EXPECT_EQ(bare.m_strFrom, "");
    EXPECT_EQ(bare.m_strPath, (site.dir / "Mill_Race.csv").string());
}

TEST(SeriesExportModel, RefusesWhatCannotBeExportedWithOneLinePerField)
{
    SSite site(1);
    CSeriesExportModel model;
    model.Open(site.station, site.dir.Path().string(), site.names);
    std::string errors;
    EXPECT_TRUE(model.Validate(errors)) << errors;

    model.m_strFrom = "2025-03-14T25:00";
    model.m_strUtcOffset = "1";
    model.m_strPath = site.dir.Path().string(); // a folder
    EXPECT_FALSE(model.Validate(errors));
    EXPECT_EQ(errors.rfind("Error, the series cannot be exported:\r\n", 0), 0u);
    EXPECT_NE(errors.find("From: not a time"), std::string::npos);
    EXPECT_NE(errors.find("UTC offset:"), std::string::npos);
    EXPECT_NE(errors.find("is a folder.\r\n"), std::string::npos);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 4);

    model.m_strFrom = "2025-03-15";
    model.m_strTo = "2025-03-15";
    model.m_strUtcOffset = "-05:00";
    model.m_strPath = "";
    errors.clear();
    EXPECT_FALSE(model.Validate(errors));
    EXPECT_NE(errors.find("To: must come after From.\r\n"), std::string::npos);
    EXPECT_NE(errors.find("File: give the name"), std::string::npos);

    model.m_strFrom = model.m_strTo = ""; // open ends are allowed
    model.m_strPath = (site.dir / "out.csv").string();
    EXPECT_TRUE(model.Validate(errors));
}

TEST(SeriesExportModel, ShowsProgressOnlyWhenTheSpanHoldsMoreThanAFewFiles)
{
    SSite site(5);
    CSeriesExportModel model;
    model.Open(site.station, site.dir.Path().string(), site.names);
    EXPECT_EQ(model.FilesInSpan(), 5u);
    EXPECT_TRUE(model.ShowsProgress());
    model.m_strFrom = "2025-03-15T08:30";
    model.m_strTo = "2025-03-17";
    EXPECT_EQ(model.FilesInSpan(), 2u); // the 15th (it runs to 08:59) and the 16th
    EXPECT_FALSE(model.ShowsProgress());

    // A file the station has not summarised may hold anything.
    std::vector<std::string> names = site.names;
    names.push_back("new.000");
    names.push_back("newer.000");
    model.Open(site.station, site.dir.Path().string(), names);
    model.m_strFrom = "2025-03-15T08:30";
    model.m_strTo = "2025-03-17";
    EXPECT_EQ(model.FilesInSpan(), 4u);
    EXPECT_TRUE(model.ShowsProgress());
}

TEST(SeriesExportModel, ExportRunsOnTheWorkerWithProgressPerFile)
{
    SSite site(4);
    CSeriesExportModel model;
    model.Open(site.station, site.dir.Path().string(), site.names);
    model.m_nQuantity = CSeriesExportModel::QUANTITY_ONLY_FLOW;
    model.m_strUtcOffset = "+01:00";
    model.m_strFrom = "2025-03-15T09:30+00:00"; // 10:30 on the clock; the 15th's data ends at 08:59
    std::string errors;
    ASSERT_TRUE(model.Validate(errors)) << errors;

    CQueueDispatcher dispatcher;
    CBackgroundWorker worker(dispatcher);
    std::vector<long long> progress;
    worker.SetProgressHandler([&](long long done, long long total) {
        progress.push_back(done);
        EXPECT_EQ(total, 4);
    });
    std::optional<CSeriesExportModel::SResult> result;
    ASSERT_TRUE(CSeriesExportModel::Start(worker, model.MakeJob(site.station),
                                          [&](const CSeriesExportModel::SResult& r) { result = r; }));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!result && std::chrono::steady_clock::now() < limit)
        dispatcher.WaitAndRun(100);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->m_bDone) << result->m_strMessage;
    EXPECT_EQ(result->m_nRows, 120u); // the 16th and the 17th
    EXPECT_EQ(progress, (std::vector<long long>{1, 2, 3, 4}));
    const std::string csv = testsupport::ReadFileText(model.m_strPath);
    EXPECT_NE(csv.find("time,flow,flow_quality\n2025-03-16T08:00:00+01:00,1,good\n"), std::string::npos);

    // Nothing in the span: said so, and no file.
    model.m_strFrom = "2026-01-01";
    model.m_strTo = "";
    model.m_strPath = (site.dir / "nothing.csv").string();
    const auto empty = CSeriesExportModel::Run(model.MakeJob(site.station));
    EXPECT_FALSE(empty.m_bDone);
    EXPECT_EQ(empty.m_strMessage, "Error, there is no data in the span to export.");
    EXPECT_FALSE(std::filesystem::exists(model.m_strPath));

    // Stopped after the first file: nothing written either.
    const auto stopped =
        CSeriesExportModel::Run(model.MakeJob(site.station), [](size_t, size_t) { return false; });
    EXPECT_TRUE(stopped.m_bCancelled);
    EXPECT_FALSE(std::filesystem::exists(model.m_strPath));
}
