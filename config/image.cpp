#include "config/image.h"

#include "keys/codes.h"

namespace kelv::config {

ConfigImage::ConfigImage() {
    RebuildCodes();
}

void ConfigImage::SetPageProfile(const ProfileSection& section) {
    pageProfile_ = section;
    RebuildCodes();
}

void ConfigImage::SetKeySlot(int p, int k, const KeySlotBytes& code) {
    if (p < 0 || p >= kProfileCount || k < 0 || k >= kKeySlotCount) return;
    config::SetKeySlot(pageProfile_, p, k, code);
    profileCodes_[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)] =
        keys::FormatCodeText(code);
}

bool ConfigImage::SetKeySlotText(int p, int k, std::string_view text) {
    if (p < 0 || p >= kProfileCount || k < 0 || k >= kKeySlotCount) return false;
    const auto code = keys::ParseCodeText(text);
    if (!code) return false;
    SetKeySlot(p, k, *code);
    return true;
}

void ConfigImage::ProfileChecksumPage() {
    ProfileChecksum(pageProfile_);
}

const std::string& ConfigImage::ProfileCode(int p, int k) const {
    static const std::string kNone;
    if (p < 0 || p >= kProfileCount || k < 0 || k >= kKeySlotCount) return kNone;
    return profileCodes_[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)];
}

void ConfigImage::LoadPagesFromDevice() {
    pageParameter_ = parameterBuffer_;
    SetPageProfile(profileBuffer_);
}

void ConfigImage::StorePagesToDevice(StorageKind storage) {
    ApplyStorageMarker(pageParameter_, storage);
    ParameterChecksum(pageParameter_);
    parameterBuffer_ = pageParameter_;
    ProfileChecksum(pageProfile_);
    profileBuffer_ = pageProfile_;
}

void ConfigImage::DeviceFromDefaults() {
    parameterBuffer_ = defaultParameter_;
    profileBuffer_ = defaultProfile_;
}

void ConfigImage::RebuildCodes() {
    for (int p = 0; p < kProfileCount; ++p)
        for (int k = 0; k < kKeySlotCount; ++k)
            profileCodes_[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)] =
                keys::FormatCodeText(config::KeySlot(pageProfile_, p, k));
}

}  // namespace kelv::config
