// The skin pictures, the layout keys and the texts of a language, applied to the controls.
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <map>

#include "app/main_window.h"
#include "app/window_util.h"
#include "keys/catalogue.h"
#include "resources/bundle.h"

namespace kelv::app {

namespace {

// Layout colours are red + 256 green + 65536 blue; higher bits are dropped.
QColor LayoutColour(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// "dpi3_steps" against prefix "dpi", suffix "_steps": k = 3.
bool Numbered(const std::string& s, std::string_view prefix, std::string_view suffix, int& k) {
    if (!s.starts_with(prefix) || !s.ends_with(suffix) ||
        s.size() <= prefix.size() + suffix.size()) {
        return false;
    }
    const std::string digits = s.substr(prefix.size(), s.size() - prefix.size() - suffix.size());
    if (digits.empty() || digits.size() > 2) return false;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
    }
    k = std::stoi(digits);
    return true;
}

// Section B: button k of the layout -> its navigation name.
const char* SectionBButton(int k) {
    static const char* const names[] = {"",       "Main",  "Switch", "Fixed", "Adv",
                                        "Breath", "Save",  "Load",   "Lang1", "Lang2",
                                        "Lang3",  "Macro", "Update"};
    return k >= 1 && k <= 12 ? names[k] : nullptr;
}

const char* const kSectionBNames[] = {"Main",   "Switch", "Fixed", "Adv",   "Breath", "Macro",
                                      "Update", "Save",   "Load",  "Lang1", "Lang2",  "Lang3"};

// Macro page pairs: layout key base -> control base.
const std::pair<const char*, const char*> kMacroPairs[] = {{"btnstart", "Start"},
                                                           {"btndel", "Del"},
                                                           {"btninsert", "Insert"},
                                                           {"btnclear", "Clear"},
                                                           {"btnsavemacro", "SaveMacro"},
                                                           {"btnrename", "NewName"},
                                                           {"btnnewmacro", "NewMacro"},
                                                           {"btndelmacro", "DelMacro"},
                                                           {"btnexportone", "ExportOne"},
                                                           {"btnexport", "Export"},
                                                           {"btnimportone", "ImportOne"},
                                                           {"btnimport", "Import"},
                                                           {"insertbtnstart", "InsertStart"},
                                                           {"insertbtnok", "OK"},
                                                           {"insertbtncancel", "Cancel"}};

// Captions of the menu categories; the function items take theirs from the key catalogue.
const std::pair<const char*, const char*> kMenuCaptions[] = {
    {"Key_Standard", "Str201"}, {"Key_Special", "Str202"},  {"Key_Media", "Str203"},
    {"Key_WWW", "Str204"},      {"Key_Assembly", "Str205"}, {"Key_Macro", "Str206"},
    {"Key_MyPC", "Str207"},     {"Key_Fire", "Str230"}};

const std::pair<const char*, const char*> kMacroCaptions[] = {
    {"Btn_Start", "Str400"},     {"Btn_NewName", "Str402"},  {"Btn_Clear", "Str403"},
    {"Btn_ExportOne", "Str404"}, {"Btn_Export", "Str405"},   {"Btn_ImportOne", "Str406"},
    {"Btn_Import", "Str407"},    {"Btn_Del", "Str408"},      {"Btn_Insert", "Str409"},
    {"Btn_SaveMacro", "Str431"}, {"Btn_NewMacro", "Str432"}, {"Btn_DelMacro", "Str433"}};

}  // namespace

// ---- pictures and texts --------------------------------------------------------------------

void TForm1::SetPicture(const QString& control, std::string_view resource) {
    auto* label = dynamic_cast<SkinLabel*>(controls_.value(control));
    if (!label) return;
    const QString name = Q(resource);
    if (pictureOf_.value(control) == name) return;
    // On Wayland a mask does not shape what is drawn: the key colour itself must be clear.
    const bool keyed = wayland_ && control.startsWith(QLatin1String("Img_Base_"));
    if (keyed) {
        label->SetPicture(pictures_.Keyed(resource, kKeyColour));
    } else {
        const res::PictureSize size = res::LoadPictureSize(resource);
        label->SetPicture(QSize(size.width, size.height),
                          [this, name = std::string(resource)] { return pictures_.Get(name); });
    }
    pictureOf_.insert(control, name);
}

void TForm1::SetPictures(const QString& base, std::string_view resource) {
    for (int n = 1; n <= kPageCopies; ++n) SetPicture(base + C(n), resource);
}

void TForm1::SetCaption(const QString& control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(controls_.value(control))) label->setText(text);
}

