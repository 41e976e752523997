#pragma once
// The settings in force for a load, as one table of values: the own settings, and the
// calculation settings in order of start time, each in force for ensembles recorded
// strictly after its start. A station produces one for each load (tests, tools and
// generated data build their own); the data layer asks nothing else.
#include "data/FlowSettings.h"

#include <utility>
#include <vector>

// The last of the entries whose start lies strictly before the time, or last when none
// does. The one lookup of "the set in force at a time", for the station's calculation sets
// and for this table alike; a start that is not a number is never before anything.
template <typename It, typename StartOf> It FindStartedBefore(It first, It last, double time, StartOf startOf)
{
    for (It it = last; it != first;) {
        --it;
        if (startOf(*it) < time)
            return it;
    }
    return last;
}

class CFlowSettingsTable
{
  public:
    CFlowSettingsTable() = default;
    explicit CFlowSettingsTable(const CFlowSettings& own) : m_own(own) {}

    // Sets are kept in the order added; add them in order of start time.
    void AddSet(double startTime, const CFlowSettings& settings) { m_sets.emplace_back(startTime, settings); }

    const CFlowSettings& GetOwnSettings() const { return m_own; }
    // False when no time can have a calculation set, so that callers may skip the lookup.
    bool HasTimedSettings() const { return !m_sets.empty(); }
    // The settings of the set in force at a time stamp, or nullptr when none is.
    const CFlowSettings* FindSettingsAt(double time) const;
    // The same, falling back to the own settings; a time of no data takes them too.
    const CFlowSettings& GetSettingsAt(double time) const
    {
        const CFlowSettings* set = IsNoData(time) ? nullptr : FindSettingsAt(time);
        return set ? *set : m_own;
    }

  private:
    CFlowSettings m_own;
    std::vector<std::pair<double, CFlowSettings>> m_sets;
};
