// Language tables: UTF-16LE INI-style texts built in as LANG1..LANG3 (1 Simplified Chinese,
// 2 Traditional Chinese, 3 English). Entries are quoted lines such as "Str247=CPI +".
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/bundle.h"
#include "resources/string_table.h"

namespace kelv::res {

inline constexpr int kLanguageCount = 3;

// A parsed table. Section names and keys ignore case; the later of two equal keys wins.
class LanguageTable : public StringTable {
  public:
    LanguageTable() = default;

    // Parses raw resource bytes: UTF-16LE after an FF FE mark, or the whole input read as
    // UTF-16LE when the mark is missing. `section` is the section Text(key) reads.
    static LanguageTable Parse(Bytes data, std::string_view section);

    // Text of `key` in the table's own section, as UTF-8; "" when absent.
    std::string Text(std::string_view key) const override;
    // Text of `key` in any section; "" when absent.
    std::string Text(std::string_view section, std::string_view key) const;
    bool Has(std::string_view key) const;

    const std::string& Section() const { return section_; }
    // Keys of the table's own section in first-appearance order, as spelled in the table.
    std::vector<std::string> Keys() const;

  private:
    struct Entries {
        std::map<std::string, std::string> texts;  // lower-case key -> text
        std::vector<std::string> order;            // keys as first spelled
    };
    std::string section_;
    std::map<std::string, Entries> sections_;  // lower-case section name
};

// "lang1".."lang3".
std::string LanguageResourceName(int language);

// Loads the built-in table of language 1..3. A missing resource throws ResourceError
// ("Resource lang2 not found"); a language outside 1..3 throws std::out_of_range.
LanguageTable LoadLanguageTable(int language);

// The key whose text equals `text` exactly, searching tables 1, 2, 3 and within each the
// keys Str0..Str600 named without leading zeros; the last match wins. "" when none.
// (So keys Str002..Str099 are never found: "Str2" is not "Str002".)
std::string FindStringKey(std::string_view text);
std::string FindStringKey(std::string_view text, std::span<const LanguageTable* const> tables);

// UTF-16LE code units to UTF-8; unpaired surrogates become U+FFFD, a trailing odd byte is
// dropped.
std::string Utf16LeToUtf8(Bytes data);

}  // namespace kelv::res
