#include "data/FlowSettingsTable.h"

const CFlowSettings* CFlowSettingsTable::FindSettingsAt(double time) const
{
    const auto it =
        FindStartedBefore(m_sets.begin(), m_sets.end(), time, [](const auto& entry) { return entry.first; });
    return it != m_sets.end() ? &it->second : nullptr;
}
