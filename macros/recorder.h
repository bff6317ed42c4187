// The rules of recording keys and mouse buttons into a macro script, free of any input source:
// the caller feeds key and button transitions with a millisecond tick and stops the recording
// when OnKey or OnMouse says so (then encodes the script with MacroListToBin).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "macros/events.h"
#include "macros/script.h"

namespace kelv::macros {

// Keyboard transitions as a raw-input source reports them: the first key-down after any key-up,
// a key-up, and any further key-down (auto-repeat, or another key while one is held).
enum class KeyState { kOn, kOff, kRepeat };

// Key tables by virtual-key code (kelv::keys in the program). A key named "255" is not recorded.
struct RecorderKeyTables {
    std::function<std::string(int vk)> name;
    std::function<std::uint8_t(int vk)> usage;
};

struct RecordingOptions {
    DelayMode::Kind delays = DelayMode::Kind::kRecorded;
    int fixedDelayMs = 1;  // kFixed: the delay field's value
    int roomLimit = 500;   // RoomLimit()
    int totalLength = 0;   // TotalLength when the recording starts
    int recordedLength = 0;
    // Insert recording: lines go next to list item `insertPosition` instead of at the end,
    // in front of it or (insertAfter) after it.
    bool insert = false;
    std::size_t insertPosition = 0;
    bool insertAfter = false;
};

class MacroRecorder {
  public:
    // Most bytes one recording may add.
    static constexpr int kMaxRecordedLength = 246;

    MacroRecorder(MacroScript& script, RecorderKeyTables keys, RecordingOptions options);

    // Each returns true when the recording must stop now.
    bool OnKey(int vk, KeyState state, std::uint32_t nowMs);
    bool OnMouse(MouseButton button, bool press, std::uint32_t nowMs);

    int TotalLength() const { return total_; }
    int RecordedLength() const { return recorded_; }
    // The list item to select after the last line added.
    std::optional<std::size_t> Selection() const { return selection_; }

  private:
    bool Room(bool press) const;
    void EnsureModeLine();
    void Place(std::string line);
    void AddDelay(std::uint32_t nowMs);
    bool StopCheck() const;

    MacroScript& script_;
    RecorderKeyTables keys_;
    RecordingOptions options_;
    int total_;
    int recorded_;
    std::size_t insertPosition_;
    std::optional<std::uint32_t> lastEventTick_;
    int lastKey_ = -1;
    int keysDown_ = 0;
    bool stopRequest_ = false;
    std::optional<std::size_t> selection_;
};

}  // namespace kelv::macros
