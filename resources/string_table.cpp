#include "resources/string_table.h"

#include <cctype>

namespace kelv::res {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

MapStringTable::MapStringTable(std::initializer_list<std::pair<std::string, std::string>> entries) {
    for (const auto& [k, v] : entries) Set(k, v);
}

void MapStringTable::Set(std::string key, std::string text) {
    entries_[Lower(key)] = std::move(text);
}

std::string MapStringTable::Text(std::string_view key) const {
    auto it = entries_.find(Lower(key));
    return it == entries_.end() ? std::string() : it->second;
}

}  // namespace kelv::res
