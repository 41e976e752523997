#pragma once
// What tells one file or folder from every other on this machine, whatever path reaches
// it: the device (volume) and the file's number on it. Walks through folders compare these
// to notice a link that loops back to a folder already seen.
#include <compare>
#include <cstdint>
#include <filesystem>

struct SFileIdentity {
    uint64_t m_nVolume = 0;
    uint64_t m_nFile = 0;
    auto operator<=>(const SFileIdentity&) const = default;
};

// The identity of what path names, after links; false when it cannot be had.
bool GetFileIdentity(const std::filesystem::path& path, SFileIdentity& identity);
