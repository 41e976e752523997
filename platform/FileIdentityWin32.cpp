#include "platform/FileIdentity.h"

#include <windows.h>

bool GetFileIdentity(const std::filesystem::path& path, SFileIdentity& identity)
{
    // Folders open only with backup semantics; no access is asked for, only a look.
    const HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!ok)
        return false;
    identity.m_nVolume = info.dwVolumeSerialNumber;
    identity.m_nFile = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}
