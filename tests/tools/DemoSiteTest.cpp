// The demo site that scripts/run.sh starts the program on: what a newcomer sees first must
// look like a real site, so every recorded stage lies inside its station's channel, the
// velocities and flows are those of a river or a pipe, and the metric stations carry round
// metric figures rather than converted feet and gallons.
// The demo-site program is part of the desktop build: without Qt there is nothing to test.
#ifdef TIDEWELL_DEMO_SITE_PATH
#include "data/ChannelGeometry.h"
#include "data/DataFiles.h"
#include "data/EnsembleList.h"
#include "data/NoData.h"
#include "data/Units.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace fs = std::filesystem;

namespace
{

// The channel from its bottom to its top, in tenths of a millimetre on the stage datum.
struct SSection {
    double bottom = 0.0, top = 0.0;
};

SSection SectionOf(const CChannelGeometry& g)
{
    switch (g.GetType()) {
    case CHANNEL_RECTANGULAR:
        return {g.GetZBottom(), g.GetRectHeight()};
    case CHANNEL_TRAPEZOIDAL:
        return {g.GetZBottom(), g.GetTrapHeight()};
    case CHANNEL_CIRCULAR:
        return {0.0, g.GetDiameter()};
    default:
        ADD_FAILURE() << "the demo site has a channel of type " << g.GetType();
        return {};
    }
}

// A figure an operator would type: a whole number of tenths in the unit shown.
bool IsRound(double display)
{
    const double tenths = display * 10.0;
    return std::fabs(tenths - std::round(tenths)) < 1e-6;
}

struct SDemoSite {
    testsupport::TempDir dir;
    std::map<std::string, fs::path> stations; // site name -> station file
    int status = -1;

    SDemoSite()
    {
        status = testsupport::RunCommand(std::string("'") + TIDEWELL_DEMO_SITE_PATH + "' '" +
                                         (dir / "site").string() + "'")
                     .status;
        for (const auto& entry : fs::recursive_directory_iterator(dir / "site"))
            if (entry.path().extension() == ".hstn")
                stations[entry.path().stem().string()] = entry.path();
    }
};

CStation LoadStation(const fs::path& file)
{
    CStation station;
    StationLoadReport report;
    EXPECT_TRUE(station.Load(file.string(), {}, &report)) << file << ": " << report.error;
    EXPECT_TRUE(report.messages.empty()) << file << ": " << report.messages.front();
    return station;
}

} // namespace

TEST(DemoSite, EveryRecordedStageLiesInItsChannelWithRiverVelocitiesAndDownstreamFlow)
{
    SDemoSite site;
    ASSERT_EQ(site.status, 0);
    ASSERT_EQ(site.stations.size(), 3u);
    for (const auto& [name, file] : site.stations) {
        SCOPED_TRACE(name);
        const CStation station = LoadStation(file);
        const SSection section = SectionOf(station.GetGeometry());
        ASSERT_GT(section.top, section.bottom);
        const CFlowSettingsTable settings = FlowSettingsTableOf(station);
        const bool horizontal =
            station.GetMounting() == MOUNTING_LEFT || station.GetMounting() == MOUNTING_RIGHT;

        int files = 0;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            if (!IsDataFileName(entry.path().filename().string()))
                continue;
            SCOPED_TRACE(entry.path().filename().string());
            ++files;
            CEnsembleList list;
            ASSERT_GT(list.Load(entry.path().string(), settings), 0);
            double lowest = 1e300, highest = -1e300, fastest = 0.0, flowSum = 0.0;
            int ensembles = 0;
            for (size_t i = 0; i < list.GetCount(); ++i) {
                if (list.GetAt(i).IsSeparator())
                    continue;
                ++ensembles;
                const double stage = list.GetValue(i, DATATYPE_STAGE);
                const double velocity = list.GetValue(i, DATATYPE_VELOCITY);
                const double flow = list.GetValue(i, DATATYPE_FLOW);
                ASSERT_NE(stage, NODATA) << "ensemble " << i;
                ASSERT_NE(velocity, NODATA) << "ensemble " << i;
                ASSERT_NE(flow, NODATA) << "ensemble " << i;
                lowest = std::min(lowest, stage);
                highest = std::max(highest, stage);
                fastest = std::max(fastest, std::fabs(velocity));
                flowSum += flow;
            }
            ASSERT_GT(ensembles, 0);
            // Water in the channel, below its top, and over an instrument on a wall.
            EXPECT_GT(lowest, section.bottom);
            EXPECT_LT(highest, section.top);
            if (horizontal) {
                EXPECT_GT(lowest, station.GetGeometry().GetZAdcp() + 1000.0);
            }
            // Some tide in it, and the speeds of a river: neither still water nor a flood race.
            EXPECT_GT(highest - lowest, 1000.0);
            EXPECT_GT(fastest, 200.0);
            EXPECT_LT(fastest, 1500.0);
            // The mounting and the recorded velocities agree: the water leaves downstream.
            EXPECT_GT(flowSum / ensembles, 0.0);
        }
        EXPECT_GT(files, 0);
    }
}

