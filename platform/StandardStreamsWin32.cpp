#include "platform/StandardStreams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace
{

// _isatty alone also says yes for the NUL device; only a console answers GetConsoleMode.
bool IsConsole(FILE* stream)
{
    const int fd = _fileno(stream);
    if (fd < 0 || !::_isatty(fd))
        return false;
    DWORD mode = 0;
    return ::GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), &mode) != 0;
}

} // namespace

bool StandardOutputIsTerminal()
{
    return IsConsole(stdout);
}

bool StandardErrorIsTerminal()
{
    return IsConsole(stderr);
}

void SetStandardOutputBinary()
{
    std::fflush(stdout);
    ::_setmode(_fileno(stdout), _O_BINARY);
}
