// Names of the macros that key codes point at, taken from the macro store: the one directory
// the window's captions and kelvctl's listings both name macro buttons with.
#pragma once

#include <memory>

#include "keys/naming.h"
#include "macros/store.h"

namespace kelv::config {

// The store's slots under the matching rule of its layout (packed: by macro address; paged:
// by page address). An empty store names nothing.
std::unique_ptr<keys::SlotMacroDirectory> MacroDirectoryOf(const macros::MacroStore& store);

}  // namespace kelv::config
