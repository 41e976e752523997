#pragma once
// File names travel through the program as UTF-8 strings. std::filesystem::path made from a
// narrow string takes it in the system's code page, which on Windows is not UTF-8, so every
// conversion between the two goes through these.
#include <cstdio>
#include <filesystem>
#include <string>

// The separator the system's own paths use, and every character it takes as one.
#ifdef _WIN32
inline constexpr char PATH_SEPARATOR = '\\';
inline constexpr const char* PATH_SEPARATORS = "\\/";
#else
inline constexpr char PATH_SEPARATOR = '/';
inline constexpr const char* PATH_SEPARATORS = "/";
#endif

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// std::fopen by a UTF-8 name; mode as for std::fopen, "x" (exclusive creation) included.
std::FILE* OpenFileUtf8(const std::string& utf8, const char* mode);
