// The shipped default image, checked figure by figure.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <span>
#include <string>
#include <vector>

#include "macros/script.h"
#include "macros/store.h"
#include "resources/bundle.h"

namespace kelv::macros {
namespace {

constexpr std::size_t kParameterOffset = 0;
constexpr std::size_t kProfileOffset = 104;
constexpr std::size_t kMacroOffset = 256;

std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u) % 256 ^ 0x5A);
}

std::vector<std::uint8_t> Bytes(std::span<const std::uint8_t> image, std::size_t at,
                                std::size_t n) {
    return {image.begin() + static_cast<std::ptrdiff_t>(at),
            image.begin() + static_cast<std::ptrdiff_t>(at + n)};
}

class DefaultImage : public ::testing::Test {
  protected:
    std::span<const std::uint8_t> image = res::Get("KELV731xData");
};

TEST_F(DefaultImage, SectionsCarryTheirDefaultsAndChecksums) {
    ASSERT_EQ(image.size(), 768u);
    const auto p = image.subspan(kParameterOffset, 104);
    EXPECT_EQ(p[0], 0xE0);
    EXPECT_EQ(p[1], 0x31);
    EXPECT_EQ(Bytes(p, 2, 4), (std::vector<std::uint8_t>{0xF7, 0x31, 0x73, 0x0F}));
    EXPECT_EQ(p[6], 0xBF);
    EXPECT_EQ(Bytes(p, 7, 26),
              (std::vector<std::uint8_t>{0x7F, 0x7F, 0xBF, 0xAF, 0x00, 0x00, 0x45, 0x02, 0xEF,
                                         0x10, 0x70, 0x10, 0x40, 0x10, 0xFF, 0x00, 0x58, 0x00,
                                         0x03, 0x03, 0x48, 0x96, 0xFA, 0x20, 0x03, 0x02}));
    EXPECT_EQ(p[33], 0);
    EXPECT_EQ(Bytes(p, 34, 3), (std::vector<std::uint8_t>{0xEF, 0x15, 0x05}));
    EXPECT_EQ(p[37], 0x42);
    EXPECT_EQ(p[38], 0x31);
    EXPECT_EQ(Bytes(p, 39, 4), (std::vector<std::uint8_t>{0x53, 0x86, 0x87, 0xA9}));
    EXPECT_EQ(Bytes(p, 43, 9),
              (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x6D, 0x60}));
    EXPECT_EQ(Bytes(p, 52, 2), (std::vector<std::uint8_t>{15, 15}));
    EXPECT_EQ(Bytes(p, 54, 21), std::vector<std::uint8_t>(21, 100));
    EXPECT_EQ(Bytes(p, 75, 12), std::vector<std::uint8_t>(12, 0xA4));
    EXPECT_EQ(std::string(p.begin() + 87, p.begin() + 103), "HID Gaming mouse");
    EXPECT_EQ(p[103], 0xC4);
    EXPECT_EQ(Checksum(p.first(103)), 0xC4);

    const auto r = image.subspan(kProfileOffset, 145);
    EXPECT_EQ(r[144], 0xF4);
    EXPECT_EQ(Checksum(r.first(144)), 0xF4);
    EXPECT_EQ(Bytes(image, 249, 7), std::vector<std::uint8_t>(7, 0xFF));
}

