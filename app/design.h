// The window design: every control of the main window with its kind, parent and initial
// geometry, in creation order (later controls lie above earlier ones of the same parent). What
// the layout keys name is placed again by the layout; the rest keeps these values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelv::app {

enum class ControlKind {
    Group,    // a page group or option group: a plain, transparent container
    Image,    // a picture; takes the size of the picture put into it
    Caption,  // a transparent text label that receives the mouse (skinned buttons, keys, menus)
    Cover,    // a transparent, caption-less label that swallows clicks (Disable, Disable_All_n)
    Text,     // a plain text label
    Edit,     // one-line edit box
    List,     // list box
    Combo,    // drop-down list
    Panel,    // floating menu panel
    Shape,    // a coloured rectangle
    Radio,    // a radio button of the hidden state groups
    Check,    // a hidden check box holding an on/off setting
    Memo,     // multi-line text (hidden script views)
};

// Windowed kinds stay above pictures and labels of the same parent, whatever the order.
constexpr bool IsWindowed(ControlKind k) {
    return k == ControlKind::Edit || k == ControlKind::List || k == ControlKind::Combo ||
           k == ControlKind::Panel || k == ControlKind::Memo;
}

struct ControlDesign {
    std::string name;
    ControlKind kind;
    std::string parent;  // "" = the main window
    int x = 0, y = 0, w = 0, h = 0;
    std::string caption;  // fixed captions of the design (step numbers, DPI1..DPI8)
    bool visible = true;
};

inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowHeight = 600;
inline constexpr int kBusyWidth = 206;
inline constexpr int kBusyHeight = 196;

// The navigation commands, in the order their controls are created.
inline constexpr std::string_view kNavButtons[] = {"Reset", "Exit",   "Main",  "Switch", "Fixed",
                                                   "Adv",   "Breath", "Macro", "Update", "Save",
                                                   "Load",  "Lang1",  "Lang2", "Lang3",  "Web"};

// The menu panels with their items (top to bottom); "LB_Name" is the macro list.
struct MenuDesign {
    std::string_view panel;
    std::vector<std::string_view> items;
};
const std::vector<MenuDesign>& Menus();

const std::vector<ControlDesign>& WindowDesign();

}  // namespace kelv::app
