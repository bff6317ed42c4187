// kelvctl info: open the mouse and report what it says it is.
#include <cstdio>
#include <ostream>

#include "cli/cli.h"
#include "cli/connection.h"

namespace kelv::cli {
namespace {

int RunInfo(Session& session, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
    if (!args.empty()) return Fail(err, "info takes no arguments");
    Connection mouse(session);
    std::string error;
    const bool identified = mouse.Open(error);
    device::DeviceLink& link = mouse.Link();
    if (!link.Connected()) return Fail(err, error);

    out << "device          " << Hex4(link.VendorId()) << ":" << Hex4(link.ProductId())
        << " release " << Hex4(mouse.Release()) << "\n";
    out << "interfaces      "
        << (link.CommandHandle() == link.DataHandle() ? "one for commands and data"
                                                      : "separate command and data")
        << "\n";
    const auto show = [](const std::string& s) { return s.empty() ? std::string("unknown") : s; };
    out << "chip storage    " << show(link.ChipStorage()) << "\n";
    out << "chip type       " << unsigned{link.ChipType()} << "\n";
    if (link.ChipStorage() == device::kStorageFlash) {
        out << "macro storage   " << show(link.MacroStorage()) << "\n";
    }
    out << "build storage   " << show(link.ImageStorage()) << "\n";
    const std::string_view layout = device::LayoutName(link.CurrentLayout());
    out << "layout          " << (layout.empty() ? "unknown" : layout) << "\n";
    out << "key menu height "
        << (mouse.KeyMenuHeight() ? std::to_string(*mouse.KeyMenuHeight())
                                  : std::string("as laid out"))
        << "\n";
    return identified ? 0 : Fail(err, error);
}

const CommandRegistrar kInfo({"info", "", "identify the mouse: storage, chip type, layout",
                              RunInfo});

}  // namespace
}  // namespace kelv::cli
