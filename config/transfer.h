// Whole-configuration transfers between the mouse and the configuration image: reading
// everything, writing everything, restoring the defaults, applying a loaded profile file,
// saving the macros and programming the patch code. The state lives in ConfigImage and
// MacroStore; the service only moves bytes and keeps the presence timer and the busy pop-up
// in step. Qt-free, so the application's pages and kelvctl run the same flows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "config/default_image.h"
#include "config/image.h"
#include "config/patch.h"
#include "config/profile_file.h"
#include "config/storage.h"
#include "device/device_link.h"
#include "device/host.h"
#include "device/memory_map.h"
#include "macros/store.h"

namespace kelv::config {

inline constexpr std::uint64_t kRestartPauseMicros = 100000;  // before the restart command
inline constexpr std::uint64_t kRefindStepMicros = 100000;
inline constexpr int kRefindSteps = 51;  // 5.1 s for the mouse to come back

// What a layout means for the macro store and for files.
StorageKind StorageKindFor(device::Layout layout);
macros::MacroLayout MacroLayoutFor(device::Layout layout);
// Base of the packed area (0x0200 or 0x4000); the I2C base for the other layouts.
std::uint16_t PackedBaseFor(device::Layout layout);
// An empty store of the layout's kind.
macros::MacroStore StoreFor(device::Layout layout);
// Whether `store` is of the layout's kind (layout and, when packed, base address).
bool StoreMatches(const macros::MacroStore& store, device::Layout layout);

// The store's bytes as profile files and the default image hold them, and back. Loading
// parses a packed area (ReadAndRefreshMacro7311), so slots and addresses follow the bytes.
MacroData MacroDataFromStore(const macros::MacroStore& store);
void LoadMacroData(macros::MacroStore& store, const MacroData& data);

// Window-side steps around the flows. The defaults do nothing (kelvctl).
class TransferListener {
  public:
    virtual ~TransferListener() = default;
    // Closes the key menus and covers the pages (BlockAllPages), or uncovers them.
    virtual void BlockPages() {}
    virtual void UnblockPages() {}
    // The device-side copies went to the page copies: refresh every page (RefreshUI).
    virtual void PagesChanged() {}
    // The store was filled anew: rebuild the macro lists and script views.
    virtual void MacrosChanged() {}
    // Saving macros, before the profile is checksummed and written: bring the macro codes of
    // the page profile up to date (RefreshMacroAddr) and, paged, the name block from the list
    // (UIToMacroName).
    virtual void BeforeMacroSave(ConfigImage& /*image*/, macros::MacroStore& /*store*/) {}
    // The read cycle has filled the pages; last step before the pop-up goes and the pages are
    // uncovered (RefreshStorageControls).
    virtual void ReadFinished() {}
};

// Outcome of the patch programming.
enum class PatchResult {
    NotConnected,  // nothing was sent
    MouseBack,     // restarted and found again (and identified)
    MouseGone,     // restarted; not found after the wait
};

class TransferService {
  public:
    TransferService(device::DeviceLink& link, device::Clock& clock, device::Host& host);
    TransferService(const TransferService&) = delete;
    TransferService& operator=(const TransferService&) = delete;

    void SetListener(TransferListener* listener) { listener_ = listener; }

    // --- Moving bytes (no timer, no pop-up handling of their own) ---
    // Both sections into the device-side copies.
    void ReadSections(ConfigImage& image);
    // The macro area of the layout into the store, block by block; a block whose read command
    // is refused keeps its previous contents. The store is first made of the layout's kind
    // (emptied when it was not). Packed areas are parsed afterwards.
    void ReadMacros(device::Layout layout, macros::MacroStore& store);
    // Both whole sections from the device-side copies.
    void WriteSections(const ConfigImage& image);
    // Packed: the two 256-byte halves. Paged: the name table as four 256-byte blocks, then
    // the 32 pages in slot order. A store of another kind sends nothing.
    void WriteMacros(device::Layout layout, const macros::MacroStore& store);

    // --- Whole-configuration flows (DevTimer stopped during, restarted after) ---
    // The read cycle after identification: sections, macros of the link's layout, then the
    // page copies from the device side.
    void ReadAll(ConfigImage& image, macros::MacroStore& store);
    // Reset: the defaults into the device-side copies and the store, the pages from them, then
    // both sections and the whole macro area to the mouse.
    void ResetToDefaults(ConfigImage& image, macros::MacroStore& store,
                         const DefaultImage& defaults);
    // After a profile file was taken into the device-side copies and the store: the pages
    // follow and the mouse receives both sections and the whole macro area.
    void ApplyLoaded(ConfigImage& image, macros::MacroStore& store);
    // Loading a profile file: the file over the device-side copies and the store for the
    // link's storage kind, then ApplyLoaded. A refused file (wrong marker) changes nothing
    // and sends nothing.
    ProfileLoadResult LoadProfile(std::span<const std::uint8_t> file, ConfigImage& image,
                                  macros::MacroStore& store);
    // The macro save: profile checksum over the page profile, the page profile as the
    // device-side copy and to the mouse, then the macro area.
    void SaveMacros(ConfigImage& image, macros::MacroStore& store);
    // Programs code and descriptor, restarts the mouse and searches for it again. The busy
    // pop-up and DevTimer are left as a read cycle leaves them, or hidden and restarted here
    // when no read cycle ran.
    PatchResult ProgramPatch(const PatchCode& code);

  private:
    TransferListener& Listener() { return listener_ ? *listener_ : noListener_; }
    void Begin();
    void End();
    void PumpWait(std::uint64_t micros);

    device::DeviceLink& link_;
    device::Clock& clock_;
    device::Host& host_;
    TransferListener* listener_ = nullptr;
    TransferListener noListener_;
};

// --- Profile files over the image and the store ---

// Saving: the pages are stored to the device side (marker and checksums set for the kind) and
// the file's bytes are built from it. `storage` None gives the 256-byte sections-only file.
std::vector<std::uint8_t> BuildProfileFile(ConfigImage& image, const macros::MacroStore& store,
                                           StorageKind storage);
// Loading: the file over the device-side copies and the store. A refused file (wrong marker)
// changes nothing.
ProfileLoadResult TakeProfileFile(std::span<const std::uint8_t> file, StorageKind storage,
                                  ConfigImage& image, macros::MacroStore& store);

// Macro codes that pointed at a macro in `before` are pointed at the same slot's address in
// `store`, in all three profiles of the page copy; codes of slots no longer in use and all
// other codes stay. Returns the number of slots changed.
int RemapMacroCodes(ConfigImage& image, const std::vector<macros::MacroEntry>& before,
                    const macros::MacroStore& store);

}  // namespace kelv::config
