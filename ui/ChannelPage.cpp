#include "ui/ChannelPage.h"

#include "station/Station.h"
#include "views/ChannelPreviewCtrl.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

QLineEdit* NumberEdit()
{
    auto* edit = new QLineEdit;
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(80);
    return edit;
}

QLabel* UnitLabel()
{
    auto* label = new QLabel;
    label->setMinimumWidth(36);
    return label;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// One label column for the dimension and instrument edits, so that their edits line up.
int LabelWidth(const QWidget* widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    int width = 0;
    for (const char* label : {"Diameter:", "Z-Bottom:", "Z-ADCP:", "Y-ADCP:", "Height:"})
        width = std::max(width, metrics.horizontalAdvance(QString::fromLatin1(label)));
    return width + 6;
}

} // namespace

CChannelPage::CChannelPage(CStation* station, QWidget* parent) : QWidget(parent), m_pStation(station)
{
    QGroupBox* types = BuildTypeGroup();
    QGroupBox* mountings = BuildMountingGroup();
    m_pDimensions = BuildDimensionsGroup();
    QGroupBox* position = BuildPositionGroup();
    m_pPointsGroup = BuildPointsGroup();
    m_pPreview = new CChannelPreviewCtrl;
    m_pPreview->setMinimumSize(320, 240);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(types);
    buttons->addWidget(mountings);
    auto* left = new QVBoxLayout;
    left->addLayout(buttons);
    left->addWidget(m_pDimensions);
    left->addWidget(position);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_pPreview, 1);
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left);
    columns->addWidget(m_pPointsGroup);
    columns->addLayout(right, 1);

    LoadPage();
}

QGroupBox* CChannelPage::BuildTypeGroup()
{
    auto* group = new QGroupBox(tr("Channel Type"));
    auto* layout = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(group);
    for (int i = 0; i < CChannelForm::TYPE_COUNT; ++i) {
        auto* radio = new QRadioButton(Text(CChannelForm::TypeText(i)));
        m_arrTypes[static_cast<size_t>(i)] = radio;
        buttons->addButton(radio, i);
        layout->addWidget(radio);
    }
    layout->addStretch(1);
    connect(buttons, &QButtonGroup::idClicked, this, [this](int i) {
        if (!m_pStation)
            return;
        m_form.SetType(*m_pStation, i);
        FormToControls();
    });
    return group;
}

QGroupBox* CChannelPage::BuildMountingGroup()
{
    auto* group = new QGroupBox(tr("Installation/Mounting"));
    auto* layout = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(group);
    for (int i = 0; i < CChannelForm::MOUNTING_COUNT; ++i) {
        auto* radio = new QRadioButton(Text(CChannelForm::MountingText(i)));
        m_arrMountings[static_cast<size_t>(i)] = radio;
        buttons->addButton(radio, i);
        layout->addWidget(radio);
    }
    layout->addStretch(1);
    connect(buttons, &QButtonGroup::idClicked, this, [this](int i) {
        if (!m_pStation)
            return;
        m_form.SetMounting(*m_pStation, i);
        FormToControls();
    });
    return group;
}

QGroupBox* CChannelPage::BuildDimensionsGroup()
{
    auto* group = new QGroupBox(tr("Dimensions"));
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < CChannelForm::DIMENSIONS; ++i) {
        const auto at = static_cast<size_t>(i);
        m_arrDimLabels[at] = new QLabel;
        m_arrDims[at] = NumberEdit();
        m_arrDimUnits[at] = UnitLabel();
        grid->addWidget(m_arrDimLabels[at], i, 0);
        grid->addWidget(m_arrDims[at], i, 1);
        grid->addWidget(m_arrDimUnits[at], i, 2);
        connect(m_arrDims[at], &QLineEdit::textEdited, this, &CChannelPage::StoreAndDraw);
    }
    grid->setColumnMinimumWidth(0, LabelWidth(this));
    grid->setColumnStretch(1, 1);
    return group;
}

QGroupBox* CChannelPage::BuildPositionGroup()
{
    auto* group = new QGroupBox(tr("Instrument"));
    auto* grid = new QGridLayout(group);
    m_pZAdcp = NumberEdit(), m_pYAdcp = NumberEdit(), m_pZBottom = NumberEdit();
    m_pZAdcpUnit = UnitLabel(), m_pYAdcpUnit = UnitLabel(), m_pZBottomUnit = UnitLabel();
    m_pZBottomLabel = new QLabel(tr("Z-Bottom:"));
    grid->addWidget(new QLabel(tr("Z-ADCP:")), 0, 0);
    grid->addWidget(m_pZAdcp, 0, 1);
    grid->addWidget(m_pZAdcpUnit, 0, 2);
    grid->addWidget(new QLabel(tr("Y-ADCP:")), 1, 0);
    grid->addWidget(m_pYAdcp, 1, 1);
    grid->addWidget(m_pYAdcpUnit, 1, 2);
    grid->addWidget(m_pZBottomLabel, 2, 0);
    grid->addWidget(m_pZBottom, 2, 1);
    grid->addWidget(m_pZBottomUnit, 2, 2);
    grid->setColumnMinimumWidth(0, LabelWidth(this));
    grid->setColumnStretch(1, 1);
    for (QLineEdit* edit : {m_pZAdcp, m_pYAdcp, m_pZBottom})
        connect(edit, &QLineEdit::textEdited, this, &CChannelPage::StoreAndDraw);
    return group;
}

