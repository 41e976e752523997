// data summary / export / values: recorded data files read exactly as the data views read
// them, with a station's settings and calculation sets (or a default station's).
#include "data/EnsembleList.h"
#include "data/FileSummary.h"
#include "data/FormatValue.h"
#include "data/SeriesFormat.h"
#include "data/Units.h"
#include "platform/RegularFile.h"
#include "station/StationFlowSettings.h"
#include "tools/tidewell-tool/StationArg.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace
{

// A number as given on the command line; anything else is wrong usage.
int ParseInt(const std::string& text, const std::string& what)
{
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw UsageError{what + " must be a whole number: " + text};
    return value;
}

// Loads one data file into the list; a file that cannot be read or holds no ensemble is
// an error for every data command.
void LoadDataFile(CEnsembleList& list, const std::string& path, const CFlowSettingsTable& settings)
{
    const std::string problem = RegularFileProblem(path);
    if (!problem.empty())
        throw ToolFailure{"cannot read data file " + path + ": " + problem};
    std::string error;
    if (list.Load(path, settings, &error) == 0) {
        if (!error.empty())
            throw ToolFailure{"cannot read data file " + path + ": " + error};
        throw ToolFailure{"no valid ensemble in " + path};
    }
}

ViewUnits UnitsOf(const CStation& station)
{
    return {station.GetStageUnits(),  station.GetVelocityUnits(),    station.GetFlowUnits(),
            station.GetVolumeUnits(), station.GetTemperatureUnits(), station.GetAreaUnits()};
}

std::string RawText(double value)
{
    return IsNoData(value) ? std::string() : FormatRoundTrip(value);
}

int RunDataSummary(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station"}, {"--human"});
    if (parsed.Positional().size() != 1)
        throw UsageError{"expected one data file"};
    const std::string& path = parsed.Positional()[0];
    const auto station = LoadStationOption(parsed, StationUse::Show);
    const std::string problem = RegularFileProblem(path);
    if (!problem.empty())
        throw ToolFailure{"cannot read data file " + path + ": " + problem};
    CDataSummary summary;
    std::string error;
    if (!SummarizeFile(path, FlowSettingsTableOf(*station), summary, &error)) {
        if (!error.empty())
            throw ToolFailure{"cannot read data file " + path + ": " + error};
        throw ToolFailure{"no valid ensemble in " + path};
    }
    if (parsed.Has("--human")) {
        WriteDataSummaryHuman(std::cout, *station, summary);
        return 0;
    }
    JsonWriter json(std::cout);
    WriteDataSummaryJson(json, summary);
    json.Finish();
    return 0;
}

int RunDataExport(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station", "--types"}, {"--raw"});
    if (parsed.Positional().empty())
        throw UsageError{"expected at least one data file"};
    const auto station = LoadStationOption(parsed, StationUse::Show);
    const bool raw = parsed.Has("--raw");

    std::vector<DataType> types;
    if (parsed.Has("--types")) {
        std::stringstream list(parsed.Value("--types"));
        std::string item;
        while (std::getline(list, item, ','))
            types.push_back(static_cast<DataType>(ParseInt(item, "a data type")));
        if (types.empty())
            throw UsageError{"--types needs at least one data type"};
    } else {
        for (uint16_t t : station->GetGraphPrefs().m_arrDataTypes)
            types.push_back(static_cast<DataType>(t));
    }

    const CFlowSettingsTable settings = FlowSettingsTableOf(*station);
    CEnsembleList list;
    for (const auto& path : parsed.Positional())
        LoadDataFile(list, path, settings);

    const ViewUnits units = UnitsOf(*station);
    std::string line;
    for (size_t c = 0; c < types.size(); ++c) {
        line += c ? "," : "";
        line += CsvField(raw ? DataTypeName(types[c]) : SeriesColumnTitle(types[c], units));
    }
    std::cout << line << '\n';
    for (size_t i = 0; i < list.GetCount(); ++i) {
        const CEnsembleRef entry = list.GetAt(i);
        line.clear();
        for (size_t c = 0; c < types.size(); ++c) {
            line += c ? "," : "";
            const double value = entry.GetValue(types[c], 0, 0);
            line += CsvField(raw ? RawText(value) : FormatSeriesValue(value, types[c], units));
        }
        std::cout << line << '\n';
    }
    return std::cout.good() ? 0 : 1;
}

int RunDataValues(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--station", "--type", "--beam", "--bin"}, {});
    if (parsed.Positional().size() != 1)
        throw UsageError{"expected one data file"};
    if (!parsed.Has("--type"))
        throw UsageError{"--type is required"};
    const auto type = static_cast<DataType>(ParseInt(parsed.Value("--type"), "--type"));
    const int beam = ParseInt(parsed.Value("--beam", "0"), "--beam");
    const int bin = ParseInt(parsed.Value("--bin", "0"), "--bin");
    const auto station = LoadStationOption(parsed, StationUse::Show);
    const std::string& path = parsed.Positional()[0];
    CEnsembleList list;
    LoadDataFile(list, path, FlowSettingsTableOf(*station));
    for (size_t i = 0; i < list.GetCount(); ++i)
        std::cout << RawText(list.GetAt(i).GetValue(type, beam, bin)) << '\n';
    return std::cout.good() ? 0 : 1;
}

const ToolCommandRegistration regSummary{
    {"data", "summary", "data summary FILE [--station S.hstn] [--human]",
     "the data summary of one recorded file as JSON, or with --human as the "
     "station information view shows it",
     &RunDataSummary}};
const ToolCommandRegistration regExport{
    {"data", "export", "data export FILE... [--station S.hstn] [--types 1,2,...] [--raw]",
     "recorded files as CSV: the data table's columns and texts, or raw internal values", &RunDataExport}};
const ToolCommandRegistration regValues{
    {"data", "values", "data values FILE [--station S.hstn] --type T [--beam B] [--bin K]",
     "one raw value of a data type per list entry, an empty line for no data", &RunDataValues}};

} // namespace
