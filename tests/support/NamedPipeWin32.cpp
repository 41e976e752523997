#include "tests/support/NamedPipe.h"

#include <random>
#include <windows.h>

namespace testsupport
{

NamedPipe::NamedPipe(const std::filesystem::path&, const std::string& name)
{
    std::random_device random;
    const std::string path = "\\\\.\\pipe\\tidewell-test-" + std::to_string(random()) + "-" + name;
    // Each open by a client takes one waiting instance for good.
    for (int i = 0; i < 16; ++i) {
        const HANDLE pipe = CreateNamedPipeA(path.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                             PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
        if (pipe == INVALID_HANDLE_VALUE)
            break;
        m_handles.push_back(pipe);
    }
    if (!m_handles.empty())
        m_strPath = path;
}

NamedPipe::~NamedPipe()
{
    for (void* pipe : m_handles)
        CloseHandle(pipe);
}

} // namespace testsupport
