// What the configuration subcommands share: the connected mouse with its configuration image
// and macro store, the English names, and printing a whole configuration as text or JSON.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/connection.h"
#include "config/image.h"
#include "config/transfer.h"
#include "device/device_link.h"
#include "macros/store.h"
#include "resources/string_table.h"

namespace kelv::cli {

// The English texts kelvctl shows: button function names, DPI values and its messages.
const res::StringTable& EnglishTexts();

// The mouse found, opened and identified, with the configuration state the flows work on.
struct Mouse {
    explicit Mouse(Session& session);
    Connection connection;
    device::Host host;  // kelvctl shows no pop-up and pumps no window
    config::TransferService service;
    config::ConfigImage image;
    macros::MacroStore store;
    config::DefaultImage defaults;

    device::DeviceLink& Link() { return connection.Link(); }
    device::Layout Layout() { return Link().CurrentLayout(); }
    config::StorageKind Storage() { return config::StorageKindFor(Layout()); }
};

// Finds, opens and identifies the mouse; with `read`, reads everything from it as the read
// cycle does. nullptr after writing the reason to `err` as one line.
std::unique_ptr<Mouse> Connect(Session& session, bool read, std::ostream& err);

// A whole configuration to show.
struct Configuration {
    std::string source;  // "mouse" or "file"
    device::Layout layout = device::Layout::None;
    config::StorageKind storage = config::StorageKind::None;
    const config::ParameterSection* parameter = nullptr;
    const config::ProfileSection* profile = nullptr;
    const macros::MacroStore* store = nullptr;
};

void PrintConfiguration(const Configuration& c, bool json, std::ostream& out);

// "--layout=A" style options of the macro and show commands.
std::optional<device::Layout> ParseLayout(std::string_view text);

// Reads a whole file (at most `maxBytes`); on failure writes the reason and returns nullopt.
std::optional<std::vector<std::uint8_t>> ReadInput(const std::string& path, std::size_t maxBytes,
                                                   std::ostream& err);
// Writes a whole file atomically; false after writing the reason.
bool WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 std::ostream& err);

}  // namespace kelv::cli
