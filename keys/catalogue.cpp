#include "keys/catalogue.h"

#include <algorithm>

namespace kelv::keys {
namespace {

constexpr CatalogueEntry kCatalogue[] = {
    {"Pnl_MseKey", "Key_Left", 900, "01010000", "Str210"},
    {"Pnl_MseKey", "Key_Right", 901, "01020000", "Str211"},
    {"Pnl_MseKey", "Key_Middle", 902, "01040000", "Str212"},
    {"Pnl_MseKey", "Key_B4", 903, "01080000", "Str213"},
    {"Pnl_MseKey", "Key_B5", 904, "01100000", "Str214"},
    {"Pnl_FireKey", "Key_Fire1", tag::kFire1, "", "Str231"},
    {"Pnl_FireKey", "Key_Fire2", tag::kFire2, "", "Str232"},
    {"Pnl_FireKey", "Key_Fire3", tag::kFire3, "", "Str233"},
    {"Pnl_Special", "Key_AIM", tag::kAim, "", "Str234"},
    {"Pnl_Special", "Key_Profile", 1002, "07000000", "Str242"},
    {"Pnl_Special", "Key_CPI", 1003, "09000000", "Str243"},
    {"Pnl_Special", "Key_ReportRate", 1004, "0C000000", "Str244"},
    {"Pnl_Special", "Key_Default", 1005, "07010000", "Str245"},
    {"Pnl_Special", "Key_LEDMode", 1006, "0E000000", "Str246"},
    {"Pnl_Special", "Key_CPII", 1007, "09010000", "Str247"},
    {"Pnl_Special", "Key_CPID", 1008, "09020000", "Str248"},
    {"Pnl_Special", "Key_LEDSwitch", 1009, "08000000", "Str241"},
    {"Pnl_MyPC", "Key_Computer", 1100, "03019400", "Str270"},
    {"Pnl_MyPC", "Key_Calculator", 1101, "03019200", "Str271"},
    {"Pnl_MyPC", "Key_EMail", 1102, "03018A00", "Str272"},
    {"Pnl_MyPC", "Key_Desktop", 1103, "02080700", "Str273"},
    {"Pnl_Media", "Key_PlayPause", 1300, "0300CD00", "Str250"},
    {"Pnl_Media", "Key_Stop", 1301, "0300B700", "Str251"},
    {"Pnl_Media", "Key_PreviousTrack", 1302, "0300B600", "Str252"},
    {"Pnl_Media", "Key_NextTrack", 1303, "0300B500", "Str253"},
    {"Pnl_Media", "Key_VolumePlus", 1304, "0300E900", "Str254"},
    {"Pnl_Media", "Key_VolumeMinus", 1305, "0300EA00", "Str255"},
    {"Pnl_Media", "Key_Mute", 1306, "0300E200", "Str256"},
    {"Pnl_WWW", "Key_WWWHome", 1400, "03022300", "Str260"},
    {"Pnl_WWW", "Key_WWWSearch", 1401, "03022100", "Str261"},
    {"Pnl_WWW", "Key_WWWBack", 1402, "03022400", "Str262"},
    {"Pnl_WWW", "Key_WWWForward", 1403, "03022500", "Str263"},
    {"Pnl_WWW", "Key_WWWStop", 1404, "03022600", "Str264"},
    {"Pnl_WWW", "Key_WWWRefresh", 1405, "03022700", "Str265"},
    {"Pnl_WWW", "Key_WWWFavorites", 1406, "03022A00", "Str266"},
};

}  // namespace

std::span<const CatalogueEntry> Catalogue() {
    return kCatalogue;
}

const CatalogueEntry* FindCatalogueEntry(int tagValue) {
    const auto it = std::find_if(std::begin(kCatalogue), std::end(kCatalogue),
                                 [tagValue](const CatalogueEntry& e) { return e.tag == tagValue; });
    return it == std::end(kCatalogue) ? nullptr : &*it;
}

std::string CodeForMenuTag(int tagValue, const std::array<FireSettings, 3>& fire, int aimLevel) {
    if (tagValue == tag::kNone) return "00000000";
    if (tagValue == tag::kAim) {
        const auto code = AimCode(aimLevel);
        return code ? FormatCodeText(*code) : std::string();
    }
    if (tagValue >= tag::kFire1 && tagValue <= tag::kFire3) {
        const auto code = FireCode(fire[static_cast<std::size_t>(tagValue - tag::kFire1)]);
        return code ? FormatCodeText(*code) : std::string();
    }
    const CatalogueEntry* entry = FindCatalogueEntry(tagValue);
    return entry ? std::string(entry->codeText) : std::string();
}

}  // namespace kelv::keys
