// Bounded copies out of untrusted byte buffers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kelv::config::detail {

// Copies what `source` holds of [offset, offset + target.size()) to the front of `target`;
// the rest of `target` is left alone. Returns the number of bytes copied.
inline std::size_t CopyAvailable(std::span<const std::uint8_t> source, std::size_t offset,
                                 std::span<std::uint8_t> target) {
    if (offset >= source.size()) return 0;
    const std::size_t n = std::min(target.size(), source.size() - offset);
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(offset), n, target.begin());
    return n;
}

}  // namespace kelv::config::detail