QString TForm1::Tr(std::string_view key) const {
    return Q(texts_.Text(key));
}

void TForm1::ApplyBackgrounds() {
    const int lang = state_.currentLanguage;
    for (int n = 1; n <= 5; ++n) SetPicture("Img_Base_" + C(n), WindowBackground(lang));
    UpdateWindowMask();
    const Page page = state_.currentPage;
    if (page != Page::Update)
        SetPicture("Img_P" + C(PageGroupOf(page)), PageBackground(page, lang));
}

void TForm1::ApplyLanguageLayout() {
    layoutError_.clear();
    ApplyBackgrounds();
    const res::LayoutRead read = res::ReadLanguageLayout(state_.currentLanguage);
    if (!ApplyLayout(read)) throw res::LayoutError(read.error);
    texts_ = res::LoadLanguageTable(state_.currentLanguage);
    link_->SetStringTable(texts_);
    ApplyTexts();
}

bool TForm1::ApplyLayout(const res::LayoutRead& read) {
    layoutError_.clear();
    ApplyLayoutValues(read);
    layoutError_ = Q(read.error);
    return read.Ok();
}

void TForm1::Move(const QString& control, int x, int y) {
    if (QWidget* w = controls_.value(control)) w->move(x, keepTop_ ? w->y() : y);
}

void TForm1::SetVisible(const QString& control, bool visible) {
    if (QWidget* w = controls_.value(control)) w->setVisible(visible);
}

void TForm1::PlacePair(const QString& img, const QString& btn, int x, int y) {
    QWidget* image = controls_.value(img);
    QWidget* label = controls_.value(btn);
    if (!image || !label) return;
    Move(img, x, y);
    label->setGeometry(image->geometry());
}

void TForm1::PlaceTenStrip(const QString& img, const QString& lbl, int x, int y) {
    QWidget* first = controls_.value(img + "1");
    const int w = first ? first->width() : 0;
    for (int k = 1; k <= 10; ++k) {
        Move(img + C(k), x + (k - 1) * w, y);
        Move(lbl + C(k), x + (k - 1) * w - 4, y + 8);
    }
}

void TForm1::PlaceDpiStrip(const QString& img, int x, int y) {
    QWidget* first = controls_.value(img + "1");
    const int w = first ? first->width() : 0;
    const int h = first ? first->height() : 0;
    for (int k = 1; k <= 12; ++k) {
        if (dpiOrientation_ == 1) {
            Move(img + C(k), x + (k - 1) * w, y);
        } else if (dpiOrientation_ == 0) {
            Move(img + C(k), x, y - (k - 1) * h);
        }
    }
}

void TForm1::SetFont(const QStringList& controls, int points) {
    if (points <= 0) return;  // Qt refuses such sizes; the control keeps its font
    for (const QString& name : controls) {
        if (QWidget* w = controls_.value(name)) {
            QFont f = w->font();
            f.setPointSize(points);
            w->setFont(f);
        }
    }
}

void TForm1::SetTextColour(const QStringList& controls, QColor colour) {
    for (const QString& name : controls) {
        if (QWidget* w = controls_.value(name)) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::WindowText, colour);
            pal.setColor(QPalette::Text, colour);
            w->setPalette(pal);
        }
    }
}

namespace {

QStringList Copies(const QString& base) {
    QStringList out;
    for (int n = 1; n <= kPageCopies; ++n) out << base + C(n);
    return out;
}

QStringList Numbered(const QString& base, int count, const QString& suffix = {}) {
    QStringList out;
    for (int k = 1; k <= count; ++k) out << base + C(k) + suffix;
    return out;
}

}  // namespace

