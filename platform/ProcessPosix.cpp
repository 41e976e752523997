#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

uint64_t CurrentProcessId()
{
    return static_cast<uint64_t>(getpid());
}

bool ProcessHasEnded(uint64_t pid)
{
    const auto id = static_cast<pid_t>(pid);
    if (id <= 0 || static_cast<uint64_t>(id) != pid)
        return false;
    return kill(id, 0) != 0 && errno == ESRCH;
}
