#pragma once
// Replacing a file's contents so that a crash, a full disk or a write error part way leaves
// either the old file or the new one, never a truncated mix: the bytes go to a temporary
// file in the same folder, are flushed to the disk, and the temporary file is then renamed
// over the old one. Where the file system allows, the temporary file has no name until it
// is complete (it gets one only for the rename), so a save killed part way leaves nothing;
// elsewhere a killed save's "NAME.tmp<pid>-<n>" is removed by the next save of NAME.
#include <cstdint>
#include <span>
#include <string>

// False on any open, write, flush, close or rename error; the old file is then untouched
// and the temporary file removed. tempPath names the temporary file; empty for a fresh
// name beside path.
bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes,
                         const std::string& tempPath = {});

// Removes the temporary files that saves of path killed part way left behind (those of
// processes still running are theirs). ReplaceFileContents does this before each save.
void RemoveStaleTempFiles(const std::string& path);
