#include "ui/CalcSettingsDlg.h"

#include "station/Station.h"
#include "ui/CalcSetDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

CCalcSettingsDlg::CCalcSettingsDlg(CStation& station, QWidget* parent) : QDialog(parent), m_station(station)
{
    setWindowTitle(tr("Calculation Settings"));
    m_pGrid = new QTableWidget(0, CCalcSettingsForm::COLUMNS);
    QStringList titles;
    for (int c = 0; c < CCalcSettingsForm::COLUMNS; ++c)
        titles << QString::fromUtf8(CCalcSettingsForm::ColumnTitle(c));
    m_pGrid->setHorizontalHeaderLabels(titles);
    m_pGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_pGrid->verticalHeader()->setVisible(false);
    m_pGrid->verticalHeader()->setDefaultSectionSize(22);
    m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);

    m_pCreate = new QPushButton(tr("Create..."));
    m_pEdit = new QPushButton(tr("Edit Selected..."));
    m_pRemove = new QPushButton(tr("Remove Selected"));
    m_pExit = new QPushButton(tr("Exit"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pCreate);
    buttons->addWidget(m_pEdit);
    buttons->addWidget(m_pRemove);
    buttons->addStretch(1);
    buttons->addWidget(m_pExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pGrid, 1);
    layout->addLayout(buttons);

    m_asker = [this](const std::string& question) {
        return QMessageBox::question(this, windowTitle(), QString::fromStdString(question),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
    connect(m_pCreate, &QPushButton::clicked, this, [this] {
        if (CCalcSettingsForm::Create(
                m_station, [this](CCalcSet& set) { return RunSet(set); }, CDateTime::Now()))
            Fill();
    });
    connect(m_pEdit, &QPushButton::clicked, this, [this] {
        // A set the dialog left alone is where it was; one it changed may sort elsewhere.
        if (CCalcSettingsForm::EditSelected(m_station, SelectedSet(), m_asker,
                                            [this](CCalcSet& set) { return RunSet(set); }))
            Fill();
    });
    connect(m_pRemove, &QPushButton::clicked, this, [this] {
        if (CCalcSettingsForm::RemoveSelected(m_station, SelectedSet(), m_asker))
            Fill();
    });
    connect(m_pExit, &QPushButton::clicked, this, &QDialog::accept);
    Fill();
    int width = 2 * m_pGrid->frameWidth() + m_pGrid->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < CCalcSettingsForm::COLUMNS; ++c)
        width += m_pGrid->columnWidth(c);
    m_pGrid->setMinimumSize(width, 240);
}

void CCalcSettingsDlg::Fill()
{
    const auto rows = CCalcSettingsForm::Fill(m_station);
    m_pGrid->clearSelection();
    m_pGrid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < CCalcSettingsForm::COLUMNS; ++c)
            m_pGrid->setItem(r, c,
                             new QTableWidgetItem(QString::fromStdString(
                                 rows[static_cast<size_t>(r)][static_cast<size_t>(c)])));
    // The widths are the least each column gets; a column whose title or texts need more in
    // this font gets that, so nothing is cut off.
    for (int c = 0; c < CCalcSettingsForm::COLUMNS; ++c) {
        m_pGrid->resizeColumnToContents(c);
        m_pGrid->setColumnWidth(c, std::max(CCalcSettingsForm::ColumnWidth(c), m_pGrid->columnWidth(c)));
    }
    m_pGrid->setCurrentCell(-1, -1);
    m_pGrid->viewport()->update();
}

int CCalcSettingsDlg::SelectedSet() const
{
    const QList<QTableWidgetSelectionRange> ranges = m_pGrid->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

bool CCalcSettingsDlg::RunSet(CCalcSet& set)
{
    CCalcSetDlg dialog(set, m_station, this);
    return m_setRunner ? m_setRunner(dialog) : dialog.exec() == QDialog::Accepted;
}
