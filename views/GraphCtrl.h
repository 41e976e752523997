#pragma once
// The one plotting control of the program: up to sixteen series of (x, y) points and grey
// cells, with axis ranges, ticks, labels, grid, axes and titles. The arithmetic lives in
// CGraphModel; this widget paints what the model says.
#include "present/GraphModel.h"
#include "present/PixelReduction.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>

class QPainter;

// Draws reduced polylines; a line of one point is drawn as a dot.
void DrawPolylines(QPainter& dc, const SPixelPolylines& lines);

class CGraphCtrl : public QWidget
{
    Q_OBJECT
  public:
    explicit CGraphCtrl(QWidget* parent = nullptr);

    void Reset();
    void AddPoint(double x, double y, int series) { m_model.AddPoint(x, y, series); }
    void AddCell(double x1, double y1, double x2, double y2, double level)
    {
        m_model.AddCell(x1, y1, x2, y2, level);
    }
    void SetAutoScale(bool on) { m_model.SetAutoScale(on); }
    void SetYStep(double step) { m_model.SetYStep(step); }
    void SetMargins(int top, int bottom, int left, int right)
    {
        m_model.SetMargins(top, bottom, left, right);
    }
    void SetSeriesColor(int r, int g, int b, int series);
    void SetSeriesMarker(bool marker, int series);
    // 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot.
    void SetSeriesPenStyle(int style, int series);

    void SetTitle(const QString& title) { m_strTitle = title; }
    void SetXTitle(const QString& title) { m_strXTitle = title; }
    void SetYTitle(const QString& title) { m_strYTitle = title; }
    void SetBackgroundColor(const QColor& c) { m_crBackground = c; }
    void SetAxesColor(const QColor& c) { m_crAxes = c; }
    void SetGridColor(const QColor& c) { m_crGrid = c; }
    void SetTitleFontHeight(int pixels) { m_nTitleFontHeight = pixels; }
    // Names of the series, shown as a small key in the top right corner of the plot.
    void SetSeriesName(const QString& name, int series);
    // A line of text centred in the plot area, for drawings that cannot be made (an
    // impossible channel shape); empty draws nothing.
    void SetMessage(const QString& message) { m_strMessage = message; }

    CGraphModel& Model() { return m_model; }
    const CGraphModel& Model() const { return m_model; }
    const QString& Message() const { return m_strMessage; }

    // Maps data into this widget's client area; false when the point is outside the ranges.
    virtual bool DataToPixel(double x, double y, QPoint& pixel) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    virtual void DrawSeries(QPainter& dc, int series);

  private:
    void DrawCells(QPainter& dc);
    void DrawGrid(QPainter& dc);
    void DrawFrame(QPainter& dc);
    void DrawTickLabels(QPainter& dc);
    void DrawAxes(QPainter& dc);
    void DrawTitles(QPainter& dc);
    void DrawKey(QPainter& dc);

  protected:
    QRect PlotRect() const;

  private:
    CGraphModel m_model;
    struct SeriesStyle {
        QColor color = Qt::black;
        bool marker = false;
        int penStyle = 0;
        QString name;
    };
    std::array<SeriesStyle, CGraphModel::MAX_SERIES> m_styles;
    QString m_strTitle, m_strXTitle, m_strYTitle, m_strMessage;
    QColor m_crBackground, m_crAxes, m_crGrid;
    int m_nGridPenStyle = 2;
    int m_nTitleFontHeight = 20, m_nAxisTitleFontHeight = 12, m_nTickFontHeight = 13;
    int m_nMarkerSize = 4;
};
