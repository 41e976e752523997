// The data view's decisions without widgets: panes from the preferences, the current entry
// under the keys and clicks, the table's texts and copied text, the hydrograph's axes and
// gaps, the whisker and beam graphs, and the reduction of long series to pixels.
#include "platform/Utf8Path.h"
#include "present/ContourMap.h"
#include "present/DataViewModel.h"
#include "present/PixelReduction.h"
#include "present/ViewDataLoad.h"

#include "data/ByteBuffer.h"
#include "data/Units.h"
#include "sim/DataGenerator.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

// Generated PD0 files one after another, loaded as one list with the station's settings.
CEnsembleList MakeList(const CStation& station, const std::vector<SDataGenOptions>& parts)
{
    std::vector<uint8_t> bytes;
    for (const SDataGenOptions& o : parts) {
        const SDataGenResult r = CDataGenerator(o).Generate();
        bytes.insert(bytes.end(), r.m_bytes.begin(), r.m_bytes.end());
    }
    ByteBuffer buffer = AllocateBytes(bytes.size());
    std::memcpy(buffer.get(), bytes.data(), bytes.size());
    CEnsembleList list;
    list.LoadBuffer(std::move(buffer), bytes.size(), FlowSettingsTableOf(station));
    return list;
}

SDataGenOptions Part(int count, uint32_t firstNumber = 1, bool withRange = true)
{
    SDataGenOptions o;
    o.m_format = SDataGenOptions::PD0;
    o.m_nCount = count;
    o.m_nCells = 10;
    o.m_nFirstNumber = firstNumber;
    o.m_bWithRange = withRange;
    o.m_nMinute = 10 * static_cast<int>(firstNumber - 1); // 10-minute steps go on across parts
    return o;
}

CStation FeetStation()
{
    CStation station(CDateTime::FromParts(2006, 1, 2, 3, 4, 5));
    station.SetSiteName("Weir");
    station.SetStageUnits(UNIT_FEET);
    station.SetVelocityUnits(UNIT_FEET_PER_SECOND);
    return station;
}

TEST(DataViewLayout, PanesFollowThePreferencesInTheirOrder)
{
    CGraphPrefs prefs;
    prefs.m_bBinVelocities = 1;
    SDataViewLayout all = DataViewLayoutOf(prefs);
    EXPECT_EQ(all.m_arrPanes,
              (std::vector<DataPane>{DataPane::Hydrograph, DataPane::Whisker, DataPane::BeamGraphs,
                                     DataPane::Contours, DataPane::Table}));
    EXPECT_EQ(all.m_arrBeamGraphs, (std::vector<BeamGraph>{BeamGraph::Vectors, BeamGraph::BinVelocities,
                                                           BeamGraph::Correlation, BeamGraph::Amplitude}));

    CGraphPrefs tableOnly = prefs;
    tableOnly.m_bQVD = tableOnly.m_bWhisker = tableOnly.m_bContours = 0;
    tableOnly.m_bBinVelocities = tableOnly.m_bVectors = tableOnly.m_bAmplitude = tableOnly.m_bCorrelation = 0;
    EXPECT_EQ(DataViewLayoutOf(tableOnly).m_arrPanes, std::vector<DataPane>{DataPane::Table});
    EXPECT_TRUE(DataViewLayoutOf(tableOnly).m_arrBeamGraphs.empty());

    CGraphPrefs contoursOnly = tableOnly;
    contoursOnly.m_bTabular = 0;
    contoursOnly.m_bContours = 1;
    EXPECT_EQ(DataViewLayoutOf(contoursOnly).m_arrPanes, std::vector<DataPane>{DataPane::Contours});

    CGraphPrefs none = contoursOnly;
    none.m_bContours = 0;
    EXPECT_TRUE(DataViewLayoutOf(none).m_arrPanes.empty());
    // One beam graph still makes the row.
    CGraphPrefs amplitude = none;
    amplitude.m_bAmplitude = 1;
    EXPECT_EQ(DataViewLayoutOf(amplitude).m_arrPanes, std::vector<DataPane>{DataPane::BeamGraphs});
}

