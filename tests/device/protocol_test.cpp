// Report exchange and transfers, checked byte for byte against the virtual mouse.
#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <numeric>

#include "tests/device/test_support.h"

namespace kelv::device {
namespace {

using testing::Rig;

struct ExchangeCase {
    const char* name;
    std::function<bool(DeviceLink&)> run;
    Report first;  // first report sent
    int sends;     // reports sent in all
    int fetches;   // data reports fetched
};

class Exchange : public ::testing::TestWithParam<ExchangeCase> {};

void PrintTo(const ExchangeCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(Exchange, SendsExactReportsAndFetchesExpectedChunks) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    rig.mouse.ClearLog();
    const ExchangeCase& c = GetParam();
    EXPECT_TRUE(c.run(rig.link));
    const auto sent = rig.Sent();
    ASSERT_EQ(static_cast<int>(sent.size()), c.sends);
    EXPECT_EQ(sent.front(), c.first);
    EXPECT_EQ(rig.Fetches(), c.fetches);
}

std::vector<std::uint8_t> buffer(2048);

INSTANTIATE_TEST_SUITE_P(
    Operations, Exchange,
    ::testing::Values(
        ExchangeCase{"Command",
                     [](DeviceLink& l) { return l.SendCommand(0x09, 1, 2, 3, 4); },
                     {0x40, 0x09, 1, 2, 3, 4, 0, 0},
                     1,
                     0},
        ExchangeCase{"Data",
                     [](DeviceLink& l) { return l.SendData(1, 2, 3, 4, 5, 6, 7); },
                     {0x41, 1, 2, 3, 4, 5, 6, 7},
                     1,
                     0},
        ExchangeCase{"SingleByteParameterPiece",
                     [](DeviceLink& l) { return l.WriteParameterPiece(38, 0x31, 0, 0, 1); },
                     {0x40, 0x05, 0x00, 38, 0x31, 0, 0, 1},
                     1,
                     0},
        ExchangeCase{"ProfilePiece",
                     [](DeviceLink& l) { return l.WriteProfilePiece(8, 0x01, 0x04, 0, 0); },
                     {0x40, 0x05, 0x01, 8, 0x01, 0x04, 0x00, 0x00},
                     1,
                     0},
        ExchangeCase{"ParameterSection",
                     [](DeviceLink& l) { return l.ReadSection(0, 0, 104, buffer); },
                     {0x40, 0x06, 0, 0, 0, 104, 0, 0},
                     1,
                     15},
        ExchangeCase{"ProfileSection",
                     [](DeviceLink& l) { return l.ReadSectionBusy(1, 0, 145, buffer); },
                     {0x40, 0x06, 1, 0, 0, 145, 0, 0},
                     1,
                     21},
        ExchangeCase{"MacroPage",
                     [](DeviceLink& l) { return l.ReadMemory(0x4100, 256, buffer); },
                     {0x40, 0x09, 0x41, 0x00, 0x01, 0x00, 0, 0},
                     1,
                     37},
        ExchangeCase{"NameTable",
                     [](DeviceLink& l) { return l.ReadMemory(0x3000, 1024, buffer); },
                     {0x40, 0x09, 0x30, 0x00, 0x04, 0x00, 0, 0},
                     1,
                     147},
        ExchangeCase{"Descriptor",
                     [](DeviceLink& l) { return l.ReadMemory(0x1000, 16, buffer); },
                     {0x40, 0x09, 0x10, 0x00, 0x00, 0x10, 0, 0},
                     1,
                     3},
        ExchangeCase{"PatchCodeWrite",
                     [](DeviceLink& l) { return l.WriteMemory(0xC000, 1024, buffer); },
                     {0x40, 0x07, 0xC0, 0x00, 0x04, 0x00, 0, 0},
                     148,
                     0},
        ExchangeCase{"WholeParameterSection",
                     [](DeviceLink& l) { return l.WriteSection(0, 0, 104, buffer); },
                     {0x40, 0x05, 0, 0, 0, 0, 0, 3},
                     35,
                     0},
        ExchangeCase{"WholeProfileSection",
                     [](DeviceLink& l) { return l.WriteSection(1, 0, 145, buffer); },
                     {0x40, 0x05, 1, 0, 0, 0, 0, 0},
                     37,
                     0},
        ExchangeCase{"DeviceInfo",
                     [](DeviceLink& l) { return l.ReadDevInfo() == DevInfoResult::Accepted; },
                     {0x40, 0x0D, 0, 0, 0, 0, 0, 0},
                     1,
                     1}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(Transfers, ReadsCopyOnlyTheAskedLengthAndLeaveTheRestFF) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    std::vector<std::uint8_t> parameter(110, 0x00);
    ASSERT_TRUE(rig.link.ReadSection(0, 0, 104, parameter));
    EXPECT_TRUE(
        std::equal(rig.mouse.Parameter().begin(), rig.mouse.Parameter().end(), parameter.begin()));
    // The seventh byte of the last fetch is dropped; nothing past the length is touched.
    for (std::size_t i = 104; i < parameter.size(); ++i) EXPECT_EQ(parameter[i], 0xFF) << i;

    std::vector<std::uint8_t> page(256);
    ASSERT_TRUE(rig.link.ReadMemory(0x0200, 256, page));
    EXPECT_TRUE(std::equal(page.begin(), page.end(), rig.image.begin() + 256));
}

TEST(Transfers, WholeSectionWritesLandExactlyAndNeverPastTheSection) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    std::vector<std::uint8_t> parameter(104), profile(145);
    std::iota(parameter.begin(), parameter.end(), std::uint8_t{100});
    std::iota(profile.begin(), profile.end(), std::uint8_t{1});
    rig.mouse.ClearLog();
    ASSERT_TRUE(rig.link.WriteSection(0, 0, 104, parameter));
    ASSERT_TRUE(rig.link.WriteSection(1, 0, 145, profile));
    EXPECT_TRUE(std::equal(parameter.begin(), parameter.end(), rig.mouse.Parameter().begin()));
    EXPECT_TRUE(std::equal(profile.begin(), profile.end(), rig.mouse.Profile().begin()));

    const auto sent = rig.Sent();
    ASSERT_EQ(sent.size(), 35u + 37u);
    for (std::size_t k = 0; k < 35; ++k) EXPECT_EQ(sent[k][3], 3 * k);
    for (std::size_t k = 0; k < 37; ++k) EXPECT_EQ(sent[35 + k][3], 4 * k);
    // Last parameter piece: two real bytes and a count saying so.
    EXPECT_EQ(sent[34], (Report{0x40, 0x05, 0, 102, parameter[102], parameter[103], 0, 2}));
    // Last profile piece: the checksum byte, then zeros.
    EXPECT_EQ(sent.back(), (Report{0x40, 0x05, 1, 144, profile[144], 0, 0, 0}));
    EXPECT_EQ(rig.host.Count("busy"), 35 + 37);

    rig.mouse.ClearLog();
    EXPECT_TRUE(rig.link.WriteSection(2, 0, 10, parameter));
    EXPECT_TRUE(rig.Sent().empty());
}

TEST(Transfers, MemoryWriteRoundTripsAndPadsTheLastReport) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    std::vector<std::uint8_t> descriptor(16);
    std::iota(descriptor.begin(), descriptor.end(), std::uint8_t{0xA0});
    rig.mouse.Memory()[0x1010] = 0x77;
    rig.mouse.ClearLog();
    ASSERT_TRUE(rig.link.WriteMemory(0x1000, 16, descriptor));
    const auto sent = rig.Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[3], (Report{0x41, 0xAE, 0xAF, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(
        std::equal(descriptor.begin(), descriptor.end(), rig.mouse.Memory().begin() + 0x1000));
    EXPECT_EQ(rig.mouse.Memory()[0x1010], 0x77);

    std::vector<std::uint8_t> back(16);
    ASSERT_TRUE(rig.link.ReadMemory(0x1000, 16, back));
    EXPECT_EQ(back, descriptor);
}

TEST(Transfers, FailedFetchesReadAsFFAndPauseOnlyAfterSuccess) {
    struct Case {
        bool all;
        int nth;
        std::size_t firstFF, endFF;
    };
    for (const Case c : {Case{true, 0, 0, 104}, Case{false, 3, 14, 21}, Case{false, 15, 98, 104}}) {
        Rig rig;
        ASSERT_TRUE(rig.Open());
        rig.mouse.Faults().failAllFetches = c.all;
        rig.mouse.Faults().failFetchNumber = c.nth ? rig.mouse.FetchCount() + c.nth : 0;
        rig.clock.sleeps.clear();
        std::vector<std::uint8_t> section(104, 0);
        EXPECT_TRUE(rig.link.ReadSection(0, 0, 104, section));
        for (std::size_t i = 0; i < 104; ++i) {
            const bool ff = i >= c.firstFF && i < c.endFF;
            if (ff) {
                EXPECT_EQ(section[i], 0xFF) << i;
            }
            if (!ff) {
                EXPECT_EQ(section[i], rig.mouse.Parameter()[i]) << i;
            }
        }
        const std::uint64_t paused =
            std::accumulate(rig.clock.sleeps.begin(), rig.clock.sleeps.end(), std::uint64_t{0});
        EXPECT_EQ(paused, (c.all ? 0 : 14) * kFetchPauseMicros);
        EXPECT_EQ(rig.link.ReplyBuffer()[0],
                  c.nth == 15 || c.all ? 0xFF : rig.mouse.Parameter()[98]);
    }
}

TEST(Transfers, RefusedCommandsStopAtOnce) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    rig.mouse.Faults().refusedCommands = {0x05, 0x06, 0x07, 0x09};
    std::vector<std::uint8_t> kept(256, 0x42);
    rig.mouse.ClearLog();
    EXPECT_FALSE(rig.link.ReadMemory(0x4000, 256, kept));
    EXPECT_EQ(kept, std::vector<std::uint8_t>(256, 0x42));  // a refused read keeps the old data
    EXPECT_FALSE(rig.link.WriteMemory(0x4000, 256, kept));
    std::vector<std::uint8_t> section(104, 0);
    EXPECT_FALSE(rig.link.ReadSection(0, 0, 104, section));
    EXPECT_EQ(section, std::vector<std::uint8_t>(104, 0xFF));
    EXPECT_FALSE(rig.link.WriteParameterPiece(6, 0xBF, 0, 0, 1));
    EXPECT_EQ(rig.Fetches(), 0);
    EXPECT_EQ(rig.Sent().size(), 4u);  // the four refused commands, nothing after them
}

TEST(Transfers, EverythingFailsQuietlyWithoutHandles) {
    Rig rig;  // never opened
    std::vector<std::uint8_t> data(256, 0x11);
    const std::vector<std::function<bool(DeviceLink&)>> operations = {
        [](DeviceLink& l) { return l.SendCommand(0x0D, 0, 0, 0, 0); },
        [](DeviceLink& l) { return l.SendData(0, 0, 0, 0, 0, 0, 0); },
        [](DeviceLink& l) { return l.WriteParameterPiece(0, 0, 0, 0, 1); },
        [](DeviceLink& l) { return l.WriteProfilePiece(0, 0, 0, 0, 0); },
        [&](DeviceLink& l) { return l.ReadSection(0, 0, 104, data); },
        [&](DeviceLink& l) { return l.ReadSectionBusy(1, 0, 145, data); },
        [&](DeviceLink& l) { return l.WriteSection(0, 0, 104, data); },
        [&](DeviceLink& l) { return l.ReadMemory(0, 256, data); },
        [&](DeviceLink& l) { return l.WriteMemory(0, 256, data); },
        [](DeviceLink& l) { return l.ReadDevInfo() == DevInfoResult::Accepted; },
        [](DeviceLink& l) { return l.SetFeatureReport(nullptr, Report{0x40}); },
        [](DeviceLink& l) {
            Report r{0x41};
            return l.GetFeatureReport(nullptr, r);
        },
    };
    for (std::size_t i = 0; i < operations.size(); ++i) EXPECT_FALSE(operations[i](rig.link)) << i;
    rig.link.ReadData();
    EXPECT_EQ(rig.link.ReplyBuffer(),
              (std::array<std::uint8_t, 7>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(rig.mouse.Log().empty());
    EXPECT_TRUE(rig.host.events.empty());  // no busy pop-up for an operation that cannot start
}

TEST(Transfers, PieceWriteShowsBusyWaitsThenHides) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    rig.clock.events = &rig.host.events;
    ASSERT_TRUE(rig.link.WriteProfilePiece(0, 1, 1, 0, 0));
    EXPECT_EQ(rig.host.events,
              (std::vector<std::string>{"busy", "pump", "sleep 100000", "hide", "pump"}));
    rig.host.events.clear();
    std::vector<std::uint8_t> section(145);
    ASSERT_TRUE(rig.link.ReadSectionBusy(1, 0, 145, section));
    EXPECT_EQ(rig.host.Count("busy"), 21);
    EXPECT_EQ(rig.host.Count("hide"), 0);  // the whole-area flows hide it when they finish
}

TEST(Bits, TestSetAndClearEveryBit) {
    for (int n = 0; n < 8; ++n) {
        const auto bit = static_cast<std::uint8_t>(1u << n);
        EXPECT_TRUE(TestBit(bit, n));
        EXPECT_FALSE(TestBit(static_cast<std::uint8_t>(~bit), n));
        EXPECT_EQ(SetBit(0x00, n), bit);
        EXPECT_EQ(ClearBit(0xFF, n), static_cast<std::uint8_t>(~bit));
    }
    EXPECT_FALSE(TestBit(0xFF, 8));
    EXPECT_EQ(SetBit(0x00, -1), 0x00);
}

TEST(MicroDelay, WaitsAtLeastTheTimeAskedEvenWhenSleepsReturnEarly) {
    struct ShortSleeper : testing::FakeClock {
        void SleepMicros(std::uint64_t micros) override { FakeClock::SleepMicros(micros / 3 + 1); }
    } clock;
    testing::RecordingHost host;
    VirtualHidPort port;
    DeviceLink link(port, clock, host, EnglishLinkTexts());
    const std::uint64_t start = clock.now;
    link.MicroDelay(500);
    EXPECT_GE(clock.now - start, 500u);
}

}  // namespace
}  // namespace kelv::device
