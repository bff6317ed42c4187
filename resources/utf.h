// UTF-8 and UTF-16 conversions shared by the language tables and the macro name fields.
// Malformed input never fails: a bad sequence or an unpaired surrogate becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace kelv::res {

void AppendUtf8(std::string& out, char32_t codePoint);
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace kelv::res
