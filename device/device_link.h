// The link to the mouse: finds it among the HID interfaces, keeps its command and data handles,
// watches devices come and go, carries the feature-report command protocol and reads the mouse's
// identity. Single-threaded; waits sleep on the injected Clock and pump the Host between steps.
// Operations return a success flag and never throw.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "device/hid_port.h"
#include "device/host.h"
#include "device/memory_map.h"
#include "resources/string_table.h"

namespace kelv::device {

// A kept interface; empty = the invalid handle. The same interface may be both handles.
using HidHandle = std::shared_ptr<HidDevice>;

inline constexpr std::uint8_t kCommandReportId = 0x40;
inline constexpr std::uint8_t kDataReportId = 0x41;
inline constexpr std::size_t kDataBytesPerReport = 7;

namespace command {
inline constexpr std::uint8_t kWritePiece = 0x05;
inline constexpr std::uint8_t kReadSection = 0x06;
inline constexpr std::uint8_t kWriteMemory = 0x07;
inline constexpr std::uint8_t kReadMemory = 0x09;
inline constexpr std::uint8_t kDeviceInfo = 0x0D;
inline constexpr std::uint8_t kRestart = 0x0E;
}  // namespace command

inline constexpr int kDevTimerIntervalMs = 3500;
inline constexpr std::uint64_t kFetchPauseMicros = 500;
inline constexpr std::uint64_t kPieceWaitMicros = 100000;

struct DeviceIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// From the default image: IDs at bytes 2..5 (big-endian), zero when the image is too short.
DeviceIds DeviceIdsFromImage(std::span<const std::uint8_t> image);
// Byte 0 of the default image: 0xE0 -> "I2C", 0xF0 -> "Flash", else "".
std::string ImageStorageFromImage(std::span<const std::uint8_t> image);
// Device-info storage byte: 0x80 -> "Flash", 0xC0 -> "I2C", else "".
std::string ChipStorageFromByte(std::uint8_t storage);
// Bits 7-6 of parameter byte 6 of a Flash-chip mouse: 10 -> "I2C", 11 -> "Flash", else "".
std::string MacroStorageFromModeFlags(std::uint8_t modeFlags);
// Layout from the two storage kinds, tested in the order A, B, C.
Layout LayoutFor(std::string_view chipStorage, std::string_view macroStorage);
// Height of the key-category menu for a chip type: 1 -> 146, 4/16/17/22 -> 170, else none.
std::optional<int> KeyMenuHeightForChip(std::uint8_t chipType);

constexpr bool TestBit(std::uint8_t value, int n) {
    return n >= 0 && n < 8 && ((value >> n) & 1u) != 0;
}
constexpr std::uint8_t SetBit(std::uint8_t value, int n) {
    return n >= 0 && n < 8 ? static_cast<std::uint8_t>(value | (1u << n)) : value;
}
constexpr std::uint8_t ClearBit(std::uint8_t value, int n) {
    return n >= 0 && n < 8 ? static_cast<std::uint8_t>(value & ~(1u << n)) : value;
}

// What the window does when the link changes state. Every method has an empty default.
class LinkListener {
  public:
    virtual ~LinkListener() = default;
    // No-device state, window side: cover the key area, close key menus, stop the caption
    // marquee, RefreshErrorAP, empty the macro lists, forget LED type, report rate and pending
    // restart. The link then clears its storage kinds, drops the handles and shows the notice.
    virtual void DeviceLost() {}
    // The identity fits this build: run the read cycle (Btn_Read).
    virtual void ReadCycleRequested() {}
    // Build and mouse disagree on the storage kind; the link has shown Str102. RefreshErrorAP.
    virtual void StorageMismatch() {}
    // New height of the key-category menu Pnl_Main (only for known chip types).
    virtual void KeyMenuHeightChanged(int /*pixels*/) {}
};

// Outcome of ReadDevInfo, for callers that want to know why nothing was read.
enum class DevInfoResult {
    Accepted,             // read cycle requested
    CommandRefused,       // no command handle or the command was not accepted
    UnknownChipStorage,   // storage byte neither 0x80 nor 0xC0
    UnknownMacroStorage,  // Flash chip whose parameter byte 6 has bits 7-6 = 00 or 01
    Mismatch,             // Str102 shown
};

class DeviceLink {
  public:
    DeviceLink(HidPort& port, Clock& clock, Host& host, const res::StringTable& texts);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    void SetListener(LinkListener* listener) { listener_ = listener; }
    // Language switch: texts are looked up when shown.
    void SetStringTable(const res::StringTable& texts) { texts_ = &texts; }

    // Start-up: DeviceIds and ImageStorage from the embedded default image.
    void SetDefaultImage(std::span<const std::uint8_t> image);

