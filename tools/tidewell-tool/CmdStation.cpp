// station show / new / resave: the station file from the command line.
#include "tools/tidewell-tool/StationArg.h"

#include "platform/Utf8Path.h"

#include <filesystem>
#include <iostream>

namespace
{

int RunStationShow(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {}, {"--human"});
    if (parsed.Positional().size() != 1)
        throw UsageError{"expected one station file"};
    const auto station = LoadStationArg(parsed.Positional()[0], StationUse::Show);
    if (parsed.Has("--human")) {
        WriteStationHuman(std::cout, *station);
        return 0;
    }
    JsonWriter json(std::cout);
    WriteStationJson(json, *station);
    json.Finish();
    return 0;
}

int RunStationNew(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {"--site", "--group"}, {"--force"});
    if (parsed.Positional().size() != 1)
        throw UsageError{"expected one output file"};
    if (!parsed.Has("--site"))
        throw UsageError{"--site is required"};
    CStation station;
    station.SetSiteName(parsed.Value("--site"));
    station.SetGroup(parsed.Value("--group"));
    // The same rules as the New Station dialog: the name becomes a folder name.
    std::string errors;
    if (!station.Validate(errors)) {
        std::string line;
        for (char c : errors)
            line += c == '\r' ? ' ' : (c == '\n' ? ' ' : c);
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        throw ToolFailure{"invalid station: " + line};
    }
    const std::string& out = parsed.Positional()[0];
    std::error_code ec;
    // Anything by that name counts, a dangling link included.
    if (!parsed.Has("--force") &&
        std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(out), ec)))
        throw ToolFailure{out + " already exists; give --force to overwrite it"};
    if (!station.Save(out))
        throw ToolFailure{"cannot write station file " + out};
    return 0;
}

int RunStationResave(const std::vector<std::string>& args)
{
    ToolArgs parsed(args, {}, {});
    if (parsed.Positional().size() != 2)
        throw UsageError{"expected an input and an output station file"};
    auto station = LoadStationArg(parsed.Positional()[0]);
    const std::string& out = parsed.Positional()[1];
    if (!station->Save(out))
        throw ToolFailure{"cannot write station file " + out};
    return 0;
}

const ToolCommandRegistration regShow{
    {"station", "show", "station show FILE.hstn [--human]",
     "print every stored field of a station as JSON, or with --human as the "
     "station information view shows it",
     &RunStationShow}};
const ToolCommandRegistration regNew{{"station", "new",
                                      "station new --site NAME [--group G] [--force] OUT.hstn",
                                      "write a new station with every default and that site name and group "
                                      "(an existing file only with --force)",
                                      &RunStationNew}};
const ToolCommandRegistration regResave{
    {"station", "resave", "station resave IN.hstn OUT.hstn",
     "load a station as the application does and save it in the current version", &RunStationResave}};

} // namespace
