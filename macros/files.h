// Macro files (.bin, raw bytes): one macro (288 bytes: name field, 256 event bytes) or all
// macros (the 512-byte packed area, or the 1024-byte name block and 32 pages: 9216 bytes).
// Reading and writing the files themselves is the caller's (config/file_io.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "macros/name_field.h"
#include "macros/store.h"

namespace kelv::macros {

inline constexpr std::size_t kOneMacroFileSize = kNameFieldSize + kEventBufferSize;  // 288
inline constexpr std::size_t kPackedAllFileSize = kPackedAreaSize;                   // 512
inline constexpr std::size_t kPagedAllFileSize = kNameBlockSize + kPagedSlotCount * kPageSize;

enum class MacroFileError {
    kNone,
    kNoStorage,     // the store has no macro layout
    kNoSlot,        // no such macro (packed: slot not in use)
    kWrongSize,     // the file is not of the size this kind of file has in the store's layout
    kNoTerminator,  // a one-macro file whose events do not end inside its 256 bytes
    kOutOfRange,    // the imported macro does not fit the packed area (message Str103)
};

// One macro file, decoded: the name field and the events (terminator included).
struct OneMacroFile {
    NameField name{};
    std::vector<std::uint8_t> events;
};

// 288 bytes: the name field, then the events and zeros to 256 bytes. Events longer than 256
// bytes are not representable and give an empty result.
std::vector<std::uint8_t> EncodeOneMacroFile(const NameField& name,
                                             std::span<const std::uint8_t> events);
// The event length is found by walking records to the terminator, so delays of 256 ms and
// usage 0 records, whose zero bytes a search for zeros would mistake, keep their bytes.
std::optional<OneMacroFile> DecodeOneMacroFile(std::span<const std::uint8_t> file,
                                               MacroFileError* error = nullptr);

// The store's bytes for the export buttons: the slot's name field and its 256-byte buffer or
// page; the whole area, or the name block and the pages. Empty for a slot not in use or a
// store without layout.
std::vector<std::uint8_t> ExportOneMacro(const MacroStore& store, int slot);
std::vector<std::uint8_t> ExportAllMacros(const MacroStore& store);

// Imports into the store. On any error the store is unchanged. Packed imports are parsed
// (ReadAndRefreshMacro7311) afterwards, so slots and name lists follow the file.
MacroFileError ImportOneMacro(MacroStore& store, int slot, std::span<const std::uint8_t> file);
MacroFileError ImportAllMacros(MacroStore& store, std::span<const std::uint8_t> file);

// Size an all-macros file has for a layout (0 for kNone).
std::size_t AllMacrosFileSize(MacroLayout layout);

}  // namespace kelv::macros
