// The mouse's macros in memory, in one of its two layouts:
// - packed: up to 15 macros back to back in one 512-byte area (name field, events, terminator);
// - paged: 32 fixed slots, each a 256-byte page of events plus a name field in a 1024-byte block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macros/events.h"
#include "macros/name_field.h"

namespace kelv::macros {

enum class MacroLayout { kNone, kPacked, kPaged };

inline constexpr std::size_t kPackedAreaSize = 512;
inline constexpr int kPackedSlotCount = 15;
inline constexpr std::size_t kEventBufferSize = kMaxEventBytes;
inline constexpr int kPagedSlotCount = 32;
inline constexpr std::size_t kPageSize = 256;
inline constexpr std::size_t kNameBlockSize = kNameFieldSize * kPagedSlotCount;
inline constexpr std::uint16_t kPackedBaseI2C = 0x0200;    // I2C chip
inline constexpr std::uint16_t kPackedBaseFlash = 0x4000;  // Flash chip, I2C macro storage
inline constexpr std::uint16_t kPageBaseAddress = 0x4000;
inline constexpr std::uint16_t kNameBlockAddress = 0x3000;
// Record length of a macro without events: name field and terminator.
inline constexpr int kEmptyMacroLength = static_cast<int>(kNameFieldSize) + 1;

// Upper bound on TotalLength while recording or adding a macro: a little below the area (the
// packed 512 bytes, or one 256-byte page) so the last event and its release still fit; 4 bytes
// more when no delays are recorded.
constexpr int RoomLimit(MacroLayout layout, bool noDelay) {
    if (layout == MacroLayout::kPacked) return noDelay ? 504 : 500;
    if (layout == MacroLayout::kPaged) return noDelay ? 248 : 244;
    return 0;
}

// Device address of page `slot` of the paged layout.
constexpr std::uint16_t PageAddress(int slot) {
    return static_cast<std::uint16_t>(kPageBaseAddress + 0x100 * slot);
}

// The key function code that makes a button run the macro at `address`: 10 hi lo 00.
constexpr std::array<std::uint8_t, 4> MacroCodeForAddress(std::uint16_t address) {
    return {0x10, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address), 0};
}

enum class StoreResult {
    kOk,
    kNoStorage,       // the store has no macro layout
    kNoSlot,          // slot out of range, or (packed) not in use
    kMalformed,       // events are not complete records with one final terminator
    kTooLong,         // more than 256 event bytes
    kNoRoom,          // (packed) the area would exceed 512 bytes, or 15 macros exist already
    kUnstorableName,  // (packed) empty, or its first character reads as the end of the list
};

// One row of the macro lists: the slot, its name and the address button codes refer to.
struct MacroEntry {
    int slot = 0;
    std::string name;
    std::uint16_t address = 0;
    friend bool operator==(const MacroEntry&, const MacroEntry&) = default;
};

// Outcome of parsing the packed area.
struct PackedParse {
    int macros = 0;
    // Macros kept in part: more than 255 event bytes, or no terminator inside the area. Their
    // complete records are kept and a terminator is added.
    int repaired = 0;
};

class MacroStore {
  public:
    explicit MacroStore(MacroLayout layout = MacroLayout::kNone,
                        std::uint16_t packedBase = kPackedBaseI2C);

    MacroLayout Layout() const { return layout_; }
    std::uint16_t PackedBase() const { return packedBase_; }
    // 15 (packed), 32 (paged) or 0.
    int SlotCount() const;
    // Slots shown in the name lists: the packed slots in use, or all 32 pages.
    int MacroCount() const;
    bool InUse(int slot) const;

    // Zeroes everything (area, slots, name block, pages).
    void Clear();

    // --- packed layout ---
    std::span<const std::uint8_t, kPackedAreaSize> Area() const { return area_; }
    // Copies bytes into the area image from `offset` (a half read from the mouse, a whole file);
    // bytes that would fall outside the area are ignored. Parse afterwards.
    void SetArea(std::span<const std::uint8_t> bytes, std::size_t offset = 0);
    // Area image -> slots, then rebuilds the area from them.
    PackedParse ReadAndRefreshMacro7311();
    // Slots -> area image; recomputes TotalLength and addresses.
    void RefreshMacro7311();
    // Recomputes TotalLength only, and returns it.
    int CheckMacroLen7311();
    // Bytes of the area in use (sum of the record lengths).
    int TotalLength() const { return totalLength_; }
    // Record length of a packed slot: 0 unused, 33 no events.
    int Length(int slot) const;
    // TotalLength with the slot's events taken out but its name kept: where TotalLength stands
    // when a recording into that slot starts. 0 for a slot not in use.
    int RecordingBase(int slot) const;
    // Adds a macro without events after the last one. `roomLimit` is the caller's bound on
    // TotalLength: refused when 15 macros exist or TotalLength + 32 >= roomLimit.
    StoreResult AddMacro(std::string_view name, int roomLimit);
    // Removes a packed macro; the later ones move down a slot and forward in the area.
    StoreResult DeleteMacro(int slot);

