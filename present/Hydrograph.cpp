#include "present/Hydrograph.h"

#include "data/EnsembleList.h"
#include "data/NoData.h"
#include "data/Units.h"

#include <cmath>

CHydrograph::CHydrograph()
{
    for (CGraphModel& axis : m_arrAxes) {
        axis.m_bTimeAxis = true;
        axis.m_nMaxTicks = 5;
        axis.SetMargins(40, 30, 60, 60);
    }
}

CHydrograph::SColor CHydrograph::Color(Series s)
{
    switch (s) {
    case STAGE:
        return {0, 255, 0};
    case VELOCITY:
        return {255, 0, 0};
    default:
        return {0, 0, 255};
    }
}

void CHydrograph::Build(const CEnsembleList& list, const ViewUnits& units)
{
    m_arrTime.clear();
    for (int s = 0; s < SERIES_COUNT; ++s) {
        m_arrValues[s].clear();
        m_arrAxes[s].m_bEmpty = true;
    }
    Extend(list, units);
}

void CHydrograph::Extend(const CEnsembleList& list, const ViewUnits& units)
{
    static constexpr DataType kTypes[SERIES_COUNT] = {DATATYPE_STAGE, DATATYPE_VELOCITY, DATATYPE_FLOW};
    static constexpr const char* kNames[SERIES_COUNT] = {"Stage", "Velocity", "Flow"};
    const size_t first = m_arrTime.size();
    const size_t n = list.GetCount();
    if (n < first)
        return;
    m_arrTime.resize(n);
    int unitOf[SERIES_COUNT];
    for (int s = 0; s < SERIES_COUNT; ++s) {
        m_arrValues[s].resize(n);
        unitOf[s] = units[static_cast<size_t>(UnitKindOfDataType(kTypes[s]))];
        m_arrTitles[s] = std::string(kNames[s]) + " (" + UnitAbbreviation(unitOf[s]) + ")";
    }
    for (size_t i = first; i < n; ++i) {
        const CEnsembleRef entry = list.GetAt(i);
        const double t = entry.GetTime();
        m_arrTime[i] = t;
        for (int s = 0; s < SERIES_COUNT; ++s) {
            const double v = ToDisplayUnits(entry.GetValue(kTypes[s]), unitOf[s]);
            m_arrValues[s][i] = v;
            m_arrAxes[s].ExtendRange(t, v);
        }
    }
    for (CGraphModel& axis : m_arrAxes)
        axis.m_bEmpty = n == 0;
}

long CHydrograph::NearestEntry(double t) const
{
    long best = -1;
    double bestDistance = 0;
    for (size_t i = 0; i < m_arrTime.size(); ++i) {
        if (IsNoData(m_arrTime[i]))
            continue;
        const double d = std::fabs(m_arrTime[i] - t);
        if (best < 0 || d < bestDistance) {
            best = static_cast<long>(i);
            bestDistance = d;
        }
    }
    return best;
}

double CHydrograph::TimeOf(size_t entry) const
{
    return entry < m_arrTime.size() ? m_arrTime[entry] : NODATA;
}
