#include "platform/SettingsStore.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string EnvOrEmpty(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::filesystem::path HomeDir()
{
    std::string home = EnvOrEmpty("HOME");
    return home.empty() ? std::filesystem::path("/") : std::filesystem::path(home);
}

bool WriteAll(int fd, const std::string& text)
{
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::filesystem::path CSettingsStore::DefaultPath()
{
    std::string named = EnvOrEmpty("TIDEWELL_CONFIG");
    if (!named.empty())
        return named;
    std::string xdg = EnvOrEmpty("XDG_CONFIG_HOME");
    // The base directory rules ignore a relative XDG_CONFIG_HOME.
    std::filesystem::path base =
        (!xdg.empty() && xdg[0] == '/') ? std::filesystem::path(xdg) : HomeDir() / ".config";
    return base / "Tidewell" / "Tidewell.conf";
}

std::string CSettingsStore::DefaultStationDir()
{
    return (HomeDir() / "Tidewell" / "Config").string();
}

bool CSettingsStore::WriteWhole(const std::filesystem::path& path, const std::string& text)
{
    std::string temp = path.string() + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    // mkstemp makes the file private; keep the mode of the file being replaced, or make it
    // as readable as any other settings file.
    struct stat old {
    };
    ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here changes nothing already written.
    const std::filesystem::path folder = path.parent_path();
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
