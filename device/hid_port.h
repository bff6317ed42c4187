// The few HID operations the link needs, behind one interface so that the hidraw backend, the
// virtual mouse and test fakes are interchangeable.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelv::device {

// Every report the mouse speaks is 8 bytes, byte 0 being the report ID.
inline constexpr std::size_t kReportLength = 8;
using Report = std::array<std::uint8_t, kReportLength>;

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    // The device's release number (BCD); 0 where the platform does not tell.
    std::uint16_t release = 0;
};

// One opened HID interface. Closing is destruction. Every call fails cleanly (false) once the
// device is gone; none may block for long.
class HidDevice {
  public:
    virtual ~HidDevice() = default;
    virtual bool GetAttributes(HidAttributes& out) = 0;
    // Length in bytes of the longest feature report, report ID byte included.
    virtual bool GetFeatureReportLength(std::uint16_t& out) = 0;
    // Sends a feature report; true when the device accepted all of it.
    virtual bool SetFeature(const Report& report) = 0;
    // report[0] names the report to fetch; on success the reply (ID first) replaces the buffer.
    virtual bool GetFeature(Report& report) = 0;
};

// A row of the diagnostic listing.
struct HidInterfaceInfo {
    std::string path;
    HidAttributes attributes;
    std::uint16_t featureReportLength = 0;
    bool openable = false;
    std::string name;  // product name where the backend knows it
};

class HidPort {
  public:
    virtual ~HidPort() = default;
    // Paths of the HID interfaces present now, in enumeration order.
    virtual std::vector<std::string> ListInterfaces() = 0;
    // nullptr when the path cannot be opened.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
    // Every present interface with what can be learnt about it. The default opens each path.
    virtual std::vector<HidInterfaceInfo> Describe();
};

}  // namespace kelv::device
