#include "device/virtual_mouse.h"

#include <algorithm>

namespace kelv::device {

namespace {

constexpr std::uint8_t kCommandId = 0x40;
constexpr std::uint8_t kDataId = 0x41;
constexpr std::uint16_t kVirtualRelease = 0x0100;
constexpr const char* kMousePathPrefix = "virtual:kelv731x/";
constexpr const char* kOtherPathPrefix = "virtual:other/";

void CopyFrom(std::span<const std::uint8_t> image, std::size_t from, std::span<std::uint8_t> to) {
    for (std::size_t i = 0; i < to.size() && from + i < image.size(); ++i) to[i] = image[from + i];
}

std::uint8_t SectionChecksum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    return static_cast<std::uint8_t>((sum & 0xFF) ^ 0x5A);
}

// Counts the handles of a port that are still open.
class LiveCount {
  public:
    explicit LiveCount(std::shared_ptr<int> count) : count_(std::move(count)) { ++*count_; }
    ~LiveCount() { --*count_; }
    LiveCount(const LiveCount&) = delete;
    LiveCount& operator=(const LiveCount&) = delete;

  private:
    std::shared_ptr<int> count_;
};

// One opened interface of the virtual mouse. It dies with the mouse's generation: after a
// restart or unplug the old handle fails like a hidraw fd of a removed device.
class MouseInterface : public HidDevice {
  public:
    MouseInterface(VirtualMouse& mouse, int iface, std::shared_ptr<int> live)
        : live_(std::move(live)), mouse_(mouse), iface_(iface), generation_(mouse.Generation()) {}

    bool GetAttributes(HidAttributes& out) override {
        if (!Alive()) return false;
        out = {mouse_.VendorId(), mouse_.ProductId(), kVirtualRelease};
        return true;
    }
    bool GetFeatureReportLength(std::uint16_t& out) override {
        if (!Alive()) return false;
        out = static_cast<std::uint16_t>(kReportLength);
        return true;
    }
    bool SetFeature(const Report& report) override {
        return Alive() && mouse_.HandleSetFeature(iface_, report);
    }
    bool GetFeature(Report& report) override {
        return Alive() && mouse_.HandleGetFeature(iface_, report);
    }

  private:
    bool Alive() { return mouse_.Generation() == generation_ && mouse_.Present(); }
    LiveCount live_;
    VirtualMouse& mouse_;
    int iface_;
    std::uint64_t generation_;
};

// Any other interface: answers everything, so a link that picks it gives itself away.
class OtherInterface : public HidDevice {
  public:
    OtherInterface(VirtualInterface iface, std::shared_ptr<int> live)
        : live_(std::move(live)), iface_(std::move(iface)) {}
    bool GetAttributes(HidAttributes& out) override {
        out = iface_.attributes;
        return true;
    }
    bool GetFeatureReportLength(std::uint16_t& out) override {
        out = iface_.featureReportLength;
        return true;
    }
    bool SetFeature(const Report&) override { return true; }
    bool GetFeature(Report& report) override {
        std::fill(report.begin() + 1, report.end(), std::uint8_t{0});
        return true;
    }

  private:
    LiveCount live_;
    VirtualInterface iface_;
};

}  // namespace

VirtualMouse::VirtualMouse(Clock& clock, std::span<const std::uint8_t> image,
                           VirtualMouseOptions options)
    : clock_(clock), options_(std::move(options)), memory_(kMemorySize, 0) {
    CopyFrom(image, 0, parameter_);
    CopyFrom(image, 104, profile_);
    std::span<std::uint8_t> memory(memory_);
    switch (options_.layout) {
        case Layout::A:
            CopyFrom(image, 256, memory.subspan(0x0200, memory_map::kPackedAreaLength));
            break;
        case Layout::B:
            CopyFrom(image, 256, memory.subspan(0x4000, memory_map::kPackedAreaLength));
            break;
        case Layout::C:
            // The Flash form of the image: name table from 256, eight pages from 1280 + 1024 i.
            if (image.size() > 256) {
                CopyFrom(
                    image, 256,
                    memory.subspan(memory_map::kNameTableAddress, memory_map::kNameTableLength));
            }
            for (int i = 0; i < 8; ++i) {
                const std::size_t from = 1280 + 1024 * static_cast<std::size_t>(i);
                if (from >= image.size()) break;
                CopyFrom(image, from,
                         memory.subspan(memory_map::MacroPageAddress(i), memory_map::kBlockLength));
            }
            break;
        case Layout::None:
            break;
    }
    // The flash chip keeps its macro storage kind in bits 7-6 of parameter byte 6.
    const std::uint8_t bits = options_.layout == Layout::B   ? 0x80
                              : options_.layout == Layout::C ? 0xC0
                                                             : 0;
    if (bits != 0 && (parameter_[6] & 0xC0) != bits) {
        parameter_[6] = static_cast<std::uint8_t>((parameter_[6] & 0x3F) | bits);
        parameter_[103] = SectionChecksum(std::span(parameter_).first(103));
    }
}

