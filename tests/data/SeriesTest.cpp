// Table texts of series values, data file summaries, and the moving average row.
#include "data/DateTime.h"
#include "data/EnsembleList.h"
#include "data/FileSummary.h"
#include "data/FlowSettingsTable.h"
#include "data/MovingAverage.h"
#include "data/SeriesFormat.h"
#include "sim/EnsembleEncoder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using Bytes = std::vector<uint8_t>;
const ViewUnits DEFAULT_UNITS = {101, 107, 111, 125, 130, 117};

Bytes Pd0(uint32_t number, bool range = true, int16_t velocity = 100)
{
    SPd0Values v;
    v.m_nNumber = number;
    v.m_nMinute = static_cast<int>(number % 60);
    v.m_velocity1 = {velocity};
    v.m_velocity2 = {0};
    v.m_bHasRange = range;
    v.m_nRange = 1000 * static_cast<int32_t>(number);
    return EncodePd0Ensemble(v);
}

Bytes Pd14(uint16_t number)
{
    SPd14Values v;
    v.m_nNumber = number;
    v.m_velocityX = {50};
    v.m_nRange = 9000;
    return EncodePd14Ensemble(v);
}

CDataSummary Summarize(const testsupport::TempDir& dir, const std::vector<Bytes>& ensembles)
{
    Bytes file;
    for (const auto& e : ensembles)
        file.insert(file.end(), e.begin(), e.end());
    testsupport::WriteFileBytes(dir / "s.000", file);
    CDataSummary s;
    s.m_nEnsembles = -1;
    SummarizeFile((dir / "s.000").string(), CFlowSettingsTable{}, s);
    return s;
}

} // namespace

TEST(SeriesFormat, TableTexts)
{
    EXPECT_EQ(FormatSeriesValue(12345.0, DATATYPE_NUMBER, DEFAULT_UNITS), "12345");
    EXPECT_EQ(FormatSeriesValue(12345.9, DATATYPE_NUMBER, DEFAULT_UNITS), "12345");
    const double t = CDateTime::FromParts(2005, 12, 3, 14, 5, 0).m_dt;
    EXPECT_EQ(FormatSeriesValue(t, DATATYPE_DATETIME, DEFAULT_UNITS), "2005/12/03 14:05:00");
    EXPECT_EQ(FormatSeriesValue(NODATA, DATATYPE_NUMBER, DEFAULT_UNITS), "");
    EXPECT_EQ(FormatSeriesValue(NODATA, DATATYPE_DATETIME, DEFAULT_UNITS), "");
    EXPECT_EQ(FormatSeriesValue(NODATA, DATATYPE_FLOW, DEFAULT_UNITS), "");
    EXPECT_EQ(FormatSeriesValue(30480.0, DATATYPE_STAGE, DEFAULT_UNITS), "10.00"); // 10 ft
    EXPECT_EQ(FormatSeriesValue(3048.0, DATATYPE_STAGE, {104, 107, 111, 125, 130, 117}), "304.8");
    EXPECT_EQ(FormatSeriesValue(-250.0, DATATYPE_PITCH, DEFAULT_UNITS), "-250.0") << "pitch has no unit";
    EXPECT_EQ(SeriesColumnTitle(DATATYPE_STAGE, DEFAULT_UNITS), "Stage (ft)");
    EXPECT_EQ(SeriesColumnTitle(DATATYPE_FLOW, DEFAULT_UNITS), "Flow (MGD)");
    EXPECT_EQ(SeriesColumnTitle(DATATYPE_DATETIME, DEFAULT_UNITS), "Date/Time");
}

