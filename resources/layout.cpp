#include "resources/layout.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <unordered_map>

#include "resources/bundle.h"

namespace kelv::res {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

// Builds the key tables once; the names live as long as the program, so LayoutKey can hold
// views of them.
class KeyTable {
  public:
    std::vector<LayoutKey> keys;

    void Int(LayoutSection s, std::string name, std::string target, std::string_view gate = {}) {
        Add(s, std::move(name), LayoutKind::Int, std::move(target), gate);
    }
    void Colour(LayoutSection s, std::string name, std::string target) {
        Add(s, std::move(name), LayoutKind::Colour, std::move(target), {});
    }
    void Text(LayoutSection s, std::string name, std::string target) {
        Add(s, std::move(name), LayoutKind::Text, std::move(target), {});
    }
    // <base>_X, <base>_Y.
    void Point(LayoutSection s, const std::string& base, const std::string& target,
               std::string_view gate = {}) {
        Int(s, base + "_X", target, gate);
        Int(s, base + "_Y", target, gate);
    }
    // An _Enable key followed by the position it gates.
    void ShownPair(LayoutSection s, const std::string& enable, const std::string& base,
                   const std::string& target) {
        Add(s, enable, LayoutKind::Bool, target, {});
        std::string_view gate = keys.back().key;
        Point(s, base, target, gate);
    }

  private:
    std::deque<std::string> storage_;

