#pragma once
// The set-up commands that configure the Velunit for deployment: ordered (command,
// parameter) pairs such as ("WN", "25"). Each goes to the instrument as the command
// immediately followed by its parameter ("WN25"). Nothing is upper-cased, trimmed or
// checked; the texts are the operator's.
#include <cstddef>
#include <string>
#include <vector>

class CStationArchive;

class CCommandList
{
  public:
    CCommandList(); // the default list
    CCommandList(const CCommandList&) = default;
    CCommandList& operator=(const CCommandList&) = default;
    virtual ~CCommandList() = default;

    virtual void Serialize(CStationArchive& ar);

    int Count() const { return static_cast<int>(m_arrStrings.size() / 2); }
    // Copies pair i; false (and both texts emptied) when i is out of range.
    bool Get(int i, std::string& command, std::string& parameter) const;
    // The first pair whose command equals the text exactly (case-sensitive).
    bool Find(const std::string& command, std::string& parameter) const;
    // Replace the parameter of the first pair with that command, or append a new pair.
    void SetInt(const std::string& command, int value);
    void SetText(const std::string& command, const std::string& parameter);
    void Add(const std::string& command, const std::string& parameter);
    void Clear() { m_arrStrings.clear(); }
    void RestoreDefaults();

    // The line sent for pair i: command and parameter with nothing between them.
    std::string WireForm(int i) const;

    // The flat stored form: element 2i is the command of pair i, 2i+1 its parameter.
    const std::vector<std::string>& Strings() const { return m_arrStrings; }

    friend bool operator==(const CCommandList& a, const CCommandList& b)
    {
        return a.m_arrStrings == b.m_arrStrings;
    }

  private:
    std::vector<std::string> m_arrStrings;
};
