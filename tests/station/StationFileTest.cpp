// The station file byte for byte: the layout a new station writes, the text length
// prefixes, the older versions, and files damaged on the way.
#include "station/FieldArchive.h"
#include "station/Station.h"
#include "station/StationArchive.h"
#include "tests/station/ByteBuilder.h"
#include "tests/support/TestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

constexpr double kCreated = 46000.5; // 2025-12-09 12:00

std::vector<uint8_t> ExpectedNewStation()
{
    ByteBuilder b;
    b.I32(2);
    AppendVersion0Body(b, "", "", "", 2, kCreated);
    AppendDefaultFlowComputer(b);
    b.I32(0).I32(0);
    return b.bytes;
}

std::vector<uint8_t> Bytes(const std::vector<unsigned char>& v)
{
    return {v.begin(), v.end()};
}

} // namespace

TEST(StationFile, NewStationSavedAtOnceHasTheDocumentedLayout)
{
    TempDir dir;
    CStation station{CDateTime(kCreated)};
    ASSERT_TRUE(station.Save((dir / "s.hstn").string()));
    const auto written = Bytes(ReadFileBytes(dir / "s.hstn"));
    const auto expected = ExpectedNewStation();
    ASSERT_EQ(written.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(written[i], expected[i]) << "first difference at byte " << i;
    EXPECT_FALSE(station.IsModified());
    EXPECT_EQ(station.GetFilePath(), (dir / "s.hstn").string());
}

TEST(StationFile, FixedRunsHaveTheDocumentedSizes)
{
    // 4 version + 3 empty texts + 136 + 424 geometry + 57 + 4 count + 12 + commands + 40+16
    // prefs + 52 + 4 + 4 count.
    size_t commands = 2;
    for (const char* s : {"CR", "1",        "WP", "1",        "WF", "50", "WN", "25",      "WS", "100",
                          "TP", "00:00.50", "TE", "00003000", "VP", "3",  "EZ", "1101101", "EX", "01010",
                          "ES", "0",        "CF", "11110",    "CT", "1",  "MR", "1",       "PD", "14"})
        commands += 1 + std::string(s).size();
    CStation station{CDateTime(kCreated)};
    EXPECT_EQ(station.ToBytes().size(), 4 + 3 + 136 + 424 + 57 + 4 + 12 + commands + 56 + 52 + 4 + 4);
}

TEST(StationFile, TextLengthPrefixesSwitchAt255)
{
    CStation station{CDateTime(kCreated)};
    station.SetSiteName(std::string(254, 'a'));
    auto bytes = station.ToBytes();
    EXPECT_EQ(bytes[4], 254);
    EXPECT_EQ(bytes[5], 'a');
    EXPECT_EQ(bytes[4 + 1 + 254], 0); // the empty location follows directly

    station.SetSiteName(std::string(255, 'b'));
    bytes = station.ToBytes();
    EXPECT_EQ(bytes[4], 0xFF);
    EXPECT_EQ(bytes[5], 255);
    EXPECT_EQ(bytes[6], 0);
    EXPECT_EQ(bytes[7], 'b');

    // 65534 and beyond need the 32-bit form, since a 16-bit 0xFFFE announces wide text.
    station.SetLocation(std::string(65534, 'c'));
    bytes = station.ToBytes();
    const size_t at = 4 + 3 + 255;
    EXPECT_EQ(bytes[at], 0xFF);
    EXPECT_EQ(bytes[at + 1], 0xFF);
    EXPECT_EQ(bytes[at + 2], 0xFF);
    EXPECT_EQ(bytes[at + 3], 0xFE);
    EXPECT_EQ(bytes[at + 4], 0xFF);
    EXPECT_EQ(bytes[at + 5], 0);
    EXPECT_EQ(bytes[at + 6], 0);
    EXPECT_EQ(bytes[at + 7], 'c');

    TempDir dir;
    ASSERT_TRUE(station.Save((dir / "long.hstn").string()));
    CStation back{CDateTime(0.0)};
    ASSERT_TRUE(back.Load((dir / "long.hstn").string()));
    EXPECT_EQ(back.GetSiteName(), std::string(255, 'b'));
    EXPECT_EQ(back.GetLocation(), std::string(65534, 'c'));
}

TEST(StationFile, SixteenBitTextIsReadIntoTheCodePage)
{
    ByteBuilder b;
    b.I32(2);
    // Site name "Ré€" + a character the code page lacks, as 16-bit characters.
    b.U8(0xFF).U16(0xFFFE).U8(4).U16('R').U16(0x00E9).U16(0x20AC).U16(0x4E2D);
    ByteBuilder rest;
    AppendVersion0Body(rest, "", "loc", "grp", 2, kCreated);
    rest.bytes.erase(rest.bytes.begin()); // drop the empty site name written by the helper
    b.Raw(rest.bytes);
    AppendDefaultFlowComputer(b);
    b.I32(0).I32(0);

    TempDir dir;
    WriteFileBytes(dir / "w.hstn", {b.bytes.begin(), b.bytes.end()});
    CStation station{CDateTime(0.0)};
    ASSERT_TRUE(station.Load((dir / "w.hstn").string()));
    EXPECT_EQ(station.GetSiteName(), "R\xC3\xA9\xE2\x82\xAC?");
    EXPECT_EQ(station.GetLocation(), "loc");
    EXPECT_EQ(station.GetGroup(), "grp");
}

TEST(StationFile, TextIsStoredInTheCodePage)
{
    CStation station{CDateTime(kCreated)};
    station.SetSiteName("Caf\xC3\xA9 \xE2\x82\xAC");      // "Café €"
    station.SetLocation("\xE4\xB8\xAD\xF0\x9F\x98\x80x"); // two characters the code page lacks
    const auto bytes = station.ToBytes();
    const std::vector<uint8_t> site = {6, 'C', 'a', 'f', 0xE9, ' ', 0x80};
    EXPECT_TRUE(std::equal(site.begin(), site.end(), bytes.begin() + 4));
    const std::vector<uint8_t> location = {3, '?', '?', 'x'};
    EXPECT_TRUE(std::equal(location.begin(), location.end(), bytes.begin() + 11));

    TempDir dir;
    ASSERT_TRUE(station.Save((dir / "t.hstn").string()));
    CStation back{CDateTime(0.0)};
    ASSERT_TRUE(back.Load((dir / "t.hstn").string()));
    EXPECT_EQ(back.GetSiteName(), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(back.GetLocation(), "??x");
}

TEST(StationFile, Version0LeavesLaterFieldsAtTheirDefaults)
{
    ByteBuilder b;
    b.I32(0);
    AppendVersion0Body(b, "Weir", "by the bridge", "North", 1, kCreated);
    TempDir dir;
    WriteFileBytes(dir / "v0.hstn", {b.bytes.begin(), b.bytes.end()});

    CStation station{CDateTime(0.0)};
    station.SetTimeZoneOffset(7); // fields the file lacks keep what the record held
    ASSERT_TRUE(station.Load((dir / "v0.hstn").string()));
    EXPECT_EQ(station.GetVersion(), 0);
    EXPECT_EQ(station.GetSiteName(), "Weir");
    EXPECT_EQ(station.GetLocation(), "by the bridge");
    EXPECT_EQ(station.GetGroup(), "North");
    EXPECT_EQ(station.GetMounting(), 1); // only version 1 exchanged left and right
    EXPECT_EQ(station.GetCreated(), CDateTime(kCreated));
    EXPECT_EQ(station.GetTCF(), 1.0);
    EXPECT_EQ(station.GetTimeout(), 1200);
    EXPECT_EQ(station.GetBadReadings(), 5);
    EXPECT_EQ(station.GetTimeZoneOffset(), 7);
    EXPECT_EQ(station.GetCalcSetCount(), 0);
    EXPECT_FALSE(station.IsModified());
    // Reading never writes a version-0 file.
    EXPECT_EQ(Bytes(ReadFileBytes(dir / "v0.hstn")), b.bytes);
}

namespace
{

std::vector<uint8_t> Version1File(int32_t mounting, double tcf)
{
    ByteBuilder b;
    b.I32(1);
    AppendVersion0Body(b, "Old", "", "", mounting, kCreated);
    b.F64(tcf).F64(4.0).F64(3.5).U16(600).F64(0.25).U16(3).F64(0.2).F64(1.5);
    return b.bytes;
}

// A version-1 file holding one data summary.
std::vector<uint8_t> Version1FileWithSummary(int32_t mounting)
{
    ByteBuilder head;
    head.I32(1);
    AppendVersion0Body(head, "Old", "", "", mounting, kCreated);
    ByteBuilder summary;
    summary.ShortText("20060101.001").Date(0, 38718.0).Date(0, 38718.5).I32(48).I32(3);
    for (double v : {1.0, 2.0, 3.0, 4.0, 5.0, 6.0})
        summary.F64(v);
    // The summary count sits after fields 2..24: 4 + 3 + 3 + 136 + 424 + 57.
    const size_t countAt = 4 + 3 + 3 + 136 + 424 + 57;
    std::vector<uint8_t> bytes = head.bytes;
    bytes[countAt] = 1;
    bytes.insert(bytes.begin() + static_cast<long>(countAt) + 4, summary.bytes.begin(), summary.bytes.end());
    ByteBuilder tail;
    tail.F64(2.0).F64(4.0).F64(3.5).U16(600).F64(0.25).U16(3).F64(0.2).F64(1.5);
    bytes.insert(bytes.end(), tail.bytes.begin(), tail.bytes.end());
    return bytes;
}

} // namespace

TEST(StationFile, Version1ExchangesLeftAndRightAndIsWrittenBack)
{
    TempDir dir;
    const auto path = (dir / "v1.hstn").string();
    WriteFileBytes(path, Version1FileWithSummary(1));

    CStation station{CDateTime(0.0)};
    StationLoadReport report;
    ASSERT_TRUE(station.Load(path, {}, &report));
    EXPECT_TRUE(report.wroteBack);
    EXPECT_EQ(station.GetMounting(), 2);
    EXPECT_EQ(station.GetTCF(), 2.0);
    EXPECT_EQ(station.GetTimeout(), 600);
    EXPECT_EQ(station.GetBadReadings(), 3);
    EXPECT_EQ(station.GetZeroScreen(), 1.5);
    EXPECT_EQ(station.GetSummaryCount(), 0); // rebuilt from the data files later
    EXPECT_FALSE(station.IsModified());

    // On disk: version 2, right mounting, the old summary still there.
    const auto disk = Bytes(ReadFileBytes(path));
    EXPECT_EQ(disk[0], 2);
    CStation reread{CDateTime(0.0)};
    ASSERT_TRUE(reread.Load(path));
    EXPECT_EQ(reread.GetVersion(), 2);
    EXPECT_EQ(reread.GetMounting(), 2);
    ASSERT_EQ(reread.GetSummaryCount(), 1);
    EXPECT_EQ(reread.GetSummary(0).m_strFileName, "20060101.001");
    EXPECT_EQ(reread.GetSummary(0).m_nEnsembles, 48);
    EXPECT_EQ(reread.GetSummary(0).m_dFlowMax, 6.0);
    EXPECT_EQ(reread.GetTCF(), 2.0);
}

TEST(StationFile, Version1MountingExchangeCoversOnlyHorizontalMounts)
{
    for (const auto& [stored, expected] : {std::pair{1, 2}, {2, 1}, {3, 3}, {4, 4}}) {
        TempDir dir;
        const auto path = (dir / "v1.hstn").string();
        WriteFileBytes(path, Version1File(stored, 1.0));
        CStation station{CDateTime(0.0)};
        ASSERT_TRUE(station.Load(path));
        EXPECT_EQ(station.GetMounting(), expected) << "stored " << stored;
    }
}

TEST(StationFile, Version1ReadWithoutWriteBackLeavesTheFileAlone)
{
    TempDir dir;
    const auto path = (dir / "v1.hstn").string();
    const auto original = Version1FileWithSummary(1);
    WriteFileBytes(path, original);
    CStation station{CDateTime(0.0)};
    StationLoadOptions options;
    options.writeBackOldVersion = false;
    StationLoadReport report;
    ASSERT_TRUE(station.Load(path, options, &report));
    EXPECT_FALSE(report.wroteBack);
    EXPECT_EQ(station.GetMounting(), 2);
    EXPECT_EQ(station.GetVersion(), 1);
    EXPECT_EQ(Bytes(ReadFileBytes(path)), original);
}

TEST(StationFile, UnknownVersionKeepsTheDefaultsAndSaysSo)
{
    ByteBuilder b;
    b.I32(3);
    AppendVersion0Body(b, "Future", "", "", 1, kCreated);
    TempDir dir;
    WriteFileBytes(dir / "v3.hstn", {b.bytes.begin(), b.bytes.end()});
    CStation station{CDateTime(kCreated)};
    StationLoadReport report;
    ASSERT_TRUE(station.Load((dir / "v3.hstn").string(), {}, &report));
    ASSERT_EQ(report.messages.size(), 1u);
    EXPECT_EQ(report.messages[0], "Error, station file has invalid version number.");
    EXPECT_EQ(station.GetSiteName(), "");
    EXPECT_EQ(station.GetMounting(), 2);

    // The defaults never replace the unread file, not even through a copy; another file
    // may take them.
    const auto original = ReadFileBytes(dir / "v3.hstn");
    station.SetSiteName("Edited");
    EXPECT_FALSE(station.Save());
    CStation copy(station);
    EXPECT_FALSE(copy.Save());
    EXPECT_EQ(ReadFileBytes(dir / "v3.hstn"), original);
    ASSERT_TRUE(station.Save((dir / "other.hstn").string()));
    EXPECT_TRUE(station.Save());
    EXPECT_EQ(ReadFileBytes(dir / "v3.hstn"), original);
}

TEST(StationFile, EveryStoredFieldSurvivesASaveAndLoad)
{
    CStation station{CDateTime(kCreated)};
    station.SetSiteName("Site");
    station.SetLocation("line one\r\nline two");
    station.SetGroup("A");
    station.SetFlowUnits(113);
    station.SetVelocityUnits(108);
    station.SetStageUnits(103);
    station.SetVolumeUnits(121);
    station.SetTemperatureUnits(131);
    station.SetAreaUnits(118);
    station.SetFlow4mA(0.1);
    station.SetFlow20mA(1e9 / 3);
    station.SetStage4mA(-1.5);
    station.SetStage20mA(2.25);
    station.SetVelocity4mA(3.125);
    station.SetVelocity20mA(4.0625);
    station.SetTotalizerPulse(0.0);
    station.SetAutoVelRange(0);
    station.SetVelRangeStart(3);
    station.SetVelRangeStop(17);
    station.SetVelocityModel(MODEL_COMPOUND);
    for (int i = 0; i < 4; ++i)
        station.SetModelCoef(0.1 * (i + 1), i);
    station.SetCritVelocity(321.5);
    auto& g = station.GetGeometry();
    g.m_nType = CHANNEL_MULTIPOINT;
    g.m_nPoints = 3;
    for (int i = 0; i < CChannelGeometry::MAX_POINTS; ++i) {
        g.m_dPointY[i] = i * 1.5; // unused slots too
        g.m_dPointZ[i] = -i * 2.5;
    }
    g.m_dPoly[2] = 7.0;
    g.m_dZAdcp = 11.0;
    g.m_dYAdcp = 12.0;
    g.m_dZBottom = 13.0;
    station.SetForcedDepth(0.0);
    station.SetReserved1(1.0 / 3);
    station.SetReserved2(-0.0);
    station.SetMounting(MOUNTING_BOTTOM);
    station.SetReservedDate(CDateTime(123.25, 2));
    station.SetComPort(8);
    station.SetReservedFlag(0xAB);
    CDataSummary summary;
    summary.m_strFileName = "x.000";
    summary.m_dtStart = CDateTime(1.0, 1);
    summary.m_nEnsembleType = 5;
    station.AddSummary(summary);
    station.SetFrequency(3);
    station.SetOptimize(1);
    station.GetCommands().Add("", "odd");
    station.SetAutoCalc(0);
    auto prefs = station.GetGraphPrefs();
    prefs.m_bSpare = 9;
    prefs.m_arrDataTypes = {11, 4};
    station.SetGraphPrefs(prefs);
    station.SetTCF(2.5);
    station.SetBadDataOutput(4.5);
    station.SetNoDataOutput(3.0);
    station.SetTimeout(65535);
    station.SetPulseTime(0.5);
    station.SetBadReadings(0);
    station.SetBigStep(1e-300);
    station.SetZeroScreen(5.0);
    station.SetTimeZoneOffset(-5);
    station.AddCalcSetFromStation(CDateTime(45000.0));
    station.AddCalcSetFromStation(CDateTime(44000.0));

    TempDir dir;
    const auto path = (dir / "all.hstn").string();
    ASSERT_TRUE(station.Save(path));
    CStation back{CDateTime(0.0)};
    ASSERT_TRUE(back.Load(path));
    // Writing the loaded record again gives the very same bytes, so nothing was lost or
    // reordered; spot checks make sure the fields went where they belong.
    EXPECT_EQ(back.ToBytes(), Bytes(ReadFileBytes(path)));
    EXPECT_EQ(back.GetLocation(), "line one\r\nline two");
    EXPECT_EQ(back.GetFlow20mA(), 1e9 / 3);
    EXPECT_EQ(back.GetReserved1(), 1.0 / 3);
    EXPECT_TRUE(std::signbit(back.GetReserved2()));
    EXPECT_EQ(back.GetReservedDate(), CDateTime(123.25, 2));
    EXPECT_EQ(back.GetReservedFlag(), 0xAB);
    EXPECT_EQ(back.GetGeometry().m_dPointY[19], 19 * 1.5);
    EXPECT_EQ(back.GetGeometry().m_dZBottom, 13.0);
    EXPECT_EQ(back.GetCommands(), station.GetCommands());
    EXPECT_EQ(back.GetGraphPrefs(), prefs);
    ASSERT_EQ(back.GetSummaryCount(), 1);
    EXPECT_EQ(back.GetSummary(0), summary);
    EXPECT_EQ(back.GetTimeout(), 65535);
    EXPECT_EQ(back.GetBigStep(), 1e-300);
    EXPECT_EQ(back.GetTimeZoneOffset(), -5);
    ASSERT_EQ(back.GetCalcSetCount(), 2);
    EXPECT_EQ(back.GetCalcSet(0).m_dtStart, CDateTime(44000.0));
    EXPECT_EQ(back.GetCalcSet(1).m_settings.m_geometry.m_dPointZ[19], -19 * 2.5);
    EXPECT_EQ(back.GetCalcSet(1).m_settings.m_nMounting, 4);
}

namespace
{

template <typename Record> std::vector<uint8_t> Store(Record& record)
{
    CStationArchive ar;
    ArchiveValue(ar, record);
    return ar.Bytes();
}

template <typename Record> void LoadFrom(Record& record, const std::vector<uint8_t>& bytes)
{
    CStationArchive ar(bytes);
    ArchiveValue(ar, record);
    EXPECT_EQ(ar.Remaining(), 0u);
}

} // namespace

TEST(StationFile, SubRecordsHaveTheDocumentedFieldOrder)
{
    // Every field a different value, so a swapped pair shows.
    CGraphPrefs prefs;
    prefs.m_bTabular = 1;
    prefs.m_bQVD = 2;
    prefs.m_bWhisker = 3;
    prefs.m_bContours = 4;
    prefs.m_bBinVelocities = 5;
    prefs.m_bVectors = 6;
    prefs.m_bAmplitude = 7;
    prefs.m_bCorrelation = 8;
    prefs.m_bSpare = 9;
    prefs.m_arrDataTypes = {11, 2};
    ByteBuilder p;
    for (int v : {1, 2, 3, 4, 5, 6, 8, 7, 9}) // correlation before amplitude
        p.I32(v);
    p.I32(2).U16(11).U16(2);
    EXPECT_EQ(Store(prefs), p.bytes);
    CGraphPrefs prefsBack;
    LoadFrom(prefsBack, p.bytes);
    EXPECT_EQ(prefsBack, prefs);

    CDataSummary summary;
    summary.m_strFileName = "f.001";
    summary.m_dtStart = CDateTime(1.5, 0);
    summary.m_dtStop = CDateTime(2.5, 2);
    summary.m_nEnsembles = 3;
    summary.m_nEnsembleType = 5;
    summary.m_dStageMin = 4;
    summary.m_dStageMax = 5;
    summary.m_dVelocityMin = 6;
    summary.m_dVelocityMax = 7;
    summary.m_dFlowMin = 8;
    summary.m_dFlowMax = 9;
    ByteBuilder s;
    s.ShortText("f.001").Date(0, 1.5).Date(2, 2.5).I32(3).I32(5);
    for (double v : {4.0, 5.0, 6.0, 7.0, 8.0, 9.0})
        s.F64(v);
    EXPECT_EQ(Store(summary), s.bytes);
    EXPECT_EQ(s.bytes.size(), 6u + 80u);
    CDataSummary summaryBack;
    LoadFrom(summaryBack, s.bytes);
    EXPECT_EQ(summaryBack, summary);

    CCalcSet set;
    set.m_dtStart = CDateTime(100.25);
    set.m_dBinSize = 1;
    set.m_dBlank = 2;
    set.m_settings.m_dForcedStage = 3;
    set.m_settings.m_nVelRangeStart = 4;
    set.m_settings.m_nVelRangeStop = 5;
    set.m_settings.m_nVelocityModel = 6;
    for (int i = 0; i < 4; ++i)
        set.m_settings.m_dModelCoef[i] = 7 + i;
    set.m_settings.m_dCritVelocity = 11;
    set.m_settings.m_nMounting = 12;
    CChannelGeometry& g = set.m_settings.m_geometry;
    g.m_nType = 13;
    g.m_dDiameter = 14;
    g.m_dRectWidth = 15;
    g.m_dRectHeight = 16;
    g.m_dTrapWidth = 17;
    g.m_dTrapHeight = 18;
    g.m_dTrapSlope = 19;
    g.m_nPoints = 20;
    for (int i = 0; i < 20; ++i) {
        g.m_dPointY[i] = 100 + i;
        g.m_dPointZ[i] = 200 + i;
    }
    g.m_dPoly[0] = 21;
    g.m_dPoly[1] = 22;
    g.m_dPoly[2] = 23;
    g.m_dZAdcp = 24;
    g.m_dYAdcp = 25;
    g.m_dZBottom = 26;
    ByteBuilder c;
    c.Date(0, 100.25).F64(1).F64(2).F64(3).I32(4).I32(5).I32(6);
    c.F64(7).F64(8).F64(9).F64(10).F64(11).I32(12);
    c.I32(13).F64(14).F64(15).F64(16).F64(17).F64(18).F64(19).I32(20);
    for (int i = 0; i < 20; ++i)
        c.F64(100 + i).F64(200 + i); // Y and Z interleaved, pair by pair
    for (double v : {21.0, 22.0, 23.0, 24.0, 25.0, 26.0})
        c.F64(v);
    EXPECT_EQ(c.bytes.size(), CCalcSet::RECORD_SIZE);
    EXPECT_EQ(Store(set), c.bytes);
    CCalcSet setBack;
    LoadFrom(setBack, c.bytes);
    EXPECT_EQ(Store(setBack), c.bytes);
    EXPECT_EQ(setBack.m_settings.m_geometry.m_dPointZ[19], 219.0);

    CCommandList list;
    list.Clear();
    list.Add("A", "");
    list.Add("", "b c");
    ByteBuilder l;
    l.U16(4).ShortText("A").ShortText("").ShortText("").ShortText("b c");
    EXPECT_EQ(Store(list), l.bytes);
}

TEST(StationFile, LongCommandListsUseTheWideCount)
{
    CCommandList list;
    list.Clear();
    for (int i = 0; i < 40000; ++i)
        list.Add("C", "");
    const auto bytes = Store(list);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFF);
    EXPECT_EQ(bytes[2], 80000 & 0xFF);
    EXPECT_EQ(bytes[3], (80000 >> 8) & 0xFF);
    EXPECT_EQ(bytes[4], 80000 >> 16);
    EXPECT_EQ(bytes[5], 0);
    CCommandList back;
    LoadFrom(back, bytes);
    EXPECT_EQ(back.Count(), 40000);
}
