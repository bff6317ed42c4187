#include "macros/recorder.h"

#include <algorithm>
#include <utility>

namespace kelv::macros {
namespace {

// Virtual keys recorded as modifier records rather than by usage.
std::optional<std::uint8_t> ModifierBitOfKey(int vk) {
    switch (vk) {
        case 16:
            return kModShift;
        case 17:
            return kModCtrl;
        case 18:
            return kModAlt;
        case 91:
            return kModLeftWindows;
        case 92:
            return kModRightWindows;
        default:
            return std::nullopt;
    }
}

}  // namespace

MacroRecorder::MacroRecorder(MacroScript& script, RecorderKeyTables keys, RecordingOptions options)
    : script_(script),
      keys_(std::move(keys)),
      options_(options),
      total_(options.totalLength),
      recorded_(options.recordedLength),
      insertPosition_(options.insertPosition) {}

bool MacroRecorder::Room(bool press) const {
    // A press keeps room for its delay and its release.
    const int reserve = !press ? 0 : options_.delays == DelayMode::Kind::kNone ? 2 : 5;
    return total_ < options_.roomLimit - reserve && recorded_ < kMaxRecordedLength;
}

void MacroRecorder::EnsureModeLine() {
    if (!script_.Empty()) return;
    DelayMode mode{options_.delays, options_.fixedDelayMs};
    script_.Append(ModeLine(mode));
}

void MacroRecorder::Place(std::string line) {
    if (!options_.insert) {
        script_.Append(std::move(line));
        selection_ = script_.EventCount() - 1;
        return;
    }
    script_.Insert(insertPosition_ + (options_.insertAfter ? 2 : 1), std::move(line));
    ++insertPosition_;
    selection_ = std::min(insertPosition_, script_.EventCount() - 1);
}

void MacroRecorder::AddDelay(std::uint32_t nowMs) {
    if (options_.delays == DelayMode::Kind::kNone) return;
    if (lastEventTick_) {
        // Unsigned difference: a tick counter that wrapped still gives the elapsed time.
        const std::uint32_t elapsed = nowMs - *lastEventTick_;
        const long long ms = options_.delays == DelayMode::Kind::kFixed
                                 ? options_.fixedDelayMs
                                 : std::min<std::uint32_t>(elapsed, 0xFFFF);
        Place(DelayLine(ms));
        total_ += 3;
        recorded_ += 3;
    }
    lastEventTick_ = nowMs;
}

bool MacroRecorder::StopCheck() const {
    return total_ > options_.roomLimit || recorded_ > kMaxRecordedLength || stopRequest_;
}

bool MacroRecorder::OnKey(int vk, KeyState state, std::uint32_t nowMs) {
    const std::string name = keys_.name ? keys_.name(vk) : std::string();
    if (name == "255") return StopCheck();
    EnsureModeLine();
    bool press = true;
    bool take = false;
    switch (state) {
        case KeyState::kOn:
            if (vk == lastKey_ && keysDown_ > 0) return StopCheck();
            take = Room(true);
            lastKey_ = vk;
            ++keysDown_;
            break;
        case KeyState::kRepeat:
            if (vk == lastKey_) return StopCheck();
            ++keysDown_;
            take = Room(true);
            lastKey_ = vk;
            break;
        case KeyState::kOff:
            press = false;
            take = Room(false);
            lastKey_ = vk;
            // A key held before the recording started may be released during it.
            keysDown_ = std::max(keysDown_ - 1, 0);
            break;
    }
    if (!take) {
        stopRequest_ = true;
        return StopCheck();
    }
    AddDelay(nowMs);
    const auto modifier = ModifierBitOfKey(vk);
    const std::uint8_t type =
        modifier ? (press ? kModifierPress : kModifierRelease) : (press ? kKeyPress : kKeyRelease);
    const std::uint8_t second = modifier ? *modifier : (keys_.usage ? keys_.usage(vk) : 0);
    Place(EventLine(press, name, static_cast<std::uint16_t>((type << 8) | second)));
    total_ += 2;
    recorded_ += 2;
    return StopCheck();
}

bool MacroRecorder::OnMouse(MouseButton button, bool press, std::uint32_t nowMs) {
    EnsureModeLine();
    // Buttons obey the same room as keys, so a burst of clicks cannot overrun the storage.
    if (!Room(press)) {
        stopRequest_ = true;
        return StopCheck();
    }
    AddDelay(nowMs);
    Place(MouseLine(button, press));
    total_ += 1;
    recorded_ += 1;
    return StopCheck();
}

}  // namespace kelv::macros
