#include "platform/StandardStreams.h"

#include <unistd.h>

bool StandardOutputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

bool StandardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

void SetStandardOutputBinary()
{
}
