#include "ui/VelocityRatingDialog.h"

#include "data/DateTime.h"
#include "station/Station.h"

#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace
{

// Time stamps (days since 30 December 1899) and the picker's date-times, to the second.
QDateTime ToQDateTime(double days)
{
    int y, mo, d, h, mi, s;
    if (!CDateTime(days).GetParts(y, mo, d, h, mi, s))
        return QDateTime::currentDateTime();
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

double FromQDateTime(const QDateTime& dt)
{
    return CDateTime::FromParts(dt.date().year(), dt.date().month(), dt.date().day(), dt.time().hour(),
                                dt.time().minute(), dt.time().second())
        .m_dt;
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

void CRatingGraphCtrl::SetSeriesPoints(int series, int kind, const QColor& color)
{
    if (series < 0 || series >= CGraphModel::MAX_SERIES)
        return;
    m_arrKind[series] = kind;
    m_arrColor[series] = color;
    SetSeriesColor(color.red(), color.green(), color.blue(), series);
}

void CRatingGraphCtrl::DrawSeries(QPainter& dc, int series)
{
    const int kind = m_arrKind[series];
    if (kind == 0) {
        CGraphCtrl::DrawSeries(dc, series);
        return;
    }
    const auto& values = Model().m_arrSeries[series];
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, kind == 3);
    for (size_t i = 0; i + 1 < values.size(); i += 2) {
        QPoint p;
        if (!DataToPixel(values[i], values[i + 1], p))
            continue;
        const QRect box(p.x() - 3, p.y() - 3, 7, 7);
        if (kind == 1) {
            dc.fillRect(box, m_arrColor[series]);
        } else if (kind == 2) {
            dc.setPen(QPen(m_arrColor[series], 1));
            dc.setBrush(Qt::white);
            dc.drawRect(box.adjusted(0, 0, -1, -1));
        } else {
            dc.setPen(QPen(m_arrColor[series], 2));
            dc.setBrush(Qt::NoBrush);
            dc.drawEllipse(p, 7, 7);
        }
    }
    dc.restore();
}

CVelocityRatingDialog::CVelocityRatingDialog(CStation& station, const QString& dataDirectory, QWidget* parent)
    : QDialog(parent), m_station(station)
{
    setWindowTitle(tr("Velocity Rating - %1").arg(Q(station.GetSiteName())));
    const std::string dir =
        dataDirectory.isEmpty() ? StationDataDirectory(station) : dataDirectory.toStdString();
    m_model.Open(&station, dir);

    auto* importButton = new QPushButton(tr("Import CSV..."));
    auto* saveButton = new QPushButton(tr("Save CSV..."));
    auto* addButton = new QPushButton(tr("Add Row"));
    auto* removeButton = new QPushButton(tr("Remove Row"));
    m_pModel = new QComboBox;
    for (const auto& title : CVelocityRatingModel::ModelTitles())
        m_pModel->addItem(Q(title));
    auto* tools = new QHBoxLayout;
    tools->addWidget(importButton);
    tools->addWidget(saveButton);
    tools->addSpacing(12);
    tools->addWidget(addButton);
    tools->addWidget(removeButton);
    tools->addStretch(1);
    tools->addWidget(new QLabel(tr("Model:")));
    tools->addWidget(m_pModel);

    m_pTable = new QTableWidget(0, CVelocityRatingModel::COLUMN_COUNT);
    m_pTable->verticalHeader()->setDefaultSectionSize(m_pTable->fontMetrics().height() + 6);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);

    m_pReport = new QPlainTextEdit;
    m_pReport->setReadOnly(true);
    m_pReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    m_pRatingGraph = new CRatingGraphCtrl;
    m_pResidualGraph = new CRatingGraphCtrl;
    for (CRatingGraphCtrl* graph : {m_pRatingGraph, m_pResidualGraph})
        graph->setMinimumSize(260, 240);

    auto* lower = new QSplitter(Qt::Horizontal);
    lower->addWidget(m_pReport);
    lower->addWidget(m_pRatingGraph);
    lower->addWidget(m_pResidualGraph);
    lower->setSizes({560, 310, 310});
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(m_pTable);
    split->addWidget(lower);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    m_pApplyStart = new QDateTimeEdit;
    m_pApplyStart->setDisplayFormat(QStringLiteral("yyyy/MM/dd, HH:mm:ss"));
    m_pApplyStart->setCalendarPopup(true);
    m_pApplyFrom = new QPushButton(tr("Apply from..."));
    m_pApplyStation = new QPushButton(tr("Apply as Station Model"));
    m_pStatus = new QLabel;
    m_pStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* closeButton = new QPushButton(tr("Close"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_pApplyFrom);
    bottom->addWidget(m_pApplyStart);
    bottom->addSpacing(12);
    bottom->addWidget(m_pApplyStation);
    bottom->addSpacing(12);
    bottom->addWidget(m_pStatus, 1);
    bottom->addWidget(closeButton);

    auto* rows = new QVBoxLayout(this);
    rows->addLayout(tools);
    rows->addWidget(split, 1);
    rows->addLayout(bottom);

    connect(importButton, &QPushButton::clicked, this, &CVelocityRatingDialog::Import);
    connect(saveButton, &QPushButton::clicked, this, &CVelocityRatingDialog::SaveCsv);
    connect(addButton, &QPushButton::clicked, this, [this] {
        m_model.AddRow();
        Refresh();
        m_pTable->setCurrentCell(m_model.GetRowCount() - 1, CVelocityRatingModel::COL_ID);
    });
    connect(removeButton, &QPushButton::clicked, this, [this] {
        m_model.RemoveRow(m_pTable->currentRow());
        Refresh();
    });
    connect(m_pModel, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_model.SetModel(static_cast<RatingModel>(index));
        Refresh();
    });
    connect(m_pTable, &QTableWidget::itemChanged, this, &CVelocityRatingDialog::ItemChanged);
    connect(m_pApplyFrom, &QPushButton::clicked, this, &CVelocityRatingDialog::ApplyFrom);
    connect(m_pApplyStation, &QPushButton::clicked, this, &CVelocityRatingDialog::ApplyAsStationModel);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    resize(1200, 760);
    Refresh();
}

bool CVelocityRatingDialog::ImportFile(const QString& path)
{
    const bool ok = m_model.Import(path.toStdString());
    m_pApplyStart->setDateTime(ToQDateTime(m_model.DefaultApplyStart()));
    m_pStatus->setText(ok ? tr("Imported %1").arg(path) : QString());
    Refresh();
    return ok;
}

void CVelocityRatingDialog::Import()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Import Measurements"), Q(StationDataDirectory(m_station)),
                                     tr("Measurements (*.csv);;All files (*)"));
    if (!path.isEmpty())
        ImportFile(path);
}

