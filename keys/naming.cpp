#include "keys/naming.h"

#include <utility>

#include "keys/key_tables.h"

namespace kelv::keys {
namespace {

// Codes named by a fixed language string, compared as exact texts.
struct FixedName {
    std::string_view code;
    std::string_view key;
};

constexpr FixedName kMouseNames[] = {
    {"01010000", "Str210"}, {"01020000", "Str211"}, {"01040000", "Str212"},
    {"01080000", "Str213"}, {"01100000", "Str214"},
};

constexpr FixedName kFunctionNames[] = {
    {"08000000", "Str241"},
    {"07000000", "Str242"},
    {"09000000", "Str243"},
    {"0C000000", "Str244"},
    {"07010000", "Str245"},
    {"0E000000", "Str246"},
    {"09010000", "Str247"},
    {"09020000", "Str248"},
    {"0300CD00", "Str250"},
    {"0300B700", "Str251"},
    {"0300B600", "Str252"},
    {"0300B500", "Str253"},
    {"0300E900", "Str254"},
    {"0300EA00", "Str255"},
    {"0300E200", "Str256"},
    {"03022300", "Str260"},
    {"03022100", "Str261"},
    {"03022400", "Str262"},
    {"03022500", "Str263"},
    {"03022600", "Str264"},
    {"03022700", "Str265"},
    {"03022A00", "Str266"},
    {"03019400", "Str270"},
    {"03019200", "Str271"},
    {"03018A00", "Str272"},
    // Win + D is always "Desktop", never a combination text.
    {"02080700", "Str273"},
};

template <std::size_t N>
const FixedName* Find(const FixedName (&table)[N], std::string_view text) {
    for (const FixedName& entry : table)
        if (entry.code == text) return &entry;
    return nullptr;
}

constexpr std::string_view kFireNameKeys[] = {"Str231", "Str232", "Str233"};

std::string KeyboardText(const KeyFunctionCode& code) {
    std::string text;
    if (code[1] & modifier::kCtrl) text += "Ctrl+";
    if (code[1] & modifier::kShift) text += "Shift+";
    if (code[1] & modifier::kAlt) text += "Alt+";
    if (code[1] & modifier::kWin) text += "Win+";
    if (code[2] != 0) text += KeyNameFromUsage(code[2]);
    if (code[3] != 0) {
        if (code[2] != 0) text += '+';
        text += KeyNameFromUsage(code[3]);
    }
    return text;
}

}  // namespace

SlotMacroDirectory::SlotMacroDirectory(config::StorageKind storage, std::vector<Slot> slots,
                                       std::vector<std::string> names)
    : storage_(storage), slots_(std::move(slots)), names_(std::move(names)) {}

std::string SlotMacroDirectory::MacroNameAt(std::uint16_t address) const {
    std::optional<std::size_t> match;
    if (storage_ == config::StorageKind::I2C) {
        for (std::size_t i = 0; i < slots_.size() && i < kPackedMacroSlots; ++i)
            if (slots_[i].length != 0 && slots_[i].address == address) match = i;
    } else if (storage_ == config::StorageKind::Flash) {
        if (address >= kPagedMacroBase && (address - kPagedMacroBase) % kPagedMacroStride == 0) {
            const std::size_t slot = (address - kPagedMacroBase) / kPagedMacroStride;
            if (slot < kPagedMacroSlots) match = slot;
        }
    }
    if (!match || *match >= names_.size()) return {};
    return names_[*match];
}

int FireKeyOfCode(const KeyFunctionCode& code, std::uint8_t fireKeyIds) {
    const int id = code[1] & 0x0F;
    if (id == (fireKeyIds & 0x0F)) return 1;
    if (id == (fireKeyIds >> 4)) return 2;
    return 3;
}

CodeName NameOfCode(std::string_view text, const NamingContext& context) {
    if (const FixedName* entry = Find(kMouseNames, text))
        return {context.strings.Text(entry->key), std::nullopt};
    const auto code = ParseCodeText(text);
    if (!code) return {};
    if (text.starts_with("06")) {
        const int fireKey = FireKeyOfCode(*code, context.fireKeyIds);
        return {context.strings.Text(kFireNameKeys[fireKey - 1]),
                FireSettingsUpdate{fireKey, FireSettingsFromCode(*code)}};
    }
    if (text.starts_with("05")) return {context.strings.Text("Str234"), std::nullopt};
    if (const FixedName* entry = Find(kFunctionNames, text))
        return {context.strings.Text(entry->key), std::nullopt};
    return {CombinationText(text, context.macros), std::nullopt};
}

std::string NameOfCode(std::string_view text, const NamingContext& context,
                       std::array<FireSettings, 3>& fire) {
    CodeName named = NameOfCode(text, context);
    if (named.fire) fire[static_cast<std::size_t>(named.fire->fireKey - 1)] = named.fire->settings;
    return std::move(named.name);
}

std::string CombinationText(std::string_view text, const MacroDirectory* macros) {
    const auto code = ParseCodeText(text);
    if (!code) return {};
    switch ((*code)[0]) {
        case code_class::kKeyboard:
            return KeyboardText(*code);
        case code_class::kMacro:
            return macros ? macros->MacroNameAt(MacroAddressOf(*code)) : "";
        default:
            return {};
    }
}

}  // namespace kelv::keys
