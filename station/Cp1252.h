#pragma once
// Text conversion between the station file's Windows-1252 bytes and UTF-8 in memory.
#include <cstdint>
#include <string>
#include <vector>

// Every byte maps to one character. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number, as Windows
// does, so that such a byte survives a load and a save unchanged.
std::string Cp1252ToUtf8(const std::string& bytes);

// A character the code page cannot hold, and a byte that is not valid UTF-8, becomes "?".
std::string Utf8ToCp1252(const std::string& text);

// 16-bit characters (an older form some files hold) to Windows-1252; a surrogate pair or
// any character the code page cannot hold becomes one "?".
std::string Utf16ToCp1252(const std::vector<uint16_t>& units);
