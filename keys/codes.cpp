#include "keys/codes.h"

namespace kelv::keys {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<KeyFunctionCode> ParseCodeText(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    KeyFunctionCode code{};
    for (std::size_t i = 0; i < 4; ++i) {
        const int hi = HexValue(text[2 * i]);
        const int lo = HexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        code[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return code;
}

std::string FormatCodeText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    const std::uint8_t bytes[4] = {b0, b1, b2, b3};
    for (std::size_t i = 0; i < 4; ++i) {
        text[2 * i] = kDigits[bytes[i] >> 4];
        text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string FormatCodeText(const KeyFunctionCode& code) {
    return FormatCodeText(code[0], code[1], code[2], code[3]);
}

std::optional<KeyFunctionCode> FireCode(const FireSettings& settings) {
    if (settings.repeat < 0 || settings.repeat > 15) return std::nullopt;
    if (settings.delay < 0 || settings.delay > 0xFFFF) return std::nullopt;
    const int b1 = (settings.repeat + (settings.continueFlag ? 143 : 15)) % 256;
    return KeyFunctionCode{code_class::kFire, static_cast<std::uint8_t>(b1),
                           static_cast<std::uint8_t>(settings.delay >> 8),
                           static_cast<std::uint8_t>(settings.delay & 0xFF)};
}

FireSettings FireSettingsFromCode(const KeyFunctionCode& code) {
    FireSettings s;
    s.repeat = (code[1] & 0x0F) + 1;
    s.continueFlag = (code[1] & 0x80) != 0;
    s.delay = code[2] * 256 + code[3];
    return s;
}

std::optional<KeyFunctionCode> AimCode(int aimLevel) {
    if (aimLevel < 1 || aimLevel > 12) return std::nullopt;
    return KeyFunctionCode{code_class::kAim, static_cast<std::uint8_t>(aimLevel - 1), 0, 0};
}

KeyFunctionCode MacroReferenceCode(std::uint16_t address) {
    return {code_class::kMacro, static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(address & 0xFF), 0};
}

std::uint16_t MacroAddressOf(const KeyFunctionCode& code) {
    return static_cast<std::uint16_t>(code[1] << 8 | code[2]);
}

}  // namespace kelv::keys
