// Whole-file reads and crash-safe whole-file writes.
#pragma once

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

ReadFileResult ReadFile(const std::filesystem::path& path);

// Writes a temporary file beside `path`, syncs it and renames it over `path`, so that readers
// see either the old file or the whole new one. On failure the old file is left as it was and
// the temporary file is removed. A symbolic link is followed: its target is replaced.
WriteFileResult WriteFileAtomic(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes);

}  // namespace kelv::config
