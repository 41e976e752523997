#pragma once
// Station files as the tool's commands take them: loaded the way the application loads
// them, except that an old-version file is converted in memory only (the tool never writes
// a file it was only asked to read), and printed as JSON with the record's member names.
#include "station/Station.h"
#include "tools/tidewell-tool/Json.h"
#include "tools/tidewell-tool/ToolCommand.h"

#include <memory>
#include <string>

// Loads the station file or throws ToolFailure with one clear line. Warnings the
// application would show (an unknown version) go to standard error.
std::unique_ptr<CStation> LoadStationArg(const std::string& path);

// The station named by the option (--station by default), or one with every default
// (and so no calculation sets) when the option is absent.
std::unique_ptr<CStation> LoadStationOption(const ToolArgs& args, const std::string& option = "--station");

// The whole stored record as one JSON object: keys are member names, dates are
// {"status": N, "days": D}, doubles in their shortest round-trip form.
void WriteStationJson(JsonWriter& json, const CStation& station);
void WriteGeometryJson(JsonWriter& json, const CChannelGeometry& geometry);
void WriteCalcSetJson(JsonWriter& json, const CCalcSet& set);
void WriteDataSummaryJson(JsonWriter& json, const CDataSummary& summary);
void WriteDateJson(JsonWriter& json, const CDateTime& date);
