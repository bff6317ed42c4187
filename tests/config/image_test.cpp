#include "config/image.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace kelv::config {
namespace {

class ConfigImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        image.ParameterBuffer() = test::DefaultParameterFixture();
        image.ProfileBuffer() = test::DefaultProfileFixture();
        image.LoadPagesFromDevice();
    }
    ConfigImage image;
};

TEST_F(ConfigImageTest, CodesFollowThePageProfile) {
    for (int p = 0; p < 3; ++p)
        for (int k = 0; k < 12; ++k) EXPECT_EQ(image.ProfileCode(p, k), test::kDefaultSlots[p][k]);

    image.SetKeySlot(1, 8, {0x10, 0x4A, 0xBC, 0x00});
    EXPECT_EQ(image.ProfileCode(1, 8), "104ABC00");
    EXPECT_EQ(KeySlot(image.PageProfile(), 1, 8), (KeySlotBytes{0x10, 0x4A, 0xBC, 0x00}));

    EXPECT_TRUE(image.SetKeySlotText(2, 0, "02030400"));
    EXPECT_EQ(image.PageProfile()[96 + 1], 0x03);
    EXPECT_EQ(image.ProfileCode(2, 0), "02030400");
    // Lower-case digits are stored, but the code text is always upper case.
    EXPECT_TRUE(image.SetKeySlotText(2, 1, "0300cd00"));
    EXPECT_EQ(image.ProfileCode(2, 1), "0300CD00");

    for (const char* bad : {"", "0102", "010200000", "01G20000", " 1020000"}) {
        EXPECT_FALSE(image.SetKeySlotText(0, 0, bad)) << bad;
        EXPECT_EQ(image.ProfileCode(0, 0), "01010000");
    }
    EXPECT_FALSE(image.SetKeySlotText(3, 0, "01010000"));
    EXPECT_EQ(image.ProfileCode(3, 0), "");
}

TEST_F(ConfigImageTest, PagesDoNotReachTheDeviceSideUntilStored) {
    SetReportRateCode(image.PageParameter(), 0);
    image.SetKeySlot(0, 0, {0x01, 0x02, 0x00, 0x00});
    EXPECT_EQ(ReportRateCode(image.ParameterBuffer()), 3);
    EXPECT_EQ(image.ProfileBuffer()[0 + 1], 0x01);

    image.StorePagesToDevice(StorageKind::Flash);
    EXPECT_EQ(ReportRateCode(image.ParameterBuffer()), 0);
    EXPECT_EQ(image.ParameterBuffer()[0], 0xF0);
    EXPECT_TRUE(ParameterChecksumValid(image.ParameterBuffer()));
    EXPECT_TRUE(ProfileChecksumValid(image.ProfileBuffer()));
    EXPECT_EQ(image.ProfileBuffer(), image.PageProfile());
    EXPECT_EQ(image.ParameterBuffer(), image.PageParameter());
}

TEST_F(ConfigImageTest, UneditedBytesPassThroughAStore) {
    ParameterSection device;
    for (std::size_t i = 0; i < device.size(); ++i) device[i] = static_cast<std::uint8_t>(i * 3);
    image.ParameterBuffer() = device;
    image.LoadPagesFromDevice();
    image.StorePagesToDevice(StorageKind::None);
    for (std::size_t i = 0; i < 103; ++i) EXPECT_EQ(image.ParameterBuffer()[i], device[i]) << i;
}

TEST_F(ConfigImageTest, DefaultsReplaceTheDeviceSide) {
    image.DefaultParameterSection().fill(0x11);
    image.DefaultProfileSection().fill(0x22);
    image.DeviceFromDefaults();
    image.LoadPagesFromDevice();
    EXPECT_EQ(image.PageParameter()[50], 0x11);
    EXPECT_EQ(image.ProfileCode(2, 11), "22222222");
}

// A failed read leaves 0xFF in every byte; the pages must still come up.
TEST_F(ConfigImageTest, AllFFSectionsLoad) {
    image.ParameterBuffer().fill(0xFF);
    image.ProfileBuffer().fill(0xFF);
    image.LoadPagesFromDevice();
    EXPECT_EQ(image.ProfileCode(2, 11), "FFFFFFFF");
    EXPECT_EQ(DpiLevelCount(image.PageParameter()), std::nullopt);
    image.StorePagesToDevice(StorageKind::I2C);
    EXPECT_EQ(image.ParameterBuffer()[0], 0xE0);
    EXPECT_EQ(image.ParameterBuffer()[50], 0xFF);
}

}  // namespace
}  // namespace kelv::config
