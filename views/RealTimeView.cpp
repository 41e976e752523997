#include "views/RealTimeView.h"

#include "station/Station.h"
#include "station/StationFlowSettings.h"
#include "views/DataTableModel.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

CRealTimeView::CRealTimeView(const CStation& station, const std::string& portName, SLiveRecorderSetup setup,
                             QWidget* parent)
    : CDataView(station, CEnsembleList(), parent)
{
    setup.m_pListener = this;
    m_pRecorder = std::make_unique<CLiveRecorder>(portName, station, std::move(setup));
    Init(station);
    if (m_pRecorder->IsPortOpen())
        Begin();
}

CRealTimeView::CRealTimeView(const CStation& station, std::unique_ptr<CSerialPort> port,
                             SLiveRecorderSetup setup, QWidget* parent)
    : CDataView(station, CEnsembleList(), parent)
{
    setup.m_pListener = this;
    m_pRecorder = std::make_unique<CLiveRecorder>(std::move(port), station, std::move(setup));
    Init(station);
    Begin();
}

CRealTimeView::~CRealTimeView()
{
    // The recorder calls back into this window: it goes while the window is still whole.
    m_pTimer->stop();
    m_pRecorder.reset();
}

void CRealTimeView::Init(const CStation& station)
{
    m_settings = FlowSettingsTableOf(station);
    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(CLiveRecorder::TICK_MS);
    connect(m_pTimer, &QTimer::timeout, this, [this] { Tick(); });
    m_pStatus = new QLabel(this);
    m_pStatus->setWordWrap(true);
    m_pStatus->setStyleSheet(QStringLiteral("color: #b00000; padding: 2px;"));
    m_pStatus->hide();
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->addWidget(m_pStatus);
    if (CDataTableModel* table = TableModel()) {
        // Room for the moving averages under titles of up to three lines.
        Table()->horizontalHeader()->setMinimumHeight(4 * Table()->fontMetrics().height() + 8);
        table->SetSecondHeaderRow(MovingAverageRow());
    }
}

void CRealTimeView::Begin()
{
    // Whatever waited on the line before the window came is not live data.
    m_pRecorder->Start();
    m_pTimer->start();
}

QString CRealTimeView::PortErrorText(const std::string& portName)
{
    const QString name = QString::fromStdString(portName);
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^COM\\s*(\\d+)$")).match(name);
    return QString::fromLatin1(kPortError)
        .replace(QStringLiteral("%d"), match.hasMatch() ? match.captured(1) : name);
}

std::vector<std::string> CRealTimeView::MovingAverageRow() const
{
    const CDataTable& table = Model().Table();
    std::vector<DataType> columns;
    for (int c = 0; c < table.GetColumnCount(); ++c)
        columns.push_back(table.GetColumnType(c));
    return m_pRecorder->MovingAverageRow(columns);
}

int CRealTimeView::Tick()
{
    return m_pRecorder->OnTick();
}

void CRealTimeView::OnEnsembleAdded(size_t index)
{
    const CEnsembleRef entry = m_pRecorder->List().GetAt(index);
    // The recorder computed it already; the view's list holds its own copy, computed the same way.
    const auto ensemble = BuildEnsembleAt(m_settings, entry.GetBytes(), entry.GetSize());
    if (!ensemble)
        return;
    AddEnsemble(*ensemble);
    Model().SetCurrent(static_cast<long>(Model().GetCount()) - 1);
    ShowCurrent();
    if (CDataTableModel* table = TableModel())
        table->SetSecondHeaderRow(MovingAverageRow());
}

void CRealTimeView::OnEnsembleDone(size_t index, bool recorded)
{
    // A good write ends a spell of trouble with the recording file.
    if (recorded && !m_pRecorder->IsPortLost())
        m_pStatus->hide();
    update();
    emit ensembleShown(static_cast<int>(index));
}

void CRealTimeView::OnRecordingWarning(const std::string& text)
{
    ShowStatus(text);
}

void CRealTimeView::OnPortLost(const std::string& text)
{
    // Nothing more will come; what was received stays on show.
    m_pTimer->stop();
    ShowStatus(text);
}

void CRealTimeView::ShowStatus(const std::string& text)
{
    m_pStatus->setText(QString::fromStdString(text));
    m_pStatus->show();
}

bool CRealTimeView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        m_pRecorder->OnKey(key->key());
        // A pane that leaves the key alone passes this same event up to the view.
        m_pCountedKey = key;
    } else if (event->type() == QEvent::KeyRelease) {
        m_pCountedKey = nullptr;
    }
    return CDataView::eventFilter(watched, event);
}

void CRealTimeView::keyPressEvent(QKeyEvent* event)
{
    if (event != m_pCountedKey)
        m_pRecorder->OnKey(event->key());
    m_pCountedKey = nullptr;
    CDataView::keyPressEvent(event);
}

void CRealTimeView::closeEvent(QCloseEvent* event)
{
    m_pTimer->stop();
    m_pRecorder->Close();
    CDataView::closeEvent(event);
}
