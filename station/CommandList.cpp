#include "station/CommandList.h"

#include "station/StationArchive.h"

namespace
{

struct DefaultCommand {
    const char* command;
    const char* parameter;
};

// The deployment set-up a new station starts from; the profiling calculation later
// rewrites WF, WP, WN, WS and TP.
constexpr DefaultCommand kDefaults[] = {
    {"CR", "1"},        {"WP", "1"},        {"WF", "50"}, {"WN", "25"},      {"WS", "100"},
    {"TP", "00:00.50"}, {"TE", "00003000"}, {"VP", "3"},  {"EZ", "1101101"}, {"EX", "01010"},
    {"ES", "0"},        {"CF", "11110"},    {"CT", "1"},  {"MR", "1"},       {"PD", "14"},
};

} // namespace

CCommandList::CCommandList()
{
    RestoreDefaults();
}

bool CCommandList::Get(int i, std::string& command, std::string& parameter) const
{
    if (i < 0 || i >= Count()) {
        command.clear();
        parameter.clear();
        return false;
    }
    command = m_arrStrings[2 * static_cast<size_t>(i)];
    parameter = m_arrStrings[2 * static_cast<size_t>(i) + 1];
    return true;
}

bool CCommandList::Find(const std::string& command, std::string& parameter) const
{
    for (size_t i = 0; i + 1 < m_arrStrings.size(); i += 2) {
        if (m_arrStrings[i] == command) {
            parameter = m_arrStrings[i + 1];
            return true;
        }
    }
    return false;
}

void CCommandList::SetInt(const std::string& command, int value)
{
    SetText(command, std::to_string(value));
}

void CCommandList::SetText(const std::string& command, const std::string& parameter)
{
    for (size_t i = 0; i + 1 < m_arrStrings.size(); i += 2) {
        if (m_arrStrings[i] == command) {
            m_arrStrings[i + 1] = parameter;
            return;
        }
    }
    Add(command, parameter);
}

void CCommandList::Add(const std::string& command, const std::string& parameter)
{
    m_arrStrings.push_back(command);
    m_arrStrings.push_back(parameter);
}

void CCommandList::RestoreDefaults()
{
    Clear();
    for (const auto& d : kDefaults)
        Add(d.command, d.parameter);
}

std::string CCommandList::WireForm(int i) const
{
    std::string command, parameter;
    Get(i, command, parameter);
    return command + parameter;
}

void CCommandList::Serialize(CStationArchive& ar)
{
    // Stored as the flat string array with the archive's count encoding in front.
    if (ar.IsStoring()) {
        ar.WriteCount(m_arrStrings.size());
        for (auto& s : m_arrStrings)
            ar.Text(s);
        return;
    }
    // Every text takes at least its one-byte prefix, so a count beyond the bytes left is
    // damage: refuse it before reserving anything.
    const size_t count = ar.ReadCount(1);
    std::vector<std::string> strings(count);
    for (auto& s : strings)
        ar.Text(s);
    m_arrStrings = std::move(strings);
}
