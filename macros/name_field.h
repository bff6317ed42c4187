// Macro names: UTF-8 text in the program, 32-byte fields of big-endian UTF-16 code units in
// the mouse and in files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelv::macros {

inline constexpr std::size_t kNameFieldSize = 32;
inline constexpr std::size_t kNameFieldUnits = kNameFieldSize / 2;

using NameField = std::array<std::uint8_t, kNameFieldSize>;

// UTF-8 <-> UTF-16. Malformed UTF-8 and unpaired surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view units);

// Four upper-case hex digits per UTF-16 code unit, up to the first zero unit ("A" -> "0041").
std::string StrToUnicodeHex(std::string_view text);

// The reverse: groups of four digits taken from the end; a group that is not hex is skipped,
// one to three digits left at the front are ignored. The text ends at the first zero unit.
std::string UnicodeHexToStr(std::string_view hex);

// The name field of a name: up to 16 code units high byte first, the rest zero. A longer name
// is cut to 16 units, never in the middle of a surrogate pair.
NameField MacroNameStrToUnicode(std::string_view name);

// The name a field shows: up to the first zero unit. A unit 0xFFFF (erased memory) also ends
// the name, so an erased field shows an empty name.
std::string MacroNameFromField(const NameField& field);

// Whether the packed layout can hold a macro of this name: a field whose first code unit is
// zero or holds a 0xFF byte (U+00FF, U+FFxx) would read back as the end of the macro list.
bool PackedLayoutAcceptsName(const NameField& field);

}  // namespace kelv::macros
