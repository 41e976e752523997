#pragma once
// File names travel through the program as UTF-8 strings. std::filesystem::path made from a
// narrow string takes it in the system's code page, which on Windows is not UTF-8, so every
// conversion between the two goes through these.
#include <filesystem>
#include <string>

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);
