#pragma once
// The cross-section preview of a station's channel, drawn with the graph control.
#include "views/GraphCtrl.h"

class CStation;

class CChannelPreviewCtrl : public CGraphCtrl
{
    Q_OBJECT
  public:
    explicit CChannelPreviewCtrl(QWidget* parent = nullptr);

    // Draws the station's channel; null clears the drawing.
    void ShowStation(const CStation* station);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FitLabelMargins();
    void FitAspect();
    bool m_bHasXTitle = false;
};
