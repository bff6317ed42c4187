#include "device/report_descriptor.h"

#include <algorithm>
#include <vector>

namespace kelv::device {

namespace {

// Limits the kernel applies before it accepts a descriptor.
constexpr std::uint32_t kMaxReportSize = 256;
constexpr std::uint32_t kMaxReportCount = 12288;
constexpr std::uint64_t kMaxReportBits = (16384u - 1u) * 8u;
constexpr std::size_t kGlobalStackDepth = 4;

struct Globals {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

enum : std::uint8_t {
    kMainInput = 0x8,
    kMainOutput = 0x9,
    kMainCollection = 0xA,
    kMainFeature = 0xB,
    kMainEndCollection = 0xC,
    kGlobalReportSize = 0x7,
    kGlobalReportId = 0x8,
    kGlobalReportCount = 0x9,
    kGlobalPush = 0xA,
    kGlobalPop = 0xB,
};

}  // namespace

std::optional<ReportLengths> ParseReportDescriptor(std::span<const std::uint8_t> d) {
    Globals globals;
    std::vector<Globals> stack;
    int collections = 0;
    // Bits per report ID, per kind.
    std::map<std::uint8_t, std::uint64_t> bits[3];

    std::size_t pos = 0;
    while (pos < d.size()) {
        const std::uint8_t prefix = d[pos++];
        if (prefix == 0xFE) {  // long item: size, tag, data; carries nothing we need
            if (d.size() - pos < 2) return std::nullopt;
            const std::size_t size = d[pos];
            pos += 2;
            if (d.size() - pos < size) return std::nullopt;
            pos += size;
            continue;
        }
        static constexpr std::size_t kSizes[] = {0, 1, 2, 4};
        const std::size_t size = kSizes[prefix & 3];
        if (d.size() - pos < size) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{d[pos + i]} << (8 * i);
        pos += size;
        const std::uint8_t type = (prefix >> 2) & 3;
        const std::uint8_t tag = prefix >> 4;

        if (type == 0) {  // main
            int kind = -1;
            switch (tag) {
                case kMainInput:
                    kind = 0;
                    break;
                case kMainOutput:
                    kind = 1;
                    break;
                case kMainFeature:
                    kind = 2;
                    break;
                case kMainCollection:
                    ++collections;
                    break;
                case kMainEndCollection:
                    if (collections == 0) return std::nullopt;
                    --collections;
                    break;
                default:
                    break;
            }
            if (kind >= 0) {
                std::uint64_t& total = bits[kind][globals.reportId];
                total += std::uint64_t{globals.reportSize} * globals.reportCount;
                if (total > kMaxReportBits) return std::nullopt;
            }
        } else if (type == 1) {  // global
            switch (tag) {
                case kGlobalReportSize:
                    if (value > kMaxReportSize) return std::nullopt;
                    globals.reportSize = value;
                    break;
                case kGlobalReportCount:
                    if (value > kMaxReportCount) return std::nullopt;
                    globals.reportCount = value;
                    break;
                case kGlobalReportId:
                    if (value == 0 || value > 255) return std::nullopt;
                    globals.reportId = static_cast<std::uint8_t>(value);
                    break;
                case kGlobalPush:
                    if (stack.size() >= kGlobalStackDepth) return std::nullopt;
                    stack.push_back(globals);
                    break;
                case kGlobalPop:
                    if (stack.empty()) return std::nullopt;
                    globals = stack.back();
                    stack.pop_back();
                    break;
                default:
                    break;
            }
        }
        // Local and reserved items do not change any length.
    }
    if (collections != 0) return std::nullopt;

    ReportLengths lengths;
    std::map<std::uint8_t, std::uint32_t>* out[3] = {&lengths.input, &lengths.output,
                                                     &lengths.feature};
    for (int kind = 0; kind < 3; ++kind) {
        for (const auto& [id, count] : bits[kind]) {
            (*out[kind])[id] = static_cast<std::uint32_t>((count + 7) / 8 + (id != 0 ? 1 : 0));
        }
    }
    return lengths;
}

std::uint16_t FeatureReportByteLength(std::span<const std::uint8_t> descriptor) {
    const auto lengths = ParseReportDescriptor(descriptor);
    if (!lengths) return 0;
    std::uint32_t longest = 0;
    for (const auto& [id, length] : lengths->feature) longest = std::max(longest, length);
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(longest, 0xFFFF));
}

}  // namespace kelv::device
