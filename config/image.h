// The configuration image: the three copies of both sections, the code texts of the page
// profile, and the raw macro data that travels with whole configurations.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/sections.h"
#include "config/storage.h"

namespace kelv::config {

inline constexpr std::size_t kPackedAreaSize = 512;
inline constexpr std::size_t kNameTableSize = 1024;
inline constexpr int kMacroPageCount = 32;
inline constexpr std::size_t kMacroPageSize = 256;

// The macro memory as the mouse and files hold it. I2C storage uses `packedArea` (two 256-byte
// halves); Flash storage uses `nameTable` (32 names x 32 bytes) and `pages`.
struct MacroData {
    std::array<std::uint8_t, kPackedAreaSize> packedArea{};
    std::array<std::uint8_t, kNameTableSize> nameTable{};
    std::array<std::array<std::uint8_t, kMacroPageSize>, kMacroPageCount> pages{};
    friend bool operator==(const MacroData&, const MacroData&) = default;
};

using ProfileCodeTexts = std::array<std::array<std::string, kKeySlotCount>, kProfileCount>;

class ConfigImage {
  public:
    ConfigImage();

    // Device side: what was read from the mouse or loaded from a file; what is written back.
    ParameterSection& ParameterBuffer() { return parameterBuffer_; }
    const ParameterSection& ParameterBuffer() const { return parameterBuffer_; }
    ProfileSection& ProfileBuffer() { return profileBuffer_; }
    const ProfileSection& ProfileBuffer() const { return profileBuffer_; }

    // Defaults from the embedded image.
    ParameterSection& DefaultParameterSection() { return defaultParameter_; }
    const ParameterSection& DefaultParameterSection() const { return defaultParameter_; }
    ProfileSection& DefaultProfileSection() { return defaultProfile_; }
    const ProfileSection& DefaultProfileSection() const { return defaultProfile_; }

    // Page side: what the pages show and edit.
    ParameterSection& PageParameter() { return pageParameter_; }
    const ParameterSection& PageParameter() const { return pageParameter_; }
    // Read-only so that the code texts cannot fall out of step; edit with the setters below.
    const ProfileSection& PageProfile() const { return pageProfile_; }

    // Replaces the page profile and rebuilds every code text.
    void SetPageProfile(const ProfileSection& section);
    // One slot (p = 0..2, k = 0..11) in the bytes and its code text; out-of-range is ignored.
    void SetKeySlot(int p, int k, const KeySlotBytes& code);
    // As SetKeySlot from a code text; false (and nothing changed) for a malformed text.
    bool SetKeySlotText(int p, int k, std::string_view text);
    // Recomputes byte 144 of the page profile (before it goes to the mouse).
    void ProfileChecksumPage();

    // `ProfileCodes`: 8 upper-case hex digits per slot, byte 0 first.
    const ProfileCodeTexts& ProfileCodes() const { return profileCodes_; }
    const std::string& ProfileCode(int p, int k) const;

    // Device side -> page side, code texts rebuilt (the copy part of refreshing the pages).
    void LoadPagesFromDevice();
    // Page side -> device side for storing: storage marker set for the kind, both page
    // checksums written, then both page sections copied to the device side.
    void StorePagesToDevice(StorageKind storage);
    // Defaults -> device side (the pages follow with LoadPagesFromDevice).
    void DeviceFromDefaults();

  private:
    void RebuildCodes();

    ParameterSection parameterBuffer_{};
    ProfileSection profileBuffer_{};
    ParameterSection defaultParameter_{};
    ProfileSection defaultProfile_{};
    ParameterSection pageParameter_{};
    ProfileSection pageProfile_{};
    ProfileCodeTexts profileCodes_;
};

}  // namespace kelv::config
