#pragma once
// Small helpers shared by every test folder.
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport
{

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes out of scope.
class TempDir
{
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

  private:
    std::filesystem::path m_path;
};

// The real recordings beside the checkout: <shared>/data/<relative>.
std::filesystem::path SharedDataPath(const std::string& relative);

std::vector<unsigned char> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);
std::string ReadFileText(const std::filesystem::path& path);
void WriteFileText(const std::filesystem::path& path, const std::string& text);

// Runs a shell command line, returns its exit status and collects its standard output
// (and standard error, when asked for) as text.
struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};
CommandResult RunCommand(const std::string& commandLine, const std::string& standardInput = {});

} // namespace testsupport
