#include "config/default_image.h"

#include <gtest/gtest.h>

#include <random>

#include "fixtures.h"

namespace kelv::config {
namespace {

using test::ImageFixture;
using test::MacroFixtureByte;

TEST(DefaultImage, I2CImageGivesSectionsIdsAndPackedArea) {
    const auto bytes = ImageFixture(0xE0, 768);
    const DefaultImage d = ParseDefaultImage(bytes);
    EXPECT_EQ(d.storage, StorageKind::I2C);
    EXPECT_EQ(d.parameter, test::DefaultParameterFixture());
    EXPECT_EQ(d.profile, test::DefaultProfileFixture());
    EXPECT_EQ(d.vendorId, test::kFixtureVendorId);
    EXPECT_EQ(d.productId, test::kFixtureProductId);
    for (std::size_t i = 0; i < 512; ++i) ASSERT_EQ(d.macros.packedArea[i], bytes[256 + i]) << i;
    EXPECT_EQ(d.macros.nameTable, MacroData{}.nameTable);
    EXPECT_EQ(d.macros.pages, MacroData{}.pages);
}

TEST(DefaultImage, FlashImageGivesNamesAndEightPages) {
    const auto bytes = ImageFixture(0xF0, 9472);
    const DefaultImage d = ParseDefaultImage(bytes);
    EXPECT_EQ(d.storage, StorageKind::Flash);
    for (std::size_t i = 0; i < 1024; ++i) ASSERT_EQ(d.macros.nameTable[i], bytes[256 + i]);
    for (std::size_t page = 0; page < 32; ++page)
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(d.macros.pages[page][i],
                      page < 8 ? MacroFixtureByte(1280 + 1024 * page + i) : 0)
                << page << ":" << i;
    EXPECT_EQ(d.macros.packedArea, MacroData{}.packedArea);
}

TEST(DefaultImage, MissingBytesReadAsZero) {
    struct Case {
        std::uint8_t marker;
        std::size_t size;
    };
    for (const Case c : {Case{0xE0, 0}, Case{0xE0, 1}, Case{0xE0, 103}, Case{0xE0, 300},
                         Case{0xF0, 2000}, Case{0xF0, 3000}}) {
        const auto bytes = ImageFixture(c.marker, c.size);
        const DefaultImage d = ParseDefaultImage(bytes);
        for (std::size_t i = 0; i < 104; ++i)
            ASSERT_EQ(d.parameter[i], i < c.size ? bytes[i] : 0) << c.size << ":" << i;
        const auto& macros = c.marker == 0xE0 ? std::span<const std::uint8_t>(d.macros.packedArea)
                                              : std::span<const std::uint8_t>(d.macros.nameTable);
        for (std::size_t i = 0; i < macros.size(); ++i)
            ASSERT_EQ(macros[i], 256 + i < c.size ? bytes[256 + i] : 0) << c.size << ":" << i;
    }
    EXPECT_EQ(ParseDefaultImage({}).storage, StorageKind::None);
}

TEST(DefaultImage, OtherMarkersLoadSectionsOnly) {
    const auto bytes = ImageFixture(0x00, 9472);
    const DefaultImage d = ParseDefaultImage(bytes);
    EXPECT_EQ(d.storage, StorageKind::None);
    EXPECT_EQ(d.profile, test::DefaultProfileFixture());
    EXPECT_EQ(d.macros, MacroData{});
}

TEST(DefaultImage, RandomAndOversizedInputParses) {
    std::mt19937 rng(7);
    for (const std::size_t size : {5u, 255u, 769u, 9471u, 9473u, 20000u}) {
        std::vector<std::uint8_t> bytes(size);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
        bytes[0] = size % 2 ? 0xE0 : 0xF0;
        const DefaultImage d = ParseDefaultImage(bytes);
        EXPECT_EQ(d.parameter[4], bytes[4]);
        EXPECT_EQ(d.storage, size % 2 ? StorageKind::I2C : StorageKind::Flash);
    }
}

TEST(DefaultImage, ApplyFillsTheDefaultCopies) {
    ConfigImage image;
    ApplyDefaults(image, ParseDefaultImage(ImageFixture(0xE0, 768)));
    image.DeviceFromDefaults();
    image.LoadPagesFromDevice();
    EXPECT_EQ(image.ProfileCode(1, 8), "10022000");
    EXPECT_EQ(ActiveProfile(image.PageParameter()), 0);
}

}  // namespace
}  // namespace kelv::config
