// Feeds arbitrary bytes to the report descriptor parser.
#include <cstddef>
#include <cstdint>

#include "device/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (auto lengths = kelv::device::ParseReportDescriptor(bytes)) {
        for (const auto& [id, length] : lengths->feature) {
            if (length == 0 && id != 0) __builtin_trap();
        }
    }
    kelv::device::FeatureReportByteLength(bytes);
    return 0;
}
