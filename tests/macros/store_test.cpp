// The macro store: parsing and rebuilding the packed area, addresses and codes, the paged slots.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "macros/name_field.h"
#include "macros/store.h"

namespace kelv::macros {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Events of `n` bytes in all (terminator included) made of one-byte mouse records.
Bytes EventsOfLength(std::size_t n) {
    Bytes events(n, 0xA1);
    events.back() = 0x00;
    return events;
}

// A packed area with the given macros back to back.
Bytes PackedArea(const std::vector<std::pair<std::string, Bytes>>& macros) {
    Bytes area;
    for (const auto& [name, events] : macros) {
        const NameField field = MacroNameStrToUnicode(name);
        area.insert(area.end(), field.begin(), field.end());
        area.insert(area.end(), events.begin(), events.end());
    }
    area.resize(kPackedAreaSize, 0);
    return area;
}

MacroStore ParsedStore(const Bytes& area, std::uint16_t base = kPackedBaseI2C) {
    MacroStore store(MacroLayout::kPacked, base);
    store.SetArea(area);
    store.ReadAndRefreshMacro7311();
    return store;
}

Bytes AreaOf(const MacroStore& store) {
    return {store.Area().begin(), store.Area().end()};
}

// Three macros of record lengths 120, 50 and 50.
Bytes ThreeMacros() {
    return PackedArea(
        {{"one", EventsOfLength(88)}, {"two", EventsOfLength(18)}, {"three", EventsOfLength(18)}});
}

TEST(PackedStore, AddressesFollowTheRecordLengths) {
    for (const std::uint16_t base : {kPackedBaseI2C, kPackedBaseFlash}) {
        const MacroStore store = ParsedStore(ThreeMacros(), base);
        ASSERT_EQ(store.MacroCount(), 3);
        EXPECT_EQ(store.MacroAddress(0), base + 0x20);
        EXPECT_EQ(store.MacroAddress(1), base + 0x98);
        EXPECT_EQ(store.MacroAddress(2), base + 0xCA);
        EXPECT_EQ(store.MacroAddress(3), 0);
        EXPECT_EQ(store.TotalLength(), 220);
        EXPECT_EQ(store.Names(), (std::vector<std::string>{"one", "two", "three"}));
        const auto code = store.MacroCode(1);
        EXPECT_EQ(code, (std::array<std::uint8_t, 4>{0x10, static_cast<std::uint8_t>(base >> 8),
                                                     0x98, 0x00}));
        EXPECT_EQ(store.SlotOfAddress(static_cast<std::uint16_t>(base + 0xCA)), 2);
        EXPECT_EQ(store.SlotOfAddress(static_cast<std::uint16_t>(base + 0xCB)), std::nullopt);
    }
}

TEST(PackedStore, WhereTheListEnds) {
    struct Case {
        const char* what;
        Bytes area;
        std::vector<std::string> names;
    };
    Bytes erased(kPackedAreaSize, 0xFF);
    Bytes secondErased = PackedArea({{"kept", EventsOfLength(3)}, {"lost", EventsOfLength(3)}});
    secondErased[32 + 3 + 1] = 0xFF;
    Bytes fifteen;
    std::vector<std::string> fifteenNames;
    std::vector<std::pair<std::string, Bytes>> sixteen;
    for (int i = 0; i < 16; ++i) sixteen.push_back({"m" + std::to_string(i), EventsOfLength(1)});
    for (int i = 0; i < 15; ++i) fifteenNames.push_back("m" + std::to_string(i));
    const Case cases[] = {
        {"all zero", Bytes(kPackedAreaSize, 0), {}},
        {"erased memory", erased, {}},
        {"first name is full-width", PackedArea({{"！A", EventsOfLength(3)}, {"b", {0x00}}}), {}},
        {"first name starts with U+00FF", PackedArea({{"ÿ", EventsOfLength(3)}}), {}},
        {"0xFF in the second record", secondErased, {"kept"}},
        {"at most fifteen", PackedArea(sixteen), fifteenNames},
    };
    for (const Case& c : cases) {
        const MacroStore store = ParsedStore(c.area);
        EXPECT_EQ(store.Names(), c.names) << c.what;
        EXPECT_EQ(store.MacroAddress(0), kPackedBaseI2C + 32) << c.what;
    }
    const MacroStore none = ParsedStore(Bytes(kPackedAreaSize, 0));
    EXPECT_EQ(none.TotalLength(), 0);
    // Rebuilding after the parse leaves only the records that were read.
    EXPECT_EQ(AreaOf(ParsedStore(secondErased)), PackedArea({{"kept", EventsOfLength(3)}}));
}

TEST(PackedStore, EventsKeepTheirZeroBytes) {
    const Bytes events = {0x82, 0x04, 0xFE, 0x01, 0x00, 0x02, 0x00, 0xFE, 0x00, 0x00, 0x00};
    const Bytes area = PackedArea({{"a", events}, {"b", {0xA1, 0x00}}});
    const MacroStore store = ParsedStore(area);
    EXPECT_EQ(store.Events(0), events);
    EXPECT_EQ(store.Length(0), 32 + 11);
    EXPECT_EQ(store.Events(1), (Bytes{0xA1, 0x00}));
    EXPECT_EQ(AreaOf(store), area);
}

TEST(PackedStore, MacroWithoutEvents) {
    const MacroStore store = ParsedStore(PackedArea({{"a", {0x00}}, {"b", EventsOfLength(2)}}));
    EXPECT_EQ(store.Length(0), 33);
    EXPECT_EQ(store.Events(0), (Bytes{0x00}));
    EXPECT_EQ(store.MacroAddress(1), kPackedBaseI2C + 33 + 32);
}

TEST(PackedStore, RecordsThatDoNotFitAreKeptInPart) {
    // A record with 300 event bytes: the first 255 are kept, the next macro is still found.
    Bytes area = PackedArea({{"long", EventsOfLength(301)}, {"next", EventsOfLength(2)}});
    MacroStore store = ParsedStore(area);
    EXPECT_EQ(store.Names(), (std::vector<std::string>{"long", "next"}));
    EXPECT_EQ(store.Length(0), 32 + 256);
    EXPECT_EQ(store.Events(0), EventsOfLength(256));
    EXPECT_EQ(store.Events(1), EventsOfLength(2));

    // Events running to the end of the area, the last record cut: the complete records are
    // kept and a terminator added, within the 512 bytes.
    Bytes open = PackedArea({{"first", EventsOfLength(200)}});
    std::fill(open.begin() + 232, open.end(), 0xA2);  // second name, then events to the end
    open[510] = 0xFE;
    MacroStore cut(MacroLayout::kPacked);
    cut.SetArea(open);
    const PackedParse parse = cut.ReadAndRefreshMacro7311();
    EXPECT_EQ(parse.macros, 2);
    EXPECT_EQ(parse.repaired, 1);
    Bytes kept(512 - 264 - 2, 0xA2);
    kept.push_back(0x00);
    EXPECT_EQ(cut.Events(1), kept);
    EXPECT_EQ(cut.TotalLength(), 511);
    EXPECT_EQ(ParsedStore(AreaOf(cut)).Entries(), cut.Entries());
}

TEST(PackedStore, DeletingAMiddleMacroMovesTheLaterOnes) {
    MacroStore store = ParsedStore(ThreeMacros());
    ASSERT_EQ(store.DeleteMacro(1), StoreResult::kOk);
    EXPECT_EQ(store.Names(), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(store.MacroAddress(1), kPackedBaseI2C + 0xCA - 50);
    EXPECT_EQ(store.Length(2), 0);
    EXPECT_EQ(store.TotalLength(), 170);
    EXPECT_EQ(store.DeleteMacro(2), StoreResult::kNoSlot);

    ASSERT_EQ(store.DeleteMacro(0), StoreResult::kOk);
    EXPECT_EQ(store.Names(), (std::vector<std::string>{"three"}));
    EXPECT_EQ(store.MacroAddress(0), kPackedBaseI2C + 0x20);
}

TEST(PackedStore, StoringNewEvents) {
    struct Case {
        const char* what;
        Bytes area;
        int slot;
        Bytes events;
        StoreResult result;
    };
    // 288 bytes used by slot 0: slot 1 may hold 512 - 288 - 32 = 192 event bytes.
    const Bytes big = PackedArea({{"one", EventsOfLength(256)}, {"two", EventsOfLength(10)}});
    const Case cases[] = {
        {"shorter", ThreeMacros(), 0, {0xA1, 0x21, 0x00}, StoreResult::kOk},
        {"terminator only", ThreeMacros(), 1, {0x00}, StoreResult::kOk},
        {"longest a macro may be", ThreeMacros(), 1, EventsOfLength(256), StoreResult::kOk},
        {"filling the area exactly", big, 1, EventsOfLength(192), StoreResult::kOk},
        {"one byte too many for the area", big, 1, EventsOfLength(193), StoreResult::kNoRoom},
        {"more than 256 bytes", ThreeMacros(), 0, EventsOfLength(257), StoreResult::kTooLong},
        {"no terminator", ThreeMacros(), 0, {0xA1, 0x21}, StoreResult::kMalformed},
        {"bytes after the terminator",
         ThreeMacros(),
         0,
         {0xA1, 0x00, 0x00},
         StoreResult::kMalformed},
        {"cut delay", ThreeMacros(), 0, {0xFE, 0x00}, StoreResult::kMalformed},
        {"empty", ThreeMacros(), 0, {}, StoreResult::kMalformed},
        {"slot not in use", ThreeMacros(), 3, {0x00}, StoreResult::kNoSlot},
        {"no such slot", ThreeMacros(), 15, {0x00}, StoreResult::kNoSlot},
    };
    for (const Case& c : cases) {
        MacroStore store = ParsedStore(c.area);
        const Bytes before = AreaOf(store);
        EXPECT_EQ(store.StoreEvents(c.slot, c.events), c.result) << c.what;
        if (c.result != StoreResult::kOk) {
            EXPECT_EQ(AreaOf(store), before) << c.what;
            continue;
        }
        EXPECT_EQ(store.Events(c.slot), c.events) << c.what;
        EXPECT_EQ(store.Length(c.slot), static_cast<int>(32 + c.events.size())) << c.what;
        // The rebuilt area parses back to the same slots.
        const MacroStore reread = ParsedStore(AreaOf(store));
        EXPECT_EQ(reread.Entries(), store.Entries()) << c.what;
        EXPECT_EQ(reread.Events(c.slot), c.events) << c.what;
        // Nothing is left of the longer events in the buffer.
        const auto buffer = store.EventBuffer(c.slot);
        EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(c.events.size()),
                                buffer.end(), [](std::uint8_t b) { return b == 0; }))
            << c.what;
    }
}

