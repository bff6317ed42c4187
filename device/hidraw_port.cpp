#include "device/hidraw_port.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "device/report_descriptor.h"

namespace kelv::device {

namespace fs = std::filesystem;

namespace {

class RealSyscalls : public HidrawSyscalls {
  public:
    int Open(const std::string& path, int flags) override { return ::open(path.c_str(), flags); }
    int Close(int fd) override { return ::close(fd); }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        return ::ioctl(fd, request, argument);
    }
};

std::string ReadSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Uevent {
    bool hasId = false;
    unsigned bus = 0;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    std::string name;
};

Uevent ParseUevent(const std::string& text) {
    Uevent event;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("HID_ID=", 0) == 0) {
            unsigned bus = 0;
            unsigned short vendor = 0;
            unsigned short product = 0;
            // Vendor and product are 32-bit fields in the text; %hx keeps their low 16 bits.
            if (std::sscanf(line.c_str() + 7, "%x:%hx:%hx", &bus, &vendor, &product) == 3) {
                event.hasId = true;
                event.bus = bus;
                event.vendor = vendor;
                event.product = product;
            }
        } else if (line.rfind("HID_NAME=", 0) == 0) {
            event.name = line.substr(9);
        }
    }
    return event;
}

// hidrawN -> N, for numeric order; other names sort after.
long NodeNumber(const std::string& name) {
    if (name.rfind("hidraw", 0) != 0 || name.size() == 6) return -1;
    long n = 0;
    for (char c : name.substr(6)) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
        if (n > 1000000) return -1;
    }
    return n;
}

// bcdDevice of the USB device the HID device hangs off (two levels up in sysfs); 0 if none.
std::uint16_t ReleaseFromSysfs(const fs::path& hidDeviceLink) {
    std::error_code ec;
    fs::path dir = fs::canonical(hidDeviceLink, ec);
    if (ec) return 0;
    for (int up = 0; up < 3 && dir.has_parent_path() && dir != dir.root_path(); ++up) {
        dir = dir.parent_path();
        const std::string text = ReadSmallFile(dir / "bcdDevice");
        if (!text.empty()) {
            unsigned value = 0;
            if (std::sscanf(text.c_str(), "%x", &value) == 1 && value <= 0xFFFF) {
                return static_cast<std::uint16_t>(value);
            }
            return 0;
        }
    }
    return 0;
}

std::uint16_t FeatureLengthFromSysfs(const fs::path& hidDeviceLink) {
    const std::string bytes = ReadSmallFile(hidDeviceLink / "report_descriptor");
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return FeatureReportByteLength({data, bytes.size()});
}

class HidrawDevice : public HidDevice {
  public:
    HidrawDevice(HidrawSyscalls& sys, int fd, fs::path sysfsDevice)
        : sys_(sys), fd_(fd), sysfsDevice_(std::move(sysfsDevice)) {}
    ~HidrawDevice() override { sys_.Close(fd_); }
    HidrawDevice(const HidrawDevice&) = delete;
    HidrawDevice& operator=(const HidrawDevice&) = delete;

    bool GetAttributes(HidAttributes& out) override {
        hidraw_devinfo info{};
        if (Call(HIDIOCGRAWINFO, &info) < 0) return false;
        out.vendorId = static_cast<std::uint16_t>(info.vendor);
        out.productId = static_cast<std::uint16_t>(info.product);
        out.release = ReleaseFromSysfs(sysfsDevice_);
        return true;
    }

    bool GetFeatureReportLength(std::uint16_t& out) override {
        out = FeatureLengthFromSysfs(sysfsDevice_);
        return out != 0;
    }

    bool SetFeature(const Report& report) override {
        Report buffer = report;
        return Call(HIDIOCSFEATURE(kReportLength), buffer.data()) ==
               static_cast<int>(kReportLength);
    }

    bool GetFeature(Report& report) override {
        Report buffer = report;
        const int got = Call(HIDIOCGFEATURE(kReportLength), buffer.data());
        if (got < 1 || got > static_cast<int>(kReportLength)) return false;
        report = buffer;
        return true;
    }

  private:
    int Call(unsigned long request, void* argument) {
        int result;
        do {
            result = sys_.Ioctl(fd_, request, argument);
        } while (result < 0 && errno == EINTR);
        return result;
    }

    HidrawSyscalls& sys_;
    int fd_;
    fs::path sysfsDevice_;
};

}  // namespace

HidrawSyscalls& RealHidrawSyscalls() {
    static RealSyscalls sys;
    return sys;
}

HidrawPort::HidrawPort(HidrawRoots roots, HidrawSyscalls& sys)
    : roots_(std::move(roots)), sys_(sys) {}

std::vector<std::string> HidrawPort::ListInterfaces() {
    std::vector<std::pair<long, std::string>> nodes;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(roots_.sysfs) / "class" / "hidraw", ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const long n = NodeNumber(name);
        if (n >= 0) nodes.emplace_back(n, name);
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<std::string> paths;
    for (const auto& node : nodes) paths.push_back((fs::path(roots_.dev) / node.second).string());
    return paths;
}

std::unique_ptr<HidDevice> HidrawPort::Open(const std::string& path) {
    int fd;
    do {
        fd = sys_.Open(path, O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    const fs::path sysfsDevice =
        fs::path(roots_.sysfs) / "class" / "hidraw" / fs::path(path).filename() / "device";
    return std::make_unique<HidrawDevice>(sys_, fd, sysfsDevice);
}

std::vector<HidInterfaceInfo> HidrawPort::Describe() {
    std::vector<HidInterfaceInfo> rows;
    for (const std::string& path : ListInterfaces()) {
        const fs::path device =
            fs::path(roots_.sysfs) / "class" / "hidraw" / fs::path(path).filename() / "device";
        const Uevent event = ParseUevent(ReadSmallFile(device / "uevent"));
        HidInterfaceInfo row;
        row.path = path;
        row.name = event.name;
        row.attributes.vendorId = event.vendor;
        row.attributes.productId = event.product;
        row.attributes.release = ReleaseFromSysfs(device);
        row.featureReportLength = FeatureLengthFromSysfs(device);
        row.openable = Open(path) != nullptr;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace kelv::device
