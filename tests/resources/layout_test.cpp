#include "resources/layout.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "resources/bundle.h"

namespace kelv::res {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

TEST(IniText, LineRules) {
    const char* text =
        "Before=1\r\n"
        "[org1]\r\n"
        "; a comment=5\r\n"
        "//*** Reset & Exit Button ***\r\n"
        "//Hidden=3\r\n"
        "  Btn_A3_Enable=1   \r\n"
        "\tKey1_X = 40\t\r\n"
        "Twice=1\r\n"
        "Twice=2\r\n"
        "Web=http://a.example/?q=1\n"
        "NoEquals\r\n"
        "[ Org2 ]\r\n"
        "Size_A=9\r\n";
    IniText ini = IniText::Parse(text);
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"org1", "Btn_A3_Enable", "1"},  // spaces after a value are dropped
        {"ORG1", "btn_a3_enable", "1"},  // section and key ignore case
        {"org1", "Key1_X", "40"},
        {"org1", "Twice", "2"},  // the later line wins
        {"org1", "Web", "http://a.example/?q=1"},
        {"org1", "Before", std::nullopt},  // before the first section
        {"org1", "; a comment", std::nullopt},
        {"org1", "//Hidden", std::nullopt},
        {"org1", "NoEquals", std::nullopt},
        {"org1", "Size_A", std::nullopt},
        {"org2", "Size_A", "9"},
        {"org3", "Size_A", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.Find(c.section, c.key), c.value) << c.section << "/" << c.key;
    }
    EXPECT_EQ(ini.Read("org1", "Absent"), "");
    EXPECT_TRUE(ini.HasSection("ORG2"));
}

TEST(ParseLayoutInteger, DecimalOnly) {
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"12", 12},
        {"-5", -5},
        {"+7", 7},
        {"0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {"1.5", std::nullopt},
        {"0x10", std::nullopt},
        {"-", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        if (c.value) {
            EXPECT_EQ(ParseLayoutInteger(c.text), *c.value) << c.text;
        } else {
            try {
                ParseLayoutInteger(c.text);
                ADD_FAILURE() << "accepted " << c.text;
            } catch (const LayoutError& e) {
                EXPECT_EQ(e.what(), "'" + std::string(c.text) + "' is not a valid integer value");
            }
        }
    }
}

// A complete [org1] section: every key of the layout, 1 for every integer.
std::map<std::string, std::string> FullLayout() {
    std::map<std::string, std::string> values;
    for (const LayoutKey& k : LanguageLayoutKeys()) {
        if (k.kind == LayoutKind::Colour) {
            for (const char* c : {"_R", "_G", "_B"}) values[std::string(k.key) + c] = "1";
        } else {
            values[std::string(k.key)] = "1";
        }
    }
    return values;
}

IniText Section(const std::map<std::string, std::string>& values, const char* name = "org1") {
    std::ostringstream text;
    text << "[" << name << "]\r\n";
    for (const auto& [k, v] : values) text << k << "=" << v << "\r\n";
    return IniText::Parse(text.str());
}