TEST(DataViewCurrent, KeysMoveAndClampIntoTheList)
{
    const CStation station = FeetStation();
    CDataViewModel model(station, MakeList(station, {Part(5)}));
    ASSERT_EQ(model.GetCount(), 5u);
    EXPECT_EQ(model.GetCurrent(), 0);
    using Key = CDataViewModel::Key;
    model.MoveBy(Key::Up); // below the first stays on the first
    EXPECT_EQ(model.GetCurrent(), 0);
    model.MoveBy(Key::Right);
    model.MoveBy(Key::Down);
    EXPECT_EQ(model.GetCurrent(), 2);
    model.MoveBy(Key::PageDown); // third of five: the fifth
    EXPECT_EQ(model.GetCurrent(), 4);
    model.MoveBy(Key::Right);
    EXPECT_EQ(model.GetCurrent(), 4);
    model.MoveBy(Key::Left);
    model.MoveBy(Key::Up);
    model.MoveBy(Key::Left);
    EXPECT_EQ(model.GetCurrent(), 1);
    model.MoveBy(Key::PageUp); // second: the first
    EXPECT_EQ(model.GetCurrent(), 0);
    model.MoveBy(Key::End);
    EXPECT_EQ(model.GetCurrent(), 4);
    model.MoveBy(Key::Home);
    EXPECT_EQ(model.GetCurrent(), 0);
    model.RowClicked(3);
    EXPECT_EQ(model.GetCurrent(), 3);
    model.SetCurrent(99);
    EXPECT_EQ(model.GetCurrent(), 4);

    // A click in the hydrograph takes the entry nearest in time.
    const double t2 = model.List().GetAt(2).GetTime();
    const double t3 = model.List().GetAt(3).GetTime();
    EXPECT_TRUE(model.TimeClicked(t2 + 0.4 * (t3 - t2)));
    EXPECT_EQ(model.GetCurrent(), 2);
    EXPECT_TRUE(model.TimeClicked(t2 + 0.6 * (t3 - t2)));
    EXPECT_EQ(model.GetCurrent(), 3);
    EXPECT_TRUE(model.TimeClicked(t3 + 10.0)); // beyond the end: the last
    EXPECT_EQ(model.GetCurrent(), 4);
}

TEST(DataViewCurrent, AnEmptyListHasNoCurrentEntry)
{
    const CStation station = FeetStation();
    CDataViewModel model(station, CEnsembleList{});
    EXPECT_EQ(model.GetCurrent(), -1);
    model.MoveBy(CDataViewModel::Key::End);
    model.MoveBy(CDataViewModel::Key::PageDown);
    EXPECT_EQ(model.GetCurrent(), -1);
    EXPECT_FALSE(model.TimeClicked(38000.0));
    EXPECT_TRUE(IsNoData(model.CurrentTime()));
    EXPECT_TRUE(model.CurrentWhisker().m_arrWhiskers.empty());
    EXPECT_EQ(model.Table().Text({}, CDataTable::TextForm::Tabs),
              "Number\tDate/Time\tRange (ft)\tStage (ft)\tIndex Velocity (ft/s)\tVelocity (ft/s)\tArea (sq "
              "ft)\tFlow (MGD)\n");
}

TEST(DataViewTable, NoDataAndSeparatorsGiveEmptyCells)
{
    const CStation station = FeetStation();
    // Two ensembles with a range, one without (no stage), then a numbering restart: the
    // list holds a separator before the last two.
    CDataViewModel model(station, MakeList(station, {Part(2), Part(1, 3, false), Part(2)}));
    const CDataTable& table = model.Table();
    ASSERT_EQ(table.GetRowCount(), 6u);
    EXPECT_EQ(table.GetColumnTitle(3), "Stage (ft)");
    EXPECT_EQ(CDataTable::ColumnWidth(DATATYPE_NUMBER), 50);
    EXPECT_EQ(CDataTable::ColumnWidth(DATATYPE_DATETIME), 120);
    EXPECT_EQ(CDataTable::ColumnWidth(DATATYPE_FLOW), 75);

    EXPECT_EQ(table.CellText(0, 0), "1");
    EXPECT_EQ(table.CellText(0, 1), "2005/12/03 00:00:00");
    EXPECT_FALSE(table.CellText(0, 3).empty());
    EXPECT_EQ(table.CellText(2, 0), "3");
    EXPECT_EQ(table.CellText(2, 3), ""); // no stage
    // The separator: every cell empty.
    for (int c = 0; c < table.GetColumnCount(); ++c)
        EXPECT_EQ(table.CellText(3, c), "") << c;
    // The cell is the tool's text of the same value.
    const double stage = model.List().GetValue(1, DATATYPE_STAGE);
    EXPECT_EQ(table.CellText(1, 3), FormatValue(ToDisplayUnits(stage, UNIT_FEET)));

    // Copied rows: the header, then each row, tab-separated.
    const std::string copied = table.Text({1, 3}, CDataTable::TextForm::Tabs);
    std::string expected = "Number\tDate/Time\tRange (ft)\tStage (ft)\tIndex Velocity (ft/s)\tVelocity "
                           "(ft/s)\tArea (sq ft)\tFlow (MGD)\n";
    std::string row1;
    for (int c = 0; c < table.GetColumnCount(); ++c)
        row1 += (c ? "\t" : "") + table.CellText(1, c);
    expected += row1 + "\n\t\t\t\t\t\t\t\n";
    EXPECT_EQ(copied, expected);
    // All rows when none are given.
    const std::string all = table.Text({}, CDataTable::TextForm::Csv);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 7);
}

