// kelvctl info: open the mouse and report what it says it is.
#include <cstdio>
#include <ostream>

#include "cli/cli.h"
#include "device/device_link.h"

namespace kelv::cli {
namespace {

// Keeps the link's notices; the tool prints them itself.
class RecordingHost : public device::Host {
  public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class InfoListener : public device::LinkListener {
  public:
    void KeyMenuHeightChanged(int pixels) override { height = pixels; }
    std::optional<int> height;
};

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFFu);
    return text;
}

int RunInfo(Session& session, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
    if (!args.empty()) return Fail(err, "info takes no arguments");
    RecordingHost host;
    InfoListener listener;
    const res::StringTable& texts = device::EnglishLinkTexts();
    device::DeviceLink link(session.Port(), session.Clock(), host, texts);
    link.SetListener(&listener);
    link.SetDefaultImage(session.Image());

    std::uint16_t release = 0;
    if (!link.OpenDevice(link.VendorId(), link.ProductId(), release)) {
        return Fail(err, texts.Text("Str100") + " (" + Hex4(link.VendorId()) + ":" +
                             Hex4(link.ProductId()) + ")");
    }
    const device::DevInfoResult result = link.ReadDevInfo();
    out << "device          " << Hex4(link.VendorId()) << ":" << Hex4(link.ProductId())
        << " release " << Hex4(release) << "\n";
    out << "interfaces      "
        << (link.CommandHandle() == link.DataHandle() ? "one for commands and data"
                                                      : "separate command and data")
        << "\n";
    if (result == device::DevInfoResult::CommandRefused) {
        return Fail(err, "the mouse did not accept the device-info command");
    }
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
        << (listener.height ? std::to_string(*listener.height) : std::string("as laid out"))
        << "\n";
    switch (result) {
        case device::DevInfoResult::Mismatch:
            return Fail(err, texts.Text("Str102"));
        case device::DevInfoResult::UnknownChipStorage:
            return Fail(err, "the mouse reported a storage kind this program does not know");
        case device::DevInfoResult::UnknownMacroStorage:
            return Fail(err, "the mouse reported a macro storage kind this program does not know");
        default:
            return 0;
    }
}

const CommandRegistrar kInfo({"info", "", "identify the mouse: storage, chip type, layout",
                              RunInfo});

}  // namespace
}  // namespace kelv::cli
