// The resources compiled into the program. Nothing is read from disk at run time, so an OEM
// re-brands a build by replacing files under resources/embedded and rebuilding.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelv::res {

using Bytes = std::span<const std::uint8_t>;

// Thrown by Get(); what() is the user-facing text "Resource <name> not found".
class ResourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Looks a resource up by its name (file name without extension), ignoring case.
std::optional<Bytes> Find(std::string_view name);

// As Find(), but a missing name throws ResourceError.
Bytes Get(std::string_view name);

// Names of all embedded resources, as spelled by their files.
std::vector<std::string> Names();

// "Resource %s not found" with the name filled in.
std::string NotFoundText(std::string_view name);

}  // namespace kelv::res
