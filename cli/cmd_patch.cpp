// kelvctl patch: program the patch code from FILE (1024 bytes at offset 0x8000) and restart
// the mouse.
#include <ostream>

#include "cli/cmd_support.h"
#include "config/patch.h"

namespace kelv::cli {
namespace {

int RunPatch(Session& session, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) return Fail(err, "patch takes one FILE");
    const auto bytes = ReadInput(args[0], config::kPatchFileOffset + config::kPatchCodeSize, err);
    if (!bytes) return 1;
    config::PatchCode code{};
    const config::PatchLoadResult loaded = config::LoadPatchCode(*bytes, code);
    if (!loaded.ok) return Fail(err, args[0] + ": " + loaded.error);
    auto mouse = Connect(session, false, err);
    if (!mouse) return 1;
    // Only mice with flash macro storage take patch code.
    if (mouse->Layout() != device::Layout::C)
        return Fail(err, "this mouse does not take patch code (flash macro storage only)");
    if (loaded.bytesTaken < config::kPatchCodeSize) {
        out << "the file holds " << loaded.bytesTaken
            << " bytes of patch code; the rest is programmed as zero\n";
    }
    switch (mouse->service.ProgramPatch(code)) {
        case config::PatchResult::MouseBack:
            out << "programmed the patch code; the mouse restarted and is back\n";
            return 0;
        case config::PatchResult::MouseGone:
            return Fail(err,
                        "programmed the patch code, but the mouse did not come back after "
                        "the restart");
        case config::PatchResult::NotConnected:
            break;
    }
    return Fail(err, EnglishTexts().Text("Str022"));
}

const CommandRegistrar kPatch({"patch", "FILE",
                               "program patch code from FILE and restart the mouse", RunPatch});

}  // namespace
}  // namespace kelv::cli
