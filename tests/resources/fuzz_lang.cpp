#include <cstddef>
#include <cstdint>

#include "resources/language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelv::res::LanguageTable table = kelv::res::LanguageTable::Parse({data, size}, "lang1");
    for (const std::string& key : table.Keys()) (void)table.Text(key);
    const kelv::res::LanguageTable* tables[] = {&table};
    (void)kelv::res::FindStringKey("*", tables);
    return 0;
}
