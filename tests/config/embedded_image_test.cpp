// The default image this build ships with.
#include <gtest/gtest.h>

#include "config/default_image.h"
#include "fixtures.h"

namespace kelv::config {
namespace {

TEST(EmbeddedImage, HoldsTheShippedDefaults) {
    const DefaultImage d = LoadDefaultImage();
    EXPECT_EQ(d.storage, StorageKind::I2C);
    EXPECT_EQ(d.parameter[103], 0xC4);
    EXPECT_EQ(d.profile[144], 0xF4);
    EXPECT_TRUE(ParameterChecksumValid(d.parameter));
    EXPECT_TRUE(ProfileChecksumValid(d.profile));

    // Everything but the OEM's vendor and product ID is fixed.
    ParameterSection expected = test::DefaultParameterFixture();
    SetVendorId(expected, d.vendorId);
    SetProductId(expected, d.productId);
    for (std::size_t i = 0; i < 103; ++i) EXPECT_EQ(d.parameter[i], expected[i]) << i;
    EXPECT_EQ(d.vendorId, VendorId(d.parameter));
    EXPECT_EQ(d.productId, ProductId(d.parameter));
    EXPECT_EQ(d.profile, test::DefaultProfileFixture());

    // Four macros from the area's base; the area after the last record (ending at 0x030E) is zero.
    EXPECT_NE(d.macros.packedArea[0], 0);
    for (std::size_t i = 0x10E; i < 512; ++i) ASSERT_EQ(d.macros.packedArea[i], 0) << i;
}

}  // namespace
}  // namespace kelv::config
