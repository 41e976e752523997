#pragma once
// The graphs of the current ensemble, without widgets: the whisker graph (the acoustic path
// across the channel with one whisker per bin) and the four beam graphs (one quantity of
// every bin against its distance along the path). Values come out in the view's units.
#include "data/EnsembleRef.h"
#include "data/SeriesFormat.h"
#include "present/DataViewLayout.h"

#include <array>
#include <string>
#include <vector>

class CCalcSet;
class CStation;

// Where the bins of an ensemble lie, with the settings in force at its time: a calculation
// set's own when one started before it, else the station's. Internal units.
class CBinLayout
{
  public:
    CBinLayout(const CStation& station, double time);

    double Start(int bin) const; // bins from 0
    double Center(int bin) const;
    double End(int bin) const;
    int FirstBin() const; // the velocity range, bins from 1
    int LastBin() const;
    int Mounting() const;
    // Left and right: the width at the instrument's height; top and bottom: the channel's
    // depth figure (the 20 mA stage for a polynomial channel, which has none).
    double PathLength() const;

  private:
    const CStation& m_station;
    const CCalcSet* m_pSet;
};

struct SWhisker {
    double m_dCenter;  // bin centre along the path
    double m_dX, m_dY; // the bin's X and Y velocities; either may be no data
};

struct SWhiskerGraph {
    int m_nSide = 1;               // 3 when the instrument is on the right bank, else 1
    double m_dPathLength = 0;      // view length unit
    double m_dBinSize = 0;         // view length unit
    std::vector<double> m_arrPath; // series 0: (x, 0) pairs along the bins that fit
    std::vector<SWhisker> m_arrWhiskers;
    double m_dMaxAbsX = 0, m_dMaxAbsY = 0; // largest components met; 0 when none
    static constexpr double Y_MIN = -0.5, Y_MAX = 1.0;

    // The far end of a whisker, in the graph's data units. The X velocity runs across the
    // path (upward is downstream), the Y velocity along it; the largest components of the
    // ensemble reach 0.9 of the room below the path (upstream or downstream alike) and one
    // bin's length. False when a component is missing.
    bool Tip(const SWhisker& whisker, double& x, double& y) const;
};

SWhiskerGraph BuildWhiskerGraph(const CStation& station, const CEnsembleRef& entry, const ViewUnits& units);

struct SProfileGraph {
    std::string m_strTitle, m_strXTitle, m_strYTitle;
    std::array<std::string, 4> m_arrNames;
    std::array<std::vector<double>, 4> m_arrSeries; // (distance, value) pairs, no-data skipped
    bool m_bFixedRange = false;                     // Y from 0 to 255
    static constexpr double FIXED_MIN = 0, FIXED_MAX = 255;
    // Series colours: red, green, blue, magenta.
    static constexpr int COLORS[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 255}};
};

SProfileGraph BuildBeamGraph(BeamGraph graph, const CStation& station, const CEnsembleRef& entry,
                             const ViewUnits& units);
