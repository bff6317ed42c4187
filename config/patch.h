// Patch-code update: 1024 bytes of code from a file and the 16-byte descriptor programmed with it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kelv::config {

inline constexpr std::size_t kPatchCodeSize = 1024;
inline constexpr std::size_t kPatchFileOffset = 0x8000;
inline constexpr std::uint16_t kPatchCodeAddress = 0xC000;
inline constexpr std::uint16_t kPatchDescriptorAddress = 0x1000;
inline constexpr std::size_t kPatchDescriptorSize = 16;

using PatchCode = std::array<std::uint8_t, kPatchCodeSize>;
using PatchDescriptor = std::array<std::uint8_t, kPatchDescriptorSize>;

// (sum of the 1024 bytes, modulo 65536) XOR 0x015A.
std::uint16_t PatchChecksum(const PatchCode& code);

// `PatchDescriptor`: eight zero bytes, address 0xC000 and length 0x0400 high first, 0x00 0x1A,
// then the checksum high first.
PatchDescriptor CheckPatchCodeSection(const PatchCode& code);

struct PatchLoadResult {
    bool ok = false;
    std::size_t bytesTaken = 0;  // < 1024 for a short file; the rest of the code is unchanged
    std::string error;
};

// Copies up to 1024 bytes from file offset 0x8000 into `code`. A file that ends at or before
// that offset supplies no code and is refused, leaving `code` unchanged.
PatchLoadResult LoadPatchCode(std::span<const std::uint8_t> file, PatchCode& code);

}  // namespace kelv::config
