#pragma once
// The QVD hydrograph: stage, velocity and flow against time, each on its own value axis
// (stage on the left, velocity on the right, flow inside the right edge, each labelled in
// its series' colour), with a cursor line at the current entry. The curves are drawn once
// per size into a picture; moving the cursor only draws the line again.
#include "present/GraphModel.h"

#include <QPixmap>
#include <QWidget>

#include <array>

class CHydrograph;

class CHydrographCtrl : public QWidget
{
    Q_OBJECT
  public:
    explicit CHydrographCtrl(QWidget* parent = nullptr);

    // The hydrograph drawn (kept by the caller; null draws an empty graph).
    void SetHydrograph(const CHydrograph* hydrograph);
    // The time marked by the cursor line; no data hides it.
    void SetCursorTime(double t);
    double CursorTime() const { return m_dCursor; }
    // The time at a pixel column of the plot (clamped into the time axis); no data when the
    // graph has no time range.
    double TimeAtPixel(int x) const;
    // The axis of one series as drawn (ranges, steps, margins).
    const CGraphModel& Axis(int series) const { return m_arrAxes[static_cast<size_t>(series)]; }
    QRect PlotRect() const;

  signals:
    void timeClicked(double t);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void Render(QPainter& dc);

    const CHydrograph* m_pHydrograph = nullptr;
    std::array<CGraphModel, 3> m_arrAxes;
    double m_dCursor;
    QPixmap m_cache;
};
