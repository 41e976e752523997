#include "ui/CalcSetDlg.h"

#include "station/CalcSet.h"
#include "station/Station.h"
#include "ui/VelocityModelGroup.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace
{

QLineEdit* NumberEdit()
{
    auto* edit = new QLineEdit;
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(80);
    return edit;
}

} // namespace

CCalcSetDlg::CCalcSetDlg(CCalcSet& set, CStation& station, QWidget* parent)
    : QDialog(parent), m_set(set), m_station(station)
{
    setWindowTitle(tr("Calculation Settings"));
    m_pTime = new QDateTimeEdit;
    m_pTime->setDisplayFormat(QString::fromLatin1(CCalcSetForm::TIME_FORMAT));
    m_pTime->setCalendarPopup(true);
    // Start times are wall-clock times without a zone: shown as they are, with no hour
    // skipped or doubled where this computer's clock changes for summer time.
    m_pTime->setTimeSpec(Qt::UTC);
    m_pVelStart = NumberEdit(), m_pVelStop = NumberEdit();
    m_pBinSize = NumberEdit(), m_pBlank = NumberEdit(), m_pZAdcp = NumberEdit(), m_pStage = NumberEdit();
    m_pForceStage = new QCheckBox(tr("Force Stage:"));
    for (QLabel*& unit : m_arrUnits) {
        unit = new QLabel;
        unit->setMinimumWidth(30);
    }
    m_pModel = new CVelocityModelGroup;

    auto* settings = new QGroupBox(tr("Settings"));
    auto* grid = new QGridLayout(settings);
    grid->addWidget(new QLabel(tr("Time")), 0, 0);
    grid->addWidget(m_pTime, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("Velocity Range")), 1, 0);
    auto* range = new QHBoxLayout;
    range->addWidget(m_pVelStart, 1);
    range->addWidget(new QLabel(tr("to")));
    range->addWidget(m_pVelStop, 1);
    grid->addLayout(range, 1, 1, 1, 3);
    const struct {
        QWidget* label;
        QLineEdit* edit;
    } rows[] = {{new QLabel(tr("Bin Size:")), m_pBinSize},
                {new QLabel(tr("Blank:")), m_pBlank},
                {new QLabel(tr("ZADCP:")), m_pZAdcp},
                {m_pForceStage, m_pStage}};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(rows[i].label, i + 2, 0);
        grid->addWidget(rows[i].edit, i + 2, 1, 1, 2);
        grid->addWidget(m_arrUnits[i], i + 2, 3);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* columns = new QHBoxLayout;
    columns->addWidget(settings, 1);
    columns->addWidget(m_pModel, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pForceStage, &QCheckBox::clicked, this, [this](bool ticked) {
        ControlsToForm();
        m_form.ForceStageClicked(ticked);
        FormToControls();
    });
    connect(m_pModel, &CVelocityModelGroup::modelChosen, this, [this](int index) {
        ControlsToForm();
        m_form.ModelChanged(index);
        FormToControls();
    });

    m_form.Load(set, station);
    FormToControls();
}

void CCalcSetDlg::FormToControls()
{
    const CCalcSetForm::TimeParts& t = m_form.m_arrStart;
    m_pTime->setDateTime(QDateTime(QDate(t[0], t[1], t[2]), QTime(t[3], t[4], t[5]), Qt::UTC));
    m_pVelStart->setText(QString::fromStdString(m_form.m_strVelStart));
    m_pVelStop->setText(QString::fromStdString(m_form.m_strVelStop));
    m_pBinSize->setText(QString::fromStdString(m_form.m_binSize.m_strText));
    m_pBlank->setText(QString::fromStdString(m_form.m_blank.m_strText));
    m_pZAdcp->setText(QString::fromStdString(m_form.m_zAdcp.m_strText));
    m_pZAdcp->setEnabled(m_form.m_bZAdcpEnabled);
    {
        const QSignalBlocker block(m_pForceStage);
        m_pForceStage->setChecked(m_form.m_bForceStage);
    }
    m_pStage->setText(QString::fromStdString(m_form.m_forceStage.m_strText));
    m_pStage->setEnabled(m_form.m_bForceStageEnabled);
    for (QLabel* unit : m_arrUnits)
        unit->setText(QString::fromStdString(m_form.m_strUnit));
    m_pModel->FieldsToControls(m_form.m_model, m_form.m_nModelIndex);
}

void CCalcSetDlg::ControlsToForm()
{
    const QDateTime time = m_pTime->dateTime();
    m_form.m_arrStart = {time.date().year(), time.date().month(),  time.date().day(),
                         time.time().hour(), time.time().minute(), time.time().second()};
    m_form.m_strVelStart = m_pVelStart->text().toStdString();
    m_form.m_strVelStop = m_pVelStop->text().toStdString();
    m_form.m_binSize.m_strText = m_pBinSize->text().toStdString();
    m_form.m_blank.m_strText = m_pBlank->text().toStdString();
    m_form.m_zAdcp.m_strText = m_pZAdcp->text().toStdString();
    m_form.m_forceStage.m_strText = m_pStage->text().toStdString();
    m_pModel->ControlsToFields(m_form.m_model);
}

void CCalcSetDlg::accept()
{
    ControlsToForm();
    m_form.Save(m_set, m_station);
    QDialog::accept();
}
