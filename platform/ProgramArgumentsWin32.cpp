#include "platform/ProgramArguments.h"

#include "platform/WinApi.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        // Cannot happen short of memory running out; the narrow arguments are better than none.
        return argc < 1 ? std::vector<std::string>() : std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return args;
}
