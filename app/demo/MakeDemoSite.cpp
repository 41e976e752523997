// tidewell-demo-site SITE_DIR: writes three demonstration stations of different channel
// types into a site directory (a rectangular weir channel in a group, a trapezoidal creek
// and a circular outfall pipe), each in its own station directory. The recorded data files
// beside them are made by tidewell-datagen (scripts/run.sh does both).
#include "data/ChannelGeometry.h"
#include "data/DateTime.h"
#include "data/Units.h"
#include "station/Station.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace
{

bool Write(const fs::path& siteDir, CStation& station)
{
    fs::path dir = siteDir;
    if (!station.GetGroup().empty())
        dir /= station.GetGroup();
    dir /= station.GetSiteName();
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

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tidewell-demo-site SITE_DIR\n");
        return 2;
    }
    const fs::path siteDir = argv[1];
    const CDateTime created = CDateTime::FromParts(2005, 11, 28, 9, 30, 0);

    // A concrete weir channel, 6 m wide and 3 m deep, in metric units.
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
    weir.SetStage20mA(50000.0);
    weir.SetVelocity20mA(2000.0);
    weir.SetFlow20mA(20000000.0);
    weir.SetTotalizerPulse(100.0);
    weir.SetMounting(MOUNTING_LEFT);
    weir.GetGeometry().SetType(CHANNEL_RECTANGULAR);
    weir.GetGeometry().SetRectangular(60000.0, 30000.0);
    weir.GetGeometry().SetZAdcp(8000.0);
    weir.SetComPort(1);

    // An earth creek with 1:1 banks, in the US units a new station starts with.
    CStation creek(created);
    creek.SetSiteName("Mill Creek");
    creek.SetLocation("Footbridge below the mill race");
    creek.SetMounting(MOUNTING_RIGHT);
    creek.GetGeometry().SetType(CHANNEL_TRAPEZOIDAL);
    creek.GetGeometry().SetTrapezoidal(45720.0, 24384.0, 1.0);
    creek.GetGeometry().SetZAdcp(6096.0);
    creek.SetComPort(1);

    // A 1.5 m outfall pipe with the instrument on its invert.
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
    pipe.SetMounting(MOUNTING_BOTTOM);
    pipe.GetGeometry().SetType(CHANNEL_CIRCULAR);
    pipe.GetGeometry().SetDiameter(15000.0);
    pipe.SetComPort(2);

    const bool ok = Write(siteDir, weir) && Write(siteDir, creek) && Write(siteDir, pipe);
    return ok ? 0 : 1;
}
