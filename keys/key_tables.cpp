#include "keys/key_tables.h"

#include <array>

namespace kelv::keys {
namespace {

// One row per key index, in index order: virtual key(s), name, usage.
struct KeyRow {
    TKeyboardHookKey index;
    int vk;   // -1: none
    int vk2;  // a second code for the same key, -1: none
    std::string_view name;
    std::uint8_t usage;
};

constexpr KeyRow kRows[] = {
    {kh_None, -1, -1, "None", 0x00},
    {kh_Demo, -1, -1, "Demo", 0x00},
    {kh_255, 0xFF, -1, "255", 0x00},
    {kh_Back, 0x08, -1, "Backspace", 0x2A},
    {kh_Tab, 0x09, -1, "Tab", 0x2B},
    {kh_Clear, 0x0C, -1, "Clear", 0x9C},
    {kh_Return, 0x0D, -1, "Enter", 0x28},
    {kh_Shift, 0x10, -1, "Shift", 0xE1},
    {kh_Control, 0x11, -1, "Ctrl", 0xE0},
    {kh_Alt, 0x12, -1, "Alt", 0xE2},
    {kh_Pause, 0x13, -1, "Pause", 0x48},
    {kh_Capital, 0x14, -1, "Caps Lock", 0x39},
    {kh_Escape, 0x1B, -1, "Esc", 0x29},
    {kh_Space, 0x20, -1, "Space bar", 0x2C},
    {kh_Prior, 0x21, -1, "Page Up", 0x4B},
    {kh_Next, 0x22, -1, "Page Down", 0x4E},
    {kh_End, 0x23, -1, "End", 0x4D},
    {kh_Home, 0x24, -1, "Home", 0x4A},
    {kh_Left, 0x25, -1, "Left Arrow", 0x50},
    {kh_Up, 0x26, -1, "Up Arrow", 0x52},
    {kh_Right, 0x27, -1, "Right Arrow", 0x4F},
    {kh_Down, 0x28, -1, "Down Arrow", 0x51},
    {kh_Select, 0x29, -1, "Select", 0x77},
    {kh_Snapshot, 0x2C, -1, "Print Screen", 0x46},
    {kh_Insert, 0x2D, -1, "Insert", 0x49},
    {kh_Delete, 0x2E, -1, "Delete", 0x4C},
    {kh_Help, 0x2F, -1, "Help", 0x75},
    {kh_LWIN, 0x5B, -1, "Left Windows", 0xE3},
    {kh_RWIN, 0x5C, -1, "Right Windows", 0xE7},
    {kh_APPS, 0x5D, -1, "Applications", 0x65},
    {kh_Numpad0, 0x60, -1, "0 (numeric pad)", 0x62},
    {kh_Numpad1, 0x61, -1, "1 (numeric pad)", 0x59},
    {kh_Numpad2, 0x62, -1, "2 (numeric pad)", 0x5A},
    {kh_Numpad3, 0x63, -1, "3 (numeric pad)", 0x5B},
    {kh_Numpad4, 0x64, -1, "4 (numeric pad)", 0x5C},
    {kh_Numpad5, 0x65, -1, "5 (numeric pad)", 0x5D},
    {kh_Numpad6, 0x66, -1, "6 (numeric pad)", 0x5E},
    {kh_Numpad7, 0x67, -1, "7 (numeric pad)", 0x5F},
    {kh_Numpad8, 0x68, -1, "8 (numeric pad)", 0x60},
    {kh_Numpad9, 0x69, -1, "9 (numeric pad)", 0x61},
    {kh_Multiply, 0x6A, -1, "Multiply (numeric pad)", 0x55},
    {kh_Add, 0x6B, -1, "Add (numeric pad)", 0x57},
    {kh_Separator, 0x6C, -1, "Separator (numeric pad)", 0x58},
    {kh_Subtract, 0x6D, -1, "Subtract (numeric pad)", 0x56},
    {kh_Decimal, 0x6E, -1, "Decimal (numeric pad)", 0x63},
    {kh_Divide, 0x6F, -1, "Divide (numeric pad)", 0x54},
    {kh_F1, 0x70, -1, "F1", 0x3A},
    {kh_F2, 0x71, -1, "F2", 0x3B},
    {kh_F3, 0x72, -1, "F3", 0x3C},
    {kh_F4, 0x73, -1, "F4", 0x3D},
    {kh_F5, 0x74, -1, "F5", 0x3E},
    {kh_F6, 0x75, -1, "F6", 0x3F},
    {kh_F7, 0x76, -1, "F7", 0x40},
    {kh_F8, 0x77, -1, "F8", 0x41},
    {kh_F9, 0x78, -1, "F9", 0x42},
    {kh_F10, 0x79, -1, "F10", 0x43},
    {kh_F11, 0x7A, -1, "F11", 0x44},
    {kh_F12, 0x7B, -1, "F12", 0x45},
    {kh_F13, 0x7C, -1, "F13", 0x68},
    {kh_F14, 0x7D, -1, "F14", 0x69},
    {kh_F15, 0x7E, -1, "F15", 0x6A},
    {kh_F16, 0x7F, -1, "F16", 0x6B},
    {kh_F17, 0x80, -1, "F17", 0x6C},
    {kh_F18, 0x81, -1, "F18", 0x6D},
    {kh_F19, 0x82, -1, "F19", 0x6E},
    {kh_F20, 0x83, -1, "F20", 0x6F},
    {kh_F21, 0x84, -1, "F21", 0x70},
    {kh_F22, 0x85, -1, "F22", 0x71},
    {kh_F23, 0x86, -1, "F23", 0x72},
    {kh_F24, 0x87, -1, "F24", 0x73},
    {kh_Numlock, 0x90, -1, "Num Lock", 0x53},
    {kh_Scroll, 0x91, -1, "Scroll Lock", 0x47},
    {kh_LShift, 0xA0, -1, "Left Shift", 0xE1},
    {kh_RShift, 0xA1, -1, "Right Shift", 0xE5},
    {kh_LControl, 0xA2, -1, "Left Ctrl", 0xE0},
    {kh_RControl, 0xA3, -1, "Right Ctrl", 0xE4},
    {kh_LAlt, 0xA4, -1, "Left Alt", 0xE2},
    {kh_RAlt, 0xA5, -1, "Right Alt", 0xE6},
    {kh_A, 0x41, -1, "A", 0x04},
    {kh_B, 0x42, -1, "B", 0x05},
    {kh_C, 0x43, -1, "C", 0x06},
    {kh_D, 0x44, -1, "D", 0x07},
    {kh_E, 0x45, -1, "E", 0x08},
    {kh_F, 0x46, -1, "F", 0x09},
    {kh_G, 0x47, -1, "G", 0x0A},
    {kh_H, 0x48, -1, "H", 0x0B},
    {kh_I, 0x49, -1, "I", 0x0C},
    {kh_J, 0x4A, -1, "J", 0x0D},
    {kh_K, 0x4B, -1, "K", 0x0E},
    {kh_L, 0x4C, -1, "L", 0x0F},
    {kh_M, 0x4D, -1, "M", 0x10},
    {kh_N, 0x4E, -1, "N", 0x11},
    {kh_O, 0x4F, -1, "O", 0x12},
    {kh_P, 0x50, -1, "P", 0x13},
    {kh_Q, 0x51, -1, "Q", 0x14},
    {kh_R, 0x52, -1, "R", 0x15},
    {kh_S, 0x53, -1, "S", 0x16},
    {kh_T, 0x54, -1, "T", 0x17},
    {kh_U, 0x55, -1, "U", 0x18},
    {kh_V, 0x56, -1, "V", 0x19},
    {kh_W, 0x57, -1, "W", 0x1A},
    {kh_X, 0x58, -1, "X", 0x1B},
    {kh_Y, 0x59, -1, "Y", 0x1C},
    {kh_Z, 0x5A, -1, "Z", 0x1D},
    {kh_0, 0x30, -1, "0", 0x27},
    {kh_1, 0x31, -1, "1", 0x1E},
    {kh_2, 0x32, -1, "2", 0x1F},
    {kh_3, 0x33, -1, "3", 0x20},
    {kh_4, 0x34, -1, "4", 0x21},
    {kh_5, 0x35, -1, "5", 0x22},
    {kh_6, 0x36, -1, "6", 0x23},
    {kh_7, 0x37, -1, "7", 0x24},
    {kh_8, 0x38, -1, "8", 0x25},
    {kh_9, 0x39, 0x3A, "9", 0x26},
    {kh_OEM_1, 0xBA, -1, "OEM_1", 0x33},
    {kh_OEM_2, 0xBF, -1, "OEM_2", 0x38},
    {kh_OEM_3, 0xC0, -1, "OEM_3", 0x35},
    {kh_OEM_4, 0xDB, -1, "OEM_4", 0x2F},
    {kh_OEM_5, 0xDC, -1, "OEM_5", 0x31},
    {kh_OEM_6, 0xDD, -1, "OEM_6", 0x30},
    {kh_OEM_7, 0xDE, -1, "OEM_7", 0x34},
    {kh_OEM_8, 0xDF, -1, "OEM_8", 0x00},
    {kh_OEM_Plus, 0xBB, -1, "OEM_Plus", 0x2E},
    {kh_OEM_Comma, 0xBC, -1, "OEM_Comma", 0x36},
    {kh_OEM_Minus, 0xBD, -1, "OEM_Minus", 0x2D},
    {kh_OEM_Period, 0xBE, -1, "OEM_Period", 0x37},
    {kh_Browser_Back, 0xA6, -1, "Browser_Back", 0xCA},
    {kh_Browser_Forward, 0xA7, -1, "Browser_Forward", 0xCB},
    {kh_Browser_Refresh, 0xA8, -1, "Browser_Refresh", 0xCD},
    {kh_Browser_Stop, 0xA9, -1, "Browser_Stop", 0xCC},
    {kh_Browser_Search, 0xAA, -1, "Browser_Search", 0xC8},
    {kh_Browser_Favorites, 0xAB, -1, "Browser_Favorites", 0xCE},
    {kh_Browser_Home, 0xAC, -1, "Browser_Home", 0xC9},
    {kh_Volume_Mute, 0xAD, -1, "Volume_Mute", 0xC4},
    {kh_Volume_Down, 0xAE, -1, "Volume_Down", 0xC6},
    {kh_Volume_Up, 0xAF, -1, "Volume_Up", 0xC5},
    {kh_Media_Next_Track, 0xB0, -1, "Media_Next_Track", 0xC0},
    {kh_Media_Prev_Track, 0xB1, -1, "Media_Prev_Track", 0xC1},
    {kh_Media_Stop, 0xB2, -1, "Media_Stop", 0xC2},
    {kh_Media_Play_Pause, 0xB3, -1, "Media_Play_Pause", 0xC3},
    {kh_Launch_Mail, 0xB4, -1, "Launch_Mail", 0xC7},
    {kh_Launch_Media_Select, 0xB5, -1, "Launch_Media_Select", 0xD1},
    {kh_Launch_App1, 0xB6, -1, "Launch_App1", 0x00},
    {kh_Launch_App2, 0xB7, -1, "Launch_App2", 0x00},
    {kh_Return_KP, -1, -1, "", 0x00},
};

static_assert(std::size(kRows) == kKeyIndexCount);
static_assert(kh_Numpad0 == 30 && kh_F1 == 46 && kh_F13 == 58 && kh_Numlock == 70 && kh_A == 78 &&
              kh_0 == 104 && kh_OEM_1 == 114 && kh_Browser_Back == 126 && kh_Return_KP == 144);

constexpr bool RowsInIndexOrder() {
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (kRows[i].index != i) return false;
    return true;
}
static_assert(RowsInIndexOrder());

struct Tables {
    std::array<TKeyboardHookKey, 256> byVk{};
    std::array<std::string_view, 256> nameByUsage{};
};

constexpr Tables BuildTables() {
    Tables t{};
    for (const KeyRow& row : kRows) {
        if (row.vk >= 0) t.byVk[static_cast<std::size_t>(row.vk)] = row.index;
        if (row.vk2 >= 0) t.byVk[static_cast<std::size_t>(row.vk2)] = row.index;
        if (row.usage != 0) t.nameByUsage[row.usage] = row.name;
    }
    // Usages that two keys produce name as the left-hand key; both Windows keys as "Win".
    t.nameByUsage[0xE0] = "Left Ctrl";
    t.nameByUsage[0xE1] = "Left Shift";
    t.nameByUsage[0xE2] = "Left Alt";
    t.nameByUsage[0xE3] = "Win";
    t.nameByUsage[0xE7] = "Win";
    return t;
}

constexpr Tables kTables = BuildTables();

}  // namespace

TKeyboardHookKey KeyIndexFromVirtualKey(std::uint8_t vk) {
    return kTables.byVk[vk];
}

std::string_view KeyNameFromIndex(TKeyboardHookKey index) {
    return index < kKeyIndexCount ? kRows[index].name : std::string_view();
}

std::uint8_t UsageFromKeyIndex(TKeyboardHookKey index) {
    return index < kKeyIndexCount ? kRows[index].usage : 0;
}

std::string_view KeyNameFromUsage(std::uint8_t usage) {
    return kTables.nameByUsage[usage];
}

}  // namespace kelv::keys
