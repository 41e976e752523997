#include "platform/Process.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

TEST(Process, AChildThatWasWaitedForHasEndedAndOneThatRunsHasNot)
{
    const pid_t running = fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        pause();
        _exit(0);
    }
    EXPECT_FALSE(ProcessHasEnded(static_cast<uint64_t>(running)));
    kill(running, SIGKILL);
    waitpid(running, nullptr, 0);
    EXPECT_TRUE(ProcessHasEnded(static_cast<uint64_t>(running)));
}
