// Finding the mouse, choosing its interfaces, and the presence timer's decisions.
#include <gtest/gtest.h>

#include <ostream>

#include "tests/device/test_support.h"

namespace kelv::device {
namespace {

using testing::kProduct;
using testing::kVendor;
using testing::Rig;

VirtualInterface Keyboard() {
    return {"keyboard", {0x046D, 0xC31C, 0x0110}, 0, true};
}

TEST(OpenDevice, ProbesEachMatchingInterfaceWithDeviceInfoAndADataFetch) {
    Rig rig;
    std::uint16_t version = 0;
    ASSERT_TRUE(rig.link.OpenDevice(kVendor, kProduct, version));
    EXPECT_EQ(version, 0x0100);
    EXPECT_EQ(rig.link.FeatureLength(), 8);
    EXPECT_EQ(rig.link.CommandHandle(), rig.link.DataHandle());
    ASSERT_EQ(rig.mouse.Log().size(), 2u);
    EXPECT_EQ(rig.mouse.Log()[0].request, (Report{0x40, 0x0D, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(rig.mouse.Log()[1].get);
    EXPECT_EQ(rig.mouse.Log()[1].request, (Report{0x41, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.port.OpenHandles(), 1);
}

TEST(OpenDevice, SeparateCommandAndDataInterfacesAreBothUsed) {
    VirtualMouseOptions options;
    options.separateInterfaces = true;
    Rig rig(options);
    ASSERT_TRUE(rig.Open());
    EXPECT_NE(rig.link.CommandHandle(), rig.link.DataHandle());
    EXPECT_EQ(rig.port.OpenHandles(), 2);
    rig.mouse.ClearLog();
    std::vector<std::uint8_t> section(104);
    ASSERT_TRUE(rig.link.ReadSection(0, 0, 104, section));
    EXPECT_TRUE(std::equal(section.begin(), section.end(), rig.mouse.Parameter().begin()));
    for (const auto& e : rig.mouse.Log()) EXPECT_EQ(e.interface, e.get ? 1 : 0);
}

struct ChoiceCase {
    const char* name;
    std::vector<std::pair<VirtualInterface, bool>> extras;  // interface, listed before the mouse
    bool mouseChosen;
};

class InterfaceChoice : public ::testing::TestWithParam<ChoiceCase> {};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

// Extra interfaces accept every report, so whichever the link keeps shows in the mouse's log.
TEST_P(InterfaceChoice, KeepsOnlyMatchingEightByteInterfacesAndTheLastOneWins) {
    Rig rig;
    for (const auto& [iface, before] : GetParam().extras) rig.port.AddInterface(iface, before);
    ASSERT_TRUE(rig.Open());
    EXPECT_EQ(rig.port.OpenHandles(), 1);  // every other interface closed at once
    rig.mouse.ClearLog();
    EXPECT_TRUE(rig.link.SendCommand(0x0D, 0, 0, 0, 0));
    EXPECT_EQ(rig.mouse.Log().size(), GetParam().mouseChosen ? 1u : 0u);
}

const VirtualInterface kSameIdsLongFeature{"decoy", {kVendor, kProduct, 0}, 64, true};
const VirtualInterface kSameIdsNoFeature{"decoy", {kVendor, kProduct, 0}, 0, true};
const VirtualInterface kOtherIdsEightBytes{"decoy", {kVendor, 0x7308, 0}, 8, true};
const VirtualInterface kSecondCollection{"collection", {kVendor, kProduct, 0}, 8, true};

INSTANTIATE_TEST_SUITE_P(
    Decoys, InterfaceChoice,
    ::testing::Values(ChoiceCase{"SameIdsOtherLengthAfter", {{kSameIdsLongFeature, false}}, true},
                      ChoiceCase{"SameIdsNoFeatureAfter", {{kSameIdsNoFeature, false}}, true},
                      ChoiceCase{"OtherIdsAfter", {{kOtherIdsEightBytes, false}}, true},
                      ChoiceCase{"AllAround",
                                 {{kSameIdsLongFeature, true},
                                  {kOtherIdsEightBytes, true},
                                  {Keyboard(), false},
                                  {kSameIdsLongFeature, false}},
                                 true},
                      ChoiceCase{"MatchingCollectionBefore", {{kSecondCollection, true}}, true},
                      ChoiceCase{
                          "MatchingCollectionAfterWins", {{kSecondCollection, false}}, false}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(OpenDevice, FailsAndHoldsNothingWhenNoInterfaceServesBothChannels) {
    struct Case {
        const char* name;
        bool mousePresent;
        std::set<std::uint8_t> refused;
        bool failFetches;
    };
    for (const Case& c :
         {Case{"no mouse, decoys only", false, {}, false},
          Case{"neither probe answered", true, {0x0D}, true}, Case{"commands only", true, {}, true},
          Case{"data only", true, {0x0D}, false}}) {
        Rig rig;
        rig.port.AddInterface(kSameIdsLongFeature);
        rig.port.AddInterface(kOtherIdsEightBytes);
        if (!c.mousePresent) rig.mouse.Unplug();
        rig.mouse.Faults().refusedCommands = c.refused;
        rig.mouse.Faults().failAllFetches = c.failFetches;
        EXPECT_FALSE(rig.Open()) << c.name;
        EXPECT_FALSE(rig.link.CommandHandle()) << c.name;
        EXPECT_FALSE(rig.link.DataHandle()) << c.name;
        EXPECT_EQ(rig.port.OpenHandles(), 0) << c.name;
    }
}

TEST(CountHidInterfaces, CountsOnlyWhatOpensAndClosesEverything) {
    Rig rig;
    rig.port.AddInterface(Keyboard());
    rig.port.AddInterface({"locked", {1, 2, 0}, 0, false});
    EXPECT_EQ(rig.link.CountHidInterfaces(), 2);
    EXPECT_EQ(rig.port.OpenHandles(), 0);
}

// A port whose listing carries a scripted number of extra keyboards per call, to put the
// enumeration in flux.
class FluxPort : public HidPort {
  public:
    FluxPort(VirtualHidPort& inner, std::vector<int> extras)
        : inner_(inner), extras_(std::move(extras)) {}
    std::vector<std::string> ListInterfaces() override {
        std::vector<std::string> paths = inner_.ListInterfaces();
        const int n = extras_[call_++ % extras_.size()];
        for (int i = 0; i < n; ++i) paths.push_back("flux:keyboard");
        return paths;
    }
    std::unique_ptr<HidDevice> Open(const std::string& path) override {
        if (path != "flux:keyboard") return inner_.Open(path);
        struct Keyboard : HidDevice {
            bool GetAttributes(HidAttributes& out) override {
                out = {0x046D, 0xC31C, 0};
                return true;
            }
            bool GetFeatureReportLength(std::uint16_t& out) override {
                out = 0;
                return true;
            }
            bool SetFeature(const Report&) override { return false; }
            bool GetFeature(Report&) override { return false; }
        };
        return std::make_unique<Keyboard>();
    }

  private:
    VirtualHidPort& inner_;
    std::vector<int> extras_;
    std::size_t call_ = 0;
};

TEST(DevTimer, FirstTickWaitsTwoPointOneSecondsPumpingThenOpensAndIdentifies) {
    Rig rig;
    rig.clock.events = &rig.host.events;
    rig.link.DevTimerTimer();
    std::vector<std::string> wait;
    for (int i = 0; i < 21; ++i) {
        wait.push_back("sleep 100000");
        wait.push_back("pump");
    }
    ASSERT_GE(rig.host.events.size(), wait.size());
    EXPECT_EQ(std::vector<std::string>(rig.host.events.begin(), rig.host.events.begin() + 42),
              wait);
    EXPECT_TRUE(rig.link.Connected());
    EXPECT_EQ(rig.link.LastHidCount(), 1);
    EXPECT_EQ(rig.listener.events, (std::vector<std::string>{"height 170", "read"}));
    EXPECT_FALSE(rig.link.TimerBusy());

    // Nothing changed: the next tick neither waits nor opens.
    rig.host.events.clear();
    rig.mouse.ClearLog();
    rig.link.DevTimerTimer();
    EXPECT_TRUE(rig.host.events.empty());
    EXPECT_TRUE(rig.mouse.Log().empty());
}

TEST(DevTimer, ActsOnlyWhenAtLeastTwoOfFivePairsAgree) {
    struct Case {
        std::vector<int> extras;  // keyboards listed per enumeration, cycled
        int expectedCount;        // LastHidCount afterwards
    };
    // Pairs (a, b) per tick: ten enumerations.
    const Case cases[] = {
        {{0, 1, 0, 1, 0, 1, 0, 1, 2, 2}, 0},  // one pair agrees: unchanged
        {{0, 1, 0, 1, 0, 1, 1, 0, 0, 1}, 0},  // none agree
        {{0, 1, 0, 1, 0, 1, 2, 2, 3, 3}, 4},  // two agree: the last a (3 keyboards + mouse)
        {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 2},
    };
    for (const Case& c : cases) {
        testing::FakeClock clock;
        testing::RecordingHost host;
        testing::RecordingListener listener;
        const auto image = testing::TestImage();
        VirtualMouse mouse(clock, image, {});
        VirtualHidPort inner(&mouse);
        FluxPort port(inner, c.extras);
        DeviceLink link(port, clock, host, EnglishLinkTexts());
        link.SetListener(&listener);
        link.SetDefaultImage(image);
        link.DevTimerTimer();
        EXPECT_EQ(link.LastHidCount(), c.expectedCount);
        EXPECT_EQ(link.Connected(), c.expectedCount != 0);
    }
}

TEST(DevTimer, ReactsToEveryDeviceComingAndGoing) {
    Rig rig;
    rig.link.DevTimerTimer();
    ASSERT_TRUE(rig.link.Connected());
    rig.listener.events.clear();

    // An unrelated device plugged in: the mouse is opened and read again after the wait.
    const int keyboard = rig.port.AddInterface(Keyboard());
    rig.clock.sleeps.clear();
    rig.link.DevTimerTimer();
    ASSERT_GE(rig.clock.sleeps.size(), 21u);
    EXPECT_EQ(rig.clock.sleeps[20], 100000u);
    EXPECT_EQ(rig.listener.events, (std::vector<std::string>{"height 170", "read"}));
    EXPECT_EQ(rig.link.LastHidCount(), 2);
    EXPECT_EQ(rig.port.OpenHandles(), 1);  // the old handle went when it was replaced

    // It goes again: the link falls back to no device although the mouse is still there.
    rig.listener.events.clear();
    rig.port.RemoveInterface(keyboard);
    bool connectedDuringNotice = true;
    rig.host.onMessage = [&] { connectedDuringNotice = rig.link.Connected(); };
    rig.link.DevTimerTimer();
    EXPECT_FALSE(connectedDuringNotice);
    EXPECT_EQ(rig.listener.events, (std::vector<std::string>{"lost"}));
    EXPECT_EQ(rig.host.messages.back(),
              "No Device Found\rPlease check your device is attached to USB port");
    EXPECT_FALSE(rig.link.CommandHandle());
    EXPECT_FALSE(rig.link.DataHandle());
    EXPECT_EQ(rig.port.OpenHandles(), 0);
    EXPECT_EQ(rig.link.LastHidCount(), 1);
    EXPECT_TRUE(rig.link.ChipStorage().empty());

    // A new device that is not the mouse: searched, not found, notice again.
    rig.mouse.Unplug();
    rig.port.AddInterface(Keyboard());
    rig.port.AddInterface(Keyboard());
    rig.listener.events.clear();
    rig.link.DevTimerTimer();
    EXPECT_EQ(rig.listener.events, (std::vector<std::string>{"lost"}));
    EXPECT_EQ(rig.link.LastHidCount(), 2);
}

TEST(DevTimer, IgnoresTicksWhileBusyOrStopped) {
    Rig rig;
    int nested = 0;
    rig.host.onPump = [&] {
        if (nested++ > 0) return;
        EXPECT_TRUE(rig.link.TimerBusy());
        const int opens = rig.port.OpenCount();
        rig.link.DevTimerTimer();
        EXPECT_EQ(rig.port.OpenCount(), opens);
    };
    rig.link.DevTimerTimer();
    EXPECT_GT(nested, 0);
    EXPECT_TRUE(rig.link.Connected());
    rig.host.onPump = nullptr;

    rig.link.StopDevTimer();
    rig.mouse.Unplug();
    rig.link.DevTimerTimer();
    EXPECT_EQ(rig.listener.events.size(), 2u);  // no loss noticed while stopped
    rig.link.StartDevTimer();
    rig.link.DevTimerTimer();
    EXPECT_EQ(rig.listener.events.back(), "lost");
}

TEST(ReFindDev, SearchesAtOnceAndReportsLossWhenTheMouseIsAway) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    rig.clock.sleeps.clear();
    EXPECT_TRUE(rig.link.ReFindDev());
    EXPECT_EQ(rig.clock.sleeps.size(), 1u);  // only the pause after the device-info fetch
    EXPECT_EQ(rig.listener.events, (std::vector<std::string>{"height 170", "read"}));

    // A restart takes the mouse off the bus for a while.
    rig.listener.events.clear();
    EXPECT_TRUE(rig.link.SendCommand(0x0E, 0, 0, 0, 0));
    EXPECT_FALSE(rig.link.SendCommand(0x0D, 0, 0, 0, 0));  // the old handles are dead
    EXPECT_FALSE(rig.link.ReFindDev());
    EXPECT_EQ(rig.listener.events, (std::vector<std::string>{"lost"}));
    rig.clock.now += rig.mouse.Options().restartMicros;
    EXPECT_TRUE(rig.link.ReFindDev());
}

// The presence timer alone follows a restart: the count falls while the mouse is away, and its
// return is found, waited for and read.
TEST(DevTimerTimer, FollowsTheMouseThroughARestart) {
    Rig rig;
    rig.link.DevTimerTimer();
    ASSERT_TRUE(rig.link.Connected());
    rig.listener.events.clear();
    ASSERT_TRUE(rig.link.SendCommand(0x0E, 0, 0, 0, 0));
    rig.link.DevTimerTimer();
    EXPECT_FALSE(rig.link.Connected());
    EXPECT_EQ(rig.listener.events, (std::vector<std::string>{"lost"}));
    rig.clock.now += rig.mouse.Options().restartMicros;
    rig.link.DevTimerTimer();
    EXPECT_TRUE(rig.link.Connected());
    EXPECT_EQ(rig.listener.events.back(), "read");
}

TEST(Unplug, MidTransferReadsFFThenTheTimerFallsBackToNoDevice) {
    Rig rig;
    rig.link.DevTimerTimer();
    ASSERT_TRUE(rig.link.Connected());
    rig.mouse.Faults().vanishAfterReports = static_cast<int>(rig.mouse.Log().size()) + 10;
    std::vector<std::uint8_t> page(256, 0);
    EXPECT_TRUE(rig.link.ReadMemory(0x0200, 256, page));
    for (std::size_t i = 0; i < 256; ++i) {
        // Nine chunks came through before the mouse went.
        EXPECT_EQ(page[i], i < 63 ? rig.image[256 + i] : 0xFF) << i;
    }
    EXPECT_FALSE(rig.link.WriteParameterPiece(0, 1, 0, 0, 1));
    rig.link.DevTimerTimer();
    EXPECT_EQ(rig.listener.events.back(), "lost");
    EXPECT_FALSE(rig.link.Connected());
    EXPECT_EQ(rig.link.LastHidCount(), 0);
}

TEST(Garbage, NoiseFromTheMouseNeverBreaksTheLink) {
    Rig rig;
    ASSERT_TRUE(rig.Open());
    rig.mouse.Faults().garbageReplies = true;
    for (int i = 0; i < 20; ++i) {
        const DevInfoResult r = rig.link.ReadDevInfo();
        EXPECT_NE(r, DevInfoResult::CommandRefused);
        std::vector<std::uint8_t> section(145);
        EXPECT_TRUE(rig.link.ReadSection(1, 0, 145, section));
    }
}

}  // namespace
}  // namespace kelv::device
