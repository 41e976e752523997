#include "ui/StationConfigDialog.h"

#include "station/Station.h"
#include "ui/ChannelPage.h"
#include "ui/ProfilingPage.h"
#include "ui/SystemPage.h"
#include "ui/VelocityRatingDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CStationConfigDialog::CStationConfigDialog(CStation& station, bool isNew, QWidget* parent)
    : QDialog(parent), m_station(station), m_pWork(std::make_unique<CStation>(station))
{
    setWindowTitle(tr("Station Configuration"));
    m_pTabs = new QTabWidget;
    m_pSystem = new CSystemPage(m_pWork.get(), isNew);
    m_pChannel = new CChannelPage(m_pWork.get());
    m_pProfiling = new CProfilingPage(m_pWork.get());
    m_pTabs->addTab(m_pSystem, tr("System"));
    m_pTabs->addTab(m_pChannel, tr("Channel"));
    m_pTabs->addTab(m_pProfiling, tr("Velocity Model"));
    m_pTabs->setCurrentIndex(SYSTEM);

    // The rating works on the copy being edited: what it applies is kept or dropped with the
    // rest of the dialog, and the page shows the fitted model at once.
    auto* rating = new QPushButton(tr("Velocity Rating..."));
    m_pProfiling->AddButton(rating);
    connect(rating, &QPushButton::clicked, this, [this] {
        m_pProfiling->SavePage();
        OpenVelocityRating(
            this, *m_pWork, {}, [this] { m_pProfiling->LoadPage(); }, false);
    });
    connect(m_pTabs, &QTabWidget::currentChanged, this, &CStationConfigDialog::PageChanged);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTabs);
    layout->addWidget(buttons);
}

CStationConfigDialog::~CStationConfigDialog() = default;

void CStationConfigDialog::PageChanged(int index)
{
    SavePage(m_nPage);
    m_nPage = index;
    LoadPage(index);
}

void CStationConfigDialog::SavePage(int index)
{
    // The Channel page stores each change as it is typed.
    if (index == SYSTEM)
        m_pSystem->SavePage();
    else if (index == VELOCITY_MODEL)
        m_pProfiling->SavePage();
}

void CStationConfigDialog::LoadPage(int index)
{
    if (index == SYSTEM)
        m_pSystem->LoadPage();
    else if (index == CHANNEL)
        m_pChannel->LoadPage();
    else if (index == VELOCITY_MODEL)
        m_pProfiling->LoadPage();
}

void CStationConfigDialog::accept()
{
    m_pSystem->SavePage();
    // The profiling commands follow the channel and units as they are now, also when the
    // Velocity Model page was never opened or was left before the channel changed.
    if (m_nPage != VELOCITY_MODEL)
        m_pProfiling->LoadPage();
    m_pProfiling->SavePage();
    // The pages keep working on the copy until the dialog is gone.
    m_station = CStation(*m_pWork);
    QDialog::accept();
}
