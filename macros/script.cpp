#include "macros/script.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace kelv::macros {
namespace {

constexpr std::string_view kCodeTag = " CODE:";
constexpr std::size_t kTailLength = 10;  // " CODE:" and four digits

std::string Hex2(unsigned v) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
    return buf;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A delay line's milliseconds: text that is not a plain number is 0; clamped to 16 bits.
unsigned DelayValue(std::string_view line) {
    const std::string_view text = line.size() > 2 ? line.substr(2) : std::string_view{};
    if (text.empty()) return 0;
    unsigned long long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) return 0xFFFF;
    if (ec != std::errc{} || ptr != text.data() + text.size()) return 0;
    return static_cast<unsigned>(std::min<unsigned long long>(value, 0xFFFF));
}

// The record an event line stands for; empty when its code does not form exactly one record.
std::vector<std::uint8_t> EventRecord(std::string_view line) {
    if (line.size() < 4) return {};
    const std::string_view code = line.substr(line.size() - 4);
    int digits[4];
    for (int i = 0; i < 4; ++i) {
        digits[i] = HexValue(code[i]);
        if (digits[i] < 0) return {};
    }
    const auto hi = static_cast<std::uint8_t>(digits[0] * 16 + digits[1]);
    const auto lo = static_cast<std::uint8_t>(digits[2] * 16 + digits[3]);
    if (hi == 0) {
        if (lo == kTerminator || RecordLength(lo) != 1) return {};
        return {lo};
    }
    if (RecordLength(hi) != 2) return {};
    return {hi, lo};
}

}  // namespace

std::string ModeLine(const DelayMode& mode) {
    switch (mode.kind) {
        case DelayMode::Kind::kNone:
            return "00";
        case DelayMode::Kind::kFixed:
            return "01" + std::to_string(mode.fixedMs);
        case DelayMode::Kind::kRecorded:
            break;
    }
    return "10";
}

DelayMode ParseModeLine(std::string_view line) {
    if (line == "00") return {};
    if (line.substr(0, 2) == "01") {
        int ms = 0;
        const std::string_view text = line.substr(2);
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), ms);
        if (ec == std::errc{} && ptr == text.data() + text.size() && ms >= 0 && ms <= 0xFFFF)
            return {DelayMode::Kind::kFixed, ms};
    }
    return {DelayMode::Kind::kRecorded, 0};
}

DelayMode InferDelayMode(std::span<const int> delays) {
    int first[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < 4 && i < delays.size(); ++i) first[i] = delays[i];
    const bool equal = first[0] == first[1] && first[1] == first[2] && first[2] == first[3];
    if (equal && first[0] == 0) return {};
    if (equal) return {DelayMode::Kind::kFixed, first[0]};
    return {DelayMode::Kind::kRecorded, 0};
}

void MacroScript::SetModeLine(std::string line) {
    if (lines_.empty())
        lines_.push_back(std::move(line));
    else
        lines_[0] = std::move(line);
}

void MacroScript::Insert(std::size_t index, std::string line) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(std::min(index, lines_.size())),
                  std::move(line));
}

