#include "device/device_link.h"

#include <algorithm>

namespace kelv::device {

std::string_view LayoutName(Layout layout) {
    switch (layout) {
        case Layout::A:
            return "A";
        case Layout::B:
            return "B";
        case Layout::C:
            return "C";
        case Layout::None:
            break;
    }
    return "";
}

DeviceIds DeviceIdsFromImage(std::span<const std::uint8_t> image) {
    if (image.size() < 6) return {};
    return {static_cast<std::uint16_t>(image[2] << 8 | image[3]),
            static_cast<std::uint16_t>(image[4] << 8 | image[5])};
}

std::string ImageStorageFromImage(std::span<const std::uint8_t> image) {
    if (image.empty()) return "";
    if (image[0] == 0xE0) return std::string(kStorageI2c);
    if (image[0] == 0xF0) return std::string(kStorageFlash);
    return "";
}

std::string ChipStorageFromByte(std::uint8_t storage) {
    if (storage == 0x80) return std::string(kStorageFlash);
    if (storage == 0xC0) return std::string(kStorageI2c);
    return "";
}

std::string MacroStorageFromModeFlags(std::uint8_t modeFlags) {
    switch (modeFlags >> 6) {
        case 2:
            return std::string(kStorageI2c);
        case 3:
            return std::string(kStorageFlash);
        default:
            return "";
    }
}

Layout LayoutFor(std::string_view chipStorage, std::string_view macroStorage) {
    if (chipStorage == kStorageI2c) return Layout::A;
    if (chipStorage == kStorageFlash && macroStorage == kStorageI2c) return Layout::B;
    if (chipStorage == kStorageFlash && macroStorage == kStorageFlash) return Layout::C;
    return Layout::None;
}

std::optional<int> KeyMenuHeightForChip(std::uint8_t chipType) {
    switch (chipType) {
        case 1:
            return 146;
        case 4:
        case 16:
        case 17:
        case 22:
            return 170;
        default:
            return std::nullopt;
    }
}

const res::StringTable& EnglishLinkTexts() {
    static const res::MapStringTable texts{
        {"Str100", "No Device Found"},
        {"Str101", "Please check your device is attached to USB port"},
        {"Str102", "KELV731xData.bin file type error"},
    };
    return texts;
}

namespace {

constexpr std::size_t Chunks(std::size_t length) {
    return (length + kDataBytesPerReport - 1) / kDataBytesPerReport;
}

// Clears a flag on every way out, so a throwing listener cannot wedge the timer.
class FlagGuard {
  public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

