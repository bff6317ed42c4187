#include "resources/language.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace kelv::res {
namespace {

std::vector<std::uint8_t> Utf16Le(std::u16string_view text, bool mark) {
    std::vector<std::uint8_t> out;
    if (mark) out = {0xFF, 0xFE};
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

struct ParseCase {
    const char* what;
    std::u16string_view text;
    std::string_view key;
    std::string_view expected;
};

class LanguageParse : public ::testing::TestWithParam<ParseCase> {};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.what;
}

TEST_P(LanguageParse, LooksUpTheTextOfTheOwnSection) {
    const ParseCase& c = GetParam();
    for (bool mark : {true, false}) {
        auto bytes = Utf16Le(c.text, mark);
        LanguageTable table = LanguageTable::Parse(bytes, "lang1");
        EXPECT_EQ(table.Text(c.key), c.expected)
            << c.what << (mark ? " (with mark)" : " (no mark)");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageParse,
    ::testing::Values(
        ParseCase{"quoted entry keeps its spaces", u"[lang1]\r\n\"Str247=CPI +\"\r\n", "Str247",
                  "CPI +"},
        ParseCase{"doubled quotes stand for one", u"[lang1]\r\n\"Str100=say \"\"hi\"\"\"\r\n",
                  "Str100", "say \"hi\""},
        ParseCase{"later entry wins", u"[lang1]\r\n\"Str002=a\"\r\n\"Str002=b\"\r\n", "Str002",
                  "b"},
        ParseCase{"keys and sections ignore case", u"[LANG1]\r\n\"STR002=Reset\"\r\n", "str002",
                  "Reset"},
        ParseCase{"absent key is empty", u"[lang1]\r\n\"Str002=Reset\"\r\n", "Str003", ""},
        ParseCase{"entries before the first section are dropped",
                  u"\"Str002=early\"\r\n[lang1]\r\n", "Str002", ""},
        ParseCase{"another section is not the table's own", u"[lang2]\r\n\"Str002=x\"\r\n",
                  "Str002", ""},
        ParseCase{"control characters separate items", u"[lang1]\t\x01\"Str001=a\"\x1f\"Str002=b\"",
                  "Str002", "b"},
        ParseCase{"an unquoted item ends at a space", u"[lang1]\r\nStr247=CPI +\r\n", "Str247",
                  "CPI"},
        ParseCase{"NUL ends the text", u"[lang1]\r\n\"Str001=a\"\0\"Str002=b\"", "Str002", ""},
        ParseCase{"semicolon items are comments", u"[lang1]\r\n\";Str002=x\"\r\n", "Str002", ""},
        ParseCase{"key and text are trimmed", u"[lang1]\r\n\"  Str002 =  Reset  \"\r\n", "Str002",
                  "Reset"},
        ParseCase{"text splits at the first equals sign", u"[lang1]\r\n\"Str002=a=b\"\r\n",
                  "Str002", "a=b"},
        ParseCase{"an unclosed quote runs to the end", u"[lang1]\r\n\"Str002=open end", "Str002",
                  "open end"},
        ParseCase{"surrogate pairs become one character", u"[lang1]\r\n\"Str002=\U0001F600\"",
                  "Str002", "\xF0\x9F\x98\x80"},
        ParseCase{"an unpaired surrogate is replaced", u"[lang1]\r\n\"Str002=\xD800x\"", "Str002",
                  "\xEF\xBF\xBDx"}));

TEST(LanguageParse, OddTrailingByteIsIgnored) {
    auto bytes = Utf16Le(u"[lang1]\r\n\"Str002=Reset\"", true);
    bytes.push_back(0x41);
    EXPECT_EQ(LanguageTable::Parse(bytes, "lang1").Text("Str002"), "Reset");
    EXPECT_EQ(LanguageTable::Parse({}, "lang1").Text("Str002"), "");
}

// The keys every table must hold; other parts of the program ask for each of them.
std::vector<std::string> RequiredKeys() {
    std::vector<std::string> keys = {"Title"};
    auto range = [&](int from, int to) {
        for (int k = from; k <= to; ++k) {
            char name[8];
            std::snprintf(name, sizeof name, "Str%03d", k);
            keys.emplace_back(name);
        }
    };
    range(2, 15);
    range(20, 22);
    range(100, 105);
    range(200, 207);
    range(210, 214);
    range(230, 234);
    range(241, 248);
    range(250, 256);
    range(260, 266);
    range(270, 273);
    range(300, 311);
    range(400, 418);
    range(420, 422);
    range(430, 433);
    range(440, 442);
    range(500, 502);
    range(510, 512);
    return keys;
}

TEST(ShippedLanguageTables, HoldEveryKeyWithAText) {
    for (int n = 1; n <= kLanguageCount; ++n) {
        LanguageTable table = LoadLanguageTable(n);
        for (const std::string& key : RequiredKeys()) {
            EXPECT_FALSE(table.Text(key).empty()) << "lang" << n << " lacks " << key;
        }
    }
}

TEST(ShippedLanguageTables, AreUtf16WithMarkHeaderAndCrLf) {
    for (int n = 1; n <= kLanguageCount; ++n) {
        Bytes raw = Get(LanguageResourceName(n));
        auto header = Utf16Le(u"[lang" + std::u16string(1, char16_t(u'0' + n)) + u"]\r\n\"", true);
        ASSERT_GE(raw.size(), header.size());
        EXPECT_TRUE(std::equal(header.begin(), header.end(), raw.begin())) << "lang" << n;
        std::string text = Utf16LeToUtf8(raw.subspan(2));
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "lang" << n;
            }
        }
    }
}

