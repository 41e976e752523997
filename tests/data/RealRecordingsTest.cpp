// The six real PD0 recordings: what the framing rules make of them, and values read by hand
// from a hex dump of their first ensembles (offsets in the comments).
#include "data/DateTime.h"
#include "data/EnsembleList.h"
#include "data/FileSummary.h"
#include "data/FlowSettingsTable.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

double Stamp(int y, int mo, int d, int h, int mi, int s)
{
    return CDateTime::FromParts(y, mo, d, h, mi, s).m_dt;
}

struct Recording {
    const char* file;
    int valid;
    double firstNumber, lastNumber;
    double firstTime, lastTime;
    double firstCells, lastCells;
};

// The recordings are the project's shared material beside the checkout, not part of the
// repository: a clone elsewhere has nothing to read here.
class RealRecordings : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!std::filesystem::is_directory(testsupport::SharedDataPath("pd0")))
            GTEST_SKIP() << "the real recordings are not at " << testsupport::SharedDataPath("pd0");
    }
};

} // namespace

TEST_F(RealRecordings, CountsNumbersAndTimes)
{
    const Recording recordings[] = {
        {"pd0_a.000", 1721, 1, 1721, Stamp(2017, 5, 24, 11, 50, 13), Stamp(2017, 5, 24, 12, 33, 13), 17, 17},
        {"pd0_b.000", 3713, 1, 3713, Stamp(2020, 8, 19, 6, 57, 6), Stamp(2020, 8, 19, 7, 58, 58), 28, 28},
        {"pd0_c.000", 690, 1, 690, Stamp(2022, 3, 14, 19, 29, 10), Stamp(2022, 3, 14, 20, 7, 40), 80, 80},
        {"pd0_d.000", 273, 398, 670, Stamp(2022, 8, 19, 20, 14, 21), Stamp(2022, 8, 19, 20, 17, 25), 16, 12},
        {"pd0_e.000", 50, 78, 127, Stamp(2017, 4, 6, 16, 23, 34), Stamp(2017, 4, 6, 16, 24, 39), 132, 132},
        {"pd0_f.000", 60, 1, 60, Stamp(2013, 3, 19, 8, 0, 0), Stamp(2013, 3, 19, 8, 0, 59), 32, 32},
    };
    for (const auto& r : recordings) {
        CEnsembleList list;
        EXPECT_EQ(list.Load(testsupport::SharedDataPath(std::string("pd0/") + r.file).string(),
                            CFlowSettingsTable{}),
                  r.valid)
            << r.file;
        ASSERT_EQ(list.GetCount(), static_cast<size_t>(r.valid)) << r.file << ": numbering never goes back";
        const auto first = list.GetAt(0);
        const auto last = list.GetAt(list.GetCount() - 1);
        EXPECT_EQ(first.GetNumber(), r.firstNumber) << r.file;
        EXPECT_EQ(last.GetNumber(), r.lastNumber) << r.file;
        EXPECT_EQ(first.GetTime(), r.firstTime) << r.file;
        EXPECT_EQ(last.GetTime(), r.lastTime) << r.file;
        EXPECT_EQ(first.GetValue(DATATYPE_VELOCITY_BINS), r.firstCells) << r.file;
        EXPECT_EQ(last.GetValue(DATATYPE_VELOCITY_BINS), r.lastCells) << r.file;
        // None of them carries a range section, so there is no stage and no flow.
        EXPECT_EQ(first.GetValue(DATATYPE_STAGE), NODATA) << r.file;
        EXPECT_EQ(first.GetValue(DATATYPE_FLOW), NODATA) << r.file;
        const CDataSummary summary = SummarizeList(list);
        EXPECT_EQ(summary.m_nEnsembleType, 3);
        EXPECT_EQ(summary.m_dStageMax, NODATA);
        EXPECT_EQ(summary.m_dtStart.m_dt, r.firstTime);
    }
}

TEST_F(RealRecordings, FirstEnsembleValuesFromTheHexDump)
{
    CEnsembleList a;
    a.Load(testsupport::SharedDataPath("pd0/pd0_a.000").string(), CFlowSettingsTable{});
    const auto e = a.GetAt(0);
    // Variable leader at 0x4F: pitch 24 01 at 0x63, roll 80 FF at 0x65.
    EXPECT_EQ(e.GetValue(DATATYPE_PITCH), 292.0);
    EXPECT_EQ(e.GetValue(DATATYPE_ROLL), -128.0);
    // Velocity section at 0x90: cell 0 holds 00 80 (bad) in every beam.
    EXPECT_EQ(e.GetValue(DATATYPE_X_VELOCITY, 0, 0), NODATA);
    // Correlation at 0x11A: 40 3A; amplitude at 0x160: 31 30.
    EXPECT_EQ(e.GetValue(DATATYPE_CORRELATION, 0, 0), 64.0);
    EXPECT_EQ(e.GetValue(DATATYPE_CORRELATION, 1, 0), 58.0);
    EXPECT_EQ(e.GetValue(DATATYPE_AMPLITUDE, 0, 0), 49.0);
    EXPECT_EQ(e.GetValue(DATATYPE_AMPLITUDE, 1, 0), 48.0);

    CEnsembleList b;
    b.Load(testsupport::SharedDataPath("pd0/pd0_b.000").string(), CFlowSettingsTable{});
    const auto f = b.GetAt(0);
    // Coordinate byte 1F at 0x2D: X and Y. Velocity at 0x90: CD 00, B2 00, then cell 1 at 0x9A: 7A 05.
    EXPECT_EQ(f.GetValue(DATATYPE_X_VELOCITY, 0, 0), 205.0);
    EXPECT_EQ(f.GetValue(DATATYPE_Y_VELOCITY, 0, 0), 178.0);
    EXPECT_EQ(f.GetValue(DATATYPE_BEAM_VELOCITY, 1, 0), 178.0);
    EXPECT_EQ(f.GetValue(DATATYPE_X_VELOCITY, 0, 1), 1402.0);
    EXPECT_EQ(f.GetValue(DATATYPE_PITCH), -310.0); // CA FE
    EXPECT_EQ(f.GetValue(DATATYPE_ROLL), 763.0);   // FB 02

    CEnsembleList c;
    c.Load(testsupport::SharedDataPath("pd0/pd0_c.000").string(), CFlowSettingsTable{});
    // Coordinate byte 00: beam velocities, no X or Y, but an index velocity all the same.
    EXPECT_EQ(c.GetAt(0).GetValue(DATATYPE_X_VELOCITY, 0, 0), NODATA);
}

TEST_F(RealRecordings, LoadedTogetherWithSeparators)
{
    CEnsembleList list;
    int total = 0;
    for (const char* name : {"pd0_a.000", "pd0_f.000"})
        total +=
            list.Load(testsupport::SharedDataPath(std::string("pd0/") + name).string(), CFlowSettingsTable{});
    EXPECT_EQ(total, 1721 + 60);
    EXPECT_EQ(list.GetCount(), 1721u + 60u + 1u);
    EXPECT_EQ(list.GetAt(1721).GetType(), 1);
}
