#pragma once
// The tool under test and paths, quoted for the shell line RunCommand hands to /bin/sh.
#include <filesystem>
#include <string>

inline std::string Tool()
{
    return std::string("'") + TIDEWELL_TOOL_PATH + "'";
}

inline std::string Quote(const std::filesystem::path& p)
{
    return "'" + p.string() + "'";
}
