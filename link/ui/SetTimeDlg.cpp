#include "link/ui/SetTimeDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

CSetTimeDlg::CSetTimeDlg(int offset, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Set Time"));
    auto* first = new QLabel(tr("Velunit will be set to computer time plus the"));
    auto* second = new QLabel(tr("specified timezone offset."));
    first->setAlignment(Qt::AlignHCenter);
    second->setAlignment(Qt::AlignHCenter);

    // The box itself keeps the value in range: typing and each arrow step stop at the ends.
    m_pOffset = new QSpinBox;
    m_pOffset->setRange(MIN_OFFSET, MAX_OFFSET);
    m_pOffset->setSingleStep(1);
    m_pOffset->setValue(std::clamp(offset, MIN_OFFSET, MAX_OFFSET));
    auto* form = new QFormLayout;
    form->addRow(tr("Timezone Offset:"), m_pOffset);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addSpacing(6);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CSetTimeDlg::Offset() const
{
    return m_pOffset->value();
}