TEST(FileSummary, TypesCountsRangesAndTimes)
{
    testsupport::TempDir dir;
    CDataSummary pd0 = Summarize(dir, {Pd0(1), Pd0(2), Pd0(3)});
    EXPECT_EQ(pd0.m_strFileName, "s.000");
    EXPECT_EQ(pd0.m_nEnsembleType, 3);
    EXPECT_EQ(pd0.m_nEnsembles, 3);
    EXPECT_EQ(pd0.m_dStageMin, 1000.0);
    EXPECT_EQ(pd0.m_dStageMax, 3000.0);
    EXPECT_EQ(pd0.m_dtStart.m_dt, CDateTime::FromParts(2005, 1, 1, 0, 1, 0).m_dt);
    EXPECT_EQ(pd0.m_dtStop.m_dt, CDateTime::FromParts(2005, 1, 1, 0, 3, 0).m_dt);

    EXPECT_EQ(Summarize(dir, {Pd0(1), Pd0(2), Pd14(3)}).m_nEnsembleType, 5);
    EXPECT_EQ(Summarize(dir, {Pd14(1)}).m_nEnsembleType, 2);

    // A restart: one entry more than there are ensembles, and the figures skip the gap.
    CDataSummary restart = Summarize(dir, {Pd0(5), Pd0(6), Pd0(1)});
    EXPECT_EQ(restart.m_nEnsembles, 4);
    EXPECT_EQ(restart.m_dStageMin, 1000.0);
    EXPECT_EQ(restart.m_dStageMax, 6000.0);

    // No range anywhere: stage and flow stay no data, velocity is filled.
    CDataSummary noRange = Summarize(dir, {Pd0(1, false, 80), Pd0(2, false, -30)});
    EXPECT_EQ(noRange.m_dStageMin, NODATA);
    EXPECT_EQ(noRange.m_dStageMax, NODATA);
    EXPECT_EQ(noRange.m_dFlowMin, NODATA);
    EXPECT_EQ(noRange.m_dFlowMax, NODATA);
    EXPECT_EQ(noRange.m_dVelocityMin, -30.0);
    EXPECT_EQ(noRange.m_dVelocityMax, 80.0);

    // Nothing valid: no summary.
    CDataSummary none = Summarize(dir, {Bytes(100, 0x20)});
    EXPECT_EQ(none.m_nEnsembles, -1);
}

TEST(FileSummary, NegativeValuesSetTheMaximumToo)
{
    // The maximum starts as the marker, below every real reading but those under -32768.
    CEnsembleList list;
    SPd14Values v;
    v.m_velocityX = {-500};
    v.m_nRange = 100;
    const Bytes b = EncodePd14Ensemble(v);
    list.Add(*BuildEnsemble(CFlowSettings{}, b.data(), b.size()));
    const CDataSummary s = SummarizeList(list);
    EXPECT_EQ(s.m_dVelocityMin, -500.0);
    EXPECT_EQ(s.m_dVelocityMax, -500.0);
    EXPECT_EQ(s.m_dtStart.m_dt, CDateTime::FromParts(2005, 1, 1, 0, 0, 0).m_dt);
}

TEST(MovingAverage, LastTenCountedCells)
{
    std::vector<std::string> column = {"Stage (ft)", ""};
    EXPECT_EQ(MovingAverage(column), NODATA) << "title and average rows only";
    for (int i = 1; i <= 12; ++i)
        column.push_back(std::to_string(i));
    EXPECT_DOUBLE_EQ(MovingAverage(column), 7.5);

    // Empty and non-numeric cells are passed over and do not count toward the ten.
    std::vector<std::string> gaps = {"t", "", "100", "1", "", "1e5", "2", "-32768", "3"};
    EXPECT_DOUBLE_EQ(MovingAverage(gaps), (100 + 1 + 2 + 3) / 4.0);

    std::vector<std::vector<std::string>> table = {{"Number", "Stage"}, {"---", ""}};
    for (int i = 0; i < 3; ++i)
        table.push_back({std::to_string(i), std::to_string(2 * i) + ".50"});
    EXPECT_DOUBLE_EQ(MovingAverage(table, 1), (0.5 + 2.5 + 4.5) / 3);
    EXPECT_EQ(MovingAverage(table, 5), NODATA);
}
