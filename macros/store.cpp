#include "macros/store.h"

#include <algorithm>

namespace kelv::macros {

MacroStore::MacroStore(MacroLayout layout, std::uint16_t packedBase)
    : layout_(layout), packedBase_(packedBase) {
    slots_[0].address = static_cast<std::uint16_t>(packedBase_ + kNameFieldSize);
}

int MacroStore::SlotCount() const {
    switch (layout_) {
        case MacroLayout::kPacked:
            return kPackedSlotCount;
        case MacroLayout::kPaged:
            return kPagedSlotCount;
        case MacroLayout::kNone:
            break;
    }
    return 0;
}

int MacroStore::MacroCount() const {
    if (layout_ == MacroLayout::kPaged) return kPagedSlotCount;
    if (layout_ != MacroLayout::kPacked) return 0;
    int count = 0;
    for (const auto& slot : slots_) count += slot.length != 0 ? 1 : 0;
    return count;
}

bool MacroStore::ValidSlot(int slot) const {
    return slot >= 0 && slot < SlotCount();
}

bool MacroStore::InUse(int slot) const {
    if (!ValidSlot(slot)) return false;
    return layout_ == MacroLayout::kPaged || slots_[static_cast<std::size_t>(slot)].length != 0;
}

void MacroStore::Clear() {
    area_.fill(0);
    slots_ = {};
    slots_[0].address = static_cast<std::uint16_t>(packedBase_ + kNameFieldSize);
    totalLength_ = 0;
    nameBlock_.fill(0);
    for (auto& page : pages_) page.fill(0);
}

void MacroStore::SetArea(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (offset >= area_.size()) return;
    const std::size_t n = std::min(bytes.size(), area_.size() - offset);
    std::copy_n(bytes.begin(), n, area_.begin() + static_cast<std::ptrdiff_t>(offset));
}

PackedParse MacroStore::ReadAndRefreshMacro7311() {
    PackedParse result;
    const std::uint16_t first = static_cast<std::uint16_t>(packedBase_ + kNameFieldSize);
    slots_ = {};
    slots_[0].address = first;
    std::size_t offset = 0;
    int used = 0;
    for (int k = 0; k < kPackedSlotCount; ++k) {
        // A record needs its name field and at least a terminator inside the area.
        if (offset + kEmptyMacroLength > area_.size()) break;
        const std::uint8_t b0 = area_[offset];
        const std::uint8_t b1 = area_[offset + 1];
        if ((b0 == 0 && b1 == 0) || b0 == 0xFF || b1 == 0xFF) break;

        PackedSlot& slot = slots_[static_cast<std::size_t>(k)];
        std::copy_n(area_.begin() + static_cast<std::ptrdiff_t>(offset), kNameFieldSize,
                    slot.name.begin());
        const std::size_t eventsAt = offset + kNameFieldSize;
        const std::span<const std::uint8_t> rest(area_.data() + eventsAt, area_.size() - eventsAt);
        // Room for the events: the buffer's 255 bytes, and one byte of the area left for the
        // terminator so that the rebuilt area still fits.
        const std::size_t room = std::min(kEventBufferSize - 1, rest.size() - 1);
        const EventWalk kept = WalkEvents(rest, room);
        std::copy_n(rest.begin(), kept.eventBytes, slot.events.begin());
        slot.length = static_cast<int>(kNameFieldSize + kept.eventBytes + 1);
        if (k >= 1) slot.address = static_cast<std::uint16_t>(first + used);
        used += slot.length;
        ++result.macros;
        if (kept.terminated) {
            offset += static_cast<std::size_t>(slot.length);
            continue;
        }
        // Kept in part. Carry on after the original record when it does end in the area.
        ++result.repaired;
        const EventWalk whole = WalkEvents(rest, rest.size());
        if (!whole.terminated) break;
        offset = eventsAt + whole.eventBytes + 1;
    }
    RefreshMacro7311();
    return result;
}

void MacroStore::RefreshMacro7311() {
    area_.fill(0);
    totalLength_ = 0;
    const std::uint16_t first = static_cast<std::uint16_t>(packedBase_ + kNameFieldSize);
    std::size_t offset = 0;
    for (int k = 0; k < kPackedSlotCount; ++k) {
        PackedSlot& slot = slots_[static_cast<std::size_t>(k)];
        if (slot.length == 0) {
            if (k >= 1) slot.address = 0;
            continue;
        }
        const auto length = static_cast<std::size_t>(slot.length);
        if (k >= 1) slot.address = static_cast<std::uint16_t>(first + totalLength_);
        totalLength_ += slot.length;
        // Callers keep the area within 512 bytes; never write past it if one does not.
        if (offset + length > area_.size()) continue;
        std::copy(slot.name.begin(), slot.name.end(),
                  area_.begin() + static_cast<std::ptrdiff_t>(offset));
        std::copy_n(slot.events.begin(), length - kNameFieldSize,
                    area_.begin() + static_cast<std::ptrdiff_t>(offset + kNameFieldSize));
        offset += length;
    }
    slots_[0].address = first;
}

int MacroStore::CheckMacroLen7311() {
    totalLength_ = 0;
    for (const auto& slot : slots_) totalLength_ += slot.length;
    return totalLength_;
}

int MacroStore::Length(int slot) const {
    if (layout_ != MacroLayout::kPacked || !ValidSlot(slot)) return 0;
    return slots_[static_cast<std::size_t>(slot)].length;
}

int MacroStore::RecordingBase(int slot) const {
    if (layout_ != MacroLayout::kPacked || !InUse(slot)) return 0;
    return totalLength_ - Length(slot) + static_cast<int>(kNameFieldSize);
}

StoreResult MacroStore::AddMacro(std::string_view name, int roomLimit) {
    if (layout_ != MacroLayout::kPacked) return StoreResult::kNoStorage;
    const int count = MacroCount();
    if (count >= kPackedSlotCount || totalLength_ + static_cast<int>(kNameFieldSize) >= roomLimit ||
        totalLength_ + kEmptyMacroLength > static_cast<int>(kPackedAreaSize))
        return StoreResult::kNoRoom;
    const NameField field = MacroNameStrToUnicode(name);
    if (!PackedLayoutAcceptsName(field)) return StoreResult::kUnstorableName;
    PackedSlot& slot = slots_[static_cast<std::size_t>(count)];
    slot = {};
    slot.name = field;
    slot.length = kEmptyMacroLength;
    RefreshMacro7311();
    return StoreResult::kOk;
}

StoreResult MacroStore::DeleteMacro(int slot) {
    if (layout_ != MacroLayout::kPacked) return StoreResult::kNoStorage;
    if (!InUse(slot)) return StoreResult::kNoSlot;
    slots_[static_cast<std::size_t>(slot)] = {};
    RefreshMacro7311();
    ReadAndRefreshMacro7311();
    return StoreResult::kOk;
}

std::span<const std::uint8_t, kPageSize> MacroStore::Page(int slot) const {
    return pages_[static_cast<std::size_t>(std::clamp(slot, 0, kPagedSlotCount - 1))];
}

void MacroStore::SetNameBlock(std::span<const std::uint8_t> bytes) {
    std::copy_n(bytes.begin(), std::min(bytes.size(), nameBlock_.size()), nameBlock_.begin());
}

void MacroStore::SetPage(int slot, std::span<const std::uint8_t> bytes) {
    if (slot < 0 || slot >= kPagedSlotCount) return;
    auto& page = pages_[static_cast<std::size_t>(slot)];
    std::copy_n(bytes.begin(), std::min(bytes.size(), page.size()), page.begin());
}

void MacroStore::UIToMacroName(const std::vector<std::string>& names) {
    nameBlock_.fill(0);
    for (std::size_t i = 0; i < names.size() && i < kPagedSlotCount; ++i) {
        const NameField field = MacroNameStrToUnicode(names[i]);
        std::copy(field.begin(), field.end(),
                  nameBlock_.begin() + static_cast<std::ptrdiff_t>(i * kNameFieldSize));
    }
}

std::uint16_t MacroStore::MacroAddress(int slot) const {
    if (!ValidSlot(slot)) return 0;
    if (layout_ == MacroLayout::kPaged) return PageAddress(slot);
    return slots_[static_cast<std::size_t>(slot)].address;
}

std::optional<int> MacroStore::SlotOfAddress(std::uint16_t address) const {
    for (int k = 0; k < SlotCount(); ++k) {
        if (InUse(k) && MacroAddress(k) == address) return k;
    }
    return std::nullopt;
}

NameField MacroStore::NameFieldOf(int slot) const {
    NameField field{};
    if (!ValidSlot(slot)) return field;
    if (layout_ == MacroLayout::kPacked) return slots_[static_cast<std::size_t>(slot)].name;
    std::copy_n(nameBlock_.begin() + static_cast<std::ptrdiff_t>(slot * kNameFieldSize),
                kNameFieldSize, field.begin());
    return field;
}

std::string MacroStore::Name(int slot) const {
    return MacroNameFromField(NameFieldOf(slot));
}

std::vector<std::string> MacroStore::Names() const {
    std::vector<std::string> names;
    for (int k = 0; k < SlotCount(); ++k) {
        if (InUse(k)) names.push_back(Name(k));
    }
    return names;
}

std::vector<MacroEntry> MacroStore::Entries() const {
    std::vector<MacroEntry> entries;
    for (int k = 0; k < SlotCount(); ++k) {
        if (InUse(k)) entries.push_back({k, Name(k), MacroAddress(k)});
    }
    return entries;
}

StoreResult MacroStore::SetName(int slot, std::string_view name) {
    if (layout_ == MacroLayout::kNone) return StoreResult::kNoStorage;
    if (!InUse(slot)) return StoreResult::kNoSlot;
    const NameField field = MacroNameStrToUnicode(name);
    if (layout_ == MacroLayout::kPaged) {
        std::copy(field.begin(), field.end(),
                  nameBlock_.begin() + static_cast<std::ptrdiff_t>(slot * kNameFieldSize));
        return StoreResult::kOk;
    }
    if (!PackedLayoutAcceptsName(field)) return StoreResult::kUnstorableName;
    slots_[static_cast<std::size_t>(slot)].name = field;
    RefreshMacro7311();
    return StoreResult::kOk;
}

std::span<const std::uint8_t, kEventBufferSize> MacroStore::EventBuffer(int slot) const {
    const auto i = static_cast<std::size_t>(std::clamp(slot, 0, std::max(SlotCount(), 1) - 1));
    if (layout_ == MacroLayout::kPaged) return pages_[i];
    return slots_[std::min<std::size_t>(i, kPackedSlotCount - 1)].events;
}

int MacroStore::EventLength(int slot) const {
    if (!InUse(slot)) return 0;
    if (layout_ == MacroLayout::kPacked)
        return slots_[static_cast<std::size_t>(slot)].length - static_cast<int>(kNameFieldSize);
    const EventWalk walk = WalkEvents(pages_[static_cast<std::size_t>(slot)]);
    return walk.terminated ? static_cast<int>(walk.eventBytes + 1) : 0;
}

std::vector<std::uint8_t> MacroStore::Events(int slot) const {
    const int length = EventLength(slot);
    if (length <= 0) return {};
    const auto buffer = EventBuffer(slot);
    return {buffer.begin(), buffer.begin() + length};
}

StoreResult MacroStore::CheckEvents(int slot, std::span<const std::uint8_t> events) const {
    if (layout_ == MacroLayout::kNone) return StoreResult::kNoStorage;
    if (!InUse(slot)) return StoreResult::kNoSlot;
    if (events.size() > kMaxEventBytes) return StoreResult::kTooLong;
    if (!IsWellFormedEvents(events)) return StoreResult::kMalformed;
    if (layout_ == MacroLayout::kPacked) {
        const int total = totalLength_ - slots_[static_cast<std::size_t>(slot)].length +
                          static_cast<int>(kNameFieldSize + events.size());
        if (total > static_cast<int>(kPackedAreaSize)) return StoreResult::kNoRoom;
    }
    return StoreResult::kOk;
}

void MacroStore::WriteSlot(int slot, const NameField* name, std::span<const std::uint8_t> events) {
    const auto i = static_cast<std::size_t>(slot);
    if (layout_ == MacroLayout::kPaged) {
        pages_[i].fill(0);
        std::copy(events.begin(), events.end(), pages_[i].begin());
        if (name)
            std::copy(name->begin(), name->end(),
                      nameBlock_.begin() + static_cast<std::ptrdiff_t>(i * kNameFieldSize));
        return;
    }
    PackedSlot& s = slots_[i];
    s.events.fill(0);
    std::copy(events.begin(), events.end(), s.events.begin());
    s.length = static_cast<int>(kNameFieldSize + events.size());
    if (name) s.name = *name;
    RefreshMacro7311();
}

std::size_t MacroStore::EventRoom(int slot) const {
    if (layout_ == MacroLayout::kNone || !InUse(slot)) return 0;
    if (layout_ == MacroLayout::kPaged) return kMaxEventBytes;
    const int free = static_cast<int>(kPackedAreaSize) - RecordingBase(slot);
    return static_cast<std::size_t>(std::clamp(free, 0, static_cast<int>(kMaxEventBytes)));
}

StoreResult MacroStore::StoreEvents(int slot, std::span<const std::uint8_t> events) {
    const StoreResult check = CheckEvents(slot, events);
    if (check == StoreResult::kOk) WriteSlot(slot, nullptr, events);
    return check;
}

StoreResult MacroStore::SetSlot(int slot, const NameField& name,
                                std::span<const std::uint8_t> events) {
    StoreResult check = CheckEvents(slot, events);
    if (check == StoreResult::kOk && layout_ == MacroLayout::kPacked &&
        !PackedLayoutAcceptsName(name))
        check = StoreResult::kUnstorableName;
    if (check == StoreResult::kOk) WriteSlot(slot, &name, events);
    return check;
}

}  // namespace kelv::macros
