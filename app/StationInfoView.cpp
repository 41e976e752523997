#include "app/StationInfoView.h"

#include "app/AppPrompter.h"
#include "app/StationApp.h"
#include "app/Unattended.h"
#include "link/PortOpener.h"
#include "link/ui/CommunicationsDlg.h"
#include "link/ui/ProgramFlowComputerDlg.h"
#include "station/Station.h"
#include "ui/SeriesExportDialog.h"
#include "ui/VelocityRatingDialog.h"
#include "views/ChannelPreviewCtrl.h"
#include "views/RealTimeView.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

CStationInfoView::CStationInfoView(CStationApp& app, QWidget* parent) : QWidget(parent), m_app(app)
{
    // Made in this order, which is also the order of the focus chain.
    QGridLayout* header = BuildHeader();
    QVBoxLayout* channel = BuildChannel();
    QGroupBox* data = BuildDataFiles();
    QVBoxLayout* buttons = BuildButtons();

    // The station and its channel beside the buttons, the data files across the bottom.
    auto* left = new QVBoxLayout;
    left->addLayout(header);
    left->addLayout(channel, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto* rows = new QVBoxLayout(this);
    rows->addLayout(top, 1);
    rows->addWidget(data);
    rows->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_pButtons[CStationInfoModel::CONFIGURE], &QPushButton::clicked, this,
            &CStationInfoView::Configure);
    connect(m_pButtons[CStationInfoModel::REFRESH], &QPushButton::clicked, this, &CStationInfoView::Refresh);
    connect(m_pExportSeries, &QPushButton::clicked, this, &CStationInfoView::ExportSeries);
    connect(m_pButtons[CStationInfoModel::VIEW_DATA], &QPushButton::clicked, this, [this] {
        // Without a selection the button does nothing.
        if (m_pStation && m_pFiles->currentItem() && m_pFiles->currentRow() >= 0)
            emit viewDataRequested(m_pFiles->currentItem()->text());
    });
    connect(m_pButtons[CStationInfoModel::PROGRAM_VELUNIT], &QPushButton::clicked, this,
            &CStationInfoView::ProgramVelunit);
    connect(m_pButtons[CStationInfoModel::LISTEN_REALTIME], &QPushButton::clicked, this,
            [this] { ListenRealtime(); });
    connect(m_pButtons[CStationInfoModel::PROGRAM_FLOWCOMPUTER], &QPushButton::clicked, this,
            &CStationInfoView::ProgramFlowComputer);
    connect(m_pRating, &QPushButton::clicked, this, &CStationInfoView::OpenRating);
    connect(m_pFiles, &QListWidget::currentRowChanged, this, [this](int row) {
        m_model.m_nSelected = row;
        ShowDataSummary();
    });

    ShowStation(nullptr);
}

CStationInfoView::~CStationInfoView() = default;

QGridLayout* CStationInfoView::BuildHeader()
{
    QFont big(QStringLiteral("Arial"));
    big.setPixelSize(18);
    big.setWeight(QFont::Normal);

    auto* header = new QGridLayout;
    header->setHorizontalSpacing(12);
    header->setColumnStretch(1, 1);
    m_pSiteName = AddField(header, tr("Site Name:"), big);
    m_pLocation = AddField(header, tr("Location:"), big);
    m_pCreated = AddField(header, tr("Created:"), big);
    m_pOrientation = AddField(header, tr("Orientation:"), big);
    // Two lines are kept for the location, so that a long one does not push the drawing and
    // the data files out of a window sized for one line.
    m_pLocation->setWordWrap(true);
    m_pLocation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pLocation->setMinimumHeight(2 * QFontMetrics(big).lineSpacing());
    m_pLocation->setMinimumWidth(260);
    return header;
}

QVBoxLayout* CStationInfoView::BuildChannel()
{
    m_pCaption = new QLabel;
    m_pCaption->setAlignment(Qt::AlignHCenter);
    m_pPreview = new CChannelPreviewCtrl;
    m_pPreview->setMinimumSize(300, 170);
    auto* channel = new QVBoxLayout;
    channel->addWidget(m_pCaption);
    channel->addWidget(m_pPreview, 1);
    return channel;
}

