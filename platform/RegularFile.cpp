#include "platform/RegularFile.h"

bool ReadRegularFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason,
                     uint64_t maxBytes)
{
    bytes.clear();
    CRegularFile file;
    if (!file.Open(path, reason))
        return false;
    if (maxBytes == 0)
        maxBytes = LargestFileInMemory();
    uint64_t size = 0;
    bool ok = file.Size(size, reason);
    if (ok && size > maxBytes) {
        reason = "is too large (" + std::to_string(size) + " bytes) to be read into memory";
        ok = false;
    }
    if (ok)
        bytes.reserve(static_cast<size_t>(size));
    uint8_t buffer[65536];
    while (ok) {
        const int64_t n = file.Read(buffer, sizeof buffer, reason);
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        if (bytes.size() + static_cast<size_t>(n) > maxBytes) {
            reason = "is too large to be read into memory";
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    if (!ok)
        bytes.clear();
    return ok;
}
