#include "device/virtual_session.h"

#include <charconv>

#include "device/device_link.h"

namespace kelv::device {

const std::string_view kVirtualMouseHelp =
    "  --virtual-mouse[=FILE]   talk to a virtual mouse instead of hardware; with FILE its\n"
    "                           state is kept in FILE between runs\n"
    "  --virtual-layout=A|B|C   layout of a new virtual mouse (default A)\n"
    "  --virtual-chip=N         chip type the virtual mouse reports (default 4)\n"
    "  --virtual-split          virtual mouse with separate command and data interfaces\n"
    "  --virtual-decoys         put a keyboard and look-alike interfaces beside it\n";

namespace {

// "--name=value" or "--name value"; nullopt when args[i] is not the option.
std::optional<std::optional<std::string>> TakeValue(std::span<const std::string> args,
                                                    std::size_t& i, std::string_view name) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) return std::optional<std::string>();
        return std::optional<std::string>(args[++i]);
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
        return std::optional<std::string>(arg.substr(name.size() + 1));
    }
    return std::nullopt;
}

std::optional<Layout> ParseLayout(std::string_view text) {
    if (text == "A" || text == "a") return Layout::A;
    if (text == "B" || text == "b") return Layout::B;
    if (text == "C" || text == "c") return Layout::C;
    return std::nullopt;
}

}  // namespace

OptionResult TakeVirtualMouseOption(std::span<const std::string> args, std::size_t& i,
                                    VirtualMouseRequest& request, std::string& error) {
    const std::string& arg = args[i];
    if (arg == "--virtual-mouse") {
        request.enabled = true;
        return OptionResult::Taken;
    }
    if (arg.starts_with("--virtual-mouse=")) {
        request.enabled = true;
        request.file = arg.substr(16);
        if (request.file.empty()) {
            error = "--virtual-mouse= needs a file";
            return OptionResult::Error;
        }
        return OptionResult::Taken;
    }
    if (auto value = TakeValue(args, i, "--virtual-layout")) {
        request.layout = *value ? ParseLayout(**value) : std::nullopt;
        if (!request.layout) {
            error = "--virtual-layout takes A, B or C";
            return OptionResult::Error;
        }
        return OptionResult::Taken;
    }
    if (auto value = TakeValue(args, i, "--virtual-chip")) {
        unsigned chip = 0;
        const std::string text = value->value_or("");
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), chip);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size() || chip > 255) {
            error = "--virtual-chip takes a number 0..255";
            return OptionResult::Error;
        }
        request.chipType = static_cast<std::uint8_t>(chip);
        return OptionResult::Taken;
    }
    if (arg == "--virtual-split") {
        request.split = true;
        return OptionResult::Taken;
    }
    if (arg == "--virtual-decoys") {
        request.decoys = true;
        return OptionResult::Taken;
    }
    return OptionResult::NotMine;
}

std::string CheckVirtualMouseRequest(const VirtualMouseRequest& request) {
    if ((request.layout || request.chipType || request.split || request.decoys) &&
        !request.enabled) {
        return "--virtual-layout, --virtual-chip, --virtual-split and --virtual-decoys need "
               "--virtual-mouse";
    }
    return "";
}

std::unique_ptr<VirtualSession> VirtualSession::Open(const VirtualMouseRequest& request,
                                                     Clock& clock,
                                                     std::span<const std::uint8_t> image,
                                                     std::string& error, bool keepLog) {
    std::unique_ptr<VirtualSession> session(new VirtualSession());
    VirtualMouseOptions options;
    options.layout = request.layout.value_or(Layout::A);
    if (request.chipType) options.chipType = *request.chipType;
    options.separateInterfaces = request.split;
    options.keepLog = keepLog;
    session->mouse_ = std::make_unique<VirtualMouse>(clock, image, options);
    if (!request.file.empty()) {
        bool missing = false;
        if (!LoadVirtualMouse(*session->mouse_, request.file, missing, error)) {
            if (!missing) return nullptr;
        } else if (request.layout && *request.layout != session->mouse_->Options().layout) {
            error = request.file + " holds a layout " +
                    std::string(LayoutName(session->mouse_->Options().layout)) +
                    " mouse; --virtual-layout=" + std::string(LayoutName(*request.layout)) +
                    " does not apply";
            return nullptr;
        }
        session->file_ = request.file;
    }
    session->port_ = std::make_unique<VirtualHidPort>(session->mouse_.get());
    if (request.decoys) {
        const DeviceIds ids = DeviceIdsFromImage(image);
        auto& port = *session->port_;
        port.AddInterface({"USB Keyboard", {0x046D, 0xC31C, 0x6400}, 0, true}, true);
        port.AddInterface(
            {"Mouse pointer collection", {ids.vendorId, ids.productId, 0x0100}, 0, true}, true);
        port.AddInterface({"Mouse vendor collection (64-byte reports)",
                           {ids.vendorId, ids.productId, 0x0100},
                           64,
                           true});
        port.AddInterface({"Other product, same maker",
                           {ids.vendorId, static_cast<std::uint16_t>(ids.productId + 1), 0x0100},
                           8,
                           true});
    }
    return session;
}

bool VirtualSession::Save(std::string& error) const {
    if (file_.empty()) return true;
    return SaveVirtualMouse(*mouse_, file_, error);
}

}  // namespace kelv::device
