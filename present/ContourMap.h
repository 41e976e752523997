#pragma once
// The velocity contours of a data view, without widgets: the X velocity of every bin
// against time as a grid of colour cells, one column per pixel column of the plot. A column
// stands for the entries whose times fall in it; a few of them, spread evenly, are averaged,
// so a year of data costs no more than a day's.
#include "data/SeriesFormat.h"

#include <cstddef>
#include <vector>

class CEnsembleList;
class CStation;

struct SContourGrid {
    int m_nColumns = 0, m_nRows = 0; // rows: bins, the first at the bottom
    std::vector<double> m_arrValues; // column-major: m_arrValues[c * m_nRows + r]; no data where empty
    double m_dMaxAbs = 0;            // largest absolute value in the grid (0 when none)
    double m_dDistanceMin = 0, m_dDistanceMax = 0; // the bins' extent along the path, view length unit

    double At(int column, int row) const { return m_arrValues[static_cast<size_t>(column * m_nRows + row)]; }
};

// times: the entries' time stamps (no data for a separator); tMin..tMax the time axis.
SContourGrid BuildContourGrid(const CEnsembleList& list, const std::vector<double>& times, double tMin,
                              double tMax, int columns, const CStation& station, const ViewUnits& units);

struct SRgb {
    int r, g, b;
    friend bool operator==(const SRgb&, const SRgb&) = default;
};

// Blue for upstream, white at 0, red for downstream; maxAbs and beyond take the full colour.
SRgb DivergingColor(double value, double maxAbs);