QGroupBox* CStationInfoView::BuildDataFiles()
{
    m_pFiles = new QListWidget;
    m_pFiles->setMinimumWidth(130);
    m_pFiles->setFixedHeight(100);
    auto* summary = new QFormLayout;
    summary->setLabelAlignment(Qt::AlignRight);
    m_pStart = AddField(summary, tr("Start Time:"));
    m_pStop = AddField(summary, tr("Stop Time:"));
    m_pEnsembles = AddField(summary, tr("Ensembles:"));
    m_pStageRange = AddField(summary, tr("Stage Range:"));
    m_pVelocityRange = AddField(summary, tr("Velocity Range:"));
    m_pFlowRange = AddField(summary, tr("Flow Range:"));
    m_pEnsembleType = AddField(summary, tr("Ensemble Type:"));
    auto* data = new QGroupBox(tr("Data Files"));
    auto* dataRow = new QHBoxLayout(data);
    dataRow->addWidget(m_pFiles, 2);
    dataRow->addLayout(summary, 3);
    return data;
}

QVBoxLayout* CStationInfoView::BuildButtons()
{
    const char* captions[] = {"Configure",       "View Data",       "Refresh",
                              "Listen Realtime", "Program Velunit", "Program FlowComputer"};
    // One width for the column, wide enough that the longest caption keeps a margin of
    // its own on each side inside its button.
    int width = 150;
    for (int i = 0; i < CStationInfoModel::BUTTON_COUNT; ++i) {
        m_pButtons[i] = new QPushButton(tr(captions[i]));
        width = std::max(width, m_pButtons[i]->fontMetrics().horizontalAdvance(m_pButtons[i]->text()) +
                                    2 * kCaptionMargin);
    }
    m_pExportSeries = new QPushButton(tr("Export Series..."));
    m_pRating = new QPushButton(tr("Velocity Rating..."));
    for (QPushButton* extra : {m_pExportSeries, m_pRating})
        width = std::max(width, extra->fontMetrics().horizontalAdvance(extra->text()) + 2 * kCaptionMargin);
    for (QPushButton* button : m_pButtons)
        button->setMinimumWidth(width);
    m_pExportSeries->setMinimumWidth(width);
    m_pRating->setMinimumWidth(width);

    m_pPort = new QComboBox;
    for (int port = 1; port <= 8; ++port)
        m_pPort->addItem(QStringLiteral("COM %1").arg(port));
    auto* comms = new QGroupBox(tr("Communications"));
    auto* commsLayout = new QVBoxLayout(comms);
    commsLayout->addWidget(m_pPort);
    commsLayout->addWidget(m_pButtons[CStationInfoModel::LISTEN_REALTIME]);
    commsLayout->addWidget(m_pButtons[CStationInfoModel::PROGRAM_VELUNIT]);
    commsLayout->addWidget(m_pButtons[CStationInfoModel::PROGRAM_FLOWCOMPUTER]);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_pButtons[CStationInfoModel::CONFIGURE]);
    buttons->addWidget(m_pButtons[CStationInfoModel::VIEW_DATA]);
    buttons->addWidget(m_pButtons[CStationInfoModel::REFRESH]);
    buttons->addWidget(m_pExportSeries);
    buttons->addWidget(m_pRating);
    buttons->addSpacing(8);
    buttons->addWidget(comms);
    buttons->addStretch(1);
    return buttons;
}

QLabel* CStationInfoView::AddField(QFormLayout* form, const QString& label)
{
    auto* value = new QLabel;
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(new QLabel(label), value);
    m_arrFields.append({label, value});
    return value;
}

