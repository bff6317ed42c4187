#include "macros/files.h"

#include <algorithm>

namespace kelv::macros {
namespace {

MacroFileError FromStore(StoreResult r) {
    switch (r) {
        case StoreResult::kOk:
            return MacroFileError::kNone;
        case StoreResult::kNoStorage:
            return MacroFileError::kNoStorage;
        case StoreResult::kNoSlot:
            return MacroFileError::kNoSlot;
        case StoreResult::kMalformed:
        case StoreResult::kTooLong:
            return MacroFileError::kNoTerminator;
        case StoreResult::kNoRoom:
        case StoreResult::kUnstorableName:
            break;
    }
    // A name the packed list cannot hold would make the macros vanish: as good as no room.
    return MacroFileError::kOutOfRange;
}

}  // namespace

std::size_t AllMacrosFileSize(MacroLayout layout) {
    switch (layout) {
        case MacroLayout::kPacked:
            return kPackedAllFileSize;
        case MacroLayout::kPaged:
            return kPagedAllFileSize;
        case MacroLayout::kNone:
            break;
    }
    return 0;
}

std::vector<std::uint8_t> EncodeOneMacroFile(const NameField& name,
                                             std::span<const std::uint8_t> events) {
    if (events.size() > kEventBufferSize) return {};
    std::vector<std::uint8_t> file(kOneMacroFileSize, 0);
    std::copy(name.begin(), name.end(), file.begin());
    std::copy(events.begin(), events.end(), file.begin() + kNameFieldSize);
    return file;
}

std::optional<OneMacroFile> DecodeOneMacroFile(std::span<const std::uint8_t> file,
                                               MacroFileError* error) {
    auto fail = [error](MacroFileError e) {
        if (error) *error = e;
        return std::nullopt;
    };
    if (file.size() != kOneMacroFileSize) return fail(MacroFileError::kWrongSize);
    const auto events = file.subspan(kNameFieldSize);
    const EventWalk walk = WalkEvents(events);
    if (!walk.terminated) return fail(MacroFileError::kNoTerminator);
    OneMacroFile out;
    std::copy_n(file.begin(), kNameFieldSize, out.name.begin());
    out.events.assign(events.begin(),
                      events.begin() + static_cast<std::ptrdiff_t>(walk.eventBytes + 1));
    if (error) *error = MacroFileError::kNone;
    return out;
}

std::vector<std::uint8_t> ExportOneMacro(const MacroStore& store, int slot) {
    if (!store.InUse(slot)) return {};
    std::vector<std::uint8_t> file(kOneMacroFileSize, 0);
    const NameField name = store.NameFieldOf(slot);
    std::copy(name.begin(), name.end(), file.begin());
    const auto buffer = store.EventBuffer(slot);
    std::copy(buffer.begin(), buffer.end(), file.begin() + kNameFieldSize);
    return file;
}

std::vector<std::uint8_t> ExportAllMacros(const MacroStore& store) {
    std::vector<std::uint8_t> file;
    if (store.Layout() == MacroLayout::kPacked) {
        file.assign(store.Area().begin(), store.Area().end());
    } else if (store.Layout() == MacroLayout::kPaged) {
        file.assign(store.NameBlock().begin(), store.NameBlock().end());
        for (int i = 0; i < kPagedSlotCount; ++i) {
            const auto page = store.Page(i);
            file.insert(file.end(), page.begin(), page.end());
        }
    }
    return file;
}

MacroFileError ImportOneMacro(MacroStore& store, int slot, std::span<const std::uint8_t> file) {
    if (store.Layout() == MacroLayout::kNone) return MacroFileError::kNoStorage;
    if (!store.InUse(slot)) return MacroFileError::kNoSlot;
    MacroFileError error = MacroFileError::kNone;
    const auto decoded = DecodeOneMacroFile(file, &error);
    if (!decoded) return error;
    const MacroFileError stored = FromStore(store.SetSlot(slot, decoded->name, decoded->events));
    if (stored == MacroFileError::kNone && store.Layout() == MacroLayout::kPacked)
        store.ReadAndRefreshMacro7311();
    return stored;
}

MacroFileError ImportAllMacros(MacroStore& store, std::span<const std::uint8_t> file) {
    const MacroLayout layout = store.Layout();
    if (layout == MacroLayout::kNone) return MacroFileError::kNoStorage;
    if (file.size() != AllMacrosFileSize(layout)) return MacroFileError::kWrongSize;
    if (layout == MacroLayout::kPacked) {
        store.SetArea(file);
        store.ReadAndRefreshMacro7311();
        return MacroFileError::kNone;
    }
    store.SetNameBlock(file.first(kNameBlockSize));
    for (int i = 0; i < kPagedSlotCount; ++i)
        store.SetPage(
            i, file.subspan(kNameBlockSize + kPageSize * static_cast<std::size_t>(i), kPageSize));
    return MacroFileError::kNone;
}

}  // namespace kelv::macros
