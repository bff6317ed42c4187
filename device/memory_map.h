// Where things live in the mouse's 64 KiB memory, and which layout a mouse uses.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kelv::device {

// A: I2C chip, packed macros at 0x0200. B: Flash chip with I2C macro storage, packed macros at
// 0x4000. C: Flash chip with Flash macro storage, 32 macro pages and a name table.
enum class Layout { None, A, B, C };

inline constexpr std::string_view kStorageI2c = "I2C";
inline constexpr std::string_view kStorageFlash = "Flash";

std::string_view LayoutName(Layout layout);  // "A", "B", "C" or ""

// Layouts A and B hold the packed macro area; C holds the paged layout.
constexpr bool IsI2cMacroStorage(Layout layout) {
    return layout == Layout::A || layout == Layout::B;
}
constexpr bool IsFlashMacroStorage(Layout layout) {
    return layout == Layout::C;
}

namespace memory_map {

inline constexpr std::uint16_t kParameterSectionLength = 104;
inline constexpr std::uint16_t kProfileSectionLength = 145;

inline constexpr std::uint16_t kBlockLength = 256;
inline constexpr std::uint16_t kPackedAreaLength = 512;  // two 256-byte halves
inline constexpr int kMacroPageCount = 32;
inline constexpr std::uint16_t kMacroPageBase = 0x4000;
inline constexpr std::uint16_t kNameTableAddress = 0x3000;
inline constexpr std::uint16_t kNameTableLength = 1024;  // 32 names x 32 bytes
inline constexpr int kNameTablePageCount = 4;
inline constexpr std::uint16_t kPatchCodeAddress = 0xC000;
inline constexpr std::uint16_t kPatchCodeLength = 1024;
inline constexpr std::uint16_t kPatchDescriptorAddress = 0x1000;
inline constexpr std::uint16_t kPatchDescriptorLength = 16;

// The two 256-byte halves of the packed macro area: layout A 0x0200/0x0300, B 0x4000/0x4100.
// {0, 0} for layouts without a packed area.
constexpr std::array<std::uint16_t, 2> PackedAreaHalves(Layout layout) {
    if (layout == Layout::A) return {0x0200, 0x0300};
    if (layout == Layout::B) return {0x4000, 0x4100};
    return {0, 0};
}
// Start of the packed area (first half), 0 when the layout has none.
constexpr std::uint16_t PackedAreaAddress(Layout layout) {
    return PackedAreaHalves(layout)[0];
}

// Layout C macro page i (0..31).
constexpr std::uint16_t MacroPageAddress(int i) {
    return static_cast<std::uint16_t>(kMacroPageBase + kBlockLength * i);
}
// Layout C name table page i (0..3); the table is read in one piece but written page by page.
constexpr std::uint16_t NameTablePageAddress(int i) {
    return static_cast<std::uint16_t>(kNameTableAddress + kBlockLength * i);
}

}  // namespace memory_map
}  // namespace kelv::device
