// kelvctl macro: export and import one macro or the whole macro set. Imports go to the mouse
// as the macro save does: the profile section, then the macro area.
#include <charconv>
#include <ostream>

#include "cli/cmd_support.h"
#include "macros/files.h"

namespace kelv::cli {
namespace {

constexpr std::string_view kUsage =
    "macro takes: export SLOT FILE | export --all FILE | import SLOT FILE | import --all FILE";

std::string ImportError(macros::MacroFileError error, const std::string& file, std::size_t size,
                        const macros::MacroStore& store, bool all, int slot) {
    using macros::MacroFileError;
    switch (error) {
        case MacroFileError::kNoStorage:
            return "the mouse has no macro storage";
        case MacroFileError::kNoSlot:
            return "no macro in slot " + std::to_string(slot);
        case MacroFileError::kWrongSize: {
            const std::size_t expected =
                all ? macros::AllMacrosFileSize(store.Layout()) : macros::kOneMacroFileSize;
            return file + ": " + std::to_string(size) + " bytes, not a " +
                   (all ? "macro set" : "one-macro") + " file of this mouse (" +
                   std::to_string(expected) + " bytes)";
        }
        case MacroFileError::kNoTerminator:
            return file + ": the macro's events do not end inside its 256 bytes";
        case MacroFileError::kOutOfRange:
            return EnglishTexts().Text("Str103");
        case MacroFileError::kNone:
            break;
    }
    return {};
}

int RunMacro(Session& session, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
    if (args.size() != 3 || (args[0] != "export" && args[0] != "import")) return Fail(err, kUsage);
    const bool exporting = args[0] == "export";
    const bool all = args[1] == "--all";
    const std::string& file = args[2];
    int slot = -1;
    if (!all) {
        const std::string& text = args[1];
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), slot);
        if (ec != std::errc() || end != text.data() + text.size() || slot < 0)
            return Fail(err, "SLOT must be a macro slot number (0, 1, ...) as dump shows it");
    }

    std::optional<std::vector<std::uint8_t>> bytes;
    if (!exporting) {
        // Read before the mouse is touched: an unreadable file starts no transfer.
        // One byte past the largest macro file, so that a larger file is refused, not cut.
        bytes = ReadInput(file, macros::kPagedAllFileSize + 1, err);
        if (!bytes) return 1;
        if (bytes->size() > macros::kPagedAllFileSize)
            return Fail(err, file + ": larger than any macro file (" +
                                 std::to_string(macros::kPagedAllFileSize) + " bytes at most)");
    }
    auto mouse = Connect(session, true, err);
    if (!mouse) return 1;
    macros::MacroStore& store = mouse->store;
    if (store.Layout() == macros::MacroLayout::kNone)
        return Fail(err, "the mouse has no macro storage");

    if (exporting) {
        if (!all && !store.InUse(slot))
            return Fail(err, "no macro in slot " + std::to_string(slot));
        const auto data =
            all ? macros::ExportAllMacros(store) : macros::ExportOneMacro(store, slot);
        if (!WriteOutput(file, data, err)) return 1;
        out << "exported " << (all ? "all macros" : "slot " + std::to_string(slot)) << " to "
            << file << " (" << data.size() << " bytes)\n";
        return 0;
    }

    const std::vector<macros::MacroEntry> before = store.Entries();
    const macros::MacroFileError error =
        all ? macros::ImportAllMacros(store, *bytes) : macros::ImportOneMacro(store, slot, *bytes);
    if (error != macros::MacroFileError::kNone)
        return Fail(err, ImportError(error, file, bytes->size(), store, all, slot));
    // Buttons keep running the macro of their slot wherever the import moved it.
    config::RemapMacroCodes(mouse->image, before, store);
    mouse->service.SaveMacros(mouse->image, store);
    out << "imported " << file << (all ? " as all macros" : " into slot " + std::to_string(slot))
        << "\n";
    return 0;
}

const CommandRegistrar kMacro({"macro", "export|import SLOT|--all FILE",
                               "export or import one macro or all macros", RunMacro});

}  // namespace
}  // namespace kelv::cli
