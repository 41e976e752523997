#pragma once
// The velocity contours: the X velocity of every bin against time as a colour map, blue
// upstream, white still, red downstream, with a colour bar on the right titled in the
// velocity unit. Empty cells (no data) show the background. The map is worked out once per
// plot width; the cursor line at the current entry is drawn over it.
#include "present/ContourMap.h"
#include "views/GraphCtrl.h"

#include <QImage>

#include <functional>

class CContourCtrl : public CGraphCtrl
{
    Q_OBJECT
  public:
    // Makes the grid for a number of pixel columns; the control calls it when its width changes.
    using GridSource = std::function<SContourGrid(int columns)>;

    explicit CContourCtrl(QWidget* parent = nullptr);

    // Time axis from tMin to tMax; titles of the distance axis and the colour bar.
    void SetSource(GridSource source, double tMin, double tMax, const QString& distanceTitle,
                   const QString& barTitle);
    void SetCursorTime(double t);
    // The grid drawn last (empty before the first paint).
    const SContourGrid& Grid() const { return m_grid; }
    // The grid for the present width, made now if it is not there yet.
    const SContourGrid& EnsureGrid();

  signals:
    void timeClicked(double t);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void DrawColourBar(QPainter& dc, const QRect& plot);

    GridSource m_source;
    SContourGrid m_grid;
    QImage m_image;
    int m_nGridColumns = -1;
    double m_dTMin = 0, m_dTMax = 0;
    double m_dCursor;
    QString m_strBarTitle;
};
