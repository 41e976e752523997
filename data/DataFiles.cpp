#include "data/DataFiles.h"

#include "platform/Utf8Path.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool IsDataFileName(const std::string& name)
{
    const size_t n = name.size();
    if (n <= 4 || name[n - 4] != '.')
        return false;
    for (size_t i = n - 3; i < n; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

std::vector<std::string> ListDataFiles(const std::string& directory)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(PathFromUtf8(directory), ec);
    if (ec)
        return names;
    for (const auto& entry : it) {
        std::error_code typeError;
        if (entry.is_directory(typeError))
            continue;
        const std::string name = Utf8FromPath(entry.path().filename());
        if (IsDataFileName(name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

FilePtr OpenRecordingFile(const std::string& directory, std::string* pathOut)
{
    return OpenRecordingFile(directory, CDateTime::Now(), pathOut);
}

FilePtr OpenRecordingFile(const std::string& directory, const CDateTime& today, std::string* pathOut)
{
    const std::string base = Utf8FromPath(PathFromUtf8(directory) / ("rt" + today.Format("%Y%m%d")));
    for (int k = 1; k <= 99; ++k) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, ".%03d", k);
        const std::string name = base + suffix;
        if (std::FILE* existing = OpenFileUtf8(name, "rb")) {
            std::fclose(existing);
            continue;
        }
        if (errno != ENOENT)
            continue; // there but not readable: never write over it
        // "x": fail rather than truncate when the name appeared since we looked.
        std::FILE* created = OpenFileUtf8(name, "wbx");
        if (!created)
            return nullptr;
        if (pathOut)
            *pathOut = name;
        return FilePtr(created);
    }
    return nullptr;
}
