#include "app/StationsBar.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

CStationsBar::CStationsBar(QWidget* parent) : QDockWidget(tr("Stations"), parent)
{
    setObjectName(QStringLiteral("StationsBar"));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    m_pGrid = new QTableWidget(0, 2, this);
    m_pGrid->setHorizontalHeaderLabels({tr("Station"), tr("Group")});
    m_pGrid->verticalHeader()->hide();
    m_pGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_pGrid->horizontalHeader()->setHighlightSections(false);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pGrid->setWordWrap(false);
    m_pGrid->verticalHeader()->setDefaultSectionSize(m_pGrid->fontMetrics().height() + 8);
    setWidget(m_pGrid);
    m_pGrid->viewport()->installEventFilter(this);
    connect(m_pGrid, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowClicked(row); });
    resize(200, 350); // the floating size
}

void CStationsBar::SetRows(const std::vector<std::pair<std::string, std::string>>& rows)
{
    m_pGrid->clearSelection();
    m_pGrid->setRowCount(0);
    m_pGrid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        m_pGrid->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(rows[r].first)));
        m_pGrid->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(rows[r].second)));
    }
    m_pGrid->setCurrentCell(-1, -1);
    m_pGrid->viewport()->update();
}

int CStationsBar::RowCount() const
{
    return m_pGrid->rowCount();
}

int CStationsBar::FocusedRow() const
{
    return m_pGrid->currentRow();
}

void CStationsBar::SelectRow(int row)
{
    m_pGrid->setCurrentCell(row, 0);
    m_pGrid->selectRow(row);
}

std::string CStationsBar::RowName(int row) const
{
    const QTableWidgetItem* item = m_pGrid->item(row, 0);
    return item ? item->text().toStdString() : std::string();
}

std::string CStationsBar::RowGroup(int row) const
{
    const QTableWidgetItem* item = m_pGrid->item(row, 1);
    return item ? item->text().toStdString() : std::string();
}

bool CStationsBar::eventFilter(QObject* watched, QEvent* event)
{
    // The grid's visible width changes with the bar and with its scroll bar coming and going.
    if (watched == m_pGrid->viewport() && event->type() == QEvent::Resize)
        FitColumns();
    return QDockWidget::eventFilter(watched, event);
}

void CStationsBar::FitColumns()
{
    // Each column half of the grid, less two pixels, never below 0.
    const int half = std::max(0, m_pGrid->viewport()->width() / 2 - 2);
    m_pGrid->setColumnWidth(0, half);
    m_pGrid->setColumnWidth(1, half);
}