    std::string_view Keep(std::string s) { return storage_.emplace_back(std::move(s)); }
    void Add(LayoutSection s, std::string name, LayoutKind kind, std::string target,
             std::string_view gate) {
        keys.push_back({s, Keep(std::move(name)), kind, Keep(std::move(target)), gate});
    }
};

std::string N(int i) {
    return std::to_string(i);
}

const KeyTable& LanguageKeys() {
    static const KeyTable table = [] {
        KeyTable t;
        using S = LayoutSection;

        // A: Reset and Exit.
        t.Int(S::A, "Size_A", "Btn_Reset_n, Btn_Exit_n: font size");
        t.Colour(S::A, "Color_A", "Btn_Reset_n, Btn_Exit_n: font colour");
        t.ShownPair(S::A, "Btn_A3_Enable", "Btn_A3", "Img_Reset_n / Btn_Reset_n");
        t.ShownPair(S::A, "Btn_A4_Enable", "Btn_A4", "Img_Exit_n / Btn_Exit_n");

        // B: page, profile and language buttons, in their order of application.
        t.Int(S::B, "Size_B", "section B labels: font size");
        t.Colour(S::B, "Color_B", "section B labels: font colour");
        t.Int(S::B, "Btn_Space_F", "section B labels: front inset");
        t.Int(S::B, "Btn_Space_B", "section B labels: back inset");
        const std::pair<int, const char*> buttons[] = {
            {1, "Main"},   {2, "Switch"}, {3, "Fixed"},   {4, "Adv"},
            {5, "Breath"}, {11, "Macro"}, {12, "Update"}, {6, "Save"},
            {7, "Load"},   {8, "Lang1"},  {9, "Lang2"},   {10, "Lang3"}};
        for (const auto& [k, name] : buttons) {
            std::string b = "Btn_B" + N(k);
            t.ShownPair(S::B, b + "_Enable", b,
                        std::string("Img_") + name + "_n / Btn_" + name + "_n");
        }

        // C: key-assignment page.
        t.Int(S::C, "Size_C", "Key1..Key12: font size");
        t.Colour(S::C, "Color_C", "Key1..Key12: font colour");
        t.Point(S::C, "P1", "Img_P1");
        for (int k = 1; k <= 12; ++k) {
            t.ShownPair(S::C, "Key" + N(k) + "_Enable", "Key" + N(k),
                        "Img_Key" + N(k) + " / Key" + N(k));
        }
        t.Int(S::C, "Disable_X", "Disable: left");
        t.Int(S::C, "Disable_Y", "Disable: top");
        t.Int(S::C, "Disable_H", "Disable: height");
        t.Int(S::C, "Disable_W", "Disable: width");

        // D: Advanced page.
        t.Int(S::D, "Size_D", "strip numbers, DPI value labels; DPI level labels + 1");
        t.Colour(S::D, "Color_D_Selected", "kept: selected DPI level colour");
        t.Colour(S::D, "Color_D_notSelected",
                 "kept: unselected DPI level colour; strip numbers, DPI values, fire-key boxes");
        t.Colour(S::D, "Color_D_Back", "fire-key boxes: background and border");
        t.Point(S::D, "P2", "Img_P2");
        for (int k = 1; k <= 3; ++k) t.Point(S::D, "FK" + N(k) + "Cnt", "Edt_Repeat" + N(k));
        for (int k = 1; k <= 3; ++k) {
            t.Point(S::D, "FK" + N(k) + "Delay", "Edt_DelayTime" + N(k));
        }
        for (int k = 1; k <= 3; ++k) {
            t.Point(S::D, "FK" + N(k) + "Continue",
                    "Img_Fire" + N(k) + "Continue; lbl_Fire" + N(k) + "Continue at (X - 2, Y)");
        }
        for (int k = 1; k <= 4; ++k) {
            t.Point(S::D, "Rep" + N(k),
                    "Img_Rep" + N(k) + "; lbl_Rep" + N(k) + " at (X - 4, Y - 2)");
        }
        t.Point(S::D, "Spd", "ten-step strip Img_Spd1..10 / lbl_Spd1..10");
        t.Point(S::D, "DbSpd", "ten-step strip Img_DbSpd1..10 / lbl_DbSpd1..10");
        t.Point(S::D, "ScrSpd", "ten-step strip Img_ScrSpd1..10 / lbl_ScrSpd1..10");
        t.Int(S::D, "DPI_Orientation", "DPI strips: 0 column upward, 1 row, other unmoved");
        for (int k = 1; k <= 8; ++k) {
            std::string d = "DPI" + N(k);
            t.Point(S::D, d + "_Color",
                    "Img_DPI" + N(k) + "Col, cs_DPI" + N(k) + "Col, lbl_DPI" + N(k) + "Col");
            t.Point(S::D, d + "_Check", "Img_DPI" + N(k));
            t.Point(S::D, d, "lbl_DPI" + N(k));
            t.Point(S::D, d + "_Value", "lbl_DPI" + N(k) + "Value");
            t.Point(S::D, d + "_Steps", "twelve-step strip Img_DPI" + N(k) + "_1..12");
        }
        t.Point(S::D, "AIMDPI", "lbl_AIMDPI");
        t.Point(S::D, "AIMDPI_Value", "lbl_AIMDPIValue");
        t.Point(S::D, "AIMDPI_Steps", "twelve-step strip Img_AIMDPI_1..12");

        // E: Breathing Light page.
        t.Int(S::E, "Size_E", "lbl_Fall1..10: font size");
        t.Colour(S::E, "Color_E", "lbl_Fall1..10, Edt_Col1R..Edt_Col7B: font colour");
        t.Point(S::E, "P3", "Img_P3");
        t.Point(S::E, "StepTime", "ten-step strip Img_Fall1..10 / lbl_Fall1..10");
        t.Point(S::E, "LEDOff", "Img_Off; lbl_Off at (X - 4, Y - 2)");
        for (int k = 1; k <= 5; ++k) {
            t.Point(S::E, "LEDMode" + N(k),
                    "Img_LED" + N(k) + "; lbl_LED" + N(k) + " at (X - 4, Y - 2)");
        }
        for (int k = 1; k <= 7; ++k) {
            t.Point(S::E, "LEDColor" + N(k),
                    "Img_Col" + N(k) + ", cs_Col" + N(k) + ", lbl_Col" + N(k));
        }

        // F: Macro page.
        t.Int(S::F, "Size_F", "macro page controls: font size; CB_Insert - 1");
        t.Colour(S::F, "Color_F", "macro buttons and insert group: font colour; kept");
        t.Colour(S::F, "Color_F_Font",
                 "LB_MacroName, LB_macro, Edt_Delay, Edt_InsertDelay: font colour; kept");
        t.Colour(S::F, "Color_F_Back",
                 "LB_MacroName, LB_macro, Edt_Delay, Edt_InsertDelay: background; box borders");
        t.Point(S::F, "P4", "Img_P4");
        t.Point(S::F, "MacroName", "LB_MacroName");
        t.Int(S::F, "MacroNameHeight", "kept: LB_MacroName row height");
        const std::pair<const char*, const char*> pairs[] = {
            {"BtnStart", "Start"},         {"BtnDel", "Del"},
            {"BtnInsert", "Insert"},       {"BtnClear", "Clear"},
            {"BtnSaveMacro", "SaveMacro"}, {"BtnRename", "NewName"},
            {"BtnNewMacro", "NewMacro"},   {"BtnDelMacro", "DelMacro"},
            {"BtnExportOne", "ExportOne"}, {"BtnExport", "Export"},
            {"BtnImportOne", "ImportOne"}, {"BtnImport", "Import"}};
        for (const auto& [key, name] : pairs) {
            t.Point(S::F, key, std::string("Img_") + name + " / Btn_" + name);
        }
        t.Point(S::F, "MacroContent", "LB_macro");
        t.Point(S::F, "DelayTime", "Gb_Delay");
        t.Point(S::F, "RecDelay", "LED_RecDelay, LED_DelayTime, LED_NoDelay rows in Gb_Delay");
        t.Int(S::F, "RecDelay_H", "Gb_Delay option row spacing");
        t.Point(S::F, "DelayEdit", "Edt_Delay in Gb_Delay");
        t.Point(S::F, "Insert", "Gb_Insert, Img_InsertBase");
        t.Point(S::F, "InsertList", "CB_Insert in Gb_Insert");
        t.Point(S::F, "InsertRecDelay",
                "LED_InsertRecDelay, LED_InsertDelayTime, LED_InsertNoDelay rows in Gb_Insert");
        t.Int(S::F, "InsertRecDelay_H", "Gb_Insert option row spacing");
        t.Point(S::F, "InsertDelayEdit",
                "Edt_InsertDelay; lbl_Delay at (X - 74, Y + 2); lbl_s_A at (X + 44, Y + 2)");
        t.Point(S::F, "InsertBtnStart", "Img_InsertStart / Btn_InsertStart");
        t.Point(S::F, "InsertBtnOK", "Img_OK / Btn_OK");
        t.Point(S::F, "InsertBtnCancel", "Img_Cancel / Btn_Cancel");

        // I: Update page.
        t.Int(S::I, "Size_I", "Btn_LoadBIN, Btn_Program: font size; lbl_LoadBIN + 2");
        t.Colour(S::I, "Color_I", "lbl_LoadBIN, Btn_LoadBIN, Btn_Program: font colour");
        t.Point(S::I, "P5", "Img_P5");
        t.Point(S::I, "lbl_BINPath", "lbl_BINPath");
        t.Point(S::I, "lbl_LoadBin", "lbl_LoadBIN");
        t.Point(S::I, "Btn_LoadBin", "Img_LoadBIN / Btn_LoadBIN");
        t.Point(S::I, "Btn_Program", "Img_Program / Btn_Program");
        return t;
    }();
    return table;
}

const KeyTable& WebKeys() {
    static const KeyTable table = [] {
        KeyTable t;
        t.Text(LayoutSection::Web, "Web", "web page address of Btn_Web_n");
        t.Point(LayoutSection::Web, "Web", "Img_Web_n / Btn_Web_n");
        t.Int(LayoutSection::Web, "Rev_Manu_ID", "reserved");
        t.Int(LayoutSection::Web, "Rev_Pro_ID", "reserved");
        return t;
    }();
    return table;
}

}  // namespace

