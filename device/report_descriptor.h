// Report lengths from a HID report descriptor, by the Linux kernel's rule: each Input, Output or
// Feature main item adds Report Size x Report Count bits to its report ID's report; globals
// persist and honour Push/Pop; a report with a non-zero ID is one byte longer.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>

namespace kelv::device {

struct ReportLengths {
    // Report ID -> length in bytes, ID byte included.
    std::map<std::uint8_t, std::uint32_t> input;
    std::map<std::uint8_t, std::uint32_t> output;
    std::map<std::uint8_t, std::uint32_t> feature;
};

// nullopt for a malformed descriptor (truncated item, bad Report ID, stack misuse, absurd sizes).
std::optional<ReportLengths> ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

// The longest feature report in bytes, like HidP_GetCaps' FeatureReportByteLength; 0 when the
// descriptor has no feature report or is malformed.
std::uint16_t FeatureReportByteLength(std::span<const std::uint8_t> descriptor);

}  // namespace kelv::device
