#include "macros/name_field.h"

#include <algorithm>

namespace kelv::macros {
namespace {

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::u16string UnitsToFirstZero(std::u16string units) {
    const auto zero = units.find(char16_t{0});
    if (zero != std::u16string::npos) units.resize(zero);
    return units;
}

}  // namespace

std::string StrToUnicodeHex(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (char16_t u : UnitsToFirstZero(Utf8ToUtf16(text))) {
        for (int shift = 12; shift >= 0; shift -= 4) hex += kDigits[(u >> shift) & 0xF];
    }
    return hex;
}

std::string UnicodeHexToStr(std::string_view hex) {
    std::u16string reversed;
    for (std::size_t end = hex.size(); end >= 4; end -= 4) {
        unsigned value = 0;
        bool ok = true;
        for (std::size_t i = end - 4; i < end; ++i) {
            const int v = HexValue(hex[i]);
            if (v < 0) {
                ok = false;
                break;
            }
            value = value * 16 + static_cast<unsigned>(v);
        }
        if (ok) reversed += static_cast<char16_t>(value);
    }
    std::reverse(reversed.begin(), reversed.end());
    return Utf16ToUtf8(UnitsToFirstZero(std::move(reversed)));
}

NameField MacroNameStrToUnicode(std::string_view name) {
    std::u16string units = UnitsToFirstZero(Utf8ToUtf16(name));
    if (units.size() > kNameFieldUnits) {
        units.resize(kNameFieldUnits);
        if (IsHigh(units.back())) units.pop_back();
    }
    NameField field{};
    for (std::size_t i = 0; i < units.size(); ++i) {
        field[2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
        field[2 * i + 1] = static_cast<std::uint8_t>(units[i] & 0xFF);
    }
    return field;
}

std::string MacroNameFromField(const NameField& field) {
    std::u16string units;
    for (std::size_t i = 0; i < kNameFieldUnits; ++i) {
        const auto u = static_cast<char16_t>((field[2 * i] << 8) | field[2 * i + 1]);
        if (u == 0 || u == 0xFFFF) break;
        units += u;
    }
    return Utf16ToUtf8(units);
}

bool PackedLayoutAcceptsName(const NameField& field) {
    return !(field[0] == 0 && field[1] == 0) && field[0] != 0xFF && field[1] != 0xFF;
}

}  // namespace kelv::macros
