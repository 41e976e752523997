#include "present/DataViewModel.h"

#include "station/Station.h"

#include <algorithm>

ViewUnits ViewUnitsOf(const CStation& station)
{
    return {station.GetStageUnits(),  station.GetVelocityUnits(),    station.GetFlowUnits(),
            station.GetVolumeUnits(), station.GetTemperatureUnits(), station.GetAreaUnits()};
}

CDataViewModel::CDataViewModel(const CStation& station, CEnsembleList list)
    : m_pStation(std::make_unique<CStation>(station)), m_list(std::move(list)),
      m_arrUnits(ViewUnitsOf(station)), m_layout(DataViewLayoutOf(station.GetGraphPrefs()))
{
    // The contours take their time axis from the hydrograph's columns, so those are read
    // when either is shown.
    if (m_layout.Has(DataPane::Hydrograph) || m_layout.Has(DataPane::Contours))
        m_hydrograph.Build(m_list, m_arrUnits);
    std::vector<DataType> columns;
    for (uint16_t code : station.GetGraphPrefs().m_arrDataTypes)
        columns.push_back(static_cast<DataType>(code));
    m_pTable = std::make_unique<CDataTable>(m_list, std::move(columns), m_arrUnits);
    m_nCurrent = m_list.GetCount() ? 0 : -1;
}

CDataViewModel::~CDataViewModel() = default;

void CDataViewModel::AddEnsemble(const CEnsemble& ensemble)
{
    m_list.Add(ensemble);
    if (m_layout.Has(DataPane::Hydrograph) || m_layout.Has(DataPane::Contours))
        m_hydrograph.Extend(m_list, m_arrUnits);
    if (m_nCurrent < 0)
        m_nCurrent = 0;
}

void CDataViewModel::SetCurrent(long entry)
{
    const long count = static_cast<long>(m_list.GetCount());
    m_nCurrent = count ? std::clamp(entry, 0L, count - 1) : -1;
}

void CDataViewModel::MoveBy(Key key)
{
    switch (key) {
    case Key::Right:
    case Key::Down:
        SetCurrent(m_nCurrent + 1);
        break;
    case Key::Left:
    case Key::Up:
        SetCurrent(m_nCurrent - 1);
        break;
    case Key::Home:
        SetCurrent(0);
        break;
    case Key::End:
        SetCurrent(static_cast<long>(m_list.GetCount()) - 1);
        break;
    case Key::PageUp:
        SetCurrent(m_nCurrent - 5);
        break;
    case Key::PageDown:
        SetCurrent(m_nCurrent + 5);
        break;
    }
}

bool CDataViewModel::TimeClicked(double t)
{
    const long entry = m_hydrograph.NearestEntry(t);
    if (entry < 0)
        return false;
    SetCurrent(entry);
    return true;
}

SWhiskerGraph CDataViewModel::CurrentWhisker() const
{
    if (m_nCurrent < 0)
        return {};
    return BuildWhiskerGraph(*m_pStation, m_list.GetAt(static_cast<size_t>(m_nCurrent)), m_arrUnits);
}

SProfileGraph CDataViewModel::CurrentBeamGraph(BeamGraph graph) const
{
    if (m_nCurrent < 0) {
        SProfileGraph empty = BuildBeamGraph(graph, *m_pStation, CEnsembleRef(SEnsembleRecord{}), m_arrUnits);
        return empty;
    }
    return BuildBeamGraph(graph, *m_pStation, m_list.GetAt(static_cast<size_t>(m_nCurrent)), m_arrUnits);
}

double CDataViewModel::CurrentTime() const
{
    return m_nCurrent < 0 ? NODATA : m_list.GetAt(static_cast<size_t>(m_nCurrent)).GetTime();
}
