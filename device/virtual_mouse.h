// A canned stand-in for the mouse: it answers the command protocol byte for byte from its own
// sections and memory, so the link, the tools and the tests run without hardware. Its paths
// start with "virtual:" and can never be mistaken for a hidraw node.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "device/hid_port.h"
#include "device/host.h"
#include "device/memory_map.h"

namespace kelv::device {

inline constexpr std::uint64_t kDefaultRestartMicros = 1500000;

struct VirtualMouseFaults {
    std::set<std::uint8_t> refusedCommands;  // command codes whose report is not accepted
    bool failAllFetches = false;
    int failFetchNumber = 0;      // the Nth data fetch (1-based) fails; 0 = none
    int vanishAfterReports = 0;   // leaves the bus for good after N reports; 0 = never
    bool garbageReplies = false;  // fetches answer noise
};

struct VirtualMouseOptions {
    Layout layout = Layout::A;
    std::uint8_t chipType = 4;
    // Overrides the storage byte of the device-info reply (default: from the layout).
    std::optional<std::uint8_t> storageByte;
    // Commands on one interface and data on another.
    bool separateInterfaces = false;
    std::uint64_t restartMicros = kDefaultRestartMicros;
    // Record every report in Log(); long-running demos may turn it off.
    bool keepLog = true;
    VirtualMouseFaults faults;
};

// One report as the mouse saw it.
struct VirtualExchange {
    int interface = 0;  // 0, or 1 for the data interface of a split mouse
    bool get = false;   // a fetch (GetFeature) rather than a send
    Report request{};   // what the host sent / asked for
    Report reply{};     // what the mouse answered to a fetch
    bool accepted = false;
};

class VirtualMouse {
  public:
    static constexpr std::size_t kMemorySize = 0x10000;

    // Sections and macro data from a default image (bytes 0..103, 104..248, macro data from
    // 256); missing bytes are zero. Layout B and C set bits 7-6 of parameter byte 6.
    VirtualMouse(Clock& clock, std::span<const std::uint8_t> image, VirtualMouseOptions options);

    VirtualMouseOptions& Options() { return options_; }
    const VirtualMouseOptions& Options() const { return options_; }
    VirtualMouseFaults& Faults() { return options_.faults; }

    std::array<std::uint8_t, 104>& Parameter() { return parameter_; }
    std::array<std::uint8_t, 145>& Profile() { return profile_; }
    std::vector<std::uint8_t>& Memory() { return memory_; }
    const std::array<std::uint8_t, 104>& Parameter() const { return parameter_; }
    const std::array<std::uint8_t, 145>& Profile() const { return profile_; }
    const std::vector<std::uint8_t>& Memory() const { return memory_; }
    std::uint16_t VendorId() const;   // parameter bytes 2..3
    std::uint16_t ProductId() const;  // parameter bytes 4..5

    // On the bus now (not unplugged, vanished or restarting).
    bool Present();
    void Unplug();
    void Plug();
    // Bumped whenever the mouse leaves the bus; handles from before stop working.
    std::uint64_t Generation() const { return generation_; }
    int InterfaceCount() const { return options_.separateInterfaces ? 2 : 1; }

    // The device side of one report on interface `iface`; false = not accepted.
    bool HandleSetFeature(int iface, const Report& report);
    bool HandleGetFeature(int iface, Report& report);

    const std::vector<VirtualExchange>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    int FetchCount() const { return fetches_; }

  private:
    bool Accept(int iface, const Report& report);
    void Vanish();
    void CountReport();

    Clock& clock_;
    VirtualMouseOptions options_;
    std::array<std::uint8_t, 104> parameter_{};
    std::array<std::uint8_t, 145> profile_{};
    std::vector<std::uint8_t> memory_;

    // Pending transfer after a command.
    enum class Pending { None, Fetch, MemoryWrite };
    Pending pending_ = Pending::None;
    std::vector<std::uint8_t> outgoing_;  // bytes still to be fetched
    std::size_t outgoingPos_ = 0;
    std::uint32_t writeAddress_ = 0;
    std::uint32_t writeRemaining_ = 0;

    bool unplugged_ = false;
    bool vanished_ = false;
    std::uint64_t backAtMicros_ = 0;  // restart: absent until then
    bool restarting_ = false;
    std::uint64_t generation_ = 0;
    int reports_ = 0;
    int fetches_ = 0;
    std::uint32_t noise_ = 0x2545F491u;
    std::vector<VirtualExchange> log_;
};

// Another HID interface beside the mouse: a keyboard, or a decoy with the mouse's IDs but another
// feature report length. Decoys accept every report, so choosing one would show.
struct VirtualInterface {
    std::string name;
    HidAttributes attributes;
    std::uint16_t featureReportLength = 0;
    bool openable = true;
};

// A HidPort offering the virtual mouse's interfaces ("virtual:kelv731x/0", ".../1") and any
// extra interfaces ("virtual:other/N"), in the order: extras added before the mouse, the mouse,
// extras added after. The mouse may be absent (nullptr).
class VirtualHidPort : public HidPort {
  public:
    explicit VirtualHidPort(VirtualMouse* mouse = nullptr) : mouse_(mouse) {}
    void SetMouse(VirtualMouse* mouse) { mouse_ = mouse; }
    // Returns an id for RemoveInterface. `beforeMouse` puts it ahead of the mouse in the listing.
    int AddInterface(VirtualInterface iface, bool beforeMouse = false);
    void RemoveInterface(int id);

    std::vector<std::string> ListInterfaces() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    std::vector<HidInterfaceInfo> Describe() override;
    int OpenCount() const { return opens_; }
    // Handles opened through this port and not yet closed.
    int OpenHandles() const { return *live_; }

  private:
    struct Extra {
        int id;
        bool beforeMouse;
        VirtualInterface iface;
    };
    VirtualMouse* mouse_;
    std::vector<Extra> extras_;
    int nextId_ = 0;
    int opens_ = 0;
    std::shared_ptr<int> live_ = std::make_shared<int>(0);
};

// --- Keeping a virtual mouse between runs ---
// File: magic, layout, chip type, both sections and the 64 KiB memory. Writes go to a temporary
// file in the same folder and are renamed over the old one.
bool SaveVirtualMouse(const VirtualMouse& mouse, const std::string& path, std::string& error);
// Loads into `mouse` (sections, memory, layout, chip type). A missing file gives false with
// `missing` set and no error; a short or foreign file gives false with a message naming it.
bool LoadVirtualMouse(VirtualMouse& mouse, const std::string& path, bool& missing,
                      std::string& error);

}  // namespace kelv::device
