// Patch-code files of any content and length.
#include <cstddef>
#include <cstdint>
#include <span>

#include "config/patch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelv::config;
    PatchCode code{};
    if (LoadPatchCode(std::span<const std::uint8_t>(data, size), code).ok)
        (void)CheckPatchCodeSection(code);
    return 0;
}
