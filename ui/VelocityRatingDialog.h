#pragma once
// The "Velocity Rating" window: reference discharge measurements paired with the station's
// recorded data, the fit of the velocity model chosen, its report and plots, and applying
// the model as a calculation set from a date or as the station's own model. Its decisions
// are CVelocityRatingModel's; this window moves values between it and the controls.
#include "present/VelocityRatingModel.h"
#include "views/GraphCtrl.h"

#include <QDialog>

#include <functional>

class CStation;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// A graph of measurements: the series marked as points are drawn as markers without lines,
// filled or hollow.
class CRatingGraphCtrl : public CGraphCtrl
{
    Q_OBJECT
  public:
    using CGraphCtrl::CGraphCtrl;
    // 0: a line (the default), 1: filled squares, 2: hollow squares, 3: a ring around a point.
    void SetSeriesPoints(int series, int kind, const QColor& color);

  protected:
    void DrawSeries(QPainter& dc, int series) override;

  private:
    int m_arrKind[CGraphModel::MAX_SERIES] = {};
    QColor m_arrColor[CGraphModel::MAX_SERIES];
};

class CVelocityRatingDialog : public QDialog
{
    Q_OBJECT
  public:
    CVelocityRatingDialog(CStation& station, const QString& dataDirectory, QWidget* parent = nullptr);

    CVelocityRatingModel& Model() { return m_model; }
    // Imports a measurements file as the "Import CSV..." button does, without asking for it.
    bool ImportFile(const QString& path);

    QTableWidget* Table() const { return m_pTable; }
    QComboBox* ModelChoice() const { return m_pModel; }
    QPlainTextEdit* ReportView() const { return m_pReport; }
    CRatingGraphCtrl* RatingGraph() const { return m_pRatingGraph; }
    CRatingGraphCtrl* ResidualGraph() const { return m_pResidualGraph; }
    QDateTimeEdit* ApplyStart() const { return m_pApplyStart; }

  signals:
    // The station was changed (a calculation set added, or its own model set) and, unless
    // the model was told otherwise, saved.
    void stationChanged();

  private:
    void Import();
    void SaveCsv();
    void ItemChanged(QTableWidgetItem* item);
    void ApplyFrom();
    void ApplyAsStationModel();
    void Refresh();
    void FillTable();
    void FillGraphs();

    CStation& m_station;
    CVelocityRatingModel m_model;
    bool m_bFilling = false;

    QTableWidget* m_pTable;
    QComboBox* m_pModel;
    QPlainTextEdit* m_pReport;
    CRatingGraphCtrl *m_pRatingGraph, *m_pResidualGraph;
    QDateTimeEdit* m_pApplyStart;
    QPushButton *m_pApplyFrom, *m_pApplyStation;
    QLabel* m_pStatus;
};

// Opens the window on a station whose data files lie in dataDirectory (empty: beside its
// station file). It is window-modal, so that nothing replaces or edits the station
// meanwhile, and deletes itself when closed; changed, when given, runs after each apply. The
// Velocity Model page and the station information view open it through this. Applying saves
// the station file; a page that edits a copy of the station and commits it on OK passes
// saveOnApply false, and applying then changes the copy only.
CVelocityRatingDialog* OpenVelocityRating(QWidget* parent, CStation& station,
                                          const QString& dataDirectory = {},
                                          std::function<void()> changed = {}, bool saveOnApply = true);
