#include "keys/catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "english_strings.h"
#include "keys/naming.h"

namespace kelv::keys {
namespace {

// Fire key 1 repeats twice (nibble 1), key 2 four times (nibble 3), key 3 six times (5).
const std::array<FireSettings, 3> kFire = {FireSettings{2, 16, false}, FireSettings{4, 20, true},
                                           FireSettings{6, 4094, false}};
constexpr std::uint8_t kFireKeyIds = 0x31;

TEST(Catalogue, TagsAreUniqueAndFound) {
    std::set<int> tags;
    for (const CatalogueEntry& e : Catalogue()) {
        EXPECT_TRUE(tags.insert(e.tag).second) << e.tag;
        EXPECT_EQ(FindCatalogueEntry(e.tag), &e);
    }
    EXPECT_EQ(Catalogue().size(), 35u);
    EXPECT_EQ(FindCatalogueEntry(0), nullptr);
    EXPECT_EQ(FindCatalogueEntry(905), nullptr);
}

TEST(Catalogue, CodeForMenuTag) {
    struct Case {
        int tag;
        int aimLevel;
        const char* code;
    };
    const Case cases[] = {
        {0, 1, "00000000"},    {900, 1, "01010000"},  {902, 1, "01040000"},
        {904, 1, "01100000"},  {1001, 1, "05000000"}, {1001, 12, "050B0000"},
        {1001, 0, ""},         {1001, 13, ""},        {1500, 1, "06110010"},
        {1501, 1, "06930014"}, {1502, 1, "06150FFE"}, {1009, 1, "08000000"},
        {1103, 1, "02080700"}, {1406, 1, "03022A00"}, {905, 1, ""},
        {999, 1, ""},          {1503, 1, ""},         {-1, 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CodeForMenuTag(c.tag, kFire, c.aimLevel), c.code) << c.tag;

    std::array<FireSettings, 3> badFire = kFire;
    badFire[1].repeat = 16;
    EXPECT_EQ(CodeForMenuTag(tag::kFire2, badFire, 1), "");
}

// Every menu choice shows as exactly its catalogue string: the editor compares names as texts.
TEST(Catalogue, EveryChoiceNamesAsItsString) {
    const NamingContext context{test::EnglishStrings(), kFireKeyIds, nullptr};
    for (const CatalogueEntry& e : Catalogue()) {
        const std::string code = CodeForMenuTag(e.tag, kFire, 5);
        ASSERT_FALSE(code.empty()) << e.item;
        const CodeName named = NameOfCode(code, context);
        EXPECT_EQ(named.name, test::EnglishStrings().Text(e.nameKey)) << e.item;
        EXPECT_FALSE(named.name.empty()) << e.item;
        if (e.tag >= tag::kFire1 && e.tag <= tag::kFire3) {
            ASSERT_TRUE(named.fire) << e.item;
            const int n = e.tag - tag::kFire1;
            EXPECT_EQ(named.fire->fireKey, n + 1);
            EXPECT_EQ(named.fire->settings, kFire[static_cast<std::size_t>(n)]);
        }
    }
}

}  // namespace
}  // namespace kelv::keys