void TForm1::PlacePoint(const std::string& base, int px, int py) {
    int k = 0;
    if (base == "btn_a3" || base == "btn_a4") {
        const QString b = base == "btn_a3" ? "Reset" : "Exit";
        for (int c = 1; c <= 5; ++c) {
            PlacePair(QString("Img_%1_%2").arg(b).arg(c), QString("Btn_%1_%2").arg(b).arg(c), px,
                      py);
        }
    } else if (Numbered(base, "btn_b", "", k) && SectionBButton(k)) {
        for (int c = 1; c <= 5; ++c) {
            const QString suffix = QString("%1_%2").arg(SectionBButton(k)).arg(c);
            QWidget* image = controls_.value("Img_" + suffix);
            QWidget* label = controls_.value("Btn_" + suffix);
            Move("Img_" + suffix, px, py);
            label->setGeometry(px + spaceF_, image->y(),
                               std::max(0, image->width() - spaceF_ - spaceB_), image->height());
        }
    } else if (base == "disable") {
        Move("Disable", px, py);
    } else if (base.size() == 2 && base[0] == 'p' && base[1] >= '1' && base[1] <= '5') {
        Move(QString("Img_P%1").arg(base[1]), px, py);
    } else if (Numbered(base, "key", "", k)) {
        PlacePair("Img_Key" + C(k), "Key" + C(k), px, py);
    } else if (Numbered(base, "fk", "cnt", k)) {
        Move("Edt_Repeat" + C(k), px, py);
    } else if (Numbered(base, "fk", "delay", k)) {
        Move("Edt_DelayTime" + C(k), px, py);
    } else if (Numbered(base, "fk", "continue", k)) {
        Move(QString("Img_Fire%1Continue").arg(k), px, py);
        Move(QString("lbl_Fire%1Continue").arg(k), px - 2, py);
    } else if (Numbered(base, "rep", "", k)) {
        Move("Img_Rep" + C(k), px, py);
        Move("lbl_Rep" + C(k), px - 4, py - 2);
    } else if (base == "spd" || base == "dbspd" || base == "scrspd") {
        const QString b = base == "spd" ? "Spd" : base == "dbspd" ? "DbSpd" : "ScrSpd";
        PlaceTenStrip("Img_" + b, "lbl_" + b, px, py);
    } else if (base == "steptime") {
        PlaceTenStrip("Img_Fall", "lbl_Fall", px, py);
    } else if (Numbered(base, "dpi", "_color", k) || base == "ledcolor1" ||
               Numbered(base, "ledcolor", "", k)) {
        const bool dpi = base.starts_with("dpi");
        if (!dpi) Numbered(base, "ledcolor", "", k);
        const QString img = dpi ? QString("Img_DPI%1Col").arg(k) : "Img_Col" + C(k);
        const QString shape = dpi ? QString("cs_DPI%1Col").arg(k) : "cs_Col" + C(k);
        const QString lbl = dpi ? QString("lbl_DPI%1Col").arg(k) : "lbl_Col" + C(k);
        Move(img, px, py);
        const QSize size = controls_.value(img)->size();
        for (const QString& follower : {shape, lbl}) {
            Move(follower, px, py);
            controls_.value(follower)->resize(size);
        }
    } else if (Numbered(base, "dpi", "_check", k)) {
        Move("Img_DPI" + C(k), px, py);
    } else if (Numbered(base, "dpi", "_value", k)) {
        Move(QString("lbl_DPI%1Value").arg(k), px, py);
    } else if (Numbered(base, "dpi", "_steps", k)) {
        PlaceDpiStrip(QString("Img_DPI%1_").arg(k), px, py);
    } else if (Numbered(base, "dpi", "", k)) {
        Move("lbl_DPI" + C(k), px, py);
    } else if (base == "aimdpi") {
        Move("lbl_AIMDPI", px, py);
    } else if (base == "aimdpi_value") {
        Move("lbl_AIMDPIValue", px, py);
    } else if (base == "aimdpi_steps") {
        PlaceDpiStrip("Img_AIMDPI_", px, py);
    } else if (base == "ledoff") {
        Move("Img_Off", px, py);
        Move("lbl_Off", px - 4, py - 2);
    } else if (Numbered(base, "ledmode", "", k)) {
        Move("Img_LED" + C(k), px, py);
        Move("lbl_LED" + C(k), px - 4, py - 2);
    } else if (base == "macroname") {
        Move("LB_MacroName", px, py);
    } else if (base == "macrocontent") {
        Move("LB_macro", px, py);
    } else if (base == "delaytime") {
        Move("Gb_Delay", px, py);
    } else if (base == "recdelay" || base == "insertrecdelay") {
        rows_[base] = {px, py};
    } else if (base == "delayedit") {
        Move("Edt_Delay", px, py);
    } else if (base == "insert") {
        Move("Gb_Insert", px, py);
        Move("Img_InsertBase", px, py);
    } else if (base == "insertlist") {
        Move("CB_Insert", px, py);
    } else if (base == "insertdelayedit") {
        Move("Edt_InsertDelay", px, py);
        Move("lbl_Delay", px - 74, py + 2);
        Move("lbl_s_A", px + 44, py + 2);
    } else if (base == "lbl_binpath") {
        Move("lbl_BINPath", px, py);
    } else if (base == "lbl_loadbin") {
        Move("lbl_LoadBIN", px, py);
    } else if (base == "btn_loadbin") {
        PlacePair("Img_LoadBIN", "Btn_LoadBIN", px, py);
    } else if (base == "btn_program") {
        PlacePair("Img_Program", "Btn_Program", px, py);
    } else {
        for (const auto& [pairKey, name] : kMacroPairs) {
            if (base == pairKey)
                PlacePair(QString("Img_%1").arg(name), QString("Btn_%1").arg(name), px, py);
        }
    }
}

