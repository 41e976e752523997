// station calc: the automatic profiling settings and velocity range a station would get,
// worked out on the loaded record whatever its automatic flags say. Nothing is written.
#include "settings/Profiling.h"
#include "tools/tidewell-tool/StationArg.h"

#include <iostream>

namespace
{

int RunStationCalc(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {}, {});
    if (parsed.Positional().size() != 1) {
        throw UsageError{"expected one station file"};
    }
    const auto station = LoadStationArg(parsed.Positional()[0], StationUse::Show);
    // The velocity range reads the bin size and count the profiling calculation writes.
    CalcProfilingSettings(*station);
    CalcVelocityRange(*station);

    JsonWriter json(std::cout);
    json.BeginObject();
    json.Key("commands").BeginArray();
    const CCommandList& commands = station->GetCommands();
    std::string command;
    std::string parameter;
    for (int i = 0; commands.Get(i, command, parameter); ++i) {
        json.BeginArray().Value(command).Value(parameter).EndArray();
    }
    json.EndArray();
    json.Member("m_nVelRangeStart", station->GetVelRangeStart());
    json.Member("m_nVelRangeStop", station->GetVelRangeStop());
    json.EndObject();
    json.Finish();
    return 0;
}

const ToolCommandRegistration regCalc{
    {"station", "calc", "station calc FILE.hstn",
     "print the automatic profiling commands and velocity range of a station "
     "(writes nothing)",
     &RunStationCalc}};

} // namespace