TEST_F(DefaultImage, ProfileSlotsHoldTheirCodes) {
    struct Case {
        int profile, slot;
        std::vector<std::uint8_t> code;
    };
    const Case cases[] = {
        {0, 0, {0x01, 0x01, 0x00, 0x00}},  {0, 3, {0x03, 0x02, 0x23, 0x00}},
        {0, 11, {0x03, 0x01, 0x94, 0x00}}, {1, 6, {0x06, 0x03, 0x00, 0x14}},
        {1, 8, {0x10, 0x02, 0x20, 0x00}},  {2, 6, {0x06, 0x03, 0x00, 0x14}},
        {2, 8, {0x01, 0x04, 0x00, 0x00}},  {2, 10, {0x01, 0x10, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bytes(image, kProfileOffset + 48 * c.profile + 4 * c.slot, 4), c.code)
            << "profile " << c.profile << " slot " << c.slot;
    }
}

TEST_F(DefaultImage, MacroAreaHoldsTheFourDefaultMacros) {
    MacroStore store(MacroLayout::kPacked, kPackedBaseI2C);
    store.SetArea(image.subspan(kMacroOffset, 512));
    const PackedParse parse = store.ReadAndRefreshMacro7311();
    EXPECT_EQ(parse.macros, 4);
    EXPECT_EQ(parse.repaired, 0);
    // The parse rebuilds the area; nothing may change for a well-formed image.
    EXPECT_EQ(Bytes(store.Area(), 0, 512), Bytes(image, kMacroOffset, 512));

    struct Expected {
        const char* name;
        std::uint16_t address;
        int length;
    };
    const Expected expected[] = {{"光速QA", 0x0220, 120},
                                 {"酒桶E闪", 0x0298, 50},
                                 {"盲僧R闪", 0x02CA, 50},
                                 {"牛头二连击", 0x02FC, 50}};
    ASSERT_EQ(store.MacroCount(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(store.Name(k), expected[k].name);
        EXPECT_EQ(store.MacroAddress(k), expected[k].address) << k;
        EXPECT_EQ(store.Length(k), expected[k].length) << k;
    }
    EXPECT_EQ(store.TotalLength(), 270);
    EXPECT_EQ(Bytes(image, 256 + 270, 512 - 270), std::vector<std::uint8_t>(512 - 270, 0));

    // Button 9 of profile 2 runs slot 0's macro.
    const auto code = store.MacroCode(0);
    EXPECT_EQ(Bytes(image, kProfileOffset + 48 + 4 * 8, 4),
              std::vector<std::uint8_t>(code.begin(), code.end()));
    EXPECT_EQ(store.SlotOfAddress(0x0220), 0);
}

TEST_F(DefaultImage, MacroEventsDecodeToTheirScripts) {
    MacroStore store(MacroLayout::kPacked, kPackedBaseI2C);
    store.SetArea(image.subspan(kMacroOffset, 512));
    store.ReadAndRefreshMacro7311();
    const KeyNameFn names = [](std::uint8_t usage) {
        switch (usage) {
            case 0x04:
                return std::string("A");
            case 0x07:
                return std::string("D");
            case 0x08:
                return std::string("E");
            case 0x14:
                return std::string("Q");
            case 0x15:
                return std::string("R");
            case 0x17:
                return std::string("T");
            case 0x1A:
                return std::string("W");
            default:
                return std::string();
        }
    };
    const std::vector<std::string> quickQa = {"1 Q CODE:8214", "0 50", "2 Q CODE:0214", "0 260",
                                              "1 T CODE:8217", "0 50", "2 T CODE:0217", "0 50",
                                              "1 A CODE:8204", "0 50", "2 A CODE:0204"};
    std::vector<std::string> slot0 = {"10"};
    for (int rep = 0; rep < 3; ++rep) {
        if (rep > 0) slot0.push_back("0 360");
        slot0.insert(slot0.end(), quickQa.begin(), quickQa.end());
    }
    const std::vector<std::vector<std::string>> expected = {
        slot0,
        {"10", "1 E CODE:8208", "0 50", "2 E CODE:0208", "0 150", "1 D CODE:8207", "0 50",
         "2 D CODE:0207"},
        {"10", "1 R CODE:8215", "0 150", "2 R CODE:0215", "0 50", "1 D CODE:8207", "0 150",
         "2 D CODE:0207"},
        {"10", "1 W CODE:821A", "0 100", "2 W CODE:021A", "0 50", "1 Q CODE:8214", "0 100",
         "2 Q CODE:0214"},
    };
    for (int k = 0; k < 4; ++k) {
        const auto events = store.Events(k);
        const DecodedMacro decoded = RefreshMacroList(events, names);
        EXPECT_EQ(decoded.script.Lines(), expected[static_cast<std::size_t>(k)]) << k;
        EXPECT_EQ(MacroListToBin(decoded.script), events) << k;
    }
}

}  // namespace
}  // namespace kelv::macros
