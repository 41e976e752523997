#include "ui/EditCommandsDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
constexpr int kColumnWidth = 115;
}

CEditCommandsDlg::CEditCommandsDlg(CStation& station, QWidget* parent) : QDialog(parent), m_model(station)
{
    setWindowTitle(tr("Edit Commands"));
    m_pGrid = new QTableWidget(0, 2);
    m_pGrid->setHorizontalHeaderLabels(
        {QString::fromStdString(m_model.Cell(0, 0)), QString::fromStdString(m_model.Cell(0, 1))});
    m_pGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_pGrid->setColumnWidth(0, kColumnWidth);
    m_pGrid->setColumnWidth(1, kColumnWidth);
    m_pGrid->verticalHeader()->setDefaultSectionSize(22);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pGrid->setMinimumWidth(m_pGrid->verticalHeader()->sizeHint().width() + 2 * kColumnWidth + 24);
    m_pGrid->setMinimumHeight(360);

    m_pNote = new QLabel(QString::fromUtf8(CEditCommandsModel::AUTO_NOTE));
    m_pNote->setWordWrap(true);
    m_pNote->setVisible(m_model.IsNoteVisible());

    m_pInsert = new QPushButton(tr("Insert"));
    m_pRemove = new QPushButton(tr("Remove"));
    m_pRestore = new QPushButton(tr("Restore Defaults"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    auto* side = new QVBoxLayout;
    side->addWidget(buttons);
    side->addSpacing(12);
    side->addWidget(m_pInsert);
    side->addWidget(m_pRemove);
    side->addWidget(m_pRestore);
    side->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_pGrid, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pNote);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pInsert, &QPushButton::clicked, this, [this] {
        const int focused = FocusedRow();
        const int before = m_model.RowCount();
        m_model.Insert(focused);
        Fill();
        // The new row is where the focus was, or the last one.
        const int row = focused >= before - 1 ? m_model.RowCount() - 2 : std::max(focused, 1) - 1;
        m_pGrid->setCurrentCell(row, 0);
    });
    connect(m_pRemove, &QPushButton::clicked, this, [this] {
        const int focused = FocusedRow();
        m_model.Remove(focused);
        Fill();
        if (m_model.RowCount() > 1)
            m_pGrid->setCurrentCell(std::min(focused, m_model.RowCount() - 1) - 1, 0);
    });
    connect(m_pRestore, &QPushButton::clicked, this, [this] {
        m_model.RestoreDefaults();
        Fill();
    });
    connect(m_pGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_bFilling)
            m_model.SetCell(item->row() + 1, item->column(), item->text().toStdString());
    });
    Fill();
}

void CEditCommandsDlg::Fill()
{
    m_bFilling = true;
    m_pGrid->setRowCount(m_model.RowCount() - 1);
    for (int row = 1; row < m_model.RowCount(); ++row)
        for (int column = 0; column < 2; ++column)
            m_pGrid->setItem(row - 1, column,
                             new QTableWidgetItem(QString::fromStdString(m_model.Cell(row, column))));
    m_bFilling = false;
}

int CEditCommandsDlg::FocusedRow() const
{
    return m_pGrid->currentRow() + 1;
}

void CEditCommandsDlg::accept()
{
    m_model.Ok();
    QDialog::accept();
}
