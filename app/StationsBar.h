#pragma once
// The dockable "Stations" bar: a table of the station list with the columns "Station" and
// "Group". A click on a row asks for that station to be opened.
#include <QDockWidget>

#include <string>
#include <utility>
#include <vector>

class QTableWidget;

class CStationsBar : public QDockWidget
{
    Q_OBJECT
  public:
    explicit CStationsBar(QWidget* parent = nullptr);

    // Rows below the header, 0 for the first station.
    void SetRows(const std::vector<std::pair<std::string, std::string>>& rows);
    int RowCount() const;
    int FocusedRow() const;
    void SelectRow(int row);
    std::string RowName(int row) const;
    std::string RowGroup(int row) const;
    QTableWidget* Grid() const { return m_pGrid; }

  signals:
    void rowClicked(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FitColumns();
    QTableWidget* m_pGrid;
};