QLabel* CStationInfoView::AddField(QGridLayout* grid, const QString& label, const QFont& font)
{
    // Labels stay at the top of their row, beside the first line of a longer value.
    auto* name = new QLabel(label);
    auto* value = new QLabel;
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    name->setFont(font);
    value->setFont(font);
    const int row = grid->rowCount();
    grid->addWidget(name, row, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(value, row, 1, Qt::AlignLeft | Qt::AlignTop);
    m_arrFields.append({label, value});
    return value;
}

QString CStationInfoView::FieldText(const QString& label) const
{
    for (const auto& field : m_arrFields)
        if (field.first == label)
            return field.second->text();
    return {};
}

void CStationInfoView::ShowStation(CStation* station)
{
    m_pStation = station;
    m_model.ShowStation(station, m_app.GetLoadProblem());
    m_pPreview->ShowStation(station);
    StationToControls();
    SummaryToControls();
    {
        const QSignalBlocker block(m_pFiles);
        m_pFiles->clear();
    }
    ApplyButtonStates();
    if (station) {
        RefreshDataList();
        emit titleChanged(QString::fromStdString(m_model.m_strTitle));
    }
    m_pPort->setCurrentIndex(m_model.m_nPortIndex);
}

void CStationInfoView::RefreshDataList()
{
    if (!m_pStation)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int previous = m_pFiles->currentRow();
    std::vector<std::string> names;
    m_app.GetDataFiles(*m_pStation, names);
    {
        // Reading many files takes a while: say so before the work starts.
        const QSignalBlocker block(m_pFiles);
        m_pFiles->clear();
        m_pFiles->addItem(tr("Please wait..."));
        m_pFiles->repaint();
    }
    m_pStation->RemoveMissingSummaries(names);
    for (const std::string& name : names)
        if (!m_pStation->HasSummary(name))
            m_pStation->UpdateSummary(name); // an unreadable file simply gets no summary
    if (m_pStation->IsModified())
        m_pStation->Save(); // a failure is not reported: the summaries come back next time
    m_model.SetDataFiles(names, previous);
    {
        const QSignalBlocker block(m_pFiles);
        m_pFiles->clear();
        for (const std::string& name : m_model.m_arrFiles)
            m_pFiles->addItem(QString::fromStdString(name));
        if (m_model.m_nSelected >= 0)
            m_pFiles->setCurrentRow(m_model.m_nSelected);
    }
    ApplyButtonStates();
    ShowDataSummary();
    QApplication::restoreOverrideCursor();
}

void CStationInfoView::ShowDataSummary()
{
    if (!m_pStation)
        return;
    m_model.ShowDataSummary(*m_pStation);
    SummaryToControls();
}

void CStationInfoView::Refresh()
{
    if (!m_pStation)
        return;
    m_pStation->ClearSummaries();
    RefreshDataList();
}

QString CStationInfoView::SelectedPort() const
{
    const int index = m_pPort->currentIndex();
    return index < 0 ? QString() : QStringLiteral("COM %1").arg(index + 1);
}

IPortOpener* CStationInfoView::PortOpener()
{
    // Ports are looked up in the program's own settings file (the one --config names), read
    // afresh at every open so that a mapping changed meanwhile counts.
    if (!m_pPortOpener) {
        const std::filesystem::path path = m_app.Settings().GetPath();
        m_pPortOpener =
            std::make_unique<CTtyPortOpener>([path](const std::string& key) -> std::optional<std::string> {
                CSettingsStore store(path);
                if (!store.Load())
                    return std::nullopt;
                return store.Get(key);
            });
    }
    return m_pPortOpener.get();
}

std::unique_ptr<CCommunicationsDlg> CStationInfoView::MakeCommunicationsDlg()
{
    const QString port = SelectedPort();
    if (!m_pStation || port.isEmpty())
        return nullptr;
    SCommunicationsSetup setup;
    setup.m_strSiteDir = m_app.GetSiteDir();
    setup.m_pOpener = PortOpener();
    auto dialog = std::make_unique<CCommunicationsDlg>(*m_pStation, port.toStdString(), setup, this);
    CCommunicationsDlg::SPrompts prompts;
    prompts.m_launch = [this](std::unique_ptr<CSerialPort> open) {
        return LaunchRealTimeView(std::move(open)) != nullptr;
    };
    if (unattended::IsOn()) {
        // Nobody is at the screen: messages go to standard error and fail the run, every
        // question takes No.
        prompts.m_show = [this](const std::string& text) {
            QString line = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
            unattended::Report(line);
            m_app.FailGrab(line.replace(QLatin1Char('\n'), QLatin1Char(' ')).toStdString());
        };
        prompts.m_ask = [](const std::string& question) {
            unattended::Report(QString::fromLatin1(question.data(), static_cast<qsizetype>(question.size())) +
                               QStringLiteral(" (answered No)"));
            return false;
        };
        prompts.m_askOffset = [](int&) { return false; };
    }
    dialog->SetPrompts(std::move(prompts));
    return dialog;
}

void CStationInfoView::ProgramVelunit()
{
    if (auto dialog = MakeCommunicationsDlg())
        dialog->exec();
}

CCommunicationsDlg* CStationInfoView::OpenCommunications(std::function<void(bool connected)> opened)
{
    CCommunicationsDlg* dialog = MakeCommunicationsDlg().release();
    if (!dialog)
        return nullptr;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &CCommunicationsDlg::opened, this, [dialog, opened] {
        if (opened)
            opened(dialog->Controller().IsTimerRunning());
    });
    dialog->open();
    return dialog;
}

CRealTimeView* CStationInfoView::ListenRealtime()
{
    const QString port = SelectedPort();
    if (!m_pStation || port.isEmpty())
        return nullptr;
    SLiveRecorderSetup setup;
    setup.m_strStationDir = m_app.GetStationDirectory(*m_pStation);
    setup.m_pOpener = PortOpener();
    auto view = std::make_unique<CRealTimeView>(*m_pStation, port.toStdString(), std::move(setup));
    if (!view->IsPortOpen()) {
        Message(CRealTimeView::PortErrorText(port.toStdString()).toStdString());
        return nullptr;
    }
    CRealTimeView* shown = view.release();
    OpenRealTimeView(shown);
    return shown;
}