  private:
    bool& flag_;
};

}  // namespace

DeviceLink::DeviceLink(HidPort& port, Clock& clock, Host& host, const res::StringTable& texts)
    : port_(port), clock_(clock), host_(host), texts_(&texts) {}

void DeviceLink::SetDefaultImage(std::span<const std::uint8_t> image) {
    ids_ = DeviceIdsFromImage(image);
    imageStorage_ = ImageStorageFromImage(image);
}

// --- Discovery and presence ---

int DeviceLink::CountHidInterfaces() {
    int count = 0;
    for (const std::string& path : port_.ListInterfaces()) {
        if (port_.Open(path)) ++count;  // closed again at once
    }
    return count;
}

bool DeviceLink::OpenDevice(std::uint16_t vendorId, std::uint16_t productId,
                            std::uint16_t& versionNumber) {
    // A search replaces whatever the link held; the old handles close as they are replaced.
    DropHandles();
    bool found = false;
    for (const std::string& path : port_.ListInterfaces()) {
        HidHandle handle = port_.Open(path);
        if (!handle) continue;
        HidAttributes attributes;
        std::uint16_t length = 0;
        if (!handle->GetAttributes(attributes) || !handle->GetFeatureReportLength(length)) {
            continue;
        }
        if (length != kReportLength) continue;
        if (attributes.vendorId != vendorId || attributes.productId != productId) continue;
        found = true;
        versionNumber = attributes.release;
        ids_ = {vendorId, productId};
        featureLength_ = static_cast<std::uint16_t>(kReportLength);

        const Report probe{kCommandReportId, command::kDeviceInfo, 0, 0, 0, 0, 0, 0};
        if (handle->SetFeature(probe)) commandHandle_ = handle;
        Report fetch{kDataReportId, 0, 0, 0, 0, 0, 0, 0};
        if (handle->GetFeature(fetch)) dataHandle_ = handle;
        // A handle neither probe kept closes here.
    }
    if (found && !Connected()) {
        // Half a link can neither read nor identify the mouse; treat it as not found.
        DropHandles();
    }
    return found && Connected();
}

void DeviceLink::DevTimerTimer() {
    if (!devTimerRunning_ || timerBusy_) return;
    FlagGuard busy(timerBusy_);

    int agreeing = 0;
    int count = 0;
    for (int i = 0; i < 5; ++i) {
        const int a = CountHidInterfaces();
        const int b = CountHidInterfaces();
        if (a == b) ++agreeing;
        count = a;
    }
    if (count == lastHidCount_ || agreeing < 2) return;

    if (count < lastHidCount_) {
        DeviceLost();
    } else {
        for (int step = 0; step < 21; ++step) {
            clock_.SleepMicros(100000);
            host_.PumpMessages();
        }
        std::uint16_t version = 0;
        if (OpenDevice(ids_.vendorId, ids_.productId, version)) {
            ReadDevInfo();
        } else {
            DeviceLost();
        }
    }
    lastHidCount_ = count;
}

bool DeviceLink::ReFindDev() {
    DropHandles();
    std::uint16_t version = 0;
    if (OpenDevice(ids_.vendorId, ids_.productId, version)) {
        ReadDevInfo();
        return true;
    }
    DeviceLost();
    return false;
}

void DeviceLink::DeviceLost() {
    if (listener_) listener_->DeviceLost();
    chipStorage_.clear();
    macroStorage_.clear();
    // Dropped before the notice: the notice is modal and pumps messages, and a search that
    // runs meanwhile must not have its fresh handles dropped afterwards.
    DropHandles();
    host_.ShowMessage(texts_->Text("Str100") + "\r" + texts_->Text("Str101"));
}

void DeviceLink::CloseDevice() {
    DropHandles();
}

void DeviceLink::DropHandles() {
    commandHandle_.reset();
    dataHandle_.reset();
}

// --- Identity ---

DevInfoResult DeviceLink::ReadDevInfo() {
    // A previous mouse's answer must not decide this one's layout.
    chipStorage_.clear();
    macroStorage_.clear();
    if (!SendCommand(command::kDeviceInfo, 0, 0, 0, 0)) return DevInfoResult::CommandRefused;
    ReadData();
    chipType_ = replyBuffer_[3];
    if (auto height = KeyMenuHeightForChip(chipType_); height && listener_) {
        listener_->KeyMenuHeightChanged(*height);
    }

    bool mismatch = false;
    const std::uint8_t storage = replyBuffer_[2];
    if (storage == 0x80) {
        chipStorage_ = std::string(kStorageFlash);
        std::array<std::uint8_t, 1> modeFlags{};
        ReadSection(0, 6, 1, modeFlags);
        macroStorage_ = MacroStorageFromModeFlags(modeFlags[0]);
        if (macroStorage_.empty()) return DevInfoResult::UnknownMacroStorage;
        mismatch = (macroStorage_ == kStorageI2c && imageStorage_ == kStorageFlash) ||
                   (macroStorage_ == kStorageFlash && imageStorage_ == kStorageI2c);
    } else if (storage == 0xC0) {
        chipStorage_ = std::string(kStorageI2c);
        mismatch = imageStorage_ == kStorageFlash;
    } else {
        return DevInfoResult::UnknownChipStorage;
    }

    if (mismatch) {
        host_.ShowMessage(texts_->Text("Str102"));
        if (listener_) listener_->StorageMismatch();
        return DevInfoResult::Mismatch;
    }
    if (listener_) listener_->ReadCycleRequested();
    return DevInfoResult::Accepted;
}

// --- Report exchange ---

bool DeviceLink::SetFeatureReport(const HidHandle& handle, const Report& report) {
    return handle && handle->SetFeature(report);
}

bool DeviceLink::GetFeatureReport(const HidHandle& handle, Report& report) {
    return handle && handle->GetFeature(report);
}

bool DeviceLink::SendCommand(std::uint8_t code, std::uint8_t a, std::uint8_t b, std::uint8_t c,
                             std::uint8_t d) {
    if (!commandHandle_) return false;
    reportBuffer_ = {kCommandReportId, code, a, b, c, d, 0, 0};
    return SetFeatureReport(commandHandle_, reportBuffer_);
}

bool DeviceLink::SendData(std::uint8_t d0, std::uint8_t d1, std::uint8_t d2, std::uint8_t d3,
                          std::uint8_t d4, std::uint8_t d5, std::uint8_t d6) {
    if (!dataHandle_) return false;
    reportBuffer_ = {kDataReportId, d0, d1, d2, d3, d4, d5, d6};
    return SetFeatureReport(dataHandle_, reportBuffer_);
}

void DeviceLink::ReadData() {
    replyBuffer_.fill(0xFF);
    if (!dataHandle_) return;
    reportBuffer_ = {kDataReportId, 0, 0, 0, 0, 0, 0, 0};
    if (!GetFeatureReport(dataHandle_, reportBuffer_)) return;
    std::copy(reportBuffer_.begin() + 1, reportBuffer_.end(), replyBuffer_.begin());
    MicroDelay(kFetchPauseMicros);
}

// --- Section transfers ---

bool DeviceLink::WritePiece(const Report& report) {
    if (!commandHandle_) return false;
    BusyAndPump();
    reportBuffer_ = report;
    const bool accepted = SetFeatureReport(commandHandle_, reportBuffer_);
    clock_.SleepMicros(kPieceWaitMicros);  // the mouse stores the change meanwhile
    host_.HideBusy();
    host_.PumpMessages();
    return accepted;
}

bool DeviceLink::WriteParameterPiece(std::uint8_t offset, std::uint8_t d0, std::uint8_t d1,
                                     std::uint8_t d2, std::uint8_t count) {
    return WritePiece({kCommandReportId, command::kWritePiece, 0, offset, d0, d1, d2, count});
}

bool DeviceLink::WriteProfilePiece(std::uint8_t offset, std::uint8_t d0, std::uint8_t d1,
                                   std::uint8_t d2, std::uint8_t d3) {
    return WritePiece({kCommandReportId, command::kWritePiece, 1, offset, d0, d1, d2, d3});
}

bool DeviceLink::ReadSection(std::uint8_t section, std::uint8_t offset, std::uint8_t length,
                             std::span<std::uint8_t> destination) {
    return ReadSectionImpl(section, offset, length, destination, false);
}

bool DeviceLink::ReadSectionBusy(std::uint8_t section, std::uint8_t offset, std::uint8_t length,
                                 std::span<std::uint8_t> destination) {
    return ReadSectionImpl(section, offset, length, destination, true);
}

bool DeviceLink::ReadSectionImpl(std::uint8_t section, std::uint8_t offset, std::uint8_t length,
                                 std::span<std::uint8_t> destination, bool busy) {
    std::fill(destination.begin(), destination.end(), std::uint8_t{0xFF});
    replyBuffer_.fill(0xFF);
    if (!SendCommand(command::kReadSection, section, offset, 0, length)) return false;
    const std::size_t wanted = std::min<std::size_t>(length, destination.size());
    for (std::size_t k = 0; k < Chunks(length); ++k) {
        if (busy) BusyAndPump();
        ReadData();
        const std::size_t begin = k * kDataBytesPerReport;
        for (std::size_t i = 0; i < kDataBytesPerReport && begin + i < wanted; ++i) {
            destination[begin + i] = replyBuffer_[i];
        }
    }
    return true;
}

bool DeviceLink::WriteSection(std::uint8_t section, std::uint8_t offset, std::uint8_t length,
                              std::span<const std::uint8_t> source) {
    replyBuffer_.fill(0xFF);
    if (!commandHandle_) return false;
    // Bytes past the length (or past the source) go as 0; section 0 tells the mouse how many
    // of the three are real, so the last piece never writes past the section.
    const std::size_t valid = std::min<std::size_t>(length, source.size());
    auto at = [&](std::size_t i) -> std::uint8_t { return i < valid ? source[i] : 0; };
    if (section == 0) {
        for (std::size_t k = 0; 3 * k < length; ++k) {
            BusyAndPump();
            const std::size_t i = 3 * k;
            const auto count = static_cast<std::uint8_t>(std::min<std::size_t>(3, length - i));
            reportBuffer_ = {kCommandReportId,
                             command::kWritePiece,
                             0,
                             static_cast<std::uint8_t>(offset + i),
                             at(i),
                             at(i + 1),
                             at(i + 2),
                             count};
            SetFeatureReport(commandHandle_, reportBuffer_);
        }
    } else if (section == 1) {
        for (std::size_t k = 0; 4 * k < length; ++k) {
            BusyAndPump();
            const std::size_t i = 4 * k;
            reportBuffer_ = {kCommandReportId,
                             command::kWritePiece,
                             1,
                             static_cast<std::uint8_t>(offset + i),
                             at(i),
                             at(i + 1),
                             at(i + 2),
                             at(i + 3)};
            SetFeatureReport(commandHandle_, reportBuffer_);
        }
    }
    return true;
}

// --- Memory transfers ---

bool DeviceLink::ReadMemory(std::uint16_t address, std::uint16_t length,
                            std::span<std::uint8_t> destination) {
    if (!SendCommand(command::kReadMemory, static_cast<std::uint8_t>(address >> 8),
                     static_cast<std::uint8_t>(address & 0xFF),
                     static_cast<std::uint8_t>(length >> 8),
                     static_cast<std::uint8_t>(length & 0xFF))) {
        return false;
    }
    const std::size_t wanted = std::min<std::size_t>(length, destination.size());
    for (std::size_t k = 0; k < Chunks(length); ++k) {
        BusyAndPump();
        ReadData();
        const std::size_t begin = k * kDataBytesPerReport;
        for (std::size_t i = 0; i < kDataBytesPerReport && begin + i < wanted; ++i) {
            destination[begin + i] = replyBuffer_[i];
        }
    }
    return true;
}

bool DeviceLink::WriteMemory(std::uint16_t address, std::uint16_t length,
                             std::span<const std::uint8_t> source) {
    replyBuffer_.fill(0xFF);
    if (!SendCommand(command::kWriteMemory, static_cast<std::uint8_t>(address >> 8),
                     static_cast<std::uint8_t>(address & 0xFF),
                     static_cast<std::uint8_t>(length >> 8),
                     static_cast<std::uint8_t>(length & 0xFF))) {
        return false;
    }
    const std::size_t valid = std::min<std::size_t>(length, source.size());
    auto at = [&](std::size_t i) -> std::uint8_t { return i < valid ? source[i] : 0; };
    for (std::size_t k = 0; k < Chunks(length); ++k) {
        BusyAndPump();
        const std::size_t i = k * kDataBytesPerReport;
        SendData(at(i), at(i + 1), at(i + 2), at(i + 3), at(i + 4), at(i + 5), at(i + 6));
    }
    return true;
}

void DeviceLink::MicroDelay(std::uint64_t micros) {
    const std::uint64_t start = clock_.NowMicros();
    for (;;) {
        const std::uint64_t elapsed = clock_.NowMicros() - start;
        if (elapsed >= micros) return;
        clock_.SleepMicros(micros - elapsed);
    }
}

void DeviceLink::BusyAndPump() {
    host_.ShowBusy();
    host_.PumpMessages();
}

}  // namespace kelv::device
