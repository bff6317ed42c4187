// Fakes shared by the device tests: a clock that only moves when asked to wait, a host and a
// listener that write down what the link did, and a small default image.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/host.h"
#include "device/virtual_mouse.h"

namespace kelv::device::testing {

class FakeClock : public Clock {
  public:
    std::uint64_t NowMicros() override { return now; }
    void SleepMicros(std::uint64_t micros) override {
        now += micros;
        sleeps.push_back(micros);
        if (events) events->push_back("sleep " + std::to_string(micros));
    }
    std::uint64_t now = 1000;
    std::vector<std::uint64_t> sleeps;
    std::vector<std::string>* events = nullptr;  // interleaves sleeps with host events
};

class RecordingHost : public Host {
  public:
    void PumpMessages() override {
        events.push_back("pump");
        if (onPump) onPump();
    }
    void ShowBusy() override { events.push_back("busy"); }
    void HideBusy() override { events.push_back("hide"); }
    void ShowMessage(const std::string& text) override {
        events.push_back("message");
        messages.push_back(text);
        if (onMessage) onMessage();
    }
    int Count(const std::string& event) const {
        int n = 0;
        for (const auto& e : events) n += e == event;
        return n;
    }
    std::vector<std::string> events;
    std::vector<std::string> messages;
    std::function<void()> onPump;
    std::function<void()> onMessage;
};

class RecordingListener : public LinkListener {
  public:
    void DeviceLost() override { events.push_back("lost"); }
    void ReadCycleRequested() override { events.push_back("read"); }
    void StorageMismatch() override { events.push_back("mismatch"); }
    void KeyMenuHeightChanged(int pixels) override {
        events.push_back("height " + std::to_string(pixels));
    }
    std::vector<std::string> events;
};

inline constexpr std::uint16_t kVendor = 0xF731;
inline constexpr std::uint16_t kProduct = 0x7307;

// A 768-byte image like the shipped one: storage marker, IDs, mode flags 0xBF, and distinct
// bytes everywhere else so that misplaced copies show.
inline std::vector<std::uint8_t> TestImage(std::uint8_t marker = 0xE0) {
    std::vector<std::uint8_t> image(768);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    image[0] = marker;
    image[2] = kVendor >> 8;
    image[3] = kVendor & 0xFF;
    image[4] = kProduct >> 8;
    image[5] = kProduct & 0xFF;
    image[6] = 0xBF;
    return image;
}

// The link, a virtual mouse and everything around them.
struct Rig {
    explicit Rig(VirtualMouseOptions options = {}, std::vector<std::uint8_t> img = TestImage())
        : image(std::move(img)),
          mouse(clock, image, std::move(options)),
          port(&mouse),
          link(port, clock, host, EnglishLinkTexts()) {
        link.SetListener(&listener);
        link.SetDefaultImage(image);
    }
    bool Open() {
        std::uint16_t version = 0;
        return link.OpenDevice(kVendor, kProduct, version);
    }
    // Reports the mouse received since the last ClearLog, as sent.
    std::vector<Report> Sent() const {
        std::vector<Report> sent;
        for (const auto& e : mouse.Log()) {
            if (!e.get) sent.push_back(e.request);
        }
        return sent;
    }
    int Fetches() const {
        int n = 0;
        for (const auto& e : mouse.Log()) n += e.get;
        return n;
    }

    std::vector<std::uint8_t> image;
    FakeClock clock;
    RecordingHost host;
    RecordingListener listener;
    VirtualMouse mouse;
    VirtualHidPort port;
    DeviceLink link;
};

}  // namespace kelv::device::testing
