#include "series/SeriesExport.h"

#include "data/Units.h"
#include "series/SeriesTime.h"
#include "station/Station.h"

#include <cctype>
#include <charconv>
#include <ctime>
#include <sstream>

#ifndef TIDEWELL_VERSION
#define TIDEWELL_VERSION "unknown"
#endif

std::string SeriesProgramName()
{
    return std::string("Tidewell ") + TIDEWELL_VERSION;
}

SSeriesExport SeriesExportOf(const CStation& station)
{
    SSeriesExport options;
    options.m_strStation = station.GetSiteName();
    options.m_strLocation = station.GetLocation();
    options.m_nUnits[QUANTITY_STAGE] = station.GetStageUnits();
    options.m_nUnits[QUANTITY_VELOCITY] = station.GetVelocityUnits();
    options.m_nUnits[QUANTITY_FLOW] = station.GetFlowUnits();
    options.m_nVolumeUnits = station.GetVolumeUnits();
    options.m_strProgram = SeriesProgramName();
    options.m_nGeneratedAt = static_cast<int64_t>(std::time(nullptr));
    return options;
}

bool SetQuantities(SSeriesExport& options, const std::string& text)
{
    bool chosen[QUANTITY_COUNT] = {};
    if (text == "all") {
        chosen[0] = chosen[1] = chosen[2] = true;
    } else {
        bool found = false;
        for (int q = 0; q < QUANTITY_COUNT; ++q)
            if (text == QuantityName(static_cast<SeriesQuantity>(q)))
                chosen[q] = found = true;
        if (!found)
            return false;
    }
    for (int q = 0; q < QUANTITY_COUNT; ++q)
        options.m_bQuantity[q] = chosen[q];
    return true;
}

namespace
{

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The unit code an item names, or 0.
int UnitFromText(const std::string& item)
{
    int code = 0;
    const auto result = std::from_chars(item.data(), item.data() + item.size(), code);
    if (result.ec == std::errc() && result.ptr == item.data() + item.size())
        return UnitKindOfUnit(code) == UNIT_KIND_NONE ? 0 : code;
    const std::string wanted = Lower(item);
    for (int c = 101; c <= 131; ++c) {
        if (UnitKindOfUnit(c) == UNIT_KIND_NONE)
            continue;
        if (Lower(UnitAbbreviation(c)) == wanted || Lower(UnitName(c)) == wanted)
            return c;
    }
    return 0;
}

std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

void HeaderLine(CSeriesOutput& out, const std::string& name, const std::string& value)
{
    out.Write("# ");
    out.Write(name);
    out.Write(": ");
    out.Write(value);
    out.Put('\n');
}

std::string UnitText(int code)
{
    return UnitName(code) + " (" + UnitAbbreviation(code) + ")";
}

} // namespace

bool SetUnits(SSeriesExport& options, const std::string& list, std::string& error)
{
    std::stringstream in(list);
    std::string item;
    bool any = false;
    while (std::getline(in, item, ',')) {
        item = Trim(item);
        const int code = UnitFromText(item);
        switch (UnitKindOfUnit(code)) {
        case UNIT_KIND_LENGTH:
            options.m_nUnits[QUANTITY_STAGE] = code;
            break;
        case UNIT_KIND_VELOCITY:
            options.m_nUnits[QUANTITY_VELOCITY] = code;
            break;
        case UNIT_KIND_FLOW:
            options.m_nUnits[QUANTITY_FLOW] = code;
            break;
        case UNIT_KIND_VOLUME:
            options.m_nVolumeUnits = code;
            break;
        default:
            error = "not a unit of stage, velocity, flow or volume: '" + item + "'";
            return false;
        }
        any = true;
    }
    if (!any)
        error = "no unit given";
    return any;
}

void WriteCsvHeaderBlock(CSeriesOutput& out, const SSeriesExport& options, bool withVolume)
{
    HeaderLine(out, "station", OneLine(options.m_strStation));
    HeaderLine(out, "location", OneLine(options.m_strLocation));
    for (int q = 0; q < QUANTITY_COUNT; ++q)
        if (options.m_bQuantity[q])
            HeaderLine(out, QuantityName(static_cast<SeriesQuantity>(q)), UnitText(options.m_nUnits[q]));
    if (withVolume && options.m_bQuantity[QUANTITY_FLOW])
        HeaderLine(out, "volume", UnitText(options.m_nVolumeUnits));
    HeaderLine(out, "time zone", "UTC" + FormatUtcOffset(options.m_nUtcOffset));
    HeaderLine(out, "program", options.m_strProgram);
}

void WriteSeriesCsv(const CStationSeries& series, const SSeriesExport& options, CSeriesOutput& out)
{
    WriteCsvHeaderBlock(out, options, false);
    out.Write("time");
    for (int q = 0; q < QUANTITY_COUNT; ++q) {
        if (!options.m_bQuantity[q])
            continue;
        const std::string name = QuantityName(static_cast<SeriesQuantity>(q));
        out.Write("," + name + "," + name + "_quality");
    }
    out.Put('\n');

    const std::string offset = FormatUtcOffset(options.m_nUtcOffset);
    static const std::string qualities[] = {",good", ",missing", ",suspect"};
    char time[32];
    for (const SSeriesRow& row : series.m_arrRows) {
        out.Write(time, FormatIsoTime(row.m_nSeconds, offset.data(), offset.size(), time));
        for (int q = 0; q < QUANTITY_COUNT; ++q) {
            if (!options.m_bQuantity[q])
                continue;
            out.Put(',');
            if (row.m_nQuality[q] != QUALITY_MISSING)
                out.WriteNumber(ToDisplayUnits(row.m_dValue[q], options.m_nUnits[q]));
            out.Write(qualities[row.m_nQuality[q]]);
        }
        out.Put('\n');
    }
}
