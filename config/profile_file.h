// Profile files (.bin): both sections, seven 0xFF bytes, then the macro data of the storage kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/image.h"
#include "config/sections.h"
#include "config/storage.h"

namespace kelv::config {

inline constexpr std::size_t kProfileFileParameterOffset = 0;
inline constexpr std::size_t kProfileFileProfileOffset = 104;
inline constexpr std::size_t kProfileFileFillOffset = 249;  // seven 0xFF bytes
inline constexpr std::size_t kProfileFileMacroOffset = 256;
inline constexpr std::size_t kProfileFilePagesOffset = 1280;  // Flash: page i at 1280 + 256 i
inline constexpr std::size_t kProfileFileHeaderSize = 256;
inline constexpr std::size_t kI2CProfileFileSize = 768;
inline constexpr std::size_t kFlashProfileFileSize = 9472;

// Shown when a file was made for another kind of macro storage (or holds nothing at all).
inline constexpr std::string_view kProfileLoadErrorText = "Loading .bin is error!";

// 768 for I2C, 9472 for Flash, 256 (sections only) when the kind is not known.
std::size_t ProfileFileSize(StorageKind storage);

// The file's bytes. The sections are written as given: build them with
// ConfigImage::StorePagesToDevice first so that marker and checksums are set.
std::vector<std::uint8_t> EncodeProfileFile(const ParameterSection& parameter,
                                            const ProfileSection& profile, StorageKind storage,
                                            const MacroData& macros);

// What a loaded file replaces.
struct ProfileFileContents {
    ParameterSection parameter{};
    ProfileSection profile{};
    MacroData macros;
};

struct ProfileLoadResult {
    bool ok = false;
    std::string error;  // kProfileLoadErrorText when refused
};

// Takes a file over `target`, which holds the current values: bytes the file lacks keep them,
// bytes beyond the layout are ignored, checksums are not verified. The marker (byte 0) must be
// 0xE0 for I2C and 0xF0 for Flash; with no kind known only the sections are taken. An empty
// file is refused too. A refused file leaves `target` untouched.
ProfileLoadResult DecodeProfileFile(std::span<const std::uint8_t> file, StorageKind storage,
                                    ProfileFileContents& target);

}  // namespace kelv::config