IniText IniText::Parse(std::string_view text) {
    IniText ini;
    std::map<std::string, std::string>* current = nullptr;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';' || line.starts_with("//")) continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &ini.sections_[Lower(Trim(line.substr(1, line.size() - 2)))];
            continue;
        }
        auto eq = line.find('=');
        if (current == nullptr || eq == std::string_view::npos) continue;
        (*current)[Lower(Trim(line.substr(0, eq)))] = std::string(Trim(line.substr(eq + 1)));
    }
    return ini;
}

std::optional<std::string> IniText::Find(std::string_view section, std::string_view key) const {
    auto s = sections_.find(Lower(section));
    if (s == sections_.end()) return std::nullopt;
    auto e = s->second.find(Lower(key));
    if (e == s->second.end()) return std::nullopt;
    return e->second;
}

std::string IniText::Read(std::string_view section, std::string_view key) const {
    return Find(section, key).value_or(std::string());
}

bool IniText::HasSection(std::string_view section) const {
    return sections_.count(Lower(section)) != 0;
}

std::string InvalidIntegerText(std::string_view value) {
    return "'" + std::string(value) + "' is not a valid integer value";
}

int ParseLayoutInteger(std::string_view value) {
    std::string_view digits = value;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) throw LayoutError(InvalidIntegerText(value));
    long long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') throw LayoutError(InvalidIntegerText(value));
        n = n * 10 + (c - '0');
        if (n > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
            throw LayoutError(InvalidIntegerText(value));
        }
    }
    if (negative) n = -n;
    if (n > std::numeric_limits<int>::max()) throw LayoutError(InvalidIntegerText(value));
    return static_cast<int>(n);
}

std::span<const LayoutKey> LanguageLayoutKeys() {
    return LanguageKeys().keys;
}
std::span<const LayoutKey> WebLinkKeys() {
    return WebKeys().keys;
}

const LayoutValue* LayoutRead::Find(std::string_view key) const {
    const std::string lower = Lower(key);
    for (const LayoutValue& v : values) {
        if (Lower(v.key->key) == lower) return &v;
    }
    return nullptr;
}

