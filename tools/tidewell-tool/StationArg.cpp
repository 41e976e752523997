#include "tools/tidewell-tool/StationArg.h"

#include "present/StationInfoModel.h"

#include <iostream>

std::unique_ptr<CStation> LoadStationArg(const std::string& path, StationUse use)
{
    auto station = std::make_unique<CStation>();
    StationLoadOptions options;
    options.writeBackOldVersion = false;
    StationLoadReport report;
    if (!station->Load(path, options, &report)) {
        if (report.cannotOpen)
            throw ToolFailure{"cannot read station file " + path + ": " + report.error};
        throw ToolFailure{"station file " + path + " is damaged: " + report.error};
    }
    if (!report.LoadedCleanly() && use == StationUse::Act)
        throw ToolFailure{"could not read station file " + path + ": " + report.Problem() +
                          " Nothing was done with it."};
    for (const auto& message : report.messages)
        std::cerr << "tidewell-tool: " << path << ": " << message << "\n";
    if (!report.LoadedCleanly())
        MarkRunFailed();
    return station;
}

std::unique_ptr<CStation> LoadStationOption(const ToolArgs& args, StationUse use, const std::string& option)
{
    if (args.Has(option))
        return LoadStationArg(args.Value(option), use);
    return std::make_unique<CStation>();
}

void WriteStationHuman(std::ostream& out, const CStation& station)
{
    CStationInfoModel model;
    model.ShowStation(&station);
    out << "Site Name: " << model.m_strSiteName << "\n";
    out << "Location: " << model.m_strLocation << "\n";
    out << "Created: " << model.m_strCreated << "\n";
    out << "Orientation: " << model.m_strOrientation << "\n";
    out << "Channel: " << model.m_strCaption << "\n";
    for (int i = 0; i < station.GetSummaryCount(); ++i) {
        out << "\n";
        WriteDataSummaryHuman(out, station, station.GetSummary(i));
    }
}

void WriteDataSummaryHuman(std::ostream& out, const CStation& station, const CDataSummary& summary)
{
    // The model reads the summary from the station's cache, as the view does.
    CStation holder(station);
    holder.ClearSummaries();
    holder.AddSummary(summary);
    CStationInfoModel model;
    model.ShowStation(&holder);
    model.SetDataFiles({summary.m_strFileName}, 0);
    model.ShowDataSummary(holder);
    out << "Data File: " << summary.m_strFileName << "\n";
    out << "Start Time: " << model.m_strStart << "\n";
    out << "Stop Time: " << model.m_strStop << "\n";
    out << "Ensembles: " << model.m_strEnsembles << "\n";
    out << "Stage Range: " << model.m_strStageRange << "\n";
    out << "Velocity Range: " << model.m_strVelocityRange << "\n";
    out << "Flow Range: " << model.m_strFlowRange << "\n";
    out << "Ensemble Type: " << model.m_strEnsembleType << "\n";
}