void TForm1::ApplyLayoutValues(const res::LayoutRead& read) {
    std::map<std::string, int> x;  // pending _X values by base
    rows_.clear();
    QStringList sectionA = Copies("Btn_Reset_") + Copies("Btn_Exit_");
    QStringList sectionB;
    for (const char* b : kSectionBNames) sectionB << Copies(QString("Btn_%1_").arg(b));
    const QStringList keyCaptions = Numbered("Key", 12);
    const QStringList stripLabels =
        Numbered("lbl_Spd", 10) + Numbered("lbl_DbSpd", 10) + Numbered("lbl_ScrSpd", 10);
    const QStringList dpiValues = Numbered("lbl_DPI", 8, "Value");
    const QStringList fireBoxes = Numbered("Edt_Repeat", 3) + Numbered("Edt_DelayTime", 3);
    QStringList colourBoxes;
    for (int k = 1; k <= 7; ++k)
        colourBoxes << "Edt_Col" + C(k) + "R"
                    << "Edt_Col" + C(k) + "G"
                    << "Edt_Col" + C(k) + "B";
    QStringList macroButtons;
    for (const auto& [key, name] : kMacroPairs) {
        if (std::string_view(key).starts_with("insert")) continue;
        macroButtons << QString("Btn_%1").arg(name);
    }
    const QStringList macroBoxes = {"LB_MacroName", "LB_macro", "Edt_Delay", "Edt_InsertDelay"};

    for (const res::LayoutValue& v : read.values) {
        const std::string key = Lower(v.key->key);
        const int n = v.number;
        int k = 0;
        // Positions: the _X waits for its _Y.
        // Positions: the left edges follow the _X at once (so a bad _Y leaves them applied), the
        // whole placement follows the _Y.
        if (key.ends_with("_x")) {
            x[key.substr(0, key.size() - 2)] = n;
            keepTop_ = true;
            PlacePoint(key.substr(0, key.size() - 2), n, 0);
            keepTop_ = false;
            continue;
        }
        if (key.ends_with("_y") && x.count(key.substr(0, key.size() - 2))) {
            const std::string base = key.substr(0, key.size() - 2);
            PlacePoint(base, x[base], n);
            continue;
        }
        // Shown / hidden pairs.
        if (key == "btn_a3_enable" || key == "btn_a4_enable") {
            const QString b = key == "btn_a3_enable" ? "Reset" : "Exit";
            for (int c = 1; c <= 5; ++c) {
                SetVisible(QString("Img_%1_%2").arg(b).arg(c), v.Shown());
                SetVisible(QString("Btn_%1_%2").arg(b).arg(c), v.Shown());
            }
        } else if (Numbered(key, "btn_b", "_enable", k) && SectionBButton(k)) {
            for (int c = 1; c <= 5; ++c) {
                SetVisible(QString("Img_%1_%2").arg(SectionBButton(k)).arg(c), v.Shown());
                SetVisible(QString("Btn_%1_%2").arg(SectionBButton(k)).arg(c), v.Shown());
            }
        } else if (Numbered(key, "key", "_enable", k)) {
            SetVisible("Img_Key" + C(k), v.Shown());
            SetVisible("Key" + C(k), v.Shown());
        } else if (key == "size_a") {
            SetFont(sectionA, n);
        } else if (key == "color_a") {
            SetTextColour(sectionA, LayoutColour(n));
        } else if (key == "size_b") {
            SetFont(sectionB, n);
        } else if (key == "color_b") {
            SetTextColour(sectionB, LayoutColour(n));
        } else if (key == "btn_space_f") {
            spaceF_ = n;
        } else if (key == "btn_space_b") {
            spaceB_ = n;
        } else if (key == "size_c") {
            SetFont(keyCaptions, n);
        } else if (key == "color_c") {
            SetTextColour(keyCaptions, LayoutColour(n));
        } else if (key == "disable_x") {
            Move("Disable", n, controls_.value("Disable")->y());
        } else if (key == "disable_y") {
            Move("Disable", controls_.value("Disable")->x(), n);
        } else if (key == "disable_h") {
            controls_.value("Disable")->resize(controls_.value("Disable")->width(), n);
        } else if (key == "disable_w") {
            controls_.value("Disable")->resize(n, controls_.value("Disable")->height());
        } else if (key == "size_d") {
            SetFont(stripLabels + dpiValues, n);
            SetFont(Numbered("lbl_DPI", 8), n + 1);
        } else if (key == "color_d_selected") {
            dpiSelected_ = LayoutColour(n);
        } else if (key == "color_d_notselected") {
            dpiUnselected_ = LayoutColour(n);
            SetTextColour(stripLabels + dpiValues + fireBoxes, dpiUnselected_);
        } else if (key == "color_d_back") {
            const QColor c = LayoutColour(n);
            for (const QString& box : fireBoxes) {
                QPalette pal = controls_.value(box)->palette();
                pal.setColor(QPalette::Base, c);
                controls_.value(box)->setPalette(pal);
                controls_.value(box)->setStyleSheet(
                    QString("QLineEdit{border:1px solid %1;background:%1;color:%2}")
                        .arg(c.name(), dpiUnselected_.name()));
            }
        } else if (key == "dpi_orientation") {
            dpiOrientation_ = n;
        } else if (key == "size_e") {
            SetFont(Numbered("lbl_Fall", 10), n);
        } else if (key == "color_e") {
            SetTextColour(Numbered("lbl_Fall", 10) + colourBoxes, LayoutColour(n));
        } else if (key == "size_f") {
            SetFont(macroButtons + QStringList{"LB_MacroName", "Edt_Delay", "IB_InsertRecDelay",
                                               "IB_InsertDelayTime", "IB_InsertNoDelay",
                                               "lbl_Delay", "lbl_s_A", "Edt_InsertDelay",
                                               "Btn_InsertStart", "Btn_OK", "Btn_Cancel"},
                    n);
            SetFont({"CB_Insert"}, n - 1);
        } else if (key == "color_f") {
            macroText_ = LayoutColour(n);
            SetTextColour(
                macroButtons + QStringList{"CB_Insert", "IB_InsertRecDelay", "IB_InsertDelayTime",
                                           "IB_InsertNoDelay", "lbl_Delay", "lbl_s_A",
                                           "Btn_InsertStart", "Btn_OK", "Btn_Cancel"},
                macroText_);
        } else if (key == "color_f_font") {
            macroListText_ = LayoutColour(n);
            SetTextColour(macroBoxes, macroListText_);
        } else if (key == "color_f_back") {
            const QColor c = LayoutColour(n);
            for (const QString& box : macroBoxes) {
                QWidget* w = controls_.value(box);
                QPalette pal = w->palette();
                pal.setColor(QPalette::Base, c);
                w->setPalette(pal);
                if (box.startsWith("Edt_")) {
                    w->setStyleSheet(
                        QString("QLineEdit{border:1px solid %1;background:%1;color:%2}")
                            .arg(c.name(), macroListText_.name()));
                }
            }
        } else if (key == "macronameheight") {
            macroNameHeight_ = n;
        } else if (key == "recdelay_h" || key == "insertrecdelay_h") {
            const std::string base = key.substr(0, key.size() - 2);
            if (!rows_.count(base)) continue;
            const auto [rx, ry] = rows_[base];
            const bool insert = base == "insertrecdelay";
            const char* leds[] = {"RecDelay", "DelayTime", "NoDelay"};
            for (int r = 0; r < 3; ++r) {
                const QString s = QString(insert ? "Insert%1" : "%1").arg(leds[r]);
                Move("LED_" + s, rx, ry + r * n);
                Move("IB_" + s, rx - 2, ry + r * n);
            }
        } else if (key == "size_i") {
            SetFont({"Btn_LoadBIN", "Btn_Program"}, n);
            SetFont({"lbl_LoadBIN"}, n + 2);
        } else if (key == "color_i") {
            SetTextColour({"lbl_LoadBIN", "Btn_LoadBIN", "Btn_Program"}, LayoutColour(n));
        }
    }
}

