#include "ui/VelocityModelGroup.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CVelocityModelGroup::CVelocityModelGroup(QWidget* parent) : QGroupBox(tr("Velocity Model"), parent)
{
    m_pModel = new QComboBox;
    for (int i = 0; i < CVelocityModelFields::MODEL_COUNT; ++i)
        m_pModel->addItem(QString::fromUtf8(CVelocityModelFields::ModelName(i)));
    m_pEquation = new QLabel;
    m_pEquation->setAlignment(Qt::AlignCenter);
    m_pEquation->setFrameShape(QFrame::StyledPanel);
    m_pEquation->setMinimumHeight(44);
    m_pUnit = new QLabel;
    m_pUnit->setMinimumWidth(36);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pModel);
    layout->addWidget(m_pEquation);
    auto* grid = new QGridLayout;
    for (int i = 0; i < CVelocityModelFields::EDITS; ++i) {
        m_arrLabels[static_cast<size_t>(i)] = new QLabel;
        auto* edit = new QLineEdit;
        edit->setAlignment(Qt::AlignRight);
        edit->setMinimumWidth(80);
        m_arrEdits[static_cast<size_t>(i)] = edit;
        grid->addWidget(m_arrLabels[static_cast<size_t>(i)], i, 0);
        grid->addWidget(edit, i, 1);
    }
    grid->addWidget(m_pUnit, CVelocityModelFields::CRIT_VEL, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(m_pModel, &QComboBox::activated, this, &CVelocityModelGroup::modelChosen);
}

void CVelocityModelGroup::FieldsToControls(const CVelocityModelFields& fields, int modelIndex)
{
    const QSignalBlocker block(m_pModel);
    m_pModel->setCurrentIndex(modelIndex);
    m_pEquation->setText(QString::fromStdString(fields.m_strEquation));
    for (size_t i = 0; i < m_arrEdits.size(); ++i) {
        m_arrLabels[i]->setText(QString::fromStdString(fields.m_arrLabels[i]));
        m_arrLabels[i]->setVisible(fields.m_arrVisible[i]);
        m_arrEdits[i]->setText(QString::fromStdString(fields.m_arrEdits[i].m_strText));
        m_arrEdits[i]->setVisible(fields.m_arrVisible[i]);
    }
    m_pUnit->setText(QString::fromStdString(fields.m_strUnit));
    m_pUnit->setVisible(fields.m_bUnitVisible);
}

void CVelocityModelGroup::ControlsToFields(CVelocityModelFields& fields) const
{
    for (size_t i = 0; i < m_arrEdits.size(); ++i)
        fields.m_arrEdits[i].m_strText = m_arrEdits[i]->text().toStdString();
}
