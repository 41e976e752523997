// Loading files into a list: separators between files and at numbering restarts, invalid
// ensembles dropped, calculation sets chosen per ensemble, live additions.
#include "data/EnsembleList.h"
#include "data/DataFiles.h"
#include "data/DateTime.h"
#include "data/FlowSettingsTable.h"
#include "data/Pd0Ensemble.h"
#include "sim/DataGenerator.h"
#include "sim/EnsembleEncoder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using Bytes = std::vector<uint8_t>;

Bytes Pd14Numbered(uint16_t number, int minute = 0)
{
    SPd14Values v;
    v.m_nNumber = number;
    v.m_nYear = 2005, v.m_nMonth = 12, v.m_nDay = 3, v.m_nHour = 14, v.m_nMinute = minute;
    v.m_velocityX = {100};
    v.m_nRange = 5000;
    return EncodePd14Ensemble(v);
}

void Append(Bytes& to, const Bytes& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

std::string Write(const testsupport::TempDir& dir, const std::string& name, const Bytes& bytes)
{
    testsupport::WriteFileBytes(dir / name, bytes);
    return (dir / name).string();
}

std::vector<int> Types(const CEnsembleList& list)
{
    std::vector<int> types;
    for (size_t i = 0; i < list.GetCount(); ++i)
        types.push_back(list.GetAt(i).GetType());
    return types;
}

} // namespace

TEST(EnsembleList, SeparatorsBetweenFilesAndAtRestarts)
{
    testsupport::TempDir dir;
    Bytes restarting;
    for (uint16_t n : {100, 101, 1, 2})
        Append(restarting, Pd14Numbered(n));
    const CFlowSettingsTable settings;
    CEnsembleList list;
    EXPECT_EQ(list.Load(Write(dir, "a.000", restarting), settings), 4);
    EXPECT_EQ(Types(list), (std::vector<int>{2, 2, 1, 2, 2}));
    EXPECT_EQ(list.GetAt(1).GetNumber(), 101.0);
    EXPECT_EQ(list.GetAt(3).GetNumber(), 1.0);

    Bytes second = Pd14Numbered(7);
    EXPECT_EQ(list.Load(Write(dir, "b.000", second), settings), 1);
    EXPECT_EQ(Types(list), (std::vector<int>{2, 2, 1, 2, 2, 1, 2}));
    EXPECT_EQ(list.GetValue(5, DATATYPE_STAGE), NODATA) << "a separator is a gap in every series";

    // A file that cannot be read, or holds nothing valid: 0 and only the leading separator.
    EXPECT_EQ(list.Load((dir / "missing.000").string(), settings), 0);
    EXPECT_EQ(list.GetCount(), 8u);
    EXPECT_EQ(list.Load(Write(dir, "noise.000", Bytes(500, 0x1A)), settings), 0);
    EXPECT_EQ(list.GetCount(), 9u);
}

TEST(EnsembleList, RestartsAreJudgedAmongValidEnsemblesOfOneFile)
{
    testsupport::TempDir dir;
    Bytes bytes;
    Append(bytes, Pd14Numbered(5));
    SPd14Values broken; // number 0 and no date: invalid, dropped without breaking the series
    broken.m_nYear = 0;
    broken.m_nNumber = 0;
    broken.m_velocityX = {1};
    Append(bytes, EncodePd14Ensemble(broken));
    Append(bytes, Pd14Numbered(6));
    Append(bytes, Pd14Numbered(6)); // a repeated number is no restart
    CEnsembleList list;
    EXPECT_EQ(list.Load(Write(dir, "a.000", bytes), CFlowSettingsTable{}), 3);
    EXPECT_EQ(Types(list), (std::vector<int>{2, 2, 2}));
}