void TForm1::ApplyTexts() {
    // 1: the title is kept for the language switch; 3 and 6: messages are looked up when shown.
    const struct {
        const char* base;
        const char* key;
    } nav[] = {{"Reset", "Str002"},  {"Exit", "Str003"}, {"Main", "Str004"},   {"Switch", "Str005"},
               {"Fixed", "Str006"},  {"Adv", "Str007"},  {"Breath", "Str008"}, {"Macro", "Str014"},
               {"Update", "Str015"}, {"Save", "Str009"}, {"Load", "Str010"},   {"Lang1", "Str011"},
               {"Lang2", "Str012"},  {"Lang3", "Str013"}};
    for (const auto& b : nav) {
        for (int c = 1; c <= 5; ++c) SetCaption(QString("Btn_%1_%2").arg(b.base).arg(c), Tr(b.key));
    }
    TranslateKeyCaptions();
    const QString marker = " " + Tr("Str200") + " ";
    for (const auto& [item, key] : kMenuCaptions) SetCaption(item, marker + Tr(key));
    for (const keys::CatalogueEntry& e : keys::Catalogue()) {
        SetCaption(Q(e.item), marker + Tr(e.nameKey));
    }
    for (const auto& [control, key] : kMacroCaptions) SetCaption(control, Tr(key));
    auto* combo = qobject_cast<QComboBox*>(controls_.value("CB_Insert"));
    for (int i = 0; i < 4; ++i) combo->setItemText(i, Tr("Str41" + std::to_string(i)));
    const QString seven(7, ' ');
    SetCaption("IB_InsertRecDelay", seven + Tr("Str414"));
    SetCaption("IB_InsertDelayTime", seven + Tr("Str415"));
    SetCaption("IB_InsertNoDelay", seven + Tr("Str416"));
    SetCaption("lbl_Delay", Tr("Str417"));
    SetCaption("lbl_s_A", Tr("Str418"));
    SetCaption("Btn_InsertStart", Tr("Str400"));
    SetCaption("Btn_OK", Tr("Str420"));
    SetCaption("Btn_Cancel", Tr("Str422"));
    SetCaption("lbl_BINPath", Tr("Str442"));
    SetCaption("Btn_LoadBIN", Tr("Str440"));
    SetCaption("Btn_Program", Tr("Str441"));
}

