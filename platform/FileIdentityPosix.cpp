#include "platform/FileIdentity.h"

#include <sys/stat.h>

bool GetFileIdentity(const std::filesystem::path& path, SFileIdentity& identity)
{
    struct stat st {
    };
    if (::stat(path.c_str(), &st) != 0)
        return false;
    identity.m_nVolume = static_cast<uint64_t>(st.st_dev);
    identity.m_nFile = static_cast<uint64_t>(st.st_ino);
    return true;
}
