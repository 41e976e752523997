#pragma once
// Which graphs the data view draws and which data types its table shows, in order.
#include <cstdint>
#include <vector>

class CStationArchive;

class CGraphPrefs
{
  public:
    CGraphPrefs() { RestoreDefaults(); }
    CGraphPrefs(const CGraphPrefs&) = default;
    CGraphPrefs& operator=(const CGraphPrefs&) = default;
    virtual ~CGraphPrefs() = default;

    virtual void Serialize(CStationArchive& ar);

    void RestoreDefaults();

    // Beam graphs: one for each of bin velocities, vectors, amplitude and correlation.
    int GetBeamGraphCount() const;
    // Graph panes: one shared by the beam graphs when there are any, plus the QVD
    // hydrograph and the whisker graph.
    int GetGraphPaneCount() const;

    int32_t m_bTabular = 1;
    int32_t m_bQVD = 1;
    int32_t m_bWhisker = 1;
    int32_t m_bContours = 1;
    int32_t m_bBinVelocities = 0;
    int32_t m_bVectors = 1;
    int32_t m_bAmplitude = 1;
    int32_t m_bCorrelation = 1;
    int32_t m_bSpare = 0;
    std::vector<uint16_t> m_arrDataTypes; // data type codes shown in the table, in order

    friend bool operator==(const CGraphPrefs&, const CGraphPrefs&) = default;
};
