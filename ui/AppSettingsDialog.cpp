#include "ui/AppSettingsDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CAppSettingsDialog::CAppSettingsDialog(const QString& siteDir, const std::vector<QString>& comDevices,
                                       QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Application Settings"));

    m_pSiteDir = new QLineEdit(siteDir);
    m_pSiteDir->setReadOnly(true); // it changes only through the picker
    m_pSiteDir->setMinimumWidth(360);
    m_pBrowse = new QPushButton(tr("Browse..."));
    auto* dirRow = new QHBoxLayout;
    dirRow->addWidget(m_pSiteDir, 1);
    dirRow->addWidget(m_pBrowse);
    auto* dirForm = new QFormLayout;
    dirForm->addRow(tr("Site Directory:"), dirRow);

    auto* ports = new QGroupBox(tr("Serial Ports"));
    auto* portForm = new QFormLayout(ports);
    for (int i = 0; i < 8; ++i) {
        auto* edit = new QLineEdit(i < static_cast<int>(comDevices.size()) ? comDevices[i] : QString());
        edit->setPlaceholderText(QStringLiteral("/dev/ttyS%1").arg(i));
        m_arrCom.push_back(edit);
        portForm->addRow(QStringLiteral("COM %1:").arg(i + 1), edit);
    }
    auto* hint =
        new QLabel(tr("A device path, or sim:velunit or sim:flowcomputer for a simulated instrument."));
    hint->setWordWrap(true);
    portForm->addRow(hint);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pBrowse, &QPushButton::clicked, this, &CAppSettingsDialog::Browse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dirForm);
    layout->addWidget(ports);
    layout->addWidget(buttons);
}

QString CAppSettingsDialog::PickFolder(QWidget* parent, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, tr("Select Folder"), start, QFileDialog::ShowDirsOnly);
}

void CAppSettingsDialog::Browse()
{
    // Cancelling the picker leaves the field as it was.
    const QString chosen = m_picker ? m_picker(this, m_pSiteDir->text()) : QString();
    if (!chosen.isEmpty())
        m_pSiteDir->setText(chosen);
}

QString CAppSettingsDialog::SiteDir() const
{
    return m_pSiteDir->text();
}

std::vector<QString> CAppSettingsDialog::ComDevices() const
{
    std::vector<QString> devices;
    for (QLineEdit* edit : m_arrCom)
        devices.push_back(edit->text().trimmed());
    return devices;
}
