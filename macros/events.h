// The event bytes of one macro: records of one to three bytes ended by a single 0x00.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelv::macros {

inline constexpr std::uint8_t kTerminator = 0x00;
inline constexpr std::uint8_t kModifierPress = 0x81;
inline constexpr std::uint8_t kModifierRelease = 0x01;
inline constexpr std::uint8_t kKeyPress = 0x82;
inline constexpr std::uint8_t kKeyRelease = 0x02;
inline constexpr std::uint8_t kDelayRecord = 0xFE;
inline constexpr std::uint8_t kForeignOneByte = 0xFC;  // never produced here; stepped over
inline constexpr std::uint8_t kForeignTwoByte = 0xFD;  // never produced here; stepped over

// Modifier bits of the HID keyboard modifier byte, as the second byte of a modifier record.
inline constexpr std::uint8_t kModCtrl = 0x01;
inline constexpr std::uint8_t kModShift = 0x02;
inline constexpr std::uint8_t kModAlt = 0x04;
inline constexpr std::uint8_t kModLeftWindows = 0x08;
inline constexpr std::uint8_t kModRightWindows = 0x80;

// Most event bytes one macro may hold, terminator included (one event buffer or page).
inline constexpr std::size_t kMaxEventBytes = 256;

enum class MouseButton { kLeft, kRight, kMiddle, kForward, kBackward };

// The one-byte record of a mouse button press or release.
std::uint8_t MouseRecord(MouseButton button, bool press);

// Length of the record that starts with `type`: 3 for a delay, 2 for modifier, key and 0xFD
// records, 1 for everything else (the terminator included).
constexpr std::size_t RecordLength(std::uint8_t type) {
    switch (type) {
        case kDelayRecord:
            return 3;
        case kModifierPress:
        case kModifierRelease:
        case kKeyPress:
        case kKeyRelease:
        case kForeignTwoByte:
            return 2;
        default:
            return 1;
    }
}

// "Ctrl", "Shift", "Alt", "Left Windows", "Right Windows"; empty for any other byte.
std::string_view ModifierName(std::uint8_t bit);

// Result of walking records from the start of some bytes.
struct EventWalk {
    // Bytes of the complete records before the stop (the events, without terminator).
    std::size_t eventBytes = 0;
    // A terminator was found right after them.
    bool terminated = false;
};

// Walks records until a terminator, the end of `bytes`, or a record that would end beyond
// `maxEventBytes`. Never reads outside `bytes`. A 0x00 inside a record (the low byte of a
// 256 ms delay, usage 0) is part of that record, not a terminator.
EventWalk WalkEvents(std::span<const std::uint8_t> bytes,
                     std::size_t maxEventBytes = kMaxEventBytes - 1);

// True when `bytes` is a whole macro: complete records, one terminator, and nothing after it,
// at most kMaxEventBytes long.
bool IsWellFormedEvents(std::span<const std::uint8_t> bytes);

// The complete records of `events` that fit, with a terminator, into `maxBytes` (at least 1):
// for keeping a recording that ran past its room instead of losing it.
std::vector<std::uint8_t> TruncateEvents(std::span<const std::uint8_t> events,
                                         std::size_t maxBytes);

// Two upper-case hex digits per byte (the hidden hex text of the selected macro's events).
std::string EventsToHex(std::span<const std::uint8_t> bytes);

}  // namespace kelv::macros
