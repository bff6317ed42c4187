// Script <-> event bytes, the line forms and the inferred delay mode.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "macros/events.h"
#include "macros/script.h"

namespace kelv::macros {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

std::string SmallKeyTable(std::uint8_t usage) {
    switch (usage) {
        case 0x04:
            return "A";
        case 0x06:
            return "C";
        case 0x14:
            return "Q";
        default:
            return "";
    }
}

struct EncodeCase {
    const char* what;
    Lines lines;
    Bytes bytes;
};

TEST(MacroListToBin, EncodesEveryLineForm) {
    const EncodeCase cases[] = {
        {"mode line only", {"00"}, {0x00}},
        {"empty script", {}, {0x00}},
        {"zero delay", {"10", "0 0"}, {0xFE, 0x00, 0x00, 0x00}},
        {"256 ms delay", {"10", "0 256"}, {0xFE, 0x01, 0x00, 0x00}},
        {"largest delay", {"10", "0 65535"}, {0xFE, 0xFF, 0xFF, 0x00}},
        {"delay beyond 16 bits is clamped", {"10", "0 70000"}, {0xFE, 0xFF, 0xFF, 0x00}},
        {"delay text not a number",
         {"10", "0 12ab", "0 ", "0 -5"},
         {0xFE, 0, 0, 0xFE, 0, 0, 0xFE, 0, 0, 0x00}},
        {"usage below 0x10 keeps its zero", {"00", "1 A CODE:8204"}, {0x82, 0x04, 0x00}},
        {"left release is one byte", {"00", "2 LeftKey CODE:0021"}, {0x21, 0x00}},
        {"Ctrl release stays two bytes", {"00", "2 Ctrl CODE:0101"}, {0x01, 0x01, 0x00}},
        {"Ctrl+C with delays",
         {"10", "1 Ctrl CODE:8101", "0 30", "1 C CODE:8206", "0 40", "2 C CODE:0206", "0 50",
          "2 Ctrl CODE:0101"},
         {0x81, 0x01, 0xFE, 0, 30, 0x82, 0x06, 0xFE, 0, 40, 0x02, 0x06, 0xFE, 0, 50, 0x01, 0x01,
          0x00}},
        {"lower-case code digits", {"00", "1 Right Windows CODE:81a0"}, {0x81, 0xA0, 0x00}},
        {"lines that form no single record are left out",
         {"00", "1 X CODE:ZZ04", "1 X CODE:0000", "1 X CODE:00FE", "1 X CODE:0081", "1 X CODE:FE12",
          "1 X CODE:2101", "x", "1 A CODE:8204"},
         {0x82, 0x04, 0x00}},
    };
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(MacroListToBin(MacroScript(c.lines)), c.bytes) << c.what;
    }
}

TEST(MacroListToBin, ReportsTheLinesItLeavesOut) {
    const MacroScript script(
        Lines{"00", "1 A CODE:8204", "1 X CODE:0000", "0 junk", "2 X CODE:FE01", "2 A CODE:0204"});
    EXPECT_EQ(InvalidLines(script), (std::vector<std::size_t>{2, 4}));
}

struct DecodeCase {
    const char* what;
    Bytes bytes;
    Lines lines;
    DelayMode mode;
};

TEST(RefreshMacroList, DecodesRecordsAndInfersTheMode) {
    using K = DelayMode::Kind;
    const DecodeCase cases[] = {
        {"terminator only", {0x00}, {"00"}, {}},
        {"no bytes at all", {}, {"00"}, {}},
        {"no delays", {0x82, 0x04, 0x02, 0x04, 0x00}, {"00", "1 A CODE:8204", "2 A CODE:0204"}, {}},
        {"zero delay", {0xFE, 0x00, 0x00, 0x00}, {"00", "0 0"}, {}},
        {"256 ms delay is not a terminator",
         {0xFE, 0x01, 0x00, 0xA1, 0x00},
         {"10", "0 256", "1 LeftKey CODE:00A1"},
         {K::kRecorded, 0}},
        {"four equal delays then others",
         {0xFE, 0, 30, 0xFE, 0, 30, 0xFE, 0, 30, 0xFE, 0, 30, 0xFE, 0, 99, 0x00},
         {"0130", "0 30", "0 30", "0 30", "0 30", "0 99"},
         {K::kFixed, 30}},
        {"three equal delays alone",
         {0xFE, 0, 30, 0xFE, 0, 30, 0xFE, 0, 30, 0x00},
         {"10", "0 30", "0 30", "0 30"},
         {K::kRecorded, 0}},
        {"modifiers by name",
         {0x81, 0x02, 0x81, 0x04, 0x81, 0x08, 0x81, 0x80, 0x01, 0x01, 0x00},
         {"00", "1 Shift CODE:8102", "1 Alt CODE:8104", "1 Left Windows CODE:8108",
          "1 Right Windows CODE:8180", "2 Ctrl CODE:0101"},
         {}},
        {"usage without a name",
         {0x82, 0x00, 0x02, 0x00, 0x00},
         {"00", "1  CODE:8200", "2  CODE:0200"},
         {}},
        {"records this system never makes",
         {0xFC, 0xFD, 0x07, 0x81, 0x10, 0x01, 0x03, 0x55, 0xC3, 0x00},
         {"00", "1 Record FC CODE:00FC", "1 Record FD CODE:FD07", "1 Modifier 10 CODE:8110",
          "2 Modifier 03 CODE:0103", "2 Record 55 CODE:0055", "1 Record C3 CODE:00C3"},
         {}},
        {"stops at the terminator", {0xA1, 0x00, 0xA2, 0x00}, {"00", "1 LeftKey CODE:00A1"}, {}},
        {"record cut off by the end is dropped",
         {0x21, 0xFE, 0x01},
         {"00", "2 LeftKey CODE:0021"},
         {}},
    };
    for (const DecodeCase& c : cases) {
        const DecodedMacro decoded = RefreshMacroList(c.bytes, SmallKeyTable);
        EXPECT_EQ(decoded.script.Lines(), c.lines) << c.what;
        EXPECT_EQ(decoded.mode, c.mode) << c.what;
    }
}

