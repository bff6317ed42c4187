#include "resources/bundle.h"

#include <gtest/gtest.h>

#include "resources/string_table.h"

namespace kelv::res {
namespace {

TEST(Bundle, FindsDefaultImageWhateverTheCase) {
    for (const char* name : {"KELV731xData", "kelv731xdata", "KELV731XDATA"}) {
        auto found = Find(name);
        ASSERT_TRUE(found.has_value()) << name;
        EXPECT_EQ(found->size(), 768u) << name;
    }
}

TEST(Bundle, MissingNameThrowsWithUserText) {
    EXPECT_FALSE(Find("NoSuchThing").has_value());
    try {
        Get("NoSuchThing");
        FAIL() << "expected ResourceError";
    } catch (const ResourceError& e) {
        EXPECT_STREQ(e.what(), "Resource NoSuchThing not found");
    }
}

TEST(MapStringTable, KeysIgnoreCaseAndAbsentIsEmpty) {
    MapStringTable t({{"Str022", "Not find the specified device"}});
    EXPECT_EQ(t.Text("str022"), "Not find the specified device");
    EXPECT_EQ(t.Text("Str023"), "");
}

}  // namespace
}  // namespace kelv::res
