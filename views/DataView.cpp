#include "views/DataView.h"

#include "data/Units.h"
#include "station/Station.h"
#include "views/ContourCtrl.h"
#include "views/DataTableModel.h"
#include "views/GraphCtrl.h"
#include "views/HydrographCtrl.h"
#include "views/WhiskerCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

namespace
{

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// Fills a beam graph from what the model worked out for the current ensemble.
void FillBeamGraph(CGraphCtrl& ctrl, const SProfileGraph& graph)
{
    ctrl.Reset();
    // Room for the title above and for the labels and titles of both axes.
    ctrl.SetMargins(22, 32, 60, 10);
    ctrl.SetTitleFontHeight(14);
    CGraphModel& m = ctrl.Model();
    m.m_bXTickLabels = m.m_bYTickLabels = true;
    m.m_nMaxTicks = 5;
    if (graph.m_bFixedRange) {
        m.m_bAutoY = false;
        m.m_dYMin = SProfileGraph::FIXED_MIN;
        m.m_dYMax = SProfileGraph::FIXED_MAX;
    }
    for (int s = 0; s < 4; ++s) {
        ctrl.SetSeriesColor(SProfileGraph::COLORS[s][0], SProfileGraph::COLORS[s][1],
                            SProfileGraph::COLORS[s][2], s);
        ctrl.SetSeriesName(Q(graph.m_arrNames[static_cast<size_t>(s)]), s);
        const auto& points = graph.m_arrSeries[static_cast<size_t>(s)];
        for (size_t i = 0; i + 1 < points.size(); i += 2)
            ctrl.AddPoint(points[i], points[i + 1], s);
    }
    ctrl.SetTitle(Q(graph.m_strTitle));
    ctrl.SetXTitle(Q(graph.m_strXTitle));
    ctrl.SetYTitle(Q(graph.m_strYTitle));
    ctrl.update();
}

bool IsMovingKey(int key)
{
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

CDataView::CDataView(const CStation& station, CEnsembleList list, QWidget* parent)
    : QWidget(parent), m_pModel(std::make_unique<CDataViewModel>(station, std::move(list)))
{
    setFocusPolicy(Qt::StrongFocus);
    // The window icon is the application's own (set on the application object).
    setWindowTitle(Q(station.GetSiteName()));
    m_message = [this](const QString& text) { QMessageBox::warning(this, QStringLiteral("Tidewell"), text); };
    BuildPanes();
    ShowCurrent();
}

CDataView::~CDataView()
{
    // The table's model reads the view model's table: it goes first.
    if (m_pTable)
        m_pTable->setModel(nullptr);
    delete m_pTableModel;
}

void CDataView::BuildPanes()
{
    const SDataViewLayout& layout = m_pModel->Layout();
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    // With no pane chosen, the view stays empty.
    if (layout.m_arrPanes.empty())
        return;
    m_pPanes = new QSplitter(Qt::Vertical);
    m_pPanes->setChildrenCollapsible(false);
    box->addWidget(m_pPanes);
    for (DataPane pane : layout.m_arrPanes) {
        QWidget* widget = nullptr;
        switch (pane) {
        case DataPane::Hydrograph:
            m_pHydrograph = new CHydrographCtrl;
            m_pHydrograph->SetHydrograph(&m_pModel->Hydrograph());
            connect(m_pHydrograph, &CHydrographCtrl::timeClicked, this, [this](double t) {
                if (m_pModel->TimeClicked(t))
                    ShowCurrent();
            });
            widget = m_pHydrograph;
            break;
        case DataPane::Whisker:
            m_pWhisker = new CWhiskerCtrl;
            widget = m_pWhisker;
            break;
        case DataPane::BeamGraphs:
            m_pBeamPanes = new QSplitter(Qt::Horizontal);
            m_pBeamPanes->setChildrenCollapsible(false);
            for (BeamGraph graph : layout.m_arrBeamGraphs) {
                auto* ctrl = new CGraphCtrl;
                ctrl->setMinimumSize(SDataViewLayout::MIN_PANE_SIZE, SDataViewLayout::MIN_PANE_SIZE);
                WatchKeys(ctrl);
                m_pBeamPanes->addWidget(ctrl);
                m_beamGraphs[graph] = ctrl;
            }
            widget = m_pBeamPanes;
            break;
        case DataPane::Contours: {
            m_pContours = new CContourCtrl;
            SetContourSource();
            connect(m_pContours, &CContourCtrl::timeClicked, this, [this](double t) {
                if (m_pModel->TimeClicked(t))
                    ShowCurrent();
            });
            widget = m_pContours;
            break;
        }
        case DataPane::Table:
            BuildTable();
            widget = m_pTable;
            break;
        }
        widget->setMinimumSize(SDataViewLayout::MIN_PANE_SIZE, SDataViewLayout::MIN_PANE_SIZE);
        WatchKeys(widget);
        m_pPanes->addWidget(widget);
        // Shares of the height: the graphs with axes and the table get more than the
        // whisker graph and the contours.
        const int share = pane == DataPane::Whisker || pane == DataPane::Contours ? 2 : 3;
        m_pPanes->setStretchFactor(m_pPanes->count() - 1, share);
        m_arrShares.push_back(share);
    }
}

void CDataView::SetContourSource()
{
    const ViewUnits& units = m_pModel->Units();
    const CHydrograph& hydrograph = m_pModel->Hydrograph();
    const CGraphModel& axis = hydrograph.Axis(CHydrograph::STAGE);
    const double tMin = axis.HasXRange() ? axis.m_dXMin : 0.0;
    const double tMax = axis.HasXRange() ? axis.m_dXMax : -1.0;
    const CDataViewModel* model = m_pModel.get();
    m_pContours->SetSource(
        [model, tMin, tMax](int columns) {
            return BuildContourGrid(model->List(), model->Hydrograph().Times(), tMin, tMax, columns,
                                    model->Station(), model->Units());
        },
        tMin, tMax, QStringLiteral("Y (%1)").arg(Q(UnitAbbreviation(units[UNIT_KIND_LENGTH]))),
        QStringLiteral("X Velocity (%1)").arg(Q(UnitAbbreviation(units[UNIT_KIND_VELOCITY]))));
}

void CDataView::BuildTable()
{
    m_pTable = new QTableView;
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setWordWrap(false);
    m_pTable->verticalHeader()->hide();
    m_pTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_pTable->horizontalHeader()->setHighlightSections(false);
    // The column widths are fixed, so a long title takes more lines rather than being cut.
    m_pTable->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment(Qt::AlignCenter | static_cast<Qt::AlignmentFlag>(Qt::TextWordWrap)));
    // A small font, so that a full date and time fits its 120 pixels.
    QFont font = m_pTable->font();
    font.setPixelSize(11);
    m_pTable->setFont(font);
    m_pTable->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    try {
        m_pTableModel = new CDataTableModel(m_pModel->Table());
        m_pTable->setModel(m_pTableModel);
    } catch (const std::bad_alloc&) {
        Message(QString::fromLatin1(kOutOfMemory));
    }
    const CDataTable& table = m_pModel->Table();
    const QFontMetrics fm(font);
    for (int c = 0; c < table.GetColumnCount(); ++c) {
        int width = CDataTable::ColumnWidth(table.GetColumnType(c));
        // Widths were chosen for a narrower font: a full time stamp is never cut short.
        if (table.GetColumnType(c) == DATATYPE_DATETIME)
            width = std::max(width, fm.horizontalAdvance(QStringLiteral("0000/00/00 00:00:00")) + 12);
        m_pTable->setColumnWidth(c, width);
    }
    m_pTable->horizontalHeader()->setMinimumHeight(3 * fm.height() + 8);
    if (m_pTable->selectionModel())
        connect(m_pTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& current) {
                    // A click (or the table's own keys with Shift or Ctrl) chose the row;
                    // the selection is the table's to keep.
                    if (m_bSyncingTable || !current.isValid())
                        return;
                    m_pModel->RowClicked(static_cast<size_t>(current.row()));
                    ShowCurrent(false);
                });
}