TEST(ShippedLanguageTables, Texts) {
    struct Case {
        int language;
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {3, "Title", "Gaming Mouse"},
        {3, "Str021", "Select the reset button in the key definition interface to take effect"},
        {3, "Str231", "Fire Key1"},
        {3, "Str234", "AIM Key"},
        {3, "Str247", "CPI +"},
        {3, "Str420", "OK"},
        {3, "Str421", "OK"},
        {3, "Str207", "PC Fn"},
        {2, "Str207", "電腦功能按鍵"},
        {1, "Str207", "电脑功能按键"},
        {1, "Str213", "后退"},
        {1, "Str262", "后退"},
        {1, "Str420", "插入"},
        {1, "Str421", "存储"},
        {2, "Str266", "我的最愛"},
        {1, "Str300", "200"},
        {2, "Str311", "6000"},
        {1, "Str200", "*"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadLanguageTable(c.language).Text(c.key), c.text)
            << "lang" << c.language << " " << c.key;
    }
}

TEST(LoadLanguageTable, OnlyThreeLanguagesExist) {
    EXPECT_THROW(LoadLanguageTable(0), std::out_of_range);
    EXPECT_THROW(LoadLanguageTable(4), std::out_of_range);
}

TEST(FindStringKey, LastMatchOverTheShippedTables) {
    struct Case {
        const char* text;
        const char* key;
    };
    const Case cases[] = {
        {"后退", "Str262"},       // also Str213 in language 1: the later key wins
        {"Backward", "Str213"},   // English has it once
        {"*", "Str200"},          //
        {"200", "Str300"},        //
        {"Stop", "Str401"},       // Str251 and Str401
        {"OK", "Str511"},         // Str420, Str421, Str511
        {"Fire Key1", "Str231"},  //
        {"Reset", ""},            // Str002: never formed
        {"Exit", ""},             //
        {"reset", ""},            // case matters
        {"no such text", ""},     //
        {"", ""},                 // an absent key is not a match
    };
    for (const Case& c : cases) EXPECT_EQ(FindStringKey(c.text), c.key) << c.text;
}

TEST(FindStringKey, NeverFindsTheZeroPaddedKeys) {
    for (int n = 1; n <= kLanguageCount; ++n) {
        LanguageTable table = LoadLanguageTable(n);
        for (int k = 2; k <= 22; ++k) {
            char key[8];
            std::snprintf(key, sizeof key, "Str%03d", k);
            std::string text = table.Text(key);
            if (text.empty()) continue;
            std::string found = FindStringKey(text);
            // A text shared with a key from 100 up is found under that key, never under its own.
            EXPECT_TRUE(found.empty() || std::stoi(found.substr(3)) >= 100)
                << "lang" << n << " " << key << " found as " << found;
        }
    }
}

TEST(FindStringKey, FormsKeysWithoutLeadingZerosAndLaterTablesWin) {
    auto first = Utf16Le(u"[lang1]\r\n\"Str7=seven\"\r\n\"Str007=padded\"\r\n\"Str300=x\"", true);
    auto second = Utf16Le(u"[lang2]\r\n\"Str100=x\"\r\n\"str601=beyond\"", true);
    LanguageTable t1 = LanguageTable::Parse(first, "lang1");
    LanguageTable t2 = LanguageTable::Parse(second, "lang2");
    const LanguageTable* tables[] = {&t1, &t2};
    EXPECT_EQ(FindStringKey("seven", tables), "Str7");
    EXPECT_EQ(FindStringKey("padded", tables), "");
    EXPECT_EQ(FindStringKey("x", tables), "Str100");
    EXPECT_EQ(FindStringKey("beyond", tables), "");
}

TEST(LanguageTable, ServesAsStringTable) {
    const StringTable& table = LoadLanguageTable(3);
    EXPECT_EQ(table.Text("str212"), "Middle Key");
    EXPECT_EQ(table.Text("Str999"), "");
}

}  // namespace
}  // namespace kelv::res
