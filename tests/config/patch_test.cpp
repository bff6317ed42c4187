#include "config/patch.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelv::config {
namespace {

TEST(PatchCode, DescriptorCarriesAddressLengthAndChecksum) {
    struct Case {
        std::uint8_t fill;
        std::uint16_t checksum;
    };
    for (const Case c : {Case{0x00, 0x015A}, Case{0xFF, 0xFD5A}, Case{0x01, 0x0400 ^ 0x015A}}) {
        PatchCode code;
        code.fill(c.fill);
        EXPECT_EQ(PatchChecksum(code), c.checksum);
        const PatchDescriptor d = CheckPatchCodeSection(code);
        const PatchDescriptor expected = {0,
                                          0,
                                          0,
                                          0,
                                          0,
                                          0,
                                          0,
                                          0,
                                          0xC0,
                                          0x00,
                                          0x04,
                                          0x00,
                                          0x00,
                                          0x1A,
                                          static_cast<std::uint8_t>(c.checksum >> 8),
                                          static_cast<std::uint8_t>(c.checksum & 0xFF)};
        EXPECT_EQ(d, expected) << int(c.fill);
    }
}

TEST(PatchCode, TakenFromOffset0x8000) {
    struct Case {
        std::size_t fileSize;
        bool ok;
        std::size_t taken;
    };
    const Case cases[] = {
        {0, false, 0},
        {0x8000, false, 0},
        {0x8001, true, 1},
        {0x8000 + 1023, true, 1023},
        {0x8000 + 1024, true, 1024},
        {0x10000, true, 1024},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file(c.fileSize);
        for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i / 7);
        PatchCode code;
        code.fill(0xEE);
        const PatchLoadResult r = LoadPatchCode(file, code);
        EXPECT_EQ(r.ok, c.ok) << c.fileSize;
        EXPECT_EQ(r.bytesTaken, c.taken) << c.fileSize;
        EXPECT_EQ(r.error.empty(), c.ok);
        for (std::size_t i = 0; i < code.size(); ++i)
            ASSERT_EQ(code[i], i < c.taken ? file[0x8000 + i] : 0xEE) << c.fileSize << ":" << i;
    }
}

}  // namespace
}  // namespace kelv::config
