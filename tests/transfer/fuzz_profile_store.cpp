// Profile files of any content taken into the image and the macro store, as show and load do:
// once taken, saving and taking again must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "config/transfer.h"
#include "keys/key_tables.h"
#include "macros/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelv;
    const std::span<const std::uint8_t> bytes(data, size);
    const macros::KeyNameFn keyName = [](std::uint8_t usage) {
        return std::string(keys::KeyNameFromUsage(usage));
    };
    for (const device::Layout layout : {device::Layout::A, device::Layout::B, device::Layout::C}) {
        const config::StorageKind storage = config::StorageKindFor(layout);
        config::ConfigImage image;
        macros::MacroStore store = config::StoreFor(layout);
        if (!config::TakeProfileFile(bytes, storage, image, store).ok) continue;
        image.LoadPagesFromDevice();
        for (const auto& entry : store.Entries())
            (void)macros::RefreshMacroList(store.Events(entry.slot), keyName);
        const auto saved = config::BuildProfileFile(image, store, storage);

        config::ConfigImage again;
        macros::MacroStore againStore = config::StoreFor(layout);
        if (!config::TakeProfileFile(saved, storage, again, againStore).ok) std::abort();
        again.LoadPagesFromDevice();
        if (config::BuildProfileFile(again, againStore, storage) != saved) std::abort();
    }
    return 0;
}
