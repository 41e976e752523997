#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <sys/wait.h>

// Command lines are the POSIX shell's: the tests that run programs quote for it.
namespace testsupport
{

CommandResult RunCommand(const std::string& commandLine, const std::string& standardInput)
{
    TempDir dir;
    auto inPath = dir / "stdin";
    auto outPath = dir / "stdout";
    auto errPath = dir / "stderr";
    WriteFileText(inPath, standardInput);
    std::string full = "(" + commandLine + ") <'" + inPath.string() + "' >'" + outPath.string() + "' 2>'" +
                       errPath.string() + "'";
    int raw = std::system(full.c_str());
    CommandResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadFileText(outPath);
    result.err = ReadFileText(errPath);
    return result;
}

} // namespace testsupport
