#include "platform/Process.h"
#include "platform/ProgramArguments.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(Process, AChildThatWasWaitedForHasEndedAndOneThatRunsHasNot)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" --gtest_filter=-*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(self, line.data(), nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child));
    EXPECT_FALSE(ProcessHasEnded(child.dwProcessId));
    TerminateProcess(child.hProcess, 0);
    WaitForSingleObject(child.hProcess, 10000);
    // Still held open here: its exit code tells that it has ended.
    EXPECT_TRUE(ProcessHasEnded(child.dwProcessId));
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_TRUE(ProcessHasEnded(child.dwProcessId));
}

TEST(ProgramArguments, TheWideCommandLineGivesTheSameArgumentsAsUtf8)
{
    // This program's own arguments: every one of them is ASCII under the test runner, so the
    // narrow ones must come out the same.
    const int argc = __argc;
    char** argv = __argv;
    const std::vector<std::string> args = Utf8Arguments(argc, argv);
    ASSERT_EQ(args.size(), static_cast<size_t>(argc - 1));
    for (int i = 1; i < argc; ++i)
        EXPECT_EQ(args[static_cast<size_t>(i - 1)], argv[i]);
}