void MacroScript::Erase(std::size_t index) {
    if (index < lines_.size()) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string DelayLine(long long ms) {
    return "0 " + std::to_string(ms);
}

std::string EventLine(bool press, std::string_view keyName, std::uint16_t code) {
    std::string line = press ? "1 " : "2 ";
    line += keyName;
    line += kCodeTag;
    line += Hex2(code >> 8);
    line += Hex2(code);
    return line;
}

std::string ModifierLine(bool press, std::uint8_t bit) {
    const std::uint8_t type = press ? kModifierPress : kModifierRelease;
    return EventLine(press, ModifierName(bit), static_cast<std::uint16_t>((type << 8) | bit));
}

std::string KeyLine(bool press, std::uint8_t usage, std::string_view keyName) {
    const std::uint8_t type = press ? kKeyPress : kKeyRelease;
    return EventLine(press, keyName, static_cast<std::uint16_t>((type << 8) | usage));
}

std::string MouseLine(MouseButton button, bool press) {
    std::string_view name;
    switch (button) {
        case MouseButton::kLeft:
            name = "LeftKey";
            break;
        case MouseButton::kRight:
            name = "RightKey";
            break;
        case MouseButton::kMiddle:
            name = "MiddleKey";
            break;
        case MouseButton::kForward:
            name = "Forward";
            break;
        case MouseButton::kBackward:
            name = "Backward";
            break;
    }
    return EventLine(press, name, MouseRecord(button, press));
}

LineKind KindOfEventLine(std::string_view line) {
    if (line.empty()) return LineKind::kInvalid;
    switch (line[0]) {
        case '0':
            return LineKind::kDelay;
        case '1':
            return LineKind::kPress;
        case '2':
            return LineKind::kRelease;
        default:
            return LineKind::kInvalid;
    }
}

std::string KeyNameOfLine(std::string_view line) {
    if (line.size() < 2 + kTailLength) return {};
    return std::string(line.substr(2, line.size() - 2 - kTailLength));
}

std::vector<std::uint8_t> MacroListToBin(const MacroScript& script) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 1; i < script.LineCount(); ++i) {
        const std::string& line = script.Line(i);
        if (KindOfEventLine(line) == LineKind::kDelay) {
            const unsigned ms = DelayValue(line);
            bytes.insert(bytes.end(), {kDelayRecord, static_cast<std::uint8_t>(ms >> 8),
                                       static_cast<std::uint8_t>(ms & 0xFF)});
        } else {
            const auto record = EventRecord(line);
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
    }
    bytes.push_back(kTerminator);
    return bytes;
}

std::vector<std::size_t> InvalidLines(const MacroScript& script) {
    std::vector<std::size_t> invalid;
    for (std::size_t i = 1; i < script.LineCount(); ++i) {
        const std::string& line = script.Line(i);
        if (KindOfEventLine(line) != LineKind::kDelay && EventRecord(line).empty())
            invalid.push_back(i);
    }
    return invalid;
}

DecodedMacro RefreshMacroList(std::span<const std::uint8_t> events, const KeyNameFn& keyName) {
    DecodedMacro out;
    out.script.Append("00");
    std::vector<int> delays;
    std::size_t pos = 0;
    while (pos < events.size() && events[pos] != kTerminator) {
        const std::uint8_t type = events[pos];
        const std::size_t length = RecordLength(type);
        if (pos + length > events.size()) break;
        const std::uint8_t second = length > 1 ? events[pos + 1] : 0;
        const bool press = (type & 0x80) != 0;
        std::string line;
        switch (type) {
            case kDelayRecord: {
                const int ms = second * 256 + events[pos + 2];
                if (delays.size() < 4) delays.push_back(ms);
                line = DelayLine(ms);
                break;
            }
            case kModifierPress:
            case kModifierRelease: {
                std::string_view name = ModifierName(second);
                const std::string unknown = "Modifier " + Hex2(second);
                if (name.empty()) name = unknown;
                line = EventLine(press, name, static_cast<std::uint16_t>((type << 8) | second));
                break;
            }
            case kKeyPress:
            case kKeyRelease:
                line = KeyLine(press, second, keyName ? keyName(second) : std::string());
                break;
            case kForeignTwoByte:
                line =
                    EventLine(true, "Record FD", static_cast<std::uint16_t>((type << 8) | second));
                break;
            default: {
                static constexpr std::uint8_t kMouse[] = {0xA1, 0x21, 0xA2, 0x22, 0xA4,
                                                          0x24, 0xA8, 0x28, 0xB0, 0x30};
                static constexpr MouseButton kButtons[] = {
                    MouseButton::kLeft, MouseButton::kRight, MouseButton::kMiddle,
                    MouseButton::kForward, MouseButton::kBackward};
                const auto* hit = std::find(std::begin(kMouse), std::end(kMouse), type);
                if (hit != std::end(kMouse)) {
                    const auto index = static_cast<std::size_t>(hit - std::begin(kMouse));
                    line = MouseLine(kButtons[index / 2], index % 2 == 0);
                } else {
                    line = EventLine(press, "Record " + Hex2(type), type);
                }
            }
        }
        out.script.Append(std::move(line));
        pos += length;
    }
    out.mode = InferDelayMode(delays);
    out.script.SetModeLine(ModeLine(out.mode));
    return out;
}

}  // namespace kelv::macros