TEST(PackedStore, NewMacros) {
    MacroStore store(MacroLayout::kPacked);
    store.ReadAndRefreshMacro7311();
    for (int i = 0; i < 14; ++i)
        ASSERT_EQ(store.AddMacro("m" + std::to_string(i), 500), StoreResult::kOk);
    EXPECT_EQ(store.MacroAddress(13), kPackedBaseI2C + 13 * 33 + 32);
    EXPECT_EQ(store.AddMacro("fifteenth", 504), StoreResult::kOk);
    EXPECT_EQ(store.Length(14), 33);
    EXPECT_EQ(store.Events(14), (Bytes{0x00}));
    EXPECT_EQ(store.AddMacro("sixteenth", 504), StoreResult::kNoRoom);

    struct Case {
        const char* what;
        int used;  // TotalLength before
        int roomLimit;
        std::string name;
        StoreResult result;
    };
    // Refused when TotalLength + 32 reaches the caller's limit, or the area itself is full.
    const Case cases[] = {
        {"room left", 200, 500, "new", StoreResult::kOk},
        {"just below the limit", 467, 500, "new", StoreResult::kOk},
        {"at the limit", 468, 500, "new", StoreResult::kNoRoom},
        {"no-delay limit", 468, 504, "new", StoreResult::kOk},
        {"area full whatever the limit", 480, 1000, "new", StoreResult::kNoRoom},
        {"fits the area exactly", 479, 1000, "new", StoreResult::kOk},
        {"full-width first character", 100, 500, "！", StoreResult::kUnstorableName},
        {"empty name", 100, 500, "", StoreResult::kUnstorableName},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<std::string, Bytes>> macros;
        int remaining = c.used;
        while (remaining > 0) {
            const int record = remaining > 288 + 33 ? 288
                               : remaining > 288    ? remaining - 33
                                                    : remaining;
            macros.push_back({"m", EventsOfLength(static_cast<std::size_t>(record - 32))});
            remaining -= record;
        }
        MacroStore one = ParsedStore(PackedArea(macros));
        ASSERT_EQ(one.TotalLength(), c.used) << c.what;
        EXPECT_EQ(one.AddMacro(c.name, c.roomLimit), c.result) << c.what;
        if (c.result == StoreResult::kOk) {
            const int last = one.MacroCount() - 1;
            EXPECT_EQ(one.Length(last), 33) << c.what;
            EXPECT_EQ(one.MacroAddress(last), kPackedBaseI2C + c.used + 32) << c.what;
            EXPECT_EQ(one.Names().back(), c.name) << c.what;
        } else {
            EXPECT_EQ(one.TotalLength(), c.used) << c.what;
        }
    }
}

