#include <cstddef>
#include <cstdint>

#include "resources/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        kelv::res::DecodePng({data, size});
    } catch (const kelv::res::ImageError&) {
    }
    try {
        kelv::res::PngSize({data, size});
    } catch (const kelv::res::ImageError&) {
    }
    return 0;
}
