// What the device-info reply and parameter byte 6 make of a mouse, and the memory map.
#include <gtest/gtest.h>

#include <ostream>

#include "tests/device/test_support.h"

namespace kelv::device {
namespace {

using testing::Rig;
using testing::TestImage;

enum class Fault { None, FailByteFetch, RefuseSectionRead };

struct IdentityCase {
    const char* name;
    Layout mouseLayout;
    std::optional<std::uint8_t> storageByte;
    std::optional<std::uint8_t> modeFlags;  // parameter byte 6 as the mouse holds it
    Fault fault;
    std::uint8_t imageMarker;
    DevInfoResult result;
    const char* chip;
    const char* macro;
    Layout layout;
};

class Identity : public ::testing::TestWithParam<IdentityCase> {};

void PrintTo(const IdentityCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(Identity, ChoosesLayoutAndReadsOnlyWhenBuildAndMouseAgree) {
    const IdentityCase& c = GetParam();
    VirtualMouseOptions options;
    options.layout = c.mouseLayout;
    options.storageByte = c.storageByte;
    Rig rig(options, TestImage(c.imageMarker));
    if (c.modeFlags) rig.mouse.Parameter()[6] = *c.modeFlags;
    ASSERT_TRUE(rig.Open());
    if (c.fault == Fault::FailByteFetch)
        rig.mouse.Faults().failFetchNumber = rig.mouse.FetchCount() + 2;
    if (c.fault == Fault::RefuseSectionRead) rig.mouse.Faults().refusedCommands = {0x06};
    rig.mouse.ClearLog();

    EXPECT_EQ(rig.link.ReadDevInfo(), c.result);
    EXPECT_EQ(rig.link.ChipStorage(), c.chip);
    EXPECT_EQ(rig.link.MacroStorage(), c.macro);
    EXPECT_EQ(rig.link.CurrentLayout(), c.layout);

    std::vector<std::string> events{"height 170"};
    if (c.result == DevInfoResult::Accepted) events.push_back("read");
    if (c.result == DevInfoResult::Mismatch) events.push_back("mismatch");
    EXPECT_EQ(rig.listener.events, events);
    if (c.result == DevInfoResult::Mismatch) {
        EXPECT_EQ(rig.host.messages, std::vector<std::string>{"KELV731xData.bin file type error"});
    } else {
        EXPECT_TRUE(rig.host.messages.empty());
    }
    // A Flash chip is asked for exactly one byte of the parameter section, at offset 6.
    const auto sent = rig.Sent();
    const bool flashChip = std::string(c.chip) == "Flash";
    ASSERT_EQ(sent.size(), flashChip ? 2u : 1u);
    if (flashChip) {
        EXPECT_EQ(sent[1], (Report{0x40, 0x06, 0, 6, 0, 1, 0, 0}));
    }
}

constexpr auto kOk = DevInfoResult::Accepted;
constexpr auto kMismatch = DevInfoResult::Mismatch;

INSTANTIATE_TEST_SUITE_P(
    Layouts, Identity,
    ::testing::Values(
        IdentityCase{"I2cChip", Layout::A, {}, {}, Fault::None, 0xE0, kOk, "I2C", "", Layout::A},
        IdentityCase{
            "FlashChipBF", Layout::B, {}, 0xBF, Fault::None, 0xE0, kOk, "Flash", "I2C", Layout::B},
        IdentityCase{"FlashChipC0",
                     Layout::C,
                     {},
                     0xC0,
                     Fault::None,
                     0xF0,
                     kOk,
                     "Flash",
                     "Flash",
                     Layout::C},
        IdentityCase{"UnreadableByteIsFF",
                     Layout::B,
                     {},
                     0xBF,
                     Fault::FailByteFetch,
                     0xF0,
                     kOk,
                     "Flash",
                     "Flash",
                     Layout::C},
        IdentityCase{"RefusedByteReadIsFF",
                     Layout::B,
                     {},
                     0xBF,
                     Fault::RefuseSectionRead,
                     0xF0,
                     kOk,
                     "Flash",
                     "Flash",
                     Layout::C},
        IdentityCase{"EmptyBuildStorageNeverMismatches",
                     Layout::C,
                     {},
                     {},
                     Fault::None,
                     0x00,
                     kOk,
                     "Flash",
                     "Flash",
                     Layout::C},
        IdentityCase{"I2cChipFlashBuild",
                     Layout::A,
                     {},
                     {},
                     Fault::None,
                     0xF0,
                     kMismatch,
                     "I2C",
                     "",
                     Layout::A},
        IdentityCase{"FlashMacrosI2cBuild",
                     Layout::C,
                     {},
                     {},
                     Fault::None,
                     0xE0,
                     kMismatch,
                     "Flash",
                     "Flash",
                     Layout::C},
        IdentityCase{"I2cMacrosFlashBuild",
                     Layout::B,
                     {},
                     {},
                     Fault::None,
                     0xF0,
                     kMismatch,
                     "Flash",
                     "I2C",
                     Layout::B},
        IdentityCase{"ModeBits00",
                     Layout::B,
                     {},
                     0x3F,
                     Fault::None,
                     0xE0,
                     DevInfoResult::UnknownMacroStorage,
                     "Flash",
                     "",
                     Layout::None},
        IdentityCase{"ModeBits01",
                     Layout::B,
                     {},
                     0x7F,
                     Fault::None,
                     0xE0,
                     DevInfoResult::UnknownMacroStorage,
                     "Flash",
                     "",
                     Layout::None},
        IdentityCase{"UnknownStorageByte",
                     Layout::A,
                     0x00,
                     {},
                     Fault::None,
                     0xE0,
                     DevInfoResult::UnknownChipStorage,
                     "",
                     "",
                     Layout::None}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(Identity, ChipTypeSetsKeyMenuHeight) {
    const std::pair<std::uint8_t, std::optional<int>> cases[] = {
        {1, 146}, {4, 170}, {16, 170}, {17, 170}, {22, 170}, {0, {}}, {2, {}}, {255, {}}};
    for (const auto& [chip, height] : cases) {
        VirtualMouseOptions options;
        options.chipType = chip;
        Rig rig(options);
        ASSERT_TRUE(rig.Open());
        rig.link.ReadDevInfo();
        EXPECT_EQ(rig.link.ChipType(), chip);
        const bool told =
            !rig.listener.events.empty() && rig.listener.events.front().rfind("height", 0) == 0;
        EXPECT_EQ(told, height.has_value()) << int{chip};
        if (height) {
            EXPECT_EQ(rig.listener.events.front(), "height " + std::to_string(*height));
        }
    }
}

TEST(Identity, RefusedQueryLeavesTheMouseOpenAndUnread) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    rig.link.ReadDevInfo();
    ASSERT_EQ(rig.link.CurrentLayout(), Layout::A);
    rig.mouse.Faults().refusedCommands = {0x0D};
    EXPECT_EQ(rig.link.ReadDevInfo(), DevInfoResult::CommandRefused);
    EXPECT_TRUE(rig.link.Connected());
    EXPECT_EQ(rig.link.CurrentLayout(), Layout::None);  // the old answer is not reused
    EXPECT_EQ(rig.listener.events, (std::vector<std::string>{"height 170", "read"}));
}

TEST(Identity, DefaultImageGivesIdsAndBuildStorage) {
    const std::pair<std::uint8_t, const char*> markers[] = {
        {0xE0, "I2C"}, {0xF0, "Flash"}, {0x00, ""}, {0xE1, ""}};
    for (const auto& [marker, storage] : markers) {
        const auto image = TestImage(marker);
        EXPECT_EQ(ImageStorageFromImage(image), storage);
        const DeviceIds ids = DeviceIdsFromImage(image);
        EXPECT_EQ(ids.vendorId, 0xF731);
        EXPECT_EQ(ids.productId, 0x7307);
    }
    EXPECT_EQ(DeviceIdsFromImage(std::vector<std::uint8_t>(5, 0xAA)).vendorId, 0);
    EXPECT_EQ(ImageStorageFromImage({}), "");
}

TEST(MemoryMap, AddressesPerLayout) {
    using namespace memory_map;
    EXPECT_EQ(PackedAreaHalves(Layout::A), (std::array<std::uint16_t, 2>{0x0200, 0x0300}));
    EXPECT_EQ(PackedAreaHalves(Layout::B), (std::array<std::uint16_t, 2>{0x4000, 0x4100}));
    EXPECT_EQ(PackedAreaAddress(Layout::C), 0);
    EXPECT_EQ(MacroPageAddress(0), 0x4000);
    EXPECT_EQ(MacroPageAddress(31), 0x5F00);
    EXPECT_EQ(NameTablePageAddress(3), 0x3300);
    EXPECT_TRUE(IsI2cMacroStorage(Layout::B));
    EXPECT_FALSE(IsI2cMacroStorage(Layout::C));
    EXPECT_TRUE(IsFlashMacroStorage(Layout::C));
    EXPECT_FALSE(IsFlashMacroStorage(Layout::None));
}

}  // namespace
}  // namespace kelv::device
