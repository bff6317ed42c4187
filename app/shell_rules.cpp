#include "app/shell_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kelv::app {

namespace {

constexpr std::array<Page, 7> kPages = {Page::Main,      Page::Switch, Page::Fixed, Page::Advanced,
                                        Page::Breathing, Page::Macro,  Page::Update};

// Name without its "_n" copy suffix ("Btn_Reset_3" -> "Btn_Reset"); unchanged without one.
std::string_view StripCopy(std::string_view name) {
    if (CopyOf(name) == 0) return name;
    return name.substr(0, name.size() - 2);
}

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

int PageGroupOf(Page page) {
    switch (page) {
        case Page::Main:
        case Page::Switch:
        case Page::Fixed:
            return 1;
        case Page::Advanced:
            return 2;
        case Page::Breathing:
            return 3;
        case Page::Macro:
            return 4;
        case Page::Update:
            return 5;
    }
    return 1;
}

std::string_view PageButtonName(Page page) {
    switch (page) {
        case Page::Main:
            return "Main";
        case Page::Switch:
            return "Switch";
        case Page::Fixed:
            return "Fixed";
        case Page::Advanced:
            return "Adv";
        case Page::Breathing:
            return "Breath";
        case Page::Macro:
            return "Macro";
        case Page::Update:
            return "Update";
    }
    return "Main";
}

std::span<const Page> AllPages() {
    return kPages;
}

std::optional<int> ProfileOfPage(Page page) {
    switch (page) {
        case Page::Main:
            return 0;
        case Page::Switch:
            return 1;
        case Page::Fixed:
            return 2;
        default:
            return std::nullopt;
    }
}

Page PageOfProfile(int profile) {
    if (profile == 1) return Page::Switch;
    if (profile == 2) return Page::Fixed;
    return Page::Main;
}

std::string PageBackground(Page page, int language) {
    if (page == Page::Update) return "Update";
    return "L" + std::to_string(language) + "_Back" + std::to_string(PageGroupOf(page));
}

std::string WindowBackground(int language) {
    return "L" + std::to_string(language) + "_BackGround";
}

bool GatePasses(Page page, std::span<const std::string> names, std::string_view gateText) {
    if (!GateProfile(page)) return true;
    return std::find(names.begin(), names.end(), gateText) != names.end();
}

std::optional<int> GateProfile(Page page) {
    if (page == Page::Switch) return 0;
    if (page == Page::Fixed) return 1;
    return std::nullopt;
}

std::string_view GateTextKey(Page page) {
    return page == Page::Fixed ? "Str245" : "Str242";
}

std::string_view GateMessageKey(Page page) {
    return page == Page::Fixed ? "Str021" : "Str020";
}

SwitchVerdict DecidePageSwitch(bool connected, bool deviceLostView, bool gatePasses) {
    if (!connected) return SwitchVerdict::NoDevice;
    if (deviceLostView) return SwitchVerdict::Ignored;
    if (!gatePasses) return SwitchVerdict::GateRefused;
    return SwitchVerdict::Proceed;
}

bool WritesProfileByte(Page page, bool readingDevice) {
    return ProfileOfPage(page).has_value() && !readingDevice;
}

bool DisableShown(Page page, bool connected) {
    return page == Page::Fixed || !connected;
}

// ---- skin ----------------------------------------------------------------------------------

int CopyOf(std::string_view name) {
    if (name.size() < 3 || name[name.size() - 2] != '_') return 0;
    const char c = name.back();
    return c >= '1' && c <= '5' ? c - '0' : 0;
}

SkinFamily FamilyOfLabel(std::string_view label) {
    if (label.starts_with("Key")) {
        int n = 0;
        const auto digits = label.substr(3);
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        if (ec == std::errc() && end == digits.data() + digits.size() && n >= 1 && n <= 12) {
            return SkinFamily::C;
        }
        return SkinFamily::None;
    }
    if (!label.starts_with("Btn_")) return SkinFamily::None;
    const std::string_view base = StripCopy(label).substr(4);
    if (CopyOf(label) != 0) {
        if (OneOf(base, {"Reset", "Exit"})) return SkinFamily::A;
        if (OneOf(base, {"Main", "Switch", "Fixed", "Adv", "Breath", "Macro", "Update", "Save",
                         "Load"})) {
            return SkinFamily::B;
        }
        if (OneOf(base, {"Lang1", "Lang2", "Lang3"})) return SkinFamily::D;
        if (base == "Web") return SkinFamily::Web;
        return SkinFamily::None;
    }
    if (OneOf(base, {"LoadBIN", "Program"})) return SkinFamily::E;
    if (OneOf(base, {"NewName", "NewMacro", "DelMacro", "Clear", "ExportOne", "Export", "ImportOne",
                     "Import", "Del", "Insert", "SaveMacro", "Start", "InsertStart"})) {
        return SkinFamily::F;
    }
    if (OneOf(base, {"OK", "Cancel"})) return SkinFamily::G;
    return SkinFamily::None;
}

SkinPictures PicturesOf(SkinFamily family) {
    switch (family) {
        case SkinFamily::A:
            return {"BtnS_01", "BtnS_02", "BtnS_03"};
        case SkinFamily::B:
        case SkinFamily::D:
            return {"SetS_01", "SetS_03", "SetS_02"};
        case SkinFamily::C:
        case SkinFamily::E:
            return {"KeyS_01", "KeyS_02", ""};
        case SkinFamily::F:
            return {"MacroS_01", "MacroS_02", "MacroS_03"};
        case SkinFamily::G:
            return {"MacroBtnS_01", "MacroBtnS_02", "MacroBtnS_03"};
        case SkinFamily::Web:
            return {"WebS_01", "WebS_03", "WebS_02"};
        case SkinFamily::None:
            break;
    }
    return {"", "", ""};
}

std::vector<std::string> PictureControlsOf(std::string_view label) {
    const SkinFamily family = FamilyOfLabel(label);
    if (family == SkinFamily::None) return {};
    if (family == SkinFamily::C) return {"Img_" + std::string(label)};
    const std::string picture = "Img_" + std::string(label.substr(4));
    if (family == SkinFamily::A || family == SkinFamily::Web) {
        const std::string base = picture.substr(0, picture.size() - 1);
        std::vector<std::string> all;
        for (int n = 1; n <= kPageCopies; ++n) all.push_back(base + std::to_string(n));
        return all;
    }
    return {picture};
}

// ---- marquee -------------------------------------------------------------------------------

std::u32string Utf8ToUtf32(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

std::string Utf32ToUtf8(std::u32string_view text) {
    std::string out;
    for (char32_t cp : text) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

void Marquee::Start(std::string caption) {
    working_ = Utf8ToUtf32(caption);
    restore_ = std::move(caption);
    counter_ = 0;
}

const std::u32string& Marquee::Tick() {
    counter_ = counter_ >= 65535 ? 2 : counter_ + 1;
    const std::u32string rest = working_.empty() ? std::u32string() : working_.substr(1);
    const std::u32string first = working_.empty() ? std::u32string() : working_.substr(0, 1);
    working_ = counter_ == 1 ? rest + U"    " + first : rest + first;
    return working_;
}

// ---- start-up ------------------------------------------------------------------------------

namespace {
constexpr std::array<StartupStep, kStartupStepCount> kStartup = {
    StartupStep::InitialState,
    StartupStep::Geometry,
    StartupStep::DoubleBuffering,
    StartupStep::HandlesInvalid,
    StartupStep::FirstPageVisible,
    StartupStep::LoadSkinImages,
    StartupStep::LoadWebLink,
    StartupStep::ApplyLanguageLayout,
    StartupStep::MacroNameRowHeight,
    StartupStep::LoadDefaultImage,
    StartupStep::InitNoDevice,
    StartupStep::PointerSettings,
    StartupStep::ApplicationTitle,
    StartupStep::DiscoveryTarget,
    StartupStep::RightAlignedBoxes,
    StartupStep::LanguageButton,
    StartupStep::Repaint,
};
}  // namespace

std::span<const StartupStep> StartupOrder() {
    return kStartup;
}

std::string_view StartupStepName(StartupStep step) {
    switch (step) {
        case StartupStep::InitialState:
            return "initial state";
        case StartupStep::Geometry:
            return "geometry";
        case StartupStep::DoubleBuffering:
            return "double buffering";
        case StartupStep::HandlesInvalid:
            return "handles invalid";
        case StartupStep::FirstPageVisible:
            return "first page visible";
        case StartupStep::LoadSkinImages:
            return "LoadSkinImages";
        case StartupStep::LoadWebLink:
            return "LoadWebLink";
        case StartupStep::ApplyLanguageLayout:
            return "ApplyLanguageLayout";
        case StartupStep::MacroNameRowHeight:
            return "macro name row height";
        case StartupStep::LoadDefaultImage:
            return "default image";
        case StartupStep::InitNoDevice:
            return "InitNoDevice";
        case StartupStep::PointerSettings:
            return "pointer settings";
        case StartupStep::ApplicationTitle:
            return "application title";
        case StartupStep::DiscoveryTarget:
            return "discovery target";
        case StartupStep::RightAlignedBoxes:
            return "right-aligned boxes";
        case StartupStep::LanguageButton:
            return "language button";
        case StartupStep::Repaint:
            return "repaint";
    }
    return "";
}

Point CentredOrigin(int screenW, int screenH, int w, int h) {
    return {(screenW - w) / 2, (screenH - h) / 2};
}

Point BusyPopupOrigin(Point window, int windowW, int windowH, int popupW, int popupH) {
    return {window.x + (windowW - popupW) / 2, window.y + (windowH - popupH) / 2 + 40};
}

// ---- command line --------------------------------------------------------------------------

std::string_view AppUsage() {
    static const std::string usage =
        "Usage: kelv731x [--language N] [--virtual-mouse[=FILE]] [options]\n"
        "  --language N             start in language N (1..3, default 1)\n" +
        std::string(device::kVirtualMouseHelp) +
        "  SIGUSR1 unplugs the virtual mouse; the next one plugs it in again.\n";
    return usage;
}

AppOptions ParseAppOptions(std::span<const std::string> args) {
    AppOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--language" || a.starts_with("--language=")) {
            if (a == "--language") {
                if (i + 1 >= args.size()) {
                    o.error = "--language needs a number 1..3";
                    return o;
                }
                value = args[++i];
            } else {
                value = a.substr(11);
            }
            int n = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (ec != std::errc() || end != value.data() + value.size() || n < 1 || n > 3) {
                o.error = "--language takes 1, 2 or 3, not '" + value + "'";
                return o;
            }
            o.language = n;
        } else if (const auto taken =
                       device::TakeVirtualMouseOption(args, i, o.virtualMouse, o.error);
                   taken != device::OptionResult::NotMine) {
            if (taken == device::OptionResult::Error) return o;
        } else {
            o.error = "unknown option '" + a + "'";
            return o;
        }
    }
    o.error = device::CheckVirtualMouseRequest(o.virtualMouse);
    return o;
}

std::vector<ShapeRect> ShapeOfPicture(const std::uint8_t* rgba, int width, int height,
                                      std::size_t stride, std::uint32_t keyRgb) {
    std::vector<ShapeRect> rects;
    std::vector<std::pair<int, int>> runs, previous;  // [x, end) of the opaque runs of a row
    std::size_t bandStart = 0;                        // first rect of the band being extended
    const std::uint8_t kr = (keyRgb >> 16) & 0xFF, kg = (keyRgb >> 8) & 0xFF, kb = keyRgb & 0xFF;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rgba + static_cast<std::size_t>(y) * stride;
        runs.clear();
        for (int x = 0; x < width;) {
            auto key = [&](int at) {
                const std::uint8_t* p = row + 4 * static_cast<std::size_t>(at);
                return p[0] == kr && p[1] == kg && p[2] == kb;
            };
            while (x < width && key(x)) ++x;
            const int start = x;
            while (x < width && !key(x)) ++x;
            if (x > start) runs.emplace_back(start, x);
        }
        if (y > 0 && runs == previous) {
            for (std::size_t i = bandStart; i < rects.size(); ++i) ++rects[i].height;
            continue;
        }
        bandStart = rects.size();
        for (const auto& [x0, x1] : runs) rects.push_back({x0, y, x1 - x0, 1});
        previous.swap(runs);
    }
    return rects;
}

}  // namespace kelv::app
