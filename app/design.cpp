#include "app/design.h"

namespace kelv::app {

namespace {

using K = ControlKind;

std::string N(int i) {
    return std::to_string(i);
}

class Builder {
  public:
    std::vector<ControlDesign> controls;

    void Add(std::string name, K kind, std::string parent, int x, int y, int w, int h,
             std::string caption = {}, bool visible = true) {
        controls.push_back(
            {std::move(name), kind, std::move(parent), x, y, w, h, std::move(caption), visible});
    }
    // A skinned button: picture under its caption label.
    void Pair(const std::string& base, const std::string& parent, int x, int y, int w, int h) {
        Add("Img_" + base, K::Image, parent, x, y, w, h);
        Add("Btn_" + base, K::Caption, parent, x, y, w, h);
    }
    // A strip of step pictures with number labels 1..count.
    void Strip(const std::string& img, const std::string& lbl, const std::string& parent, int count,
               int x, int y, int stepW) {
        for (int k = 1; k <= count; ++k) {
            Add(img + N(k), K::Image, parent, x + (k - 1) * stepW, y, stepW, 7);
        }
        if (lbl.empty()) return;
        for (int k = 1; k <= count; ++k) {
            Add(lbl + N(k), K::Text, parent, x + (k - 1) * stepW - 4, y + 8, 20, 14, N(k));
        }
    }
};

void AdvancedPage(Builder& b) {
    const std::string p = "gbPage2";
    for (int k = 1; k <= 3; ++k) {
        b.Add("Img_Fire" + N(k) + "Continue", K::Image, p, 600, 400 + 30 * k, 18, 19);
        b.Add("lbl_Fire" + N(k) + "Continue", K::Caption, p, 598, 400 + 30 * k, 22, 19);
    }
    for (int k = 1; k <= 4; ++k) {
        b.Add("Img_Rep" + N(k), K::Image, p, 200 + 80 * k, 420, 16, 16);
        b.Add("lbl_Rep" + N(k), K::Caption, p, 196 + 80 * k, 418, 60, 20);
    }
    b.Strip("Img_Spd", "lbl_Spd", p, 10, 100, 300, 24);
    b.Strip("Img_DbSpd", "lbl_DbSpd", p, 10, 100, 340, 24);
    b.Strip("Img_ScrSpd", "lbl_ScrSpd", p, 10, 100, 380, 24);
    for (int k = 1; k <= 8; ++k) {
        const std::string d = "DPI" + N(k);
        const int y = 120 + 28 * (k - 1);
        b.Add("cs_" + d + "Col", K::Shape, p, 90, y, 32, 32);
        b.Add("Img_" + d + "Col", K::Image, p, 90, y, 32, 32);
        b.Add("lbl_" + d + "Col", K::Caption, p, 90, y, 32, 32);
        b.Add("Img_" + d, K::Image, p, 130, y, 16, 16);
        b.Add("lbl_" + d, K::Caption, p, 150, y, 44, 18, "DPI" + N(k));
        b.Add("lbl_" + d + "Value", K::Text, p, 200, y, 44, 16);
        for (int s = 1; s <= 12; ++s) {
            b.Add("Img_" + d + "_" + N(s), K::Image, p, 250 + 19 * (s - 1), y, 19, 11);
        }
    }
    b.Add("lbl_AIMDPI", K::Caption, p, 150, 360, 60, 18, "AIM DPI");
    b.Add("lbl_AIMDPIValue", K::Text, p, 200, 360, 44, 16);
    for (int s = 1; s <= 12; ++s) {
        b.Add("Img_AIMDPI_" + N(s), K::Image, p, 250 + 19 * (s - 1), 360, 19, 11);
    }
    for (int k = 1; k <= 3; ++k) {
        b.Add("Edt_Repeat" + N(k), K::Edit, p, 450, 400 + 30 * k, 44, 20);
        b.Add("Edt_DelayTime" + N(k), K::Edit, p, 520, 400 + 30 * k, 60, 20);
    }
}

void BreathingPage(Builder& b) {
    const std::string p = "gbPage3";
    b.Strip("Img_Fall", "lbl_Fall", p, 10, 200, 400, 24);
    b.Add("Img_Off", K::Image, p, 200, 200, 16, 16);
    b.Add("lbl_Off", K::Caption, p, 196, 198, 80, 20);
    for (int k = 1; k <= 5; ++k) {
        b.Add("Img_LED" + N(k), K::Image, p, 200, 200 + 24 * k, 16, 16);
        b.Add("lbl_LED" + N(k), K::Caption, p, 196, 198 + 24 * k, 80, 20);
    }
    for (int k = 1; k <= 7; ++k) {
        b.Add("cs_Col" + N(k), K::Shape, p, 300 + 40 * k, 300, 32, 32);
        b.Add("Img_Col" + N(k), K::Image, p, 300 + 40 * k, 300, 32, 32);
        b.Add("lbl_Col" + N(k), K::Caption, p, 300 + 40 * k, 300, 32, 32);
    }
    for (int k = 1; k <= 7; ++k) {
        for (const char* c : {"R", "G", "B"}) {
            b.Add("Edt_Col" + N(k) + c, K::Edit, p, 300 + 40 * k, 340, 30, 20, {}, false);
        }
    }
}

void MacroPage(Builder& b) {
    const std::string p = "gbPage4";
    const char* buttons[] = {"NewName", "NewMacro",  "DelMacro", "Clear", "Start",  "ExportOne",
                             "Export",  "ImportOne", "Import",   "Del",   "Insert", "SaveMacro"};
    int i = 0;
    for (const char* name : buttons) {
        b.Pair(name, p, 100 + 90 * (i % 6), 500 + 30 * (i / 6), 80, 25);
        ++i;
    }
    b.Add("Img_InsertBase", K::Image, p, 540, 150, 207, 162, {}, false);
    b.Add("LB_MacroName", K::List, p, 100, 150, 176, 186);
    b.Add("LB_macro", K::List, p, 270, 150, 164, 270);
    b.Add("mmo_macro", K::Memo, p, 2000, 2000, 100, 100, {}, false);
    b.Add("mmo_wrscript", K::Memo, p, 2000, 2000, 100, 100, {}, false);

    const std::string d = "Gb_Delay";
    b.Add(d, K::Group, p, 540, 150, 207, 92);
    const char* delayRows[][2] = {{"LED_RecDelay", "IB_RecDelay"},
                                  {"LED_DelayTime", "IB_DelayTime"},
                                  {"LED_NoDelay", "IB_NoDelay"}};
    for (int r = 0; r < 3; ++r) {
        b.Add(delayRows[r][0], K::Image, d, 10, 10 + 23 * r, 16, 16);
        b.Add(delayRows[r][1], K::Caption, d, 8, 10 + 23 * r, 120, 18);
    }
    b.Add("Edt_Delay", K::Edit, d, 130, 33, 44, 20);

    const std::string g = "Gb_Insert";
    b.Add(g, K::Group, p, 540, 150, 207, 162, {}, false);
    const char* insertRows[][2] = {{"LED_InsertRecDelay", "IB_InsertRecDelay"},
                                   {"LED_InsertDelayTime", "IB_InsertDelayTime"},
                                   {"LED_InsertNoDelay", "IB_InsertNoDelay"}};
    for (int r = 0; r < 3; ++r) {
        b.Add(insertRows[r][0], K::Image, g, 10, 40 + 23 * r, 16, 16);
        b.Add(insertRows[r][1], K::Caption, g, 8, 40 + 23 * r, 150, 18);
    }
    b.Add("lbl_Delay", K::Text, g, 62, 112, 72, 16);
    b.Add("lbl_s_A", K::Text, g, 180, 112, 24, 16);
    b.Pair("InsertStart", g, 10, 132, 80, 25);
    b.Pair("OK", g, 110, 132, 40, 25);
    b.Pair("Cancel", g, 155, 132, 40, 25);
    b.Add("CB_Insert", K::Combo, g, 10, 10, 191, 22);
    b.Add("Edt_InsertDelay", K::Edit, g, 136, 110, 44, 20);
    // Covers the insert panel while an insert recording runs.
    b.Add("GB_Dis", K::Cover, g, 0, 0, 207, 162, {}, false);
}

void UpdatePage(Builder& b) {
    const std::string p = "gbPage5";
    b.Add("lbl_BINPath", K::Text, p, 150, 250, 500, 20);
    b.Add("lbl_LoadBIN", K::Text, p, 150, 280, 500, 22);
    b.Pair("LoadBIN", p, 250, 330, 97, 30);
    b.Pair("Program", p, 450, 330, 97, 30);
}

std::vector<ControlDesign> Build() {
    Builder b;
    // The hidden state groups, placed outside the window.
    b.Add("GroupBox1", K::Group, "", 900, 700, 200, 200, {}, false);
    b.Add("gbPageCtl", K::Group, "GroupBox1", 0, 0, 100, 180);
    for (int k = 1; k <= 7; ++k) b.Add("rb_" + N(k), K::Radio, "gbPageCtl", 0, 20 * k, 90, 18);
    b.Add("gbLang", K::Group, "GroupBox1", 100, 0, 100, 80);
    for (int k = 1; k <= 3; ++k) b.Add("rb_Lang" + N(k), K::Radio, "gbLang", 0, 20 * k, 90, 18);
    // Hidden selections of the pages; each group is one choice.
    const std::pair<const char*, std::vector<std::string>> choices[] = {
        {"gbDPISel",
         {"rb_DPI1", "rb_DPI2", "rb_DPI3", "rb_DPI4", "rb_DPI5", "rb_DPI6", "rb_DPI7", "rb_DPI8"}},
        {"gbRepSel", {"rb_Rep1", "rb_Rep2", "rb_Rep3", "rb_Rep4"}},
        {"gbLEDSel", {"rb_Off", "rb_LED1", "rb_LED2", "rb_LED3", "rb_LED4", "rb_LED5", "rb_LED6"}},
        {"gbDelaySel", {"rb_RecDelay", "rb_DelayTime", "rb_NoDelay"}},
        {"gbInsertDelaySel", {"rb_InsertRecDelay", "rb_InsertDelayTime", "rb_InsertNoDelay"}},
    };
    int column = 0;
    for (const auto& [group, radios] : choices) {
        b.Add(group, K::Group, "GroupBox1", 20 * column++, 100, 20, 180);
        int row = 0;
        for (const std::string& radio : radios)
            b.Add(radio, K::Radio, group, 0, 20 * row++, 18, 18);
    }
    for (int k = 1; k <= 8; ++k) {
        for (const char* c : {"R", "G", "B"}) {
            b.Add("edt_DPI" + N(k) + "Col" + c, K::Edit, "GroupBox1", 0, 0, 30, 20, {}, false);
        }
    }
    for (int f = 1; f <= 3; ++f) {
        b.Add("cb_Fire" + N(f) + "Continue", K::Check, "GroupBox1", 120, 20 * f, 18, 18);
    }

    for (int n = 1; n <= 5; ++n) {
        const std::string g = "gbPage" + N(n);
        b.Add(g, K::Group, "", 0, 0, kWindowWidth, kWindowHeight, {}, n == 1);
        b.Add("Img_Base_" + N(n), K::Image, g, 0, 0, kWindowWidth, kWindowHeight);
        b.Add("Img_P" + N(n), K::Image, g, 0, 0, 0, 0);
        switch (n) {
            case 1:
                for (int k = 1; k <= 12; ++k) {
                    b.Add("Img_Key" + N(k), K::Image, g, 100, 100 + 32 * k, 97, 30);
                    b.Add("Key" + N(k), K::Caption, g, 100, 100 + 32 * k, 97, 30);
                }
                break;
            case 2:
                AdvancedPage(b);
                break;
            case 3:
                BreathingPage(b);
                break;
            case 4:
                MacroPage(b);
                break;
            case 5:
                UpdatePage(b);
                break;
        }
        int i = 0;
        for (std::string_view nav : kNavButtons) {
            b.Pair(std::string(nav) + "_" + N(n), g, 10, 100 + 40 * i, 127, 36);
            ++i;
        }
        if (n == 1) b.Add("Disable", K::Cover, g, 86, 104, 587, 378);
        b.Add("Disable_All_" + N(n), K::Cover, g, 0, 0, kWindowWidth, kWindowHeight, {}, false);
    }

    for (const MenuDesign& menu : Menus()) {
        const std::string panel(menu.panel);
        if (panel == "LB_Name") {
            b.Add(panel, K::List, "", 300, 200, 154, 100, {}, false);
            continue;
        }
        const int height = panel == "Pnl_Main" ? 170 : 24 * static_cast<int>(menu.items.size()) + 2;
        b.Add(panel, K::Panel, "", 300, 200, 190, height, {}, false);
        int row = 0;
        for (std::string_view item : menu.items) {
            b.Add(std::string(item), K::Caption, panel, 1, 1 + 24 * row, 188, 24);
            ++row;
        }
    }
    return b.controls;
}

}  // namespace

const std::vector<MenuDesign>& Menus() {
    static const std::vector<MenuDesign> menus = {
        {"Pnl_Main",
         {"Key_Standard", "Key_Special", "Key_Media", "Key_WWW", "Key_MyPC", "Key_Assembly",
          "Key_Macro"}},
        {"Pnl_MseKey", {"Key_Left", "Key_Right", "Key_Middle", "Key_B4", "Key_B5"}},
        {"Pnl_Special",
         {"Key_Fire", "Key_AIM", "Key_Profile", "Key_ReportRate", "Key_LEDMode", "Key_LEDSwitch",
          "Key_CPI", "Key_CPII", "Key_CPID", "Key_Default"}},
        {"Pnl_FireKey", {"Key_Fire1", "Key_Fire2", "Key_Fire3"}},
        {"Pnl_Media",
         {"Key_PlayPause", "Key_Stop", "Key_PreviousTrack", "Key_NextTrack", "Key_VolumePlus",
          "Key_VolumeMinus", "Key_Mute"}},
        {"Pnl_WWW",
         {"Key_WWWHome", "Key_WWWSearch", "Key_WWWBack", "Key_WWWForward", "Key_WWWStop",
          "Key_WWWRefresh", "Key_WWWFavorites"}},
        {"Pnl_MyPC", {"Key_Computer", "Key_Calculator", "Key_EMail", "Key_Desktop"}},
        {"LB_Name", {}},
    };
    return menus;
}

const std::vector<ControlDesign>& WindowDesign() {
    static const std::vector<ControlDesign> design = Build();
    return design;
}

}  // namespace kelv::app
