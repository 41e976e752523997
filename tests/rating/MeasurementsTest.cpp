// The measurements file and the pairing of its rows with recorded ensembles.
#include "data/DateTime.h"
#include "data/Units.h"
#include "rating/Pairing.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{

const SMeasurementUnits kMetric{UNIT_CUBIC_METERS_PER_SECOND, UNIT_METERS};

SMeasurementFile Read(const std::string& text, const SMeasurementUnits& units = kMetric)
{
    std::istringstream in(text);
    return ReadMeasurements(in, units);
}

double At(int day, int hour, int minute, int second = 0)
{
    return CDateTime::FromParts(2005, 12, day, hour, minute, second).m_dt;
}

TEST(Measurements, ReadsColumnsInAnyOrderWithUnits)
{
    const auto file = Read("discharge,id,end,start,stage,exclude,comment\r\n"
                           "2.5,M1,2005-12-03 10:30:00,2005-12-03 10:00:00,1.75,0,\"boat, second pass\"\r\n"
                           "\n"
                           "3,M2,2005-12-03 12:30:00,2005-12-03 12:00:00,,1,\r\n");
    ASSERT_TRUE(file.Ok()) << file.m_problems[0];
    ASSERT_EQ(file.m_rows.size(), 2u);
    const SMeasurement& m = file.m_rows[0];
    EXPECT_EQ(m.m_strId, "M1");
    EXPECT_DOUBLE_EQ(m.m_dStart, At(3, 10, 0));
    EXPECT_DOUBLE_EQ(m.m_dEnd, At(3, 10, 30));
    EXPECT_NEAR(m.m_dDischarge, 2500000.0, 1e-6); // cm3/s
    EXPECT_NEAR(m.m_dStage, 17500.0, 1e-9);
    EXPECT_FALSE(m.m_bExclude);
    EXPECT_EQ(m.m_strComment, "boat, second pass");
    EXPECT_EQ(m.m_nLine, 2);
    EXPECT_TRUE(IsNoData(file.m_rows[1].m_dStage));
    EXPECT_TRUE(file.m_rows[1].m_bExclude);
    EXPECT_EQ(file.m_rows[1].m_nLine, 4);

    // Cubic feet per second, the reverse constant of the unit table.
    const auto cfs = Read("id,start,end,discharge\nA,2005-12-03 10:00:00,2005-12-03 10:10:00,100\n",
                          {UNIT_CUBIC_FEET_PER_SECOND, UNIT_FEET});
    ASSERT_TRUE(cfs.Ok());
    EXPECT_NEAR(cfs.m_rows[0].m_dDischarge, 100 * 28316.84659, 1e-6);
}

TEST(Measurements, BadRowsAreReportedWithTheirLineNumbers)
{
    const auto file = Read("id,start,end,discharge,stage\n"
                           "M1,2005-12-03 10:00:00,2005-12-03 10:30:00,2.5,1.0\n"
                           "M2,2005-12-03 10:00:00,2005-12-03 09:30:00,2.5\n"
                           "M3,2005/12/03 10:00:00,2005-12-03 10:30:00,2.5\n"
                           "M4,2005-12-03 10:00:00,2005-12-03 10:30:00,lots\n"
                           "M5,2005-12-03 10:00:00\n"
                           "M6,2005-02-30 10:00:00,2005-03-01 10:30:00,2.5\n"
                           "M7,2005-12-03 10:00:00,2005-12-03 10:30:00,2.5,high\n"
                           ",2005-12-03 10:00:00,2005-12-03 10:30:00,2.5\n");
    EXPECT_FALSE(file.Ok());
    const std::vector<std::string> expected = {
        "line 3: the end is before the start",
        "line 4: the start \"2005/12/03 10:00:00\" is not a time of the form YYYY-MM-DD HH:MM:SS",
        "line 5: the discharge \"lots\" is not a number",
        "line 6: the column \"end\" is missing",
        "line 7: the start \"2005-02-30 10:00:00\" is not a time of the form YYYY-MM-DD HH:MM:SS",
        "line 8: the stage \"high\" is not a number",
        "line 9: the id is missing",
    };
    EXPECT_EQ(file.m_problems, expected);
    ASSERT_EQ(file.m_rows.size(), 1u);
}

TEST(Measurements, HeaderProblems)
{
    EXPECT_EQ(Read("id,start,discharge\n").m_problems,
              std::vector<std::string>{"line 1: the header has no column \"end\""});
    EXPECT_EQ(Read("id,start,end,discharge,flow\n").m_problems,
              std::vector<std::string>{"line 1: unknown column \"flow\""});
    EXPECT_FALSE(Read("").Ok());
}

TEST(Measurements, WrittenRowsReadBack)
{
    const auto file = Read("id,start,end,discharge,stage,exclude,comment\n"
                           "M1,2005-12-03 10:00:00,2005-12-03 10:30:00,2.5,1.75,1,\"say \"\"hi\"\"\"\n"
                           "M2,2005-12-04 00:00:00,2005-12-04 00:20:00,0.123456,,0,\n");
    ASSERT_TRUE(file.Ok());
    const auto again = Read(WriteMeasurements(file.m_rows, kMetric));
    ASSERT_TRUE(again.Ok()) << again.m_problems[0];
    ASSERT_EQ(again.m_rows.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(again.m_rows[i].m_strId, file.m_rows[i].m_strId);
        EXPECT_DOUBLE_EQ(again.m_rows[i].m_dStart, file.m_rows[i].m_dStart);
        EXPECT_NEAR(again.m_rows[i].m_dDischarge, file.m_rows[i].m_dDischarge, 1e-3);
        EXPECT_EQ(again.m_rows[i].m_bExclude, file.m_rows[i].m_bExclude);
        EXPECT_EQ(again.m_rows[i].m_strComment, file.m_rows[i].m_strComment);
    }
    EXPECT_TRUE(IsNoData(again.m_rows[1].m_dStage));
}

