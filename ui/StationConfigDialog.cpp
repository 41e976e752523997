#include "ui/StationConfigDialog.h"

#include "ui/SystemPage.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

CStationConfigDialog::CStationConfigDialog(CStation& station, bool isNew, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Station Configuration"));
    m_pTabs = new QTabWidget;
    m_pSystem = new CSystemPage(&station, isNew);
    m_pTabs->addTab(m_pSystem, tr("System"));
    m_pTabs->setCurrentIndex(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTabs);
    layout->addWidget(buttons);
}

void CStationConfigDialog::accept()
{
    m_pSystem->SavePage();
    QDialog::accept();
}
