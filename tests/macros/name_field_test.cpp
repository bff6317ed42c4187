// Names: UTF-8 text <-> hex of UTF-16 code units <-> 32-byte fields.
#include <gtest/gtest.h>

#include <string>

#include "macros/name_field.h"

namespace kelv::macros {
namespace {

NameField FieldOf(std::initializer_list<std::uint8_t> head, std::uint8_t fill = 0) {
    NameField field;
    field.fill(fill);
    std::copy(head.begin(), head.end(), field.begin());
    return field;
}

TEST(UnicodeHex, BothDirections) {
    struct Case {
        std::string text;
        std::string hex;
    };
    const Case cases[] = {
        {"", ""},       {"A", "0041"},     {"光速QA", "5149901F00510041"},
        {"！", "FF01"}, {"😀", "D83DDE00"},  // one character, two code units
        {"ÿ", "00FF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StrToUnicodeHex(c.text), c.hex) << c.text;
        EXPECT_EQ(UnicodeHexToStr(c.hex), c.text) << c.hex;
    }
}

TEST(UnicodeHex, ReadingLenientHex) {
    struct Case {
        const char* what;
        std::string hex;
        std::string text;
    };
    const Case cases[] = {
        {"invalid group skipped", "0041ZZZZ0042", "AB"},
        {"leading digits ignored", "120041", "A"},
        {"lower case", "00610062", "ab"},
        {"zero unit ends the text", "004100000042", "A"},
        {"lone surrogate", "D83D0041",
         "\xEF\xBF\xBD"
         "A"},
        {"fewer than four digits", "041", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(UnicodeHexToStr(c.hex), c.text) << c.what;
}

TEST(UnicodeHex, StopsAtAZeroCharacter) {
    EXPECT_EQ(StrToUnicodeHex(std::string("A\0B", 3)), "0041");
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        const char* what;
        std::string utf8;
        std::u16string units;
    };
    const Case cases[] = {
        {"stray continuation",
         "\x80"
         "A",
         u"\uFFFDA"},
        {"cut sequence", "\xE5\x85", u"\uFFFD"},
        {"overlong", "\xC0\xAF", u"\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
        {"bad lead byte", "\xFF", u"\uFFFD"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.units) << c.what;
}

TEST(NameFieldForm, WritingNames) {
    struct Case {
        const char* what;
        std::string name;
        NameField field;
    };
    NameField sixteen{};
    for (std::size_t i = 0; i < 16; ++i) sixteen[2 * i + 1] = static_cast<std::uint8_t>('a' + i);
    NameField emojiCut = sixteen;  // 15 units, then no room for both halves of the pair
    emojiCut[30] = emojiCut[31] = 0;
    const Case cases[] = {
        {"one character", "A", FieldOf({0x00, 0x41})},
        {"sixteen characters fill the field", "abcdefghijklmnop", sixteen},
        {"longer names are cut to 16 units", "abcdefghijklmnopqrs", sixteen},
        {"a pair is never split", "abcdefghijklmno😀", emojiCut},
        {"empty", "", NameField{}},
        {"CJK", "光速QA", FieldOf({0x51, 0x49, 0x90, 0x1F, 0x00, 0x51, 0x00, 0x41})},
    };
    for (const Case& c : cases) EXPECT_EQ(MacroNameStrToUnicode(c.name), c.field) << c.what;
}

TEST(NameFieldForm, ReadingNames) {
    struct Case {
        const char* what;
        NameField field;
        std::string name;
    };
    NameField full{};
    for (std::size_t i = 0; i < 16; ++i) full[2 * i + 1] = static_cast<std::uint8_t>('a' + i);
    const Case cases[] = {
        {"all zero", NameField{}, ""},
        {"erased", FieldOf({}, 0xFF), ""},
        {"erased tail", FieldOf({0x00, 0x41, 0x00, 0x42}, 0xFF), "AB"},
        {"full field", full, "abcdefghijklmnop"},
        {"zero unit ends the name", FieldOf({0x00, 0x41, 0x00, 0x00, 0x00, 0x42}), "A"},
        {"full-width", FieldOf({0xFF, 0x01}), "！"},
    };
    for (const Case& c : cases) EXPECT_EQ(MacroNameFromField(c.field), c.name) << c.what;
}

TEST(NameFieldForm, NamesThePackedListCannotStartWith) {
    struct Case {
        std::string name;
        bool accepted;
    };
    const Case cases[] = {
        {"A", true},   {"光速QA", true}, {"一", true},  // U+4E00: a zero low byte is fine
        {"", false},   {"！x", false},                  // U+FF01
        {"ÿ", false},                                   // U+00FF
        {"A！", true},                                  // only the first unit matters
    };
    for (const Case& c : cases)
        EXPECT_EQ(PackedLayoutAcceptsName(MacroNameStrToUnicode(c.name)), c.accepted) << c.name;
}

}  // namespace
}  // namespace kelv::macros
