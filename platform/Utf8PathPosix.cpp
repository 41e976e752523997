#include "platform/Utf8Path.h"

std::FILE* OpenFileUtf8(const std::string& utf8, const char* mode)
{
    return std::fopen(utf8.c_str(), mode);
}
