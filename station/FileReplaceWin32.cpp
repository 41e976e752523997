#include "station/FileReplace.h"

#include "platform/FileWrite.h"

// Windows has no nameless file to link in afterwards: the new contents always go to a named
// temporary file beside the station file, which the next save removes when a kill left it.
bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes, const std::string& tempPath)
{
    if (path.empty())
        return false;
    if (tempPath.empty())
        RemoveStaleTempFiles(path);
    CAtomicFile file;
    std::string reason;
    return file.Create(path, reason, tempPath) && file.Write(bytes.data(), bytes.size(), reason) &&
           file.Commit(reason);
}
