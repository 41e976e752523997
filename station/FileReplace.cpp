#include "station/FileReplace.h"

#include "platform/Process.h"
#include "platform/Utf8Path.h"

#include <filesystem>

namespace
{

// "NAME.tmp<pid>-<n>" of a process that no longer runs: a save killed between creating
// its temporary file and the rename. Saves of other running processes are left alone.
bool IsStaleTempName(const std::string& entry, const std::string& name)
{
    const std::string lead = name + ".tmp";
    if (entry.size() <= lead.size() || entry.compare(0, lead.size(), lead) != 0)
        return false;
    const std::string rest = entry.substr(lead.size());
    const auto dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 == rest.size())
        return false;
    if (rest.find_first_not_of("0123456789-") != std::string::npos ||
        rest.find('-', dash + 1) != std::string::npos)
        return false;
    if (dash > 9)
        return false;
    const uint64_t pid = std::stoull(rest.substr(0, dash));
    return pid != CurrentProcessId() && ProcessHasEnded(pid);
}

} // namespace

void RemoveStaleTempFiles(const std::string& path)
{
    namespace fs = std::filesystem;
    const fs::path target = PathFromUtf8(path);
    const std::string name = Utf8FromPath(target.filename());
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (!IsStaleTempName(Utf8FromPath(it->path().filename()), name))
            continue;
        std::error_code kind;
        if (fs::symlink_status(it->path(), kind).type() == fs::file_type::regular) {
            std::error_code removed;
            fs::remove(it->path(), removed);
        }
    }
}
