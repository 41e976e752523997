// The live recorder when the file-size limit stops its writes: a POSIX resource limit, set
// in a child process so that the test runner keeps its own.
#include "tests/link/LiveLine.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

namespace
{

// Runs the body in a child process and returns its exit status (the body's own checks make
// it exit non-zero). The child may lower its own limits without touching the test runner.
template <typename Body> int InChild(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int status = 1;
        try {
            status = body();
        } catch (...) {
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(LiveRecorder, AFileSizeLimitGivesOneWarningAndKeepsEveryEnsemble)
{
    LiveLine live;
    const Bytes e1 = Pd14(1), e2 = Pd14(2), e3 = Pd14(3), e4 = Pd14(4);
    ASSERT_GT(e1.size(), 100u);
    const std::filesystem::path report = live.dir / "report.txt";
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of killing
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t hard = limit.rlim_max;
        limit.rlim_cur = 100; // less than one ensemble
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
        live.Send(Join({e1, e2}));
        const int first = live.Tick();
        live.Send(e3);
        const int second = live.Tick();
        const auto filesWhileFull = live.Files().size();
        const auto warningsWhileFull = live.log.warnings.size();
        limit.rlim_cur = hard;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 3;
        live.Send(e4);
        const int third = live.Tick();
        std::ofstream(report) << first << ' ' << second << ' ' << third << ' ' << filesWhileFull << ' '
                              << warningsWhileFull << ' ' << live.log.warnings.size() << ' '
                              << live.recorder->List().GetCount() << ' ' << live.recorder->RecordedCount();
        return 0;
    });
    ASSERT_EQ(status, 0);
    // Two ensembles, then one, then one; while the limit held no file stayed and one warning
    // was given; afterwards the one file holds all four, in order.
    EXPECT_EQ(testsupport::ReadFileText(report), "2 1 1 0 1 1 4 4");
    EXPECT_EQ(live.Files(), (std::vector<std::string>{"rt20261208.001"}));
    EXPECT_EQ(testsupport::ReadFileBytes(live.File("rt20261208.001")), Join({e1, e2, e3, e4}));
}

} // namespace
