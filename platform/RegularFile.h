#pragma once
// Opening the files a user names (station files, data files) for reading. A named pipe
// would block the open until a writer comes, a device may never end, and a folder has no
// meaningful length: only regular files are taken, and the check comes before the open.
#include <cstdint>
#include <string>
#include <vector>

// Empty when path names a regular file (after symbolic links); otherwise why not, in words
// for a message after the path: "is a folder, not a file", "No such file or directory".
std::string RegularFileProblem(const std::string& path);

// A regular file open for reading (blocking reads, not inherited by child processes),
// closed with the object.
class CRegularFile
{
  public:
    CRegularFile() = default;
    ~CRegularFile() { Close(); }
    CRegularFile(const CRegularFile&) = delete;
    CRegularFile& operator=(const CRegularFile&) = delete;

    // False with the reason when path is not a regular file or cannot be opened. A file
    // replaced by something else between the check and the open is refused too.
    bool Open(const std::string& path, std::string& reason);
    bool IsOpen() const { return m_handle != CLOSED; }
    void Close();

    // The file's size now; false with the reason.
    bool Size(uint64_t& size, std::string& reason) const;
    // Up to size bytes into buffer: how many, 0 at the end of the file, -1 on an error
    // (with the reason).
    int64_t Read(void* buffer, size_t size, std::string& reason);

  private:
    static constexpr intptr_t CLOSED = -1;
    intptr_t m_handle = CLOSED; // a descriptor on POSIX systems, a HANDLE on Windows
};

// The size in bytes that a whole file read into memory may have here: the machine's
// physical memory. Anything larger would be an absurd allocation.
uint64_t LargestFileInMemory();

// Reads a whole regular file. False with the reason when it is not one, cannot be read, or
// is larger than maxBytes (0: LargestFileInMemory()).
bool ReadRegularFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason,
                     uint64_t maxBytes = 0);
