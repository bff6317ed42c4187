#include "macros/editor.h"

#include <algorithm>
#include <string>

namespace kelv::macros {
namespace {

std::optional<std::size_t> SelectAfterRemoval(const MacroScript& script, std::size_t item,
                                              std::size_t back) {
    if (script.EventCount() == 0) return std::nullopt;
    const std::size_t wanted = item >= back ? item - back : 0;
    return std::min(wanted, script.EventCount() - 1);
}

}  // namespace

ScriptEdit DeleteEvent(MacroScript& script, std::size_t item) {
    ScriptEdit edit;
    if (item >= script.EventCount()) return edit;
    const std::size_t line = item + 1;
    const std::string& text = script.Line(line);
    const LineKind kind = KindOfEventLine(text);
    const std::string name = KeyNameOfLine(text);
    std::optional<std::size_t> partner;
    if (kind == LineKind::kPress) {
        for (std::size_t i = line + 1; i < script.LineCount(); ++i) {
            if (KeyNameOfLine(script.Line(i)) == name) {
                partner = i;
                break;
            }
        }
    } else if (kind == LineKind::kRelease) {
        for (std::size_t i = line - 1; i >= 1; --i) {
            if (KeyNameOfLine(script.Line(i)) == name) {
                partner = i;
                break;
            }
        }
    }
    // Erase the later line first so the earlier index stays valid.
    if (partner && *partner > line) script.Erase(*partner);
    script.Erase(line);
    if (partner && *partner < line) script.Erase(*partner);
    edit.changed = true;
    const bool releaseWithPartner = kind == LineKind::kRelease && partner.has_value();
    edit.selection = SelectAfterRemoval(script, item, releaseWithPartner ? 2 : 1);
    return edit;
}

ScriptEdit InsertDelay(MacroScript& script, std::size_t item, bool after,
                       std::string_view delayText) {
    ScriptEdit edit;
    if (item >= script.EventCount()) return edit;
    script.Insert(item + (after ? 2 : 1), "0 " + std::string(delayText));
    edit.changed = true;
    edit.selection = item + (after ? 1 : 0);
    return edit;
}

long long ClampDelayField(long long value) {
    return std::clamp(value, 1LL, 65535LL);
}

}  // namespace kelv::macros
