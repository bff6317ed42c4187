// Internal: the table the build generates from the files under resources/embedded.
#pragma once

#include <cstddef>

namespace kelv::res::detail {

struct Entry {
    const char* name;
    const unsigned char* begin;
    const unsigned char* end;
};

extern const Entry kEntries[];
extern const std::size_t kEntryCount;

}  // namespace kelv::res::detail
