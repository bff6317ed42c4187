// Whole-configuration transfers against the virtual mouse with a clock that never waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "config/transfer.h"
#include "resources/bundle.h"
#include "tests/device/test_support.h"

namespace kelv::device {
// Test names carry the layout's letter.
inline void PrintTo(Layout layout, std::ostream* os) {
    *os << LayoutName(layout);
}
}  // namespace kelv::device

namespace kelv::config {
namespace {

using device::Layout;
using device::Report;
namespace mm = device::memory_map;

// A command report as "CC aaaa llll" (code, bytes 2-3 and 4-5), and how many data reports
// followed it (sent or fetched).
struct Step {
    std::string command;
    int data = 0;
    friend bool operator==(const Step&, const Step&) = default;
    friend void PrintTo(const Step& s, std::ostream* os) { *os << s.command << " +" << s.data; }
};

std::string Hex(const Report& r) {
    char text[32];
    std::snprintf(text, sizeof text, "%02X %02X%02X %02X%02X", r[1], r[2], r[3], r[4], r[5]);
    return text;
}

std::string MemoryCommand(std::uint8_t code, std::uint16_t address, std::uint16_t length) {
    char text[32];
    std::snprintf(text, sizeof text, "%02X %04X %04X", code, address, length);
    return text;
}

struct Fixture {
    explicit Fixture(Layout layout)
        : rig(Options(layout), device::testing::TestImage(layout == Layout::C ? 0xF0 : 0xE0)),
          service(rig.link, rig.clock, rig.host) {
        EXPECT_TRUE(rig.Open());
        rig.link.ReadDevInfo();
        EXPECT_EQ(rig.link.CurrentLayout(), layout);
        rig.mouse.ClearLog();
        rig.host.events.clear();
    }
    static device::VirtualMouseOptions Options(Layout layout) {
        device::VirtualMouseOptions options;
        options.layout = layout;
        return options;
    }
    // Memory commands with their data reports; section pieces are counted per section.
    std::vector<Step> MemorySteps() const {
        std::vector<Step> steps;
        bool open = false;
        for (const auto& e : rig.mouse.Log()) {
            const Report& r = e.request;
            if (!e.get && r[0] == device::kCommandReportId) {
                open =
                    r[1] == device::command::kReadMemory || r[1] == device::command::kWriteMemory;
                if (open) steps.push_back({Hex(r), 0});
            } else if (open) {
                ++steps.back().data;
            }
        }
        return steps;
    }
    int Pieces(int section) const {
        int n = 0;
        for (const Report& r : rig.Sent())
            n += r[0] == device::kCommandReportId && r[1] == device::command::kWritePiece &&
                 r[2] == section;
        return n;
    }
    std::vector<std::uint8_t> MouseBytes(std::uint16_t address, std::size_t length) const {
        const auto& m = rig.mouse.Memory();
        return {m.begin() + address, m.begin() + address + static_cast<std::ptrdiff_t>(length)};
    }

