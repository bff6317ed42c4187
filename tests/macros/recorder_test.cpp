// Recording rules: which transitions become lines, the delays between them, room and stopping.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/recorder.h"
#include "macros/script.h"

namespace kelv::macros {
namespace {

using Lines = std::vector<std::string>;
using K = DelayMode::Kind;

constexpr int kShift = 16, kCtrl = 17, kKeyA = 0x41, kKeyC = 0x43, kUnknown = 0xE8, kIgnored = 255;

RecorderKeyTables Keys() {
    return {[](int vk) -> std::string {
                switch (vk) {
                    case kShift:
                        return "Shift";
                    case kCtrl:
                        return "Ctrl";
                    case kKeyA:
                        return "A";
                    case kKeyC:
                        return "C";
                    case kIgnored:
                        return "255";
                    default:
                        return "?";
                }
            },
            [](int vk) -> std::uint8_t {
                switch (vk) {
                    case kKeyA:
                        return 0x04;
                    case kKeyC:
                        return 0x06;
                    default:
                        return 0x00;
                }
            }};
}

struct Key {
    int vk;
    KeyState state;
    std::uint32_t tick;
};

Lines Record(RecordingOptions options, const std::vector<Key>& keys, Lines start = {}) {
    MacroScript script(start);
    MacroRecorder recorder(script, Keys(), options);
    for (const Key& k : keys) recorder.OnKey(k.vk, k.state, k.tick);
    return script.Lines();
}

TEST(MacroRecorder, KeysBecomeLinesWithTheirDelays) {
    const std::vector<Key> ctrlC = {{kCtrl, KeyState::kOn, 1000},
                                    {kKeyC, KeyState::kRepeat, 1030},
                                    {kKeyC, KeyState::kOff, 1070},
                                    {kCtrl, KeyState::kOff, 1120}};
    struct Case {
        const char* what;
        RecordingOptions options;
        std::vector<Key> keys;
        Lines lines;
        Lines start = {};
    };
    const Case cases[] = {
        {"recorded delays",
         {K::kRecorded},
         ctrlC,
         {"10", "1 Ctrl CODE:8101", "0 30", "1 C CODE:8206", "0 40", "2 C CODE:0206", "0 50",
          "2 Ctrl CODE:0101"}},
        {"fixed delay",
         {K::kFixed, 25},
         ctrlC,
         {"0125", "1 Ctrl CODE:8101", "0 25", "1 C CODE:8206", "0 25", "2 C CODE:0206", "0 25",
          "2 Ctrl CODE:0101"}},
        {"no delays",
         {K::kNone},
         ctrlC,
         {"00", "1 Ctrl CODE:8101", "1 C CODE:8206", "2 C CODE:0206", "2 Ctrl CODE:0101"}},
        {"holding a key repeats nothing",
         {K::kNone},
         {{kKeyA, KeyState::kOn, 0},
          {kKeyA, KeyState::kRepeat, 1},
          {kKeyA, KeyState::kRepeat, 2},
          {kKeyA, KeyState::kOff, 3}},
         {"00", "1 A CODE:8204", "2 A CODE:0204"}},
        {"a key named 255 is not recorded",
         {K::kNone},
         {{kIgnored, KeyState::kOn, 0}, {kIgnored, KeyState::kOff, 1}},
         {}},
        {"release of a key held before the start",
         {K::kNone},
         {{kShift, KeyState::kOff, 0}, {kKeyA, KeyState::kOn, 1}},
         {"00", "2 Shift CODE:0102", "1 A CODE:8204"}},
        {"key without a usage",
         {K::kNone},
         {{kUnknown, KeyState::kOn, 0}, {kUnknown, KeyState::kOff, 1}},
         {"00", "1 ? CODE:8200", "2 ? CODE:0200"}},
        {"delay beyond 16 bits, tick counter wrapping",
         {K::kRecorded},
         {{kKeyA, KeyState::kOn, 0xFFFFFFF0u},
          {kKeyA, KeyState::kOff, 0x10},
          {kKeyA, KeyState::kOn, 0x10 + 70000}},
         {"10", "1 A CODE:8204", "0 32", "2 A CODE:0204", "0 65535", "1 A CODE:8204"}},
        {"script already started keeps its mode line",
         {K::kNone},
         {{kKeyA, KeyState::kOn, 0}},
         {"10", "1 A CODE:8204"},
         {"10"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Record(c.options, c.keys, c.start), c.lines) << c.what;
}

TEST(MacroRecorder, StopsWhenTheRoomRunsOut) {
    // Packed limit 500 with 490 bytes in use: the first press fits (490 < 495), the second not.
    MacroScript script;
    MacroRecorder recorder(script, Keys(), {K::kRecorded, 1, 500, 490});
    EXPECT_FALSE(recorder.OnKey(kKeyA, KeyState::kOn, 10));
    EXPECT_FALSE(recorder.OnKey(kKeyA, KeyState::kOff, 20));  // 492 + 3 + 2
    EXPECT_EQ(recorder.TotalLength(), 497);
    EXPECT_TRUE(recorder.OnKey(kKeyC, KeyState::kOn, 30));
    EXPECT_EQ(script.Lines(), (Lines{"10", "1 A CODE:8204", "0 10", "2 A CODE:0204"}));

    // The per-recording bound of 246 bytes stops it as well.
    MacroScript longer;
    MacroRecorder capped(longer, Keys(), {K::kNone, 1, 100000, 0});
    bool stopped = false;
    int presses = 0;
    for (std::uint32_t t = 0; !stopped && t < 1000; t += 2, ++presses) {
        stopped =
            capped.OnKey(kKeyA, KeyState::kOn, t) || capped.OnKey(kKeyA, KeyState::kOff, t + 1);
    }
    EXPECT_TRUE(stopped);
    EXPECT_LE(capped.RecordedLength(), MacroRecorder::kMaxRecordedLength);
    EXPECT_LE(MacroListToBin(longer).size(), kMaxEventBytes);
}

TEST(MacroRecorder, MouseButtonsObeyTheSameRoom) {
    // Paged limit 248 without delays: a press needs TotalLength < 246, a release < 248.
    MacroScript script;
    MacroRecorder recorder(script, Keys(), {K::kNone, 1, 248, 241});
    const std::pair<MouseButton, bool> clicks[] = {
        {MouseButton::kLeft, true},     {MouseButton::kLeft, false},
        {MouseButton::kRight, true},    {MouseButton::kRight, false},
        {MouseButton::kBackward, true}, {MouseButton::kBackward, false}};
    std::uint32_t tick = 0;
    for (const auto& [button, press] : clicks)
        EXPECT_FALSE(recorder.OnMouse(button, press, ++tick));
    EXPECT_EQ(recorder.TotalLength(), 247);
    EXPECT_TRUE(recorder.OnMouse(MouseButton::kMiddle, true, ++tick));
    EXPECT_EQ(script.Lines(),
              (Lines{"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021", "1 RightKey CODE:00A2",
                     "2 RightKey CODE:0022", "1 Backward CODE:00B0", "2 Backward CODE:0030"}));
}

TEST(MacroRecorder, InsertedLinesKeepTheirOrder) {
    const Lines base = {"10", "1 Q CODE:8214", "2 Q CODE:0214"};
    struct Case {
        bool after;
        std::size_t position;
        Lines lines;
    };
    const Case cases[] = {
        {false,
         1,
         {"10", "1 Q CODE:8214", "1 A CODE:8204", "0 5", "2 A CODE:0204", "2 Q CODE:0214"}},
        {true,
         0,
         {"10", "1 Q CODE:8214", "1 A CODE:8204", "0 5", "2 A CODE:0204", "2 Q CODE:0214"}},
        {true,
         1,
         {"10", "1 Q CODE:8214", "2 Q CODE:0214", "1 A CODE:8204", "0 5", "2 A CODE:0204"}},
    };
    for (const Case& c : cases) {
        MacroScript script(base);
        RecordingOptions options{K::kRecorded, 1, 500, 100};
        options.insert = true;
        options.insertPosition = c.position;
        options.insertAfter = c.after;
        MacroRecorder recorder(script, Keys(), options);
        recorder.OnKey(kKeyA, KeyState::kOn, 100);
        recorder.OnKey(kKeyA, KeyState::kOff, 105);
        EXPECT_EQ(script.Lines(), c.lines) << c.after << " " << c.position;
        EXPECT_EQ(recorder.TotalLength(), 107);
    }
}

}  // namespace
}  // namespace kelv::macros
