// The mouse's two settings sections as byte images, their checksums and typed field access.
// Every accessor reads or writes exactly its field's bits; all other bytes pass through.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/storage.h"

namespace kelv::config {

inline constexpr std::size_t kParameterSectionSize = 104;
inline constexpr std::size_t kProfileSectionSize = 145;
inline constexpr int kProfileCount = 3;
inline constexpr int kKeySlotCount = 12;
inline constexpr int kDpiLevelMax = 8;
inline constexpr int kLedColourCount = 7;

using ParameterSection = std::array<std::uint8_t, kParameterSectionSize>;
using ProfileSection = std::array<std::uint8_t, kProfileSectionSize>;
using KeySlotBytes = std::array<std::uint8_t, 4>;

// Field offsets in the parameter section; these are also the offsets of the piece writes.
namespace param {
inline constexpr std::size_t kStorageMarker = 0;
inline constexpr std::size_t kFireKeyIds = 1;
inline constexpr std::size_t kVendorId = 2;   // 2 bytes, high first
inline constexpr std::size_t kProductId = 4;  // 2 bytes, high first
inline constexpr std::size_t kModeFlags = 6;
inline constexpr std::size_t kActiveProfile = 33;
inline constexpr std::size_t kLedMode = 37;
inline constexpr std::size_t kDpiLevels = 38;
inline constexpr std::size_t kDpiValues = 39;  // 4 bytes
inline constexpr std::size_t kDpiValuesSize = 4;
inline constexpr std::size_t kFallTime = 52;  // 2 bytes
inline constexpr std::size_t kFallTimeSize = 2;
inline constexpr std::size_t kLedColours = 54;  // 7 x RGB
inline constexpr std::size_t kDpiColours = 75;  // 4 pairs x RGB
inline constexpr std::size_t kProductName = 87;
inline constexpr std::size_t kProductNameSize = 16;
inline constexpr std::size_t kChecksum = 103;

// Colour c = 0..6: its three bytes start here.
constexpr std::size_t LedColourOffset(int c) {
    return kLedColours + 3 * static_cast<std::size_t>(c);
}
// Level pair p = 0..3 (levels 2p+1 and 2p+2): its three bytes start here.
constexpr std::size_t DpiColourPairOffset(int p) {
    return kDpiColours + 3 * static_cast<std::size_t>(p);
}
// The byte of `DpiValues` holding level 1..8.
constexpr std::size_t DpiValueOffset(int level) {
    return kDpiValues + static_cast<std::size_t>(level - 1) / 2;
}
}  // namespace param

namespace profile {
inline constexpr std::size_t kProfileStride = 48;
inline constexpr std::size_t kChecksum = 144;
// Key slot k = 0..11 of profile p = 0..2.
constexpr std::size_t KeySlotOffset(int p, int k) {
    return 4 * static_cast<std::size_t>(k) + kProfileStride * static_cast<std::size_t>(p);
}
}  // namespace profile

// (sum of the bytes, modulo 256) XOR 0x5A.
std::uint8_t SectionChecksum(std::span<const std::uint8_t> bytes);
// Write byte 103 / byte 144 from the bytes before it.
void ParameterChecksum(ParameterSection& section);
void ProfileChecksum(ProfileSection& section);
bool ParameterChecksumValid(const ParameterSection& section);
bool ProfileChecksumValid(const ProfileSection& section);

// ---- parameter fields -------------------------------------------------------------------

std::uint8_t StorageMarker(const ParameterSection& p);
void SetStorageMarker(ParameterSection& p, std::uint8_t marker);
// 0xE0 for I2C, 0xF0 for Flash; None leaves the byte as it is.
void ApplyStorageMarker(ParameterSection& p, StorageKind kind);

// Identification value (0..15) of fire key 1 (low nibble) or 2 (high nibble).
std::uint8_t FireKeyIds(const ParameterSection& p);
std::uint8_t FireKeyId(const ParameterSection& p, int fireKey /* 1 or 2 */);

std::uint16_t VendorId(const ParameterSection& p);
std::uint16_t ProductId(const ParameterSection& p);
void SetVendorId(ParameterSection& p, std::uint16_t id);
void SetProductId(ParameterSection& p, std::uint16_t id);

std::uint8_t ModeFlags(const ParameterSection& p);
// Bits 7-6 as a storage kind (10 I2C, 11 Flash, else None).
StorageKind ModeFlagsStorage(const ParameterSection& p);
// Bits 5-4: 0 = 125 Hz, 1 = 250 Hz, 2 = 500 Hz, 3 = 1000 Hz.
int ReportRateCode(const ParameterSection& p);
void SetReportRateCode(ParameterSection& p, int code /* 0..3 */);
int ReportRateHz(int code);  // 125, 250, 500, 1000; 0 for a code outside 0..3

// 0, 1 or 2 in a sound section; the raw byte otherwise.
std::uint8_t ActiveProfile(const ParameterSection& p);
void SetActiveProfile(ParameterSection& p, std::uint8_t profile);

enum class LedType { RGB, Sync, NT };
LedType LedTypeOf(const ParameterSection& p);  // bits 7-6 of `LedMode`
std::string_view LedTypeText(LedType type);    // "RGB", "Sync", "NT"
int LightingMode(const ParameterSection& p);   // low nibble of `LedMode`: 0 off, n mode n
void SetLightingMode(ParameterSection& p, int mode /* 0..15 */);

// `DpiLevels`: high nibble count - 1, low nibble current level index.
// nullopt where the nibble is 8 or more (the pages then keep what they show).
std::optional<int> DpiLevelCount(const ParameterSection& p);    // 1..8
std::optional<int> CurrentDpiLevel(const ParameterSection& p);  // 1..8
void SetDpiLevelCount(ParameterSection& p, int count /* 1..8 */);
void SetCurrentDpiLevel(ParameterSection& p, int level /* 1..8 */);

inline constexpr std::uint8_t kDpiCodeEmpty = 0x0F;
// DPI code of level 1..8: odd levels in the low nibble, even levels in the high nibble.
std::uint8_t DpiValueCode(const ParameterSection& p, int level);
void SetDpiValueCode(ParameterSection& p, int level, std::uint8_t code /* 0..15 */);

// Fall-time step n = 1..10 is stored as 5n in both bytes. The step shown comes from the second
// byte, rounded up to the next step and kept within 1..10, so any byte shows some step.
int FallTimeStep(const ParameterSection& p);
void SetFallTimeStep(ParameterSection& p, int step /* 1..10 */);

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
// Lighting colour c = 0..6, the bytes as stored (intensities 0..15 when set by the pages; the
// default image holds 100, which passes through until the user picks a colour).
Rgb LedColour(const ParameterSection& p, int c);
void SetLedColour(ParameterSection& p, int c, Rgb colour);
// DPI colour of level 1..8, each channel a nibble (odd level low, even level high).
Rgb DpiColour(const ParameterSection& p, int level);
void SetDpiColour(ParameterSection& p, int level, Rgb colour /* channels 0..15 */);

// The 16 ASCII bytes, trailing NULs dropped.
std::string ProductName(const ParameterSection& p);

// ---- profile fields ---------------------------------------------------------------------

KeySlotBytes KeySlot(const ProfileSection& s, int p, int k);
void SetKeySlot(ProfileSection& s, int p, int k, const KeySlotBytes& code);

}  // namespace kelv::config
