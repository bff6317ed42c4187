// Edits of the macro script made from the event list: deleting an event with its partner and
// inserting a delay. List item i is script line i + 1. The caller re-encodes the script
// (MacroListToBin) and stores it afterwards.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "macros/script.h"

namespace kelv::macros {

struct ScriptEdit {
    bool changed = false;
    // The list item to select afterwards; none when the list is empty.
    std::optional<std::size_t> selection;
};

// Deletes event `item`. A press goes together with the next line of the same key name, a
// release with the nearest earlier one; a line without such a partner is deleted alone. The
// mode line is never a partner. An item outside the list changes nothing.
ScriptEdit DeleteEvent(MacroScript& script, std::size_t item);

// Inserts the delay line "0 " + `delayText` before (or after) event `item`. Requires an event at
// `item`; the new line's item is selected.
ScriptEdit InsertDelay(MacroScript& script, std::size_t item, bool after,
                       std::string_view delayText);

// The value a delay field holds after an edit: 1..65535.
long long ClampDelayField(long long value);

}  // namespace kelv::macros
