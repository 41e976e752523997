// The station information view's texts: ranges with missing bounds, captions, the
// selection kept across a refresh.
#include "present/StationInfoModel.h"

#include "data/NoData.h"
#include "data/Units.h"

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

} // namespace
