#include "ui/ProfilingPage.h"

#include "station/Station.h"
#include "ui/EditCommandsDlg.h"
#include "ui/VelocityModelGroup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

QLineEdit* NumberEdit()
{
    auto* edit = new QLineEdit;
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(70);
    return edit;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CProfilingPage::CProfilingPage(CStation* station, QWidget* parent) : QWidget(parent), m_pStation(station)
{
    QWidget* profiling = BuildProfilingGroup();
    QWidget* range = BuildRangeGroup();
    QWidget* depth = BuildDepthGroup();
    m_pModel = new CVelocityModelGroup;
    connect(m_pModel, &CVelocityModelGroup::modelChosen, this,
            [this](int index) { Handle([this, index](CStation& s) { m_form.ModelChanged(s, index); }); });

    auto* right = new QVBoxLayout;
    right->addWidget(range);
    right->addWidget(depth);
    right->addWidget(m_pModel, 1);
    auto* columns = new QHBoxLayout(this);
    columns->addWidget(profiling, 1);
    columns->addLayout(right, 1);

    LoadPage();
}

QWidget* CProfilingPage::BuildProfilingGroup()
{
    m_pFrequency = new QComboBox;
    for (int i = 0; i < CProfilingForm::FrequencyCount(); ++i)
        m_pFrequency->addItem(Text(CProfilingForm::FrequencyText(i)));
    m_pInterval = new QComboBox;
    for (int i = 0; i < CProfilingForm::IntervalCount(); ++i)
        m_pInterval->addItem(Text(CProfilingForm::IntervalText(i)));
    m_pAutoCalc = new QCheckBox(tr("Automatically calculate settings"));
    auto* optimize = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(Text(CProfilingForm::OptimizeText(i + 1)));
        m_arrOptimize[static_cast<size_t>(i)] = radio;
        optimize->addButton(radio, i + 1);
    }
    m_pBinSize = new QLabel, m_pBlank = new QLabel, m_pBins = new QLabel, m_pPings = new QLabel;
    m_pEditCommands = new QPushButton(tr("Edit Commands"));

    auto* group = new QGroupBox(tr("Profiling"));
    auto* layout = new QVBoxLayout(group);
    auto* choices = new QFormLayout;
    choices->addRow(tr("Frequency:"), m_pFrequency);
    choices->addRow(tr("Sample Interval:"), m_pInterval);
    layout->addLayout(choices);
    layout->addWidget(m_pAutoCalc);
    auto* radios = new QVBoxLayout;
    radios->setContentsMargins(20, 0, 0, 0);
    for (QRadioButton* radio : m_arrOptimize)
        radios->addWidget(radio);
    layout->addLayout(radios);
    auto* results = new QGroupBox(tr("Settings"));
    auto* resultsForm = new QFormLayout(results);
    resultsForm->addRow(tr("Bin Size:"), m_pBinSize);
    resultsForm->addRow(tr("Blank:"), m_pBlank);
    resultsForm->addRow(tr("Bins:"), m_pBins);
    resultsForm->addRow(tr("Pings:"), m_pPings);
    layout->addWidget(results);
    m_pButtonRow = new QHBoxLayout;
    m_pButtonRow->addWidget(m_pEditCommands);
    m_pButtonRow->addStretch(1);
    layout->addLayout(m_pButtonRow);
    layout->addStretch(1);

    connect(m_pFrequency, &QComboBox::activated, this,
            [this] { Handle([this](CStation& s) { m_form.FrequencyOrIntervalChanged(s); }); });
    connect(m_pInterval, &QComboBox::activated, this,
            [this] { Handle([this](CStation& s) { m_form.FrequencyOrIntervalChanged(s); }); });
    connect(m_pAutoCalc, &QCheckBox::clicked, this, [this](bool ticked) {
        Handle([this, ticked](CStation& s) { m_form.AutoCalcClicked(s, ticked); });
    });
    connect(optimize, &QButtonGroup::idClicked, this,
            [this](int id) { Handle([this, id](CStation& s) { m_form.OptimizeClicked(s, id); }); });
    connect(m_pEditCommands, &QPushButton::clicked, this, &CProfilingPage::EditCommands);
    return group;
}

