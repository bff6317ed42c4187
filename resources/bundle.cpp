#include "resources/bundle.h"

#include "resources/bundle_table.h"

namespace kelv::res {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<Bytes> Find(std::string_view name) {
    for (std::size_t i = 0; i < detail::kEntryCount; ++i) {
        const auto& e = detail::kEntries[i];
        if (EqualNoCase(e.name, name)) {
            return Bytes(e.begin, static_cast<std::size_t>(e.end - e.begin));
        }
    }
    return std::nullopt;
}

Bytes Get(std::string_view name) {
    if (auto found = Find(name)) return *found;
    throw ResourceError(NotFoundText(name));
}

std::vector<std::string> Names() {
    std::vector<std::string> names;
    names.reserve(detail::kEntryCount);
    for (std::size_t i = 0; i < detail::kEntryCount; ++i)
        names.emplace_back(detail::kEntries[i].name);
    return names;
}

std::string NotFoundText(std::string_view name) {
    return "Resource " + std::string(name) + " not found";
}

}  // namespace kelv::res