CRealTimeView* CStationInfoView::LaunchRealTimeView(std::unique_ptr<CSerialPort> port)
{
    if (!m_pStation || !port)
        return nullptr;
    CRealTimeView* view = nullptr;
    try {
        SLiveRecorderSetup setup;
        setup.m_strStationDir = m_app.GetStationDirectory(*m_pStation);
        view = new CRealTimeView(*m_pStation, std::move(port), std::move(setup));
    } catch (const std::exception&) {
        return nullptr;
    }
    OpenRealTimeView(view);
    return view;
}

void CStationInfoView::OpenRealTimeView(CRealTimeView* view)
{
    emit realTimeViewOpened(view);
    if (!view->parent()) {
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->resize(640, 490);
        view->show();
    }
    view->setFocus();
}

void CStationInfoView::Message(const std::string& text)
{
    if (m_pPrompter)
        m_pPrompter->ShowMessage(text);
    else
        QMessageBox::warning(this, QStringLiteral("Tidewell"), QString::fromStdString(text));
}

void CStationInfoView::ProgramFlowComputer()
{
    const QString port = SelectedPort();
    if (!m_pStation || port.isEmpty())
        return;
    {
        CProgramFlowComputerDlg dialog(*m_pStation, port.toStdString(), PortOpener(), nullptr, this);
        dialog.exec();
    }
    Refresh();
}

void CStationInfoView::OpenRating()
{
    if (!m_pStation)
        return;
    // Data views opened afterwards read the station file the window saved; this view
    // reads the files again for the ranges the new model gives.
    OpenVelocityRating(this, *m_pStation, QString::fromStdString(m_app.GetStationDirectory(*m_pStation)),
                       [this] { Refresh(); });
}

void CStationInfoView::Configure()
{
    if (!m_pStation || !m_pPrompter)
        return;
    auto copy = std::make_unique<CStation>(*m_pStation);
    if (!m_pPrompter->EditStation(*copy, false))
        return;
    const bool hasSummaries = copy->GetSummaryCount() > 0;
    // The application replaces the current station, writes it and shows it here again.
    m_app.ReplaceStation(std::move(copy));
    if (!hasSummaries)
        RefreshDataList();
}

void CStationInfoView::ExportSeries()
{
    if (!m_pStation)
        return;
    CSeriesExportDialog dialog(*m_pStation, m_app.GetStationDirectory(*m_pStation), m_model.m_arrFiles, this);
    dialog.exec();
}

void CStationInfoView::StationToControls()
{
    m_pSiteName->setText(QString::fromStdString(m_model.m_strSiteName));
    m_pLocation->setText(QString::fromStdString(m_model.m_strLocation));
    m_pCreated->setText(QString::fromStdString(m_model.m_strCreated));
    m_pOrientation->setText(QString::fromStdString(m_model.m_strOrientation));
    m_pCaption->setText(QString::fromStdString(m_model.m_strCaption));
    setWindowTitle(QString::fromStdString(m_model.m_strTitle));
}

void CStationInfoView::SummaryToControls()
{
    m_pStart->setText(QString::fromStdString(m_model.m_strStart));
    m_pStop->setText(QString::fromStdString(m_model.m_strStop));
    m_pEnsembles->setText(QString::fromStdString(m_model.m_strEnsembles));
    m_pStageRange->setText(QString::fromStdString(m_model.m_strStageRange));
    m_pVelocityRange->setText(QString::fromStdString(m_model.m_strVelocityRange));
    m_pFlowRange->setText(QString::fromStdString(m_model.m_strFlowRange));
    m_pEnsembleType->setText(QString::fromStdString(m_model.m_strEnsembleType));
}

void CStationInfoView::ApplyButtonStates()
{
    m_pRating->setEnabled(m_pStation != nullptr);
    for (int i = 0; i < CStationInfoModel::BUTTON_COUNT; ++i) {
        const bool available = m_arrMissing[i].isEmpty();
        m_pButtons[i]->setEnabled(available && m_model.m_bEnabled[i]);
        // What this station stops comes first: it stays true once the window exists.
        const QString reason = QString::fromStdString(m_model.m_strDisabledReason[i]);
        m_pButtons[i]->setToolTip(reason.isEmpty() ? m_arrMissing[i] : reason);
    }
    const bool hasData = m_pStation && !m_model.m_arrFiles.empty();
    m_pExportSeries->setEnabled(hasData);
    m_pExportSeries->setToolTip(hasData ? tr("Export the station's computed series as CSV or WaterML 2.0")
                                        : tr("The station has no data files to export"));
}
