#include "present/CalcSetForm.h"

#include "data/NoData.h"
#include "data/Units.h"
#include "station/CalcSet.h"
#include "station/Station.h"

void CCalcSetForm::Load(const CCalcSet& set, const CStation& station)
{
    const CFlowSettings& s = set.m_settings;
    m_nStageUnits = station.GetStageUnits();
    m_nVelocityUnits = station.GetVelocityUnits();
    m_strUnit = UnitAbbreviation(m_nStageUnits);
    const int unit = m_nStageUnits;
    const auto length = [unit](CNumberText& edit, double value) {
        edit.Show(value, FormatFixed(ToDisplayUnits(value, unit), 3));
    };

    m_dtStart = set.m_dtStart;
    m_arrStart = {};
    if (!m_dtStart.GetParts(m_arrStart[0], m_arrStart[1], m_arrStart[2], m_arrStart[3], m_arrStart[4],
                            m_arrStart[5]))
        m_arrStart = {1899, 12, 30, 0, 0, 0};
    m_arrShownStart = m_arrStart;

    m_strVelStart = std::to_string(s.m_nVelRangeStart);
    m_strVelStop = std::to_string(s.m_nVelRangeStop);
    length(m_binSize, set.m_dBinSize);
    length(m_blank, set.m_dBlank);
    // Z-ADCP means nothing to a set mounted at the top; it is shown but not edited there.
    m_bZAdcpEnabled = s.m_nMounting != MOUNTING_TOP;
    length(m_zAdcp, s.m_geometry.GetZAdcp());

    m_dSetForcedStage = s.m_dForcedStage;
    m_bForceStage = s.m_dForcedStage > 0;
    m_bForceStageEnabled = m_bForceStage;
    if (m_bForceStage)
        length(m_forceStage, s.m_dForcedStage);
    else
        m_forceStage.Clear();

    for (int i = 0; i < 4; ++i)
        m_dCoef[i] = s.m_dModelCoef[i];
    m_dCritVelocity = s.m_dCritVelocity;
    const int type = s.m_nVelocityModel;
    m_nModelIndex = type >= 1 && type <= CVelocityModelFields::MODEL_COUNT ? type - 1 : -1;
    m_model.Show(type, m_dCoef, m_dCritVelocity, m_nVelocityUnits);
}

void CCalcSetForm::ForceStageClicked(bool ticked)
{
    m_bForceStage = ticked;
    m_bForceStageEnabled = ticked;
    if (!ticked)
        m_forceStage.Clear();
    else if (m_dSetForcedStage > 0)
        m_forceStage.Show(m_dSetForcedStage,
                          FormatFixed(ToDisplayUnits(m_dSetForcedStage, m_nStageUnits), 3));
    else {
        m_forceStage.Clear();
        m_forceStage.m_strText = "0.000";
    }
}

void CCalcSetForm::ModelChanged(int index)
{
    if (index < 0 || index >= CVelocityModelFields::MODEL_COUNT)
        return;
    m_model.Store(m_dCoef, m_dCritVelocity, m_nVelocityUnits);
    m_nModelIndex = index;
    m_model.Show(index + 1, m_dCoef, m_dCritVelocity, m_nVelocityUnits);
}

void CCalcSetForm::Save(CCalcSet& set, CStation& station)
{
    CFlowSettings& s = set.m_settings;
    const int unit = m_nStageUnits;
    const auto fromUnit = [unit](double v) { return ToInternalUnits(v, unit); };
    s.m_nVelRangeStart = ReadInt(m_strVelStart);
    s.m_nVelRangeStop = ReadInt(m_strVelStop);
    s.m_dForcedStage = m_bForceStage ? m_forceStage.Value(fromUnit) : NODATA;
    if (m_nModelIndex >= 0)
        s.m_nVelocityModel = m_nModelIndex + 1;
    m_model.Store(m_dCoef, m_dCritVelocity, m_nVelocityUnits);
    for (int i = 0; i < 4; ++i)
        s.m_dModelCoef[i] = m_dCoef[i];
    s.m_dCritVelocity = m_dCritVelocity;
    set.m_dBinSize = m_binSize.Value(fromUnit);
    set.m_dBlank = m_blank.Value(fromUnit);
    if (m_bZAdcpEnabled)
        s.m_geometry.SetZAdcp(m_zAdcp.Value(fromUnit));
    // A start left as the picker showed it keeps its fraction of a second.
    if (m_arrStart != m_arrShownStart)
        set.m_dtStart = CDateTime::FromParts(m_arrStart[0], m_arrStart[1], m_arrStart[2], m_arrStart[3],
                                             m_arrStart[4], m_arrStart[5]);
    station.ClearSummaries();
}
