#include "config/macro_directory.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kelv::config {

std::unique_ptr<keys::SlotMacroDirectory> MacroDirectoryOf(const macros::MacroStore& store) {
    const StorageKind storage = store.Layout() == macros::MacroLayout::kPacked  ? StorageKind::I2C
                                : store.Layout() == macros::MacroLayout::kPaged ? StorageKind::Flash
                                                                                : StorageKind::None;
    std::vector<keys::SlotMacroDirectory::Slot> slots;
    std::vector<std::string> names;
    for (int s = 0; s < store.SlotCount(); ++s) {
        const bool used = store.InUse(s);
        slots.push_back({static_cast<std::uint16_t>(used ? std::max(1, store.Length(s)) : 0),
                         store.MacroAddress(s)});
        names.push_back(used ? store.Name(s) : std::string());
    }
    return std::make_unique<keys::SlotMacroDirectory>(storage, std::move(slots), std::move(names));
}

}  // namespace kelv::config
