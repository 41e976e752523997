#pragma once
// What the "System" page of the Station Configuration dialog shows and how it is read
// back, kept apart from the widgets: texts of the edits, selections of the combos, the tick
// box and the unit labels beside the 4-20 mA and totalizer edits. The page copies these to
// and from its controls; everything that decides something happens here.
#include <string>

class CStation;

class CSystemSettingsForm
{
  public:
    // First unit code of each combo; a combo's index is the code minus this.
    static constexpr int STAGE_FIRST = 101, VELOCITY_FIRST = 106, FLOW_FIRST = 110, VOLUME_FIRST = 120,
                         TEMPERATURE_FIRST = 130;
    static constexpr int STAGE_COUNT = 5, VELOCITY_COUNT = 4, FLOW_COUNT = 7, VOLUME_COUNT = 8,
                         TEMPERATURE_COUNT = 2;

    // Record -> form.
    void Load(const CStation& station);
    // Form -> record; every store marks the station modified. Numbers are read in the units
    // selected now, whatever they were typed in.
    void Save(CStation& station) const;
    // The short names of the selected flow, velocity, stage and volume units.
    void RefreshUnitLabels();
    // The tick box enables the edit; its text stays as it is.
    void SetPulseEvery(bool ticked);

    // Removes one leading and one trailing separator (backslash, or slash on this system).
    static std::string TrimGroup(std::string group);

    std::string m_strSiteName, m_strGroup, m_strLocation;
    int m_nStageIndex = 0, m_nVelocityIndex = 0, m_nFlowIndex = 0, m_nVolumeIndex = 0,
        m_nTemperatureIndex = 0;
    int m_nPortIndex = 0;
    std::string m_strFlow4mA, m_strFlow20mA, m_strVelocity4mA, m_strVelocity20mA, m_strStage4mA,
        m_strStage20mA;
    bool m_bPulseEvery = false;
    bool m_bPulseEditEnabled = false;
    std::string m_strPulse;
    std::string m_strFlowUnit, m_strVelocityUnit, m_strStageUnit, m_strVolumeUnit;
};
