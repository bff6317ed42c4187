#include "keys/naming.h"

#include <gtest/gtest.h>

#include "english_strings.h"

namespace kelv::keys {
namespace {

using config::StorageKind;

TEST(NameOfCode, NamesAndFireSideEffects) {
    struct Case {
        const char* text;
        std::uint8_t fireKeyIds;
        const char* name;
        std::optional<FireSettingsUpdate> fire;
    };
    const Case cases[] = {
        {"01040000", 0x31, "Middle Key", std::nullopt},
        {"01030000", 0x31, "", std::nullopt},  // two button bits: no such function
        {"06030014", 0x31, "Fire Key2", FireSettingsUpdate{2, {4, 20, false}}},
        {"06110010", 0x31, "Fire Key1", FireSettingsUpdate{1, {2, 16, false}}},
        {"06910010", 0x31, "Fire Key1", FireSettingsUpdate{1, {2, 16, true}}},
        {"06140010", 0x31, "Fire Key3", FireSettingsUpdate{3, {5, 16, false}}},
        {"060F0000", 0x31, "Fire Key3", FireSettingsUpdate{3, {16, 0, false}}},
        {"06330010", 0x33, "Fire Key1", FireSettingsUpdate{1, {4, 16, false}}},  // both nibbles
        {"06FF0FFE", 0xF0, "Fire Key2", FireSettingsUpdate{2, {16, 4094, true}}},
        {"05000000", 0x31, "AIM Key", std::nullopt},
        {"05FF1234", 0x31, "AIM Key", std::nullopt},
        {"08000000", 0x31, "LED Switch", std::nullopt},
        {"0C000000", 0x31, "Report Rate", std::nullopt},
        {"09020000", 0x31, "CPI -", std::nullopt},
        {"0300E200", 0x31, "Mute", std::nullopt},
        {"03022A00", 0x31, "WWW Favorites", std::nullopt},
        {"03018A00", 0x31, "E-Mail", std::nullopt},
        {"02080700", 0x31, "Desktop", std::nullopt},
        {"02080600", 0x31, "Win+C", std::nullopt},
        {"02030400", 0x31, "Ctrl+Shift+A", std::nullopt},
        {"02000400", 0x31, "A", std::nullopt},
        {"02000405", 0x31, "A+B", std::nullopt},
        {"02000004", 0x31, "A", std::nullopt},
        {"02010000", 0x31, "Ctrl+", std::nullopt},
        {"020F0000", 0x31, "Ctrl+Shift+Alt+Win+", std::nullopt},
        {"02000000", 0x31, "", std::nullopt},
        {"0200C300", 0x31, "Media_Play_Pause", std::nullopt},
        {"0200E300", 0x31, "Win", std::nullopt},
        {"0204E0E1", 0x31, "Alt+Left Ctrl+Left Shift", std::nullopt},
        {"02006400", 0x31, "", std::nullopt},  // a usage no key produces
        // Exact texts only: lower-case digits fall through to the combination naming.
        {"0c000000", 0x31, "", std::nullopt},
        {"0e000000", 0x31, "", std::nullopt},
        {"00000000", 0x31, "", std::nullopt},
        {"FFFFFFFF", 0x31, "", std::nullopt},
        {"0A000000", 0x31, "", std::nullopt},
        {"10022000", 0x31, "", std::nullopt},  // no macro directory
        {"06", 0x31, "", std::nullopt},        // malformed: no fire key to load
        {"", 0x31, "", std::nullopt},
        {"0601001G", 0x31, "", std::nullopt},
    };
    for (const Case& c : cases) {
        const CodeName named = NameOfCode(c.text, {test::EnglishStrings(), c.fireKeyIds, nullptr});
        EXPECT_EQ(named.name, c.name) << c.text;
        EXPECT_EQ(named.fire, c.fire) << c.text;
    }
}

TEST(NameOfCode, AppliesTheFireSettingsItFinds) {
    std::array<FireSettings, 3> fire{};
    const NamingContext context{test::EnglishStrings(), 0x31, nullptr};
    EXPECT_EQ(NameOfCode("06030014", context, fire), "Fire Key2");
    EXPECT_EQ(fire[1], (FireSettings{4, 20, false}));
    EXPECT_EQ(fire[0], FireSettings{});
    EXPECT_EQ(fire[2], FireSettings{});
    EXPECT_EQ(NameOfCode("01010000", context, fire), "Left Key");
    EXPECT_EQ(fire[1], (FireSettings{4, 20, false}));
}

TEST(NameOfCode, AMissingStringNamesAsEmpty) {
    const res::MapStringTable partial{{"Str210", "Left"}};
    const NamingContext context{partial, 0x31, nullptr};
    EXPECT_EQ(NameOfCode("01010000", context).name, "Left");
    EXPECT_EQ(NameOfCode("01020000", context).name, "");
    const CodeName fire = NameOfCode("06110010", context);
    EXPECT_EQ(fire.name, "");
    EXPECT_TRUE(fire.fire);
    // Combination names do not come from the language table.
    EXPECT_EQ(NameOfCode("02030400", context).name, "Ctrl+Shift+A");
}

TEST(MacroNames, MatchByStorageLayout) {
    using Slot = SlotMacroDirectory::Slot;
    const std::vector<std::string> names = {"zero", "one", "two", "three"};
    const SlotMacroDirectory flash(StorageKind::Flash, {}, names);
    const SlotMacroDirectory packed(
        StorageKind::I2C, {Slot{120, 0x0220}, Slot{0, 0x0298}, Slot{50, 0x0298}, Slot{50, 0x0220}},
        names);
    const SlotMacroDirectory unknown(StorageKind::None, {Slot{120, 0x0220}}, names);
    struct Case {
        const MacroDirectory* directory;
        const char* text;
        const char* name;
    };
    const Case cases[] =
        {
            {&flash, "10410000", "one"},
            {&flash, "10410100", ""},
            {&flash, "10400000", "zero"},
            {&flash, "10430000", "three"},
            {&flash, "10440000", ""},  // slot 4 exists but has no name row
            {&flash, "105F0000", ""},  // slot 31, no name row
            {&flash, "10600000", ""},  // beyond slot 31
            {&flash, "103F0000", ""},
            {&packed, "10022000", "three"},  // the last matching slot wins
            {&packed, "10029800", "two"},    // slot 1 has the address but no macro
            {&packed, "10029900", ""},
            {&unknown, "10022000", ""},
        };
    for (const Case& c : cases) {
        EXPECT_EQ(CombinationText(c.text, c.directory), c.name) << c.text;
        EXPECT_EQ(NameOfCode(c.text, {test::EnglishStrings(), 0x31, c.directory}).name, c.name)
            << c.text;
    }
}

TEST(MacroNames, PackedLayoutLooksAtFifteenSlotsOnly) {
    std::vector<SlotMacroDirectory::Slot> slots(16, {10, 0x0300});
    std::vector<std::string> names(16);
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = "m" + std::to_string(i);
    const SlotMacroDirectory packed(StorageKind::I2C, slots, names);
    EXPECT_EQ(packed.MacroNameAt(0x0300), "m14");
}

}  // namespace
}  // namespace kelv::keys
