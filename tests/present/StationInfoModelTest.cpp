// The station information view's texts: ranges with missing bounds, captions, the
// selection kept across a refresh.
#include "present/StationInfoModel.h"

#include "data/NoData.h"
#include "data/Units.h"
#include "station/DataSummary.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

TEST(StationInfoModel, RangesWithMissingBounds)
{
    EXPECT_EQ(CStationInfoModel::RangeText(NODATA, NODATA, UNIT_METERS), "Not Available");
    EXPECT_EQ(CStationInfoModel::RangeText(NODATA, 30000, UNIT_METERS), "3.00 m");
    EXPECT_EQ(CStationInfoModel::RangeText(12500, NODATA, UNIT_METERS), "1.25 m");
    EXPECT_EQ(CStationInfoModel::RangeText(12500, 30000, UNIT_METERS), "1.25 - 3.00 m");
    EXPECT_EQ(CStationInfoModel::RangeText(0, 30480, UNIT_FEET), "0.00 - 10.00 ft");
}

TEST(StationInfoModel, CaptionsOrientationAndTypes)
{
    EXPECT_EQ(CStationInfoModel::GeometryCaption(22, UNIT_FEET), "Trapezoidal - Units in Feet");
    EXPECT_EQ(CStationInfoModel::GeometryCaption(20, UNIT_METERS), "Multi-Point - Units in Meters");
    EXPECT_EQ(CStationInfoModel::GeometryCaption(99, UNIT_METERS), "Meters");
    EXPECT_EQ(CStationInfoModel::OrientationText(2, "x"), "Right - Horizontal");
    EXPECT_EQ(CStationInfoModel::OrientationText(7, "Top - Vertical"), "Top - Vertical");
    EXPECT_EQ(CStationInfoModel::EnsembleTypeText(2), "PD14");
    EXPECT_EQ(CStationInfoModel::EnsembleTypeText(5), "Mixed");
    EXPECT_EQ(CStationInfoModel::EnsembleTypeText(1), "Unknown");
}

TEST(StationInfoModel, SelectionAfterRefresh)
{
    CStationInfoModel m;
    m.SetDataFiles({"a.001", "b.002", "c.003"}, 2);
    EXPECT_EQ(m.m_nSelected, 2);
    m.SetDataFiles({"a.001", "b.002"}, 2); // beyond the new end: nothing
    EXPECT_EQ(m.m_nSelected, -1);
    m.SetDataFiles({"a.001", "b.002"}, 0);
    EXPECT_EQ(m.m_nSelected, 0);
    m.SetDataFiles({"a.001"}, -1);
    EXPECT_EQ(m.m_nSelected, 0);
}

TEST(StationInfoModel, DataFilesAreListedByName)
{
    CStationInfoModel m;
    m.SetDataFiles({"20240501.003", "20240101.001", "20240301.002"}, -1);
    EXPECT_EQ(m.m_arrFiles, (std::vector<std::string>{"20240101.001", "20240301.002", "20240501.003"}));
}

TEST(StationInfoModel, NoFieldKeepsAnotherFilesOrStationsFigures)
{
    CStation station;
    station.SetSiteName("Weir");
    station.SetStageUnits(UNIT_METERS);
    CDataSummary s;
    s.m_strFileName = "20060101.001";
    s.m_nEnsembles = 217;
    s.m_nEnsembleType = 3;
    s.m_dStageMax = 30000;
    station.AddSummary(s);

    CStationInfoModel m;
    m.ShowStation(&station);
    m.SetDataFiles({"20060101.001", "20060102.002"}, 0);
    m.ShowDataSummary(station);
    EXPECT_EQ(m.m_strEnsembles, "217");
    EXPECT_EQ(m.m_strEnsembleType, "PD0");
    EXPECT_EQ(m.m_strStageRange, "3.00 m");

    // A file without a summary (unreadable): nothing of the previous file stays.
    m.m_nSelected = 1;
    m.ShowDataSummary(station);
    for (const std::string* field : {&m.m_strStart, &m.m_strStop, &m.m_strEnsembles, &m.m_strStageRange,
                                     &m.m_strVelocityRange, &m.m_strFlowRange, &m.m_strEnsembleType})
        EXPECT_EQ(*field, "Not Available");

    // Another station without data files: every summary field empty.
    m.m_nSelected = 0;
    m.ShowDataSummary(station);
    CStation empty;
    empty.SetSiteName("Empty");
    m.ShowStation(&empty);
    m.SetDataFiles({}, 0);
    m.ShowDataSummary(empty);
    for (const std::string* field : {&m.m_strStart, &m.m_strStop, &m.m_strEnsembles, &m.m_strStageRange,
                                     &m.m_strVelocityRange, &m.m_strFlowRange, &m.m_strEnsembleType})
        EXPECT_EQ(*field, "");
}

TEST(StationInfoModel, AStationThatDidNotLoadCleanlyNeverProgramsAnInstrument)
{
    CStation station;
    CStationInfoModel m;
    m.ShowStation(&station, "Error, station file has invalid version number.");
    for (auto b : {CStationInfoModel::PROGRAM_VELUNIT, CStationInfoModel::PROGRAM_FLOWCOMPUTER}) {
        EXPECT_FALSE(m.m_bEnabled[b]);
        EXPECT_NE(m.m_strDisabledReason[b].find("invalid version number"), std::string::npos);
    }
    EXPECT_TRUE(m.m_bEnabled[CStationInfoModel::CONFIGURE]);
    EXPECT_TRUE(m.m_strDisabledReason[CStationInfoModel::CONFIGURE].empty());

    // The next, clean station has them back.
    m.ShowStation(&station);
    EXPECT_TRUE(m.m_bEnabled[CStationInfoModel::PROGRAM_VELUNIT]);
    EXPECT_TRUE(m.m_strDisabledReason[CStationInfoModel::PROGRAM_FLOWCOMPUTER].empty());
}

} // namespace