TEST(LayoutKeys, OrderOfApplication) {
    auto keys = LanguageLayoutKeys();
    std::vector<std::string> names;
    std::set<std::string> unique;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        names.emplace_back(keys[i].key);
        EXPECT_TRUE(unique.insert(Lower(keys[i].key)).second) << "twice: " << keys[i].key;
        if (i > 0) {
            EXPECT_LE(keys[i - 1].section, keys[i].section) << keys[i].key;
        }
        if (!keys[i].gate.empty()) {
            // A gated position follows its _Enable key.
            std::size_t j = i;
            while (j > 0 && !keys[j].gate.empty()) --j;
            EXPECT_EQ(keys[j].key, keys[i].gate);
            EXPECT_EQ(keys[j].kind, LayoutKind::Bool);
        }
    }
    auto index = [&](std::string_view key) {
        return std::find(names.begin(), names.end(), key) - names.begin();
    };
    // Each run must appear in this order.
    const std::vector<std::vector<const char*>> runs = {
        {"Size_A", "Color_A", "Btn_A3_Enable", "Btn_A3_X", "Btn_A3_Y", "Btn_A4_Enable", "Size_B",
         "Btn_Space_F", "Btn_Space_B"},
        {"Btn_B1_Enable", "Btn_B2_Enable", "Btn_B3_Enable", "Btn_B4_Enable", "Btn_B5_Enable",
         "Btn_B11_Enable", "Btn_B12_Enable", "Btn_B6_Enable", "Btn_B7_Enable", "Btn_B8_Enable",
         "Btn_B9_Enable", "Btn_B10_Enable", "Size_C"},
        {"P1_X", "Key1_Enable", "Key12_Y", "Disable_X", "Disable_Y", "Disable_H", "Disable_W",
         "Size_D"},
        {"DPI1_Color_X", "DPI1_Check_X", "DPI1_X", "DPI1_Value_X", "DPI1_Steps_Y", "DPI2_Color_X",
         "DPI8_Steps_Y", "AIMDPI_X", "AIMDPI_Value_X", "AIMDPI_Steps_Y", "Size_E"},
        {"RecDelay_X", "RecDelay_Y", "RecDelay_H", "DelayEdit_X", "InsertBtnCancel_Y", "Size_I",
         "Btn_Program_Y"},
    };
    for (const auto& run : runs) {
        for (std::size_t i = 0; i + 1 < run.size(); ++i) {
            ASSERT_LT(index(run[i]), static_cast<std::ptrdiff_t>(names.size())) << run[i];
            EXPECT_LT(index(run[i]), index(run[i + 1])) << run[i] << " before " << run[i + 1];
        }
    }
    EXPECT_EQ(names.back(), "Btn_Program_Y");
}

TEST(ReadLayout, CompleteSectionReadsEveryKey) {
    LayoutRead read = ReadLayout(Section(FullLayout()), "org1", LanguageLayoutKeys());
    EXPECT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.values.size(), LanguageLayoutKeys().size());
}

TEST(ReadLayout, HiddenPairNeedsNoPosition) {
    for (const char* enable : {"0", "2", "-1"}) {
        auto values = FullLayout();
        values["Btn_A3_Enable"] = enable;
        values.erase("Btn_A3_X");
        values.erase("Btn_A3_Y");
        LayoutRead read = ReadLayout(Section(values), "org1", LanguageLayoutKeys());
        EXPECT_TRUE(read.Ok()) << enable << ": " << read.error;
        ASSERT_NE(read.Find("Btn_A3_Enable"), nullptr);
        EXPECT_FALSE(read.Find("Btn_A3_Enable")->Shown()) << enable;
        EXPECT_EQ(read.Find("Btn_A3_X"), nullptr) << enable;
        EXPECT_NE(read.Find("Btn_A4_X"), nullptr) << enable;
    }
}

TEST(ReadLayout, StopsAtTheFirstBadValue) {
    struct Case {
        const char* what;
        const char* key;    // key to change
        const char* value;  // nullptr: remove it
        const char* failedKey;
        const char* error;
        const char* lastRead;  // the key read just before the failure
    };
    const Case cases[] = {
        {"shown pair without X", "Btn_A3_X", nullptr, "Btn_A3_X", "'' is not a valid integer value",
         "Btn_A3_Enable"},
        {"word", "Size_C", "abc", "Size_C", "'abc' is not a valid integer value", "Btn_B10_Y"},
        {"empty", "Size_A", "", "Size_A", "'' is not a valid integer value", nullptr},
        {"colour channel", "Color_B_G", "x", "Color_B_G", "'x' is not a valid integer value",
         "Size_B"},
        {"bad enable", "Key2_Enable", "on", "Key2_Enable", "'on' is not a valid integer value",
         "Key1_Y"},
        {"last key", "Btn_Program_Y", "1,5", "Btn_Program_Y", "'1,5' is not a valid integer value",
         "Btn_Program_X"},
    };
    for (const Case& c : cases) {
        auto values = FullLayout();
        if (c.value)
            values[c.key] = c.value;
        else
            values.erase(c.key);
        LayoutRead read = ReadLayout(Section(values), "org1", LanguageLayoutKeys());
        EXPECT_EQ(read.error, c.error) << c.what;
        EXPECT_EQ(read.failedKey, c.failedKey) << c.what;
        if (c.lastRead) {
            ASSERT_FALSE(read.values.empty()) << c.what;
            EXPECT_EQ(read.values.back().key->key, c.lastRead) << c.what;
        } else {
            EXPECT_TRUE(read.values.empty()) << c.what;
        }
    }
}

