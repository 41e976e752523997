#pragma once
// How a series is written: which quantities, in which units, with which clock offset, and
// the header texts. Shared by the CSV and WaterML 2.0 exports and the statistics.
#include "series/SeriesOutput.h"
#include "series/StationSeries.h"

#include <cstdint>
#include <string>

class CStation;

struct SSeriesExport {
    std::string m_strStation;  // site name
    std::string m_strLocation; // may hold line breaks
    bool m_bQuantity[QUANTITY_COUNT] = {true, true, true};
    int m_nUnits[QUANTITY_COUNT] = {101, 107, 111}; // unit codes of stage, velocity, flow
    int m_nVolumeUnits = 125;
    int m_nUtcOffset = 0;       // minutes east of UTC of the instrument's clock
    std::string m_strProgram;   // "Tidewell 1.03"
    int64_t m_nGeneratedAt = 0; // seconds since 1970 (UTC), for the WaterML document's date

    bool AnyQuantity() const { return m_bQuantity[0] || m_bQuantity[1] || m_bQuantity[2]; }
};

// The station's names and display units, every quantity, offset +00:00, generated now.
SSeriesExport SeriesExportOf(const CStation& station);

// "stage", "velocity", "flow" or "all" into the quantity choice; false for anything else.
bool SetQuantities(SSeriesExport& options, const std::string& text);

// A comma-separated list of units, each a unit code ("105") or a name, short or long, in
// any case ("m", "cu m/s", "Meters"); each replaces the unit of its own kind (length for
// stage, velocity, flow, volume). False with the reason for an item that names no such unit.
bool SetUnits(SSeriesExport& options, const std::string& list, std::string& error);

// The "# name: value" lines that open the CSV files.
void WriteCsvHeaderBlock(CSeriesOutput& out, const SSeriesExport& options, bool withVolume);

// The series as CSV: the header block, "time" and for each chosen quantity q the columns
// q and q_quality, then one row per ensemble.
void WriteSeriesCsv(const CStationSeries& series, const SSeriesExport& options, CSeriesOutput& out);

// The program's name and version, for the headers.
std::string SeriesProgramName();
