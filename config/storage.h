// Which kind of macro storage an image, a file or a mouse belongs to. Header-only so that the
// key naming can use it without linking the configuration library.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelv::config {

// I2C: the packed 512-byte macro area (layouts A and B). Flash: 32 pages plus a name table
// (layout C). None: not known (no mouse identified, or an image of another kind).
enum class StorageKind { None, I2C, Flash };

inline constexpr std::uint8_t kI2CStorageMarker = 0xE0;
inline constexpr std::uint8_t kFlashStorageMarker = 0xF0;

// The text the storage kinds are shown and compared as: "I2C", "Flash" or "".
constexpr std::string_view StorageText(StorageKind kind) {
    switch (kind) {
        case StorageKind::I2C:
            return "I2C";
        case StorageKind::Flash:
            return "Flash";
        case StorageKind::None:
            break;
    }
    return "";
}

// Byte 0 of an image or a profile file: 0xE0 I2C, 0xF0 Flash, anything else None.
constexpr StorageKind StorageFromMarker(std::uint8_t marker) {
    if (marker == kI2CStorageMarker) return StorageKind::I2C;
    if (marker == kFlashStorageMarker) return StorageKind::Flash;
    return StorageKind::None;
}

// The marker an image is stored with: known kinds set theirs, None keeps the current byte.
constexpr std::uint8_t StorageMarkerFor(StorageKind kind, std::uint8_t current) {
    if (kind == StorageKind::I2C) return kI2CStorageMarker;
    if (kind == StorageKind::Flash) return kFlashStorageMarker;
    return current;
}

// Bits 7-6 of the parameter byte `ModeFlags` on a Flash-chip mouse: 10 I2C, 11 Flash.
constexpr StorageKind StorageFromModeFlags(std::uint8_t modeFlags) {
    switch (modeFlags >> 6) {
        case 2:
            return StorageKind::I2C;
        case 3:
            return StorageKind::Flash;
        default:
            return StorageKind::None;
    }
}

}  // namespace kelv::config