TEST(PackedStore, ClearingKeepsTheNameAndMovesLaterMacros) {
    MacroStore store = ParsedStore(ThreeMacros());
    ASSERT_EQ(store.ClearMacro(0), StoreResult::kOk);
    EXPECT_EQ(store.Length(0), 33);
    EXPECT_EQ(store.Name(0), "one");
    EXPECT_EQ(store.MacroAddress(1), kPackedBaseI2C + 0x98 - (120 - 33));
    EXPECT_EQ(store.MacroAddress(2), kPackedBaseI2C + 0xCA - (120 - 33));
}

TEST(PackedStore, RoomForARecording) {
    // 120 + 50 + 50 in use: recording into slot 1 starts from 170 + 32.
    MacroStore store = ParsedStore(ThreeMacros());
    EXPECT_EQ(store.RecordingBase(1), 202);
    EXPECT_EQ(store.EventRoom(1), 256u);
    const MacroStore big =
        ParsedStore(PackedArea({{"one", EventsOfLength(256)}, {"two", EventsOfLength(10)}}));
    EXPECT_EQ(big.EventRoom(1), 192u);
    EXPECT_EQ(big.RecordingBase(5), 0);
    EXPECT_EQ(big.EventRoom(5), 0u);
    // A recording that ran past the room is kept up to it.
    MacroStore fit = big;
    const Bytes over = TruncateEvents(EventsOfLength(250), fit.EventRoom(1));
    EXPECT_EQ(over, EventsOfLength(192));
    EXPECT_EQ(fit.StoreEvents(1, over), StoreResult::kOk);
    EXPECT_EQ(fit.TotalLength(), 512);
}

