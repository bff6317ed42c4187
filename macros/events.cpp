#include "macros/events.h"

#include <algorithm>

namespace kelv::macros {

std::uint8_t MouseRecord(MouseButton button, bool press) {
    std::uint8_t bit = 0x01;
    switch (button) {
        case MouseButton::kLeft:
            bit = 0x01;
            break;
        case MouseButton::kRight:
            bit = 0x02;
            break;
        case MouseButton::kMiddle:
            bit = 0x04;
            break;
        case MouseButton::kForward:
            bit = 0x08;
            break;
        case MouseButton::kBackward:
            bit = 0x10;
            break;
    }
    return static_cast<std::uint8_t>((press ? 0xA0 : 0x20) | bit);
}

std::string_view ModifierName(std::uint8_t bit) {
    switch (bit) {
        case kModCtrl:
            return "Ctrl";
        case kModShift:
            return "Shift";
        case kModAlt:
            return "Alt";
        case kModLeftWindows:
            return "Left Windows";
        case kModRightWindows:
            return "Right Windows";
        default:
            return {};
    }
}

EventWalk WalkEvents(std::span<const std::uint8_t> bytes, std::size_t maxEventBytes) {
    EventWalk walk;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::uint8_t type = bytes[pos];
        if (type == kTerminator) {
            walk.terminated = true;
            break;
        }
        const std::size_t end = pos + RecordLength(type);
        if (end > bytes.size() || end > maxEventBytes) break;
        pos = end;
    }
    walk.eventBytes = pos;
    return walk;
}

bool IsWellFormedEvents(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > kMaxEventBytes) return false;
    const EventWalk walk = WalkEvents(bytes);
    return walk.terminated && walk.eventBytes + 1 == bytes.size();
}

std::vector<std::uint8_t> TruncateEvents(std::span<const std::uint8_t> events,
                                         std::size_t maxBytes) {
    const std::size_t room = maxBytes == 0 ? 0 : maxBytes - 1;
    const EventWalk walk = WalkEvents(events, std::min(room, kMaxEventBytes - 1));
    std::vector<std::uint8_t> out(events.begin(),
                                  events.begin() + static_cast<std::ptrdiff_t>(walk.eventBytes));
    out.push_back(kTerminator);
    return out;
}

std::string EventsToHex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0xF];
    }
    return hex;
}

}  // namespace kelv::macros
