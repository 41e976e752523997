#include "ui/SeriesExportDialog.h"

#include "app/QtDispatcher.h"
#include "present/BackgroundWorker.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CSeriesExportDialog::CSeriesExportDialog(const CStation& station, const std::string& directory,
                                         const std::vector<std::string>& dataFiles, QWidget* parent)
    : QDialog(parent), m_station(station)
{
    m_model.Open(station, directory, dataFiles);
    setWindowTitle(Q(m_model.m_strTitle));

    m_pFrom = new QLineEdit;
    m_pTo = new QLineEdit;
    m_pOffset = new QLineEdit;
    m_pOffset->setMaximumWidth(80);
    m_pQuantity = new QComboBox;
    for (const std::string& choice : CSeriesExportModel::QuantityChoices())
        m_pQuantity->addItem(Q(choice));
    m_pFormat = new QComboBox;
    for (const std::string& choice : CSeriesExportModel::FormatChoices())
        m_pFormat->addItem(Q(choice));
    m_pFile = new QLineEdit;
    m_pFile->setMinimumWidth(360);
    m_pBrowse = new QPushButton(tr("Browse..."));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_pFile, 1);
    fileRow->addWidget(m_pBrowse);

    auto* form = new QFormLayout;
    form->addRow(tr("From:"), m_pFrom);
    form->addRow(tr("To:"), m_pTo);
    form->addRow(tr("UTC offset:"), m_pOffset);
    form->addRow(tr("Quantity:"), m_pQuantity);
    form->addRow(tr("Format:"), m_pFormat);
    form->addRow(tr("File:"), fileRow);
    auto* hint = new QLabel(tr("Times are the instrument clock's: YYYY-MM-DD, YYYY-MM-DDTHH:MM or "
                               "YYYY-MM-DDTHH:MM:SS; To is not included. The UTC offset is the clock's."));
    hint->setWordWrap(true);

    m_pProgress = new QProgressBar;
    m_pProgress->setVisible(false);
    m_pStatus = new QLabel;
    m_pStatus->setWordWrap(true);
    m_pStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox;
    m_pExport = buttons->addButton(tr("Export"), QDialogButtonBox::AcceptRole);
    m_pClose = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    m_pExport->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(m_pProgress);
    layout->addWidget(m_pStatus);
    layout->addWidget(buttons);

    m_pDispatcher = std::make_unique<CQtDispatcher>(this);
    m_pWorker = std::make_unique<CBackgroundWorker>(*m_pDispatcher);
    m_pWorker->SetProgressHandler([this](long long done, long long total) {
        m_pProgress->setRange(0, static_cast<int>(total));
        m_pProgress->setValue(static_cast<int>(done));
    });

    connect(m_pExport, &QPushButton::clicked, this, &CSeriesExportDialog::Export);
    connect(m_pClose, &QPushButton::clicked, this, &CSeriesExportDialog::reject);
    connect(m_pBrowse, &QPushButton::clicked, this, &CSeriesExportDialog::Browse);
    connect(m_pFormat, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_model.m_strPath = m_pFile->text().toStdString();
        m_model.SetFormat(index);
        m_pFile->setText(Q(m_model.m_strPath));
    });
    ModelToControls();
}

CSeriesExportDialog::~CSeriesExportDialog()
{
    // The worker goes first: it stops the export and waits for it.
    m_pWorker.reset();
}

bool CSeriesExportDialog::IsExporting() const
{
    return m_pWorker && m_pWorker->IsBusy();
}

void CSeriesExportDialog::ModelToControls()
{
    m_pFrom->setText(Q(m_model.m_strFrom));
    m_pTo->setText(Q(m_model.m_strTo));
    m_pOffset->setText(Q(m_model.m_strUtcOffset));
    m_pQuantity->setCurrentIndex(m_model.m_nQuantity);
    {
        const QSignalBlocker block(m_pFormat);
        m_pFormat->setCurrentIndex(m_model.m_nFormat);
    }
    m_pFile->setText(Q(m_model.m_strPath));
}

void CSeriesExportDialog::ControlsToModel()
{
    m_model.m_strFrom = m_pFrom->text().trimmed().toStdString();
    m_model.m_strTo = m_pTo->text().trimmed().toStdString();
    m_model.m_strUtcOffset = m_pOffset->text().trimmed().toStdString();
    m_model.m_nQuantity = m_pQuantity->currentIndex();
    m_model.m_nFormat = m_pFormat->currentIndex();
    m_model.m_strPath = m_pFile->text().trimmed().toStdString();
}

void CSeriesExportDialog::Browse()
{
    const QString filter = m_pFormat->currentIndex() == CSeriesExportModel::FORMAT_WATERML2
                               ? tr("WaterML 2.0 (*.xml)")
                               : tr("CSV (*.csv)");
    const QString path = QFileDialog::getSaveFileName(this, tr("Export Series"), m_pFile->text(), filter);
    if (!path.isEmpty())
        m_pFile->setText(path);
}

void CSeriesExportDialog::Export()
{
    if (IsExporting())
        return;
    ControlsToModel();
    std::string errors;
    if (!m_model.Validate(errors)) {
        m_pStatus->setText(Q(errors).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed());
        return;
    }
    m_pProgress->setVisible(m_model.ShowsProgress());
    m_pProgress->setRange(0, 0);
    m_pStatus->setText(tr("Exporting..."));
    SetRunning(true);
    const bool started =
        CSeriesExportModel::Start(*m_pWorker, m_model.MakeJob(m_station),
                                  [this](const CSeriesExportModel::SResult& r) { Finished(r); });
    if (!started)
        SetRunning(false);
}

void CSeriesExportDialog::Finished(const CSeriesExportModel::SResult& result)
{
    SetRunning(false);
    m_pProgress->setVisible(false);
    m_pStatus->setText(Q(result.m_strMessage));
}

void CSeriesExportDialog::SetRunning(bool running)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_pFrom, m_pTo, m_pOffset, m_pQuantity, m_pFormat,
                                                      m_pFile, m_pBrowse, m_pExport})
        w->setEnabled(!running);
    m_pClose->setText(running ? tr("Stop") : tr("Close"));
}

void CSeriesExportDialog::reject()
{
    // While the export runs, the button (and Escape) stop it; the dialog stays to say so.
    if (IsExporting()) {
        m_pWorker->Cancel();
        return;
    }
    QDialog::reject();
}