TEST(DemoSite, MetricStationsCarryRoundMetricFigures)
{
    SDemoSite site;
    ASSERT_EQ(site.status, 0);
    int metric = 0;
    for (const auto& [name, file] : site.stations) {
        SCOPED_TRACE(name);
        const CStation station = LoadStation(file);
        const int length = station.GetStageUnits();
        if (length != UNIT_METERS)
            continue;
        ++metric;
        const int velocity = station.GetVelocityUnits(), flow = station.GetFlowUnits();
        EXPECT_EQ(UnitKindOfUnit(velocity), UNIT_KIND_VELOCITY);
        EXPECT_NE(velocity, UNIT_FEET_PER_SECOND);
        EXPECT_TRUE(flow == UNIT_LITERS_PER_SECOND || flow == UNIT_CUBIC_METERS_PER_SECOND ||
                    flow == UNIT_CUMECS || flow == UNIT_MEGALITERS_PER_DAY)
            << flow;
        EXPECT_TRUE(station.GetVolumeUnits() == UNIT_CUBIC_METERS ||
                    station.GetVolumeUnits() == UNIT_LITERS || station.GetVolumeUnits() == UNIT_MEGALITERS)
            << station.GetVolumeUnits();
        EXPECT_EQ(station.GetTemperatureUnits(), UNIT_CELSIUS);

        // What the System page shows, each in the unit it is shown in.
        const std::map<std::string, double> shown = {
            {"stage 4 mA", ToDisplayUnits(station.GetStage4mA(), length)},
            {"stage 20 mA", ToDisplayUnits(station.GetStage20mA(), length)},
            {"velocity 4 mA", ToDisplayUnits(station.GetVelocity4mA(), velocity)},
            {"velocity 20 mA", ToDisplayUnits(station.GetVelocity20mA(), velocity)},
            {"flow 4 mA", ToDisplayUnits(station.GetFlow4mA(), flow)},
            {"flow 20 mA", ToDisplayUnits(station.GetFlow20mA(), flow)},
            {"totalizer pulse", ToDisplayUnits(station.GetTotalizerPulse(), station.GetVolumeUnits())},
        };
        for (const auto& [what, value] : shown)
            EXPECT_TRUE(IsRound(value)) << what << " shows as " << value;

        // What the Channel page shows for every type the operator may switch to.
        const CChannelGeometry& g = station.GetGeometry();
        for (double dimension : {g.GetDiameter(), g.GetRectWidth(), g.GetRectHeight(), g.GetTrapWidth(),
                                 g.GetTrapHeight(), g.GetZAdcp()})
            EXPECT_TRUE(IsRound(ToDisplayUnits(dimension, length)))
                << ToDisplayUnits(dimension, length) << " m";

        // The 20 mA stage spans the channel: the output covers every stage it can have.
        const SSection section = SectionOf(g);
        EXPECT_GE(station.GetStage20mA(), section.top);
        EXPECT_LE(station.GetStage20mA(), 2 * section.top);
    }
    EXPECT_EQ(metric, 2); // the weir and the outfall pipe
}

#endif // TIDEWELL_DEMO_SITE_PATH
