// The window's rules that need no widget: which page is current and what a page switch may do,
// the skin's picture names, the caption marquee and the order of the start-up steps. Kept
// Qt-free so they can be tested without a display.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/virtual_session.h"

namespace kelv::app {

enum class Page { Main, Switch, Fixed, Advanced, Breathing, Macro, Update };

inline constexpr int kPageCopies = 5;  // gbPage1..gbPage5 each carry the navigation bar
inline constexpr int kLanguageCount = 3;

// Page group (1..5) that shows a page.
int PageGroupOf(Page page);
// Navigation-bar name of a page's button ("Main", "Switch", ..., "Update").
std::string_view PageButtonName(Page page);
// The seven page buttons, in page order.
std::span<const Page> AllPages();
// Main, Switch, Fixed: the three profiles of the button editor (0, 1, 2); nullopt otherwise.
std::optional<int> ProfileOfPage(Page page);
Page PageOfProfile(int profile);  // 0..2; anything else is Main
// Resource of the page image (Img_P1..Img_P5) for a language 1..3 ("L1_Back1", "Update").
std::string PageBackground(Page page, int language);
// Resource of the window background of a language ("L2_BackGround").
std::string WindowBackground(int language);

// The window's shape: rectangles covering every pixel of an RGBA picture whose colour is not the
// key colour (0xRRGGBB), row runs merged downwards while rows repeat, in the banded top-to-bottom,
// left-to-right order a window region takes. Rows are `stride` bytes apart.
struct ShapeRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const ShapeRect&, const ShapeRect&) = default;
};
std::vector<ShapeRect> ShapeOfPicture(const std::uint8_t* rgba, int width, int height,
                                      std::size_t stride, std::uint32_t keyRgb);

struct ShellState {
    Page currentPage = Page::Main;
    int currentLanguage = 1;
    bool deviceLostView = false;
};

// What the first steps of a page switch decide.
enum class SwitchVerdict {
    NoDevice,     // show Str022, nothing changes
    Ignored,      // device-lost view: nothing happens
    GateRefused,  // show the gate's message (Str020 / Str021)
    Proceed,
};

// The gate of Switch (some profile 1 key named like Str242) and Fixed (some profile 2 key named
// like Str245). `names` are the twelve key names of the profile the gate looks at.
bool GatePasses(Page page, std::span<const std::string> names, std::string_view gateText);
// The profile whose names the gate of `page` tests (0 for Switch, 1 for Fixed); nullopt when the
// page has no gate.
std::optional<int> GateProfile(Page page);
// Key of the gate's text and of its refusal message ("Str242"/"Str020", "Str245"/"Str021").
std::string_view GateTextKey(Page page);
std::string_view GateMessageKey(Page page);

SwitchVerdict DecidePageSwitch(bool connected, bool deviceLostView, bool gatePasses);

// Step 7 of a page switch: the profile byte is written for Main, Switch and Fixed unless a read
// of the mouse is in progress.
bool WritesProfileByte(Page page, bool readingDevice);

// Whether the key cover `Disable` shows on a page after a switch.
bool DisableShown(Page page, bool connected);

// ---- skin ----------------------------------------------------------------------------------

enum class SkinFamily { None, A, B, C, D, E, F, G, Web };

struct SkinPictures {
    std::string_view normal;
    std::string_view hover;
    std::string_view pressed;  // also "selected"; empty when the family has none
};

// Family of a caption label by its name ("Btn_Reset_3" -> A, "Key7" -> C, "Btn_OK" -> G).
SkinFamily FamilyOfLabel(std::string_view label);
SkinPictures PicturesOf(SkinFamily family);
// The picture controls of a label by the name rule: "Btn_Main_2" -> {"Img_Main_2"},
// "Btn_Reset_3" -> {"Img_Reset_1".."Img_Reset_5"}, "Key1" -> {"Img_Key1"}; Web takes all five.
std::vector<std::string> PictureControlsOf(std::string_view label);
// Copy number (1..5) at the end of a navigation-bar name, 0 when there is none.
int CopyOf(std::string_view name);

// The scrolling caption of the hovered label: one character to the left per tick with four
// spaces between the end and the start; Restore() gives the caption as it was on entry.
class Marquee {
  public:
    void Start(std::string caption);  // enter: restore copy and working copy, counter 0
    // One tick; returns the caption to show.
    const std::u32string& Tick();
    const std::u32string& Working() const { return working_; }
    const std::string& Restore() const { return restore_; }
    std::uint32_t Counter() const { return counter_; }
    void SetCounter(std::uint32_t counter) { counter_ = counter; }

  private:
    std::string restore_;
    std::u32string working_;
    std::uint32_t counter_ = 0;
};

std::u32string Utf8ToUtf32(std::string_view text);
std::string Utf32ToUtf8(std::u32string_view text);

// ---- start-up ------------------------------------------------------------------------------

// The start-up steps of the main window, in the order they run.
enum class StartupStep {
    InitialState,
    Geometry,
    DoubleBuffering,
    HandlesInvalid,
    FirstPageVisible,
    LoadSkinImages,
    LoadWebLink,
    ApplyLanguageLayout,
    MacroNameRowHeight,
    LoadDefaultImage,
    InitNoDevice,
    PointerSettings,
    ApplicationTitle,
    DiscoveryTarget,
    RightAlignedBoxes,
    LanguageButton,
    Repaint,
};
inline constexpr int kStartupStepCount = 17;
std::span<const StartupStep> StartupOrder();
std::string_view StartupStepName(StartupStep step);

// left/top of a window of size w x h centred on a screen; halves rounded toward zero.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
Point CentredOrigin(int screenW, int screenH, int w, int h);
// The busy pop-up below the window's centre: 40 pixels lower than centred.
Point BusyPopupOrigin(Point window, int windowW, int windowH, int popupW, int popupH);

// ---- command line --------------------------------------------------------------------------

struct AppOptions {
    int language = 1;
    device::VirtualMouseRequest virtualMouse;
    std::string error;  // non-empty: the command line was not understood
    bool help = false;
};
AppOptions ParseAppOptions(std::span<const std::string> args);
std::string_view AppUsage();

}  // namespace kelv::app
