// Random and hostile input to every parser: results stay within their bounds and well-formed.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "macros/events.h"
#include "macros/files.h"
#include "macros/name_field.h"
#include "macros/script.h"
#include "macros/store.h"

namespace kelv::macros {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes biased towards the values the formats give meaning to.
Bytes RandomBytes(std::mt19937& rng, std::size_t n) {
    static constexpr std::uint8_t kInteresting[] = {0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFD, 0xFC,
                                                    0x81, 0x01, 0x82, 0x02, 0xA1, 0x21, 0x41};
    Bytes bytes(n);
    for (auto& b : bytes) {
        const auto r = rng();
        b = (r & 1) ? kInteresting[(r >> 1) % std::size(kInteresting)]
                    : static_cast<std::uint8_t>(r >> 8);
    }
    return bytes;
}

std::string AnyName(std::uint8_t usage) {
    return usage % 3 ? "K" + std::to_string(usage) : "";
}

void ExpectSoundPackedStore(const MacroStore& store, const std::string& what) {
    EXPECT_LE(store.TotalLength(), 512) << what;
    int total = 0;
    for (int k = 0; k < kPackedSlotCount; ++k) {
        const int length = store.Length(k);
        total += length;
        if (length == 0) continue;
        EXPECT_GE(length, 33) << what;
        EXPECT_TRUE(IsWellFormedEvents(store.Events(k))) << what << " slot " << k;
        EXPECT_TRUE(k == 0 || store.Length(k - 1) != 0) << what;
    }
    EXPECT_EQ(total, store.TotalLength()) << what;
    // The rebuilt area reads back as the same macros.
    MacroStore again(MacroLayout::kPacked, store.PackedBase());
    again.SetArea(store.Area());
    const PackedParse parse = again.ReadAndRefreshMacro7311();
    EXPECT_EQ(parse.repaired, 0) << what;
    EXPECT_EQ(again.Entries(), store.Entries()) << what;
}

TEST(MalformedInput, PackedAreas) {
    std::mt19937 rng(7311);
    for (int round = 0; round < 300; ++round) {
        MacroStore store(MacroLayout::kPacked);
        Bytes area = RandomBytes(rng, kPackedAreaSize);
        if (round % 3 == 0) area[0] = 0x41, area[1] = 0x42;  // make a first record likely
        store.SetArea(area);
        store.ReadAndRefreshMacro7311();
        ExpectSoundPackedStore(store, "round " + std::to_string(round));
    }
}

TEST(MalformedInput, ShortAndOversizedBuffers) {
    MacroStore packed(MacroLayout::kPacked);
    packed.SetArea(Bytes(1000, 0x41));  // only 512 bytes taken
    packed.SetArea(Bytes(10, 0x41), 600);
    packed.SetArea(Bytes(10, 0x00), 508);
    packed.ReadAndRefreshMacro7311();
    ExpectSoundPackedStore(packed, "oversized");

    MacroStore paged(MacroLayout::kPaged);
    paged.SetPage(0, Bytes(3000, 0xA1));
    paged.SetPage(-1, Bytes(1, 0xA1));
    paged.SetPage(32, Bytes(1, 0xA1));
    paged.SetNameBlock(Bytes(5000, 0x41));
    EXPECT_EQ(paged.EventLength(0), 0);
    EXPECT_TRUE(paged.Events(0).empty());
    EXPECT_EQ(paged.EventLength(-1), 0);
    EXPECT_EQ(paged.Name(31), "䅁䅁䅁䅁䅁䅁䅁䅁䅁䅁䅁䅁䅁䅁䅁䅁");
    EXPECT_EQ(paged.Name(32), "");
}

TEST(MalformedInput, PagesAndNameBlocks) {
    std::mt19937 rng(42);
    MacroStore store(MacroLayout::kPaged);
    for (int round = 0; round < 100; ++round) {
        store.SetNameBlock(RandomBytes(rng, kNameBlockSize));
        for (int i = 0; i < kPagedSlotCount; ++i) store.SetPage(i, RandomBytes(rng, kPageSize));
        for (int i = 0; i < kPagedSlotCount; ++i) {
            const Bytes events = store.Events(i);
            EXPECT_TRUE(events.empty() || IsWellFormedEvents(events));
            EXPECT_LE(Utf8ToUtf16(store.Name(i)).size(), kNameFieldUnits);
        }
    }
}

TEST(MalformedInput, DecodedEventsEncodeBackToThemselves) {
    std::mt19937 rng(5);
    for (int round = 0; round < 500; ++round) {
        const Bytes bytes = RandomBytes(rng, rng() % 300);
        const EventWalk walk = WalkEvents(bytes, bytes.size());
        Bytes expected(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(walk.eventBytes));
        expected.push_back(0x00);
        const DecodedMacro decoded = RefreshMacroList(bytes, AnyName);
        EXPECT_EQ(MacroListToBin(decoded.script), expected) << "round " << round;
        EXPECT_TRUE(InvalidLines(decoded.script).empty()) << "round " << round;
    }
}

TEST(MalformedInput, ScriptLines) {
    std::mt19937 rng(11);
    const std::string alphabet = "0123456789ABCDEFabcdefxyz :CODE-\x01\xFF\xE5";
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines;
        const int count = static_cast<int>(rng() % 20);
        for (int i = 0; i < count; ++i) {
            std::string line;
            const auto length = rng() % 24;
            for (unsigned j = 0; j < length; ++j) line += alphabet[rng() % alphabet.size()];
            if (rng() % 3 == 0) line = std::string(1, "012"[rng() % 3]) + " x CODE:" + line;
            lines.push_back(line);
        }
        const MacroScript script(lines);
        const Bytes bytes = MacroListToBin(script);
        // Whatever the lines, the bytes are whole records and one terminator.
        const EventWalk walk = WalkEvents(bytes, bytes.size());
        EXPECT_TRUE(walk.terminated);
        EXPECT_EQ(walk.eventBytes + 1, bytes.size());
        EXPECT_LE(InvalidLines(script).size(), script.EventCount());
    }
}

