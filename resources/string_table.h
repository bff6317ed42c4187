// Texts looked up by key ("Str022", "Title"). The language tables implement it; tests use a
// small table of their own. An absent key gives the empty text.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace kelv::res {

class StringTable {
  public:
    virtual ~StringTable() = default;
    // UTF-8 text of the key, or "" when the table has no such key. Keys ignore case.
    virtual std::string Text(std::string_view key) const = 0;
};

// A fixed table, for tests and for tools that need no language resource.
class MapStringTable : public StringTable {
  public:
    MapStringTable() = default;
    MapStringTable(std::initializer_list<std::pair<std::string, std::string>> entries);
    void Set(std::string key, std::string text);
    std::string Text(std::string_view key) const override;

  private:
    std::map<std::string, std::string> entries_;  // keys stored lower-case
};

}  // namespace kelv::res
