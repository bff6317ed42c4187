// kelvctl list: every HID interface, and which of them the link would take for the mouse.
#include <cstdio>
#include <ostream>

#include "cli/cli.h"
#include "device/device_link.h"

namespace kelv::cli {
namespace {

std::string Pad(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text + " ";
}

int RunList(Session& session, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
    if (!args.empty()) return Fail(err, "list takes no arguments");
    const device::DeviceIds ids = device::DeviceIdsFromImage(session.Image());
    const auto rows = session.Port().Describe();
    std::size_t pathWidth = 4;
    for (const auto& row : rows) pathWidth = std::max(pathWidth, row.path.size());
    out << Pad("PATH", pathWidth) << "VID:PID   RELEASE FEATURE OPEN MOUSE NAME\n";
    for (const auto& row : rows) {
        const bool mouse = row.attributes.vendorId == ids.vendorId &&
                           row.attributes.productId == ids.productId &&
                           row.featureReportLength == device::kReportLength;
        out << Pad(row.path, pathWidth)
            << Pad(Hex4(row.attributes.vendorId) + ":" + Hex4(row.attributes.productId), 9)
            << Pad(Hex4(row.attributes.release), 7)
            << Pad(std::to_string(row.featureReportLength), 7)
            << Pad(row.openable ? "yes" : "no", 4) << Pad(mouse ? "yes" : "no", 5) << row.name
            << "\n";
    }
    if (rows.empty()) out << "(no HID interfaces)\n";
    return 0;
}

const CommandRegistrar kList({"list", "", "list every HID interface and mark the mouse", RunList});

}  // namespace
}  // namespace kelv::cli
