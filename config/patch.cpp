#include "config/patch.h"

#include "config/byte_copy.h"

namespace kelv::config {

std::uint16_t PatchChecksum(const PatchCode& code) {
    std::uint32_t sum = 0;
    for (std::uint8_t b : code) sum += b;
    return static_cast<std::uint16_t>((sum & 0xFFFF) ^ 0x015A);
}

PatchDescriptor CheckPatchCodeSection(const PatchCode& code) {
    const std::uint16_t checksum = PatchChecksum(code);
    PatchDescriptor d{};
    d[8] = static_cast<std::uint8_t>(kPatchCodeAddress >> 8);
    d[9] = static_cast<std::uint8_t>(kPatchCodeAddress & 0xFF);
    d[10] = static_cast<std::uint8_t>(kPatchCodeSize >> 8);
    d[11] = static_cast<std::uint8_t>(kPatchCodeSize & 0xFF);
    d[12] = 0x00;
    d[13] = 0x1A;
    d[14] = static_cast<std::uint8_t>(checksum >> 8);
    d[15] = static_cast<std::uint8_t>(checksum & 0xFF);
    return d;
}

PatchLoadResult LoadPatchCode(std::span<const std::uint8_t> file, PatchCode& code) {
    if (file.size() <= kPatchFileOffset)
        return {false, 0, "The file holds no patch code: it ends before offset 0x8000."};
    const std::size_t n = detail::CopyAvailable(file, kPatchFileOffset, code);
    return {true, n, {}};
}

}  // namespace kelv::config