void CVelocityRatingDialog::SaveCsv()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save Measurements"), Q(StationDataDirectory(m_station)),
                                     tr("Measurements (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    std::string error;
    if (!m_model.Export(path.toStdString(), error))
        QMessageBox::warning(this, windowTitle(), tr("Error, %1.").arg(Q(error)));
    else
        m_pStatus->setText(tr("Saved %1").arg(path));
}

void CVelocityRatingDialog::ItemChanged(QTableWidgetItem* item)
{
    if (m_bFilling || !item)
        return;
    const int row = item->row(), column = item->column();
    if (column == CVelocityRatingModel::COL_EXCLUDE)
        m_model.SetExcluded(row, item->checkState() == Qt::Checked);
    else
        m_model.SetCell(row, column, item->text().toStdString());
    // The table is filled again after the edit has finished with the item.
    QMetaObject::invokeMethod(this, &CVelocityRatingDialog::Refresh, Qt::QueuedConnection);
}

void CVelocityRatingDialog::ApplyFrom()
{
    const QDateTime start = m_pApplyStart->dateTime();
    const QString question = tr("Add a calculation set with the fitted %1 model for data recorded after %2?")
                                 .arg(Q(RatingModelTitle(m_model.GetModel())),
                                      start.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    if (QMessageBox::question(this, windowTitle(), question) != QMessageBox::Yes)
        return;
    std::string message;
    const bool ok = m_model.ApplyFrom(FromQDateTime(start), message);
    m_pStatus->setText(Q(message));
    if (ok)
        emit stationChanged();
    else
        QMessageBox::warning(this, windowTitle(), Q(message));
}

void CVelocityRatingDialog::ApplyAsStationModel()
{
    const QString question = tr("Make the fitted %1 model the station's own velocity model?")
                                 .arg(Q(RatingModelTitle(m_model.GetModel())));
    if (QMessageBox::question(this, windowTitle(), question) != QMessageBox::Yes)
        return;
    std::string message;
    const bool ok = m_model.ApplyAsStationModel(message);
    m_pStatus->setText(Q(message));
    if (ok)
        emit stationChanged();
    else
        QMessageBox::warning(this, windowTitle(), Q(message));
}

void CVelocityRatingDialog::Refresh()
{
    FillTable();
    m_pReport->setPlainText(Q(m_model.Report()));
    FillGraphs();
    m_pApplyFrom->setEnabled(m_model.CanApply());
    m_pApplyStation->setEnabled(m_model.CanApply());
}

void CVelocityRatingDialog::FillTable()
{
    m_bFilling = true;
    const int current = m_pTable->currentRow(), currentColumn = m_pTable->currentColumn();
    m_pTable->setRowCount(m_model.GetRowCount());
    QStringList titles;
    for (int c = 0; c < CVelocityRatingModel::COLUMN_COUNT; ++c)
        titles << Q(m_model.ColumnTitle(c));
    m_pTable->setHorizontalHeaderLabels(titles);
    for (int r = 0; r < m_model.GetRowCount(); ++r) {
        for (int c = 0; c < CVelocityRatingModel::COLUMN_COUNT; ++c) {
            auto* item = new QTableWidgetItem;
            if (c == CVelocityRatingModel::COL_EXCLUDE) {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
                item->setCheckState(m_model.IsExcluded(r) ? Qt::Checked : Qt::Unchecked);
            } else {
                item->setText(Q(m_model.GetCell(r, c)));
                Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
                if (CVelocityRatingModel::IsEditable(c))
                    flags |= Qt::ItemIsEditable;
                else
                    item->setBackground(palette().alternateBase());
                item->setFlags(flags);
                if (c > CVelocityRatingModel::COL_PAIRED || c == CVelocityRatingModel::COL_DISCHARGE ||
                    c == CVelocityRatingModel::COL_GIVEN_STAGE)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (c == CVelocityRatingModel::COL_PAIRED && item->text() == QStringLiteral("bad row"))
                item->setForeground(Qt::red);
            if (c == CVelocityRatingModel::COL_RESIDUAL && m_model.IsOutlier(r))
                item->setForeground(Qt::red);
            if (m_model.IsExcluded(r))
                item->setForeground(Qt::gray);
            m_pTable->setItem(r, c, item);
        }
    }
    m_pTable->resizeColumnsToContents();
    if (current >= 0 && current < m_model.GetRowCount())
        m_pTable->setCurrentCell(current, currentColumn);
    m_bFilling = false;
}

void CVelocityRatingDialog::FillGraphs()
{
    const CVelocityRatingModel::SPlot plot = m_model.Plot();
    auto setUp = [](CRatingGraphCtrl* g, const QString& title, const QString& x, const QString& y,
                    bool time) {
        g->Reset();
        g->Model().m_bTimeAxis = time;
        g->Model().m_bXTickLabels = g->Model().m_bYTickLabels = g->Model().m_bGrid = true;
        g->SetMargins(30, 44, 64, 16);
        g->SetTitle(title);
        g->SetXTitle(x);
        g->SetYTitle(y);
        g->SetGridColor(QColor(200, 200, 200));
    };
    setUp(m_pRatingGraph, tr("Rating"), Q(m_model.IndexTitle()), Q(m_model.VelocityTitle()), false);
    m_pRatingGraph->SetSeriesPoints(0, 0, QColor(0, 90, 200));
    m_pRatingGraph->SetSeriesPoints(1, 1, QColor(0, 0, 0));
    m_pRatingGraph->SetSeriesPoints(2, 2, QColor(128, 128, 128));
    m_pRatingGraph->SetSeriesPoints(3, 3, QColor(220, 0, 0));
    for (const auto& [x, y] : plot.m_curve)
        m_pRatingGraph->AddPoint(x, y, 0);
    for (const auto& [x, y] : plot.m_fitted)
        m_pRatingGraph->AddPoint(x, y, 1);
    for (const auto& [x, y] : plot.m_excluded)
        m_pRatingGraph->AddPoint(x, y, 2);
    for (const auto& [x, y] : plot.m_outliers)
        m_pRatingGraph->AddPoint(x, y, 3);

    setUp(m_pResidualGraph, tr("Residuals"), Q(plot.m_strTimeTitle), Q(m_model.ResidualTitle()), false);
    m_pResidualGraph->SetSeriesPoints(0, 0, QColor(128, 128, 128));
    m_pResidualGraph->SetSeriesPoints(1, 1, QColor(0, 0, 0));
    m_pResidualGraph->SetSeriesPoints(2, 2, QColor(128, 128, 128));
    for (const auto& [x, y] : plot.m_zero)
        m_pResidualGraph->AddPoint(x, y, 0);
    for (const auto& [x, y] : plot.m_residuals)
        m_pResidualGraph->AddPoint(x, y, 1);
    for (const auto& [x, y] : plot.m_excludedResiduals)
        m_pResidualGraph->AddPoint(x, y, 2);
    for (CRatingGraphCtrl* g : {m_pRatingGraph, m_pResidualGraph}) {
        CGraphModel& model = g->Model();
        if (model.m_bEmpty) {
            g->SetMessage(tr("No paired measurements to draw"));
        } else {
            // A twentieth of room on every side, so that no marker is cut at the frame.
            model.RecomputeRanges();
            const double dx = std::max(model.m_dXMax - model.m_dXMin, 1e-9) / 20.0;
            const double dy = std::max(model.m_dYMax - model.m_dYMin, 1e-9) / 20.0;
            model.m_bAutoX = model.m_bAutoY = false;
            model.m_dXMin -= dx, model.m_dXMax += dx, model.m_dYMin -= dy, model.m_dYMax += dy;
        }
        g->update();
    }
}

CVelocityRatingDialog* OpenVelocityRating(QWidget* parent, CStation& station, const QString& dataDirectory,
                                          std::function<void()> changed, bool saveOnApply)
{
    auto* dialog = new CVelocityRatingDialog(station, dataDirectory, parent);
    dialog->Model().SetSaveOnApply(saveOnApply);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The window holds the station: nothing may replace or edit it meanwhile.
    dialog->setWindowModality(Qt::WindowModal);
    if (changed)
        QObject::connect(dialog, &CVelocityRatingDialog::stationChanged, dialog, std::move(changed));
    dialog->show();
    return dialog;
}
