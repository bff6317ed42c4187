// kelvctl save / load / reset: whole configurations between the mouse and profile files, and
// the build's defaults.
#include <ostream>

#include "cli/cmd_support.h"
#include "config/profile_file.h"

namespace kelv::cli {
namespace {

int RunSave(Session& session, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) return Fail(err, "save takes one FILE");
    auto mouse = Connect(session, true, err);
    if (!mouse) return 1;
    const auto bytes = config::BuildProfileFile(mouse->image, mouse->store, mouse->Storage());
    if (!WriteOutput(args[0], bytes, err)) return 1;
    out << "saved " << bytes.size() << " bytes to " << args[0] << "\n";
    return 0;
}

int RunLoad(Session& session, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) return Fail(err, "load takes one FILE");
    // The file is read before the mouse is touched, so an unreadable file starts no transfer.
    const auto bytes = ReadInput(args[0], config::kFlashProfileFileSize, err);
    if (!bytes) return 1;
    auto mouse = Connect(session, true, err);
    if (!mouse) return 1;
    const config::ProfileLoadResult taken =
        mouse->service.LoadProfile(*bytes, mouse->image, mouse->store);
    if (!taken.ok) return Fail(err, args[0] + ": " + taken.error);
    out << "loaded " << args[0] << " into the mouse\n";
    return 0;
}

int RunReset(Session& session, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
    if (!args.empty()) return Fail(err, "reset takes no arguments");
    auto mouse = Connect(session, false, err);
    if (!mouse) return 1;
    mouse->service.ResetToDefaults(mouse->image, mouse->store, mouse->defaults);
    out << "restored the defaults\n";
    return 0;
}

const CommandRegistrar kSave({"save", "FILE", "save the mouse's whole configuration to FILE",
                              RunSave});
const CommandRegistrar kLoad({"load", "FILE", "write a profile file's configuration to the mouse",
                              RunLoad});
const CommandRegistrar kReset({"reset", "", "restore the defaults on the mouse", RunReset});

}  // namespace
}  // namespace kelv::cli
