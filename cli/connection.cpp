#include "cli/connection.h"

#include <cstdio>

namespace kelv::cli {

Connection::Connection(Session& session)
    : link_(session.Port(), session.Clock(), *this, device::EnglishLinkTexts()) {
    link_.SetListener(this);
    link_.SetDefaultImage(session.Image());
}

bool Connection::Open(std::string& error) {
    if (!link_.OpenDevice(link_.VendorId(), link_.ProductId(), release_)) {
        char ids[16];
        std::snprintf(ids, sizeof ids, "%04x:%04x", link_.VendorId(), link_.ProductId());
        error = Texts().Text("Str100") + " (" + ids + ")";
        return false;
    }
    switch (link_.ReadDevInfo()) {
        case device::DevInfoResult::Accepted:
            return true;
        case device::DevInfoResult::CommandRefused:
            error = "the mouse did not accept the device-info command";
            return false;
        case device::DevInfoResult::UnknownChipStorage:
            error = "the mouse reported a storage kind this program does not know";
            return false;
        case device::DevInfoResult::UnknownMacroStorage:
            error = "the mouse reported a macro storage kind this program does not know";
            return false;
        case device::DevInfoResult::Mismatch:
            error = Texts().Text("Str102");
            return false;
    }
    return false;
}

}  // namespace kelv::cli
