#pragma once
// Which files of a station directory are recorded data, and the live recording file.
#include "data/DateTime.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// A name longer than four characters that ends in a point and three decimal digits:
// "rt20051203.001", "a.123"; not "a.12", "data.1234", "x.12a".
bool IsDataFileName(const std::string& name);

// The names (without folder) of the data files directly in a directory, sorted; folders
// are skipped. Empty when the directory cannot be read.
std::vector<std::string> ListDataFiles(const std::string& directory);

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Creates the next free "rt" + date + ".NNN" (001 to 099) in the directory for writing.
// A name that exists, or that cannot be looked at (a file locked by another program), is
// passed over. Empty when every number is taken or the creation fails. pathOut receives
// the name created.
FilePtr OpenRecordingFile(const std::string& directory, std::string* pathOut = nullptr);
// The same for a given day (the live view passes today's date).
FilePtr OpenRecordingFile(const std::string& directory, const CDateTime& today,
                          std::string* pathOut = nullptr);
