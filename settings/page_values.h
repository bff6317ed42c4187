// Writing the pages back into the page copy of the parameter section: the reverse of showing it.
// The window reads its controls into PageValues; the rules of each field live here, so they are
// the same whatever shows the values.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "config/sections.h"
#include "resources/string_table.h"

namespace kelv::settings {

struct PageValues {
    int dpiLevelCount = 1;               // levels 1..count are on
    std::optional<int> currentDpiLevel;  // the level whose selection is set (1..8), if any
    std::array<std::string, config::kDpiLevelMax> dpiValueTexts;  // the value captions
    // Hidden intensity texts (R, G, B) of each level's colour and of the lighting colours.
    std::array<std::array<std::string, 3>, config::kDpiLevelMax> dpiColourTexts;
    std::array<std::array<std::string, 3>, config::kLedColourCount> ledColourTexts;
    std::optional<int> reportRateChoice;  // 1..4: the selected rate
    // Lighting type of the last read; none after the mouse was lost, which leaves the mode.
    std::optional<config::LedType> ledType;
    std::optional<int> ledChoice;      // 0 off, 1..6 the selected mode
    int fallStep = 1;                  // 1..10
    std::optional<int> profileChoice;  // 1..3: the selected profile
};

// Texts that are not numbers leave their byte as it was; a DPI value text found among the twelve
// value texts sets its code, an empty one hides the level (0xF), any other leaves the code.
void WritePageValues(config::ParameterSection& p, const PageValues& values,
                     const res::StringTable& texts);

}  // namespace kelv::settings
