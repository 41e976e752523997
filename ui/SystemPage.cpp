#include "ui/SystemPage.h"

#include "data/Units.h"
#include "station/Station.h"
#include "ui/CalcSettingsDlg.h"
#include "ui/FlowComputerSettingsDlg.h"
#include "ui/GraphPrefsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QComboBox* UnitCombo(int first, int count)
{
    auto* combo = new QComboBox;
    for (int code = first; code < first + count; ++code)
        combo->addItem(QString::fromStdString(UnitName(code)));
    return combo;
}

QLineEdit* NumberEdit()
{
    auto* edit = new QLineEdit;
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(90);
    return edit;
}

QLabel* UnitLabel()
{
    auto* label = new QLabel;
    label->setMinimumWidth(48);
    return label;
}

} // namespace

CSystemPage::CSystemPage(CStation* station, bool isNew, QWidget* parent)
    : QWidget(parent), m_pStation(station)
{
    // Made in this order, which is also the order of the focus chain.
    QGroupBox* site = BuildSiteGroup(isNew);
    QGroupBox* units = BuildUnitsGroup();
    QGroupBox* output = BuildOutputGroup();
    QGroupBox* totalizer = BuildTotalizerGroup();
    QGroupBox* comms = BuildCommsGroup();
    QVBoxLayout* buttons = BuildDialogButtons();

    auto* left = new QVBoxLayout;
    left->addWidget(site);
    left->addWidget(output);
    left->addWidget(totalizer);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(units);
    right->addWidget(comms);
    right->addLayout(buttons);
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    for (QComboBox* combo : {m_pStage, m_pVelocity, m_pFlow, m_pVolume, m_pTemperature})
        connect(combo, &QComboBox::currentIndexChanged, this, &CSystemPage::OnUnitChanged);
    connect(m_pPulseEvery, &QCheckBox::toggled, this, [this](bool ticked) {
        m_form.SetPulseEvery(ticked);
        m_pPulse->setEnabled(m_form.m_bPulseEditEnabled);
    });

    LoadPage();
}

QGroupBox* CSystemPage::BuildSiteGroup(bool isNew)
{
    m_pSiteName = new QLineEdit;
    m_pGroup = new QLineEdit;
    m_pLocation = new QPlainTextEdit;
    m_pLocation->setTabChangesFocus(true);
    m_pLocation->setFixedHeight(64);
    m_pSiteName->setEnabled(isNew);
    m_pGroup->setEnabled(isNew);

    auto* site = new QGroupBox(tr("Site"));
    auto* siteForm = new QFormLayout(site);
    siteForm->addRow(tr("Site Name:"), m_pSiteName);
    siteForm->addRow(tr("Group:"), m_pGroup);
    siteForm->addRow(tr("Location:"), m_pLocation);
    return site;
}

QGroupBox* CSystemPage::BuildUnitsGroup()
{
    m_pStage = UnitCombo(CSystemSettingsForm::STAGE_FIRST, CSystemSettingsForm::STAGE_COUNT);
    m_pVelocity = UnitCombo(CSystemSettingsForm::VELOCITY_FIRST, CSystemSettingsForm::VELOCITY_COUNT);
    m_pFlow = UnitCombo(CSystemSettingsForm::FLOW_FIRST, CSystemSettingsForm::FLOW_COUNT);
    m_pVolume = UnitCombo(CSystemSettingsForm::VOLUME_FIRST, CSystemSettingsForm::VOLUME_COUNT);
    m_pTemperature =
        UnitCombo(CSystemSettingsForm::TEMPERATURE_FIRST, CSystemSettingsForm::TEMPERATURE_COUNT);
    auto* units = new QGroupBox(tr("Display Units"));
    auto* unitForm = new QFormLayout(units);
    unitForm->addRow(tr("Stage:"), m_pStage);
    unitForm->addRow(tr("Velocity:"), m_pVelocity);
    unitForm->addRow(tr("Flow:"), m_pFlow);
    unitForm->addRow(tr("Volume:"), m_pVolume);
    unitForm->addRow(tr("Temperature:"), m_pTemperature);
    return units;
}

