// tidewell-demo-site SITE_DIR: writes three demonstration stations of different channel
// types into a site directory (a rectangular weir channel in a group, a trapezoidal creek
// and a circular outfall pipe), each in its own station directory with recorded data files
// beside it. Each station's data is made for its own section: the water stays inside the
// channel and the velocities are those of a tidal sluice, a small river and a part-full pipe.
// scripts/make-demo-site.sh runs it for scripts/run.sh.
#include "data/ChannelGeometry.h"
#include "data/DateTime.h"
#include "data/EnsembleList.h"
#include "data/Units.h"
#include "rating/Pairing.h"
#include "sim/DataGenerator.h"
#include "station/Station.h"
#include "station/StationFlowSettings.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace
{

// Lengths in tenths of a millimetre, exact, so that the stored figures are the round ones.
constexpr double Meters(double m)
{
    return m * 10000.0;
}

constexpr double Feet(double ft)
{
    return ft * 3048.0;
}

// Velocities in millimetres per second, flows in cubic centimetres per second.
constexpr double MetersPerSecond(double v)
{
    return v * 1000.0;
}

constexpr double LitersPerSecond(double q)
{
    return q * 1000.0;
}

constexpr double CubicMetersPerSecond(double q)
{
    return q * 1000000.0;
}

// Every dimension of every channel type in round metric figures of the section's size, so
// that switching the type on the Channel page shows metres of this channel and not the 20 ft
// a new station starts with.
void MetricDimensions(CChannelGeometry& geometry, double width, double height)
{
    geometry.SetRectangular(width, height);
    geometry.SetTrapezoidal(width, height, 1.0);
    geometry.SetDiameter(height);
}

fs::path StationDir(const fs::path& siteDir, const CStation& station)
{
    fs::path dir = siteDir;
    if (!station.GetGroup().empty())
        dir /= station.GetGroup();
    return dir / station.GetSiteName();
}

bool Write(const fs::path& siteDir, CStation& station)
{
    const fs::path dir = StationDir(siteDir, station);
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path file = dir / (station.GetSiteName() + ".hstn");
    if (ec || !station.Save(file.string())) {
        std::fprintf(stderr, "tidewell-demo-site: cannot write %s\n", file.c_str());
        return false;
    }
    std::printf("%s\n", dir.c_str());
    return true;
}

bool WriteData(const fs::path& siteDir, const CStation& station, const std::string& name,
               const SDataGenOptions& options)
{
    const fs::path file = StationDir(siteDir, station) / name;
    if (!CDataGenerator(options).WriteFile(file.string())) {
        std::fprintf(stderr, "tidewell-demo-site: cannot write %s\n", file.c_str());
        return false;
    }
    return true;
}

// Ten-minute ensembles starting at midnight of a December day of 2005.
SDataGenOptions Recording(SDataGenOptions::Format format, int day, int count, uint64_t seed)
{
    SDataGenOptions o;
    o.m_format = format;
    o.m_nCount = count;
    o.m_nIntervalSeconds = 600;
    o.m_nYear = 2005, o.m_nMonth = 12, o.m_nDay = day;
    o.m_nSeed = seed;
    return o;
}

// Reference discharge measurements at the weir, for trying the velocity rating: sixteen boat
// measurements of twenty minutes over the two recorded days, made from the channel's "true"
// rating V = 0.03 + 0.87 Vi (m/s) with a scatter of about 2 %. One is marked excluded (a
// suspected moving bed) and one falls on a day without recorded data, so the rating window
// shows both cases.
bool WriteWeirMeasurements(const fs::path& siteDir, const CStation& weir,
                           const std::vector<std::string>& files)
{
    const fs::path dir = StationDir(siteDir, weir);
    const CFlowSettingsTable settings = FlowSettingsTableOf(weir);
    std::vector<SRecordedSample> samples;
    for (const auto& name : files) {
        CEnsembleList list;
        list.Load((dir / name).string(), settings);
        const auto more = CollectSamples(list);
        samples.insert(samples.end(), more.begin(), more.end());
    }
    const double scatter[] = {0.012, -0.018, 0.006,  0.021, -0.009, -0.015, 0.017, -0.004,
                              0.011, 0.080,  -0.022, 0.003, 0.014,  -0.012, 0.019, -0.007};
    std::vector<SMeasurement> rows;
    for (int i = 0; i < 16; ++i) {
        const size_t k = 10 + 26 * static_cast<size_t>(i);
        if (k + 2 >= samples.size())
            return false;
        double vi = 0.0, stage = 0.0;
        for (size_t j = k; j < k + 3; ++j)
            vi += samples[j].m_dIndexVelocity / 3.0, stage += samples[j].m_dStage / 3.0;
        const double v = (0.03 + 0.87 * vi / 1000.0) * (1.0 + scatter[i]); // m/s
        SMeasurement m;
        m.m_strId = "HW" + std::to_string(101 + i);
        m.m_dStart = samples[k].m_dTime - 60.0 / 86400.0;
        m.m_dEnd = samples[k + 2].m_dTime + 60.0 / 86400.0;
        m.m_dDischarge = v * 1000.0 * 0.1 * weir.GetGeometry().GetArea(stage);
        if (i == 9) {
            m.m_bExclude = true;
            m.m_strComment = "moving bed suspected";
        }
        rows.push_back(m);
    }
    SMeasurement late = rows.back();
    late.m_strId = "HW117";
    late.m_dStart = CDateTime::FromParts(2005, 12, 7, 10, 0, 0).m_dt;
    late.m_dEnd = CDateTime::FromParts(2005, 12, 7, 10, 20, 0).m_dt;
    late.m_strComment = "no recorded data that day";
    rows.push_back(late);
    std::ofstream out(dir / "measurements.csv", std::ios::binary);
    out << WriteMeasurements(rows, {weir.GetFlowUnits(), weir.GetStageUnits()});
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tidewell-demo-site SITE_DIR\n");
        return 2;
    }
    const fs::path siteDir = argv[1];
    const CDateTime created = CDateTime::FromParts(2005, 11, 28, 9, 30, 0);

    // A concrete weir channel, 6 m wide and 3 m deep, in metric units. The sluice lets the
    // tide in and out, so the outputs span both directions.
    CStation weir(created);
    weir.SetSiteName("Harbour Weir");
    weir.SetGroup("North");
    weir.SetLocation("Harbour Road sluice, downstream face");
    weir.SetStageUnits(UNIT_METERS);
    weir.SetVelocityUnits(UNIT_METERS_PER_SECOND);
    weir.SetFlowUnits(UNIT_CUBIC_METERS_PER_SECOND);
    weir.SetAreaUnits(CStation::AreaUnitsForFlow(UNIT_CUBIC_METERS_PER_SECOND));
    weir.SetVolumeUnits(UNIT_CUBIC_METERS);
    weir.SetTemperatureUnits(UNIT_CELSIUS);
    weir.SetStage4mA(0.0);
    weir.SetStage20mA(Meters(3.0));
    weir.SetVelocity4mA(MetersPerSecond(-2.0));
    weir.SetVelocity20mA(MetersPerSecond(2.0));
    weir.SetFlow4mA(CubicMetersPerSecond(-20.0));
    weir.SetFlow20mA(CubicMetersPerSecond(20.0));
    weir.SetTotalizerPulse(100.0); // cubic metres
    weir.SetMounting(MOUNTING_LEFT);
    MetricDimensions(weir.GetGeometry(), Meters(6.0), Meters(3.0));
    weir.GetGeometry().SetType(CHANNEL_RECTANGULAR);
    weir.GetGeometry().SetZAdcp(Meters(0.8));
    weir.SetComPort(1);

    // An earth creek with 1:1 banks, 15 ft wide at the bottom and 8 ft deep, in the US units
    // a new station starts with; the 4-20 mA outputs span the bank height and the flows it
    // carries with some room.
    CStation creek(created);
    creek.SetSiteName("Mill Creek");
    creek.SetLocation("Footbridge below the mill race");
    creek.SetMounting(MOUNTING_RIGHT);
    creek.GetGeometry().SetType(CHANNEL_TRAPEZOIDAL);
    creek.GetGeometry().SetTrapezoidal(Feet(15.0), Feet(8.0), 1.0);
    creek.GetGeometry().SetZAdcp(Feet(2.0));
    creek.SetStage20mA(Feet(10.0));
    creek.SetFlow20mA(ToInternalUnits(200.0, UNIT_MGD));
    creek.SetVelocity20mA(Feet(5.0) / 10.0); // 5 ft/s, in millimetres per second
    creek.SetComPort(1);

    // A 1.5 m outfall pipe with the instrument on its invert, in metric units with round
    // metric outputs: a full pipe at 2.8 m/s carries about 5000 l/s.
    CStation pipe(created);
    pipe.SetSiteName("Outfall 7");
    pipe.SetGroup("North");
    pipe.SetLocation("Storm outfall under the quay");
    pipe.SetStageUnits(UNIT_METERS);
    pipe.SetVelocityUnits(UNIT_METERS_PER_SECOND);
    pipe.SetFlowUnits(UNIT_LITERS_PER_SECOND);
    pipe.SetAreaUnits(CStation::AreaUnitsForFlow(UNIT_LITERS_PER_SECOND));
    pipe.SetVolumeUnits(UNIT_CUBIC_METERS);
    pipe.SetTemperatureUnits(UNIT_CELSIUS);
    pipe.SetStage4mA(0.0);
    pipe.SetStage20mA(Meters(1.5));
    pipe.SetVelocity4mA(0.0);
    pipe.SetVelocity20mA(MetersPerSecond(3.0));
    pipe.SetFlow4mA(0.0);
    pipe.SetFlow20mA(LitersPerSecond(5000.0));
    pipe.SetTotalizerPulse(10.0); // cubic metres
    pipe.SetMounting(MOUNTING_BOTTOM);
    MetricDimensions(pipe.GetGeometry(), Meters(1.5), Meters(1.5));
    pipe.GetGeometry().SetType(CHANNEL_CIRCULAR);
    pipe.GetGeometry().SetDiameter(Meters(1.5));
    pipe.SetComPort(2);

    if (!(Write(siteDir, weir) && Write(siteDir, creek) && Write(siteDir, pipe)))
        return 1;

    // The weir: 1.1 m to 2.5 m of water in the 3 m channel (the unit sits 0.8 m up the
    // wall), a tidal stream of up to 0.8 m/s. The unit on the left wall sees the
    // downstream flow as negative, which the station's mounting turns round.
    auto weirData = [](int day, int count, uint64_t seed) {
        SDataGenOptions o = Recording(SDataGenOptions::PD0, day, count, seed);
        o.m_dRangeMean = Meters(1.0), o.m_dRangeTide = Meters(0.55), o.m_dRangeSwell = Meters(0.15);
        o.m_dVelocityMean = -150.0, o.m_dVelocityTide = -500.0;
        return o;
    };
    // The creek: 3 ft to 6 ft of water in its 8 ft banks, flowing downstream at 1 to 2 ft/s
    // with a tidal swing; one file in the older PD14 format.
    SDataGenOptions creekData = Recording(SDataGenOptions::PD14, 3, 144, 3);
    creekData.m_dRangeMean = Feet(2.5), creekData.m_dRangeTide = Feet(1.2),
    creekData.m_dRangeSwell = Feet(0.3);
    creekData.m_dVelocityMean = 450.0, creekData.m_dVelocityTide = 150.0;
    // The pipe: 0.3 m to 1.0 m deep in the 1.5 m pipe as the tide backs up into it, always
    // running out at about 0.4 m/s to 1.1 m/s; fifteen-minute beam ensembles.
    SDataGenOptions pipeData = Recording(SDataGenOptions::PD0, 5, 96, 4);
    pipeData.m_nHour = 6;
    pipeData.m_nIntervalSeconds = 900;
    pipeData.m_bXY = false;
    pipeData.m_dRangeMean = Meters(0.65), pipeData.m_dRangeTide = Meters(0.3),
    pipeData.m_dRangeSwell = Meters(0.05);
    pipeData.m_dVelocityMean = 700.0, pipeData.m_dVelocityTide = 250.0;

    const bool ok = WriteData(siteDir, weir, "20051203.001", weirData(3, 144, 1)) &&
                    WriteData(siteDir, weir, "20051204.002", weirData(4, 288, 2)) &&
                    WriteData(siteDir, creek, "20051203.001", creekData) &&
                    WriteData(siteDir, pipe, "20051205.001", pipeData) &&
                    WriteWeirMeasurements(siteDir, weir, {"20051203.001", "20051204.002"});
    return ok ? 0 : 1;
}
