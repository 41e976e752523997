#pragma once
// The whisker graph: the acoustic path across the channel as a line along the bins that
// fit, and one whisker per bin from its centre. A unit on the right bank looks the other
// way, so its path is drawn from the right edge.
#include "present/ProfileGraphs.h"
#include "views/GraphCtrl.h"

class CWhiskerCtrl : public CGraphCtrl
{
    Q_OBJECT
  public:
    explicit CWhiskerCtrl(QWidget* parent = nullptr);

    // Resets the graph and fills it from the whisker graph of an ensemble.
    void SetWhiskers(const SWhiskerGraph& graph, const QString& lengthUnit);
    const SWhiskerGraph& Whiskers() const { return m_graph; }

    bool DataToPixel(double x, double y, QPoint& pixel) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPointF MapUnchecked(double x, double y) const;
    void DrawDistanceLabels(QPainter& dc);

    SWhiskerGraph m_graph;
};
