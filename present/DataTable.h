#pragma once
// The data view's table, without widgets: one row per entry of an ensemble list, one column
// per data type of the preferences. Nothing is stored per cell; a cell's text is made when
// it is asked for, so a million rows cost no more than the rows on screen.
#include "data/FormatValue.h"
#include "data/SeriesFormat.h"

#include <cstddef>
#include <string>
#include <vector>

class CEnsembleList;

class CDataTable
{
  public:
    CDataTable(const CEnsembleList& list, std::vector<DataType> columns, const ViewUnits& units);

    size_t GetRowCount() const;
    int GetColumnCount() const { return static_cast<int>(m_arrColumns.size()); }
    DataType GetColumnType(int column) const { return m_arrColumns[static_cast<size_t>(column)]; }
    const std::string& GetColumnTitle(int column) const { return m_arrTitles[static_cast<size_t>(column)]; }
    // 50 pixels for "Number", 120 for "Date/Time", 75 for the rest.
    static int ColumnWidth(DataType type);

    // The text of one cell: empty for no data and for a separator's row.
    std::string CellText(size_t row, int column) const;

    enum class TextForm { Tabs, Csv };
    // The header row and the given rows (all rows when empty), one line each, ended by "\n":
    // cells separated by tabs for pasting into a spreadsheet, or CSV with quoted fields the
    // same as the tool's data export.
    std::string Text(const std::vector<size_t>& rows, TextForm form) const;
    // Writes the CSV text of the rows (all when empty) to a file through a temporary file
    // renamed over it, so that a failed export leaves no half file; false on any failure.
    bool ExportCsv(const std::string& path, const std::vector<size_t>& rows) const;

  private:
    std::string HeaderLine(TextForm form) const;
    std::string RowLine(size_t row, TextForm form) const;

    const CEnsembleList& m_list;
    std::vector<DataType> m_arrColumns;
    std::vector<std::string> m_arrTitles;
    ViewUnits m_units;
};
