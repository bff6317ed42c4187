#include "keys/codes.h"

#include <gtest/gtest.h>

#include <random>

namespace kelv::keys {
namespace {

TEST(CodeText, ParseAcceptsExactlyEightHexDigits) {
    struct Case {
        const char* text;
        std::optional<KeyFunctionCode> code;
    };
    const Case cases[] = {
        {"01010000", KeyFunctionCode{0x01, 0x01, 0x00, 0x00}},
        {"03022A00", KeyFunctionCode{0x03, 0x02, 0x2A, 0x00}},
        {"0300cd00", KeyFunctionCode{0x03, 0x00, 0xCD, 0x00}},
        {"FFFFFFFF", KeyFunctionCode{0xFF, 0xFF, 0xFF, 0xFF}},
        {"", std::nullopt},
        {"0101000", std::nullopt},
        {"010100000", std::nullopt},
        {"0101000G", std::nullopt},
        {"0x010000", std::nullopt},
        {" 1010000", std::nullopt},
        {"-1010000", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseCodeText(c.text), c.code) << c.text;
    EXPECT_EQ(ParseCodeText(std::string_view("0101\0000", 8)), std::nullopt);
}

TEST(CodeText, FormatIsUpperCaseByteZeroFirstAndRoundTrips) {
    EXPECT_EQ(FormatCodeText(0x03, 0x02, 0x2A, 0x00), "03022A00");
    EXPECT_EQ(FormatCodeText({0xAB, 0xCD, 0xEF, 0x0F}), "ABCDEF0F");
    std::mt19937 rng(3);
    for (int i = 0; i < 200; ++i) {
        const KeyFunctionCode code{
            static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
            static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng())};
        EXPECT_EQ(ParseCodeText(FormatCodeText(code)), code);
    }
}

TEST(FireCodes, RepeatByteAndReadBack) {
    struct Case {
        FireSettings settings;
        std::optional<KeyFunctionCode> code;
        int repeatReadBack;
    };
    const Case cases[] = {
        {{2, 16, true}, KeyFunctionCode{0x06, 0x91, 0x00, 0x10}, 2},
        {{2, 16, false}, KeyFunctionCode{0x06, 0x11, 0x00, 0x10}, 2},
        {{0, 16, false}, KeyFunctionCode{0x06, 0x0F, 0x00, 0x10}, 16},
        {{0, 16, true}, KeyFunctionCode{0x06, 0x8F, 0x00, 0x10}, 16},
        {{15, 4094, true}, KeyFunctionCode{0x06, 0x9E, 0x0F, 0xFE}, 15},
        {{1, 0, false}, KeyFunctionCode{0x06, 0x10, 0x00, 0x00}, 1},
        {{16, 16, false}, std::nullopt, 0},
        {{-1, 16, false}, std::nullopt, 0},
        {{2, -1, false}, std::nullopt, 0},
        {{2, 0x10000, false}, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const auto code = FireCode(c.settings);
        EXPECT_EQ(code, c.code) << c.settings.repeat << "/" << c.settings.delay;
        if (!code) continue;
        const FireSettings back = FireSettingsFromCode(*code);
        EXPECT_EQ(back.repeat, c.repeatReadBack);
        EXPECT_EQ(back.delay, c.settings.delay);
        EXPECT_EQ(back.continueFlag, c.settings.continueFlag);
    }
    // Codes written by others may lack bit 4: 06 03 00 14 is repeat 4, delay 20, no continue.
    EXPECT_EQ(FireSettingsFromCode({0x06, 0x03, 0x00, 0x14}), (FireSettings{4, 20, false}));
}

TEST(AimAndMacroCodes, Bytes) {
    EXPECT_EQ(AimCode(1), (KeyFunctionCode{0x05, 0x00, 0x00, 0x00}));
    EXPECT_EQ(AimCode(7), (KeyFunctionCode{0x05, 0x06, 0x00, 0x00}));
    EXPECT_EQ(AimCode(12), (KeyFunctionCode{0x05, 0x0B, 0x00, 0x00}));
    EXPECT_EQ(AimCode(0), std::nullopt);
    EXPECT_EQ(AimCode(13), std::nullopt);
    EXPECT_EQ(MacroReferenceCode(0x4100), (KeyFunctionCode{0x10, 0x41, 0x00, 0x00}));
    EXPECT_EQ(FormatCodeText(MacroReferenceCode(0x0220)), "10022000");
    EXPECT_EQ(MacroAddressOf({0x10, 0x02, 0x98, 0x00}), 0x0298);
}

}  // namespace
}  // namespace kelv::keys