TEST(EnsembleList, CalculationSetAppliesStrictlyAfterItsStart)
{
    testsupport::TempDir dir;
    Bytes bytes;
    for (int minute : {0, 1, 2})
        Append(bytes, Pd14Numbered(static_cast<uint16_t>(minute + 1), minute));
    CFlowSettingsTable settings;
    CFlowSettings forced;
    forced.m_dForcedStage = 777;
    settings.AddSet(CDateTime::FromParts(2005, 12, 3, 14, 1, 0).m_dt, forced);
    CEnsembleList list;
    ASSERT_EQ(list.Load(Write(dir, "a.000", bytes), settings), 3);
    EXPECT_EQ(list.GetValue(0, DATATYPE_STAGE), 5000.0);
    EXPECT_EQ(list.GetValue(1, DATATYPE_STAGE), 5000.0) << "a set starting exactly at the ensemble's time";
    EXPECT_EQ(list.GetValue(2, DATATYPE_STAGE), 777.0);
}

TEST(EnsembleList, GeneratedFilesLoadAsWritten)
{
    testsupport::TempDir dir;
    for (auto format : {SDataGenOptions::PD0, SDataGenOptions::PD14}) {
        SDataGenOptions o;
        o.m_format = format;
        o.m_nCount = 300;
        o.m_nNoiseMax = 12;
        o.m_nPadTo = 1024;
        o.m_nRestartAt = 120;
        o.m_nBadChecksumEvery = 17;
        o.m_dBadVelocityRatio = 0.05;
        o.m_bXY = false;
        SDataGenResult written;
        ASSERT_TRUE(CDataGenerator(o).WriteFile((dir / "g.000").string(), &written));
        CEnsembleList list;
        EXPECT_EQ(list.Load((dir / "g.000").string(), CFlowSettingsTable{}), written.m_nValid);
        EXPECT_EQ(written.m_nValid, 300 - 300 / 17);
        EXPECT_EQ(list.GetCount(), static_cast<size_t>(written.m_nValid + written.m_nRestarts));
        EXPECT_EQ(written.m_nRestarts, 1);
        EXPECT_EQ(list.GetAt(0).GetTime(), written.m_dFirstTime);
        EXPECT_EQ(list.GetAt(list.GetCount() - 1).GetTime(), written.m_dLastTime);
        EXPECT_LE(list.GetMemoryUsage(), written.m_bytes.size() + 96 * list.GetCount() + 4096);
    }
}

TEST(EnsembleList, AddedEnsemblesAreCopiesAndWriteBackUnchanged)
{
    testsupport::TempDir dir;
    SPd0Values v;
    v.m_velocity1 = {1, 2};
    v.m_velocity2 = {3, 4};
    const Bytes bytes = EncodePd0Ensemble(v);
    CEnsembleList list;
    {
        auto e = BuildEnsemble(CFlowSettings{}, bytes.data(), bytes.size());
        ASSERT_TRUE(e && e->IsValid());
        for (int i = 0; i < 200; ++i) // more than one block of storage
            list.Add(*e);
        list.Add(CEnsemble{});
    }
    ASSERT_EQ(list.GetCount(), 201u);
    EXPECT_EQ(list.GetAt(200).GetType(), 1);
    EXPECT_EQ(list.GetValue(150, DATATYPE_X_VELOCITY, 0, 1), 2.0);

    FilePtr out(std::fopen((dir / "copy.000").string().c_str(), "wb"));
    ASSERT_TRUE(out);
    EXPECT_TRUE(list.GetAt(3).WriteTo(out.get()));
    EXPECT_TRUE(list.GetAt(200).WriteTo(out.get()));
    out.reset();
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "copy.000"), bytes);
}

TEST(EnsembleList, LiveEnsemblesTakeTheSetInForce)
{
    const Bytes early = Pd14Numbered(1, 0);
    const Bytes late = Pd14Numbered(2, 30);
    CFlowSettingsTable settings;
    CFlowSettings forced;
    forced.m_dForcedStage = 42;
    settings.AddSet(CDateTime::FromParts(2005, 12, 3, 14, 10, 0).m_dt, forced);
    EXPECT_EQ(BuildEnsembleAt(settings, early.data(), early.size())->GetValue(DATATYPE_STAGE, 0, 0), 5000.0);
    EXPECT_EQ(BuildEnsembleAt(settings, late.data(), late.size())->GetValue(DATATYPE_STAGE, 0, 0), 42.0);
    const Bytes junk = {0x41, 0x42};
    EXPECT_EQ(BuildEnsembleAt(settings, junk.data(), junk.size()), nullptr);
}
