#include "present/EditCommandsModel.h"

#include "settings/Profiling.h"
#include "station/Station.h"

CEditCommandsModel::CEditCommandsModel(CStation& station) : m_station(station)
{
    Fill();
}

void CEditCommandsModel::Fill()
{
    const CCommandList& list = m_station.GetCommands();
    m_arrRows.clear();
    for (int i = 0; i < list.Count(); ++i) {
        std::string command, parameter;
        list.Get(i, command, parameter);
        m_arrRows.emplace_back(command, parameter);
    }
}

bool CEditCommandsModel::IsNoteVisible() const
{
    return m_station.GetAutoCalc() != 0;
}

std::string CEditCommandsModel::Cell(int row, int column) const
{
    if (row == 0)
        return column == 0 ? "Command" : "Parameter";
    if (row < 0 || row >= RowCount() || column < 0 || column > 1)
        return {};
    const auto& pair = m_arrRows[static_cast<size_t>(row - 1)];
    return column == 0 ? pair.first : pair.second;
}

void CEditCommandsModel::SetCell(int row, int column, const std::string& text)
{
    if (row < 1 || row >= RowCount() || column < 0 || column > 1)
        return;
    auto& pair = m_arrRows[static_cast<size_t>(row - 1)];
    (column == 0 ? pair.first : pair.second) = text;
}

void CEditCommandsModel::Insert(int focusedRow)
{
    if (focusedRow >= RowCount() - 1) {
        m_arrRows.emplace_back();
        return;
    }
    // With the header (or nothing) focused the new row goes first: nothing goes above the header.
    size_t at = focusedRow < 1 ? 0 : static_cast<size_t>(focusedRow - 1);
    m_arrRows.insert(m_arrRows.begin() + static_cast<std::ptrdiff_t>(at),
                     std::pair<std::string, std::string>());
}

void CEditCommandsModel::Remove(int focusedRow)
{
    if (focusedRow < 1 || focusedRow >= RowCount())
        return;
    m_arrRows.erase(m_arrRows.begin() + (focusedRow - 1));
}

void CEditCommandsModel::RestoreDefaults()
{
    m_station.GetCommands().RestoreDefaults();
    CalcProfilingSettings(m_station);
    Fill();
}

void CEditCommandsModel::Ok()
{
    CCommandList list;
    list.Clear();
    for (const auto& row : m_arrRows)
        list.Add(row.first, row.second);
    m_station.SetCommands(list);
}
