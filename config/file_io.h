// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kelv::config {

struct ReadFileResult {
    bool ok = false;
    std::vector<std::uint8_t> bytes;
    std::string error;  // "<path>: <system error text>"
};

struct WriteFileResult {
    bool ok = false;
    std::string error;  // "<path>: <system error text>"
};

// The name a save dialog's choice is written under: ".bin" is always appended, also to a name
// that already ends in it ("a.bin" is written as "a.bin.bin"), as the dialogs have always done.
std::filesystem::path WithBinExtension(const std::filesystem::path& chosen);

// Regular files only: a directory, pipe or device is refused rather than read (or waited on).
// At most `maxBytes` are read; the readers of fixed layouts ignore anything beyond them.
ReadFileResult ReadFile(const std::filesystem::path& path,
                        std::size_t maxBytes = static_cast<std::size_t>(-1));

// Writes a temporary file beside `path`, syncs it and renames it over `path`, so that readers
// see either the old file or the whole new one. On failure the old file is left as it was and
// the temporary file is removed. A symbolic link is followed: its target is replaced.
WriteFileResult WriteFileAtomic(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes);

}  // namespace kelv::config
