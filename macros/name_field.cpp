#include "macros/name_field.h"

#include <algorithm>

namespace kelv::macros {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
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

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            extra = 1, cp = b0 & 0x1F, min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, cp = b0 & 0x0F, min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, cp = b0 & 0x07, min = 0x10000;
        } else {
            out += kReplacement;
            ++i;
            continue;
        }
        std::size_t taken = 1;
        bool ok = true;
        for (; taken <= extra; ++taken) {
            if (i + taken >= text.size()) {
                ok = false;
                break;
            }
            const auto b = static_cast<unsigned char>(text[i + taken]);
            if ((b & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            // One replacement per bad sequence; resume at the byte that broke it.
            out += kReplacement;
            i += taken;
            continue;
        }
        i += taken;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (IsHigh(u) && i + 1 < units.size() && IsLow(units[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (IsHigh(u) || IsLow(u)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

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
