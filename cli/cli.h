// kelvctl's shared pieces: global options, the session (which HID port, which virtual mouse)
// and the table of subcommands. A subcommand lives in its own file and registers itself with a
// static CommandRegistrar, so adding one touches nothing else.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_port.h"
#include "device/host.h"
#include "device/memory_map.h"
#include "device/virtual_mouse.h"
#include "device/virtual_session.h"

namespace kelv::cli {

struct GlobalOptions {
    std::string sysfsRoot = "/sys";
    std::string devRoot = "/dev";
    device::VirtualMouseRequest virtualMouse;
};

// What a subcommand works with. The virtual mouse, when asked for, is saved back to its file
// by Finish().
class Session {
  public:
    // nullptr with `error` set when the virtual mouse file cannot be used.
    static std::unique_ptr<Session> Create(const GlobalOptions& options, std::string& error);
    ~Session();

    device::HidPort& Port() { return *port_; }
    device::Clock& Clock() { return clock_; }
    // The embedded default image.
    std::span<const std::uint8_t> Image() const { return image_; }
    device::VirtualMouse* VirtualMouse() { return virtual_ ? &virtual_->Mouse() : nullptr; }
    bool Finish(std::string& error);

  private:
    Session() = default;
    device::SystemClock clock_;
    std::span<const std::uint8_t> image_;
    std::unique_ptr<device::VirtualSession> virtual_;
    std::unique_ptr<device::HidPort> hidraw_;
    device::HidPort* port_ = nullptr;
};

struct Command {
    std::string_view name;
    std::string_view usage;    // arguments after the name, e.g. "[FILE]"
    std::string_view summary;  // one line for --help
    // Exit status; errors go to `err` as one line (use Fail).
    int (*run)(Session& session, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err);
};

struct CommandRegistrar {
    explicit CommandRegistrar(const Command& command);
};

// Registered subcommands, sorted by name.
std::vector<Command> Commands();

// Four lower-case hex digits, as IDs are written in listings and udev rules.
std::string Hex4(unsigned value);

// Writes "kelvctl: <message>" and returns the failure status 1.
int Fail(std::ostream& err, std::string_view message);

// The whole program, for tests and main().
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kelv::cli
