// What the device link needs from its surroundings: time, and the window-side services it uses
// while a transfer runs. The application plugs in Qt; tests plug in fakes that never wait.
#pragma once

#include <cstdint>
#include <string>

namespace kelv::device {

class Clock {
  public:
    virtual ~Clock() = default;
    // Monotonic time in microseconds.
    virtual std::uint64_t NowMicros() = 0;
    // Waits at least the given time; may sleep rather than spin.
    virtual void SleepMicros(std::uint64_t micros) = 0;
};

// The machine's monotonic clock.
class SystemClock : public Clock {
  public:
    std::uint64_t NowMicros() override;
    void SleepMicros(std::uint64_t micros) override;
};

// Window-side services. The defaults do nothing, which is what a command-line tool wants.
class Host {
  public:
    virtual ~Host() = default;
    // Serves pending window events while the link waits.
    virtual void PumpMessages() {}
    virtual void ShowBusy() {}
    virtual void HideBusy() {}
    // A modal notice (OK only) with a text already looked up in the language table.
    virtual void ShowMessage(const std::string& /*text*/) {}
};

}  // namespace kelv::device
