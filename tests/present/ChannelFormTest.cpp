// The Channel page's form: what each channel type shows, and what storing the page keeps.
#include "present/ChannelForm.h"

#include "data/NoData.h"
#include "data/Units.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

int Button(int code)
{
    for (int b = 0; b < CChannelForm::TYPE_COUNT; ++b)
        if (CChannelForm::TypeCode(b) == code)
            return b;
    return -1;
}

TEST(ChannelForm, EachTypeShowsItsOwnEditsAndLabels)
{
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    CChannelForm form;
    form.Load(station);
    EXPECT_EQ(form.m_nTypeButton, 0); // rectangular
    EXPECT_EQ(form.m_arrDimLabels[0], "Width:");
    EXPECT_EQ(form.m_arrDims[0].m_strText, "6.10"); // 20 ft in metres
    EXPECT_FALSE(form.m_arrDimVisible[2]);
    EXPECT_TRUE(form.m_bZBottomVisible);

    form.SetType(station, Button(CHANNEL_CIRCULAR));
    EXPECT_EQ(station.GetGeometry().GetType(), CHANNEL_CIRCULAR);
    EXPECT_EQ(form.m_arrDimVisible, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(form.m_arrDimLabels[1], "Diameter:");
    EXPECT_FALSE(form.m_bZBottomVisible);

    form.SetType(station, Button(CHANNEL_TRAPEZOIDAL));
    EXPECT_EQ(form.m_arrDimLabels[2], "Slope:");
    EXPECT_EQ(form.m_arrDims[2].m_strText, "2.00"); // unconverted

    station.GetGeometry().SetPolynomial(20000000.0, 10000.0, 0.5); // 0.2 m², 1 m, 0.5
    form.SetType(station, Button(CHANNEL_POLYNOMIAL));
    EXPECT_EQ(form.m_arrDims[0].m_strText, "0.2"); // an area: converted twice, compact form
    EXPECT_EQ(form.m_arrDims[1].m_strText, "1.0");
    EXPECT_EQ(form.m_arrDims[2].m_strText, "0.5");
    EXPECT_EQ(form.m_arrDimUnits[0], "sq m");

    form.SetType(station, Button(CHANNEL_MULTIPOINT));
    EXPECT_FALSE(form.m_bDimensionsVisible);
    EXPECT_TRUE(form.m_bPointsVisible);
    EXPECT_FALSE(form.m_bZBottomVisible);
}

TEST(ChannelForm, TopMountingShowsNoZAdcpAndDoesNotStoreIt)
{
    CStation station;
    station.GetGeometry().SetZAdcp(5000.0);
    CChannelForm form;
    form.Load(station);
    form.SetMounting(station, 3); // "Top"
    EXPECT_EQ(station.GetMounting(), MOUNTING_TOP);
    EXPECT_EQ(form.m_zAdcp.m_strText, "N/A");
    EXPECT_FALSE(form.m_bZAdcpEnabled);
    form.m_arrDims[0].m_strText = "30";
    form.Store(station);
    EXPECT_EQ(station.GetGeometry().GetZAdcp(), 5000.0);
    form.SetMounting(station, 2); // "Bottom"
    EXPECT_EQ(station.GetMounting(), MOUNTING_BOTTOM);
    EXPECT_TRUE(form.m_bZAdcpEnabled);
}

TEST(ChannelForm, StoringReadsTypedLengthsAndKeepsUntouchedOnesExactly)
{
    CStation station; // feet
    station.GetGeometry().SetRectangular(60960.0, 30480.0);
    CChannelForm form;
    form.Load(station);
    form.m_arrDims[0].m_strText = "32.8084 ft";
    form.m_yAdcp.m_strText = "1.5";
    form.m_zBottom.m_strText = "";
    form.Store(station);
    const CChannelGeometry& g = station.GetGeometry();
    EXPECT_NEAR(g.GetRectWidth(), 100000.0, 0.01);
    EXPECT_EQ(g.GetRectHeight(), 30480.0); // "10.00" was left as shown
    EXPECT_NEAR(g.GetYAdcp(), 4572.0, 0.01);
    EXPECT_EQ(g.GetZBottom(), 0.0);
    EXPECT_TRUE(station.IsModified());
}

TEST(ChannelForm, PointsRunToTheFirstRowReadingZeroAndZero)
{
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    station.GetGeometry().SetType(CHANNEL_MULTIPOINT);
    CChannelForm form;
    form.Load(station);
    EXPECT_EQ(form.m_arrPointY[0].m_strText, ""); // no points: the grid is empty
    // A 1 m rectangle drawn from a datum 10 cm below its bottom corner.
    const char* rows[][2] = {{"0", "1.1"}, {"0", "0.1"}, {"1", "0.1"}, {"1", "1.1"}};
    for (int i = 0; i < 4; ++i) {
        form.m_arrPointY[i].m_strText = rows[i][0];
        form.m_arrPointZ[i].m_strText = rows[i][1];
    }
    form.m_arrPointY[5].m_strText = "7"; // beyond the empty fifth row: not read
    form.Store(station);
    const CChannelGeometry& g = station.GetGeometry();
    ASSERT_EQ(g.GetNumPoints(), 4);
    EXPECT_NEAR(g.GetPointZ(1), 1000.0, 1e-6);
    EXPECT_NEAR(g.GetArea(6000.0), 5000.0, 1e-6); // half full
    form.Load(station);
    EXPECT_EQ(form.m_arrPointY[2].m_strText, "1.00");
    EXPECT_EQ(form.m_arrPointY[4].m_strText, "");

    // 0 and 0 typed in the third row drops that row and every row after it; so does a row
    // whose texts are not numbers.
    form.m_arrPointY[2].m_strText = "0";
    form.m_arrPointZ[2].m_strText = "0.0";
    form.Store(station);
    EXPECT_EQ(station.GetGeometry().GetNumPoints(), 2);
    form.Load(station);
    form.m_arrPointY[1].m_strText = "x";
    form.m_arrPointZ[1].m_strText = " ";
    form.Store(station);
    EXPECT_EQ(station.GetGeometry().GetNumPoints(), 1);
    // Only both at 0 ends it: a point on the datum line away from Y = 0 is a point.
    form.Load(station);
    form.m_arrPointY[1].m_strText = "2";
    form.m_arrPointZ[1].m_strText = "0";
    form.Store(station);
    EXPECT_EQ(station.GetGeometry().GetNumPoints(), 2);
}

} // namespace
