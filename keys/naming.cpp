#include "keys/naming.h"

#include <utility>

#include "keys/catalogue.h"
#include "keys/key_tables.h"

namespace kelv::keys {
namespace {

// The language string of a catalogue code, compared as an exact text. The fixed codes begin
// with neither "05" nor "06", so looking them up first keeps the naming order.
const CatalogueEntry* FixedName(std::string_view text) {
    for (const CatalogueEntry& entry : Catalogue())
        if (!entry.codeText.empty() && entry.codeText == text) return &entry;
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
    if (const CatalogueEntry* entry = FixedName(text))
        return {context.strings.Text(entry->nameKey), std::nullopt};
    const auto code = ParseCodeText(text);
    if (!code) return {};
    if (text.starts_with("06")) {
        const int fireKey = FireKeyOfCode(*code, context.fireKeyIds);
        return {context.strings.Text(kFireNameKeys[fireKey - 1]),
                FireSettingsUpdate{fireKey, FireSettingsFromCode(*code)}};
    }
    if (text.starts_with("05")) return {context.strings.Text("Str234"), std::nullopt};
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