TEST(RefreshMacroList, EveryDecodedMacroEncodesBackToItsBytes) {
    const Bytes macros[] = {
        {0x00},
        {0xFE, 0x01, 0x00, 0x00},
        {0xA1, 0x21, 0xA2, 0x22, 0xA4, 0x24, 0xA8, 0x28, 0xB0, 0x30, 0x00},
        {0x81, 0x01, 0x82, 0x06, 0xFE, 0x12, 0x34, 0x02, 0x06, 0x01, 0x01, 0x00},
        {0xFC, 0xFD, 0x00, 0x81, 0x40, 0x7F, 0x82, 0xFF, 0x00},
    };
    for (const Bytes& bytes : macros) {
        EXPECT_EQ(MacroListToBin(RefreshMacroList(bytes, SmallKeyTable).script), bytes);
    }
}

TEST(LineBuilders, MouseLinesAreTheFixedTexts) {
    struct Case {
        MouseButton button;
        bool press;
        const char* line;
        std::uint8_t record;
    };
    const Case cases[] = {
        {MouseButton::kLeft, true, "1 LeftKey CODE:00A1", 0xA1},
        {MouseButton::kLeft, false, "2 LeftKey CODE:0021", 0x21},
        {MouseButton::kRight, true, "1 RightKey CODE:00A2", 0xA2},
        {MouseButton::kRight, false, "2 RightKey CODE:0022", 0x22},
        {MouseButton::kMiddle, true, "1 MiddleKey CODE:00A4", 0xA4},
        {MouseButton::kMiddle, false, "2 MiddleKey CODE:0024", 0x24},
        {MouseButton::kForward, true, "1 Forward CODE:00A8", 0xA8},
        {MouseButton::kForward, false, "2 Forward CODE:0028", 0x28},
        {MouseButton::kBackward, true, "1 Backward CODE:00B0", 0xB0},
        {MouseButton::kBackward, false, "2 Backward CODE:0030", 0x30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MouseLine(c.button, c.press), c.line);
        EXPECT_EQ(MouseRecord(c.button, c.press), c.record) << c.line;
        EXPECT_EQ(RefreshMacroList(Bytes{c.record, 0x00}, SmallKeyTable).script.Line(1), c.line);
    }
}

TEST(LineBuilders, KeyModifierAndDelayLines) {
    EXPECT_EQ(ModifierLine(true, kModCtrl), "1 Ctrl CODE:8101");
    EXPECT_EQ(ModifierLine(false, kModRightWindows), "2 Right Windows CODE:0180");
    EXPECT_EQ(KeyLine(true, 0x04, "A"), "1 A CODE:8204");
    EXPECT_EQ(KeyLine(false, 0x2C, "Space"), "2 Space CODE:022C");
    EXPECT_EQ(EventLine(true, "Shift", 0x8102), "1 Shift CODE:8102");
    EXPECT_EQ(DelayLine(0), "0 0");
    EXPECT_EQ(DelayLine(125), "0 125");
}

TEST(LineReaders, KindAndKeyName) {
    struct Case {
        const char* line;
        LineKind kind;
        const char* name;
    };
    const Case cases[] = {
        {"0 125", LineKind::kDelay, ""},
        {"1 Left Windows CODE:8108", LineKind::kPress, "Left Windows"},
        {"2 A CODE:0204", LineKind::kRelease, "A"},
        {"1  CODE:8200", LineKind::kPress, ""},
        {"", LineKind::kInvalid, ""},
        {"9 X CODE:0204", LineKind::kInvalid, "X"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KindOfEventLine(c.line), c.kind) << c.line;
        EXPECT_EQ(KeyNameOfLine(c.line), c.name) << c.line;
    }
}