void TForm1::TranslateKeyCaptions() {
    for (int k = 1; k <= 12; ++k) {
        auto* label = qobject_cast<QLabel*>(controls_.value("Key" + C(k)));
        const std::string key = res::FindStringKey(label->text().toStdString());
        if (!key.empty()) label->setText(Tr(key));
    }
}

void TForm1::LanguageSwitch(int language) {
    for (int l = 1; l <= kLanguageCount; ++l) {
        SetPictures(QString("Img_Lang%1_").arg(l), l == language ? "SetS_02" : "SetS_01");
    }
    state_.currentLanguage = language;
    qobject_cast<QRadioButton*>(controls_.value("rb_Lang" + C(language)))->setChecked(true);
    auto* combo = qobject_cast<QComboBox*>(controls_.value("CB_Insert"));
    const int selected = combo->currentIndex();
    SetVisible("Gb_Delay", false);
    try {
        ApplyLanguageLayout();
    } catch (const std::exception& e) {
        Fault(e);
        return;
    }
    combo->setCurrentIndex(selected);
    if (!Tr("Title").isEmpty()) appTitle_ = Tr("Title");
    RefreshAPPage();
    const QString caption =
        qobject_cast<QLabel*>(controls_.value(QString("Btn_Lang%1_1").arg(language)))->text();
    marquee_.Start(caption.toStdString());
}

}  // namespace kelv::app
