// Macro files: one macro (288 bytes), all macros (512 or 9216 bytes).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "macros/files.h"
#include "macros/name_field.h"
#include "macros/store.h"

namespace kelv::macros {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes OneMacroFile(const std::string& name, Bytes events) {
    const NameField field = MacroNameStrToUnicode(name);
    Bytes file(field.begin(), field.end());
    events.resize(kEventBufferSize, 0);
    file.insert(file.end(), events.begin(), events.end());
    return file;
}

MacroStore PackedWith(const std::vector<std::pair<std::string, Bytes>>& macros) {
    MacroStore store(MacroLayout::kPacked);
    store.ReadAndRefreshMacro7311();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        EXPECT_EQ(store.AddMacro(macros[i].first, 504), StoreResult::kOk);
        EXPECT_EQ(store.StoreEvents(static_cast<int>(i), macros[i].second), StoreResult::kOk);
    }
    return store;
}

MacroStore PagedWith(const std::vector<std::pair<std::string, Bytes>>& macros) {
    MacroStore store(MacroLayout::kPaged);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < macros.size(); ++i) {
        names.push_back(macros[i].first);
        EXPECT_EQ(store.StoreEvents(static_cast<int>(i), macros[i].second), StoreResult::kOk);
    }
    store.UIToMacroName(names);
    return store;
}

const std::vector<std::pair<std::string, Bytes>> kMacros = {
    {"光速QA", {0x82, 0x14, 0xFE, 0x01, 0x00, 0x02, 0x14, 0x00}},
    {"b", {0x00}},
    {"c", {0xA1, 0xFE, 0x00, 0x00, 0x21, 0x02, 0x00, 0x00}},
};

TEST(MacroFiles, ExportAndImportOneMacroInBothLayouts) {
    for (MacroStore store : {PackedWith(kMacros), PagedWith(kMacros)}) {
        const Bytes file = ExportOneMacro(store, 0);
        ASSERT_EQ(file.size(), kOneMacroFileSize);
        EXPECT_EQ(file, OneMacroFile("光速QA", kMacros[0].second));
        // Into another slot: name and events come back whole, and exporting that slot gives
        // the same bytes again.
        ASSERT_EQ(ImportOneMacro(store, 2, file), MacroFileError::kNone);
        EXPECT_EQ(store.Name(2), "光速QA");
        EXPECT_EQ(store.Events(2), kMacros[0].second);
        EXPECT_EQ(ExportOneMacro(store, 2), file);
        EXPECT_EQ(store.Events(1), kMacros[1].second);
    }
}

TEST(MacroFiles, ImportOneMovesLaterPackedMacros) {
    MacroStore store = PackedWith(kMacros);
    const std::uint16_t before = store.MacroAddress(2);
    Bytes events(100, 0xA1);
    events.push_back(0x00);
    ASSERT_EQ(ImportOneMacro(store, 1, OneMacroFile("big", events)), MacroFileError::kNone);
    EXPECT_EQ(store.MacroAddress(2), before + 100);
    EXPECT_EQ(store.Names(), (std::vector<std::string>{"光速QA", "big", "c"}));
}

TEST(MacroFiles, RefusedOneMacroImportsChangeNothing) {
    Bytes unterminated(kEventBufferSize, 0xA1);
    Bytes longMacro(250, 0xA1);
    longMacro.push_back(0x00);
    struct Case {
        const char* what;
        MacroLayout layout;
        int slot;
        Bytes file;
        MacroFileError error;
    };
    const Case cases[] = {
        {"short file", MacroLayout::kPacked, 0, Bytes(287, 0), MacroFileError::kWrongSize},
        {"long file", MacroLayout::kPaged, 0, Bytes(289, 0), MacroFileError::kWrongSize},
        {"no terminator", MacroLayout::kPacked, 0, OneMacroFile("x", unterminated),
         MacroFileError::kNoTerminator},
        {"no terminator, paged", MacroLayout::kPaged, 0, OneMacroFile("x", unterminated),
         MacroFileError::kNoTerminator},
        {"does not fit the area", MacroLayout::kPacked, 1, OneMacroFile("x", longMacro),
         MacroFileError::kOutOfRange},
        {"name the packed list cannot hold", MacroLayout::kPacked, 0, OneMacroFile("！", {0x00}),
         MacroFileError::kOutOfRange},
        {"slot not in use", MacroLayout::kPacked, 5, OneMacroFile("x", {0x00}),
         MacroFileError::kNoSlot},
        {"no storage", MacroLayout::kNone, 0, OneMacroFile("x", {0x00}),
         MacroFileError::kNoStorage},
    };
    // A packed store using 300 bytes: 'longMacro' in place of a 33-byte macro needs 550.
    std::vector<std::pair<std::string, Bytes>> crowded = kMacros;
    crowded[2].second.assign(194, 0xA1);
    crowded[2].second.push_back(0);
    for (const Case& c : cases) {
        MacroStore store = c.layout == MacroLayout::kPacked  ? PackedWith(crowded)
                           : c.layout == MacroLayout::kPaged ? PagedWith(kMacros)
                                                             : MacroStore();
        const Bytes all = ExportAllMacros(store);
        EXPECT_EQ(ImportOneMacro(store, c.slot, c.file), c.error) << c.what;
        EXPECT_EQ(ExportAllMacros(store), all) << c.what;
    }
}

