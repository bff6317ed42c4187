// The macro script: the editable text form of one macro. Line 0 is the mode line, every further
// line one event ("0 <ms>", "1 <name> CODE:XXXX", "2 <name> CODE:XXXX").
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "macros/events.h"

namespace kelv::macros {

// Names HID keyboard usages for the script lines (kelv::keys::KeyNameFromUsage in the program).
using KeyNameFn = std::function<std::string(std::uint8_t usage)>;

// How the delays of a macro are chosen: none, one fixed value, or as recorded.
struct DelayMode {
    enum class Kind { kNone, kFixed, kRecorded };
    Kind kind = Kind::kNone;
    int fixedMs = 0;  // kFixed only
    friend bool operator==(const DelayMode&, const DelayMode&) = default;
};

// "00", "01" followed by the fixed delay, or "10".
std::string ModeLine(const DelayMode& mode);
// Reads a mode line back; anything unrecognised reads as kRecorded.
DelayMode ParseModeLine(std::string_view line);

// The mode a macro is shown in, from its first four delays (missing ones count as 0).
DelayMode InferDelayMode(std::span<const int> delays);

enum class LineKind { kDelay, kPress, kRelease, kInvalid };

class MacroScript {
  public:
    MacroScript() = default;
    explicit MacroScript(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    // All lines, the mode line first (the hidden script text, one line each).
    const std::vector<std::string>& Lines() const { return lines_; }
    std::size_t LineCount() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }
    const std::string& Line(std::size_t i) const { return lines_.at(i); }

    // Line 0, or "" while the script is empty.
    std::string ModeLine() const { return lines_.empty() ? std::string() : lines_[0]; }
    // Replaces line 0, or adds it to an empty script.
    void SetModeLine(std::string line);

    // Event lines: script lines 1.. (event i is script line i + 1).
    std::size_t EventCount() const { return lines_.empty() ? 0 : lines_.size() - 1; }
    const std::string& EventLine(std::size_t i) const { return lines_.at(i + 1); }

    void Append(std::string line) { lines_.push_back(std::move(line)); }
    // Inserts before script line `index` (index == LineCount() appends).
    void Insert(std::size_t index, std::string line);
    void Erase(std::size_t index);
    void Clear() { lines_.clear(); }

    friend bool operator==(const MacroScript&, const MacroScript&) = default;

  private:
    std::vector<std::string> lines_;
};

// Line builders; they produce exactly the forms the encoder and the editor read.
std::string DelayLine(long long ms);  // "0 " + ms
std::string EventLine(bool press, std::string_view keyName, std::uint16_t code);
std::string ModifierLine(bool press, std::uint8_t bit);  // "1 Ctrl CODE:8101"
std::string KeyLine(bool press, std::uint8_t usage, std::string_view keyName);  // "2 A CODE:0204"
std::string MouseLine(MouseButton button, bool press);  // "1 LeftKey CODE:00A1"

// Reading lines.
LineKind KindOfEventLine(std::string_view line);
// The text between the two-character prefix and the ten-character " CODE:XXXX" tail; empty
// for lines too short to have one.
std::string KeyNameOfLine(std::string_view line);

// Script -> event bytes, terminator appended. The mode line is not encoded. A delay line whose
// text is not a number encodes 0 ms; a delay above 65535 ms encodes 65535. An event line whose
// code digits do not form exactly one record (not hex, a 0x00 record, a delay or record length
// mismatch) is left out.
std::vector<std::uint8_t> MacroListToBin(const MacroScript& script);
// Script line indexes that MacroListToBin leaves out.
std::vector<std::size_t> InvalidLines(const MacroScript& script);

// Event bytes -> script (mode line inferred) and the inferred mode. Decoding stops at the first
// terminator or at the end of `events`, whichever comes first; a record cut off by the end is
// dropped. Records this system does not produce get lines that encode back to the same bytes:
// "1 Record FC CODE:00FC", "1 Record FD CODE:FDxx", "1 Modifier 10 CODE:8110"; other unknown
// type bytes "1"/"2" (by bit 7) + "Record XX CODE:00XX".
struct DecodedMacro {
    MacroScript script;
    DelayMode mode;
};
DecodedMacro RefreshMacroList(std::span<const std::uint8_t> events, const KeyNameFn& keyName);

}  // namespace kelv::macros
