#include "platform/FileWrite.h"

#include "platform/Utf8Path.h"
#include "platform/WinApi.h"

#include <cerrno>
#include <cstring>
#include <io.h>
#include <windows.h>

namespace
{

bool WriteAll(HANDLE handle, const void* data, size_t size, std::string& reason)
{
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD done = 0;
        if (!WriteFile(handle, p, ask, &done, nullptr)) {
            reason = LastErrorText();
            return false;
        }
        if (done == 0) {
            reason = "nothing was written";
            return false;
        }
        p += done;
        size -= done;
    }
    return true;
}

bool IsRegular(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Puts the complete temporary file in the target's place with one rename, written through
// to the disk: a process killed at any instant leaves the old file or the new one under
// the name. (ReplaceFileW would carry more of the old file over, but it moves the old file
// aside first: killed in between, it leaves no file under the name at all.) The old file's
// attributes go with the new contents, as its permissions do elsewhere, and a read-only
// file is not replaced, as the system refuses to write over one.
bool PutInPlace(const std::string& tempPath, const std::string& targetPath, std::string& reason)
{
    const std::wstring temp = PathFromUtf8(tempPath).wstring();
    const std::wstring target = PathFromUtf8(targetPath).wstring();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            reason = SystemErrorText(error);
            return false;
        }
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        reason = "is a folder, not a file";
        return false;
    } else if (attributes & FILE_ATTRIBUTE_READONLY) {
        reason = SystemErrorText(ERROR_ACCESS_DENIED);
        return false;
    } else {
        const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                         FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        SetFileAttributesW(temp.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
    }
    if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    reason = LastErrorText();
    return false;
}

} // namespace

bool CAtomicFile::Create(const std::string& path, std::string& reason, const std::string& tempPath)
{
    Abandon();
    m_strPath = path;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (!tempPath.empty()) {
        m_strTemp = tempPath;
        // Opened as it is: truncated only once it has proved to be a regular file.
        handle = CreateFileW(PathFromUtf8(m_strTemp).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    for (int attempt = 0; tempPath.empty() && attempt < 10 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        m_strTemp = FreshTempName(path);
        handle = CreateFileW(PathFromUtf8(m_strTemp).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        reason = LastErrorText();
        m_strTemp.clear();
        return false;
    }
    m_bRegular = IsRegular(handle);
    if (m_bRegular && !tempPath.empty() && !SetEndOfFile(handle)) {
        reason = LastErrorText();
        CloseHandle(handle);
        m_strTemp.clear();
        return false;
    }
    m_handle = reinterpret_cast<intptr_t>(handle);
    return true;
}

bool CAtomicFile::Write(const void* data, size_t size, std::string& reason)
{
    return WriteAll(reinterpret_cast<HANDLE>(m_handle), data, size, reason);
}

bool CAtomicFile::Commit(std::string& reason)
{
    const auto handle = reinterpret_cast<HANDLE>(m_handle);
    m_handle = CLOSED;
    bool ok = true;
    if (!m_bRegular) {
        reason = "is not a regular file";
        ok = false;
    }
    if (ok && !FlushFileBuffers(handle)) {
        reason = LastErrorText();
        ok = false;
    }
    if (!CloseHandle(handle) && ok) {
        reason = LastErrorText();
        ok = false;
    }
    if (ok)
        ok = PutInPlace(m_strTemp, m_strPath, reason);
    if (!ok && m_bRegular)
        DeleteFileW(PathFromUtf8(m_strTemp).c_str());
    m_strTemp.clear();
    return ok;
}

void CAtomicFile::Abandon()
{
    if (m_handle == CLOSED)
        return;
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = CLOSED;
    if (m_bRegular)
        DeleteFileW(PathFromUtf8(m_strTemp).c_str());
    m_strTemp.clear();
}

bool WriteToDescriptor(int fd, const void* data, size_t size, std::string& reason)
{
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const unsigned ask = size > 0x40000000 ? 0x40000000u : static_cast<unsigned>(size);
        const int n = _write(fd, p, ask);
        if (n <= 0) {
            reason = n < 0 ? std::strerror(errno) : "nothing was written";
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}
