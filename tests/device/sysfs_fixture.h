// Builds a sysfs-like tree of hidraw nodes in a temporary folder.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kelv::device::testing {

class SysfsFixture {
  public:
    SysfsFixture() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelv-sysfs-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(root_ / "sys" / "class" / "hidraw");
        std::filesystem::create_directories(root_ / "dev");
    }
    ~SysfsFixture() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    SysfsFixture(const SysfsFixture&) = delete;
    SysfsFixture& operator=(const SysfsFixture&) = delete;

    std::string Sysfs() const { return (root_ / "sys").string(); }
    std::string Dev() const { return (root_ / "dev").string(); }
    std::string Root() const { return root_.string(); }

    // A USB HID device: .../usb1/<port>/bcdDevice and .../<port>:1.0/<bus>:<vid>:<pid>.<n>.
    // An empty release leaves bcdDevice out (as for Bluetooth and uhid devices).
    void AddNode(const std::string& node, unsigned bus, std::uint16_t vendor, std::uint16_t product,
                 const std::string& name, const std::vector<std::uint8_t>& descriptor,
                 const std::string& release) {
        char hid[64];
        std::snprintf(hid, sizeof hid, "%04X:%04X:%04X.%04zu", bus, vendor, product, ++count_);
        const auto usb =
            root_ / "sys" / "devices" / "pci0000:00" / "usb1" / ("1-" + std::to_string(count_));
        const auto device = usb / ("1-" + std::to_string(count_) + ":1.0") / hid;
        std::filesystem::create_directories(device);
        if (!release.empty()) Write(usb / "bcdDevice", release + "\n");
        char id[64];
        std::snprintf(id, sizeof id, "HID_ID=%04X:%08X:%08X\n", bus, unsigned{vendor},
                      unsigned{product});
        Write(device / "uevent", "DRIVER=hid-generic\n" + std::string(id) + "HID_NAME=" + name +
                                     "\nHID_PHYS=usb-0000:00:14.0-1/input0\n");
        Write(device / "report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        const auto classDir = root_ / "sys" / "class" / "hidraw" / node;
        std::filesystem::create_directories(classDir);
        std::filesystem::create_directory_symlink(device, classDir / "device");
        Write(root_ / "dev" / node, "");
    }

  private:
    static void Write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::filesystem::path root_;
    std::size_t count_ = 0;
};

}  // namespace kelv::device::testing
