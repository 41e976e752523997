#pragma once
// The QVD hydrograph of a data view, without widgets: stage, velocity and flow of every
// entry against time, in the view's units, each series with its own value axis. The values
// are kept as four columns (time and the three quantities), and each axis is a CGraphModel
// that follows its series' range by the graph control's own rules without keeping points.
#include "data/SeriesFormat.h"
#include "present/GraphModel.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

class CEnsembleList;

class CHydrograph
{
  public:
    enum Series { STAGE, VELOCITY, FLOW, SERIES_COUNT };
    struct SColor {
        int r, g, b;
    };

    CHydrograph();

    // Reads the time, stage, velocity and flow of every entry (a separator gives no data,
    // and so a gap). The axes follow the values.
    void Build(const CEnsembleList& list, const ViewUnits& units);
    // Reads the entries added to the list since the last Build or Extend (live data), so
    // that a new ensemble costs one entry, not the whole list.
    void Extend(const CEnsembleList& list, const ViewUnits& units);

    size_t GetCount() const { return m_arrTime.size(); }
    const std::vector<double>& Times() const { return m_arrTime; }
    const std::vector<double>& Values(Series s) const { return m_arrValues[s]; }
    // The axis of a series: its value range is Y, time is X (shared by all three).
    const CGraphModel& Axis(Series s) const { return m_arrAxes[s]; }
    CGraphModel& Axis(Series s) { return m_arrAxes[s]; }
    const std::string& Title(Series s) const { return m_arrTitles[s]; }
    static SColor Color(Series s);

    // The entry whose time is nearest to t (the first of equals); -1 when no entry has a time.
    long NearestEntry(double t) const;
    // The time of an entry, or no data.
    double TimeOf(size_t entry) const;

  private:
    std::vector<double> m_arrTime;
    std::array<std::vector<double>, SERIES_COUNT> m_arrValues;
    std::array<CGraphModel, SERIES_COUNT> m_arrAxes;
    std::array<std::string, SERIES_COUNT> m_arrTitles;
};