    // --- paged layout ---
    std::span<const std::uint8_t, kNameBlockSize> NameBlock() const { return nameBlock_; }
    void SetNameBlock(std::span<const std::uint8_t> bytes);  // at most 1024 bytes copied
    std::span<const std::uint8_t, kPageSize> Page(int slot) const;
    void SetPage(int slot, std::span<const std::uint8_t> bytes);  // at most 256 bytes copied
    // Rebuilds the name block from the 32 names of the macro list (missing names are empty).
    void UIToMacroName(const std::vector<std::string>& names);

    // --- both layouts ---
    // Device address of the slot's first event byte (packed) or its page (paged); 0 when the
    // packed slot is not in use (slot 0 is always base + 32).
    std::uint16_t MacroAddress(int slot) const;
    std::array<std::uint8_t, 4> MacroCode(int slot) const {
        return MacroCodeForAddress(MacroAddress(slot));
    }
    // The slot in use whose macro starts at `address`.
    std::optional<int> SlotOfAddress(std::uint16_t address) const;

    NameField NameFieldOf(int slot) const;
    std::string Name(int slot) const;
    // The names of the macro lists, position by position (packed: slots in use; paged: 32).
    std::vector<std::string> Names() const;
    // The same rows with their slots and addresses.
    std::vector<MacroEntry> Entries() const;
    // The names each layout's lists are filled with (both equal Names()).
    std::vector<std::string> RefreshMacroName7311() const { return Names(); }
    std::vector<std::string> RefreshMacroName() const { return Names(); }
    // Writes the slot's name field. Packed slots must be in use.
    StoreResult SetName(int slot, std::string_view name);

    // The slot's 256-byte event buffer (packed) or page (paged).
    std::span<const std::uint8_t, kEventBufferSize> EventBuffer(int slot) const;
    // Event bytes with terminator; 0 when the slot has none to show (unused packed slot, or a
    // page without a terminator, such as erased flash).
    int EventLength(int slot) const;
    std::vector<std::uint8_t> Events(int slot) const;
    // Stores new events (terminator included) for a slot: its buffer or page is cleared and
    // written from the start; packed, the area is rebuilt. Refused bytes change nothing.
    StoreResult StoreEvents(int slot, std::span<const std::uint8_t> events);
    // Most event bytes (terminator included) StoreEvents accepts for the slot now: 256, or less
    // where the rest of the packed area is short. 0 for a slot not in use.
    std::size_t EventRoom(int slot) const;
    // Name field and events together, as a one-macro file brings them; validated like
    // StoreEvents. The buffer after the terminator is zeroed.
    StoreResult SetSlot(int slot, const NameField& name, std::span<const std::uint8_t> events);
    // Leaves the macro its name and no events (packed: Length 33; paged: a zeroed page).
    StoreResult ClearMacro(int slot) {
        static constexpr std::uint8_t kNoEvents[] = {kTerminator};
        return StoreEvents(slot, kNoEvents);
    }

  private:
    struct PackedSlot {
        NameField name{};
        std::array<std::uint8_t, kEventBufferSize> events{};
        int length = 0;
        std::uint16_t address = 0;
    };

    bool ValidSlot(int slot) const;
    StoreResult CheckEvents(int slot, std::span<const std::uint8_t> events) const;
    void WriteSlot(int slot, const NameField* name, std::span<const std::uint8_t> events);

    MacroLayout layout_;
    std::uint16_t packedBase_;
    std::array<std::uint8_t, kPackedAreaSize> area_{};
    std::array<PackedSlot, kPackedSlotCount> slots_{};
    int totalLength_ = 0;
    std::array<std::uint8_t, kNameBlockSize> nameBlock_{};
    std::array<std::array<std::uint8_t, kPageSize>, kPagedSlotCount> pages_{};
};

}  // namespace kelv::macros
