#pragma once
// What a graph shows and where it shows it, without any drawing: the series and cells, the
// axis ranges that follow the data, the tick steps, tick positions, label texts and the
// mapping from data to pixels. CGraphCtrl owns one and only paints what it says.
#include <array>
#include <string>
#include <vector>

class CGraphModel
{
  public:
    static constexpr int MAX_SERIES = 16;

    CGraphModel() { Reset(); }

    // Every field back to its default; all series and cells emptied.
    void Reset();

    // Ignored unless 0 <= series < MAX_SERIES.
    void AddPoint(double x, double y, int series);
    void AddCell(double x1, double y1, double x2, double y2, double level);
    // Sets the five automatic flags; when on, the ranges are rebuilt from all data.
    void SetAutoScale(bool on);
    void SetYStep(double step);
    void SetXStep(double step);
    void SetMargins(int top, int bottom, int left, int right);

    void ExtendRange(double x, double y);
    void ExtendLevel(double level);
    void RecomputeRanges();

    // Tick steps. NiceStep uses m_nMaxTicks as the greatest number of ticks.
    double NiceStep(double min, double max) const;
    static double TimeStep(double min, double max);
    // Recomputes whichever steps are automatic (done before the grid and the labels).
    void ComputeSteps();

    std::vector<double> XTicks() const;
    std::vector<double> YTicks() const;

    // printf format of numeric tick labels for a step; strftime format of time labels.
    static const char* NumericLabelFormat(double step);
    static const char* TimeLabelFormat(double stepDays);
    std::string XLabel(double x) const;
    std::string YLabel(double y) const;

    // Maps a data point into a client area of the given size; false when the point lies
    // outside the ranges.
    bool DataToPixel(double x, double y, int clientWidth, int clientHeight, int& px, int& py) const;

    bool HasXRange() const { return m_dXMax >= m_dXMin; }
    bool HasYRange() const { return m_dYMax >= m_dYMin; }

    std::array<std::vector<double>, MAX_SERIES> m_arrSeries;
    std::vector<double> m_arrCells; // quintuples x1, y1, x2, y2, level

    double m_dXMax, m_dXMin, m_dYMax, m_dYMin, m_dLevelMax, m_dLevelMin;
    int m_nTopMargin, m_nBottomMargin, m_nLeftMargin, m_nRightMargin;

    bool m_bAutoX, m_bAutoY, m_bAutoLevel, m_bTimeAxis, m_bAutoXStep, m_bAutoYStep;
    bool m_bEqualScales, m_bIncludeZero, m_bDrawAxes, m_bXTickLabels, m_bYTickLabels, m_bGrid;
    // Ticks at the minimum and every step up to the maximum, both ends included: for axes
    // whose ends were chosen as multiples of the step, so that they are labelled.
    bool m_bTicksAtEnds;
    bool m_bEmpty;

    double m_dXStep, m_dYStep; // a time axis counts its step in days
    int m_nMaxTicks;

  private:
    void ResetRanges();
    std::vector<double> Ticks(double min, double max, double step, bool multiplesFromMin) const;
    static std::vector<double> TicksFromEnd(double min, double max, double step);
};
