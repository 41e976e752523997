#pragma once
// Writing files. A file written through CAtomicFile appears under its name only whole: the
// bytes go to a temporary file beside it, are flushed to the disk, and the temporary file
// then takes the old file's place in one step, so a crash, a full disk or a stopped write
// leaves the old file or the new one, never a mix.
#include <cstddef>
#include <cstdint>
#include <string>

class CAtomicFile
{
  public:
    CAtomicFile() = default;
    ~CAtomicFile() { Abandon(); }
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // The name a fresh temporary file for path gets: "<path>.tmp<pid>-<n>".
    static std::string FreshTempName(const std::string& path);

    // Starts the file that will replace path: a fresh temporary file beside it, or the
    // temporary file tempPath as it is when one is given (truncated; it may name something
    // that is not a regular file, which then fails at Commit and is never removed).
    // False with the reason when it cannot be made.
    bool Create(const std::string& path, std::string& reason, const std::string& tempPath = {});
    bool IsOpen() const { return m_handle != CLOSED; }
    // All of the bytes; false with the reason.
    bool Write(const void* data, size_t size, std::string& reason);
    // Flushes the bytes to the disk, closes the file, gives it the permissions of the file
    // it replaces and puts it in that file's place. False with the reason: the temporary
    // file is then removed and the old file left as it was.
    bool Commit(std::string& reason);
    // Closes and removes the temporary file; the old file stays as it was.
    void Abandon();

  private:
    static constexpr intptr_t CLOSED = -1;
    intptr_t m_handle = CLOSED; // a descriptor on POSIX systems, a HANDLE on Windows
    bool m_bRegular = false;    // only a regular file of our own is ever renamed or removed
    std::string m_strPath, m_strTemp;
};

// Writes all of the bytes to an open descriptor that stays the caller's (standard output);
// false with the reason.
bool WriteToDescriptor(int fd, const void* data, size_t size, std::string& reason);

// The folder part of a path ("." when there is none), by the platform's separators.
std::string FolderOfPath(const std::string& path);
