#include "platform/Process.h"

#include <windows.h>

uint64_t CurrentProcessId()
{
    return GetCurrentProcessId();
}

bool ProcessHasEnded(uint64_t pid)
{
    if (pid == 0 || pid > 0xFFFFFFFFu)
        return false;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER; // no process has that id
    // A process that has ended can still be held open by someone: its exit code tells.
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}
