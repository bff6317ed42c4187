// The shipped udev rule must grant access to the IDs the build looks for.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "device/device_link.h"
#include "resources/bundle.h"

namespace kelv::device {
namespace {

TEST(UdevRule, MatchesTheIdsOfTheDefaultImage) {
    std::ifstream in(std::string(KELV_SOURCE_DIR) + "/udev/70-kelv731x.rules");
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    const DeviceIds ids = DeviceIdsFromImage(res::Get("KELV731xData"));
    char vendor[8], product[8];
    std::snprintf(vendor, sizeof vendor, "%04x", ids.vendorId);
    std::snprintf(product, sizeof product, "%04x", ids.productId);
    std::smatch m;
    const std::string rules = text.str();
    const std::regex rule(
        R"re(ATTRS\{idVendor\}=="([0-9a-f]{4})".*ATTRS\{idProduct\}=="([0-9a-f]{4})")re");
    ASSERT_TRUE(std::regex_search(rules, m, rule));
    EXPECT_EQ(m[1].str(), vendor);
    EXPECT_EQ(m[2].str(), product);
}

}  // namespace
}  // namespace kelv::device
