#include "ui/CopyStationDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CCopyStationDialog::CCopyStationDialog(const QString& siteName, const QString& group, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Copy Station"));
    m_pSiteName = new QLineEdit(siteName);
    m_pGroup = new QLineEdit(group);
    m_pSiteName->setMinimumWidth(260);
    auto* form = new QFormLayout;
    form->addRow(tr("Site Name:"), m_pSiteName);
    form->addRow(tr("Group:"), m_pGroup);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString CCopyStationDialog::SiteName() const
{
    return m_pSiteName->text();
}

QString CCopyStationDialog::Group() const
{
    return m_pGroup->text();
}
