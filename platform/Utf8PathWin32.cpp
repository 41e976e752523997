#include "platform/Utf8Path.h"

#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

std::FILE* OpenFileUtf8(const std::string& utf8, const char* mode)
{
    const std::wstring path = PathFromUtf8(utf8).wstring();
    std::string rest = mode;
    const auto exclusive = rest.find('x');
    if (exclusive == std::string::npos)
        return _wfopen(path.c_str(), std::wstring(rest.begin(), rest.end()).c_str());
    // The C runtime this links against knows no "x": create the file exclusively first,
    // then make a stream of the descriptor.
    rest.erase(exclusive, 1);
    int flags =
        _O_CREAT | _O_EXCL | _O_NOINHERIT | (rest.find('b') != std::string::npos ? _O_BINARY : _O_TEXT);
    flags |= rest.find('+') != std::string::npos ? _O_RDWR : _O_WRONLY;
    const int fd = _wopen(path.c_str(), flags, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE* file = _wfdopen(fd, std::wstring(rest.begin(), rest.end()).c_str());
    if (!file)
        _close(fd);
    return file;
}
