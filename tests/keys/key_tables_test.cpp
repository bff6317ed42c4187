#include "keys/key_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kelv::keys {
namespace {

// Ordinary keys: Windows virtual-key code -> usage on the HID Usage Tables keyboard page.
struct HidKey {
    std::uint8_t vk;
    std::uint8_t usage;
    const char* what;
};

std::vector<HidKey> HidKeyboardPage() {
    std::vector<HidKey> keys;
    for (int i = 0; i < 26; ++i)
        keys.push_back(
            {static_cast<std::uint8_t>('A' + i), static_cast<std::uint8_t>(0x04 + i), "letter"});
    for (int i = 1; i <= 9; ++i)
        keys.push_back(
            {static_cast<std::uint8_t>('0' + i), static_cast<std::uint8_t>(0x1D + i), "digit"});
    keys.push_back({'0', 0x27, "0"});
    for (int i = 0; i < 12; ++i)
        keys.push_back(
            {static_cast<std::uint8_t>(0x70 + i), static_cast<std::uint8_t>(0x3A + i), "F1-F12"});
    for (int i = 0; i < 12; ++i)
        keys.push_back(
            {static_cast<std::uint8_t>(0x7C + i), static_cast<std::uint8_t>(0x68 + i), "F13-F24"});
    for (int i = 1; i <= 9; ++i)
        keys.push_back({static_cast<std::uint8_t>(0x60 + i), static_cast<std::uint8_t>(0x58 + i),
                        "keypad digit"});
    const HidKey fixed[] = {
        {0x0D, 0x28, "Enter"},       {0x1B, 0x29, "Escape"},      {0x08, 0x2A, "Backspace"},
        {0x09, 0x2B, "Tab"},         {0x20, 0x2C, "Space"},       {0xBD, 0x2D, "- _"},
        {0xBB, 0x2E, "= +"},         {0xDB, 0x2F, "[ {"},         {0xDD, 0x30, "] }"},
        {0xDC, 0x31, "\\ |"},        {0xBA, 0x33, "; :"},         {0xDE, 0x34, "' \""},
        {0xC0, 0x35, "` ~"},         {0xBC, 0x36, ", <"},         {0xBE, 0x37, ". >"},
        {0xBF, 0x38, "/ ?"},         {0x14, 0x39, "Caps Lock"},   {0x2C, 0x46, "Print Screen"},
        {0x91, 0x47, "Scroll Lock"}, {0x13, 0x48, "Pause"},       {0x2D, 0x49, "Insert"},
        {0x24, 0x4A, "Home"},        {0x21, 0x4B, "Page Up"},     {0x2E, 0x4C, "Delete"},
        {0x23, 0x4D, "End"},         {0x22, 0x4E, "Page Down"},   {0x27, 0x4F, "Right"},
        {0x25, 0x50, "Left"},        {0x28, 0x51, "Down"},        {0x26, 0x52, "Up"},
        {0x90, 0x53, "Num Lock"},    {0x6F, 0x54, "Keypad /"},    {0x6A, 0x55, "Keypad *"},
        {0x6D, 0x56, "Keypad -"},    {0x6B, 0x57, "Keypad +"},    {0x60, 0x62, "Keypad 0"},
        {0x6E, 0x63, "Keypad ."},    {0x5D, 0x65, "Application"}, {0x2F, 0x75, "Help"},
        {0x29, 0x77, "Select"},      {0x0C, 0x9C, "Clear"},       {0xA2, 0xE0, "Left Ctrl"},
        {0xA0, 0xE1, "Left Shift"},  {0xA4, 0xE2, "Left Alt"},    {0x5B, 0xE3, "Left GUI"},
        {0xA3, 0xE4, "Right Ctrl"},  {0xA1, 0xE5, "Right Shift"}, {0xA5, 0xE6, "Right Alt"},
        {0x5C, 0xE7, "Right GUI"},   {0x11, 0xE0, "Ctrl"},        {0x10, 0xE1, "Shift"},
        {0x12, 0xE2, "Alt"},
    };
    keys.insert(keys.end(), std::begin(fixed), std::end(fixed));
    return keys;
}

TEST(KeyTables, OrdinaryKeysGiveTheirHidUsage) {
    const auto keys = HidKeyboardPage();
    for (const HidKey& k : keys) {
        const TKeyboardHookKey index = KeyIndexFromVirtualKey(k.vk);
        EXPECT_NE(index, kh_None) << k.what;
        EXPECT_EQ(UsageFromKeyIndex(index), k.usage) << k.what << " vk " << int(k.vk);
        EXPECT_FALSE(KeyNameFromUsage(k.usage).empty()) << k.what;
    }
}

TEST(KeyTables, RowsRunInStep) {
    struct Case {
        std::uint8_t vk;
        TKeyboardHookKey index;
        const char* name;
        std::uint8_t usage;
    };
    const Case cases[] = {
        {0x61, kh_Numpad1, "1 (numeric pad)", 0x59},
        {0x69, kh_Numpad9, "9 (numeric pad)", 0x61},
        {0x41, kh_A, "A", 0x04},
        {0x5A, kh_Z, "Z", 0x1D},
        {0x3A, kh_9, "9", 0x26},
        {0x87, kh_F24, "F24", 0x73},
        {0x5B, kh_LWIN, "Left Windows", 0xE3},
        {0xFF, kh_255, "255", 0x00},
        {0xB3, kh_Media_Play_Pause, "Media_Play_Pause", 0xC3},
        {0xDF, kh_OEM_8, "OEM_8", 0x00},
        {0x20, kh_Space, "Space bar", 0x2C},
        {0x00, kh_None, "None", 0x00},
        {0x07, kh_None, "None", 0x00},
        {0x3B, kh_None, "None", 0x00},
        {0xFE, kh_None, "None", 0x00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyIndexFromVirtualKey(c.vk), c.index) << int(c.vk);
        EXPECT_EQ(KeyNameFromIndex(c.index), c.name) << int(c.vk);
        EXPECT_EQ(UsageFromKeyIndex(c.index), c.usage) << int(c.vk);
    }
    EXPECT_EQ(kKeyIndexCount, 145);
    EXPECT_EQ(KeyNameFromIndex(kh_Return_KP), "");
    EXPECT_EQ(KeyNameFromIndex(kh_Demo), "Demo");
    EXPECT_EQ(KeyNameFromIndex(static_cast<TKeyboardHookKey>(145)), "");
    EXPECT_EQ(UsageFromKeyIndex(static_cast<TKeyboardHookKey>(200)), 0);
}

// Usage names equal index names, except where two keys share a usage or a Windows key.
TEST(KeyTables, UsageNamesAgreeWithIndexNames) {
    const std::map<std::uint8_t, std::string> exceptions = {{0xE0, "Left Ctrl"},
                                                            {0xE1, "Left Shift"},
                                                            {0xE2, "Left Alt"},
                                                            {0xE3, "Win"},
                                                            {0xE7, "Win"}};
    std::map<std::uint8_t, int> producers;
    for (int i = 0; i < kKeyIndexCount; ++i) {
        const auto index = static_cast<TKeyboardHookKey>(i);
        const std::uint8_t usage = UsageFromKeyIndex(index);
        if (usage == 0) continue;
        ++producers[usage];
        const auto exception = exceptions.find(usage);
        EXPECT_EQ(KeyNameFromUsage(usage),
                  exception != exceptions.end() ? exception->second : KeyNameFromIndex(index))
            << "index " << i;
    }
    for (const auto& [usage, count] : producers)
        EXPECT_TRUE(count == 1 || exceptions.count(usage)) << "usage " << int(usage);
    for (int usage = 0; usage < 256; ++usage) {
        if (!producers.count(static_cast<std::uint8_t>(usage))) {
            EXPECT_EQ(KeyNameFromUsage(static_cast<std::uint8_t>(usage)), "") << usage;
        }
    }
}

}  // namespace
}  // namespace kelv::keys