namespace
{

template <size_t N> void DoubleArray(JsonWriter& json, const std::string& key, const double (&values)[N])
{
    json.Key(key).BeginArray();
    for (double v : values)
        json.Value(v);
    json.EndArray();
}

// One field's value in the form the dump has always had: small integers as numbers, dates
// as objects, the lists and sub-records as arrays and objects.
void WriteValue(JsonWriter& json, int32_t v)
{
    json.Value(v);
}
void WriteValue(JsonWriter& json, uint16_t v)
{
    json.Value(static_cast<int>(v));
}
void WriteValue(JsonWriter& json, uint8_t v)
{
    json.Value(static_cast<int>(v));
}
void WriteValue(JsonWriter& json, double v)
{
    json.Value(v);
}
void WriteValue(JsonWriter& json, const std::string& v)
{
    json.Value(v);
}
void WriteValue(JsonWriter& json, const CDateTime& v)
{
    WriteDateJson(json, v);
}
void WriteValue(JsonWriter& json, const ModelCoefs& v)
{
    json.BeginArray();
    for (double coef : v)
        json.Value(coef);
    json.EndArray();
}
void WriteValue(JsonWriter& json, const CChannelGeometry& v)
{
    WriteGeometryJson(json, v);
}
void WriteValue(JsonWriter& json, const CDataSummary& v)
{
    WriteDataSummaryJson(json, v);
}
void WriteValue(JsonWriter& json, const CCalcSet& v)
{
    WriteCalcSetJson(json, v);
}

// Pairs of the flat stored list; a stray last command without parameter stands alone.
void WriteValue(JsonWriter& json, const CCommandList& commands)
{
    json.BeginArray();
    const auto& strings = commands.Strings();
    for (size_t i = 0; i < strings.size(); i += 2) {
        json.BeginArray().Value(strings[i]);
        if (i + 1 < strings.size())
            json.Value(strings[i + 1]);
        json.EndArray();
    }
    json.EndArray();
}

void WriteValue(JsonWriter& json, const CGraphPrefs& prefs)
{
    json.BeginObject();
    json.Member("m_bTabular", prefs.m_bTabular);
    json.Member("m_bQVD", prefs.m_bQVD);
    json.Member("m_bWhisker", prefs.m_bWhisker);
    json.Member("m_bContours", prefs.m_bContours);
    json.Member("m_bBinVelocities", prefs.m_bBinVelocities);
    json.Member("m_bVectors", prefs.m_bVectors);
    json.Member("m_bAmplitude", prefs.m_bAmplitude);
    json.Member("m_bCorrelation", prefs.m_bCorrelation);
    json.Member("m_bSpare", prefs.m_bSpare);
    json.Key("m_arrDataTypes").BeginArray();
    for (uint16_t code : prefs.m_arrDataTypes)
        json.Value(static_cast<int>(code));
    json.EndArray();
    json.EndObject();
}

template <typename T> void WriteValue(JsonWriter& json, const std::vector<std::unique_ptr<T>>& list)
{
    json.BeginArray();
    for (const auto& element : list)
        WriteValue(json, *element);
    json.EndArray();
}

// A record as one object: each field of its table under the field's name.
template <typename Record>
void WriteFields(JsonWriter& json, const Record& rec, std::span<const SField<Record>> fields)
{
    json.BeginObject();
    // The accessors hand out the field for reading and writing alike; nothing is written here.
    Record& fieldsOf = const_cast<Record&>(rec);
    for (const SField<Record>& field : fields) {
        json.Key(field.m_pszName);
        std::visit([&](auto at) { WriteValue(json, at(fieldsOf)); }, field.m_at);
    }
    json.EndObject();
}

} // namespace

void WriteDateJson(JsonWriter& json, const CDateTime& date)
{
    json.BeginObject().Member("status", date.m_status).Member("days", date.m_dt).EndObject();
}

void WriteGeometryJson(JsonWriter& json, const CChannelGeometry& g)
{
    json.BeginObject();
    json.Member("m_nType", g.m_nType);
    json.Member("m_dDiameter", g.m_dDiameter);
    json.Member("m_dRectWidth", g.m_dRectWidth);
    json.Member("m_dRectHeight", g.m_dRectHeight);
    json.Member("m_dTrapWidth", g.m_dTrapWidth);
    json.Member("m_dTrapHeight", g.m_dTrapHeight);
    json.Member("m_dTrapSlope", g.m_dTrapSlope);
    json.Member("m_nPoints", g.m_nPoints);
    DoubleArray(json, "m_dPointY", g.m_dPointY);
    DoubleArray(json, "m_dPointZ", g.m_dPointZ);
    DoubleArray(json, "m_dPoly", g.m_dPoly);
    json.Member("m_dZAdcp", g.m_dZAdcp);
    json.Member("m_dYAdcp", g.m_dYAdcp);
    json.Member("m_dZBottom", g.m_dZBottom);
    json.EndObject();
}

void WriteCalcSetJson(JsonWriter& json, const CCalcSet& set)
{
    WriteFields(json, set, CCalcSet::Fields());
}

void WriteDataSummaryJson(JsonWriter& json, const CDataSummary& summary)
{
    WriteFields(json, summary, DataSummaryFields());
}

void WriteStationJson(JsonWriter& json, const CStation& station)
{
    WriteFields(json, station, CStation::Fields());
}
