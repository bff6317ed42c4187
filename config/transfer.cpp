#include "config/transfer.h"

#include <algorithm>
#include <array>
#include <map>

#include "config/sections.h"

namespace kelv::config {

namespace mm = device::memory_map;
using Block = std::array<std::uint8_t, mm::kBlockLength>;

StorageKind StorageKindFor(device::Layout layout) {
    if (device::IsI2cMacroStorage(layout)) return StorageKind::I2C;
    if (device::IsFlashMacroStorage(layout)) return StorageKind::Flash;
    return StorageKind::None;
}

macros::MacroLayout MacroLayoutFor(device::Layout layout) {
    if (device::IsI2cMacroStorage(layout)) return macros::MacroLayout::kPacked;
    if (device::IsFlashMacroStorage(layout)) return macros::MacroLayout::kPaged;
    return macros::MacroLayout::kNone;
}

std::uint16_t PackedBaseFor(device::Layout layout) {
    return layout == device::Layout::B ? macros::kPackedBaseFlash : macros::kPackedBaseI2C;
}

macros::MacroStore StoreFor(device::Layout layout) {
    return macros::MacroStore(MacroLayoutFor(layout), PackedBaseFor(layout));
}

bool StoreMatches(const macros::MacroStore& store, device::Layout layout) {
    if (store.Layout() != MacroLayoutFor(layout)) return false;
    return store.Layout() != macros::MacroLayout::kPacked ||
           store.PackedBase() == PackedBaseFor(layout);
}

MacroData MacroDataFromStore(const macros::MacroStore& store) {
    MacroData data;
    std::copy(store.Area().begin(), store.Area().end(), data.packedArea.begin());
    std::copy(store.NameBlock().begin(), store.NameBlock().end(), data.nameTable.begin());
    for (int i = 0; i < kMacroPageCount; ++i) {
        const auto page = store.Page(i);
        std::copy(page.begin(), page.end(), data.pages[static_cast<std::size_t>(i)].begin());
    }
    return data;
}

void LoadMacroData(macros::MacroStore& store, const MacroData& data) {
    switch (store.Layout()) {
        case macros::MacroLayout::kPacked:
            store.SetArea(data.packedArea);
            store.ReadAndRefreshMacro7311();
            break;
        case macros::MacroLayout::kPaged:
            store.SetNameBlock(data.nameTable);
            for (int i = 0; i < kMacroPageCount; ++i)
                store.SetPage(i, data.pages[static_cast<std::size_t>(i)]);
            break;
        case macros::MacroLayout::kNone:
            break;
    }
}

TransferService::TransferService(device::DeviceLink& link, device::Clock& clock, device::Host& host)
    : link_(link), clock_(clock), host_(host) {}

// --- Moving bytes ---

void TransferService::ReadSections(ConfigImage& image) {
    link_.ReadSectionBusy(0, 0, static_cast<std::uint8_t>(kParameterSectionSize),
                          image.ParameterBuffer());
    link_.ReadSectionBusy(1, 0, static_cast<std::uint8_t>(kProfileSectionSize),
                          image.ProfileBuffer());
}

void TransferService::ReadMacros(device::Layout layout, macros::MacroStore& store) {
    if (!StoreMatches(store, layout)) store = StoreFor(layout);
    // Each block goes through a transfer buffer so that a refused read leaves the store's
    // bytes as they were.
    Block block{};
    if (device::IsI2cMacroStorage(layout)) {
        const auto halves = mm::PackedAreaHalves(layout);
        for (std::size_t h = 0; h < halves.size(); ++h) {
            if (link_.ReadMemory(halves[h], mm::kBlockLength, block))
                store.SetArea(block, h * mm::kBlockLength);
        }
        store.ReadAndRefreshMacro7311();
    } else if (device::IsFlashMacroStorage(layout)) {
        for (int i = 0; i < mm::kMacroPageCount; ++i) {
            if (link_.ReadMemory(mm::MacroPageAddress(i), mm::kBlockLength, block))
                store.SetPage(i, block);
        }
        std::array<std::uint8_t, mm::kNameTableLength> names{};
        if (link_.ReadMemory(mm::kNameTableAddress, mm::kNameTableLength, names))
            store.SetNameBlock(names);
    }
}

void TransferService::WriteSections(const ConfigImage& image) {
    link_.WriteSection(0, 0, static_cast<std::uint8_t>(kParameterSectionSize),
                       image.ParameterBuffer());
    link_.WriteSection(1, 0, static_cast<std::uint8_t>(kProfileSectionSize), image.ProfileBuffer());
}

void TransferService::WriteMacros(device::Layout layout, const macros::MacroStore& store) {
    if (!StoreMatches(store, layout)) return;
    Block block{};
    const auto send = [&](std::uint16_t address, std::span<const std::uint8_t> bytes) {
        std::copy_n(bytes.begin(), block.size(), block.begin());
        link_.WriteMemory(address, mm::kBlockLength, block);
    };
    if (device::IsI2cMacroStorage(layout)) {
        const auto halves = mm::PackedAreaHalves(layout);
        for (std::size_t h = 0; h < halves.size(); ++h)
            send(halves[h], store.Area().subspan(h * mm::kBlockLength, mm::kBlockLength));
    } else if (device::IsFlashMacroStorage(layout)) {
        for (int i = 0; i < mm::kNameTablePageCount; ++i) {
            send(mm::NameTablePageAddress(i),
                 store.NameBlock().subspan(static_cast<std::size_t>(i) * mm::kBlockLength,
                                           mm::kBlockLength));
        }
        for (int i = 0; i < mm::kMacroPageCount; ++i) send(mm::MacroPageAddress(i), store.Page(i));
    }
}

// --- Flows ---

void TransferService::Begin() {
    link_.StopDevTimer();
    Listener().BlockPages();
    host_.ShowBusy();
    host_.PumpMessages();
}

void TransferService::End() {
    host_.HideBusy();
    host_.PumpMessages();
    Listener().UnblockPages();
    link_.StartDevTimer();
}

void TransferService::PumpWait(std::uint64_t micros) {
    clock_.SleepMicros(micros);
    host_.PumpMessages();
}

void TransferService::ReadAll(ConfigImage& image, macros::MacroStore& store) {
    TransferListener& listener = Listener();
    Begin();
    ReadSections(image);
    ReadMacros(link_.CurrentLayout(), store);
    listener.MacrosChanged();
    image.LoadPagesFromDevice();
    listener.PagesChanged();
    listener.ReadFinished();
    End();
}

void TransferService::ResetToDefaults(ConfigImage& image, macros::MacroStore& store,
                                      const DefaultImage& defaults) {
    TransferListener& listener = Listener();
    const device::Layout layout = link_.CurrentLayout();
    Begin();
    ApplyDefaults(image, defaults);
    image.DeviceFromDefaults();
    if (!StoreMatches(store, layout)) store = StoreFor(layout);
    store.Clear();
    LoadMacroData(store, defaults.macros);
    listener.MacrosChanged();
    host_.ShowBusy();
    host_.PumpMessages();
    image.LoadPagesFromDevice();
    listener.PagesChanged();
    WriteSections(image);
    WriteMacros(layout, store);
    End();
}

void TransferService::ApplyLoaded(ConfigImage& image, macros::MacroStore& store) {
    TransferListener& listener = Listener();
    link_.StopDevTimer();
    listener.BlockPages();
    listener.MacrosChanged();
    image.LoadPagesFromDevice();
    listener.PagesChanged();
    host_.ShowBusy();
    host_.PumpMessages();
    WriteSections(image);
    WriteMacros(link_.CurrentLayout(), store);
    End();
}

ProfileLoadResult TransferService::LoadProfile(std::span<const std::uint8_t> file,
                                               ConfigImage& image, macros::MacroStore& store) {
    const device::Layout layout = link_.CurrentLayout();
    // Taken into copies, so that a refused file leaves the image and the macros as they were.
    ConfigImage loadedImage = image;
    macros::MacroStore loadedStore = StoreMatches(store, layout) ? store : StoreFor(layout);
    ProfileLoadResult result =
        TakeProfileFile(file, StorageKindFor(layout), loadedImage, loadedStore);
    if (!result.ok) return result;
    image = std::move(loadedImage);
    store = std::move(loadedStore);
    ApplyLoaded(image, store);
    return result;
}

void TransferService::SaveMacros(ConfigImage& image, macros::MacroStore& store) {
    TransferListener& listener = Listener();
    Begin();
    listener.BeforeMacroSave(image, store);
    image.ProfileChecksumPage();
    image.ProfileBuffer() = image.PageProfile();
    link_.WriteSection(1, 0, static_cast<std::uint8_t>(kProfileSectionSize), image.ProfileBuffer());
    WriteMacros(link_.CurrentLayout(), store);
    End();
}

PatchResult TransferService::ProgramPatch(const PatchCode& code) {
    if (!link_.Connected()) return PatchResult::NotConnected;
    TransferListener& listener = Listener();
    link_.StopDevTimer();
    listener.BlockPages();
    host_.ShowBusy();
    host_.PumpMessages();
    const PatchDescriptor descriptor = CheckPatchCodeSection(code);
    link_.WriteMemory(mm::kPatchCodeAddress, mm::kPatchCodeLength, code);
    link_.WriteMemory(mm::kPatchDescriptorAddress, mm::kPatchDescriptorLength, descriptor);
    listener.UnblockPages();
    clock_.SleepMicros(kRestartPauseMicros);
    link_.SendCommand(device::command::kRestart, 0, 0, 0, 0);
    link_.DeviceLost();
    host_.PumpMessages();
    for (int i = 0; i < kRefindSteps; ++i) PumpWait(kRefindStepMicros);
    const bool back = link_.ReFindDev();
    // A read cycle started by the identification restarts the timer and hides the pop-up; a
    // mouse that is not found, or found but not read (unknown or mismatched storage), would
    // otherwise leave both as the transfer set them.
    if (!link_.DevTimerRunning()) {
        host_.HideBusy();
        host_.PumpMessages();
        link_.StartDevTimer();
    }
    return back ? PatchResult::MouseBack : PatchResult::MouseGone;
}

// --- Profile files ---

std::vector<std::uint8_t> BuildProfileFile(ConfigImage& image, const macros::MacroStore& store,
                                           StorageKind storage) {
    image.StorePagesToDevice(storage);
    return EncodeProfileFile(image.ParameterBuffer(), image.ProfileBuffer(), storage,
                             MacroDataFromStore(store));
}

ProfileLoadResult TakeProfileFile(std::span<const std::uint8_t> file, StorageKind storage,
                                  ConfigImage& image, macros::MacroStore& store) {
    ProfileFileContents contents{image.ParameterBuffer(), image.ProfileBuffer(),
                                 MacroDataFromStore(store)};
    ProfileLoadResult result = DecodeProfileFile(file, storage, contents);
    if (!result.ok) return result;
    image.ParameterBuffer() = contents.parameter;
    image.ProfileBuffer() = contents.profile;
    if (storage != StorageKind::None) LoadMacroData(store, contents.macros);
    return result;
}

int RemapMacroCodes(ConfigImage& image, const std::vector<macros::MacroEntry>& before,
                    const macros::MacroStore& store) {
    std::map<std::uint16_t, std::uint16_t> moved;
    for (const auto& entry : before) {
        if (store.InUse(entry.slot)) moved[entry.address] = store.MacroAddress(entry.slot);
    }
    int changed = 0;
    for (int p = 0; p < kProfileCount; ++p) {
        for (int k = 0; k < kKeySlotCount; ++k) {
            const KeySlotBytes code = KeySlot(image.PageProfile(), p, k);
            if (code[0] != 0x10) continue;
            const auto address = static_cast<std::uint16_t>(code[1] << 8 | code[2]);
            const auto it = moved.find(address);
            if (it == moved.end() || it->second == address) continue;
            image.SetKeySlot(p, k, macros::MacroCodeForAddress(it->second));
            ++changed;
        }
    }
    return changed;
}

}  // namespace kelv::config
