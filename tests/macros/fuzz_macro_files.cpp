// Any bytes as each kind of macro file, into both layouts: refused or stored soundly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "macros/events.h"
#include "macros/files.h"
#include "macros/store.h"

using namespace kelv::macros;

namespace {

void CheckStore(const MacroStore& store) {
    if (store.Layout() == MacroLayout::kPacked &&
        store.TotalLength() > static_cast<int>(kPackedAreaSize))
        __builtin_trap();
    for (int k = 0; k < store.SlotCount(); ++k) {
        const auto events = store.Events(k);
        if (!events.empty() && !IsWellFormedEvents(events)) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    (void)DecodeOneMacroFile(file);
    for (MacroLayout layout : {MacroLayout::kPacked, MacroLayout::kPaged}) {
        MacroStore store(layout);
        ImportAllMacros(store, file);
        CheckStore(store);
        if (store.MacroCount() == 0) store.AddMacro("a", 512);
        ImportOneMacro(store, 0, file);
        CheckStore(store);
        const auto one = ExportOneMacro(store, 0);
        if (!one.empty() && one.size() != kOneMacroFileSize) __builtin_trap();
        if (ExportAllMacros(store).size() != AllMacrosFileSize(layout)) __builtin_trap();
    }
    return 0;
}