QWidget* CProfilingPage::BuildRangeGroup()
{
    m_pAutoVelRange = new QCheckBox(tr("Calculate Automatically"));
    m_pVelStart = NumberEdit();
    m_pVelStop = NumberEdit();
    auto* group = new QGroupBox(tr("Velocity Range"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(m_pAutoVelRange, 0, 0, 1, 4);
    grid->addWidget(new QLabel(tr("Start:")), 1, 0);
    grid->addWidget(m_pVelStart, 1, 1);
    grid->addWidget(new QLabel(tr("Stop:")), 1, 2);
    grid->addWidget(m_pVelStop, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    connect(m_pAutoVelRange, &QCheckBox::clicked, this, [this](bool ticked) {
        Handle([this, ticked](CStation& s) { m_form.AutoVelRangeClicked(s, ticked); });
    });
    return group;
}

QWidget* CProfilingPage::BuildDepthGroup()
{
    m_pForcedDepth = new QCheckBox(tr("Use forced depth"));
    m_pDepth = NumberEdit();
    m_pDepthUnit = new QLabel;
    m_pDepthUnit->setMinimumWidth(36);
    auto* group = new QGroupBox(tr("Forced Depth"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_pForcedDepth);
    row->addWidget(m_pDepth, 1);
    row->addWidget(m_pDepthUnit);
    connect(m_pForcedDepth, &QCheckBox::clicked, this, [this](bool ticked) {
        ControlsToForm();
        m_form.ForcedDepthClicked(ticked);
        FormToControls();
    });
    return group;
}

void CProfilingPage::AddButton(QPushButton* button)
{
    m_pButtonRow->insertWidget(m_pButtonRow->count() - 1, button);
}

void CProfilingPage::LoadPage()
{
    if (!m_pStation)
        return;
    m_form.Load(*m_pStation);
    FormToControls();
}

void CProfilingPage::SavePage()
{
    if (!m_pStation)
        return;
    ControlsToForm();
    m_form.Save(*m_pStation);
}

void CProfilingPage::Handle(const std::function<void(CStation&)>& handler)
{
    if (!m_pStation)
        return;
    ControlsToForm();
    handler(*m_pStation);
    FormToControls();
}

void CProfilingPage::EditCommands()
{
    Handle([this](CStation& station) {
        m_form.EditCommands(station, [this](CStation& s) {
            CEditCommandsDlg dialog(s, this);
            return m_editRunner ? m_editRunner(dialog) : dialog.exec() == QDialog::Accepted;
        });
    });
}

void CProfilingPage::FormToControls()
{
    const QSignalBlocker blockers[] = {QSignalBlocker(m_pFrequency), QSignalBlocker(m_pInterval),
                                       QSignalBlocker(m_pAutoCalc), QSignalBlocker(m_pAutoVelRange),
                                       QSignalBlocker(m_pForcedDepth)};
    m_pFrequency->setCurrentIndex(m_form.m_nFrequencyIndex);
    m_pInterval->setCurrentIndex(m_form.m_nIntervalIndex);
    m_pAutoCalc->setChecked(m_form.m_bAutoCalc);
    for (int i = 0; i < 3; ++i) {
        QRadioButton* radio = m_arrOptimize[static_cast<size_t>(i)];
        radio->setEnabled(m_form.m_bOptimizeEnabled);
        if (m_form.m_nOptimize == i + 1)
            radio->setChecked(true);
    }
    m_pBinSize->setText(Text(m_form.m_strBinSize));
    m_pBlank->setText(Text(m_form.m_strBlank));
    m_pBins->setText(Text(m_form.m_strBins));
    m_pPings->setText(Text(m_form.m_strPings));
    m_pAutoVelRange->setChecked(m_form.m_bAutoVelRange);
    m_pVelStart->setText(Text(m_form.m_strVelStart));
    m_pVelStop->setText(Text(m_form.m_strVelStop));
    m_pVelStart->setEnabled(m_form.m_bVelRangeEnabled);
    m_pVelStop->setEnabled(m_form.m_bVelRangeEnabled);
    m_pForcedDepth->setChecked(m_form.m_bForcedDepth);
    m_pDepth->setText(Text(m_form.m_forcedDepth.m_strText));
    m_pDepth->setEnabled(m_form.m_bForcedDepthEnabled);
    m_pDepthUnit->setText(Text(m_form.m_strDepthUnit));
    m_pModel->FieldsToControls(m_form.m_model, m_form.m_nModelIndex);
}

void CProfilingPage::ControlsToForm()
{
    m_form.m_nFrequencyIndex = m_pFrequency->currentIndex();
    m_form.m_nIntervalIndex = m_pInterval->currentIndex();
    m_form.m_strVelStart = m_pVelStart->text().toStdString();
    m_form.m_strVelStop = m_pVelStop->text().toStdString();
    m_form.m_forcedDepth.m_strText = m_pDepth->text().toStdString();
    m_pModel->ControlsToFields(m_form.m_model);
}