QGroupBox* CChannelPage::BuildPointsGroup()
{
    auto* group = new QGroupBox(tr("Multi-Point"));
    m_pPoints = new QTableWidget(CChannelForm::POINT_ROWS, 2);
    m_pPoints->setHorizontalHeaderLabels({QStringLiteral("Y"), QStringLiteral("Z")});
    m_pPoints->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_pPoints->setColumnWidth(0, 80);
    m_pPoints->setColumnWidth(1, 80);
    m_pPoints->verticalHeader()->setDefaultSectionSize(22);
    m_pPoints->setMinimumWidth(m_pPoints->verticalHeader()->sizeHint().width() + 160 + 24);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_pPoints);
    connect(m_pPoints, &QTableWidget::itemChanged, this, [this] {
        if (!m_bFilling)
            PointEdited();
    });
    return group;
}

void CChannelPage::LoadPage()
{
    if (!m_pStation)
        return;
    m_form.Load(*m_pStation);
    FormToControls();
}

void CChannelPage::FormToControls()
{
    m_bFilling = true;
    if (m_form.m_nTypeButton >= 0)
        m_arrTypes[static_cast<size_t>(m_form.m_nTypeButton)]->setChecked(true);
    if (m_form.m_nMountingButton >= 0)
        m_arrMountings[static_cast<size_t>(m_form.m_nMountingButton)]->setChecked(true);
    m_pDimensions->setVisible(m_form.m_bDimensionsVisible);
    for (size_t i = 0; i < m_arrDims.size(); ++i) {
        const bool visible = m_form.m_arrDimVisible[i];
        m_arrDimLabels[i]->setText(Text(m_form.m_arrDimLabels[i]));
        m_arrDimUnits[i]->setText(Text(m_form.m_arrDimUnits[i]));
        m_arrDims[i]->setText(Text(m_form.m_arrDims[i].m_strText));
        m_arrDimLabels[i]->setVisible(visible);
        m_arrDims[i]->setVisible(visible);
        m_arrDimUnits[i]->setVisible(visible);
    }
    m_pZAdcp->setText(Text(m_form.m_zAdcp.m_strText));
    m_pZAdcp->setEnabled(m_form.m_bZAdcpEnabled);
    m_pYAdcp->setText(Text(m_form.m_yAdcp.m_strText));
    m_pZBottom->setText(Text(m_form.m_zBottom.m_strText));
    m_pZBottomLabel->setVisible(m_form.m_bZBottomVisible);
    m_pZBottom->setVisible(m_form.m_bZBottomVisible);
    m_pZBottomUnit->setVisible(m_form.m_bZBottomVisible);
    const QString unit = Text(m_form.m_strUnit);
    m_pZAdcpUnit->setText(unit), m_pYAdcpUnit->setText(unit), m_pZBottomUnit->setText(unit);
    m_pPointsGroup->setVisible(m_form.m_bPointsVisible);
    m_pPoints->setHorizontalHeaderLabels(
        {QStringLiteral("Y (%1)").arg(unit), QStringLiteral("Z (%1)").arg(unit)});
    for (int row = 0; row < CChannelForm::POINT_ROWS; ++row) {
        const auto at = static_cast<size_t>(row);
        for (int column = 0; column < 2; ++column) {
            const CNumberText& cell = column == 0 ? m_form.m_arrPointY[at] : m_form.m_arrPointZ[at];
            // The items stay: this also runs while one of them reports its own edit.
            QTableWidgetItem* item = m_pPoints->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_pPoints->setItem(row, column, item);
            }
            item->setText(Text(cell.m_strText));
        }
    }
    m_bFilling = false;
    m_pPreview->ShowStation(m_pStation);
}

void CChannelPage::ControlsToForm()
{
    for (size_t i = 0; i < m_arrDims.size(); ++i)
        m_form.m_arrDims[i].m_strText = m_arrDims[i]->text().toStdString();
    m_form.m_zAdcp.m_strText = m_pZAdcp->text().toStdString();
    m_form.m_yAdcp.m_strText = m_pYAdcp->text().toStdString();
    m_form.m_zBottom.m_strText = m_pZBottom->text().toStdString();
    for (int row = 0; row < CChannelForm::POINT_ROWS; ++row) {
        const auto at = static_cast<size_t>(row);
        const QTableWidgetItem* y = m_pPoints->item(row, 0);
        const QTableWidgetItem* z = m_pPoints->item(row, 1);
        m_form.m_arrPointY[at].m_strText = y ? y->text().toStdString() : std::string();
        m_form.m_arrPointZ[at].m_strText = z ? z->text().toStdString() : std::string();
    }
}

void CChannelPage::StoreAndDraw()
{
    if (!m_pStation)
        return;
    ControlsToForm();
    m_form.Store(*m_pStation);
    m_pPreview->ShowStation(m_pStation);
}

void CChannelPage::PointEdited()
{
    if (!m_pStation)
        return;
    ControlsToForm();
    m_form.Store(*m_pStation);
    // Shown again from the record: rows after the end of the list empty out.
    m_form.Load(*m_pStation);
    FormToControls();
}
