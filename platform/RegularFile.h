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

// An open descriptor (close-on-exec, blocking reads) for a regular file, or -1 with the
// reason. A file replaced by something else between the check and the open is refused too.
int OpenRegularFileForReading(const std::string& path, std::string& reason);

// The size in bytes that a whole file read into memory may have here: the machine's
// physical memory. Anything larger would be an absurd allocation.
uint64_t LargestFileInMemory();

// Reads a whole regular file. False with the reason when it is not one, cannot be read, or
// is larger than maxBytes (0: LargestFileInMemory()).
bool ReadRegularFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason,
                     uint64_t maxBytes = 0);
