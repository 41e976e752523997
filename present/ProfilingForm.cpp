#include "present/ProfilingForm.h"

#include "data/FormatValue.h"
#include "data/Units.h"
#include "settings/Profiling.h"
#include "settings/ProfilingTables.h"
#include "station/Station.h"

namespace
{

// A length command (centimetres) in the stage unit: "0.164 (ft)"; "N/A" when it is missing.
std::string CommandLength(const CStation& station, const char* command)
{
    std::string value;
    if (!station.GetCommands().Find(command, value))
        return "N/A";
    const int unit = station.GetStageUnits();
    return FormatValue(ToDisplayUnits(100.0 * CommandValueToInt(value), unit)) + " (" +
           UnitAbbreviation(unit) + ")";
}

std::string CommandText(const CStation& station, const char* command)
{
    std::string value;
    return station.GetCommands().Find(command, value) ? value : "N/A";
}

} // namespace

int CProfilingForm::FrequencyCount()
{
    return static_cast<int>(FrequencyTable().size());
}

const char* CProfilingForm::FrequencyText(int index)
{
    return index >= 0 && index < FrequencyCount() ? FrequencyTable()[static_cast<size_t>(index)].comboText
                                                  : "";
}

int CProfilingForm::IntervalCount()
{
    return static_cast<int>(SampleIntervalTable().size());
}

const char* CProfilingForm::IntervalText(int index)
{
    return index >= 0 && index < IntervalCount() ? SampleIntervalTable()[static_cast<size_t>(index)].comboText
                                                 : "";
}

const char* CProfilingForm::OptimizeText(int optimize)
{
    const OptimizeInfo* info = FindOptimizeInfo(optimize);
    return info ? info->radioText : "";
}

void CProfilingForm::Load(CStation& station)
{
    const int stageUnit = station.GetStageUnits();
    m_strDepthUnit = UnitAbbreviation(stageUnit);

    // The velocity range counts bins of the size the profiling commands give, so those are
    // brought up to date first.
    if (station.GetAutoCalc())
        CalcProfilingSettings(station);
    if (station.GetAutoVelRange())
        CalcVelocityRange(station);
    m_strVelStart = std::to_string(station.GetVelRangeStart());
    m_strVelStop = std::to_string(station.GetVelRangeStop());
    m_bAutoVelRange = station.GetAutoVelRange() != 0;
    m_bVelRangeEnabled = !m_bAutoVelRange;

    const double depth = station.GetForcedDepth();
    m_bForcedDepth = depth > 0;
    m_bForcedDepthEnabled = m_bForcedDepth;
    if (m_bForcedDepth)
        m_forcedDepth.Show(depth, FormatFixed(ToDisplayUnits(depth, stageUnit), 2));
    else
        m_forcedDepth.Clear();

    const int type = station.GetVelocityModel();
    m_nModelIndex = type >= 1 && type <= CVelocityModelFields::MODEL_COUNT ? type - 1 : -1;
    double coef[4];
    for (int i = 0; i < 4; ++i)
        coef[i] = station.GetModelCoef(i);
    m_model.Show(type, coef, station.GetCritVelocity(), station.GetVelocityUnits());

    const int frequency = station.GetFrequency();
    m_nFrequencyIndex = frequency >= 1 && frequency <= FrequencyCount() ? frequency - 1 : -1;
    std::string te;
    const int interval = station.GetCommands().Find("TE", te) ? FindSampleInterval(te) : -1;
    m_nIntervalIndex = interval < 0 ? 0 : interval;

    m_bAutoCalc = station.GetAutoCalc() != 0;
    m_bOptimizeEnabled = m_bAutoCalc;
    m_nOptimize = station.GetOptimize();
    LoadResults(station);
}

void CProfilingForm::LoadResults(const CStation& station)
{
    m_strBinSize = CommandLength(station, "WS");
    m_strBlank = CommandLength(station, "WF");
    m_strBins = CommandText(station, "WN");
    m_strPings = CommandText(station, "WP");
}

void CProfilingForm::Save(CStation& station)
{
    // A calculated range is shown in edits the operator cannot change; it is worked out
    // again below rather than read back from them, where it may be older than the commands.
    if (!station.GetAutoVelRange()) {
        station.SetVelRangeStart(ReadInt(m_strVelStart));
        station.SetVelRangeStop(ReadInt(m_strVelStop));
    }

    const int stageUnit = station.GetStageUnits();
    if (m_bForcedDepth)
        station.SetForcedDepth(
            m_forcedDepth.Value([stageUnit](double v) { return ToInternalUnits(v, stageUnit); }));
    else
        station.SetForcedDepth(NODATA);

    double coef[4];
    for (int i = 0; i < 4; ++i)
        coef[i] = station.GetModelCoef(i);
    double crit = station.GetCritVelocity();
    m_model.Store(coef, crit, station.GetVelocityUnits());
    for (int i = 0; i < 4; ++i)
        station.SetModelCoef(coef[i], i);
    station.SetCritVelocity(crit);

    if (m_nFrequencyIndex >= 0 && m_nFrequencyIndex < FrequencyCount())
        station.SetFrequency(m_nFrequencyIndex + 1);
    if (m_nIntervalIndex >= 0 && m_nIntervalIndex < IntervalCount()) {
        station.GetCommands().SetText("TE",
                                      SampleIntervalTable()[static_cast<size_t>(m_nIntervalIndex)].teValue);
        station.SetModified(true);
    }
    if (station.GetAutoCalc())
        CalcProfilingSettings(station);
    if (station.GetAutoVelRange())
        CalcVelocityRange(station);
}

void CProfilingForm::ForcedDepthClicked(bool ticked)
{
    m_bForcedDepth = ticked;
    m_bForcedDepthEnabled = ticked;
    m_forcedDepth.Clear();
    if (ticked)
        m_forcedDepth.m_strText = "0.00";
}

void CProfilingForm::ModelChanged(CStation& station, int index)
{
    if (index < 0 || index >= CVelocityModelFields::MODEL_COUNT)
        return;
    Save(station);
    station.SetVelocityModel(static_cast<VelocityModel>(index + 1));
    Load(station);
}

void CProfilingForm::OptimizeClicked(CStation& station, int optimize)
{
    station.SetOptimize(optimize);
    station.SetAutoCalc(1);
    Save(station);
    Load(station);
}

void CProfilingForm::AutoCalcClicked(CStation& station, bool ticked)
{
    Save(station);
    station.SetAutoCalc(ticked ? 1 : 0);
    if (ticked)
        CalcProfilingSettings(station);
    Load(station);
}

void CProfilingForm::AutoVelRangeClicked(CStation& station, bool ticked)
{
    Save(station);
    station.SetAutoVelRange(ticked ? 1 : 0);
    if (ticked)
        CalcVelocityRange(station);
    Load(station);
}

void CProfilingForm::FrequencyOrIntervalChanged(CStation& station)
{
    Save(station);
    Load(station);
}

bool CProfilingForm::EditCommands(CStation& station, const std::function<bool(CStation&)>& run)
{
    Save(station);
    const CCommandList kept = station.GetCommands();
    const bool ok = run && run(station);
    if (ok)
        station.SetModified(true);
    else
        station.SetCommands(kept);
    LoadResults(station);
    return ok;
}
