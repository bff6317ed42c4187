// The functions the assignment menus offer, each identified by its menu item's Tag.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "keys/codes.h"

namespace kelv::keys {

namespace tag {
inline constexpr int kNone = 0;
inline constexpr int kAim = 1001;
inline constexpr int kFire1 = 1500;
inline constexpr int kFire2 = 1501;
inline constexpr int kFire3 = 1502;
}  // namespace tag

struct CatalogueEntry {
    std::string_view menu;  // "Pnl_MseKey", ...
    std::string_view item;  // "Key_Left", ...
    int tag;
    std::string_view codeText;  // fixed code; empty for the fire and AIM items (computed)
    std::string_view nameKey;   // language string key, "Str210", ...
};

// Every catalogue row with a Tag, in menu order.
std::span<const CatalogueEntry> Catalogue();
// The row of a Tag, or nullptr.
const CatalogueEntry* FindCatalogueEntry(int tag);

// The code text of a menu choice. Fire Tags take fire settings 1..3 (fire[0..2]); the AIM Tag
// takes `aimLevel` (1..12). Tag 0 gives "00000000". Unknown Tags, and fire or AIM settings
// that cannot form a code (see FireCode, AimCode), give "" so nothing malformed gets stored.
std::string CodeForMenuTag(int tag, const std::array<FireSettings, 3>& fire, int aimLevel);

}  // namespace kelv::keys