TEST(PackedStore, Renaming) {
    MacroStore store = ParsedStore(ThreeMacros());
    EXPECT_EQ(store.SetName(1, "二"), StoreResult::kOk);
    EXPECT_EQ(store.SetName(2, "！"), StoreResult::kUnstorableName);
    EXPECT_EQ(store.SetName(3, "x"), StoreResult::kNoSlot);
    EXPECT_EQ(ParsedStore(AreaOf(store)).Names(), (std::vector<std::string>{"one", "二", "three"}));
}

TEST(RoomLimits, ByLayoutAndDelayMode) {
    EXPECT_EQ(RoomLimit(MacroLayout::kPacked, false), 500);
    EXPECT_EQ(RoomLimit(MacroLayout::kPacked, true), 504);
    EXPECT_EQ(RoomLimit(MacroLayout::kPaged, false), 244);
    EXPECT_EQ(RoomLimit(MacroLayout::kPaged, true), 248);
    EXPECT_EQ(RoomLimit(MacroLayout::kNone, true), 0);
}

TEST(NoLayout, DoesNothing) {
    MacroStore store;
    EXPECT_EQ(store.SlotCount(), 0);
    EXPECT_EQ(store.MacroCount(), 0);
    EXPECT_TRUE(store.Names().empty());
    EXPECT_EQ(store.StoreEvents(0, Bytes{0x00}), StoreResult::kNoStorage);
    EXPECT_EQ(store.AddMacro("a", 500), StoreResult::kNoStorage);
    EXPECT_EQ(store.SetName(0, "a"), StoreResult::kNoStorage);
    EXPECT_EQ(store.MacroAddress(0), 0);
    EXPECT_EQ(store.EventLength(0), 0);
}

