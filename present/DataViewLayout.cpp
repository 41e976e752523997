#include "present/DataViewLayout.h"

#include "station/GraphPrefs.h"

#include <algorithm>

bool SDataViewLayout::Has(DataPane pane) const
{
    return std::find(m_arrPanes.begin(), m_arrPanes.end(), pane) != m_arrPanes.end();
}

SDataViewLayout DataViewLayoutOf(const CGraphPrefs& prefs)
{
    SDataViewLayout layout;
    if (prefs.m_bVectors)
        layout.m_arrBeamGraphs.push_back(BeamGraph::Vectors);
    if (prefs.m_bBinVelocities)
        layout.m_arrBeamGraphs.push_back(BeamGraph::BinVelocities);
    if (prefs.m_bCorrelation)
        layout.m_arrBeamGraphs.push_back(BeamGraph::Correlation);
    if (prefs.m_bAmplitude)
        layout.m_arrBeamGraphs.push_back(BeamGraph::Amplitude);
    if (prefs.m_bQVD)
        layout.m_arrPanes.push_back(DataPane::Hydrograph);
    if (prefs.m_bWhisker)
        layout.m_arrPanes.push_back(DataPane::Whisker);
    if (!layout.m_arrBeamGraphs.empty())
        layout.m_arrPanes.push_back(DataPane::BeamGraphs);
    if (prefs.m_bContours)
        layout.m_arrPanes.push_back(DataPane::Contours);
    if (prefs.m_bTabular)
        layout.m_arrPanes.push_back(DataPane::Table);
    return layout;
}