std::uint16_t VirtualMouse::VendorId() const {
    return static_cast<std::uint16_t>(parameter_[2] << 8 | parameter_[3]);
}
std::uint16_t VirtualMouse::ProductId() const {
    return static_cast<std::uint16_t>(parameter_[4] << 8 | parameter_[5]);
}

bool VirtualMouse::Present() {
    if (unplugged_ || vanished_) return false;
    if (restarting_ && clock_.NowMicros() >= backAtMicros_) restarting_ = false;
    return !restarting_;
}

void VirtualMouse::Unplug() {
    if (!unplugged_) ++generation_;
    unplugged_ = true;
    pending_ = Pending::None;
}

void VirtualMouse::Plug() {
    unplugged_ = false;
    vanished_ = false;
}

void VirtualMouse::Vanish() {
    vanished_ = true;
    ++generation_;
    pending_ = Pending::None;
}

void VirtualMouse::CountReport() {
    ++reports_;
    if (options_.faults.vanishAfterReports > 0 && reports_ == options_.faults.vanishAfterReports) {
        Vanish();
    }
}

bool VirtualMouse::HandleSetFeature(int iface, const Report& report) {
    if (!Present()) return false;
    VirtualExchange entry{iface, false, report, {}, false};
    entry.accepted = Accept(iface, report);
    if (options_.keepLog) log_.push_back(entry);
    CountReport();
    return entry.accepted;
}

bool VirtualMouse::Accept(int iface, const Report& r) {
    const bool split = options_.separateInterfaces;
    const bool commandInterface = !split || iface == 0;
    const bool dataInterface = !split || iface == 1;

    if (r[0] == kDataId) {
        if (!dataInterface) return false;
        if (pending_ == Pending::MemoryWrite) {
            const std::uint32_t n = std::min<std::uint32_t>(7, writeRemaining_);
            for (std::uint32_t i = 0; i < n; ++i) {
                memory_[(writeAddress_ + i) & 0xFFFF] = r[1 + i];
            }
            writeAddress_ += n;
            writeRemaining_ -= n;
            if (writeRemaining_ == 0) pending_ = Pending::None;
        }
        return true;
    }
    if (r[0] != kCommandId || !commandInterface) return false;
    if (options_.faults.refusedCommands.count(r[1]) != 0) return false;

    const auto section = [&](std::uint8_t s) -> std::span<std::uint8_t> {
        if (s == 0) return parameter_;
        if (s == 1) return profile_;
        return {};
    };
    const std::uint32_t address = std::uint32_t{r[2]} << 8 | r[3];
    const std::uint32_t length = std::uint32_t{r[4]} << 8 | r[5];

    switch (r[1]) {
        case 0x05: {
            std::span<std::uint8_t> target = section(r[2]);
            if (target.empty()) return false;
            std::size_t count = 4;
            if (r[2] == 0) {
                count = r[7];
                if (count < 1 || count > 3) return false;
            }
            for (std::size_t i = 0; i < count && r[3] + i < target.size(); ++i) {
                target[r[3] + i] = r[4 + i];
            }
            pending_ = Pending::None;
            return true;
        }
        case 0x06: {
            std::span<std::uint8_t> source = section(r[2]);
            if (source.empty()) return false;
            outgoing_.assign(r[5], 0);
            for (std::size_t i = 0; i < outgoing_.size() && r[3] + i < source.size(); ++i) {
                outgoing_[i] = source[r[3] + i];
            }
            outgoingPos_ = 0;
            pending_ = Pending::Fetch;
            return true;
        }
        case 0x07:
            writeAddress_ = address;
            writeRemaining_ = length;
            pending_ = length > 0 ? Pending::MemoryWrite : Pending::None;
            return true;
        case 0x09:
            outgoing_.resize(length);
            for (std::uint32_t i = 0; i < length; ++i)
                outgoing_[i] = memory_[(address + i) & 0xFFFF];
            outgoingPos_ = 0;
            pending_ = Pending::Fetch;
            return true;
        case 0x0D: {
            const std::uint8_t storage = options_.storageByte.value_or(
                options_.layout == Layout::A ? std::uint8_t{0xC0} : std::uint8_t{0x80});
            outgoing_ = {0, 0, storage, options_.chipType, 0, 0, 0};
            outgoingPos_ = 0;
            pending_ = Pending::Fetch;
            return true;
        }
        case 0x0E:
            restarting_ = true;
            backAtMicros_ = clock_.NowMicros() + options_.restartMicros;
            ++generation_;
            pending_ = Pending::None;
            return true;
        default:
            return false;
    }
}

