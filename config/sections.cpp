#include "config/sections.h"

#include <algorithm>

namespace kelv::config {
namespace {

bool ValidLevel(int level) {
    return level >= 1 && level <= kDpiLevelMax;
}
bool ValidColour(int c) {
    return c >= 0 && c < kLedColourCount;
}
bool ValidSlot(int p, int k) {
    return p >= 0 && p < kProfileCount && k >= 0 && k < kKeySlotCount;
}

std::uint8_t Nibble(std::uint8_t byte, bool high) {
    return high ? static_cast<std::uint8_t>(byte >> 4) : static_cast<std::uint8_t>(byte & 0x0F);
}

void SetNibble(std::uint8_t& byte, bool high, std::uint8_t value) {
    value &= 0x0F;
    byte = high ? static_cast<std::uint8_t>((byte & 0x0F) | (value << 4))
                : static_cast<std::uint8_t>((byte & 0xF0) | value);
}

std::uint16_t BigEndian(const ParameterSection& p, std::size_t at) {
    return static_cast<std::uint16_t>(p[at] << 8 | p[at + 1]);
}

void SetBigEndian(ParameterSection& p, std::size_t at, std::uint16_t value) {
    p[at] = static_cast<std::uint8_t>(value >> 8);
    p[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

std::uint8_t SectionChecksum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    return static_cast<std::uint8_t>((sum & 0xFF) ^ 0x5A);
}

void ParameterChecksum(ParameterSection& section) {
    section[param::kChecksum] = SectionChecksum(std::span(section).first(param::kChecksum));
}

void ProfileChecksum(ProfileSection& section) {
    section[profile::kChecksum] = SectionChecksum(std::span(section).first(profile::kChecksum));
}

bool ParameterChecksumValid(const ParameterSection& section) {
    return section[param::kChecksum] == SectionChecksum(std::span(section).first(param::kChecksum));
}

bool ProfileChecksumValid(const ProfileSection& section) {
    return section[profile::kChecksum] ==
           SectionChecksum(std::span(section).first(profile::kChecksum));
}

std::uint8_t StorageMarker(const ParameterSection& p) {
    return p[param::kStorageMarker];
}
void SetStorageMarker(ParameterSection& p, std::uint8_t marker) {
    p[param::kStorageMarker] = marker;
}
void ApplyStorageMarker(ParameterSection& p, StorageKind kind) {
    p[param::kStorageMarker] = StorageMarkerFor(kind, p[param::kStorageMarker]);
}

std::uint8_t FireKeyIds(const ParameterSection& p) {
    return p[param::kFireKeyIds];
}
std::uint8_t FireKeyId(const ParameterSection& p, int fireKey) {
    return Nibble(p[param::kFireKeyIds], fireKey == 2);
}

std::uint16_t VendorId(const ParameterSection& p) {
    return BigEndian(p, param::kVendorId);
}
std::uint16_t ProductId(const ParameterSection& p) {
    return BigEndian(p, param::kProductId);
}
void SetVendorId(ParameterSection& p, std::uint16_t id) {
    SetBigEndian(p, param::kVendorId, id);
}
void SetProductId(ParameterSection& p, std::uint16_t id) {
    SetBigEndian(p, param::kProductId, id);
}

std::uint8_t ModeFlags(const ParameterSection& p) {
    return p[param::kModeFlags];
}
StorageKind ModeFlagsStorage(const ParameterSection& p) {
    return StorageFromModeFlags(p[param::kModeFlags]);
}
int ReportRateCode(const ParameterSection& p) {
    return (p[param::kModeFlags] >> 4) & 0x03;
}
void SetReportRateCode(ParameterSection& p, int code) {
    if (code < 0 || code > 3) return;
    p[param::kModeFlags] = static_cast<std::uint8_t>((p[param::kModeFlags] & 0xCF) | (code << 4));
}
int ReportRateHz(int code) {
    static constexpr int kHz[] = {125, 250, 500, 1000};
    return code >= 0 && code <= 3 ? kHz[code] : 0;
}

std::uint8_t ActiveProfile(const ParameterSection& p) {
    return p[param::kActiveProfile];
}
void SetActiveProfile(ParameterSection& p, std::uint8_t profileIndex) {
    p[param::kActiveProfile] = profileIndex;
}

LedType LedTypeOf(const ParameterSection& p) {
    switch (p[param::kLedMode] >> 6) {
        case 0:
            return LedType::RGB;
        case 1:
            return LedType::Sync;
        default:
            return LedType::NT;
    }
}

std::string_view LedTypeText(LedType type) {
    switch (type) {
        case LedType::RGB:
            return "RGB";
        case LedType::Sync:
            return "Sync";
        case LedType::NT:
            break;
    }
    return "NT";
}

int LightingMode(const ParameterSection& p) {
    return p[param::kLedMode] & 0x0F;
}
void SetLightingMode(ParameterSection& p, int mode) {
    if (mode < 0 || mode > 15) return;
    SetNibble(p[param::kLedMode], false, static_cast<std::uint8_t>(mode));
}

std::optional<int> DpiLevelCount(const ParameterSection& p) {
    const int n = Nibble(p[param::kDpiLevels], true);
    if (n >= kDpiLevelMax) return std::nullopt;
    return n + 1;
}

std::optional<int> CurrentDpiLevel(const ParameterSection& p) {
    const int n = Nibble(p[param::kDpiLevels], false);
    if (n >= kDpiLevelMax) return std::nullopt;
    return n + 1;
}

void SetDpiLevelCount(ParameterSection& p, int count) {
    if (!ValidLevel(count)) return;
    SetNibble(p[param::kDpiLevels], true, static_cast<std::uint8_t>(count - 1));
}

void SetCurrentDpiLevel(ParameterSection& p, int level) {
    if (!ValidLevel(level)) return;
    SetNibble(p[param::kDpiLevels], false, static_cast<std::uint8_t>(level - 1));
}

std::uint8_t DpiValueCode(const ParameterSection& p, int level) {
    if (!ValidLevel(level)) return kDpiCodeEmpty;
    return Nibble(p[param::DpiValueOffset(level)], level % 2 == 0);
}

void SetDpiValueCode(ParameterSection& p, int level, std::uint8_t code) {
    if (!ValidLevel(level)) return;
    SetNibble(p[param::DpiValueOffset(level)], level % 2 == 0, code);
}

int FallTimeStep(const ParameterSection& p) {
    const int value = p[param::kFallTime + 1];
    return std::clamp((value + 4) / 5, 1, 10);
}

void SetFallTimeStep(ParameterSection& p, int step) {
    if (step < 1 || step > 10) return;
    p[param::kFallTime] = p[param::kFallTime + 1] = static_cast<std::uint8_t>(5 * step);
}

Rgb LedColour(const ParameterSection& p, int c) {
    if (!ValidColour(c)) return {};
    const std::size_t at = param::LedColourOffset(c);
    return {p[at], p[at + 1], p[at + 2]};
}

void SetLedColour(ParameterSection& p, int c, Rgb colour) {
    if (!ValidColour(c)) return;
    const std::size_t at = param::LedColourOffset(c);
    p[at] = colour.r;
    p[at + 1] = colour.g;
    p[at + 2] = colour.b;
}

Rgb DpiColour(const ParameterSection& p, int level) {
    if (!ValidLevel(level)) return {};
    const std::size_t at = param::DpiColourPairOffset((level - 1) / 2);
    const bool high = level % 2 == 0;
    return {Nibble(p[at], high), Nibble(p[at + 1], high), Nibble(p[at + 2], high)};
}

void SetDpiColour(ParameterSection& p, int level, Rgb colour) {
    if (!ValidLevel(level)) return;
    const std::size_t at = param::DpiColourPairOffset((level - 1) / 2);
    const bool high = level % 2 == 0;
    SetNibble(p[at], high, colour.r);
    SetNibble(p[at + 1], high, colour.g);
    SetNibble(p[at + 2], high, colour.b);
}

std::string ProductName(const ParameterSection& p) {
    std::string name(p.begin() + param::kProductName,
                     p.begin() + param::kProductName + param::kProductNameSize);
    while (!name.empty() && name.back() == '\0') name.pop_back();
    return name;
}

KeySlotBytes KeySlot(const ProfileSection& s, int p, int k) {
    if (!ValidSlot(p, k)) return {};
    const std::size_t at = profile::KeySlotOffset(p, k);
    return {s[at], s[at + 1], s[at + 2], s[at + 3]};
}

void SetKeySlot(ProfileSection& s, int p, int k, const KeySlotBytes& code) {
    if (!ValidSlot(p, k)) return;
    const std::size_t at = profile::KeySlotOffset(p, k);
    for (std::size_t i = 0; i < 4; ++i) s[at + i] = code[i];
}

}  // namespace kelv::config
