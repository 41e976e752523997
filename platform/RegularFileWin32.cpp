#include "platform/RegularFile.h"

#include "platform/Utf8Path.h"
#include "platform/WinApi.h"

#include <windows.h>

namespace
{

// What an open handle is, in the words of the POSIX build.
std::string KindProblem(HANDLE handle)
{
    switch (GetFileType(handle)) {
    case FILE_TYPE_DISK:
        break;
    case FILE_TYPE_PIPE:
        return "is a named pipe, not a regular file";
    case FILE_TYPE_CHAR:
        return "is a device, not a regular file";
    default:
        return "is not a regular file";
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return LastErrorText();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return "is a folder, not a file";
    return {};
}

// Opens path as it is, following links; folders open too (for a look at them only).
HANDLE OpenForQuery(const std::string& path, DWORD access)
{
    return CreateFileW(PathFromUtf8(path).c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

} // namespace

std::string RegularFileProblem(const std::string& path)
{
    // No access asked for: only the kind of thing is looked at, nothing is read.
    const HANDLE handle = OpenForQuery(path, 0);
    if (handle == INVALID_HANDLE_VALUE)
        return LastErrorText();
    std::string problem = KindProblem(handle);
    CloseHandle(handle);
    return problem;
}

bool CRegularFile::Open(const std::string& path, std::string& reason)
{
    Close();
    reason = RegularFileProblem(path);
    if (!reason.empty())
        return false;
    // Handles are not inherited unless asked for; the kind is checked again on what was
    // opened, in case something else took the file's place.
    const HANDLE handle = CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = LastErrorText();
        return false;
    }
    reason = KindProblem(handle);
    if (!reason.empty()) {
        CloseHandle(handle);
        return false;
    }
    m_handle = reinterpret_cast<intptr_t>(handle);
    return true;
}

void CRegularFile::Close()
{
    if (m_handle != CLOSED)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = CLOSED;
}

bool CRegularFile::Size(uint64_t& size, std::string& reason) const
{
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(reinterpret_cast<HANDLE>(m_handle), &length)) {
        reason = LastErrorText();
        return false;
    }
    size = static_cast<uint64_t>(length.QuadPart);
    return true;
}

int64_t CRegularFile::Read(void* buffer, size_t size, std::string& reason)
{
    const DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer, ask, &got, nullptr)) {
        if (GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        reason = LastErrorText();
        return -1;
    }
    return got;
}

uint64_t LargestFileInMemory()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status) || status.ullTotalPhys == 0)
        return uint64_t{1} << 32;
    return status.ullTotalPhys;
}