QGroupBox* CSystemPage::BuildOutputGroup()
{
    m_pFlow4 = NumberEdit(), m_pFlow20 = NumberEdit();
    m_pVelocity4 = NumberEdit(), m_pVelocity20 = NumberEdit();
    m_pStage4 = NumberEdit(), m_pStage20 = NumberEdit();
    m_pFlowUnit4 = UnitLabel(), m_pFlowUnit20 = UnitLabel();
    m_pVelocityUnit4 = UnitLabel(), m_pVelocityUnit20 = UnitLabel();
    m_pStageUnit4 = UnitLabel(), m_pStageUnit20 = UnitLabel();
    auto* output = new QGroupBox(tr("4-20 Output"));
    auto* grid = new QGridLayout(output);
    grid->addWidget(new QLabel(tr("@4mA")), 0, 1, 1, 2, Qt::AlignHCenter);
    grid->addWidget(new QLabel(tr("@20mA")), 0, 3, 1, 2, Qt::AlignHCenter);
    const struct {
        const char* label;
        QLineEdit *at4, *at20;
        QLabel *unit4, *unit20;
    } rows[] = {{"Flow:", m_pFlow4, m_pFlow20, m_pFlowUnit4, m_pFlowUnit20},
                {"Velocity:", m_pVelocity4, m_pVelocity20, m_pVelocityUnit4, m_pVelocityUnit20},
                {"Stage:", m_pStage4, m_pStage20, m_pStageUnit4, m_pStageUnit20}};
    int r = 1;
    for (const auto& row : rows) {
        grid->addWidget(new QLabel(tr(row.label)), r, 0);
        grid->addWidget(row.at4, r, 1);
        grid->addWidget(row.unit4, r, 2);
        grid->addWidget(row.at20, r, 3);
        grid->addWidget(row.unit20, r, 4);
        ++r;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return output;
}

QGroupBox* CSystemPage::BuildTotalizerGroup()
{
    m_pPulseEvery = new QCheckBox(tr("Pulse every:"));
    m_pPulse = NumberEdit();
    m_pVolumeUnit = UnitLabel();
    auto* totalizer = new QGroupBox(tr("Totalizer"));
    auto* totalizerRow = new QHBoxLayout(totalizer);
    totalizerRow->addWidget(m_pPulseEvery);
    totalizerRow->addWidget(m_pPulse, 1);
    totalizerRow->addWidget(m_pVolumeUnit);
    return totalizer;
}

QGroupBox* CSystemPage::BuildCommsGroup()
{
    m_pPort = new QComboBox;
    for (int port = 1; port <= 8; ++port)
        m_pPort->addItem(QStringLiteral("COM %1").arg(port));
    auto* comms = new QGroupBox(tr("Communications"));
    auto* commsForm = new QFormLayout(comms);
    commsForm->addRow(tr("Port:"), m_pPort);
    return comms;
}

QVBoxLayout* CSystemPage::BuildDialogButtons()
{
    auto* buttons = new QVBoxLayout;
    auto* prefs = new QPushButton(tr("Graphics Preferences"));
    connect(prefs, &QPushButton::clicked, this, &CSystemPage::EditGraphPrefs);
    buttons->addWidget(prefs);
    m_pFlowComputer = new QPushButton(tr("Flow Computer Settings"));
    connect(m_pFlowComputer, &QPushButton::clicked, this, &CSystemPage::EditFlowComputerSettings);
    buttons->addWidget(m_pFlowComputer);
    m_pCalcSettings = new QPushButton(tr("Calculation Settings"));
    connect(m_pCalcSettings, &QPushButton::clicked, this, &CSystemPage::EditCalcSettings);
    buttons->addWidget(m_pCalcSettings);
    buttons->addStretch(1);
    return buttons;
}

void CSystemPage::LoadPage()
{
    if (!m_pStation)
        return;
    m_form.Load(*m_pStation);
    FormToControls();
}

void CSystemPage::SavePage()
{
    if (!m_pStation)
        return;
    ControlsToForm();
    m_form.Save(*m_pStation);
}

void CSystemPage::OnUnitChanged()
{
    ControlsToForm();
    m_form.RefreshUnitLabels();
    FormToControls();
}

void CSystemPage::FormToControls()
{
    const QSignalBlocker blockers[] = {QSignalBlocker(m_pStage),       QSignalBlocker(m_pVelocity),
                                       QSignalBlocker(m_pFlow),        QSignalBlocker(m_pVolume),
                                       QSignalBlocker(m_pTemperature), QSignalBlocker(m_pPulseEvery)};
    m_pSiteName->setText(QString::fromStdString(m_form.m_strSiteName));
    m_pGroup->setText(QString::fromStdString(m_form.m_strGroup));
    if (m_pLocation->toPlainText().toStdString() != m_form.m_strLocation)
        m_pLocation->setPlainText(QString::fromStdString(m_form.m_strLocation));
    m_pStage->setCurrentIndex(m_form.m_nStageIndex);
    m_pVelocity->setCurrentIndex(m_form.m_nVelocityIndex);
    m_pFlow->setCurrentIndex(m_form.m_nFlowIndex);
    m_pVolume->setCurrentIndex(m_form.m_nVolumeIndex);
    m_pTemperature->setCurrentIndex(m_form.m_nTemperatureIndex);
    m_pPort->setCurrentIndex(m_form.m_nPortIndex);
    m_pFlow4->setText(QString::fromStdString(m_form.m_strFlow4mA));
    m_pFlow20->setText(QString::fromStdString(m_form.m_strFlow20mA));
    m_pVelocity4->setText(QString::fromStdString(m_form.m_strVelocity4mA));
    m_pVelocity20->setText(QString::fromStdString(m_form.m_strVelocity20mA));
    m_pStage4->setText(QString::fromStdString(m_form.m_strStage4mA));
    m_pStage20->setText(QString::fromStdString(m_form.m_strStage20mA));
    m_pPulseEvery->setChecked(m_form.m_bPulseEvery);
    m_pPulse->setText(QString::fromStdString(m_form.m_strPulse));
    m_pPulse->setEnabled(m_form.m_bPulseEditEnabled);
    const QString flow = QString::fromStdString(m_form.m_strFlowUnit);
    const QString velocity = QString::fromStdString(m_form.m_strVelocityUnit);
    const QString stage = QString::fromStdString(m_form.m_strStageUnit);
    m_pFlowUnit4->setText(flow), m_pFlowUnit20->setText(flow);
    m_pVelocityUnit4->setText(velocity), m_pVelocityUnit20->setText(velocity);
    m_pStageUnit4->setText(stage), m_pStageUnit20->setText(stage);
    m_pVolumeUnit->setText(QString::fromStdString(m_form.m_strVolumeUnit));
}

void CSystemPage::ControlsToForm()
{
    m_form.m_strSiteName = m_pSiteName->text().toStdString();
    m_form.m_strGroup = m_pGroup->text().toStdString();
    m_form.m_strLocation = m_pLocation->toPlainText().toStdString();
    m_form.m_nStageIndex = m_pStage->currentIndex();
    m_form.m_nVelocityIndex = m_pVelocity->currentIndex();
    m_form.m_nFlowIndex = m_pFlow->currentIndex();
    m_form.m_nVolumeIndex = m_pVolume->currentIndex();
    m_form.m_nTemperatureIndex = m_pTemperature->currentIndex();
    m_form.m_nPortIndex = m_pPort->currentIndex();
    m_form.m_strFlow4mA = m_pFlow4->text().toStdString();
    m_form.m_strFlow20mA = m_pFlow20->text().toStdString();
    m_form.m_strVelocity4mA = m_pVelocity4->text().toStdString();
    m_form.m_strVelocity20mA = m_pVelocity20->text().toStdString();
    m_form.m_strStage4mA = m_pStage4->text().toStdString();
    m_form.m_strStage20mA = m_pStage20->text().toStdString();
    m_form.m_bPulseEvery = m_pPulseEvery->isChecked();
    m_form.m_strPulse = m_pPulse->text().toStdString();
}

void CSystemPage::EditGraphPrefs()
{
    if (!m_pStation)
        return;
    // The dialog works on a copy; OK puts it into the station, Cancel drops it.
    CGraphPrefs copy = m_pStation->GetGraphPrefs();
    CGraphPrefsDialog dialog(copy, this);
    if (m_prefsRunner ? m_prefsRunner(dialog) : dialog.exec() == QDialog::Accepted)
        m_pStation->SetGraphPrefs(copy);
}

void CSystemPage::EditFlowComputerSettings()
{
    if (!m_pStation)
        return;
    SavePage();
    // The dialog stores its values into the station itself, and only on OK.
    CFlowComputerSettingsDlg dialog(*m_pStation, this);
    if (m_flowComputerRunner)
        m_flowComputerRunner(dialog);
    else
        dialog.exec();
}

void CSystemPage::EditCalcSettings()
{
    if (!m_pStation)
        return;
    CCalcSettingsDlg dialog(*m_pStation, this);
    if (m_calcSettingsRunner)
        m_calcSettingsRunner(dialog);
    else
        dialog.exec();
}