TEST(MacroFiles, AllMacrosRoundTripByteForByte) {
    for (const MacroStore& source : {PackedWith(kMacros), PagedWith(kMacros)}) {
        const Bytes file = ExportAllMacros(source);
        ASSERT_EQ(file.size(), AllMacrosFileSize(source.Layout()));
        MacroStore target(source.Layout());
        ASSERT_EQ(ImportAllMacros(target, file), MacroFileError::kNone);
        EXPECT_EQ(ExportAllMacros(target), file);
        EXPECT_EQ(target.Names(), source.Names());
        for (int k = 0; k < 3; ++k) EXPECT_EQ(target.Events(k), kMacros[k].second);
    }
    EXPECT_EQ(kPagedAllFileSize, 9216u);
    const Bytes paged = ExportAllMacros(PagedWith(kMacros));
    EXPECT_EQ(paged[0], 0x51);               // first name, high byte first
    EXPECT_EQ(paged[1024 + 256 * 2], 0xA1);  // page 2
}

TEST(MacroFiles, AllMacrosOfTheOtherLayoutAreRefused) {
    struct Case {
        MacroLayout layout;
        std::size_t size;
    };
    const Case cases[] = {{MacroLayout::kPacked, 9216}, {MacroLayout::kPacked, 511},
                          {MacroLayout::kPaged, 512},   {MacroLayout::kPaged, 9215},
                          {MacroLayout::kPacked, 0},    {MacroLayout::kPaged, 9217}};
    for (const Case& c : cases) {
        MacroStore store =
            c.layout == MacroLayout::kPacked ? PackedWith(kMacros) : PagedWith(kMacros);
        const Bytes before = ExportAllMacros(store);
        EXPECT_EQ(ImportAllMacros(store, Bytes(c.size, 0x41)), MacroFileError::kWrongSize)
            << c.size;
        EXPECT_EQ(ExportAllMacros(store), before) << c.size;
    }
    MacroStore none;
    EXPECT_EQ(ImportAllMacros(none, Bytes(512, 0)), MacroFileError::kNoStorage);
    EXPECT_TRUE(ExportAllMacros(none).empty());
}

TEST(MacroFiles, ImportingAnEmptyPackedSetLeavesNoMacros) {
    MacroStore store = PackedWith(kMacros);
    ASSERT_EQ(ImportAllMacros(store, Bytes(512, 0)), MacroFileError::kNone);
    EXPECT_EQ(store.MacroCount(), 0);
    EXPECT_EQ(store.TotalLength(), 0);
}

TEST(MacroFiles, OneMacroFileCodec) {
    const NameField name = MacroNameStrToUnicode("A");
    const Bytes events = {0xFE, 0x01, 0x00, 0x00};
    const Bytes file = EncodeOneMacroFile(name, events);
    ASSERT_EQ(file.size(), 288u);
    const auto decoded = DecodeOneMacroFile(file);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->name, name);
    EXPECT_EQ(decoded->events, events);  // a zero search would stop at the delay's low byte
    EXPECT_TRUE(EncodeOneMacroFile(name, Bytes(257, 0)).empty());
    MacroFileError error = MacroFileError::kNone;
    EXPECT_FALSE(DecodeOneMacroFile(Bytes(10, 0), &error).has_value());
    EXPECT_EQ(error, MacroFileError::kWrongSize);
}

}  // namespace
}  // namespace kelv::macros
