#include "ui/GraphPrefsDialog.h"

#include "data/DataTypes.h"
#include "station/GraphPrefs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

// The eight flags in the order of their check boxes.
int32_t* Flag(CGraphPrefs& p, int i)
{
    int32_t* flags[] = {&p.m_bTabular,       &p.m_bQVD,     &p.m_bWhisker,   &p.m_bContours,
                        &p.m_bBinVelocities, &p.m_bVectors, &p.m_bAmplitude, &p.m_bCorrelation};
    return flags[i];
}

const char* const kCaptions[] = {"Show Tabular Data", "QVD Hydrograph", "Whisker Graph",
                                 "Velocity Contours", "Bin Velocities", "Velocity Vectors",
                                 "Amplitude",         "Correlation"};

} // namespace

CGraphPrefsDialog::CGraphPrefsDialog(CGraphPrefs& prefs, QWidget* parent) : QDialog(parent), m_prefs(prefs)
{
    setWindowTitle(tr("Graphics Preferences"));
    auto* graphs = new QGroupBox(tr("Graphs"));
    auto* graphGrid = new QGridLayout(graphs);
    for (int i = 0; i < 8; ++i) {
        m_pChecks[i] = new QCheckBox(tr(kCaptions[i]));
        graphGrid->addWidget(m_pChecks[i], i % 4, i / 4);
    }

    m_pAvailable = new QListWidget;
    m_pDisplayed = new QListWidget;
    m_pAdd = new QPushButton(QStringLiteral("→"));
    m_pRemove = new QPushButton(QStringLiteral("←"));
    m_pUp = new QPushButton(QStringLiteral("↑"));
    m_pDown = new QPushButton(QStringLiteral("↓"));
    m_pAdd->setToolTip(tr("Show the selected data type in the table"));
    m_pRemove->setToolTip(tr("Take the selected data type out of the table"));
    m_pUp->setToolTip(tr("Move the selected data type one place up"));
    m_pDown->setToolTip(tr("Move the selected data type one place down"));
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    for (QPushButton* b : {m_pAdd, m_pRemove, m_pUp, m_pDown}) {
        b->setFixedWidth(40);
        arrows->addWidget(b);
    }
    arrows->addStretch(1);
    auto* table = new QGroupBox(tr("Tabular Data"));
    auto* tableGrid = new QGridLayout(table);
    tableGrid->addWidget(new QLabel(tr("Available Data Types")), 0, 0);
    tableGrid->addWidget(new QLabel(tr("Displayed Data Types")), 0, 2);
    tableGrid->addWidget(m_pAvailable, 1, 0);
    tableGrid->addLayout(arrows, 1, 1);
    tableGrid->addWidget(m_pDisplayed, 1, 2);

    m_pRestore = new QPushButton(tr("Restore Defaults"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->addButton(m_pRestore, QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(graphs);
    layout->addWidget(table);
    layout->addWidget(buttons);

    connect(m_pChecks[0], &QCheckBox::toggled, this, &CGraphPrefsDialog::EnableLists);
    connect(m_pAvailable, &QListWidget::currentRowChanged, this,
            [this](int row) { m_lists.m_nAvailableSel = row; });
    connect(m_pDisplayed, &QListWidget::currentRowChanged, this,
            [this](int row) { m_lists.m_nDisplayedSel = row; });
    connect(m_pAdd, &QPushButton::clicked, this, [this] { Act(&CDataTypeLists::MoveToDisplayed); });
    connect(m_pRemove, &QPushButton::clicked, this, [this] { Act(&CDataTypeLists::MoveToAvailable); });
    connect(m_pUp, &QPushButton::clicked, this, [this] { Act(&CDataTypeLists::MoveUp); });
    connect(m_pDown, &QPushButton::clicked, this, [this] { Act(&CDataTypeLists::MoveDown); });
    // Restore Defaults resets the record at once, as the operator asked for it.
    connect(m_pRestore, &QPushButton::clicked, this, [this] {
        m_prefs.RestoreDefaults();
        Fill();
    });
    Fill();
}

void CGraphPrefsDialog::Fill()
{
    for (int i = 0; i < 8; ++i)
        m_pChecks[i]->setChecked(*Flag(m_prefs, i) != 0);
    m_lists.Load(std::vector<int>(m_prefs.m_arrDataTypes.begin(), m_prefs.m_arrDataTypes.end()));
    ListsToControls();
    EnableLists();
}

void CGraphPrefsDialog::Act(void (CDataTypeLists::*move)())
{
    (m_lists.*move)();
    ListsToControls();
}

void CGraphPrefsDialog::ListsToControls()
{
    const QSignalBlocker blockA(m_pAvailable), blockD(m_pDisplayed);
    m_pAvailable->clear();
    m_pDisplayed->clear();
    for (int code : m_lists.m_arrAvailable)
        m_pAvailable->addItem(QString::fromStdString(DataTypeName(code)));
    for (int code : m_lists.m_arrDisplayed)
        m_pDisplayed->addItem(QString::fromStdString(DataTypeName(code)));
    m_pAvailable->setCurrentRow(m_lists.m_nAvailableSel);
    m_pDisplayed->setCurrentRow(m_lists.m_nDisplayedSel);
}

void CGraphPrefsDialog::EnableLists()
{
    const bool on = m_pChecks[0]->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_pAvailable, m_pDisplayed, m_pAdd, m_pRemove, m_pUp, m_pDown})
        w->setEnabled(on);
}

void CGraphPrefsDialog::accept()
{
    for (int i = 0; i < 8; ++i)
        *Flag(m_prefs, i) = m_pChecks[i]->isChecked() ? 1 : 0;
    m_prefs.m_arrDataTypes.clear();
    for (int code : m_lists.m_arrDisplayed)
        m_prefs.m_arrDataTypes.push_back(static_cast<uint16_t>(code));
    QDialog::accept();
}
