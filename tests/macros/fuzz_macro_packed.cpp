// Any 512 bytes as a packed macro area: the parse stays inside the area and its result
// rebuilds and reads back to itself.
#include <cstddef>
#include <cstdint>
#include <span>

#include "macros/events.h"
#include "macros/store.h"

using namespace kelv::macros;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MacroStore store(MacroLayout::kPacked, kPackedBaseFlash);
    store.SetArea(std::span<const std::uint8_t>(data, size));
    store.ReadAndRefreshMacro7311();
    if (store.TotalLength() > static_cast<int>(kPackedAreaSize)) __builtin_trap();
    for (int k = 0; k < kPackedSlotCount; ++k) {
        if (store.Length(k) != 0 && !IsWellFormedEvents(store.Events(k))) __builtin_trap();
        (void)store.Name(k);
    }
    MacroStore again(MacroLayout::kPacked, kPackedBaseFlash);
    again.SetArea(store.Area());
    if (again.ReadAndRefreshMacro7311().repaired != 0 || again.Entries() != store.Entries())
        __builtin_trap();
    if (store.MacroCount() > 0) {
        store.DeleteMacro(0);
        store.AddMacro("x", 512);
    }
    return 0;
}
