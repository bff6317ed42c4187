// Report lengths from report descriptors.
#include <gtest/gtest.h>

#include <ostream>

#include "device/report_descriptor.h"
#include "tests/device/descriptor_fixtures.h"

namespace kelv::device {
namespace {

using Lengths = std::map<std::uint8_t, std::uint32_t>;

std::vector<std::uint8_t> Join(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct Case {
    const char* name;
    std::vector<std::uint8_t> descriptor;
    Lengths input, output, feature;
    std::uint16_t featureLength;
};

// Test names carry the case's name, not a dump of its bytes.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Descriptor : public ::testing::TestWithParam<Case> {};

TEST_P(Descriptor, LengthsFollowTheKernelRule) {
    const Case& c = GetParam();
    const auto lengths = ParseReportDescriptor(c.descriptor);
    ASSERT_TRUE(lengths.has_value());
    EXPECT_EQ(lengths->input, c.input);
    EXPECT_EQ(lengths->output, c.output);
    EXPECT_EQ(lengths->feature, c.feature);
    EXPECT_EQ(FeatureReportByteLength(c.descriptor), c.featureLength);
}

INSTANTIATE_TEST_SUITE_P(
    RealWorldShapes, Descriptor,
    ::testing::Values(Case{"BootKeyboard", testing::kBootKeyboard, {{0, 8}}, {{0, 1}}, {}, 0},
                      Case{"MultiCollectionMouse",
                           testing::kMultiCollectionMouse,
                           {{1, 7}, {2, 3}},
                           {},
                           {{3, 6}},
                           6},
                      Case{"VendorCommandCollection",
                           testing::kVendorCommandCollection,
                           {},
                           {},
                           {{0x40, 8}, {0x41, 8}},
                           8},
                      Case{
                          "MouseWithVendorCollection",
                          Join({testing::kMultiCollectionMouse, testing::kVendorCommandCollection}),
                          {{1, 7}, {2, 3}},
                          {},
                          {{3, 6}, {0x40, 8}, {0x41, 8}},
                          8},
                      // Without report IDs there is no ID byte; a partial byte rounds up.
                      Case{"NoReportIdFeature",
                           {0x75, 0x08, 0x95, 0x08, 0xB1, 0x02, 0x75, 0x01, 0x95, 0x01, 0xB1, 0x03},
                           {},
                           {},
                           {{0, 9}},
                           9},
                      // Long items and local items change nothing.
                      Case{"LongItemSkipped",
                           {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x09, 0x01, 0x75, 0x08, 0x95, 0x02, 0x85,
                            0x05, 0xB1, 0x02},
                           {},
                           {},
                           {{5, 3}},
                           3}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(Descriptor, MalformedDescriptorsAreRejected) {
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"truncated data", {0x75, 0x08, 0x26, 0xFF}},
        {"report id 0", {0x85, 0x00, 0x75, 0x08, 0x95, 0x01, 0xB1, 0x02}},
        {"report id above 255", {0x86, 0x00, 0x01}},
        {"pop without push", {0xB4}},
        {"push past the stack", {0xA4, 0xA4, 0xA4, 0xA4, 0xA4}},
        {"end without collection", {0xC0}},
        {"unclosed collection", {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0xB1, 0x02}},
        {"report size too large", {0x76, 0x2C, 0x01}},
        {"report count too large", {0x96, 0x20, 0x4E}},
        {"long item truncated", {0xFE, 0x05, 0x00, 0x01}},
        {"report too long",
         {0x76, 0x00, 0x01, 0x96, 0x00, 0x30, 0xB1, 0x02, 0xB1, 0x02, 0xB1, 0x02, 0xB1, 0x02, 0xB1,
          0x02}},
    };
    for (const auto& [name, descriptor] : cases) {
        EXPECT_FALSE(ParseReportDescriptor(descriptor).has_value()) << name;
        EXPECT_EQ(FeatureReportByteLength(descriptor), 0) << name;
    }
    EXPECT_EQ(FeatureReportByteLength({}), 0);
}

}  // namespace
}  // namespace kelv::device
