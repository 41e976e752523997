#include "present/ProfileGraphs.h"

#include "data/Units.h"
#include "settings/Profiling.h"
#include "station/Station.h"

#include <algorithm>
#include <cmath>

CBinLayout::CBinLayout(const CStation& station, double time)
    : m_station(station), m_pSet(IsNoData(time) ? nullptr : station.FindCalcSet(time))
{
}

double CBinLayout::Start(int bin) const
{
    return m_pSet ? m_pSet->GetBinStart(bin) : GetBinStart(m_station, bin);
}

double CBinLayout::Center(int bin) const
{
    return m_pSet ? m_pSet->GetBinCenter(bin) : GetBinCenter(m_station, bin);
}

double CBinLayout::End(int bin) const
{
    return m_pSet ? m_pSet->GetBinEnd(bin) : GetBinEnd(m_station, bin);
}

int CBinLayout::FirstBin() const
{
    return m_pSet ? m_pSet->m_settings.m_nVelRangeStart : m_station.GetVelRangeStart();
}

int CBinLayout::LastBin() const
{
    return m_pSet ? m_pSet->m_settings.m_nVelRangeStop : m_station.GetVelRangeStop();
}

int CBinLayout::Mounting() const
{
    return m_pSet ? m_pSet->m_settings.m_nMounting : m_station.GetMounting();
}

double CBinLayout::PathLength() const
{
    const CChannelGeometry& geometry = m_pSet ? m_pSet->m_settings.m_geometry : m_station.GetGeometry();
    switch (Mounting()) {
    case MOUNTING_LEFT:
    case MOUNTING_RIGHT:
        return geometry.GetWidthAt(geometry.GetZAdcp());
    default:
        return geometry.GetType() == CHANNEL_POLYNOMIAL ? m_station.GetStage20mA()
                                                        : geometry.GetDepthFigure();
    }
}

bool SWhiskerGraph::Tip(const SWhisker& whisker, double& x, double& y) const
{
    if (IsNoData(whisker.m_dX) || IsNoData(whisker.m_dY))
        return false;
    const double across = m_dMaxAbsX > 0 ? whisker.m_dX / m_dMaxAbsX : 0.0;
    const double along = m_dMaxAbsY > 0 ? whisker.m_dY / m_dMaxAbsY : 0.0;
    x = whisker.m_dCenter + along * m_dBinSize;
    // One scale for both directions, so that whiskers of one ensemble compare; the path sits
    // at 0 of the fixed range, so the shorter side (below) sets it.
    y = 0.9 * std::min(Y_MAX, -Y_MIN) * across;
    return true;
}

SWhiskerGraph BuildWhiskerGraph(const CStation& station, const CEnsembleRef& entry, const ViewUnits& units)
{
    SWhiskerGraph graph;
    const CBinLayout bins(station, entry.GetTime());
    graph.m_nSide = bins.Mounting() == MOUNTING_RIGHT ? 3 : 1;
    const int length = units[UNIT_KIND_LENGTH];
    const int velocity = units[UNIT_KIND_VELOCITY];
    const double path = bins.PathLength();
    graph.m_dPathLength = ToDisplayUnits(path, length);
    graph.m_dBinSize = ToDisplayUnits(bins.End(0) - bins.Start(0), length);

    int first = bins.FirstBin();
    int last = bins.LastBin();
    const double count = entry.GetValue(DATATYPE_VELOCITY_BINS);
    if (!IsNoData(count) && std::trunc(count) < last)
        last = static_cast<int>(std::trunc(count));
    first = std::max(first, 1);
    graph.m_arrPath = {ToDisplayUnits(bins.Start(first - 1), length), 0.0};
    for (int bin = first; bin <= last; ++bin) {
        const int b = bin - 1;
        // Compared in internal units, so that a conversion's rounding cannot drop the last bin.
        if (!(bins.End(b) < path))
            continue;
        graph.m_arrPath.push_back(ToDisplayUnits(bins.End(b), length));
        graph.m_arrPath.push_back(0.0);
        SWhisker whisker{ToDisplayUnits(bins.Center(b), length),
                         ToDisplayUnits(entry.GetValue(DATATYPE_X_VELOCITY, 0, b), velocity),
                         ToDisplayUnits(entry.GetValue(DATATYPE_Y_VELOCITY, 0, b), velocity)};
        if (!IsNoData(whisker.m_dX))
            graph.m_dMaxAbsX = std::max(graph.m_dMaxAbsX, std::fabs(whisker.m_dX));
        if (!IsNoData(whisker.m_dY))
            graph.m_dMaxAbsY = std::max(graph.m_dMaxAbsY, std::fabs(whisker.m_dY));
        graph.m_arrWhiskers.push_back(whisker);
    }
    return graph;
}

SProfileGraph BuildBeamGraph(BeamGraph kind, const CStation& station, const CEnsembleRef& entry,
                             const ViewUnits& units)
{
    SProfileGraph graph;
    const int length = units[UNIT_KIND_LENGTH];
    const int velocity = units[UNIT_KIND_VELOCITY];
    const std::string velocityTitle = "Velocity (" + UnitAbbreviation(velocity) + ")";
    graph.m_strXTitle = "Y (" + UnitAbbreviation(length) + ")";
    graph.m_arrNames = {"Bm1", "Bm2", "Bm3", "Bm4"};
    // Per series: the data type and the beam asked for.
    DataType types[4];
    int beams[4] = {0, 1, 2, 3};
    switch (kind) {
    case BeamGraph::Vectors:
        graph.m_strTitle = "Velocity Vectors";
        graph.m_strYTitle = velocityTitle;
        graph.m_arrNames = {"X", "Y", "Z", "4th"};
        types[0] = DATATYPE_X_VELOCITY;
        types[1] = DATATYPE_Y_VELOCITY;
        types[2] = DATATYPE_Z_VELOCITY;
        types[3] = static_cast<DataType>(104);
        std::fill(std::begin(beams), std::end(beams), 0);
        break;
    case BeamGraph::BinVelocities:
        graph.m_strTitle = "Bin Velocities";
        graph.m_strYTitle = velocityTitle;
        std::fill(std::begin(types), std::end(types), DATATYPE_BEAM_VELOCITY);
        break;
    case BeamGraph::Correlation:
        graph.m_strTitle = "Correlation";
        graph.m_strYTitle = "Correlation";
        graph.m_bFixedRange = true;
        std::fill(std::begin(types), std::end(types), DATATYPE_CORRELATION);
        break;
    case BeamGraph::Amplitude:
        graph.m_strTitle = "Amplitude";
        graph.m_strYTitle = "Amplitude";
        graph.m_bFixedRange = true;
        std::fill(std::begin(types), std::end(types), DATATYPE_AMPLITUDE);
        break;
    }
    // Correlation and amplitude are counts, shown as recorded.
    const bool isVelocity = !graph.m_bFixedRange;
    const CBinLayout bins(station, entry.GetTime());
    const double count = entry.GetValue(DATATYPE_VELOCITY_BINS);
    const int n = IsNoData(count) ? 0 : static_cast<int>(std::clamp(count, 0.0, 255.0));
    for (int s = 0; s < 4; ++s) {
        for (int b = 0; b < n; ++b) {
            const double value = entry.GetValue(types[s], beams[s], b);
            if (IsNoData(value))
                continue;
            graph.m_arrSeries[static_cast<size_t>(s)].push_back(ToDisplayUnits(bins.Center(b), length));
            graph.m_arrSeries[static_cast<size_t>(s)].push_back(isVelocity ? ToDisplayUnits(value, velocity)
                                                                           : value);
        }
    }
    return graph;
}
