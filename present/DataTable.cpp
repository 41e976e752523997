#include "present/DataTable.h"

#include "data/EnsembleList.h"
#include "station/FileReplace.h"

CDataTable::CDataTable(const CEnsembleList& list, std::vector<DataType> columns, const ViewUnits& units)
    : m_list(list), m_arrColumns(std::move(columns)), m_units(units)
{
    for (DataType type : m_arrColumns)
        m_arrTitles.push_back(SeriesColumnTitle(type, m_units));
}

size_t CDataTable::GetRowCount() const
{
    return m_list.GetCount();
}

int CDataTable::ColumnWidth(DataType type)
{
    switch (type) {
    case DATATYPE_NUMBER:
        return 50;
    case DATATYPE_DATETIME:
        return 120;
    default:
        return 75;
    }
}

std::string CDataTable::CellText(size_t row, int column) const
{
    if (row >= m_list.GetCount() || column < 0 || column >= GetColumnCount())
        return {};
    const DataType type = m_arrColumns[static_cast<size_t>(column)];
    // FormatSeriesValue converts to the view unit itself, so the value goes in as stored.
    return FormatSeriesValue(m_list.GetValue(row, type), type, m_units);
}

std::string CDataTable::HeaderLine(TextForm form) const
{
    std::string line;
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (c)
            line += form == TextForm::Tabs ? '\t' : ',';
        line += form == TextForm::Csv ? CsvField(GetColumnTitle(c)) : GetColumnTitle(c);
    }
    return line + '\n';
}

std::string CDataTable::RowLine(size_t row, TextForm form) const
{
    std::string line;
    for (int c = 0; c < GetColumnCount(); ++c) {
        if (c)
            line += form == TextForm::Tabs ? '\t' : ',';
        const std::string text = CellText(row, c);
        line += form == TextForm::Csv ? CsvField(text) : text;
    }
    return line + '\n';
}

std::string CDataTable::Text(const std::vector<size_t>& rows, TextForm form) const
{
    std::string text = HeaderLine(form);
    if (rows.empty()) {
        for (size_t r = 0; r < GetRowCount(); ++r)
            text += RowLine(r, form);
    } else {
        for (size_t r : rows)
            text += RowLine(r, form);
    }
    return text;
}

bool CDataTable::ExportCsv(const std::string& path, const std::vector<size_t>& rows) const
{
    const std::string text = Text(rows, TextForm::Csv);
    return ReplaceFileContents(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}
