#pragma once
// The cross-section preview of a station's channel, drawn with the graph control: the
// section fitted to the plot at equal scales and centred, axes with labelled round ends, and
// the instrument as a filled triangle on the side it is mounted on.
#include "present/ChannelPreview.h"
#include "views/GraphCtrl.h"

class CStation;

class CChannelPreviewCtrl : public CGraphCtrl
{
    Q_OBJECT
  public:
    explicit CChannelPreviewCtrl(QWidget* parent = nullptr);

    // Draws the station's channel; null clears the drawing.
    void ShowStation(const CStation* station);

    const CChannelPreview& Preview() const { return m_preview; }
    // The plot rectangle (the axes' ends), and the three corners of the instrument mark;
    // empty when there is none.
    QRect PlotArea() const;
    QPolygon InstrumentMark() const;

    // The size of the instrument mark: its depth from the wall and half its base, in pixels.
    static constexpr int MARK_DEPTH = 9, MARK_HALF_BASE = 5;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void FitLabelMargins();
    void FitAspect();
    void FitSection();
    CChannelPreview m_preview;
    bool m_bHasXTitle = false;
};
