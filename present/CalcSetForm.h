#pragma once
// The calculation set dialog without its widgets: one set's start time, velocity range, bin
// size, blank, Z-ADCP, forced stage and velocity model, shown in the station's display
// units, and stored back on OK.
#include "data/DateTime.h"
#include "present/FormText.h"
#include "present/VelocityModelFields.h"

#include <array>
#include <string>

class CCalcSet;
class CStation;

class CCalcSetForm
{
  public:
    // The picker's display format.
    static constexpr const char* TIME_FORMAT = "yyyy/MM/dd, HH:mm:ss";
    using TimeParts = std::array<int, 6>; // year, month, day, hour, minute, second

    void Load(const CCalcSet& set, const CStation& station);
    void ForceStageClicked(bool ticked);
    // Shows the model group for the type chosen in the combo; what was typed in the group
    // is carried over.
    void ModelChanged(int index);
    // Stores the form into the set, then clears the station's data summaries so that their
    // ranges are worked out again with the new settings (which marks the station modified).
    void Save(CCalcSet& set, CStation& station);

    TimeParts m_arrStart{};
    std::string m_strVelStart, m_strVelStop;
    CNumberText m_binSize, m_blank, m_zAdcp;
    bool m_bZAdcpEnabled = true;
    bool m_bForceStage = false;
    bool m_bForceStageEnabled = false;
    CNumberText m_forceStage;
    std::string m_strUnit; // the stage unit's short name, beside the four lengths
    int m_nModelIndex = 0;
    CVelocityModelFields m_model;

  private:
    CDateTime m_dtStart;
    TimeParts m_arrShownStart{};
    double m_dSetForcedStage = 0.0;
    double m_dCoef[4] = {};
    double m_dCritVelocity = 0.0;
    int m_nStageUnits = 0, m_nVelocityUnits = 0;
};
