#pragma once
// This process's id, and whether another one has ended: temporary files carry the id of
// the process writing them, so that one left by a process that was killed can be told
// from one still being written.
#include <cstdint>

uint64_t CurrentProcessId();
// True only when it is certain that no process with that id runs any more.
bool ProcessHasEnded(uint64_t pid);
