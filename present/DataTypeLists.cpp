#include "present/DataTypeLists.h"

#include <algorithm>
#include <utility>

void CDataTypeLists::Load(const std::vector<int>& displayed)
{
    m_arrDisplayed = displayed;
    m_arrAvailable.clear();
    for (int code = FIRST_TYPE; code <= LAST_TYPE; ++code)
        if (std::find(displayed.begin(), displayed.end(), code) == displayed.end())
            m_arrAvailable.push_back(code);
    m_nDisplayedSel = m_nAvailableSel = -1;
}

void CDataTypeLists::Move(std::vector<int>& from, int& fromSel, std::vector<int>& to, int& toSel)
{
    if (fromSel < 0 || fromSel >= static_cast<int>(from.size()))
        return;
    const int code = from[static_cast<size_t>(fromSel)];
    from.erase(from.begin() + fromSel);
    // Inserted before the selected entry of the other list, or at its end; the moved entry
    // is selected there, and the entry that took its place stays selected here.
    const int at = toSel >= 0 && toSel < static_cast<int>(to.size()) ? toSel : static_cast<int>(to.size());
    to.insert(to.begin() + at, code);
    toSel = at;
    if (fromSel >= static_cast<int>(from.size()))
        fromSel = -1;
}

void CDataTypeLists::MoveToDisplayed()
{
    Move(m_arrAvailable, m_nAvailableSel, m_arrDisplayed, m_nDisplayedSel);
}

void CDataTypeLists::MoveToAvailable()
{
    Move(m_arrDisplayed, m_nDisplayedSel, m_arrAvailable, m_nAvailableSel);
}

void CDataTypeLists::MoveUp()
{
    if (m_nDisplayedSel <= 0 || m_nDisplayedSel >= static_cast<int>(m_arrDisplayed.size()))
        return;
    std::swap(m_arrDisplayed[static_cast<size_t>(m_nDisplayedSel)],
              m_arrDisplayed[static_cast<size_t>(m_nDisplayedSel - 1)]);
    --m_nDisplayedSel;
}

void CDataTypeLists::MoveDown()
{
    if (m_nDisplayedSel < 0 || m_nDisplayedSel + 1 >= static_cast<int>(m_arrDisplayed.size()))
        return;
    std::swap(m_arrDisplayed[static_cast<size_t>(m_nDisplayedSel)],
              m_arrDisplayed[static_cast<size_t>(m_nDisplayedSel + 1)]);
    ++m_nDisplayedSel;
}
