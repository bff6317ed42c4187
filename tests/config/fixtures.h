// The default configuration this build ships, rebuilt byte by byte for tests.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "config/sections.h"
#include "keys/codes.h"

namespace kelv::config::test {

inline constexpr std::uint16_t kFixtureVendorId = 0x04D9;
inline constexpr std::uint16_t kFixtureProductId = 0xA02D;

inline ParameterSection DefaultParameterFixture() {
    ParameterSection p{};
    p[0] = 0xE0;
    p[1] = 0x31;
    p[2] = kFixtureVendorId >> 8;
    p[3] = kFixtureVendorId & 0xFF;
    p[4] = kFixtureProductId >> 8;
    p[5] = kFixtureProductId & 0xFF;
    p[6] = 0xBF;
    const std::uint8_t device1[] = {0x7F, 0x7F, 0xBF, 0xAF, 0x00, 0x00, 0x45, 0x02, 0xEF,
                                    0x10, 0x70, 0x10, 0x40, 0x10, 0xFF, 0x00, 0x58, 0x00,
                                    0x03, 0x03, 0x48, 0x96, 0xFA, 0x20, 0x03, 0x02};
    for (std::size_t i = 0; i < sizeof device1; ++i) p[7 + i] = device1[i];
    p[33] = 0;
    p[34] = 0xEF;
    p[35] = 0x15;
    p[36] = 0x05;
    p[37] = 0x42;
    p[38] = 0x31;
    p[39] = 0x53;
    p[40] = 0x86;
    p[41] = 0x87;
    p[42] = 0xA9;
    const std::uint8_t device3[] = {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x6D, 0x60};
    for (std::size_t i = 0; i < sizeof device3; ++i) p[43 + i] = device3[i];
    p[52] = p[53] = 15;
    for (std::size_t i = 54; i < 75; ++i) p[i] = 100;
    for (std::size_t i = 75; i < 87; ++i) p[i] = 0xA4;
    constexpr std::string_view kName = "HID Gaming mouse";
    for (std::size_t i = 0; i < kName.size(); ++i) p[87 + i] = static_cast<std::uint8_t>(kName[i]);
    ParameterChecksum(p);
    return p;
}

inline constexpr const char* kDefaultSlots[3][12] = {
    {"01010000", "01100000", "01100000", "03022300", "01020000", "01080000", "01080000", "02080700",
     "01040000", "09000000", "09000000", "03019400"},
    {"01010000", "09010000", "09020000", "03022300", "01020000", "09000000", "06030014", "02080700",
     "10022000", "01080000", "01100000", "03019400"},
    {"01010000", "09010000", "09020000", "03022300", "01020000", "09000000", "06030014", "02080700",
     "01040000", "01080000", "01100000", "03019400"},
};

inline ProfileSection DefaultProfileFixture() {
    ProfileSection s{};
    for (int p = 0; p < 3; ++p)
        for (int k = 0; k < 12; ++k) SetKeySlot(s, p, k, *keys::ParseCodeText(kDefaultSlots[p][k]));
    ProfileChecksum(s);
    return s;
}

// Differs between any two offsets of a page and between pages, so misplaced copies show.
inline std::uint8_t MacroFixtureByte(std::size_t offset) {
    return static_cast<std::uint8_t>((offset & 0xFF) ^ ((offset >> 8) * 37));
}

// A whole image: sections, seven 0xFF, then MacroFixtureByte at every later offset.
inline std::vector<std::uint8_t> ImageFixture(std::uint8_t marker, std::size_t size) {
    std::vector<std::uint8_t> image(size, 0);
    const ParameterSection p = DefaultParameterFixture();
    const ProfileSection s = DefaultProfileFixture();
    for (std::size_t i = 0; i < p.size() && i < size; ++i) image[i] = p[i];
    if (size > 0) image[0] = marker;
    for (std::size_t i = 0; i < s.size() && 104 + i < size; ++i) image[104 + i] = s[i];
    for (std::size_t i = 249; i < 256 && i < size; ++i) image[i] = 0xFF;
    for (std::size_t i = 256; i < size; ++i) image[i] = MacroFixtureByte(i);
    return image;
}

}  // namespace kelv::config::test