TEST(ReadLayout, ColoursCombineWithoutRangeTests) {
    struct Case {
        const char *r, *g, *b;
        int combined;
    };
    const Case cases[] = {
        {"255", "255", "255", 0xFFFFFF},
        {"113", "111", "100", 113 + 256 * 111 + 65536 * 100},
        {"0", "128", "0", 32768},
        {"256", "0", "0", 256},  // spills into green
    };
    for (const Case& c : cases) {
        auto values = FullLayout();
        values["Color_D_Back_R"] = c.r;
        values["Color_D_Back_G"] = c.g;
        values["Color_D_Back_B"] = c.b;
        LayoutRead read = ReadLayout(Section(values), "org1", LanguageLayoutKeys());
        ASSERT_TRUE(read.Ok()) << read.error;
        EXPECT_EQ(read.Find("Color_D_Back")->number, c.combined) << c.r << "," << c.g << "," << c.b;
    }
}

TEST(ReadLayout, MissingSectionOrResource) {
    LayoutRead wrong = ReadLayout(Section(FullLayout(), "org2"), "org1", LanguageLayoutKeys());
    EXPECT_EQ(wrong.error, "'' is not a valid integer value");
    EXPECT_EQ(wrong.failedKey, "Size_A");

    LayoutRead missing = ReadLayoutResource("org9", LanguageLayoutKeys());
    EXPECT_EQ(missing.error, "Resource org9 not found");
    EXPECT_TRUE(missing.values.empty());
}

TEST(WebLink, ReadsUntilTheFirstBadValue) {
    IniText ini = IniText::Parse(
        "[org]\r\nWeb=https://oem.example/ \r\nWeb_X=300\r\nWeb_Y=12\r\nRev_Manu_ID=0\r\n"
        "Rev_Pro_ID=zz\r\n");
    LayoutRead read = ReadLayout(ini, "org", WebLinkKeys());
    WebLink link = WebLinkFrom(read);
    EXPECT_EQ(link.url, "https://oem.example/");
    EXPECT_EQ(link.x, 300);
    EXPECT_EQ(link.y, 12);
    EXPECT_EQ(read.error, "'zz' is not a valid integer value");
    EXPECT_EQ(read.failedKey, "Rev_Pro_ID");
}

// The built-in layouts, with the values the shipped design relies on.
TEST(ShippedLayouts, AreAllBuiltIn) {
    for (const char* name : {"org", "org1", "org2", "org3"}) EXPECT_TRUE(Find(name)) << name;
}

TEST(ShippedLayouts, HoldEveryKeyTheirSectionsRead) {
    for (int n = 1; n <= 3; ++n) {
        LayoutRead read = ReadLanguageLayout(n);
        EXPECT_TRUE(read.Ok()) << "org" << n << ": " << read.error << " at " << read.failedKey;
    }
    LayoutRead web;
    WebLink link = LoadWebLink(&web);
    EXPECT_TRUE(web.Ok()) << web.error << " at " << web.failedKey;
    EXPECT_FALSE(link.url.empty());
    EXPECT_EQ(link.manufacturerId, 0);
    EXPECT_EQ(link.productId, 0);
}