void CDataView::WatchKeys(QWidget* widget)
{
    widget->installEventFilter(this);
    if (auto* view = qobject_cast<QAbstractScrollArea*>(widget))
        view->viewport()->installEventFilter(this);
}

CGraphCtrl* CDataView::BeamGraphCtrl(BeamGraph graph) const
{
    const auto it = m_beamGraphs.find(graph);
    return it == m_beamGraphs.end() ? nullptr : it->second;
}

void CDataView::ShowCurrent()
{
    ShowCurrent(true);
}

void CDataView::ShowCurrent(bool selectRow)
{
    CDataViewModel& model = *m_pModel;
    if (model.GetCount() == 0)
        return;
    model.SetCurrent(model.GetCurrent());
    const double t = model.CurrentTime();
    if (m_pHydrograph)
        m_pHydrograph->SetCursorTime(t);
    if (m_pContours)
        m_pContours->SetCursorTime(t);
    if (m_pWhisker) {
        m_pWhisker->SetWhiskers(model.CurrentWhisker(), Q(UnitAbbreviation(model.Units()[UNIT_KIND_LENGTH])));
        m_pWhisker->update();
    }
    for (const auto& [graph, ctrl] : m_beamGraphs)
        FillBeamGraph(*ctrl, model.CurrentBeamGraph(graph));
    if (m_pTable && m_pTableModel && selectRow) {
        m_bSyncingTable = true;
        const QModelIndex index = m_pTableModel->index(static_cast<int>(model.GetCurrent()), 0);
        m_pTable->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
        m_pTable->scrollTo(index);
        m_bSyncingTable = false;
    }
}