class PagedStore : public ::testing::Test {
  protected:
    void SetPage(int slot, Bytes bytes) {
        bytes.resize(kPageSize, 0);
        store.SetPage(slot, bytes);
    }
    MacroStore store{MacroLayout::kPaged};
};

TEST_F(PagedStore, EventLengthOfAPage) {
    struct Case {
        const char* what;
        Bytes page;
        int length;
    };
    Bytes erased(kPageSize, 0xFF);
    Bytes full(kPageSize, 0xA1);
    full.back() = 0x00;
    const Case cases[] = {
        {"three zero bytes first", {}, 1},
        {"events", {0xA1, 0x21, 0x00}, 3},
        {"256 ms delay last", {0x82, 0x04, 0xFE, 0x01, 0x00, 0x00}, 6},
        {"zero delay then a release of usage 0", {0xFE, 0x00, 0x00, 0x02, 0x00, 0x00}, 6},
        {"bytes after the terminator", {0xA1, 0x00, 0x05, 0x00, 0x00, 0x00}, 2},
        {"terminator in the last byte", full, 256},
        {"erased flash", erased, 0},
    };
    for (const Case& c : cases) {
        SetPage(4, c.page);
        EXPECT_EQ(store.EventLength(4), c.length) << c.what;
        const Bytes events = store.Events(4);
        EXPECT_EQ(events.size(), static_cast<std::size_t>(c.length)) << c.what;
        if (c.length > 0) {
            EXPECT_EQ(events.back(), 0x00) << c.what;
        }
    }
}

TEST_F(PagedStore, SlotsAddressesAndNames) {
    EXPECT_EQ(store.SlotCount(), 32);
    EXPECT_EQ(store.MacroCount(), 32);
    EXPECT_EQ(store.MacroAddress(0), 0x4000);
    EXPECT_EQ(store.MacroAddress(31), 0x5F00);
    EXPECT_EQ(store.MacroCode(3), (std::array<std::uint8_t, 4>{0x10, 0x43, 0x00, 0x00}));
    EXPECT_EQ(store.SlotOfAddress(0x4500), 5);
    EXPECT_EQ(store.SlotOfAddress(0x4501), std::nullopt);

    std::vector<std::string> names(32);
    names[0] = "A";
    names[31] = "！ full-width is fine here";
    store.UIToMacroName(names);
    EXPECT_EQ(store.NameBlock()[0], 0x00);
    EXPECT_EQ(store.NameBlock()[1], 0x41);
    EXPECT_EQ(store.NameBlock()[31 * 32], 0xFF);
    const auto listed = store.Names();
    ASSERT_EQ(listed.size(), 32u);
    EXPECT_EQ(listed[0], "A");
    EXPECT_EQ(listed[1], "");
    EXPECT_EQ(listed[31], "！ full-width is ");  // cut to 16 units

    Bytes erased(kNameBlockSize, 0xFF);
    store.SetNameBlock(erased);
    EXPECT_EQ(store.Name(7), "");
    EXPECT_EQ(store.SetName(7, "seven"), StoreResult::kOk);
    EXPECT_EQ(store.Name(7), "seven");
    EXPECT_EQ(store.Name(8), "");
}

TEST_F(PagedStore, StoringEventsClearsThePage) {
    SetPage(2, Bytes(kPageSize, 0xA1));
    ASSERT_EQ(store.StoreEvents(2, Bytes{0x82, 0x04, 0x00}), StoreResult::kOk);
    const auto page = store.Page(2);
    EXPECT_EQ(Bytes(page.begin(), page.begin() + 3), (Bytes{0x82, 0x04, 0x00}));
    EXPECT_TRUE(std::all_of(page.begin() + 3, page.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(store.StoreEvents(2, EventsOfLength(257)), StoreResult::kTooLong);
    EXPECT_EQ(store.StoreEvents(32, Bytes{0x00}), StoreResult::kNoSlot);
    EXPECT_EQ(store.StoreEvents(2, EventsOfLength(256)), StoreResult::kOk);
}

}  // namespace
}  // namespace kelv::macros
