// The mouse as subcommands see it: the link opened on the session's port and the identity read.
// Notices the link would show in the window are kept and printed by the tool instead.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "device/device_link.h"

namespace kelv::cli {

class Connection : private device::Host, private device::LinkListener {
  public:
    explicit Connection(Session& session);

    // Opens the mouse and asks its identity. False with `error` (one line) when the mouse is
    // not found, refuses the query, or does not fit this build; the link then stays as it is,
    // so callers may still print what was learnt.
    bool Open(std::string& error);

    device::DeviceLink& Link() { return link_; }
    std::uint16_t Release() const { return release_; }
    // Key-menu height for the mouse's chip type; none when the type leaves it as laid out.
    std::optional<int> KeyMenuHeight() const { return keyMenuHeight_; }
    const std::vector<std::string>& Notices() const { return notices_; }
    const res::StringTable& Texts() const { return device::EnglishLinkTexts(); }

  private:
    void ShowMessage(const std::string& text) override { notices_.push_back(text); }
    void KeyMenuHeightChanged(int pixels) override { keyMenuHeight_ = pixels; }

    device::DeviceLink link_;
    std::uint16_t release_ = 0;
    std::optional<int> keyMenuHeight_;
    std::vector<std::string> notices_;
};

}  // namespace kelv::cli
