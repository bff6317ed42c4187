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

void WriteDpi(config::ParameterSection& p, const PageValues& v, const res::StringTable& texts) {
    if (v.currentDpiLevel && *v.currentDpiLevel >= 1 &&
        *v.currentDpiLevel <= config::kDpiLevelMax && v.dpiLevelCount >= 1 &&
        v.dpiLevelCount <= config::kDpiLevelMax) {
        config::SetDpiLevelCount(p, v.dpiLevelCount);
        config::SetCurrentDpiLevel(p, *v.currentDpiLevel);
    }
    for (int level = 1; level <= config::kDpiLevelMax; ++level) {
        const std::string& text = v.dpiValueTexts[level - 1];
        if (text.empty()) {
            config::SetDpiValueCode(p, level, config::kDpiCodeEmpty);
            continue;
        }
        for (int code = 0; code < 12; ++code) {
            if (texts.Text("Str" + std::to_string(300 + code)) == text) {
                config::SetDpiValueCode(p, level, static_cast<std::uint8_t>(code));
                break;
            }
        }
    }
    // A colour is written per channel; a channel whose text is no intensity keeps its nibble.
    for (int level = 1; level <= config::kDpiLevelMax; ++level) {
        const config::Rgb old = config::DpiColour(p, level);
        const std::uint8_t before[] = {old.r, old.g, old.b};
        std::uint8_t channel[3];
        for (int j = 0; j < 3; ++j) {
            const auto n = Number(v.dpiColourTexts[level - 1][j]);
            channel[j] = n && *n <= 15 ? static_cast<std::uint8_t>(*n) : before[j];
        }
        config::SetDpiColour(p, level, {channel[0], channel[1], channel[2]});
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
        const config::Rgb old = config::LedColour(p, c);
        const std::uint8_t before[] = {old.r, old.g, old.b};
        std::uint8_t channel[3];
        for (int j = 0; j < 3; ++j) {
            const auto n = Number(v.ledColourTexts[c][j]);
            channel[j] = n && *n <= 255 ? static_cast<std::uint8_t>(*n) : before[j];
        }
        config::SetLedColour(p, c, {channel[0], channel[1], channel[2]});
    }
    if (v.profileChoice && *v.profileChoice >= 1 && *v.profileChoice <= 3)
        config::SetActiveProfile(p, static_cast<std::uint8_t>(*v.profileChoice - 1));
}

}  // namespace kelv::settings