TEST(ShippedLayouts, DesignValues) {
    constexpr int kWhite = 0xFFFFFF;
    struct Case {
        int language;  // 0: all three
        const char* key;
        int value;
    };
    const Case cases[] = {
        {1, "Btn_A3_X", 10},
        {1, "Btn_A3_Y", 120},
        {1, "Btn_A4_X", 10},
        {1, "Btn_A4_Y", 160},
        {1, "Size_A", 11},
        {2, "Btn_A3_X", 690},
        {2, "Btn_A3_Y", 49},
        {2, "Btn_A4_X", 740},
        {3, "Btn_A4_Y", 49},
        {3, "Size_A", 9},
        {1, "Btn_Space_F", 0},
        {1, "Btn_Space_B", 0},
        {2, "Btn_Space_F", 12},
        {3, "Btn_Space_B", 12},
        {1, "P1_X", 195},
        {1, "P1_Y", 104},
        {2, "P1_X", 174},
        {3, "P1_Y", 131},
        {0, "Color_A", kWhite},
        {0, "Color_B", kWhite},
        {0, "Color_C", kWhite},
        {0, "Size_B", 11},
        {0, "Size_C", 11},
        {0, "Disable_X", 86},
        {0, "Disable_Y", 104},
        {0, "Disable_W", 587},
        {0, "Disable_H", 378},
        {0, "DPI_Orientation", 1},
        {0, "Size_D", 9},
        {0, "Size_E", 9},
        {0, "Size_F", 9},
        {0, "Size_I", 11},
        {0, "Color_D_notSelected", kWhite},
        {0, "Color_D_Selected", 255},
        {0, "Color_D_Back", 113 + 256 * 111 + 65536 * 100},
        {0, "Color_E", kWhite},
        {0, "Color_I", kWhite},
        {0, "Color_F", kWhite},
        {0, "Color_F_Font", 32768},
        {0, "Color_F_Back", 0},
        {0, "MacroNameHeight", 20},
        {0, "RecDelay_H", 23},
    };
    LayoutRead reads[3] = {ReadLanguageLayout(1), ReadLanguageLayout(2), ReadLanguageLayout(3)};
    for (const Case& c : cases) {
        for (int n = 1; n <= 3; ++n) {
            if (c.language != 0 && c.language != n) continue;
            const LayoutValue* v = reads[n - 1].Find(c.key);
            ASSERT_NE(v, nullptr) << "org" << n << " " << c.key;
            EXPECT_EQ(v->number, c.value) << "org" << n << " " << c.key;
        }
    }

    // Which pairs each layout shows.
    const std::set<int> shownB1 = {1, 2, 3, 4, 5, 11, 6, 7, 8};
    const std::set<int> shownKeys1 = {1, 3, 5, 7, 9, 11};
    const std::set<int> shownKeys23 = {1, 2, 3, 5, 6, 9, 10};
    for (int n = 1; n <= 3; ++n) {
        for (int k = 1; k <= 12; ++k) {
            const LayoutValue* b = reads[n - 1].Find("Btn_B" + std::to_string(k) + "_Enable");
            const LayoutValue* key = reads[n - 1].Find("Key" + std::to_string(k) + "_Enable");
            ASSERT_TRUE(b && key) << "org" << n << " " << k;
            EXPECT_EQ(b->Shown(), n == 1 ? shownB1.count(k) == 1 : true) << "org" << n << " B" << k;
            EXPECT_EQ(key->Shown(), (n == 1 ? shownKeys1 : shownKeys23).count(k) == 1)
                << "org" << n << " Key" << k;
        }
        // Levels 5..8 are out of sight in language 1 only.
        const LayoutValue* dpi5 = reads[n - 1].Find("DPI5_Steps_X");
        ASSERT_NE(dpi5, nullptr);
        EXPECT_EQ(dpi5->number > 1000, n == 1) << "org" << n;
    }
}

}  // namespace
}  // namespace kelv::res

namespace kelv::res {
namespace {

TEST(Placement, LabelsStripsAndOffsets) {
    // Section B insets on a 127 x 36 picture at (50, 497).
    EXPECT_EQ(PairLabelRect(50, 497, 127, 36, 12, 12), (LayoutRect{62, 497, 103, 36}));
    EXPECT_EQ(PairLabelRect(50, 497, 127, 36), (LayoutRect{50, 497, 127, 36}));
    EXPECT_EQ(PairLabelRect(0, 0, 20, 10, 15, 15).width, 0);  // insets wider than the picture

    EXPECT_EQ(TenStepPicture(100, 50, 24, 1), (LayoutPoint{100, 50}));
    EXPECT_EQ(TenStepPicture(100, 50, 24, 10), (LayoutPoint{316, 50}));
    EXPECT_EQ(TenStepLabel(100, 50, 24, 3), (LayoutPoint{144, 58}));

    EXPECT_EQ(DpiStepPicture(1, 10, 300, 19, 11, 12), (LayoutPoint{10 + 11 * 19, 300}));
    EXPECT_EQ(DpiStepPicture(0, 10, 300, 19, 11, 12), (LayoutPoint{10, 300 - 11 * 11}));
    EXPECT_EQ(DpiStepPicture(2, 10, 300, 19, 11, 12), std::nullopt);

    EXPECT_EQ(ChoiceLabel(612, 240), (LayoutPoint{608, 238}));
    EXPECT_EQ(InsertDelayLabel(136, 20).x, 62);
    EXPECT_EQ(InsertDelayUnitLabel(136, 20).x, 180);

    EXPECT_EQ(SplitLayoutColour(113 + 256 * 111 + 65536 * 100), (LayoutRgb{113, 111, 100}));
}

}  // namespace
}  // namespace kelv::res