bool VirtualMouse::HandleGetFeature(int iface, Report& report) {
    if (!Present()) return false;
    ++fetches_;
    VirtualExchange entry{iface, true, report, {}, false};
    const bool dataInterface = !options_.separateInterfaces || iface == 1;
    const VirtualMouseFaults& faults = options_.faults;
    if (report[0] == kDataId && dataInterface) {
        Report reply{kDataId, 0, 0, 0, 0, 0, 0, 0};
        if (pending_ == Pending::Fetch) {
            for (std::size_t i = 0; i < 7; ++i) {
                const std::size_t at = outgoingPos_ + i;
                reply[1 + i] = at < outgoing_.size() ? outgoing_[at] : 0;
            }
            outgoingPos_ += 7;
            if (outgoingPos_ >= outgoing_.size()) pending_ = Pending::None;
        }
        if (faults.garbageReplies) {
            for (std::size_t i = 0; i < reply.size(); ++i) {
                noise_ = noise_ * 1103515245u + 12345u;
                reply[i] = static_cast<std::uint8_t>(noise_ >> 16);
            }
        }
        // A failed fetch still uses up its chunk, as a lost reply would.
        entry.accepted = !faults.failAllFetches && fetches_ != faults.failFetchNumber;
        if (entry.accepted) {
            entry.reply = reply;
            report = reply;
        }
    }
    if (options_.keepLog) log_.push_back(entry);
    CountReport();
    return entry.accepted;
}

// --- Port ---

int VirtualHidPort::AddInterface(VirtualInterface iface, bool beforeMouse) {
    const int id = nextId_++;
    extras_.push_back({id, beforeMouse, std::move(iface)});
    return id;
}

void VirtualHidPort::RemoveInterface(int id) {
    std::erase_if(extras_, [id](const Extra& e) { return e.id == id; });
}

std::vector<std::string> VirtualHidPort::ListInterfaces() {
    std::vector<std::string> paths;
    for (const Extra& e : extras_) {
        if (e.beforeMouse) paths.push_back(kOtherPathPrefix + std::to_string(e.id));
    }
    if (mouse_ && mouse_->Present()) {
        for (int i = 0; i < mouse_->InterfaceCount(); ++i) {
            paths.push_back(kMousePathPrefix + std::to_string(i));
        }
    }
    for (const Extra& e : extras_) {
        if (!e.beforeMouse) paths.push_back(kOtherPathPrefix + std::to_string(e.id));
    }
    return paths;
}

std::unique_ptr<HidDevice> VirtualHidPort::Open(const std::string& path) {
    ++opens_;
    const std::string_view p(path);
    const auto number = [&](std::string_view prefix) -> int {
        const std::string_view rest = p.substr(prefix.size());
        if (rest.empty() || rest.size() > 6) return -1;
        int n = 0;
        for (char c : rest) {
            if (c < '0' || c > '9') return -1;
            n = n * 10 + (c - '0');
        }
        return n;
    };
    if (p.starts_with(kMousePathPrefix)) {
        const int i = number(kMousePathPrefix);
        if (!mouse_ || !mouse_->Present() || i < 0 || i >= mouse_->InterfaceCount()) {
            return nullptr;
        }
        return std::make_unique<MouseInterface>(*mouse_, i, live_);
    }
    if (p.starts_with(kOtherPathPrefix)) {
        const int id = number(kOtherPathPrefix);
        for (const Extra& e : extras_) {
            if (e.id == id) {
                if (!e.iface.openable) return nullptr;
                return std::make_unique<OtherInterface>(e.iface, live_);
            }
        }
    }
    return nullptr;
}

std::vector<HidInterfaceInfo> VirtualHidPort::Describe() {
    std::vector<HidInterfaceInfo> rows = HidPort::Describe();
    for (HidInterfaceInfo& row : rows) {
        if (row.path.starts_with(kMousePathPrefix)) {
            row.name = "KELV731x virtual mouse";
            if (mouse_ && mouse_->InterfaceCount() > 1) {
                row.name += row.path.back() == '0' ? " (commands)" : " (data)";
            }
            continue;
        }
        for (const Extra& e : extras_) {
            if (row.path == kOtherPathPrefix + std::to_string(e.id)) {
                row.name = e.iface.name;
                // Unopenable interfaces still show what the system says about them.
                row.attributes = e.iface.attributes;
                row.featureReportLength = e.iface.featureReportLength;
            }
        }
    }
    return rows;
}

}  // namespace kelv::device
