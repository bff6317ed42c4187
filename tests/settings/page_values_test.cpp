// Writing the pages back into the parameter section.
#include <gtest/gtest.h>

#include "settings/page_values.h"

namespace kelv::settings {
namespace {

using config::ParameterSection;

const res::MapStringTable& DpiTexts() {
    static const res::MapStringTable table{
        {"Str300", "200"},  {"Str301", "400"},  {"Str302", "600"},  {"Str303", "800"},
        {"Str304", "1000"}, {"Str305", "1200"}, {"Str306", "1600"}, {"Str307", "2000"},
        {"Str308", "2400"}, {"Str309", "3200"}, {"Str310", "4000"}, {"Str311", "4800"},
    };
    return table;
}

// Values as the pages show a section whose every field is in range.
PageValues Showing(const ParameterSection& p) {
    PageValues v;
    v.dpiLevelCount = *config::DpiLevelCount(p);
    v.currentDpiLevel = config::CurrentDpiLevel(p);
    for (int level = 1; level <= config::kDpiLevelMax; ++level) {
        const int code = config::DpiValueCode(p, level);
        v.dpiValueTexts[level - 1] = DpiTexts().Text("Str" + std::to_string(300 + code));
        const config::Rgb c = config::DpiColour(p, level);
        v.dpiColourTexts[level - 1] = {std::to_string(c.r), std::to_string(c.g),
                                       std::to_string(c.b)};
    }
    for (int c = 0; c < config::kLedColourCount; ++c) {
        const config::Rgb rgb = config::LedColour(p, c);
        v.ledColourTexts[c] = {std::to_string(rgb.r), std::to_string(rgb.g), std::to_string(rgb.b)};
    }
    v.reportRateChoice = config::ReportRateCode(p) + 1;
    v.ledType = config::LedTypeOf(p);
    v.ledChoice = config::LightingMode(p);
    v.fallStep = config::FallTimeStep(p);
    v.profileChoice = config::ActiveProfile(p) + 1;
    return v;
}

ParameterSection Sample() {
    ParameterSection p{};
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i * 7 + 3);
    p[config::param::kDpiLevels] = 0x52;
    p[config::param::kDpiValues] = 0x10;
    p[config::param::kDpiValues + 1] = 0xB3;
    p[config::param::kDpiValues + 2] = 0x45;
    p[config::param::kDpiValues + 3] = 0x76;
    p[config::param::kLedMode] = 0x85;
    p[config::param::kFallTime] = p[config::param::kFallTime + 1] = 20;
    p[config::param::kActiveProfile] = 1;
    for (int c = 0; c < config::kLedColourCount; ++c)
        config::SetLedColour(p, c, {100, static_cast<std::uint8_t>(c), 15});
    return p;
}

TEST(PageValues, WhatThePagesShowGoesBackUnchanged) {
    const ParameterSection shown = Sample();
    ParameterSection back = shown;
    WritePageValues(back, Showing(shown), DpiTexts());
    EXPECT_EQ(back, shown);
}

TEST(PageValues, EachFieldFollowsItsControls) {
    struct Case {
        const char* name;
        void (*change)(PageValues&);
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;  // expected afterwards
    };
    const Case cases[] = {
        {"current level and count",
         [](PageValues& v) {
             v.dpiLevelCount = 4;
             v.currentDpiLevel = 4;
         },
         {{38, 0x33}}},
        {"no current level leaves the byte",
         [](PageValues& v) { v.currentDpiLevel.reset(); },
         {{38, 0x52}}},
        // Level 3 is byte 40's low nibble, level 4 its high nibble.
        {"value found among the texts",
         [](PageValues& v) { v.dpiValueTexts[2] = "4800"; },
         {{40, 0xBB}}},
        {"empty value text hides the level",
         [](PageValues& v) { v.dpiValueTexts[3] = ""; },
         {{40, 0xF3}}},
        {"unknown value text leaves the code",
         [](PageValues& v) { v.dpiValueTexts[3] = "9999"; },
         {{40, 0xB3}}},
        {"DPI colour nibbles of a level pair",
         [](PageValues& v) {
             v.dpiColourTexts[0] = {"1", "2", "3"};
             v.dpiColourTexts[1] = {"15", "0", "x"};
         },
         {{75, 0xF1}, {76, 0x02}, {77, 0x13}}},  // level 2's blue keeps its nibble
        {"report rate in bits 5-4", [](PageValues& v) { v.reportRateChoice = 4; }, {{6, 0x3D}}},
        {"fall time in both bytes", [](PageValues& v) { v.fallStep = 7; }, {{52, 35}, {53, 35}}},
        {"lighting colour texts as bytes",
         [](PageValues& v) {
             v.ledColourTexts[6] = {"200", "", "256"};
         },
         {{72, 200}, {73, 6}, {74, 15}}},
        {"profile choice", [](PageValues& v) { v.profileChoice = 3; }, {{33, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParameterSection shown = Sample();
        PageValues v = Showing(shown);
        c.change(v);
        ParameterSection back = shown;
        WritePageValues(back, v, DpiTexts());
        ParameterSection expected = shown;
        for (const auto& [at, value] : c.bytes) expected[at] = value;
        EXPECT_EQ(back, expected);
    }
}

TEST(PageValues, LightingModeByType) {
    using config::LedType;
    struct Case {
        std::optional<LedType> type;
        std::uint8_t before;
        std::optional<int> choice;
        std::uint8_t after;
    };
    const Case cases[] = {
        {LedType::RGB, 0x03, 0, 0x00},
        {LedType::RGB, 0x03, 6, 0x06},
        {LedType::Sync, 0x41, 0, 0x40},
        {LedType::Sync, 0x41, 2, 0x42},
        {LedType::NT, 0xB5, 0, 0xB0},
        {LedType::NT, 0x82, 3, 0x83},
        {std::nullopt, 0x85, 1, 0x85},             // the type was cleared with the mouse
        {LedType::RGB, 0x03, std::nullopt, 0x03},  // nothing selected
    };
    for (const Case& c : cases) {
        ParameterSection p = Sample();
        p[config::param::kLedMode] = c.before;
        PageValues v = Showing(p);
        v.ledType = c.type;
        v.ledChoice = c.choice;
        WritePageValues(p, v, DpiTexts());
        EXPECT_EQ(p[config::param::kLedMode], c.after) << int(c.before);
    }
}

}  // namespace
}  // namespace kelv::settings
