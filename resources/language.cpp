#include "resources/language.h"

#include <array>
#include <stdexcept>

namespace kelv::res {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Code points of UTF-16LE data; unpaired surrogates become U+FFFD.
std::u32string DecodeUtf16Le(Bytes data) {
    std::u32string out;
    out.reserve(data.size() / 2);
    const std::size_t units = data.size() / 2;
    auto unit = [&](std::size_t i) -> char16_t {
        return static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            char16_t v = unit(i + 1);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                out += static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
                ++i;
                continue;
            }
        }
        out += (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : static_cast<char32_t>(u);
    }
    return out;
}

std::string ToUtf8(std::u32string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s) AppendUtf8(out, c);
    return out;
}

bool IsSeparator(char32_t c) {
    return c >= 1 && c <= 32;
}

// Items of the text: runs of control characters and spaces separate them; a leading double
// quote makes an item run to the next undoubled quote, with doubled quotes standing for one.
// NUL ends the text.
std::vector<std::u32string> Tokenize(std::u32string_view text) {
    if (auto nul = text.find(U'\0'); nul != std::u32string_view::npos) text = text.substr(0, nul);
    std::vector<std::u32string> items;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        while (i < n && IsSeparator(text[i])) ++i;
        if (i >= n) break;
        std::u32string item;
        if (text[i] == U'"') {
            ++i;
            while (i < n) {
                if (text[i] == U'"') {
                    if (i + 1 < n && text[i + 1] == U'"') {
                        item += U'"';
                        i += 2;
                        continue;
                    }
                    ++i;  // closing quote; an unclosed item runs to the end
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && !IsSeparator(text[i])) item += text[i++];
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::u32string_view Trim(std::u32string_view s) {
    while (!s.empty() && s.front() <= U' ') s.remove_prefix(1);
    while (!s.empty() && s.back() <= U' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string Utf16LeToUtf8(Bytes data) {
    return ToUtf8(DecodeUtf16Le(data));
}

LanguageTable LanguageTable::Parse(Bytes data, std::string_view section) {
    if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE) data = data.subspan(2);
    LanguageTable table;
    table.section_ = std::string(section);
    Entries* current = nullptr;
    for (const std::u32string& raw : Tokenize(DecodeUtf16Le(data))) {
        std::u32string_view item = Trim(raw);
        if (item.empty() || item.front() == U';') continue;
        if (item.size() >= 2 && item.front() == U'[' && item.back() == U']') {
            current = &table.sections_[Lower(ToUtf8(Trim(item.substr(1, item.size() - 2))))];
            continue;
        }
        if (current == nullptr) continue;
        auto eq = item.find(U'=');
        if (eq == std::u32string_view::npos) continue;
        std::string key = ToUtf8(Trim(item.substr(0, eq)));
        std::string lower = Lower(key);
        auto [it, inserted] =
            current->texts.insert_or_assign(lower, ToUtf8(Trim(item.substr(eq + 1))));
        (void)it;
        if (inserted) current->order.push_back(std::move(key));
    }
    return table;
}

std::string LanguageTable::Text(std::string_view key) const {
    return Text(section_, key);
}

std::string LanguageTable::Text(std::string_view section, std::string_view key) const {
    auto s = sections_.find(Lower(section));
    if (s == sections_.end()) return {};
    auto e = s->second.texts.find(Lower(key));
    return e == s->second.texts.end() ? std::string() : e->second;
}

bool LanguageTable::Has(std::string_view key) const {
    auto s = sections_.find(Lower(section_));
    return s != sections_.end() && s->second.texts.count(Lower(key)) != 0;
}

std::vector<std::string> LanguageTable::Keys() const {
    auto s = sections_.find(Lower(section_));
    return s == sections_.end() ? std::vector<std::string>() : s->second.order;
}

std::string LanguageResourceName(int language) {
    if (language < 1 || language > kLanguageCount) {
        throw std::out_of_range("language " + std::to_string(language) + " does not exist");
    }
    return "lang" + std::to_string(language);
}

LanguageTable LoadLanguageTable(int language) {
    std::string name = LanguageResourceName(language);
    return LanguageTable::Parse(Get(name), name);
}

std::string FindStringKey(std::string_view text, std::span<const LanguageTable* const> tables) {
    std::string result;
    for (const LanguageTable* table : tables) {
        if (table == nullptr) continue;
        for (int k = 0; k <= 600; ++k) {
            std::string key = "Str" + std::to_string(k);
            if (table->Has(key) && table->Text(key) == text) result = std::move(key);
        }
    }
    return result;
}

std::string FindStringKey(std::string_view text) {
    // The tables are read-only resources, so parsing them once gives the same answers.
    static const std::array<LanguageTable, kLanguageCount> tables = {
        LoadLanguageTable(1), LoadLanguageTable(2), LoadLanguageTable(3)};
    static const std::array<const LanguageTable*, kLanguageCount> pointers = {
        &tables[0], &tables[1], &tables[2]};
    return FindStringKey(text, pointers);
}

}  // namespace kelv::res
