// series export / stats: the computed series of a station over a span of time, from every
// data file in the station's folder (the folder of the station file), as CSV or WaterML 2.0
// for a hydrometric database, or as hourly, daily or monthly statistics.
#include "platform/Utf8Path.h"
#include "series/SeriesStats.h"
#include "series/SeriesTime.h"
#include "series/SeriesWaterML.h"
#include "tools/tidewell-tool/StationArg.h"

#include <filesystem>
#include <iostream>

namespace
{

const std::vector<std::string> kSeriesOptions = {"--station", "--from",       "--to",     "--quantity",
                                                 "--units",   "--utc-offset", "--format", "--period"};

// "-o OUT" is taken out before the long options are parsed.
std::string TakeOutputOption(std::vector<std::string>& args)
{
    std::string out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "-o")
            continue;
        if (i + 1 >= args.size())
            throw UsageError{"option -o needs a value"};
        out = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        --i;
    }
    return out;
}

struct SSeriesRequest {
    explicit SSeriesRequest(const std::vector<std::string>& args) : parsed(args, kSeriesOptions, {}) {}

    ToolArgs parsed;
    std::unique_ptr<CStation> station;
    SSeriesExport options;
    SSeriesSpan span;
    std::string output;
};

std::string SpanText(const std::string& from, const std::string& to)
{
    if (from.empty() && to.empty())
        return "in the station's data files";
    if (to.empty())
        return "from " + from;
    if (from.empty())
        return "before " + to;
    return "from " + from + " to " + to;
}

// The options both commands share, and the station. A bad time, offset or unit is bad input
// (exit 1); a missing option or a choice outside the listed ones is wrong usage (exit 2).
SSeriesRequest ParseRequest(std::vector<std::string> args, bool stats)
{
    const std::string output = TakeOutputOption(args);
    SSeriesRequest request(args);
    request.output = output;
    const ToolArgs* parsed = &request.parsed;
    if (!parsed->Positional().empty())
        throw UsageError{"unexpected argument " + parsed->Positional()[0]};
    if (!parsed->Has("--station"))
        throw UsageError{"--station is required"};
    if (stats) {
        if (parsed->Has("--format"))
            throw UsageError{"--format belongs to series export"};
        if (!ParseStatsPeriod(parsed->Value("--period")))
            throw UsageError{parsed->Has("--period") ? "--period must be hour, day or month"
                                                     : "--period is required"};
    } else {
        if (parsed->Has("--period"))
            throw UsageError{"--period belongs to series stats"};
        const std::string format = parsed->Value("--format");
        if (format != "csv" && format != "waterml2")
            throw UsageError{parsed->Has("--format") ? "--format must be csv or waterml2"
                                                     : "--format is required"};
    }

    request.station = LoadStationArg(parsed->Value("--station"));
    request.options = SeriesExportOf(*request.station);
    if (parsed->Has("--quantity") && !SetQuantities(request.options, parsed->Value("--quantity")))
        throw UsageError{"--quantity must be stage, velocity, flow or all"};
    if (parsed->Has("--utc-offset")) {
        const auto offset = ParseUtcOffset(parsed->Value("--utc-offset"));
        if (!offset)
            throw ToolFailure{"bad UTC offset '" + parsed->Value("--utc-offset") +
                              "' (expected +HH:MM or -HH:MM)"};
        request.options.m_nUtcOffset = *offset;
    }
    if (parsed->Has("--units")) {
        std::string error;
        if (!SetUnits(request.options, parsed->Value("--units"), error))
            throw ToolFailure{"bad --units: " + error};
    }
    for (const char* option : {"--from", "--to"}) {
        if (!parsed->Has(option))
            continue;
        const auto seconds = ParseSeriesTime(parsed->Value(option), request.options.m_nUtcOffset);
        if (!seconds)
            throw ToolFailure{std::string("bad time for ") + option + ": '" + parsed->Value(option) +
                              "' (expected YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS)"};
        (std::string(option) == "--from" ? request.span.m_nFrom : request.span.m_nTo) = *seconds;
    }
    if (request.span.m_nFrom >= request.span.m_nTo)
        throw ToolFailure{"the span is empty: --from must come before --to"};
    return request;
}

CStationSeries BuildOrFail(const SSeriesRequest& request)
{
    const ToolArgs& parsed = request.parsed;
    const std::string stationPath = parsed.Value("--station");
    const std::string dir = Utf8FromPath(std::filesystem::absolute(PathFromUtf8(stationPath)).parent_path());
    auto series = BuildSeries(SeriesSourceOf(*request.station, dir), request.span);
    for (const std::string& problem : series->m_arrProblems)
        std::cerr << "tidewell-tool: cannot read data file " << problem << "\n";
    if (series->IsEmpty())
        throw ToolFailure{"no data " + SpanText(parsed.Value("--from"), parsed.Value("--to")) +
                          " for station " + stationPath};
    return std::move(*series);
}

template <typename Write> int WriteOutput(const std::string& path, Write write)
{
    if (path.empty()) {
        std::cout.flush();
        CSeriesOutput out(1);
        write(out);
        if (!out.Commit())
            throw ToolFailure{"cannot write to standard output: " + out.Error()};
        return 0;
    }
    CSeriesOutput out;
    std::string error;
    if (!out.OpenFile(path, error))
        throw ToolFailure{"cannot write " + path + ": " + error};
    write(out);
    if (!out.Commit())
        throw ToolFailure{"cannot write " + path + ": " + out.Error()};
    return 0;
}

int RunSeriesExport(const std::vector<std::string>& args)
{
    const SSeriesRequest request = ParseRequest(args, false);
    const std::string format = request.parsed.Value("--format");
    const CStationSeries series = BuildOrFail(request);
    return WriteOutput(request.output, [&](CSeriesOutput& out) {
        if (format == "csv")
            WriteSeriesCsv(series, request.options, out);
        else
            WriteSeriesWaterML(series, request.options, out);
    });
}

int RunSeriesStats(const std::vector<std::string>& args)
{
    const SSeriesRequest request = ParseRequest(args, true);
    const auto period = ParseStatsPeriod(request.parsed.Value("--period"));
    const CStationSeries series = BuildOrFail(request);
    return WriteOutput(request.output,
                       [&](CSeriesOutput& out) { WriteStatsCsv(series, *period, request.options, out); });
}

const ToolCommandRegistration regExport{
    {"series", "export",
     "series export --station FILE [--from T] [--to T] [--quantity stage|velocity|flow|all] [--units ...] "
     "[--utc-offset +HH:MM] --format csv|waterml2 [-o OUT]",
     "the computed series of every data file of the station, joined in time order, as CSV or WaterML 2.0",
     &RunSeriesExport}};
const ToolCommandRegistration regStats{
    {"series", "stats",
     "series stats --station FILE --period hour|day|month [--from T] [--to T] "
     "[--quantity stage|velocity|flow|all] [--units ...] [--utc-offset +HH:MM] [-o OUT]",
     "mean, minimum, maximum, count, coverage and volume of the series per hour, day or month, as CSV",
     &RunSeriesStats}};

} // namespace
