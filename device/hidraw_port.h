// Linux backend of HidPort: hidraw nodes, found through sysfs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "device/hid_port.h"

namespace kelv::device {

// The system calls the backend makes, so that tests can stand in for the kernel. Return values
// and errno follow the real calls (-1 and errno on failure).
class HidrawSyscalls {
  public:
    virtual ~HidrawSyscalls() = default;
    virtual int Open(const std::string& path, int flags) = 0;
    virtual int Close(int fd) = 0;
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
};

// The real calls.
HidrawSyscalls& RealHidrawSyscalls();

struct HidrawRoots {
    std::string sysfs = "/sys";  // holds class/hidraw/hidrawN
    std::string dev = "/dev";    // holds hidrawN
};

// Paths are "<dev>/hidrawN". Vendor and product come from HIDIOCGRAWINFO; the release from the
// bcdDevice of the USB device above the HID device in sysfs (0 for other buses); the feature
// report length from the node's report_descriptor in sysfs.
class HidrawPort : public HidPort {
  public:
    explicit HidrawPort(HidrawRoots roots = {}, HidrawSyscalls& sys = RealHidrawSyscalls());
    std::vector<std::string> ListInterfaces() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    std::vector<HidInterfaceInfo> Describe() override;

  private:
    HidrawRoots roots_;
    HidrawSyscalls& sys_;
};

}  // namespace kelv::device