TEST(DataViewTable, CsvFieldsAreQuotedOnlyWhenNeeded)
{
    EXPECT_EQ(CsvField("1.25"), "1.25");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(Hydrograph, AxisTitlesInTheStationsUnitsAndGapsAtNoData)
{
    const CStation station = FeetStation();
    CDataViewModel model(station, MakeList(station, {Part(3), Part(1, 4, false), Part(3, 5)}));
    const CHydrograph& h = model.Hydrograph();
    EXPECT_EQ(h.Title(CHydrograph::STAGE), "Stage (ft)");
    EXPECT_EQ(h.Title(CHydrograph::VELOCITY), "Velocity (ft/s)");
    EXPECT_EQ(h.Title(CHydrograph::FLOW), "Flow (MGD)");
    ASSERT_EQ(h.GetCount(), 7u);
    EXPECT_TRUE(IsNoData(h.Values(CHydrograph::STAGE)[3]));
    EXPECT_FALSE(IsNoData(h.Values(CHydrograph::VELOCITY)[3]));
    // The stage axis follows the values in feet by the graph's rules (a tenth of slack).
    // (A value grows the maximum only when it passes the maximum already widened.)
    double lo = 1e300, hi = -1e300;
    for (double v : h.Values(CHydrograph::STAGE)) {
        if (IsNoData(v))
            continue;
        if (v < lo)
            lo = 0.9 * v;
        if (v > hi)
            hi = 1.1 * v;
    }
    EXPECT_DOUBLE_EQ(h.Axis(CHydrograph::STAGE).m_dYMin, lo);
    EXPECT_DOUBLE_EQ(h.Axis(CHydrograph::STAGE).m_dYMax, hi);
    EXPECT_TRUE(h.Axis(CHydrograph::STAGE).m_bTimeAxis);
    EXPECT_DOUBLE_EQ(h.Axis(CHydrograph::STAGE).m_dXMin, h.Times().front());

    // Drawn, the stage curve breaks at the missing value; velocity does not.
    const CGraphModel& axis = h.Axis(CHydrograph::STAGE);
    auto map = [&](double x, double y, int& px, int& py) { return axis.DataToPixel(x, y, 700, 300, px, py); };
    const SPixelPolylines stage =
        ReduceToPixels(h.Times().data(), h.Values(CHydrograph::STAGE).data(), 7, 1, map, NoDataPoints::Break);
    EXPECT_EQ(stage.GetLineCount(), 2u);
    EXPECT_EQ(stage.End(0) - stage.Start(0), 3u);
    const CGraphModel& vaxis = h.Axis(CHydrograph::VELOCITY);
    auto vmap = [&](double x, double y, int& px, int& py) {
        return vaxis.DataToPixel(x, y, 700, 300, px, py);
    };
    EXPECT_EQ(ReduceToPixels(h.Times().data(), h.Values(CHydrograph::VELOCITY).data(), 7, 1, vmap,
                             NoDataPoints::Break)
                  .GetLineCount(),
              1u);
}

TEST(PixelReduction, KeepsEntryExtremesAndExitOfEachColumn)
{
    // Identity mapping: x is the column, y the row.
    auto map = [](double x, double y, int& px, int& py) {
        if (x < 0)
            return false;
        px = static_cast<int>(x);
        py = static_cast<int>(y);
        return true;
    };
    // Column 0: 5, 9, 1, 4 (entry 5, high 9 then low 1, exit 4); column 1: 2.
    const double xs[] = {0, 0, 0, 0, 1};
    const double ys[] = {5, 9, 1, 4, 2};
    const SPixelPolylines r = ReduceToPixels(xs, ys, 5, 1, map, NoDataPoints::Join);
    ASSERT_EQ(r.GetLineCount(), 1u);
    EXPECT_EQ(r.m_arrXY, (std::vector<int>{0, 5, 0, 9, 0, 1, 0, 4, 1, 2}));

    // A point that does not map is joined over; a no-data point breaks the line when asked.
    const double xg[] = {0, -1, 2, NODATA, 4};
    const double yg[] = {1, 1, 1, 1, 1};
    EXPECT_EQ(ReduceToPixels(xg, yg, 5, 1, map, NoDataPoints::Join).GetPointCount(), 3u);
    const SPixelPolylines broken = ReduceToPixels(xg, yg, 5, 1, map, NoDataPoints::Break);
    EXPECT_EQ(broken.GetLineCount(), 2u);
    EXPECT_EQ(broken.End(1) - broken.Start(1), 1u); // a lone point after the gap is kept

    // A million points over 500 columns come down to at most four per column.
    std::vector<double> pairs;
    for (int i = 0; i < 1000000; ++i) {
        pairs.push_back(i / 2000.0);
        pairs.push_back(static_cast<double>((i * 7919LL) % 300));
    }
    const SPixelPolylines many =
        ReduceToPixels(pairs.data(), pairs.data() + 1, 1000000, 2, map, NoDataPoints::Join);
    EXPECT_LE(many.GetPointCount(), 4u * 500u);
    EXPECT_GE(many.GetPointCount(), 2u * 500u);
}

TEST(WhiskerGraph, PathAlongTheBinsThatFitAndWhiskersScaledByTheLargest)
{
    CStation station = FeetStation();
    station.SetMounting(MOUNTING_RIGHT);
    CChannelGeometry geometry;
    geometry.SetType(CHANNEL_RECTANGULAR);
    geometry.SetRectangular(60960.0, 30480.0); // 20 ft wide
    geometry.SetZAdcp(3048.0);
    station.SetGeometry(geometry);
    station.GetCommands().SetText("WS", "100"); // 1 m bins
    station.GetCommands().SetText("WF", "50");  // 0.5 m blank
    station.SetVelRangeStart(1);
    station.SetVelRangeStop(10);
    CDataViewModel model(station, MakeList(station, {Part(1)}));
    const SWhiskerGraph w = model.CurrentWhisker();
    EXPECT_EQ(w.m_nSide, 3);
    EXPECT_NEAR(w.m_dPathLength, 20.0, 1e-6);
    // 20 ft = 6.096 m: bins end at 1.5, 2.5, ... 5.5 m; the sixth would end at 6.5 m.
    ASSERT_EQ(w.m_arrWhiskers.size(), 5u);
    ASSERT_EQ(w.m_arrPath.size(), 12u);
    EXPECT_NEAR(w.m_arrPath[0], 0.5 / 0.3048, 1e-6);
    EXPECT_NEAR(w.m_arrPath[10], 5.5 / 0.3048, 1e-6);
    EXPECT_NEAR(w.m_arrWhiskers[0].m_dCenter, 1.0 / 0.3048, 1e-6);
    double maxX = 0;
    for (const SWhisker& s : w.m_arrWhiskers)
        maxX = std::max(maxX, std::fabs(s.m_dX));
    EXPECT_DOUBLE_EQ(w.m_dMaxAbsX, maxX);
    // The largest across component reaches 0.9 of the room below the path, whichever way it
    // points, so every whisker stays inside the fixed range; the along component a bin.
    double reached = 0;
    for (const SWhisker& s : w.m_arrWhiskers) {
        double x = 0, y = 0;
        ASSERT_TRUE(w.Tip(s, x, y));
        EXPECT_NEAR(y, 0.45 * s.m_dX / w.m_dMaxAbsX, 1e-12);
        EXPECT_GT(y, SWhiskerGraph::Y_MIN);
        EXPECT_LT(y, SWhiskerGraph::Y_MAX);
        reached = std::max(reached, std::fabs(y));
        EXPECT_NEAR(x - s.m_dCenter, w.m_dBinSize * s.m_dY / w.m_dMaxAbsY, 1e-12);
    }
    EXPECT_NEAR(reached, 0.45, 1e-12);
    double x = 0, y = 0;
    EXPECT_FALSE(w.Tip(SWhisker{1.0, NODATA, 0.2}, x, y));

    station.SetMounting(MOUNTING_LEFT);
    CDataViewModel left(station, MakeList(station, {Part(1)}));
    EXPECT_EQ(left.CurrentWhisker().m_nSide, 1);
}

TEST(BeamGraphs, TitlesUnitsAndFixedCountRanges)
{
    const CStation station = FeetStation();
    SDataGenOptions o = Part(1);
    o.m_dBadVelocityRatio = 0.3;
    o.m_nSeed = 7;
    CDataViewModel model(station, MakeList(station, {o}));
    const SProfileGraph vectors = model.CurrentBeamGraph(BeamGraph::Vectors);
    EXPECT_EQ(vectors.m_strYTitle, "Velocity (ft/s)");
    EXPECT_EQ(vectors.m_strXTitle, "Y (ft)");
    EXPECT_FALSE(vectors.m_bFixedRange);
    // Missing velocities are left out, so X holds fewer than the ten bins.
    const size_t xPoints = vectors.m_arrSeries[0].size() / 2;
    EXPECT_GT(xPoints, 0u);
    EXPECT_LT(xPoints, 10u);
    // The recorded file has no Z component.
    EXPECT_TRUE(vectors.m_arrSeries[2].empty());
    const double raw = model.List().GetValue(0, DATATYPE_X_VELOCITY, 0, 0);
    if (!IsNoData(raw)) {
        EXPECT_DOUBLE_EQ(vectors.m_arrSeries[0][1], ToDisplayUnits(raw, UNIT_FEET_PER_SECOND));
    }

    const SProfileGraph correlation = model.CurrentBeamGraph(BeamGraph::Correlation);
    EXPECT_TRUE(correlation.m_bFixedRange);
    EXPECT_EQ(correlation.m_arrNames[0], "Bm1");
    EXPECT_EQ(correlation.m_arrSeries[0].size(), 20u); // counts are never missing
    EXPECT_TRUE(correlation.m_arrSeries[3].empty());   // two beams only
    EXPECT_TRUE(model.CurrentBeamGraph(BeamGraph::Amplitude).m_bFixedRange);
}

TEST(VelocityContours, ColumnsAverageTheirEntriesAndGapsStayEmpty)
{
    const CStation station = FeetStation();
    // Ten-minute steps, then a pause of a day (the second part starts a day later).
    SDataGenOptions later = Part(4, 5);
    later.m_nDay = 4;
    CDataViewModel model(station, MakeList(station, {Part(4), later}));
    const CHydrograph& h = model.Hydrograph();
    const CGraphModel& axis = h.Axis(CHydrograph::STAGE);
    const SContourGrid grid = BuildContourGrid(model.List(), h.Times(), axis.m_dXMin, axis.m_dXMax, 200,
                                               model.Station(), model.Units());
    ASSERT_EQ(grid.m_nColumns, 200);
    ASSERT_EQ(grid.m_nRows, 10);
    EXPECT_GT(grid.m_dMaxAbs, 0.0);
    // The first entry's column holds its X velocities, in the view's unit.
    const double raw = model.List().GetValue(0, DATATYPE_X_VELOCITY, 0, 0);
    EXPECT_DOUBLE_EQ(grid.At(0, 0), ToDisplayUnits(raw, UNIT_FEET_PER_SECOND));
    // The middle of the pause is empty; the next column after the first entry is filled.
    EXPECT_TRUE(IsNoData(grid.At(100, 0)));
    EXPECT_FALSE(IsNoData(grid.At(1, 0)));
    EXPECT_LT(grid.m_dDistanceMin, grid.m_dDistanceMax);

    EXPECT_EQ(DivergingColor(0, 1), (SRgb{247, 247, 247}));
    EXPECT_EQ(DivergingColor(2, 1), (SRgb{178, 24, 43}));
    EXPECT_EQ(DivergingColor(-1, 1), (SRgb{33, 102, 172}));
    EXPECT_EQ(DivergingColor(5, 0), (SRgb{247, 247, 247}));
}

TEST(ViewData, NamesAndTheMessageOfAnUnreadableFile)
{
    // A bare name joins the station folder with the system's own separator.
    EXPECT_EQ(DataFilePathFor("/site/Weir", "20051203.000"),
              std::string("/site/Weir") + PATH_SEPARATOR + "20051203.000");
    EXPECT_EQ(DataFilePathFor("/site/Weir", "/elsewhere/x.000"), "/elsewhere/x.000");
    EXPECT_EQ(ViewDataErrorText("/site/Weir/x.000"),
              "Error, could not open the file \"/site/Weir/x.000,\" file may be in use or may be empty");
    const CStation station = FeetStation();
    CEnsembleList list;
    std::string message;
    EXPECT_FALSE(LoadDataForView(station, "/nonexistent/x.000", list, message));
    EXPECT_EQ(message, ViewDataErrorText("/nonexistent/x.000"));
    EXPECT_EQ(list.GetCount(), 0u);
}

} // namespace
