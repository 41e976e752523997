#pragma once
// A pseudo-terminal pair for tests that put another program on one end of a "serial line":
// the program gets the master as its standard input and output, the code under test opens
// the slave device like a serial port.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

class CTestPty
{
  public:
    CTestPty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slave = ::ptsname(m_master);
    }
    ~CTestPty()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    CTestPty(const CTestPty&) = delete;
    CTestPty& operator=(const CTestPty&) = delete;

    bool IsOpen() const { return !m_slave.empty(); }
    const std::string& SlavePath() const { return m_slave; }

    // Starts a program in the folder with the master as its standard input and output and
    // its standard error on /dev/null. Returns its process id, or -1.
    pid_t Spawn(const std::vector<std::string>& argv, const std::string& folder) const
    {
        const pid_t pid = ::fork();
        if (pid != 0)
            return pid;
        if (::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::dup2(m_master, 0);
        ::dup2(m_master, 1);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0)
            ::dup2(null, 2);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }

    // Waits for the program; its exit status, or -1 when it did not exit normally.
    static int Wait(pid_t pid)
    {
        int status = 0;
        if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
    }

  private:
    int m_master = -1;
    std::string m_slave;
};
