#include "tools/tidewell-tool/StationArg.h"

#include <iostream>

std::unique_ptr<CStation> LoadStationArg(const std::string& path)
{
    auto station = std::make_unique<CStation>();
    StationLoadOptions options;
    options.writeBackOldVersion = false;
    StationLoadReport report;
    if (!station->Load(path, options, &report)) {
        if (report.cannotOpen)
            throw ToolFailure{"cannot read station file " + path};
        throw ToolFailure{"station file " + path + " is damaged: " + report.error};
    }
    for (const auto& message : report.messages)
        std::cerr << "tidewell-tool: " << path << ": " << message << "\n";
    return station;
}

std::unique_ptr<CStation> LoadStationOption(const ToolArgs& args, const std::string& option)
{
    if (args.Has(option))
        return LoadStationArg(args.Value(option));
    return std::make_unique<CStation>();
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
    json.BeginObject();
    json.Key("m_dtStart");
    WriteDateJson(json, set.m_dtStart);
    json.Member("m_dBinSize", set.m_dBinSize);
    json.Member("m_dBlank", set.m_dBlank);
    json.Member("m_dForcedDepth", set.m_dForcedDepth);
    json.Member("m_nVelRangeStart", set.m_nVelRangeStart);
    json.Member("m_nVelRangeStop", set.m_nVelRangeStop);
    json.Member("m_nVelocityModel", set.m_nVelocityModel);
    DoubleArray(json, "m_dModelCoef", set.m_dModelCoef);
    json.Member("m_dCritVelocity", set.m_dCritVelocity);
    json.Member("m_nMounting", set.m_nMounting);
    json.Key("m_pGeometry");
    WriteGeometryJson(json, *set.m_pGeometry);
    json.EndObject();
}

void WriteDataSummaryJson(JsonWriter& json, const CDataSummary& s)
{
    json.BeginObject();
    json.Member("m_strFileName", s.m_strFileName);
    json.Key("m_dtStart");
    WriteDateJson(json, s.m_dtStart);
    json.Key("m_dtStop");
    WriteDateJson(json, s.m_dtStop);
    json.Member("m_nEnsembles", s.m_nEnsembles);
    json.Member("m_nEnsembleType", s.m_nEnsembleType);
    json.Member("m_dStageMin", s.m_dStageMin);
    json.Member("m_dStageMax", s.m_dStageMax);
    json.Member("m_dVelocityMin", s.m_dVelocityMin);
    json.Member("m_dVelocityMax", s.m_dVelocityMax);
    json.Member("m_dFlowMin", s.m_dFlowMin);
    json.Member("m_dFlowMax", s.m_dFlowMax);
    json.EndObject();
}

void WriteStationJson(JsonWriter& json, const CStation& st)
{
    json.BeginObject();
    json.Member("m_nVersion", st.GetVersion());
    json.Member("m_strSiteName", st.GetSiteName());
    json.Member("m_strLocation", st.GetLocation());
    json.Member("m_strGroup", st.GetGroup());
    json.Member("m_nFlowUnits", st.GetFlowUnits());
    json.Member("m_nVelocityUnits", st.GetVelocityUnits());
    json.Member("m_nStageUnits", st.GetStageUnits());
    json.Member("m_nVolumeUnits", st.GetVolumeUnits());
    json.Member("m_nTemperatureUnits", st.GetTemperatureUnits());
    json.Member("m_nAreaUnits", st.GetAreaUnits());
    json.Member("m_dFlow4mA", st.GetFlow4mA());
    json.Member("m_dFlow20mA", st.GetFlow20mA());
    json.Member("m_dStage4mA", st.GetStage4mA());
    json.Member("m_dStage20mA", st.GetStage20mA());
    json.Member("m_dVelocity4mA", st.GetVelocity4mA());
    json.Member("m_dVelocity20mA", st.GetVelocity20mA());
    json.Member("m_dTotalizerPulse", st.GetTotalizerPulse());
    json.Member("m_bAutoVelRange", st.GetAutoVelRange());
    json.Member("m_nVelRangeStart", st.GetVelRangeStart());
    json.Member("m_nVelRangeStop", st.GetVelRangeStop());
    json.Member("m_nVelocityModel", st.GetVelocityModel());
    json.Key("m_dModelCoef").BeginArray();
    for (int i = 0; i < 4; ++i)
        json.Value(st.GetModelCoef(i));
    json.EndArray();
    json.Member("m_dCritVelocity", st.GetCritVelocity());
    json.Key("m_pGeometry");
    WriteGeometryJson(json, st.GetGeometry());
    json.Member("m_dForcedDepth", st.GetForcedDepth());
    json.Member("m_dReserved1", st.GetReserved1());
    json.Member("m_dReserved2", st.GetReserved2());
    json.Member("m_nMounting", st.GetMounting());
    json.Key("m_dtCreated");
    WriteDateJson(json, st.GetCreated());
    json.Key("m_dtReserved");
    WriteDateJson(json, st.GetReservedDate());
    json.Member("m_nComPort", st.GetComPort());
    json.Member("m_bReserved", static_cast<int>(st.GetReservedFlag()));
    json.Key("m_arrDataSummaries").BeginArray();
    for (int i = 0; i < st.GetSummaryCount(); ++i)
        WriteDataSummaryJson(json, st.GetSummary(i));
    json.EndArray();
    json.Member("m_nFrequency", st.GetFrequency());
    json.Member("m_nOptimize", st.GetOptimize());
    // Pairs of the flat stored list; a stray last command without parameter stands alone.
    json.Key("m_pCommands").BeginArray();
    const auto& strings = st.GetCommands().Strings();
    for (size_t i = 0; i < strings.size(); i += 2) {
        json.BeginArray().Value(strings[i]);
        if (i + 1 < strings.size())
            json.Value(strings[i + 1]);
        json.EndArray();
    }
    json.EndArray();
    json.Member("m_bAutoCalc", st.GetAutoCalc());
    const CGraphPrefs& prefs = st.GetGraphPrefs();
    json.Key("m_pGraphPrefs").BeginObject();
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
    json.Member("m_dTCF", st.GetTCF());
    json.Member("m_dBadDataOutput", st.GetBadDataOutput());
    json.Member("m_dNoDataOutput", st.GetNoDataOutput());
    json.Member("m_nTimeout", static_cast<int>(st.GetTimeout()));
    json.Member("m_dPulseTime", st.GetPulseTime());
    json.Member("m_nBadReadings", static_cast<int>(st.GetBadReadings()));
    json.Member("m_dBigStep", st.GetBigStep());
    json.Member("m_dZeroScreen", st.GetZeroScreen());
    json.Member("m_nTimeZoneOffset", st.GetTimeZoneOffset());
    json.Key("m_arrCalcSets").BeginArray();
    for (int i = 0; i < st.GetCalcSetCount(); ++i)
        WriteCalcSetJson(json, st.GetCalcSet(i));
    json.EndArray();
    json.EndObject();
}
