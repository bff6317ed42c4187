#include "config/sections.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fixtures.h"

namespace kelv::config {
namespace {

using test::DefaultParameterFixture;
using test::DefaultProfileFixture;

TEST(Checksum, DefaultSectionsCarryTheShippedFigures) {
    EXPECT_EQ(DefaultParameterFixture()[103], 0xC4);
    EXPECT_EQ(DefaultProfileFixture()[144], 0xF4);
    EXPECT_TRUE(ParameterChecksumValid(DefaultParameterFixture()));
    EXPECT_TRUE(ProfileChecksumValid(DefaultProfileFixture()));
}

TEST(Checksum, SumWrapsAndExcludesTheChecksumByte) {
    struct Case {
        std::uint8_t fill;
        std::uint8_t parameter;  // 103 bytes of fill
        std::uint8_t profile;    // 144 bytes of fill
    };
    const Case cases[] = {
        {0x00, 0x5A, 0x5A},
        {0x01, 103 ^ 0x5A, 144 ^ 0x5A},
        {0xFF, static_cast<std::uint8_t>((103 * 0xFF) % 256 ^ 0x5A),
         static_cast<std::uint8_t>((144 * 0xFF) % 256 ^ 0x5A)},
    };
    for (const Case& c : cases) {
        ParameterSection p;
        p.fill(c.fill);
        ParameterChecksum(p);
        EXPECT_EQ(p[103], c.parameter) << int(c.fill);
        ProfileSection s;
        s.fill(c.fill);
        ProfileChecksum(s);
        EXPECT_EQ(s[144], c.profile) << int(c.fill);
    }
}

TEST(ParameterFields, DecodeTheDefaults) {
    const ParameterSection p = DefaultParameterFixture();
    EXPECT_EQ(StorageFromMarker(StorageMarker(p)), StorageKind::I2C);
    EXPECT_EQ(FireKeyId(p, 1), 1);
    EXPECT_EQ(FireKeyId(p, 2), 3);
    EXPECT_EQ(VendorId(p), test::kFixtureVendorId);
    EXPECT_EQ(ProductId(p), test::kFixtureProductId);
    EXPECT_EQ(ModeFlagsStorage(p), StorageKind::I2C);
    EXPECT_EQ(ReportRateHz(ReportRateCode(p)), 1000);
    EXPECT_EQ(ActiveProfile(p), 0);
    EXPECT_EQ(LedTypeText(LedTypeOf(p)), "Sync");
    EXPECT_EQ(LightingMode(p), 2);
    EXPECT_EQ(DpiLevelCount(p), 4);
    EXPECT_EQ(CurrentDpiLevel(p), 2);
    const std::uint8_t codes[] = {3, 5, 6, 8, 7, 8, 9, 10};
    for (int level = 1; level <= 8; ++level) EXPECT_EQ(DpiValueCode(p, level), codes[level - 1]);
    EXPECT_EQ(FallTimeStep(p), 3);
    for (int c = 0; c < 7; ++c) EXPECT_EQ(LedColour(p, c), (Rgb{100, 100, 100}));
    for (int level = 1; level <= 8; ++level)
        EXPECT_EQ(DpiColour(p, level), (level % 2 ? Rgb{4, 4, 4} : Rgb{0xA, 0xA, 0xA}));
    EXPECT_EQ(ProductName(p), "HID Gaming mouse");
}

TEST(ParameterFields, NibblePackingOddLevelsLowEvenLevelsHigh) {
    ParameterSection p{};
    for (int level = 1; level <= 8; ++level) {
        SetDpiValueCode(p, level, static_cast<std::uint8_t>(level));
        const auto n = static_cast<std::uint8_t>(level);
        SetDpiColour(p, level,
                     {n, static_cast<std::uint8_t>(n + 1), static_cast<std::uint8_t>(n + 2)});
    }
    EXPECT_EQ(p[39], 0x21);
    EXPECT_EQ(p[40], 0x43);
    EXPECT_EQ(p[41], 0x65);
    EXPECT_EQ(p[42], 0x87);
    // Pair p holds levels 2p+1 (low) and 2p+2 (high) in R, G, B order.
    const std::uint8_t colours[12] = {0x21, 0x32, 0x43, 0x43, 0x54, 0x65,
                                      0x65, 0x76, 0x87, 0x87, 0x98, 0xA9};
    for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(p[75 + i], colours[i]) << i;
}

TEST(ParameterFields, LevelNibblesOfEightOrMoreSelectNothing) {
    struct Case {
        std::uint8_t byte;
        std::optional<int> count, current;
    };
    const Case cases[] = {
        {0x70, 8, 1},
        {0x07, 1, 8},
        {0x80, std::nullopt, 1},
        {0x08, 1, std::nullopt},
        {0xFF, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        ParameterSection p{};
        p[38] = c.byte;
        EXPECT_EQ(DpiLevelCount(p), c.count) << int(c.byte);
        EXPECT_EQ(CurrentDpiLevel(p), c.current) << int(c.byte);
    }
}

TEST(ParameterFields, DecodeLedTypeAndStorageBits) {
    const std::pair<std::uint8_t, std::string_view> ledTypes[] = {
        {0x02, "RGB"}, {0x42, "Sync"}, {0x82, "NT"}, {0xC2, "NT"}};
    for (const auto& [byte, text] : ledTypes) {
        ParameterSection p{};
        p[37] = byte;
        EXPECT_EQ(LedTypeText(LedTypeOf(p)), text);
    }
    const std::pair<std::uint8_t, StorageKind> storages[] = {{0xBF, StorageKind::I2C},
                                                             {0xFF, StorageKind::Flash},
                                                             {0x3F, StorageKind::None},
                                                             {0x7F, StorageKind::None}};
    for (const auto& [byte, kind] : storages) EXPECT_EQ(StorageFromModeFlags(byte), kind);
}

// The step shown is read from the second byte; the first one does not count.
TEST(ParameterFields, FallTimeStepRoundsUpWithinTheStrip) {
    const std::pair<std::uint8_t, int> cases[] = {{0, 1},   {5, 1},   {6, 2},    {10, 2},
                                                  {15, 3},  {41, 9},  {45, 9},   {46, 10},
                                                  {50, 10}, {55, 10}, {0xFF, 10}};
    for (const auto& [byte, step] : cases) {
        ParameterSection p{};
        p[52] = 0x77;
        p[53] = byte;
        EXPECT_EQ(FallTimeStep(p), step) << int(byte);
    }
}

// Every setter changes its own bits and nothing else, whatever the other bytes hold.
TEST(ParameterFields, SettersTouchOnlyTheirBits) {
    struct Case {
        const char* name;
        std::function<void(ParameterSection&)> set;
        std::vector<std::pair<std::size_t, std::uint8_t>> mask;  // offset, bits it may change
    };
    const std::vector<Case> cases = {
        {"marker", [](auto& p) { ApplyStorageMarker(p, StorageKind::Flash); }, {{0, 0xFF}}},
        {"vendor", [](auto& p) { SetVendorId(p, 0x1234); }, {{2, 0xFF}, {3, 0xFF}}},
        {"product", [](auto& p) { SetProductId(p, 0x1234); }, {{4, 0xFF}, {5, 0xFF}}},
        {"rate", [](auto& p) { SetReportRateCode(p, 1); }, {{6, 0x30}}},
        {"profile", [](auto& p) { SetActiveProfile(p, 2); }, {{33, 0xFF}}},
        {"lighting", [](auto& p) { SetLightingMode(p, 5); }, {{37, 0x0F}}},
        {"count", [](auto& p) { SetDpiLevelCount(p, 6); }, {{38, 0xF0}}},
        {"current", [](auto& p) { SetCurrentDpiLevel(p, 6); }, {{38, 0x0F}}},
        {"dpi 3", [](auto& p) { SetDpiValueCode(p, 3, 0x5); }, {{40, 0x0F}}},
        {"dpi 8", [](auto& p) { SetDpiValueCode(p, 8, 0x5); }, {{42, 0xF0}}},
        {"fall", [](auto& p) { SetFallTimeStep(p, 4); }, {{52, 0xFF}, {53, 0xFF}}},
        {"led 6",
         [](auto& p) {
             SetLedColour(p, 6, {1, 2, 3});
         },
         {{72, 0xFF}, {73, 0xFF}, {74, 0xFF}}},
        {"dpi colour 5",
         [](auto& p) {
             SetDpiColour(p, 5, {1, 2, 3});
         },
         {{81, 0x0F}, {82, 0x0F}, {83, 0x0F}}},
        {"dpi colour 8",
         [](auto& p) {
             SetDpiColour(p, 8, {1, 2, 3});
         },
         {{84, 0xF0}, {85, 0xF0}, {86, 0xF0}}},
        {"out of range",
         [](auto& p) {
             SetDpiValueCode(p, 9, 1);
             SetDpiColour(p, 0, {1, 1, 1});
             SetLedColour(p, 7, {1, 1, 1});
             SetReportRateCode(p, 4);
             SetFallTimeStep(p, 11);
         },
         {}},
    };
    for (const Case& c : cases) {
        for (const std::uint8_t fill :
             {std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{0x5A}}) {
            ParameterSection before;
            before.fill(fill);
            ParameterSection after = before;
            c.set(after);
            for (std::size_t i = 0; i < after.size(); ++i) {
                std::uint8_t allowed = 0;
                for (const auto& [offset, bits] : c.mask)
                    if (offset == i) allowed = bits;
                EXPECT_EQ(after[i] & ~allowed, before[i] & ~allowed)
                    << c.name << " byte " << i << " fill " << int(fill);
            }
        }
    }
}

TEST(ParameterFields, SettersRoundTrip) {
    ParameterSection p;
    p.fill(0xFF);
    SetReportRateCode(p, 1);
    EXPECT_EQ(ReportRateCode(p), 1);
    EXPECT_EQ(ModeFlags(p), 0xDF);
    SetLightingMode(p, 0);
    EXPECT_EQ(LightingMode(p), 0);
    SetDpiLevelCount(p, 8);
    SetCurrentDpiLevel(p, 3);
    EXPECT_EQ(p[38], 0x72);
    SetFallTimeStep(p, 10);
    EXPECT_EQ(FallTimeStep(p), 10);
    EXPECT_EQ(p[53], 50);
}

TEST(Storage, MarkerRule) {
    const std::tuple<StorageKind, std::uint8_t, std::uint8_t> cases[] = {
        {StorageKind::I2C, 0xF0, 0xE0},
        {StorageKind::Flash, 0xE0, 0xF0},
        {StorageKind::None, 0x12, 0x12},
        {StorageKind::None, 0xE0, 0xE0},
    };
    for (const auto& [kind, before, after] : cases) {
        ParameterSection p{};
        p[0] = before;
        ApplyStorageMarker(p, kind);
        EXPECT_EQ(p[0], after);
    }
    EXPECT_EQ(StorageFromMarker(0xE0), StorageKind::I2C);
    EXPECT_EQ(StorageFromMarker(0xF0), StorageKind::Flash);
    EXPECT_EQ(StorageFromMarker(0xFF), StorageKind::None);
}

TEST(ProfileFields, SlotOffsetsAreFourPerSlotFortyEightPerProfile) {
    ProfileSection s{};
    SetKeySlot(s, 2, 11, {1, 2, 3, 4});
    SetKeySlot(s, 1, 0, {5, 6, 7, 8});
    EXPECT_EQ(s[140], 1);
    EXPECT_EQ(s[143], 4);
    EXPECT_EQ(s[48], 5);
    EXPECT_EQ(s[144], 0);
    EXPECT_EQ(KeySlot(s, 1, 0), (KeySlotBytes{5, 6, 7, 8}));
    SetKeySlot(s, 3, 0, {9, 9, 9, 9});  // no fourth profile: ignored
    SetKeySlot(s, 0, 12, {9, 9, 9, 9});
    EXPECT_EQ(KeySlot(s, 3, 0), (KeySlotBytes{}));
}

TEST(ParameterFields, AnAllFFSectionDecodes) {
    ParameterSection p;
    p.fill(0xFF);
    EXPECT_EQ(StorageFromMarker(StorageMarker(p)), StorageKind::None);
    EXPECT_EQ(VendorId(p), 0xFFFF);
    EXPECT_EQ(ModeFlagsStorage(p), StorageKind::Flash);
    EXPECT_EQ(LedTypeText(LedTypeOf(p)), "NT");
    EXPECT_EQ(DpiLevelCount(p), std::nullopt);
    EXPECT_EQ(DpiValueCode(p, 1), kDpiCodeEmpty);
    EXPECT_EQ(FallTimeStep(p), 10);
    EXPECT_EQ(DpiColour(p, 8), (Rgb{15, 15, 15}));
    EXPECT_EQ(ProductName(p).size(), 16u);
}

}  // namespace
}  // namespace kelv::config