    device::testing::Rig rig;
    TransferService service;
    ConfigImage image;
    macros::MacroStore store;
};

// The macro blocks of a layout, in the order they are read or written.
std::vector<std::string> MacroBlocks(Layout layout, std::uint8_t code) {
    std::vector<std::string> blocks;
    if (layout == Layout::C) {
        const bool write = code == device::command::kWriteMemory;
        if (write)
            for (int i = 0; i < 4; ++i)
                blocks.push_back(MemoryCommand(code, mm::NameTablePageAddress(i), 256));
        for (int i = 0; i < 32; ++i)
            blocks.push_back(MemoryCommand(code, mm::MacroPageAddress(i), 256));
        if (!write) blocks.push_back(MemoryCommand(code, 0x3000, 1024));
    } else {
        for (std::uint16_t half : mm::PackedAreaHalves(layout))
            blocks.push_back(MemoryCommand(code, half, 256));
    }
    return blocks;
}

std::vector<std::string> Commands(const std::vector<Step>& steps) {
    std::vector<std::string> commands;
    for (const auto& s : steps) commands.push_back(s.command);
    return commands;
}

class PerLayout : public ::testing::TestWithParam<Layout> {};
INSTANTIATE_TEST_SUITE_P(Layouts, PerLayout, ::testing::Values(Layout::A, Layout::B, Layout::C),
                         [](const auto& p) { return std::string(device::LayoutName(p.param)); });

TEST_P(PerLayout, ReadAllFetchesSectionsThenMacroBlocksAndFillsTheStore) {
    Fixture f(GetParam());
    auto& memory = f.rig.mouse.Memory();
    for (std::size_t i = 0x3000; i < 0x6000; ++i) memory[i] = static_cast<std::uint8_t>(i * 13 + 1);
    for (std::size_t i = 0x0200; i < 0x0400; ++i) memory[i] = static_cast<std::uint8_t>(i * 5);
    f.service.ReadAll(f.image, f.store);

    const std::vector<Report> sent = f.rig.Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(Hex(sent[0]), "06 0000 0068");
    EXPECT_EQ(Hex(sent[1]), "06 0100 0091");
    const auto steps = f.MemorySteps();
    EXPECT_EQ(Commands(steps), MacroBlocks(GetParam(), device::command::kReadMemory));
    for (const auto& s : steps) EXPECT_EQ(s.data, s.command.ends_with("0400") ? 147 : 37);
    const int macroFetches = GetParam() == Layout::C ? 32 * 37 + 147 : 2 * 37;
    EXPECT_EQ(f.rig.Fetches(), 15 + 21 + macroFetches);
    EXPECT_EQ(f.Pieces(0) + f.Pieces(1), 0);

    EXPECT_EQ(f.image.ParameterBuffer(), f.rig.mouse.Parameter());
    EXPECT_EQ(f.image.PageProfile(), f.rig.mouse.Profile());
    if (GetParam() == Layout::C) {
        EXPECT_TRUE(std::ranges::equal(f.store.NameBlock(), f.MouseBytes(0x3000, 1024)));
        EXPECT_TRUE(std::ranges::equal(f.store.Page(31), f.MouseBytes(0x5F00, 256)));
    } else {
        EXPECT_EQ(f.store.PackedBase(), mm::PackedAreaAddress(GetParam()));
    }
    EXPECT_TRUE(f.rig.link.DevTimerRunning());
    EXPECT_EQ(f.rig.host.events.front(), "busy");
    EXPECT_EQ(f.rig.host.events[f.rig.host.events.size() - 2], "hide");
}

// Once the block named here has been asked for, every later memory read is refused: the
// blocks after it must keep what the store held.
TEST_P(PerLayout, RefusedBlockReadKeepsThePreviousContents) {
    Fixture f(GetParam());
    const Layout layout = GetParam();
    // Previous contents of the store, and different contents in the mouse.
    f.store = StoreFor(layout);
    auto& memory = f.rig.mouse.Memory();
    std::fill(memory.begin(), memory.end(), 0);
    const std::uint16_t base = mm::PackedAreaAddress(layout);
    if (layout == Layout::C) {
        f.store.SetNameBlock(std::vector<std::uint8_t>(1024, 0x44));
        for (int i = 0; i < 32; ++i) f.store.SetPage(i, std::vector<std::uint8_t>(256, 0x33));
        for (int i = 0; i < 32; ++i) memory[static_cast<std::size_t>(0x4000 + 256 * i)] = 0x55;
    } else {
        // One macro whose 125 key presses run on into the second half, ending at byte 282.
        std::vector<std::uint8_t> area(512, 0);
        area[1] = 'A';
        for (std::size_t i = 32; i < 282; i += 2) {
            area[i] = 0x82;
            area[i + 1] = 0x04;
        }
        f.store.SetArea(area);
        // The mouse's first half names it "B"; its zero second half would cut it at 256.
        area[1] = 'B';
        std::copy_n(area.begin(), 256, memory.begin() + base);
    }
    const std::uint16_t trigger = layout == Layout::C ? 0x5F00 : base;
    f.rig.host.onPump = [&] {
        for (const Report& r : f.rig.Sent())
            if (r[1] == device::command::kReadMemory && (r[2] << 8 | r[3]) == trigger)
                f.rig.mouse.Faults().refusedCommands = {device::command::kReadMemory};
    };
    f.service.ReadAll(f.image, f.store);

    if (layout == Layout::C) {
        // Pages were read; the name table was refused and kept.
        EXPECT_EQ(f.store.Page(31)[0], 0x55);
        EXPECT_TRUE(std::ranges::all_of(f.store.NameBlock(), [](auto b) { return b == 0x44; }));
    } else {
        // First half read (name "B"), second half refused and kept (events to byte 282).
        ASSERT_EQ(f.store.MacroCount(), 1);
        EXPECT_EQ(f.store.Name(0), "B");
        EXPECT_EQ(f.store.Length(0), 283);
    }
}

TEST_P(PerLayout, WriteFlowsSendTheSectionsThenTheMacroBlocksInOrder) {
    struct Case {
        const char* name;
        void (*run)(Fixture&);
        int parameterPieces;
    };
    const Case cases[] = {
        {"apply", [](Fixture& f) { f.service.ApplyLoaded(f.image, f.store); }, 35},
        {"save macros", [](Fixture& f) { f.service.SaveMacros(f.image, f.store); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(GetParam());
        f.store = StoreFor(GetParam());
        for (int i = 0; i < 32; ++i)
            f.store.SetPage(i, std::vector<std::uint8_t>(256, static_cast<std::uint8_t>(i + 1)));
        f.store.SetNameBlock(std::vector<std::uint8_t>(1024, 0x61));
        ParameterSection parameter{};
        parameter[0] = 0xE0;
        f.image.ParameterBuffer() = parameter;
        ProfileSection profile{};
        profile[0] = 0x01;
        profile[1] = 0x02;
        f.image.SetPageProfile(profile);  // saving macros checksums and sends this one
        ProfileChecksum(profile);
        f.image.ProfileBuffer() = profile;  // applying sends this one
        if (c.parameterPieces == 0) f.image.ProfileBuffer().fill(0x77);
        c.run(f);

        EXPECT_EQ(f.Pieces(0), c.parameterPieces);
        EXPECT_EQ(f.Pieces(1), 37);
        const auto sent = f.rig.Sent();
        const auto firstMemory = std::find_if(sent.begin(), sent.end(), [](const Report& r) {
            return r[1] == device::command::kWriteMemory;
        });
        const auto lastPiece = std::find_if(sent.rbegin(), sent.rend(), [](const Report& r) {
            return r[0] == device::kCommandReportId && r[1] == device::command::kWritePiece;
        });
        EXPECT_LE(lastPiece.base() - sent.begin(), firstMemory - sent.begin());
        const auto steps = f.MemorySteps();
        EXPECT_EQ(Commands(steps), MacroBlocks(GetParam(), device::command::kWriteMemory));
        for (const auto& s : steps) EXPECT_EQ(s.data, 37);

        EXPECT_TRUE(ProfileChecksumValid(f.rig.mouse.Profile()));
        EXPECT_EQ(f.rig.mouse.Profile()[1], 0x02);
        if (GetParam() == Layout::C) {
            EXPECT_EQ(f.MouseBytes(0x3000, 1024), std::vector<std::uint8_t>(1024, 0x61));
            EXPECT_EQ(f.MouseBytes(0x5F00, 256), std::vector<std::uint8_t>(256, 32));
        } else {
            EXPECT_TRUE(std::ranges::equal(f.store.Area(),
                                           f.MouseBytes(mm::PackedAreaAddress(GetParam()), 512)));
        }
        EXPECT_TRUE(f.rig.link.DevTimerRunning());
    }
}

TEST_P(PerLayout, ResetWritesTheDefaultsAndTheWholeMacroArea) {
    Fixture f(GetParam());
    const DefaultImage defaults = ParseDefaultImage(res::Get("KELV731xData"));
    ParameterSection edited = defaults.parameter;
    SetActiveProfile(edited, 2);
    f.image.ParameterBuffer() = edited;
    f.image.LoadPagesFromDevice();
    f.service.ResetToDefaults(f.image, f.store, defaults);

    EXPECT_EQ(f.Pieces(0), 35);
    EXPECT_EQ(f.Pieces(1), 37);
    EXPECT_EQ(Commands(f.MemorySteps()), MacroBlocks(GetParam(), device::command::kWriteMemory));
    EXPECT_EQ(f.rig.mouse.Parameter(), defaults.parameter);
    EXPECT_EQ(f.rig.mouse.Profile(), defaults.profile);
    EXPECT_EQ(ActiveProfile(f.image.PageParameter()), 0);
    if (GetParam() == Layout::C) {
        // No default macro for this kind: the erased table and pages go out all the same.
        EXPECT_EQ(f.MouseBytes(0x3000, 1024), std::vector<std::uint8_t>(1024, 0));
        EXPECT_EQ(f.MouseBytes(0x4000, 0x2000), std::vector<std::uint8_t>(0x2000, 0));
    } else {
        EXPECT_TRUE(std::ranges::equal(f.MouseBytes(mm::PackedAreaAddress(GetParam()), 512),
                                       defaults.macros.packedArea));
        EXPECT_EQ(f.store.MacroCount(), 4);
    }
}

class StepListener : public TransferListener {
  public:
    void BlockPages() override { steps.push_back("block"); }
    void UnblockPages() override { steps.push_back("unblock"); }
    void PagesChanged() override { steps.push_back("pages"); }
    void MacrosChanged() override { steps.push_back("macros"); }
    void BeforeMacroSave(ConfigImage& image, macros::MacroStore&) override {
        steps.push_back("before save");
        image.SetKeySlot(0, 0, {0x02, 0x00, 0x04, 0x00});  // must reach the mouse
    }
    std::vector<std::string> steps;
};

// The window's steps come in the order the pages need them, and the presence timer stays
// stopped for as long as reports are exchanged.
TEST(Flows, WindowStepsAndTimerAroundEachTransfer) {
    const DefaultImage defaults = ParseDefaultImage(res::Get("KELV731xData"));
    const struct {
        const char* name;
        void (*run)(Fixture&, const DefaultImage&);
        std::vector<std::string> steps;
    } cases[] = {
        {"read",
         [](Fixture& f, const DefaultImage&) { f.service.ReadAll(f.image, f.store); },
         {"block", "macros", "pages", "unblock"}},
        {"reset",
         [](Fixture& f, const DefaultImage& d) { f.service.ResetToDefaults(f.image, f.store, d); },
         {"block", "macros", "pages", "unblock"}},
        {"apply",
         [](Fixture& f, const DefaultImage&) { f.service.ApplyLoaded(f.image, f.store); },
         {"block", "macros", "pages", "unblock"}},
        {"save macros",
         [](Fixture& f, const DefaultImage&) { f.service.SaveMacros(f.image, f.store); },
         {"block", "before save", "unblock"}},
        {"patch",
         [](Fixture& f, const DefaultImage&) { f.service.ProgramPatch(PatchCode{}); },
         {"block", "unblock"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(Layout::A);
        StepListener listener;
        f.service.SetListener(&listener);
        bool timerRanDuringTransfer = false;
        f.rig.host.onPump = [&] {
            if (!f.rig.mouse.Log().empty() && f.rig.link.DevTimerRunning())
                timerRanDuringTransfer = true;
        };
        c.run(f, defaults);
        EXPECT_EQ(listener.steps, c.steps);
        EXPECT_FALSE(timerRanDuringTransfer);
        EXPECT_TRUE(f.rig.link.DevTimerRunning());
        EXPECT_EQ(f.rig.host.events.front(), "busy");
        if (std::string(c.name) == "save macros") {
            EXPECT_EQ(f.rig.mouse.Profile()[0], 0x02);
            EXPECT_TRUE(ProfileChecksumValid(f.rig.mouse.Profile()));
        }
    }
}

TEST(ProfileFiles, SavedI2CFileIsTheLayoutAndLoadsBackByteForByte) {
    Fixture source(Layout::A);
    source.service.ReadAll(source.image, source.store);
    SetReportRateCode(source.image.PageParameter(), 1);  // a page change not yet stored
    const auto file = BuildProfileFile(source.image, source.store, StorageKind::I2C);
    ASSERT_EQ(file.size(), 768u);
    EXPECT_TRUE(
        std::all_of(file.begin() + 249, file.begin() + 256, [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(file[0], 0xE0);
    EXPECT_TRUE(ParameterChecksumValid(source.image.ParameterBuffer()));

    Fixture target(Layout::A);
    target.service.ReadAll(target.image, target.store);
    target.rig.mouse.ClearLog();
    ASSERT_TRUE(target.service.LoadProfile(file, target.image, target.store).ok);
    EXPECT_EQ(target.Pieces(0), 35);  // written even where nothing differs
    EXPECT_EQ(target.rig.mouse.Parameter(), source.image.ParameterBuffer());
    EXPECT_EQ(ReportRateCode(target.rig.mouse.Parameter()), 1);
    EXPECT_EQ(target.rig.mouse.Profile(), source.image.ProfileBuffer());
    EXPECT_TRUE(std::ranges::equal(target.MouseBytes(0x0200, 512), source.store.Area()));
    EXPECT_EQ(BuildProfileFile(target.image, target.store, StorageKind::I2C), file);
}

TEST(ProfileFiles, RefusedLoadSendsNothing) {
    for (const Layout layout : {Layout::A, Layout::C}) {
        Fixture f(layout);
        f.service.ReadAll(f.image, f.store);
        const ConfigImage before = f.image;
        std::vector<std::uint8_t> file(9472, 0);
        file[0] = layout == Layout::C ? 0xE0 : 0xF0;
        f.rig.mouse.ClearLog();
        EXPECT_FALSE(f.service.LoadProfile(file, f.image, f.store).ok);
        EXPECT_TRUE(f.rig.mouse.Log().empty());
        EXPECT_EQ(f.image.ParameterBuffer(), before.ParameterBuffer());
        EXPECT_EQ(f.image.PageProfile(), before.PageProfile());
        // Nor is a store of another layout replaced by one for the mouse's.
        const Layout other = layout == Layout::C ? Layout::A : Layout::C;
        f.store = StoreFor(other);
        EXPECT_FALSE(f.service.LoadProfile(file, f.image, f.store).ok);
        EXPECT_EQ(f.store.Layout(), StoreFor(other).Layout());
    }
}

TEST(ProfileFiles, WrongMarkerChangesNothing) {
    const struct {
        StorageKind storage;
        std::uint8_t marker;
    } cases[] = {{StorageKind::I2C, 0xF0}, {StorageKind::Flash, 0xE0}, {StorageKind::I2C, 0x00}};
    for (const auto& c : cases) {
        ConfigImage image;
        image.ParameterBuffer().fill(0x12);
        macros::MacroStore store = StoreFor(c.storage == StorageKind::I2C ? Layout::A : Layout::C);
        const MacroData before = MacroDataFromStore(store);
        std::vector<std::uint8_t> file(9472, 0x99);
        file[0] = c.marker;
        const ProfileLoadResult result = TakeProfileFile(file, c.storage, image, store);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "Loading .bin is error!");
        EXPECT_EQ(image.ParameterBuffer()[5], 0x12);
        EXPECT_EQ(MacroDataFromStore(store), before);
    }
}

TEST(Patch, DescriptorDataReportsRestartAndSearch) {
    const struct {
        std::uint8_t fill;
        std::uint8_t high, low;
    } cases[] = {{0x00, 0x01, 0x5A}, {0xFF, 0xFD, 0x5A}};
    for (const auto& c : cases) {
        Fixture f(Layout::C);
        PatchCode code;
        code.fill(c.fill);
        EXPECT_EQ(f.service.ProgramPatch(code), PatchResult::MouseBack);

        const std::vector<std::uint8_t> descriptor = {
            0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x04, 0x00, 0x00, 0x1A, c.high, c.low};
        EXPECT_EQ(f.MouseBytes(0x1000, 16), descriptor);
        EXPECT_EQ(f.MouseBytes(0xC000, 1024), std::vector<std::uint8_t>(1024, c.fill));
        const auto steps = f.MemorySteps();
        ASSERT_GE(steps.size(), 2u);
        EXPECT_EQ(steps[0], (Step{"07 C000 0400", 147}));
        EXPECT_EQ(steps[1], (Step{"07 1000 0010", 3}));
        const auto sent = f.rig.Sent();
        const auto restart = std::find_if(sent.begin(), sent.end(), [](const Report& r) {
            return r[0] == device::kCommandReportId && r[1] == device::command::kRestart;
        });
        ASSERT_NE(restart, sent.end());
        EXPECT_EQ(*restart, (Report{0x40, 0x0E, 0, 0, 0, 0, 0, 0}));
        // 100 ms before the restart, then 51 steps of 100 ms before searching again.
        const auto& sleeps = f.rig.clock.sleeps;
        EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 100000u), 52);
        EXPECT_NE(std::find(f.rig.listener.events.begin(), f.rig.listener.events.end(), "lost"),
                  f.rig.listener.events.end());
        EXPECT_EQ(f.rig.listener.events.back(), "read");  // identified again
        EXPECT_TRUE(f.rig.link.Connected());
    }
}

TEST(Patch, MouseThatStaysAwayEndsWithTheTimerRunningAndThePopupHidden) {
    Fixture f(Layout::C);
    f.rig.mouse.Options().restartMicros = 60'000'000;
    EXPECT_EQ(f.service.ProgramPatch(PatchCode{}), PatchResult::MouseGone);
    EXPECT_TRUE(f.rig.link.DevTimerRunning());
    EXPECT_EQ(f.rig.host.messages.size(), 2u);  // the notice before the wait and after it
    const auto& events = f.rig.host.events;
    EXPECT_EQ(*std::find_if(events.rbegin(), events.rend(),
                            [](const std::string& e) { return e == "busy" || e == "hide"; }),
              "hide");

    Fixture none(Layout::C);
    none.rig.link.CloseDevice();
    EXPECT_EQ(none.service.ProgramPatch(PatchCode{}), PatchResult::NotConnected);
    EXPECT_TRUE(none.rig.mouse.Log().empty());
}

TEST(MacroCodes, RemapFollowsEachSlotToItsNewAddress) {
    macros::MacroStore store = StoreFor(Layout::A);
    ASSERT_EQ(store.AddMacro("a", 512), macros::StoreResult::kOk);
    ASSERT_EQ(store.AddMacro("b", 512), macros::StoreResult::kOk);
    const auto before = store.Entries();  // a at 0x0220, b at 0x0241
    ASSERT_EQ(store.StoreEvents(0, std::vector<std::uint8_t>{0x82, 0x04, 0x02, 0x04, 0x00}),
              macros::StoreResult::kOk);  // b moves up by 4
    ConfigImage image;
    image.SetKeySlot(0, 3, macros::MacroCodeForAddress(before[1].address));
    image.SetKeySlot(2, 0, macros::MacroCodeForAddress(before[0].address));
    image.SetKeySlot(1, 1, {0x10, 0x12, 0x34, 0x00});  // no macro there: left alone
    EXPECT_EQ(RemapMacroCodes(image, before, store), 1);
    EXPECT_EQ(image.ProfileCode(0, 3), "10024500");
    EXPECT_EQ(image.ProfileCode(2, 0), "10022000");
    EXPECT_EQ(image.ProfileCode(1, 1), "10123400");
}

}  // namespace
}  // namespace kelv::config