TEST(Measurements, FlowUnitNames)
{
    EXPECT_EQ(FlowUnitFromName("115"), UNIT_CUBIC_FEET_PER_SECOND);
    EXPECT_EQ(FlowUnitFromName("l/s"), UNIT_LITERS_PER_SECOND);
    EXPECT_EQ(FlowUnitFromName("gallons per minute"), UNIT_GALLONS_PER_MINUTE);
    EXPECT_EQ(FlowUnitFromName("ft"), 0);
    EXPECT_EQ(FlowUnitFromName("101"), 0);
}

// A channel 10 m wide with its bottom at 0; the station's own settings everywhere.
CFlowSettingsTable Rectangular()
{
    CFlowSettings s;
    s.m_geometry.SetType(CHANNEL_RECTANGULAR);
    s.m_geometry.SetRectangular(100000.0, 50000.0);
    return CFlowSettingsTable(s);
}

SMeasurement Measured(const std::string& id, double start, double end, double discharge)
{
    SMeasurement m;
    m.m_strId = id;
    m.m_dStart = start;
    m.m_dEnd = end;
    m.m_dDischarge = discharge;
    return m;
}

TEST(Pairing, WithinNearestAndUnpaired)
{
    // Ten-minute ensembles from 10:00 to 11:00; the one at 10:40 has no velocity.
    std::vector<SRecordedSample> samples;
    for (int k = 0; k <= 6; ++k)
        samples.push_back(
            {At(3, 10 + k / 6, 10 * (k % 6)), k == 4 ? NODATA : 100.0 * (k + 1), 20000.0 + 1000.0 * k});
    const std::vector<SMeasurement> rows = {
        Measured("within", At(3, 10, 5), At(3, 10, 30), 1e6), // 10:10, 10:20, 10:30
        Measured("edge", At(3, 10, 0), At(3, 10, 0), 1e6),    // exactly one ensemble's time
        Measured("gap", At(3, 10, 34), At(3, 10, 44), 1e6),   // only the one without velocity
        Measured("after", At(3, 11, 10), At(3, 11, 14), 1e6), // 10 min after the last
        Measured("far", At(3, 11, 20), At(3, 11, 30), 1e6),   // 20 min after the last
        Measured("before", At(3, 9, 46), At(3, 9, 50), 1e6),  // 10 min before the first
    };
    const auto points = PairMeasurements(rows, samples, Rectangular());
    ASSERT_EQ(points.size(), rows.size());

    EXPECT_EQ(points[0].m_kind, PairKind::Within);
    EXPECT_EQ(points[0].m_nEnsembles, 3);
    EXPECT_DOUBLE_EQ(points[0].m_dIndexVelocity, 300.0);
    EXPECT_DOUBLE_EQ(points[0].m_dStage, 22000.0);
    // Area = 2.2 m x 10 m = 22 m2 = 220000 cm2; 1 m3/s over it is 4.545 mm/s.
    EXPECT_DOUBLE_EQ(points[0].m_dArea, 220000.0);
    EXPECT_NEAR(points[0].m_dMeasuredVelocity, 1e6 / 220000.0 * 10.0, 1e-12);

    EXPECT_EQ(points[1].m_kind, PairKind::Within);
    EXPECT_DOUBLE_EQ(points[1].m_dIndexVelocity, 100.0);

    // No velocity within: the nearest with one, 10:30 (4 minutes before; 10:50 is 6 after).
    EXPECT_EQ(points[2].m_kind, PairKind::Nearest);
    EXPECT_EQ(points[2].m_nEnsembles, 1);
    EXPECT_DOUBLE_EQ(points[2].m_dIndexVelocity, 400.0);

    EXPECT_EQ(points[3].m_kind, PairKind::Nearest);
    EXPECT_DOUBLE_EQ(points[3].m_dIndexVelocity, 700.0);
    EXPECT_EQ(points[4].m_kind, PairKind::None);
    EXPECT_FALSE(points[4].Usable());
    EXPECT_TRUE(IsNoData(points[4].m_dIndexVelocity));
    EXPECT_EQ(points[5].m_kind, PairKind::Nearest);
    EXPECT_DOUBLE_EQ(points[5].m_dIndexVelocity, 100.0);

    // A wider tolerance reaches the far one.
    EXPECT_EQ(PairMeasurements(rows, samples, Rectangular(), 25.0)[4].m_kind, PairKind::Nearest);
}

TEST(Pairing, GivenStageOverridesTheRecordedOne)
{
    const std::vector<SRecordedSample> samples = {{At(3, 10, 0), 500.0, 20000.0}};
    SMeasurement m = Measured("M", At(3, 9, 55), At(3, 10, 5), 3e6);
    m.m_dStage = 30000.0;
    const auto points = PairMeasurements({m}, samples, Rectangular());
    EXPECT_DOUBLE_EQ(points[0].m_dStage, 30000.0);
    EXPECT_DOUBLE_EQ(points[0].m_dArea, 300000.0);
    EXPECT_DOUBLE_EQ(points[0].m_dMeasuredVelocity, 100.0);
    EXPECT_TRUE(points[0].Usable());

    // No stage recorded and none given: paired, but without an area it cannot be rated.
    const std::vector<SRecordedSample> noStage = {{At(3, 10, 0), 500.0, NODATA}};
    const auto none =
        PairMeasurements({Measured("M", At(3, 9, 55), At(3, 10, 5), 3e6)}, noStage, Rectangular());
    EXPECT_EQ(none[0].m_kind, PairKind::Within);
    EXPECT_FALSE(none[0].Usable());
}

} // namespace