LayoutRead ReadLayout(const IniText& ini, std::string_view section,
                      std::span<const LayoutKey> keys) {
    LayoutRead read;
    std::unordered_map<std::string, bool> shown;  // lower-case _Enable key -> shown
    auto integer = [&](const std::string& name, int& out) {
        std::string text = ini.Read(section, name);
        try {
            out = ParseLayoutInteger(text);
            return true;
        } catch (const LayoutError& e) {
            read.error = e.what();
            read.failedKey = name;
            return false;
        }
    };
    for (const LayoutKey& key : keys) {
        if (!key.gate.empty()) {
            auto g = shown.find(Lower(key.gate));
            if (g != shown.end() && !g->second) continue;
        }
        LayoutValue value;
        value.key = &key;
        const std::string name(key.key);
        switch (key.kind) {
            case LayoutKind::Text:
                value.text = ini.Read(section, name);
                break;
            case LayoutKind::Int:
            case LayoutKind::Bool:
                if (!integer(name, value.number)) return read;
                value.text = ini.Read(section, name);
                if (key.kind == LayoutKind::Bool) shown[Lower(name)] = value.Shown();
                break;
            case LayoutKind::Colour: {
                int r = 0, g = 0, b = 0;
                if (!integer(name + "_R", r) || !integer(name + "_G", g) ||
                    !integer(name + "_B", b)) {
                    return read;
                }
                // No range test: a channel above 255 spills into the next one.
                value.number =
                    static_cast<int>(static_cast<unsigned>(r) + 256u * static_cast<unsigned>(g) +
                                     65536u * static_cast<unsigned>(b));
                value.text = ini.Read(section, name + "_B");
                break;
            }
        }
        read.values.push_back(std::move(value));
    }
    return read;
}

std::string LayoutResourceName(int language) {
    if (language < 1 || language > 3) {
        throw std::out_of_range("layout " + std::to_string(language) + " does not exist");
    }
    return "org" + std::to_string(language);
}

IniText ParseLayoutText(std::span<const std::uint8_t> data) {
    std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return IniText::Parse(text);
}

LayoutRead ReadLayoutResource(std::string_view name, std::span<const LayoutKey> keys) {
    auto data = Find(name);
    if (!data) {
        LayoutRead read;
        read.error = NotFoundText(name);
        return read;
    }
    return ReadLayout(ParseLayoutText(*data), name, keys);
}

LayoutRead ReadLanguageLayout(int language) {
    return ReadLayoutResource(LayoutResourceName(language), LanguageLayoutKeys());
}

WebLink WebLinkFrom(const LayoutRead& read) {
    WebLink link;
    for (const LayoutValue& v : read.values) {
        std::string key = Lower(v.key->key);
        if (key == "web")
            link.url = v.text;
        else if (key == "web_x")
            link.x = v.number;
        else if (key == "web_y")
            link.y = v.number;
        else if (key == "rev_manu_id")
            link.manufacturerId = v.number;
        else if (key == "rev_pro_id")
            link.productId = v.number;
    }
    return link;
}

WebLink LoadWebLink(LayoutRead* read) {
    LayoutRead local = ReadLayoutResource("org", WebLinkKeys());
    WebLink link = WebLinkFrom(local);
    if (read != nullptr) *read = std::move(local);
    return link;
}

LayoutRect PairLabelRect(int x, int y, int width, int height, int frontInset, int backInset) {
    return {x + frontInset, y, std::max(0, width - frontInset - backInset), height};
}

LayoutPoint TenStepPicture(int x, int y, int width, int k) {
    return {x + (k - 1) * width, y};
}

LayoutPoint TenStepLabel(int x, int y, int width, int k) {
    return {x + (k - 1) * width - 4, y + 8};
}

std::optional<LayoutPoint> DpiStepPicture(int orientation, int x, int y, int width, int height,
                                          int k) {
    if (orientation == 1) return LayoutPoint{x + (k - 1) * width, y};
    if (orientation == 0) return LayoutPoint{x, y - (k - 1) * height};
    return std::nullopt;
}

LayoutPoint ChoiceLabel(int x, int y) {
    return {x - 4, y - 2};
}
LayoutPoint InsertDelayLabel(int x, int y) {
    return {x - 74, y + 2};
}
LayoutPoint InsertDelayUnitLabel(int x, int y) {
    return {x + 44, y + 2};
}

LayoutRgb SplitLayoutColour(int colour) {
    auto c = static_cast<std::uint32_t>(colour);
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
            static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

}  // namespace kelv::res
