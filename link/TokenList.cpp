#include "link/TokenList.h"

void CTokenList::Split(const std::string& text, const std::string& delimiters)
{
    m_arrTokens.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = text.find_first_not_of(delimiters, pos);
        if (start == std::string::npos)
            break;
        size_t end = text.find_first_of(delimiters, start);
        if (end == std::string::npos)
            end = text.size();
        m_arrTokens.push_back(text.substr(start, end - start));
        pos = end;
    }
}

int CTokenList::Find(const std::string& word) const
{
    for (size_t i = 0; i < m_arrTokens.size(); ++i)
        if (m_arrTokens[i] == word)
            return static_cast<int>(i);
    return -1;
}

std::string CTokenList::Get(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return m_arrTokens[static_cast<size_t>(index)];
}
