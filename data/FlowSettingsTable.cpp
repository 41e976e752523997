#include "data/FlowSettingsTable.h"

const CFlowSettings* CFlowSettingsTable::FindSettingsAt(double time) const
{
    for (auto it = m_sets.rbegin(); it != m_sets.rend(); ++it) {
        if (it->first < time)
            return &it->second;
    }
    return nullptr;
}
