// The window's rules that need no widget.
#include <gtest/gtest.h>

#include <vector>

#include "app/shell_rules.h"

namespace kelv::app {
namespace {

TEST(Marquee, ScrollsWithAGapAndRestores) {
    struct Case {
        const char* caption;
        std::vector<const char*> ticks;
    };
    const Case cases[] = {
        {"Macro", {"acro    M", "cro    Ma", "ro    Mac", "o    Macr"}},
        {"", {"    ", "    ", "    "}},
        {"宏定义", {"定义    宏", "义    宏定", "    宏定义"}},
        {"A", {"    A", "   A ", "  A  "}},
    };
    for (const Case& c : cases) {
        Marquee m;
        m.Start(c.caption);
        for (const char* expected : c.ticks) {
            EXPECT_EQ(Utf32ToUtf8(m.Tick()), expected) << c.caption;
        }
        EXPECT_EQ(m.Restore(), c.caption);
    }
}

TEST(Marquee, CounterWrapsToTwoSoTheGapIsNotAddedAgain) {
    Marquee m;
    m.Start("ab");
    m.SetCounter(65535);
    EXPECT_EQ(Utf32ToUtf8(m.Tick()), "ba");
    EXPECT_EQ(m.Counter(), 2u);
}

TEST(Skin, FamiliesAndTheirPictureControls) {
    struct Case {
        const char* label;
        SkinFamily family;
        std::vector<std::string> pictures;
    };
    const Case cases[] = {
        {"Btn_Reset_3",
         SkinFamily::A,
         {"Img_Reset_1", "Img_Reset_2", "Img_Reset_3", "Img_Reset_4", "Img_Reset_5"}},
        {"Btn_Exit_1",
         SkinFamily::A,
         {"Img_Exit_1", "Img_Exit_2", "Img_Exit_3", "Img_Exit_4", "Img_Exit_5"}},
        {"Btn_Main_2", SkinFamily::B, {"Img_Main_2"}},
        {"Btn_Save_5", SkinFamily::B, {"Img_Save_5"}},
        {"Btn_Lang3_4", SkinFamily::D, {"Img_Lang3_4"}},
        {"Key12", SkinFamily::C, {"Img_Key12"}},
        {"Btn_LoadBIN", SkinFamily::E, {"Img_LoadBIN"}},
        {"Btn_NewName", SkinFamily::F, {"Img_NewName"}},
        {"Btn_InsertStart", SkinFamily::F, {"Img_InsertStart"}},
        {"Btn_OK", SkinFamily::G, {"Img_OK"}},
        {"Btn_Web_2",
         SkinFamily::Web,
         {"Img_Web_1", "Img_Web_2", "Img_Web_3", "Img_Web_4", "Img_Web_5"}},
        {"Key13", SkinFamily::None, {}},
        {"Key_Left", SkinFamily::None, {}},
        {"lbl_DPI1", SkinFamily::None, {}},
        {"Btn_Main_9", SkinFamily::None, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FamilyOfLabel(c.label), c.family) << c.label;
        EXPECT_EQ(PictureControlsOf(c.label), c.pictures) << c.label;
    }
    EXPECT_EQ(PicturesOf(SkinFamily::B).hover, "SetS_03");
    EXPECT_EQ(PicturesOf(SkinFamily::B).pressed, "SetS_02");
    EXPECT_EQ(PicturesOf(SkinFamily::Web).hover, "WebS_03");
    EXPECT_EQ(PicturesOf(SkinFamily::C).pressed, "");
}

TEST(PageSwitch, VerdictsInTheirOrder) {
    struct Case {
        bool connected, lost, gate;
        SwitchVerdict verdict;
    };
    const Case cases[] = {
        {false, false, true, SwitchVerdict::NoDevice},
        {false, true, false, SwitchVerdict::NoDevice},  // Str022 comes first
        {true, true, false, SwitchVerdict::Ignored},
        {true, false, false, SwitchVerdict::GateRefused},
        {true, false, true, SwitchVerdict::Proceed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecidePageSwitch(c.connected, c.lost, c.gate), c.verdict);
    }
}

TEST(PageSwitch, GatesProfileByteAndCover) {
    const std::vector<std::string> names = {"Left", "KB Switch Key", "KB Reset Key"};
    const std::vector<std::string> plain = {"Left", "Right"};
    EXPECT_TRUE(GatePasses(Page::Switch, names, "KB Switch Key"));
    EXPECT_FALSE(GatePasses(Page::Switch, plain, "KB Switch Key"));
    EXPECT_TRUE(GatePasses(Page::Advanced, plain, "KB Switch Key"));
    EXPECT_EQ(GateProfile(Page::Switch), 0);
    EXPECT_EQ(GateProfile(Page::Fixed), 1);
    EXPECT_EQ(GateProfile(Page::Main), std::nullopt);
    EXPECT_EQ(GateMessageKey(Page::Fixed), "Str021");
    EXPECT_EQ(GateTextKey(Page::Switch), "Str242");

    for (Page p : AllPages()) {
        const bool profilePage = p == Page::Main || p == Page::Switch || p == Page::Fixed;
        EXPECT_EQ(WritesProfileByte(p, false), profilePage);
        EXPECT_FALSE(WritesProfileByte(p, true));
        EXPECT_TRUE(DisableShown(p, false));
        EXPECT_EQ(DisableShown(p, true), p == Page::Fixed);
    }
    EXPECT_EQ(PageBackground(Page::Fixed, 2), "L2_Back1");
    EXPECT_EQ(PageBackground(Page::Macro, 3), "L3_Back4");
    EXPECT_EQ(PageBackground(Page::Update, 2), "Update");
}

TEST(Geometry, CentredAndBusyPopup) {
    EXPECT_EQ(CentredOrigin(1920, 1080, 800, 600), (Point{560, 240}));
    EXPECT_EQ(CentredOrigin(640, 480, 800, 600), (Point{-80, -60}));
    EXPECT_EQ(CentredOrigin(801, 601, 800, 600), (Point{0, 0}));
    EXPECT_EQ(CentredOrigin(799, 599, 800, 600), (Point{0, 0}));  // toward zero
    EXPECT_EQ(BusyPopupOrigin({560, 240}, 800, 600, 206, 196), (Point{857, 482}));
}

TEST(StartupOrder, SeventeenStepsEachOnce) {
    const auto order = StartupOrder();
    ASSERT_EQ(order.size(), 17u);
    EXPECT_EQ(order.front(), StartupStep::InitialState);
    EXPECT_EQ(order[5], StartupStep::LoadSkinImages);  // before the layout sizes labels
    EXPECT_EQ(order[7], StartupStep::ApplyLanguageLayout);
    EXPECT_EQ(order[10], StartupStep::InitNoDevice);
    EXPECT_EQ(order.back(), StartupStep::Repaint);
}

TEST(CommandLine, Options) {
    struct Case {
        std::vector<std::string> args;
        int language;
        bool virtualMouse;
        std::string file;
        bool error;
        char layout = 'A';
    };
    const Case cases[] = {
        {{}, 1, false, "", false},
        {{"--language", "3"}, 3, false, "", false},
        {{"--language=2", "--virtual-mouse"}, 2, true, "", false},
        {{"--virtual-mouse=/tmp/m.bin"}, 1, true, "/tmp/m.bin", false},
        {{"--language", "4"}, 1, false, "", true},
        {{"--language", "x"}, 1, false, "", true},
        {{"--language"}, 1, false, "", true},
        {{"--virtual-mouse="}, 1, true, "", true},
        {{"--frobnicate"}, 1, false, "", true},
        {{"--virtual-mouse", "--virtual-layout=c"}, 1, true, "", false, 'C'},
        {{"--virtual-layout=B"}, 1, false, "", true},
        {{"--virtual-mouse", "--virtual-layout=D"}, 1, true, "", true},
    };
    for (const Case& c : cases) {
        const AppOptions o = ParseAppOptions(c.args);
        EXPECT_EQ(!o.error.empty(), c.error) << (c.args.empty() ? "" : c.args[0]);
        if (c.error) continue;
        EXPECT_EQ(o.language, c.language);
        EXPECT_EQ(o.virtualMouse.enabled, c.virtualMouse);
        EXPECT_EQ(o.virtualMouse.file, c.file);
        EXPECT_EQ(LayoutName(o.virtualMouse.layout.value_or(device::Layout::A)),
                  std::string(1, c.layout));
    }
}

// A 6 x 4 picture drawn as text: '#' opaque, '.' the key colour.
TEST(WindowShape, OpaqueRunsMergedWhileRowsRepeat) {
    const char* rows[] = {
        ".####.",
        ".####.",
        "##..##",
        "......",
    };
    constexpr int kW = 6, kH = 4;
    constexpr std::size_t kStride = kW * 4 + 8;  // padded rows
    std::vector<std::uint8_t> rgba(kStride * kH, 0xEE);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            std::uint8_t* p = &rgba[y * kStride + 4 * x];
            const bool key = rows[y][x] == '.';
            p[0] = key ? 128 : 127;  // one step from the key colour is opaque
            p[1] = 0;
            p[2] = 0;
            p[3] = 255;
        }
    }
    const std::vector<ShapeRect> expected = {{1, 0, 4, 2}, {0, 2, 2, 1}, {4, 2, 2, 1}};
    EXPECT_EQ(ShapeOfPicture(rgba.data(), kW, kH, kStride, 0x800000), expected);
    EXPECT_TRUE(ShapeOfPicture(rgba.data(), kW, 0, kStride, 0x800000).empty());
}

}  // namespace
}  // namespace kelv::app
