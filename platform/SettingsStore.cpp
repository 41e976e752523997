#include "platform/SettingsStore.h"

#include "platform/Utf8Path.h"

#include <fstream>
#include <string_view>
#include <system_error>

namespace
{

const char* const WHITESPACE = " \t\r";

std::string Trim(const std::string& text)
{
    auto first = text.find_first_not_of(WHITESPACE);
    if (first == std::string::npos)
        return {};
    auto last = text.find_last_not_of(WHITESPACE);
    return text.substr(first, last - first + 1);
}

bool HasBreakOrNul(const std::string& text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

bool IsKeyUsable(const std::string& key)
{
    return !key.empty() && Trim(key) == key && key.find('=') == std::string::npos && key[0] != '#' &&
           !HasBreakOrNul(key);
}

} // namespace

CSettingsStore::CSettingsStore() : m_path(DefaultPath())
{
}

CSettingsStore::CSettingsStore(std::filesystem::path path) : m_path(std::move(path))
{
}

std::string CSettingsStore::ComPortKey(int port)
{
    return "COM" + std::to_string(port);
}

bool CSettingsStore::Load()
{
    m_arrLines.clear();
    std::error_code ec;
    if (!std::filesystem::exists(m_path, ec))
        return !ec;
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        SLine entry;
        auto eq = line.find('=');
        std::string key = eq == std::string::npos ? std::string() : Trim(line.substr(0, eq));
        if (!key.empty() && key[0] != '#') {
            entry.m_strKey = key;
            entry.m_strText = Trim(line.substr(eq + 1));
        } else {
            entry.m_strText = line;
        }
        m_arrLines.push_back(std::move(entry));
    }
    return !in.bad();
}

bool CSettingsStore::Save() const
{
    std::string text;
    for (const SLine& line : m_arrLines) {
        if (!line.m_strKey.empty())
            text += line.m_strKey + "=";
        text += line.m_strText;
        text += '\n';
    }

    std::filesystem::path folder = m_path.parent_path();
    std::error_code ec;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);

    return WriteWhole(m_path, text);
}

std::optional<std::string> CSettingsStore::Get(const std::string& key) const
{
    for (const SLine& line : m_arrLines)
        if (!line.m_strKey.empty() && line.m_strKey == key)
            return line.m_strText;
    return std::nullopt;
}

std::string CSettingsStore::Get(const std::string& key, const std::string& fallback) const
{
    return Get(key).value_or(fallback);
}

bool CSettingsStore::Set(const std::string& key, const std::string& value)
{
    if (!IsKeyUsable(key) || Trim(value) != value || HasBreakOrNul(value))
        return false;
    for (SLine& line : m_arrLines) {
        if (line.m_strKey == key) {
            line.m_strText = value;
            return true;
        }
    }
    m_arrLines.push_back({key, value});
    return true;
}

bool CSettingsStore::Remove(const std::string& key)
{
    if (key.empty())
        return false;
    auto before = m_arrLines.size();
    std::erase_if(m_arrLines, [&](const SLine& line) { return line.m_strKey == key; });
    return m_arrLines.size() != before;
}

std::string CSettingsStore::GetStationDir() const
{
    std::string dir = Get(STATION_DIR_KEY, "");
    if (dir.empty())
        return DefaultStationDir();
    while (dir.size() > 1 && std::string_view(PATH_SEPARATORS).find(dir.back()) != std::string_view::npos)
        dir.pop_back();
    return dir;
}

bool CSettingsStore::SetStationDir(const std::string& dir)
{
    return Set(STATION_DIR_KEY, dir);
}