TEST(MalformedInput, NamesAndHexText) {
    std::mt19937 rng(3);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const auto length = rng() % 40;
        for (unsigned j = 0; j < length; ++j) text += static_cast<char>(rng());
        const NameField field = MacroNameStrToUnicode(text);
        const std::string name = MacroNameFromField(field);
        EXPECT_LE(Utf8ToUtf16(name).size(), kNameFieldUnits);
        // Names read back from a field are valid UTF-8 and write the same field again, up to
        // the point where the field's own text ended.
        EXPECT_EQ(StrToUnicodeHex(name), StrToUnicodeHex(Utf16ToUtf8(Utf8ToUtf16(name))));
        (void)UnicodeHexToStr(text);
    }
}

TEST(MalformedInput, MacroFiles) {
    std::mt19937 rng(99);
    for (int round = 0; round < 200; ++round) {
        const std::size_t sizes[] = {0, 1, 287, 288, 289, 511, 512, 513, 9216};
        const Bytes file = RandomBytes(rng, sizes[round % std::size(sizes)]);
        MacroStore packed(MacroLayout::kPacked);
        packed.SetArea(Bytes{0x00, 0x41, 0x00});
        packed.ReadAndRefreshMacro7311();
        ImportOneMacro(packed, 0, file);
        ImportAllMacros(packed, file);
        ExpectSoundPackedStore(packed, "file round " + std::to_string(round));

        MacroStore paged(MacroLayout::kPaged);
        ImportOneMacro(paged, static_cast<int>(rng() % 34) - 1, file);
        ImportAllMacros(paged, file);
        for (int i = 0; i < kPagedSlotCount; ++i) {
            const Bytes events = paged.Events(i);
            EXPECT_TRUE(events.empty() || IsWellFormedEvents(events));
        }
    }
}

}  // namespace
}  // namespace kelv::macros
