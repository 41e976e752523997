#include "tests/support/NamedPipe.h"

#include <sys/stat.h>

namespace testsupport
{

NamedPipe::NamedPipe(const std::filesystem::path& folder, const std::string& name)
{
    const std::filesystem::path path = folder / name;
    if (mkfifo(path.c_str(), 0600) == 0)
        m_strPath = path.string();
}

NamedPipe::~NamedPipe()
{
    if (!m_strPath.empty())
        std::filesystem::remove(m_strPath);
}

} // namespace testsupport