    // --- Link state ---
    const HidHandle& CommandHandle() const { return commandHandle_; }
    const HidHandle& DataHandle() const { return dataHandle_; }
    bool Connected() const { return commandHandle_ && dataHandle_; }
    std::uint16_t VendorId() const { return ids_.vendorId; }
    std::uint16_t ProductId() const { return ids_.productId; }
    std::uint16_t FeatureLength() const { return featureLength_; }
    int LastHidCount() const { return lastHidCount_; }
    bool TimerBusy() const { return timerBusy_; }
    const std::string& ImageStorage() const { return imageStorage_; }
    const std::string& ChipStorage() const { return chipStorage_; }
    const std::string& MacroStorage() const { return macroStorage_; }
    Layout CurrentLayout() const { return LayoutFor(chipStorage_, macroStorage_); }
    // Chip type of the last device-info reply (0 before any).
    std::uint8_t ChipType() const { return chipType_; }
    const Report& ReportBuffer() const { return reportBuffer_; }
    const std::array<std::uint8_t, kDataBytesPerReport>& ReplyBuffer() const {
        return replyBuffer_;
    }

    // --- Discovery and presence ---
    // Present HID interfaces that can be opened.
    int CountHidInterfaces();
    // Examines every interface; keeps the last one that accepted the command probe and the last
    // one that answered the data probe. True only when both handles are valid.
    bool OpenDevice(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t& versionNumber);
    // Handler of DevTimer (every kDevTimerIntervalMs). Does nothing while the timer is stopped.
    void DevTimerTimer();
    void StopDevTimer() { devTimerRunning_ = false; }
    void StartDevTimer() { devTimerRunning_ = true; }
    bool DevTimerRunning() const { return devTimerRunning_; }
    // Forgets the handles and searches again at once; true when the mouse was found.
    bool ReFindDev();
    // No-device state: listener, storage kinds cleared, handles dropped, Str100 "\r" Str101 shown.
    void DeviceLost();
    // Drops both handles without any notice (window closing).
    void CloseDevice();

    // --- Identity ---
    DevInfoResult ReadDevInfo();

    // --- Report exchange ---
    bool SetFeatureReport(const HidHandle& handle, const Report& report);
    bool GetFeatureReport(const HidHandle& handle, Report& report);
    bool SendCommand(std::uint8_t code, std::uint8_t a, std::uint8_t b, std::uint8_t c,
                     std::uint8_t d);
    bool SendData(std::uint8_t d0, std::uint8_t d1, std::uint8_t d2, std::uint8_t d3,
                  std::uint8_t d4, std::uint8_t d5, std::uint8_t d6);
    // ReplyBuffer := seven 0xFF, then the data bytes of one fetched data report.
    void ReadData();

    // --- Section transfers ---
    bool WriteParameterPiece(std::uint8_t offset, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                             std::uint8_t count);
    bool WriteProfilePiece(std::uint8_t offset, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                           std::uint8_t d3);
    // The destination is first filled with 0xFF; only its first `length` bytes are written.
    bool ReadSection(std::uint8_t section, std::uint8_t offset, std::uint8_t length,
                     std::span<std::uint8_t> destination);
    // As ReadSection, showing the busy pop-up and pumping before each fetch.
    bool ReadSectionBusy(std::uint8_t section, std::uint8_t offset, std::uint8_t length,
                         std::span<std::uint8_t> destination);
    bool WriteSection(std::uint8_t section, std::uint8_t offset, std::uint8_t length,
                      std::span<const std::uint8_t> source);

    // --- Memory transfers ---
    // A refused command leaves the destination as it was.
    bool ReadMemory(std::uint16_t address, std::uint16_t length,
                    std::span<std::uint8_t> destination);
    bool WriteMemory(std::uint16_t address, std::uint16_t length,
                     std::span<const std::uint8_t> source);

    // Waits at least the given time.
    void MicroDelay(std::uint64_t micros);

  private:
    bool ReadSectionImpl(std::uint8_t section, std::uint8_t offset, std::uint8_t length,
                         std::span<std::uint8_t> destination, bool busy);
    void BusyAndPump();
    // One piece write with the busy pop-up and the pause the mouse needs to store it.
    bool WritePiece(const Report& report);
    void DropHandles();

    HidPort& port_;
    Clock& clock_;
    Host& host_;
    const res::StringTable* texts_;
    LinkListener* listener_ = nullptr;

    HidHandle commandHandle_;
    HidHandle dataHandle_;
    DeviceIds ids_;
    std::uint16_t featureLength_ = 0;
    int lastHidCount_ = 0;
    bool timerBusy_ = false;
    bool devTimerRunning_ = true;
    std::string imageStorage_;
    std::string chipStorage_;
    std::string macroStorage_;
    std::uint8_t chipType_ = 0;
    Report reportBuffer_{};
    std::array<std::uint8_t, kDataBytesPerReport> replyBuffer_{};
};

// The link's English texts (Str100, Str101, Str102) for tools without language tables.
const res::StringTable& EnglishLinkTexts();

}  // namespace kelv::device
