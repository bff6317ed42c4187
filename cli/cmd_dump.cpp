// kelvctl dump / show: the whole configuration decoded, read from the mouse or from a profile
// file.
#include <ostream>

#include "cli/cmd_support.h"
#include "config/profile_file.h"

namespace kelv::cli {
namespace {

int RunDump(Session& session, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
    bool json = false;
    for (const std::string& arg : args) {
        if (arg != "--json") return Fail(err, "dump takes only --json");
        json = true;
    }
    auto mouse = Connect(session, true, err);
    if (!mouse) return 1;
    PrintConfiguration({"mouse", mouse->Layout(), mouse->Storage(), &mouse->image.PageParameter(),
                        &mouse->image.PageProfile(), &mouse->store},
                       json, out);
    return 0;
}

int RunShow(Session&, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::optional<device::Layout> packedLayout;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (arg.rfind("--layout=", 0) == 0) {
            packedLayout = ParseLayout(arg.substr(9));
            if (!packedLayout || *packedLayout == device::Layout::C)
                return Fail(err, "--layout takes A or B (where an I2C file's macros live)");
        } else if (arg.rfind("--", 0) == 0) {
            return Fail(err, "show: unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 1) return Fail(err, "show takes one profile file");
    const auto bytes = ReadInput(files[0], config::kFlashProfileFileSize, err);
    if (!bytes) return 1;
    if (bytes->size() < config::kProfileFileFillOffset) {
        return Fail(err, files[0] + ": too short for a profile file (" +
                             std::to_string(bytes->size()) + " bytes)");
    }
    // The marker says which kind of storage the file was made for; a file of neither kind
    // shows its sections alone.
    const config::StorageKind storage = config::StorageFromMarker((*bytes)[0]);
    device::Layout layout = device::Layout::None;
    if (storage == config::StorageKind::I2C) layout = packedLayout.value_or(device::Layout::A);
    if (storage == config::StorageKind::Flash) layout = device::Layout::C;
    config::ConfigImage image;
    macros::MacroStore store = config::StoreFor(layout);
    const config::ProfileLoadResult taken = config::TakeProfileFile(*bytes, storage, image, store);
    if (!taken.ok) return Fail(err, files[0] + ": " + taken.error);
    image.LoadPagesFromDevice();
    PrintConfiguration(
        {"file", layout, storage, &image.PageParameter(), &image.PageProfile(), &store}, json, out);
    return 0;
}

const CommandRegistrar kDump({"dump", "[--json]",
                              "read the mouse and print its whole configuration", RunDump});
const CommandRegistrar kShow({"show", "[--json] [--layout=A|B] FILE",
                              "print a profile file's configuration, no mouse needed", RunShow});

}  // namespace
}  // namespace kelv::cli
