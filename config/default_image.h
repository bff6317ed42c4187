// The embedded default image "KELV731xData": laid out like a profile file.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "config/image.h"
#include "config/sections.h"
#include "config/storage.h"

namespace kelv::config {

inline constexpr std::string_view kDefaultImageResource = "KELV731xData";

struct DefaultImage {
    ParameterSection parameter{};             // image bytes 0..103
    ProfileSection profile{};                 // image bytes 104..248
    StorageKind storage = StorageKind::None;  // `ImageStorage`, from byte 0
    std::uint16_t vendorId = 0;               // bytes 2..3, high first
    std::uint16_t productId = 0;              // bytes 4..5, high first
    // By storage: I2C fills `packedArea` from bytes 256..767; Flash fills `nameTable` from
    // 256..1279 and pages 0..7 from 1280 + 1024 i. Everything else stays zero.
    MacroData macros;
};

// Any byte span is accepted; bytes the image lacks read as zero.
DefaultImage ParseDefaultImage(std::span<const std::uint8_t> image);

// From the embedded resource; throws kelv::res::ResourceError when the build lacks it.
DefaultImage LoadDefaultImage();

// The image's sections become the image's default copies.
void ApplyDefaults(ConfigImage& image, const DefaultImage& defaults);

}  // namespace kelv::config
