#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
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
    "  --dev-root DIR           open hidraw nodes under DIR (default /dev)\n";

void PrintHelp(std::ostream& out) {
    out << "Usage: kelvctl [options] COMMAND [arguments]\n\nCommands:\n";
    for (const Command& c : Commands()) {
        std::string head = std::string(c.name);
        if (!c.usage.empty()) head += " " + std::string(c.usage);
        out << "  " << head << std::string(head.size() < 24 ? 25 - head.size() : 1, ' ')
            << c.summary << "\n";
    }
    out << "\n"
        << kGlobalHelp << device::kVirtualMouseHelp << "  --help                   this text\n";
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

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFFu);
    return text;
}

int Fail(std::ostream& err, std::string_view message) {
    err << "kelvctl: " << message << "\n";
    return 1;
}

std::unique_ptr<Session> Session::Create(const GlobalOptions& options, std::string& error) {
    std::unique_ptr<Session> session(new Session());
    session->image_ = res::Get("KELV731xData");
    if (!options.virtualMouse.enabled) {
        session->hidraw_ = std::make_unique<device::HidrawPort>(
            device::HidrawRoots{options.sysfsRoot, options.devRoot});
        session->port_ = session->hidraw_.get();
        return session;
    }
    session->virtual_ =
        device::VirtualSession::Open(options.virtualMouse, session->clock_, session->image_, error);
    if (!session->virtual_) return nullptr;
    session->port_ = &session->virtual_->Port();
    return session;
}

Session::~Session() = default;

bool Session::Finish(std::string& error) {
    return !virtual_ || virtual_->Save(error);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    GlobalOptions options;
    std::vector<std::string> rest;
    bool help = false;
    std::string error;
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
        } else if (const auto taken =
                       device::TakeVirtualMouseOption(args, i, options.virtualMouse, error);
                   taken != device::OptionResult::NotMine) {
            if (taken == device::OptionResult::Error) return Fail(err, error);
        } else {
            rest.push_back(arg);
        }
    }
    if (const std::string problem = device::CheckVirtualMouseRequest(options.virtualMouse);
        !problem.empty()) {
        return Fail(err, problem);
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
    auto session = Session::Create(options, error);
    if (!session) return Fail(err, error);
    const int status = command->run(*session, rest, out, err);
    if (!session->Finish(error)) return Fail(err, error);
    return status;
}

}  // namespace kelv::cli
