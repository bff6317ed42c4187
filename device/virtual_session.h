// The --virtual-mouse family of command-line options and the virtual mouse they ask for, shared
// by every program so that all of them accept the same words and keep the same state file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/host.h"
#include "device/memory_map.h"
#include "device/virtual_mouse.h"

namespace kelv::device {

struct VirtualMouseRequest {
    bool enabled = false;
    std::string file;  // empty: kept in memory only
    std::optional<Layout> layout;
    std::optional<std::uint8_t> chipType;
    bool split = false;   // separate command and data interfaces
    bool decoys = false;  // a keyboard and interfaces that look almost like the mouse
};

// Help lines for the options, aligned like the programs' other options.
extern const std::string_view kVirtualMouseHelp;

enum class OptionResult { NotMine, Taken, Error };

// Takes args[i] when it is one of the options (and, for "--opt value", the value after it,
// advancing i). On a bad value the result is Error with `error` set.
OptionResult TakeVirtualMouseOption(std::span<const std::string> args, std::size_t& i,
                                    VirtualMouseRequest& request, std::string& error);

// Checks the options together once all are taken; "" when they fit.
std::string CheckVirtualMouseRequest(const VirtualMouseRequest& request);

// A virtual mouse and the port it sits on, its state loaded from the request's file.
class VirtualSession {
  public:
    // nullptr with `error` set when the state file is damaged, foreign, or of another layout
    // than asked for. A missing file starts a fresh mouse holding the default image.
    static std::unique_ptr<VirtualSession> Open(const VirtualMouseRequest& request, Clock& clock,
                                                std::span<const std::uint8_t> image,
                                                std::string& error, bool keepLog = true);

    VirtualMouse& Mouse() { return *mouse_; }
    VirtualHidPort& Port() { return *port_; }
    // Writes the state back to the file (nothing to do without one).
    bool Save(std::string& error) const;

  private:
    VirtualSession() = default;
    std::unique_ptr<VirtualMouse> mouse_;
    std::unique_ptr<VirtualHidPort> port_;
    std::string file_;
};

}  // namespace kelv::device
