#pragma once
// The flow settings of a station and of its calculation sets, as the data layer takes them.
#include "data/FlowSettings.h"

#include <vector>

class CStation;
class CCalcSet;

// The station's own settings.
CFlowSettings FlowSettingsOf(const CStation& station);
// A calculation set's settings; the station's display units still apply.
CFlowSettings FlowSettingsOf(const CCalcSet& set, const CStation& station);

// Answers "which settings apply at time t" for a station: the calculation set that the
// station's FindCalcSet picks, else the station's own. Takes a snapshot at construction;
// the station must outlive it and keep its calculation sets unchanged meanwhile.
class CStationFlowSettings : public IFlowSettingsSource
{
  public:
    explicit CStationFlowSettings(const CStation& station);

    const CFlowSettings& GetOwnSettings() const override { return m_own; }
    const CFlowSettings* FindSettingsAt(double time) const override;
    bool HasTimedSettings() const override { return !m_sets.empty(); }

  private:
    const CStation& m_station;
    CFlowSettings m_own;
    std::vector<CFlowSettings> m_sets; // by the station's calculation set index
};
