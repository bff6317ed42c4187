// Key function codes: four bytes, byte 0 the function class, carried as 8-hex-digit texts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelv::keys {

using KeyFunctionCode = std::array<std::uint8_t, 4>;

namespace code_class {
inline constexpr std::uint8_t kNone = 0x00;
inline constexpr std::uint8_t kMouse = 0x01;
inline constexpr std::uint8_t kKeyboard = 0x02;
inline constexpr std::uint8_t kConsumer = 0x03;
inline constexpr std::uint8_t kAim = 0x05;
inline constexpr std::uint8_t kFire = 0x06;
inline constexpr std::uint8_t kProfile = 0x07;
inline constexpr std::uint8_t kLedSwitch = 0x08;
inline constexpr std::uint8_t kCpi = 0x09;
inline constexpr std::uint8_t kReportRate = 0x0C;
inline constexpr std::uint8_t kLedMode = 0x0E;
inline constexpr std::uint8_t kMacro = 0x10;
}  // namespace code_class

// Modifier bits of a keyboard code (byte 1).
namespace modifier {
inline constexpr std::uint8_t kCtrl = 0x01;
inline constexpr std::uint8_t kShift = 0x02;
inline constexpr std::uint8_t kAlt = 0x04;
inline constexpr std::uint8_t kWin = 0x08;
}  // namespace modifier

// Exactly eight hex digits (either case); nullopt for any other text.
std::optional<KeyFunctionCode> ParseCodeText(std::string_view text);

// Eight upper-case hex digits, byte 0 first.
std::string FormatCodeText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
std::string FormatCodeText(const KeyFunctionCode& code);

// The settings of one rapid-fire key as the Advanced page holds them.
struct FireSettings {
    int repeat = 2;  // 1..15 in use; 0 can be typed
    int delay = 16;  // 0..4094
    bool continueFlag = false;
    friend bool operator==(const FireSettings&, const FireSettings&) = default;
};

// 06, repeat + 15 (+ 128 with continue) modulo 256, delay high first. nullopt when the repeat
// count is outside 0..15 or the delay outside 0..0xFFFF, which would not fit the code.
std::optional<KeyFunctionCode> FireCode(const FireSettings& settings);
// Reads a fire code back: repeat = (byte 1 & 0x0F) + 1, continue = bit 7, delay bytes 2-3.
FireSettings FireSettingsFromCode(const KeyFunctionCode& code);

// 05, level - 1, 00, 00 for AIM level 1..12; nullopt otherwise.
std::optional<KeyFunctionCode> AimCode(int aimLevel);

// 10, address high, address low, 00: runs the macro stored at that address.
KeyFunctionCode MacroReferenceCode(std::uint16_t address);
std::uint16_t MacroAddressOf(const KeyFunctionCode& code);

}  // namespace kelv::keys
