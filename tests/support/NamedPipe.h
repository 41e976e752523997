#pragma once
// A named pipe that no one ever writes to, for the code that must refuse to open one as a
// file (a blocking open of it would never return). On POSIX systems it is a FIFO in the
// given folder; on Windows pipes have their own namespace (\\.\pipe\), so it lives there,
// with enough instances waiting that every look at it finds one.
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport
{

class NamedPipe
{
  public:
    NamedPipe(const std::filesystem::path& folder, const std::string& name);
    ~NamedPipe();
    NamedPipe(const NamedPipe&) = delete;
    NamedPipe& operator=(const NamedPipe&) = delete;

    // Empty when the pipe could not be made.
    const std::string& Path() const { return m_strPath; }

  private:
    std::string m_strPath;
    std::vector<void*> m_handles;
};

} // namespace testsupport
