#include "config/default_image.h"

#include "config/byte_copy.h"
#include "config/profile_file.h"
#include "resources/bundle.h"

namespace kelv::config {

namespace {
constexpr std::size_t kDefaultPageCount = 8;
constexpr std::size_t kDefaultPageStride = 1024;
}  // namespace

DefaultImage ParseDefaultImage(std::span<const std::uint8_t> image) {
    using detail::CopyAvailable;
    DefaultImage d;
    CopyAvailable(image, kProfileFileParameterOffset, d.parameter);
    CopyAvailable(image, kProfileFileProfileOffset, d.profile);
    d.storage = StorageFromMarker(StorageMarker(d.parameter));
    d.vendorId = VendorId(d.parameter);
    d.productId = ProductId(d.parameter);
    if (d.storage == StorageKind::I2C) {
        CopyAvailable(image, kProfileFileMacroOffset, d.macros.packedArea);
    } else if (d.storage == StorageKind::Flash) {
        CopyAvailable(image, kProfileFileMacroOffset, d.macros.nameTable);
        for (std::size_t i = 0; i < kDefaultPageCount; ++i)
            CopyAvailable(image, kProfileFilePagesOffset + kDefaultPageStride * i,
                          d.macros.pages[i]);
    }
    return d;
}

DefaultImage LoadDefaultImage() {
    return ParseDefaultImage(res::Get(kDefaultImageResource));
}

void ApplyDefaults(ConfigImage& image, const DefaultImage& defaults) {
    image.DefaultParameterSection() = defaults.parameter;
    image.DefaultProfileSection() = defaults.profile;
}

}  // namespace kelv::config
