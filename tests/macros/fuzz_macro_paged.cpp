// Any bytes as a name block and 32 pages: lengths and names never go beyond their page or field.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "macros/events.h"
#include "macros/store.h"

using namespace kelv::macros;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    MacroStore store(MacroLayout::kPaged);
    store.SetNameBlock(input);
    for (int i = 0; i < kPagedSlotCount; ++i) {
        const std::size_t at = kNameBlockSize + kPageSize * static_cast<std::size_t>(i);
        if (at < size) store.SetPage(i, input.subspan(at));
    }
    for (int i = 0; i < kPagedSlotCount; ++i) {
        const auto events = store.Events(i);
        if (!events.empty() && !IsWellFormedEvents(events)) __builtin_trap();
        if (store.EventLength(i) > static_cast<int>(kPageSize)) __builtin_trap();
        (void)store.Name(i);
    }
    store.UIToMacroName(store.Names());
    return 0;
}
