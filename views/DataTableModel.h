#pragma once
// The data view's table as an item model: rows and columns of a CDataTable, each cell's text
// made when the table view asks for it (only rows on screen are ever asked for).
#include <QAbstractTableModel>

#include <string>
#include <vector>

class CDataTable;

class CDataTableModel : public QAbstractTableModel
{
    Q_OBJECT
  public:
    explicit CDataTableModel(const CDataTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Rows added at the end of the table: the table view is told before and after.
    void BeginAppend(int count);
    void EndAppend();
    // A second line under every column title (the real-time view's moving averages); none
    // when empty.
    void SetSecondHeaderRow(std::vector<std::string> texts);

  private:
    const CDataTable& m_table;
    std::vector<std::string> m_arrSecondRow;
};
