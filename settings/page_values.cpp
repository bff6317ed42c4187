#include "settings/page_values.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace kelv::settings {
namespace {

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

// A colour from its three hidden texts; a channel whose text is no number up to `max` keeps its
// value.
config::Rgb ColourFromTexts(const std::array<std::string, 3>& texts, config::Rgb old, int max) {
    const std::uint8_t before[] = {old.r, old.g, old.b};
    std::uint8_t channel[3];
    for (int j = 0; j < 3; ++j) {
        const auto n = Number(texts[j]);
        channel[j] = n && *n <= max ? static_cast<std::uint8_t>(*n) : before[j];
    }
    return {channel[0], channel[1], channel[2]};
}

void WriteDpi(config::ParameterSection& p, const PageValues& v, const res::StringTable& texts) {
    if (v.currentDpiLevel && *v.currentDpiLevel >= 1 &&
        *v.currentDpiLevel <= config::kDpiLevelMax && v.dpiLevelCount >= 1 &&
        v.dpiLevelCount <= config::kDpiLevelMax) {
        config::SetDpiLevelCount(p, v.dpiLevelCount);
        config::SetCurrentDpiLevel(p, *v.currentDpiLevel);
    }
    std::array<std::string, 12> valueTexts;
    for (int code = 0; code < 12; ++code)
        valueTexts[code] = texts.Text("Str" + std::to_string(300 + code));
    for (int level = 1; level <= config::kDpiLevelMax; ++level) {
        const std::string& text = v.dpiValueTexts[level - 1];
        if (text.empty()) {
            config::SetDpiValueCode(p, level, config::kDpiCodeEmpty);
            continue;
        }
        for (int code = 0; code < 12; ++code) {
            if (valueTexts[code] == text) {
                config::SetDpiValueCode(p, level, static_cast<std::uint8_t>(code));
                break;
            }
        }
    }
    for (int level = 1; level <= config::kDpiLevelMax; ++level) {
        config::SetDpiColour(
            p, level,
            ColourFromTexts(v.dpiColourTexts[level - 1], config::DpiColour(p, level), 15));
    }
}

void WriteLedMode(config::ParameterSection& p, const PageValues& v) {
    if (!v.ledType || !v.ledChoice) return;
    const int m = *v.ledChoice;
    std::uint8_t& mode = p[config::param::kLedMode];
    switch (*v.ledType) {
        case config::LedType::RGB:
            if (m >= 0 && m <= 6) mode = static_cast<std::uint8_t>(m);
            break;
        case config::LedType::Sync:
            if (m >= 0 && m <= 2) mode = static_cast<std::uint8_t>(0x40 | m);
            break;
        case config::LedType::NT:
            if (m >= 0 && m <= 5) mode = static_cast<std::uint8_t>((mode & 0xF0) | m);
            break;
    }
}

}  // namespace

void WritePageValues(config::ParameterSection& p, const PageValues& v,
                     const res::StringTable& texts) {
    WriteDpi(p, v, texts);
    if (v.reportRateChoice && *v.reportRateChoice >= 1 && *v.reportRateChoice <= 4)
        config::SetReportRateCode(p, *v.reportRateChoice - 1);
    WriteLedMode(p, v);
    config::SetFallTimeStep(p, v.fallStep);
    for (int c = 0; c < config::kLedColourCount; ++c) {
        config::SetLedColour(p, c,
                             ColourFromTexts(v.ledColourTexts[c], config::LedColour(p, c), 255));
    }
    if (v.profileChoice && *v.profileChoice >= 1 && *v.profileChoice <= 3)
        config::SetActiveProfile(p, static_cast<std::uint8_t>(*v.profileChoice - 1));
}

}  // namespace kelv::settings
