#pragma once
// velunit-sim run in the background by the tool tests, on a pseudo-terminal of its own.
#include "tests/support/TestSupport.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// velunit-sim in the background for the life of the object; it prints its device first.
class CSimProcess
{
  public:
    CSimProcess(const std::string& arguments, const testsupport::TempDir& dir)
        : m_out((dir / "sim.out").string())
    {
        const auto sim = std::filesystem::path(TIDEWELL_TOOL_PATH).parent_path() / "velunit-sim";
        if (!std::filesystem::exists(sim))
            return;
        const std::string pidFile = (dir / "sim.pid").string();
        const std::string line =
            "'" + sim.string() + "' " + arguments + " > '" + m_out + "' 2>&1 & echo $! > '" + pidFile + "'";
        if (std::system(line.c_str()) != 0)
            return;
        for (int i = 0; i < 100 && m_device.empty(); ++i) {
            ::usleep(50000);
            const std::string text = testsupport::ReadFileText(m_out);
            if (text.find('\n') != std::string::npos)
                m_device = text.substr(0, text.find('\n'));
        }
        m_pid = std::atoi(testsupport::ReadFileText(pidFile).c_str());
    }
    ~CSimProcess()
    {
        if (m_pid > 0)
            ::kill(m_pid, SIGTERM);
    }
    const std::string& Device() const { return m_device; }
    pid_t Pid() const { return m_pid; }

  private:
    std::string m_out;
    std::string m_device;
    pid_t m_pid = -1;
};
