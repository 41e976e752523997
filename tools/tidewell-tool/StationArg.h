#pragma once
// Station files as the tool's commands take them: loaded the way the application loads
// them, except that an old-version file is converted in memory only (the tool never writes
// a file it was only asked to read), and printed as JSON with the record's member names.
#include "station/Station.h"
#include "tools/tidewell-tool/Json.h"
#include "tools/tidewell-tool/ToolCommand.h"

#include <memory>
#include <string>

// What a command does with a station. A station that did not load cleanly (an unknown
// version read as defaults) never drives an instrument or gets written: Act refuses it
// before anything else happens. Show still prints what was read, and the run exits with 1.
enum class StationUse { Act, Show };

// Loads the station file or throws ToolFailure with one clear line. Warnings the
// application would show go to standard error.
std::unique_ptr<CStation> LoadStationArg(const std::string& path, StationUse use = StationUse::Act);

// The station named by the option (--station by default), or one with every default
// (and so no calculation sets) when the option is absent.
std::unique_ptr<CStation> LoadStationOption(const ToolArgs& args, StationUse use,
                                            const std::string& option = "--station");

// The station and a data summary as the station information view shows them: formatted
// times, values in the station's display units with their unit names.
void WriteStationHuman(std::ostream& out, const CStation& station);
void WriteDataSummaryHuman(std::ostream& out, const CStation& station, const CDataSummary& summary);

// The whole stored record as one JSON object: keys are member names, dates are
// {"status": N, "days": D}, doubles in their shortest round-trip form.
void WriteStationJson(JsonWriter& json, const CStation& station);
void WriteGeometryJson(JsonWriter& json, const CChannelGeometry& geometry);
void WriteCalcSetJson(JsonWriter& json, const CCalcSet& set);
void WriteDataSummaryJson(JsonWriter& json, const CDataSummary& summary);
void WriteDateJson(JsonWriter& json, const CDateTime& date);