TEST(DelayModes, InferenceAndModeLines) {
    using K = DelayMode::Kind;
    struct Case {
        std::vector<int> delays;
        DelayMode mode;
        const char* line;
    };
    const Case cases[] = {
        {{}, {}, "00"},
        {{0, 0, 0, 0}, {}, "00"},
        {{0, 0, 0, 0, 50}, {}, "00"},
        {{30, 30, 30, 30}, {K::kFixed, 30}, "0130"},
        {{30, 30, 30, 30, 1, 2}, {K::kFixed, 30}, "0130"},
        {{30, 30, 30}, {K::kRecorded, 0}, "10"},
        {{30}, {K::kRecorded, 0}, "10"},
        {{30, 31, 30, 30}, {K::kRecorded, 0}, "10"},
    };
    for (const Case& c : cases) {
        const DelayMode mode = InferDelayMode(c.delays);
        EXPECT_EQ(mode, c.mode) << c.line;
        EXPECT_EQ(ModeLine(mode), c.line);
        EXPECT_EQ(ParseModeLine(c.line), c.mode) << c.line;
    }
    EXPECT_EQ(ParseModeLine("01abc").kind, K::kRecorded);
    EXPECT_EQ(ParseModeLine("01").kind, K::kRecorded);
}

TEST(MacroScript, ModeLineAndEditing) {
    MacroScript script;
    EXPECT_TRUE(script.Empty());
    EXPECT_EQ(script.ModeLine(), "");
    EXPECT_EQ(script.EventCount(), 0u);
    script.SetModeLine("10");
    script.Append("0 5");
    script.Insert(1, "1 A CODE:8204");
    script.Insert(99, "2 A CODE:0204");
    EXPECT_EQ(script.Lines(), (Lines{"10", "1 A CODE:8204", "0 5", "2 A CODE:0204"}));
    EXPECT_EQ(script.EventLine(0), "1 A CODE:8204");
    script.Erase(2);
    script.Erase(42);
    script.SetModeLine("00");
    EXPECT_EQ(script.Lines(), (Lines{"00", "1 A CODE:8204", "2 A CODE:0204"}));
}

TEST(WalkEvents, RecordLengthsAndLimits) {
    struct Case {
        const char* what;
        Bytes bytes;
        std::size_t limit;
        std::size_t eventBytes;
        bool terminated;
    };
    const Case cases[] = {
        {"terminator only", {0x00}, 255, 0, true},
        {"zero low byte of a delay", {0xFE, 0x01, 0x00, 0x00}, 255, 3, true},
        {"usage 0 record", {0x02, 0x00, 0x00}, 255, 2, true},
        {"foreign records", {0xFC, 0xFD, 0x00, 0x00}, 255, 3, true},
        {"no terminator", {0xA1, 0x21}, 255, 2, false},
        {"cut record", {0xA1, 0xFE, 0x00}, 255, 1, false},
        {"record beyond the limit", {0xA1, 0x82, 0x04, 0x00}, 2, 1, false},
        {"empty", {}, 255, 0, false},
    };
    for (const Case& c : cases) {
        const EventWalk walk = WalkEvents(c.bytes, c.limit);
        EXPECT_EQ(walk.eventBytes, c.eventBytes) << c.what;
        EXPECT_EQ(walk.terminated, c.terminated) << c.what;
    }
    // Truncation keeps whole records only.
    EXPECT_EQ(TruncateEvents(Bytes{0xA1, 0xFE, 0x01, 0x00, 0x21, 0x00}, 4), (Bytes{0xA1, 0x00}));
    EXPECT_EQ(TruncateEvents(Bytes{0xA1, 0xFE, 0x01, 0x00, 0x21, 0x00}, 5),
              (Bytes{0xA1, 0xFE, 0x01, 0x00, 0x00}));
    EXPECT_EQ(TruncateEvents(Bytes{0xA1}, 0), (Bytes{0x00}));
    EXPECT_EQ(EventsToHex(Bytes{0xFE, 0x01, 0x00, 0x82, 0x0A, 0x00}), "FE0100820A00");
    EXPECT_TRUE(IsWellFormedEvents(Bytes{0xFE, 0x01, 0x00, 0x00}));
    EXPECT_FALSE(IsWellFormedEvents(Bytes{0xA1, 0x00, 0x00}));
    EXPECT_FALSE(IsWellFormedEvents(Bytes{}));
    Bytes longest(256, 0xA1);
    longest.back() = 0x00;
    EXPECT_TRUE(IsWellFormedEvents(longest));
    longest.insert(longest.begin(), 0xA1);
    EXPECT_FALSE(IsWellFormedEvents(longest));
}

}  // namespace
}  // namespace kelv::macros