void CDataView::AddEnsemble(const CEnsemble& ensemble)
{
    if (m_pTableModel)
        m_pTableModel->BeginAppend(1);
    m_pModel->AddEnsemble(ensemble);
    if (m_pTableModel)
        m_pTableModel->EndAppend();
    if (m_pHydrograph)
        m_pHydrograph->SetHydrograph(&m_pModel->Hydrograph());
    // The time axis has grown: the map is made again at its next paint.
    if (m_pContours)
        SetContourSource();
}

void CDataView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The first real size is shared out by the panes' shares; after that the splitter keeps
    // what the operator dragged.
    if (m_bSized || !m_pPanes || height() <= 0)
        return;
    int total = 0;
    for (int share : m_arrShares)
        total += share;
    QList<int> sizes;
    for (int share : m_arrShares)
        sizes.append(std::max(SDataViewLayout::MIN_PANE_SIZE, height() * share / std::max(1, total)));
    m_pPanes->setSizes(sizes);
    m_bSized = true;
}

bool CDataView::MoveByKey(int key)
{
    static const std::map<int, CDataViewModel::Key> keys = {
        {Qt::Key_Right, CDataViewModel::Key::Right},   {Qt::Key_Down, CDataViewModel::Key::Down},
        {Qt::Key_Left, CDataViewModel::Key::Left},     {Qt::Key_Up, CDataViewModel::Key::Up},
        {Qt::Key_Home, CDataViewModel::Key::Home},     {Qt::Key_End, CDataViewModel::Key::End},
        {Qt::Key_PageUp, CDataViewModel::Key::PageUp}, {Qt::Key_PageDown, CDataViewModel::Key::PageDown}};
    const auto it = keys.find(key);
    if (it == keys.end())
        return false;
    m_pModel->MoveBy(it->second);
    ShowCurrent();
    return true;
}

bool CDataView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            Copy();
            return true;
        }
        // Shift and Ctrl with the keys are the table's own (extending the selection).
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier && IsMovingKey(key->key()))
            return MoveByKey(key->key());
    }
    return QWidget::eventFilter(watched, event);
}

void CDataView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    if (!MoveByKey(event->key()))
        QWidget::keyPressEvent(event);
}

std::vector<size_t> CDataView::SelectedRows() const
{
    std::vector<size_t> rows;
    if (!m_pTable || !m_pTable->selectionModel())
        return rows;
    for (const QItemSelectionRange& range : m_pTable->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(static_cast<size_t>(r));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QString CDataView::CopyText() const
{
    return Q(m_pModel->Table().Text(SelectedRows(), CDataTable::TextForm::Tabs));
}

void CDataView::Copy()
{
    try {
        QApplication::clipboard()->setText(CopyText());
    } catch (const std::bad_alloc&) {
        Message(QString::fromLatin1(kOutOfMemory));
    }
}

bool CDataView::ExportCsv(const QString& path)
{
    bool written = false;
    try {
        written = m_pModel->Table().ExportCsv(path.toStdString(), SelectedRows());
    } catch (const std::bad_alloc&) {
        Message(QString::fromLatin1(kOutOfMemory));
        return false;
    }
    if (!written)
        Message(
            QStringLiteral("Error, could not write the file \"%1\", check the folder exists and is not write "
                           "protected")
                .arg(path));
    return written;
}

void CDataView::Export()
{
    const QString name = Q(m_pModel->Station().GetSiteName()) + QStringLiteral(".csv");
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Export"), name, tr("CSV files (*.csv);;All files (*)"));
    if (!path.isEmpty())
        ExportCsv(path);
}

void CDataView::Message(const QString& text)
{
    if (m_message)
        m_message(text);
}
