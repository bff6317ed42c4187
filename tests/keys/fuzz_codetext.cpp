// Code texts of any content: parsing, naming and building slots from them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "keys/codes.h"
#include "keys/naming.h"
#include "resources/string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelv::keys;
    static const kelv::res::MapStringTable strings{{"Str231", "Fire Key1"}, {"Str234", "AIM Key"}};
    static const SlotMacroDirectory flash(kelv::config::StorageKind::Flash, {}, {"a", "b"});
    static const SlotMacroDirectory packed(kelv::config::StorageKind::I2C, {{4, 0x0220}}, {"c"});
    if (size == 0) return 0;
    const std::uint8_t fireKeyIds = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (const auto code = ParseCodeText(text)) {
        if (FormatCodeText(*code).size() != 8) __builtin_trap();
    }
    std::array<FireSettings, 3> fire{};
    (void)NameOfCode(text, {strings, fireKeyIds, &flash}, fire);
    (void)NameOfCode(text, {strings, fireKeyIds, &packed});
    (void)CombinationText(text, nullptr);
    return 0;
}
