// The names buttons show for their codes, in the current language.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/storage.h"
#include "keys/codes.h"
#include "resources/string_table.h"

namespace kelv::keys {

// Names the macro that a macro reference code points at.
class MacroDirectory {
  public:
    virtual ~MacroDirectory() = default;
    // Name of the macro starting at `address`; "" when none does.
    virtual std::string MacroNameAt(std::uint16_t address) const = 0;
};

// The matching rule over the store's slots. I2C storage: of the slots holding a macro
// (length not 0) the last whose address equals the code's address. Flash storage: slot i
// answers for 0x4000 + 0x100 i. No storage kind: nothing matches.
class SlotMacroDirectory : public MacroDirectory {
  public:
    struct Slot {
        std::uint16_t length = 0;
        std::uint16_t address = 0;
    };
    SlotMacroDirectory(config::StorageKind storage, std::vector<Slot> slots,
                       std::vector<std::string> names);
    std::string MacroNameAt(std::uint16_t address) const override;

  private:
    config::StorageKind storage_;
    std::vector<Slot> slots_;
    std::vector<std::string> names_;
};

inline constexpr std::uint16_t kPagedMacroBase = 0x4000;
inline constexpr std::uint16_t kPagedMacroStride = 0x100;
inline constexpr int kPagedMacroSlots = 32;
inline constexpr int kPackedMacroSlots = 15;

struct NamingContext {
    const res::StringTable& strings;
    std::uint8_t fireKeyIds = 0;             // parameter byte 1 of the page copy
    const MacroDirectory* macros = nullptr;  // nullptr: macro codes name as ""
};

// Naming a fire code identifies its fire key and hands back the code's settings for it.
struct FireSettingsUpdate {
    int fireKey = 1;  // 1..3
    FireSettings settings;
    friend bool operator==(const FireSettingsUpdate&, const FireSettingsUpdate&) = default;
};

struct CodeName {
    std::string name;
    std::optional<FireSettingsUpdate> fire;  // set for fire codes
};

// The caption of a code text: exactly the catalogue's language string, a combination text,
// a macro name, or "" (unknown or malformed codes).
CodeName NameOfCode(std::string_view text, const NamingContext& context);
// As above, applying a fire code's settings to fire[fireKey - 1].
std::string NameOfCode(std::string_view text, const NamingContext& context,
                       std::array<FireSettings, 3>& fire);

// Which fire key (1..3) a fire code's repeat nibble identifies under `FireKeyIds`.
int FireKeyOfCode(const KeyFunctionCode& code, std::uint8_t fireKeyIds);

// Keyboard codes: "Ctrl+Shift+A" style; macro codes: the macro's name; else "".
std::string CombinationText(std::string_view text, const MacroDirectory* macros);

}  // namespace kelv::keys
