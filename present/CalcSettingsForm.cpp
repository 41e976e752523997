#include "present/CalcSettingsForm.h"

#include "data/FormatValue.h"
#include "data/NoData.h"
#include "data/Units.h"
#include "present/VelocityModelFields.h"
#include "station/Station.h"

#include <cstdio>

namespace
{

struct Column {
    const char* title;
    int width;
};

constexpr Column kColumns[CCalcSettingsForm::COLUMNS] = {
    {"Start Time", 130},    {"Channel Geometry", 100}, {"Bin Size", 55},     {"Blank", 55},
    {"Velocity Range", 85}, {"Velocity Model", 100},   {"Forced Depth", 85},
};

std::string Length(double value, int unit)
{
    return FormatValue(ToDisplayUnits(value, unit)) + " " + UnitAbbreviation(unit);
}

bool ValidSet(const CStation& station, int set)
{
    return set >= 0 && set < station.GetCalcSetCount();
}

} // namespace

const char* CCalcSettingsForm::ColumnTitle(int column)
{
    return column >= 0 && column < COLUMNS ? kColumns[column].title : "";
}

int CCalcSettingsForm::ColumnWidth(int column)
{
    return column >= 0 && column < COLUMNS ? kColumns[column].width : 0;
}

CCalcSettingsForm::Row CCalcSettingsForm::RowOf(const CCalcSet& set, const CStation& station)
{
    const int unit = station.GetStageUnits();
    const CFlowSettings& s = set.m_settings;
    Row row;
    row[0] = set.m_dtStart.Format("%Y/%m/%d %H:%M:%S");
    // Each set keeps the channel it was made with; that is the one its data is computed on.
    row[1] = CChannelGeometry::TypeName(s.m_geometry.GetType());
    row[2] = Length(set.m_dBinSize, unit);
    row[3] = Length(set.m_dBlank, unit);
    char range[64];
    std::snprintf(range, sizeof range, "%d - %d", s.m_nVelRangeStart, s.m_nVelRangeStop);
    row[4] = range;
    row[5] = CVelocityModelFields::ModelName(s.m_nVelocityModel - 1);
    row[6] = s.m_dForcedStage < 0 ? "N/A" : Length(s.m_dForcedStage, unit);
    return row;
}

std::vector<CCalcSettingsForm::Row> CCalcSettingsForm::Fill(CStation& station)
{
    station.SortCalcSets();
    std::vector<Row> rows;
    for (int i = 0; i < station.GetCalcSetCount(); ++i)
        rows.push_back(RowOf(station.GetCalcSet(i), station));
    return rows;
}

bool CCalcSettingsForm::Create(CStation& station, const RunSet& run, const CDateTime& start)
{
    std::unique_ptr<CCalcSet> set = station.MakeCalcSet(start);
    if (!run || !run(*set))
        return false;
    station.AddCalcSet(std::move(set));
    return true;
}

bool CCalcSettingsForm::EditSelected(CStation& station, int set, const Ask& ask, const RunSet& run)
{
    if (!ValidSet(station, set) || !ask || !ask(EDIT_WARNING))
        return false;
    return run && run(station.GetCalcSet(set));
}

bool CCalcSettingsForm::RemoveSelected(CStation& station, int set, const Ask& ask)
{
    if (!ValidSet(station, set) || !ask || !ask(REMOVE_WARNING))
        return false;
    station.RemoveCalcSet(set);
    return true;
}
