#include "platform/FileWrite.h"

#include "platform/Process.h"
#include "platform/Utf8Path.h"

#include <random>

std::string CAtomicFile::FreshTempName(const std::string& path)
{
    std::random_device random;
    return path + ".tmp" + std::to_string(CurrentProcessId()) + "-" + std::to_string(random() & 0xFFFFFF);
}

std::string FolderOfPath(const std::string& path)
{
    const auto slash = path.find_last_of(PATH_SEPARATORS);
    if (slash == std::string::npos)
        return ".";
    // The root keeps its separator: "/" (and "C:\\" on Windows) is a folder, "" is not.
    if (slash == 0 || (PATH_SEPARATOR == '\\' && path[slash - 1] == ':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}
