#include "platform/SettingsStore.h"

#include "platform/FileWrite.h"
#include "platform/Utf8Path.h"

#include <cstdlib>
#include <windows.h>
// After windows.h, which these need.
#include <knownfolders.h>
#include <shlobj.h>

namespace
{

// The environment in its wide form: the narrow one is in the system's code page.
std::wstring EnvOrEmpty(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    return value ? std::wstring(value) : std::wstring();
}

// One of the user's own folders; the environment variable that names it when the shell
// cannot say (a stripped-down system), else the current folder.
std::filesystem::path KnownFolder(REFKNOWNFOLDERID id, const wchar_t* variable)
{
    PWSTR path = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path)
        folder = path;
    CoTaskMemFree(path);
    if (folder.empty())
        folder = EnvOrEmpty(variable);
    return folder.empty() ? std::filesystem::path(L".") : folder;
}

} // namespace

std::filesystem::path CSettingsStore::DefaultPath()
{
    const std::wstring named = EnvOrEmpty(L"TIDEWELL_CONFIG");
    if (!named.empty())
        return named;
    return KnownFolder(FOLDERID_RoamingAppData, L"APPDATA") / L"Tidewell" / L"Tidewell.conf";
}

std::string CSettingsStore::DefaultStationDir()
{
    return Utf8FromPath(KnownFolder(FOLDERID_Documents, L"USERPROFILE") / L"Tidewell" / L"Config");
}

bool CSettingsStore::WriteWhole(const std::filesystem::path& path, const std::string& text)
{
    CAtomicFile file;
    std::string reason;
    return file.Create(Utf8FromPath(path), reason) && file.Write(text.data(), text.size(), reason) &&
           file.Commit(reason);
}
