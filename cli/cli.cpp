#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "device/device_link.h"
#include "device/hidraw_port.h"
#include "resources/bundle.h"

namespace kelv::cli {

namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

constexpr std::string_view kGlobalHelp =
    "Global options (anywhere on the line):\n"
    "  --sysfs-root DIR         look for hidraw devices under DIR (default /sys)\n"
    "  --dev-root DIR           open hidraw nodes under DIR (default /dev)\n"
    "  --virtual-mouse[=FILE]   talk to a virtual mouse instead of hardware; with FILE its\n"
    "                           state is kept in FILE between runs\n"
    "  --virtual-layout=A|B|C   layout of a new virtual mouse (default A)\n"
    "  --virtual-chip=N         chip type the virtual mouse reports (default 4)\n"
    "  --virtual-split          virtual mouse with separate command and data interfaces\n"
    "  --virtual-decoys         put a keyboard and look-alike interfaces beside it\n"
    "  --help                   this text\n";

void PrintHelp(std::ostream& out) {
    out << "Usage: kelvctl [options] COMMAND [arguments]\n\nCommands:\n";
    for (const Command& c : Commands()) {
        std::string head = std::string(c.name);
        if (!c.usage.empty()) head += " " + std::string(c.usage);
        out << "  " << head << std::string(head.size() < 24 ? 25 - head.size() : 1, ' ')
            << c.summary << "\n";
    }
    out << "\n" << kGlobalHelp;
}

// "--name=value" or "--name value"; true when `arg` is the option.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::string& value, bool& missing) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
        arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

CommandRegistrar::CommandRegistrar(const Command& command) {
    Registry().push_back(command);
}

std::vector<Command> Commands() {
    std::vector<Command> commands = Registry();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    return commands;
}

int Fail(std::ostream& err, std::string_view message) {
    err << "kelvctl: " << message << "\n";
    return 1;
}

std::unique_ptr<Session> Session::Create(const GlobalOptions& options, std::string& error) {
    std::unique_ptr<Session> session(new Session());
    session->image_ = res::Get("KELV731xData");
    if (!options.virtualMouse) {
        session->port_ = std::make_unique<device::HidrawPort>(
            device::HidrawRoots{options.sysfsRoot, options.devRoot});
        return session;
    }
    device::VirtualMouseOptions mouseOptions;
    mouseOptions.layout = options.virtualLayout.value_or(device::Layout::A);
    if (options.virtualChipType) mouseOptions.chipType = *options.virtualChipType;
    mouseOptions.separateInterfaces = options.virtualSplit;
    session->mouse_ =
        std::make_unique<device::VirtualMouse>(session->clock_, session->image_, mouseOptions);
    if (!options.virtualFile.empty()) {
        bool missing = false;
        if (!device::LoadVirtualMouse(*session->mouse_, options.virtualFile, missing, error)) {
            if (!missing) return nullptr;
        } else if (options.virtualLayout &&
                   *options.virtualLayout != session->mouse_->Options().layout) {
            error = options.virtualFile + " holds a layout " +
                    std::string(device::LayoutName(session->mouse_->Options().layout)) +
                    " mouse; --virtual-layout=" +
                    std::string(device::LayoutName(*options.virtualLayout)) + " does not apply";
            return nullptr;
        }
        session->virtualFile_ = options.virtualFile;
    }
    auto port = std::make_unique<device::VirtualHidPort>(session->mouse_.get());
    if (options.virtualDecoys) {
        const device::DeviceIds ids = device::DeviceIdsFromImage(session->image_);
        port->AddInterface({"USB Keyboard", {0x046D, 0xC31C, 0x6400}, 0, true}, true);
        port->AddInterface(
            {"Mouse pointer collection", {ids.vendorId, ids.productId, 0x0100}, 0, true}, true);
        port->AddInterface({"Mouse vendor collection (64-byte reports)",
                            {ids.vendorId, ids.productId, 0x0100},
                            64,
                            true});
        port->AddInterface({"Other product, same maker",
                            {ids.vendorId, static_cast<std::uint16_t>(ids.productId + 1), 0x0100},
                            8,
                            true});
    }
    session->port_ = std::move(port);
    return session;
}

Session::~Session() = default;

bool Session::Finish(std::string& error) {
    if (!mouse_ || virtualFile_.empty()) return true;
    return device::SaveVirtualMouse(*mouse_, virtualFile_, error);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    GlobalOptions options;
    std::vector<std::string> rest;
    bool help = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        bool missing = false;
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (TakeValue(args, i, "--sysfs-root", value, missing)) {
            if (missing) return Fail(err, "--sysfs-root needs a folder");
            options.sysfsRoot = value;
        } else if (TakeValue(args, i, "--dev-root", value, missing)) {
            if (missing) return Fail(err, "--dev-root needs a folder");
            options.devRoot = value;
        } else if (arg == "--virtual-mouse") {
            options.virtualMouse = true;
        } else if (arg.rfind("--virtual-mouse=", 0) == 0) {
            options.virtualMouse = true;
            options.virtualFile = arg.substr(16);
            if (options.virtualFile.empty()) return Fail(err, "--virtual-mouse= needs a file");
        } else if (TakeValue(args, i, "--virtual-layout", value, missing)) {
            if (value == "A" || value == "a") {
                options.virtualLayout = device::Layout::A;
            } else if (value == "B" || value == "b") {
                options.virtualLayout = device::Layout::B;
            } else if (value == "C" || value == "c") {
                options.virtualLayout = device::Layout::C;
            } else {
                return Fail(err, "--virtual-layout takes A, B or C");
            }
        } else if (TakeValue(args, i, "--virtual-chip", value, missing)) {
            unsigned chip = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), chip);
            if (missing || ec != std::errc() || end != value.data() + value.size() || chip > 255) {
                return Fail(err, "--virtual-chip takes a number 0..255");
            }
            options.virtualChipType = static_cast<std::uint8_t>(chip);
        } else if (arg == "--virtual-split") {
            options.virtualSplit = true;
        } else if (arg == "--virtual-decoys") {
            options.virtualDecoys = true;
        } else {
            rest.push_back(arg);
        }
    }
    if ((options.virtualLayout || options.virtualChipType || options.virtualSplit) &&
        !options.virtualMouse) {
        return Fail(err,
                    "--virtual-layout, --virtual-chip and --virtual-split need --virtual-mouse");
    }
    if (help || rest.empty()) {
        PrintHelp(help ? out : err);
        return help ? 0 : 1;
    }
    const std::string name = rest.front();
    rest.erase(rest.begin());
    const std::vector<Command> commands = Commands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Command& c) { return c.name == name; });
    if (command == commands.end()) {
        return Fail(err, "unknown command '" + name + "' (see kelvctl --help)");
    }
    std::string error;
    auto session = Session::Create(options, error);
    if (!session) return Fail(err, error);
    const int status = command->run(*session, rest, out, err);
    if (!session->Finish(error)) return Fail(err, error);
    return status;
}

}  // namespace kelv::cli
