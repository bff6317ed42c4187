#include "config/profile_file.h"

#include <gtest/gtest.h>

#include <random>

#include "fixtures.h"

namespace kelv::config {
namespace {

MacroData PatternMacros() {
    MacroData m;
    for (std::size_t i = 0; i < m.packedArea.size(); ++i)
        m.packedArea[i] = test::MacroFixtureByte(i + 3);
    for (std::size_t i = 0; i < m.nameTable.size(); ++i)
        m.nameTable[i] = test::MacroFixtureByte(i + 5);
    for (std::size_t p = 0; p < m.pages.size(); ++p)
        for (std::size_t i = 0; i < 256; ++i)
            m.pages[p][i] = test::MacroFixtureByte(p * 256 + i + 9);
    return m;
}

ProfileFileContents Contents(std::uint8_t marker) {
    ProfileFileContents c{test::DefaultParameterFixture(), test::DefaultProfileFixture(),
                          PatternMacros()};
    c.parameter[0] = marker;
    return c;
}

TEST(ProfileFile, LayoutBySize) {
    struct Case {
        StorageKind storage;
        std::uint8_t marker;
        std::size_t size;
    };
    for (const Case c : {Case{StorageKind::I2C, 0xE0, 768}, Case{StorageKind::Flash, 0xF0, 9472},
                         Case{StorageKind::None, 0x00, 256}}) {
        const ProfileFileContents in = Contents(c.marker);
        const auto file = EncodeProfileFile(in.parameter, in.profile, c.storage, in.macros);
        ASSERT_EQ(file.size(), c.size);
        EXPECT_EQ(ProfileFileSize(c.storage), c.size);
        EXPECT_EQ(file[0], c.marker);
        EXPECT_TRUE(std::equal(in.profile.begin(), in.profile.end(), file.begin() + 104));
        for (std::size_t i = 249; i < 256; ++i) EXPECT_EQ(file[i], 0xFF);
    }
    const ProfileFileContents in = Contents(0xF0);
    const auto flash = EncodeProfileFile(in.parameter, in.profile, StorageKind::Flash, in.macros);
    EXPECT_EQ(flash[256], in.macros.nameTable[0]);
    EXPECT_EQ(flash[1279], in.macros.nameTable[1023]);
    EXPECT_EQ(flash[1280 + 256 * 5 + 17], in.macros.pages[5][17]);
    EXPECT_EQ(flash[9471], in.macros.pages[31][255]);
}

TEST(ProfileFile, RoundTrip) {
    for (const auto& [storage, marker] : {std::pair{StorageKind::I2C, std::uint8_t{0xE0}},
                                          std::pair{StorageKind::Flash, std::uint8_t{0xF0}}}) {
        const ProfileFileContents in = Contents(marker);
        const auto file = EncodeProfileFile(in.parameter, in.profile, storage, in.macros);
        ProfileFileContents out;
        ASSERT_TRUE(DecodeProfileFile(file, storage, out).ok);
        EXPECT_EQ(out.parameter, in.parameter);
        EXPECT_EQ(out.profile, in.profile);
        if (storage == StorageKind::I2C)
            EXPECT_EQ(out.macros.packedArea, in.macros.packedArea);
        else {
            EXPECT_EQ(out.macros.nameTable, in.macros.nameTable);
            EXPECT_EQ(out.macros.pages, in.macros.pages);
        }
    }
}

TEST(ProfileFile, MarkerMustMatchTheStorageKind) {
    struct Case {
        StorageKind storage;
        std::uint8_t marker;
        bool ok;
    };
    const Case cases[] = {
        {StorageKind::I2C, 0xE0, true},   {StorageKind::I2C, 0xF0, false},
        {StorageKind::Flash, 0xF0, true}, {StorageKind::Flash, 0xE0, false},
        {StorageKind::I2C, 0x00, false},  {StorageKind::Flash, 0xFF, false},
        {StorageKind::None, 0x12, true},
    };
    for (const Case& c : cases) {
        const ProfileFileContents in = Contents(c.marker);
        const auto file =
            EncodeProfileFile(in.parameter, in.profile, StorageKind::Flash, in.macros);
        ProfileFileContents target{};
        const ProfileFileContents before = target;
        const ProfileLoadResult r = DecodeProfileFile(file, c.storage, target);
        EXPECT_EQ(r.ok, c.ok) << int(c.marker);
        if (!c.ok) {
            EXPECT_EQ(r.error, "Loading .bin is error!");
            EXPECT_EQ(target.parameter, before.parameter);
            EXPECT_EQ(target.profile, before.profile);
            EXPECT_EQ(target.macros, before.macros);
        }
    }
}

TEST(ProfileFile, WithoutAStorageKindOnlyTheSectionsAreTaken) {
    const ProfileFileContents in = Contents(0xE0);
    const auto file = EncodeProfileFile(in.parameter, in.profile, StorageKind::I2C, in.macros);
    ProfileFileContents target{};
    ASSERT_TRUE(DecodeProfileFile(file, StorageKind::None, target).ok);
    EXPECT_EQ(target.profile, in.profile);
    EXPECT_EQ(target.macros, MacroData{});
}

TEST(ProfileFile, AShortFileKeepsTheBytesItLacks) {
    struct Case {
        StorageKind storage;
        std::uint8_t marker;
        std::size_t size;
    };
    for (const Case c : {Case{StorageKind::I2C, 0xE0, 1}, Case{StorageKind::I2C, 0xE0, 150},
                         Case{StorageKind::I2C, 0xE0, 300}, Case{StorageKind::Flash, 0xF0, 1300},
                         Case{StorageKind::Flash, 0xF0, 5000}}) {
        const ProfileFileContents in = Contents(c.marker);
        auto file = EncodeProfileFile(in.parameter, in.profile, c.storage, in.macros);
        file.resize(c.size);
        ProfileFileContents target;
        target.parameter.fill(0xAB);
        target.profile.fill(0xAB);
        target.macros.packedArea.fill(0xAB);
        target.macros.nameTable.fill(0xAB);
        for (auto& page : target.macros.pages) page.fill(0xAB);
        ASSERT_TRUE(DecodeProfileFile(file, c.storage, target).ok) << c.size;
        // Every byte of the layout either comes from the file or keeps 0xAB.
        const auto full =
            EncodeProfileFile(target.parameter, target.profile, c.storage, target.macros);
        for (std::size_t i = 0; i < full.size(); ++i) {
            if (i >= 249 && i < 256) continue;
            ASSERT_EQ(full[i], i < c.size ? file[i] : 0xAB) << c.size << ":" << i;
        }
    }
}

TEST(ProfileFile, EmptyFileIsRefused) {
    for (const StorageKind storage : {StorageKind::I2C, StorageKind::Flash, StorageKind::None}) {
        ProfileFileContents target{};
        EXPECT_EQ(DecodeProfileFile({}, storage, target).error, "Loading .bin is error!");
    }
}

TEST(ProfileFile, OversizedAndRandomFilesStayInBounds) {
    std::mt19937 rng(11);
    for (const std::size_t size : {769u, 9473u, 70000u, 2u, 257u, 1281u}) {
        std::vector<std::uint8_t> file(size);
        for (auto& b : file) b = static_cast<std::uint8_t>(rng());
        for (const auto& [storage, marker] : {std::pair{StorageKind::I2C, std::uint8_t{0xE0}},
                                              std::pair{StorageKind::Flash, std::uint8_t{0xF0}}}) {
            file[0] = marker;
            ProfileFileContents target{};
            ASSERT_TRUE(DecodeProfileFile(file, storage, target).ok);
            EXPECT_EQ(target.parameter[1], file[1]);
        }
    }
}

}  // namespace
}  // namespace kelv::config
