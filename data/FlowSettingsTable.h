#pragma once
// A settings source held as values: the own settings and a list of calculation settings,
// each in force for ensembles recorded strictly after its start time. Used where there is
// no station (generated data, tests, tools without a station).
#include "data/FlowSettings.h"

#include <utility>
#include <vector>

class CFlowSettingsTable : public IFlowSettingsSource
{
  public:
    CFlowSettingsTable() = default;
    explicit CFlowSettingsTable(const CFlowSettings& own) : m_own(own) {}

    // Sets are kept in the order added; the lookup scans from the last to the first, so add
    // them in order of start time.
    void AddSet(double startTime, const CFlowSettings& settings) { m_sets.emplace_back(startTime, settings); }

    const CFlowSettings& GetOwnSettings() const override { return m_own; }
    const CFlowSettings* FindSettingsAt(double time) const override;
    bool HasTimedSettings() const override { return !m_sets.empty(); }

    CFlowSettings m_own;

  private:
    std::vector<std::pair<double, CFlowSettings>> m_sets;
};
