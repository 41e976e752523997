#include "views/DataTableModel.h"

#include "present/DataTable.h"

#include <limits>

CDataTableModel::CDataTableModel(const CDataTable& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table)
{
}

int CDataTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    const size_t rows = m_table.GetRowCount();
    return rows > static_cast<size_t>(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                       : static_cast<int>(rows);
}

int CDataTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.GetColumnCount();
}

QVariant CDataTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(m_table.CellText(static_cast<size_t>(index.row()), index.column()));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant CDataTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_table.GetColumnCount())
            return {};
        QString title = QString::fromStdString(m_table.GetColumnTitle(section));
        if (static_cast<size_t>(section) < m_arrSecondRow.size())
            title += QLatin1Char('\n') + QString::fromStdString(m_arrSecondRow[static_cast<size_t>(section)]);
        return title;
    }
    return section + 1;
}

void CDataTableModel::BeginAppend(int count)
{
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + count - 1);
}

void CDataTableModel::EndAppend()
{
    endInsertRows();
}

void CDataTableModel::SetSecondHeaderRow(std::vector<std::string> texts)
{
    m_arrSecondRow = std::move(texts);
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}
