#pragma once
// The words of an instrument reply: maximal runs of characters containing none of the
// delimiters, in order; empty tokens never appear. Every reply parser of the link uses it.
#include <string>
#include <vector>

class CTokenList
{
  public:
    virtual ~CTokenList() = default;

    void Split(const std::string& text, const std::string& delimiters);
    // Index of the first token equal to word (exact, case-sensitive), or -1.
    int Find(const std::string& word) const;
    int Count() const { return static_cast<int>(m_arrTokens.size()); }
    // The token at index, or an empty text when out of range.
    std::string Get(int index) const;

  private:
    std::vector<std::string> m_arrTokens;
};
