// Window-side services behind small interfaces, so tests can answer message boxes and run the
// device link's waits without real time passing.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "device/host.h"

class QWidget;

namespace kelv::app {

// Modal notices: OK only, no icon, captioned with the application title.
class Prompt {
  public:
    virtual ~Prompt() = default;
    virtual void Message(const QString& caption, const QString& text) = 0;
};

class MessageBoxPrompt : public Prompt {
  public:
    explicit MessageBoxPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Message(const QString& caption, const QString& text) override;

  private:
    QWidget* parent_;
};

// Remembers every notice instead of showing it.
class RecordingPrompt : public Prompt {
  public:
    void Message(const QString&, const QString& text) override { messages.push_back(text); }
    std::vector<QString> messages;
};

// Monotonic time; waits of 10 ms or more keep the event loop running (the busy animation and
// the timers go on), shorter ones just sleep.
class QtClock : public device::Clock {
  public:
    std::uint64_t NowMicros() override;
    void SleepMicros(std::uint64_t micros) override;
};

// Time that passes only when someone waits; nothing really sleeps.
class FakeClock : public device::Clock {
  public:
    std::uint64_t NowMicros() override { return now; }
    void SleepMicros(std::uint64_t micros) override {
        now += micros;
        if (onSleep) onSleep();
    }
    std::uint64_t now = 1;
    std::function<void()> onSleep;  // lets a test look at the window while the link waits
};

}  // namespace kelv::app
