#include "app/main_window.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <cstdio>

#include "app/busy_form.h"
#include "app/design.h"
#include "keys/catalogue.h"
#include "keys/naming.h"
#include "resources/bundle.h"

namespace kelv::app {

namespace {

constexpr QRgb kKeyColour = qRgb(128, 0, 0);
const char* const kWindowTitle = "KELV731x Gaming Mouse v1.0";

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString C(int n) {
    return QString::number(n);
}

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

// Names the macros that key codes point at, from the macro store.
class StoreDirectory : public keys::MacroDirectory {
  public:
    explicit StoreDirectory(const macros::MacroStore& store) : store_(store) {}
    std::string MacroNameAt(std::uint16_t address) const override {
        const auto slot = store_.SlotOfAddress(address);
        return slot ? store_.Name(*slot) : std::string();
    }

  private:
    const macros::MacroStore& store_;
};

// With KELV_TRACE set, milestones go to stdout with a wall-clock time in milliseconds, for the
// smoke test and the benchmark scripts.
void Trace(const char* what) {
    static const bool on = qEnvironmentVariableIsSet("KELV_TRACE");
    if (!on) return;
    std::printf("%s %lld\n", what, static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stdout);
}

bool Wayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

TForm1::TForm1(const WindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), services_(services), wayland_(Wayland()) {
    setObjectName("TForm1");
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    texts_ = res::LoadLanguageTable(1);
    link_ = std::make_unique<device::DeviceLink>(*services_.port, *services_.clock, *this, texts_);
    link_->SetListener(this);
    devTimer_.setInterval(device::kDevTimerIntervalMs);
    connect(&devTimer_, &QTimer::timeout, this, [this] { DevTimerTimer(); });
    labelRun_.setInterval(200);
    connect(&labelRun_, &QTimer::timeout, this, [this] { LabelRunTimer(); });
    BuildControls();
    Startup();
    if (services_.startDevTimer) devTimer_.start();
}

TForm1::~TForm1() {
    link_->SetListener(nullptr);
    delete busy_;
}

void TForm1::CreateBusyPopup() {
    if (busy_) return;
    busy_ = new TFormLoadingUI();
    const Point origin = BusyPopupOrigin({x(), y()}, width(), height(), kBusyWidth, kBusyHeight);
    busy_->move(origin.x, origin.y);
}

// ---- building ------------------------------------------------------------------------------

void TForm1::BuildControls() {
    std::vector<QWidget*> windowed;
    for (const ControlDesign& d : WindowDesign()) {
        QWidget* parent = d.parent.empty() ? this : controls_.value(Q(d.parent));
        QWidget* w = nullptr;
        switch (d.kind) {
            case ControlKind::Group:
                w = new GroupWidget(this, parent);
                break;
            case ControlKind::Image:
            case ControlKind::Cover:
                w = new SkinLabel(this, parent);
                break;
            case ControlKind::Caption:
            case ControlKind::Text: {
                auto* label = new SkinLabel(this, parent);
                label->setAlignment(Qt::AlignCenter);
                label->setText(Q(d.caption));
                w = label;
                break;
            }
            case ControlKind::Edit:
                w = new QLineEdit(parent);
                break;
            case ControlKind::List:
                w = new QListWidget(parent);
                break;
            case ControlKind::Combo:
                w = new QComboBox(parent);
                break;
            case ControlKind::Panel: {
                auto* frame = new QFrame(parent);
                frame->setFrameShape(QFrame::Box);
                frame->setAutoFillBackground(true);
                w = frame;
                break;
            }
            case ControlKind::Shape: {
                auto* frame = new QFrame(parent);
                frame->setAutoFillBackground(true);
                w = frame;
                break;
            }
            case ControlKind::Radio:
                w = new QRadioButton(parent);
                break;
            case ControlKind::Memo:
                w = new QPlainTextEdit(parent);
                break;
        }
        w->setObjectName(Q(d.name));
        w->setGeometry(d.x, d.y, d.w, d.h);
        if (!d.visible) w->setVisible(false);
        controls_.insert(Q(d.name), w);
        if (IsWindowed(d.kind)) windowed.push_back(w);
    }
    // Edit boxes, lists and panels are windows of their own: above every picture and label.
    for (QWidget* w : windowed) w->raise();
    // The hidden pages must not be shown with the window.
    for (int n = 2; n <= 5; ++n) controls_.value("gbPage" + C(n))->setVisible(false);
    qobject_cast<QComboBox*>(controls_.value("CB_Insert"))->addItems({"", "", "", ""});
    qobject_cast<QComboBox*>(controls_.value("CB_Insert"))->setCurrentIndex(0);
}

// ---- start-up ------------------------------------------------------------------------------

void TForm1::Fault(const std::exception& e) {
    services_.prompt->Message(appTitle_, QString::fromUtf8(e.what()));
}

void TForm1::Startup() {
    // A fault in the build's resources is shown; the window comes up with what was built.
    try {
        Step(StartupStep::InitialState);
        state_ = ShellState{};
        qobject_cast<QRadioButton*>(controls_.value("rb_1"))->setChecked(true);
        qobject_cast<QRadioButton*>(controls_.value("rb_Lang1"))->setChecked(true);
        // The macro recorder starts with recorded delays and a default delay of 50 ms.
        Radio("rb_RecDelay");
        Radio("rb_InsertRecDelay");
        for (const char* box : {"Edt_Delay", "Edt_InsertDelay"}) {
            auto* edit = qobject_cast<QLineEdit*>(controls_.value(box));
            edit->setMaxLength(5);
            edit->setText("50");
        }
        for (const char* led :
             {"LED_DelayTime", "LED_NoDelay", "LED_InsertDelayTime", "LED_InsertNoDelay"}) {
            SetVisible(led, false);
        }

        Step(StartupStep::Geometry);
        resize(kWindowWidth, kWindowHeight);
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect g = screen->geometry();
            const Point p = CentredOrigin(g.width(), g.height(), kWindowWidth, kWindowHeight);
            move(g.x() + p.x, g.y() + p.y);
        }
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(kKeyColour));
        setPalette(pal);
        setAutoFillBackground(!wayland_);
        if (wayland_) setAttribute(Qt::WA_TranslucentBackground);

        // Qt widgets paint into one backing store: double buffering is always on.
        Step(StartupStep::DoubleBuffering);

        Step(StartupStep::HandlesInvalid);
        link_->CloseDevice();

        Step(StartupStep::FirstPageVisible);
        ShowGroup(1);

        Step(StartupStep::LoadSkinImages);
        LoadSkinImages();

        Step(StartupStep::LoadWebLink);
        LoadWebLink();

        Step(StartupStep::ApplyLanguageLayout);
        state_.currentLanguage = 1;
        ApplyLanguageLayout();

        Step(StartupStep::MacroNameRowHeight);
        // Rows of LB_MacroName follow MacroNameHeight of language 1 for the whole run.
        controls_.value("LB_MacroName")
            ->setStyleSheet(QString("QListWidget::item{height:%1px}").arg(macroNameHeight_));

        Step(StartupStep::LoadDefaultImage);
        defaults_ = config::LoadDefaultImage();
        link_->SetDefaultImage(res::Get(config::kDefaultImageResource));

        Step(StartupStep::InitNoDevice);
        InitNoDevice();

        // The desktop pointer settings are read by their own page's code (not built yet).
        Step(StartupStep::PointerSettings);

        Step(StartupStep::ApplicationTitle);
        if (!Tr("Title").isEmpty()) appTitle_ = Tr("Title");

        // The discovery target came with the default image (SetDefaultImage above).
        Step(StartupStep::DiscoveryTarget);

        Step(StartupStep::RightAlignedBoxes);
        for (int k = 1; k <= 3; ++k) {
            qobject_cast<QLineEdit*>(controls_.value("Edt_Repeat" + C(k)))
                ->setAlignment(Qt::AlignRight);
            qobject_cast<QLineEdit*>(controls_.value("Edt_DelayTime" + C(k)))
                ->setAlignment(Qt::AlignRight);
        }

        Step(StartupStep::LanguageButton);
        LanguageSwitch(services_.language);

        Step(StartupStep::Repaint);
        update();
    } catch (const std::exception& e) {
        Fault(e);
    }
}

void TForm1::LoadSkinImages() {
    for (int n = 1; n <= 5; ++n) SetPicture("Img_Base_" + C(n), "L1_BackGround");
    UpdateWindowMask();
    SetPicture("Img_P1", PageBackground(Page::Main, 1));
    SetPicture("Img_P2", "L1_Back2");
    SetPicture("Img_P3", "L1_Back3");
    SetPicture("Img_P4", "L1_Back4");
    SetPictures("Img_Reset_", "BtnS_01");
    SetPictures("Img_Exit_", "BtnS_01");
    SetPictures("Img_Main_", "SetS_02");
    SetPictures("Img_Lang1_", "SetS_02");
    for (const char* b : {"Switch", "Fixed", "Adv", "Breath", "Macro", "Update", "Save", "Load",
                          "Lang2", "Lang3"}) {
        SetPictures(QString("Img_%1_").arg(b), "SetS_01");
    }
    for (int k = 1; k <= 12; ++k) SetPicture("Img_Key" + C(k), "KeyS_01");
    SetPicture("Img_LoadBIN", "KeyS_01");
    SetPicture("Img_Program", "KeyS_01");
    SetPictures("Img_Web_", "WebS_01");
    for (int k = 1; k <= 3; ++k) SetPicture(QString("Img_Fire%1Continue").arg(k), "CbS_D");
    SetPicture("Img_Spd1", "Bar1_E");
    SetPicture("Img_DbSpd1", "Bar1_E");
    SetPicture("Img_ScrSpd1", "Bar1_E");
    for (int k = 1; k <= 8; ++k) SetPicture(QString("Img_DPI%1_1").arg(k), "Bar2_E");
    SetPicture("Img_AIMDPI_1", "Bar2_E");
    for (int k = 1; k <= 8; ++k) SetPicture(QString("Img_DPI%1Col").arg(k), "Col_F");
    for (int k = 1; k <= 7; ++k) SetPicture("Img_Col" + C(k), "Col_F");
    SetPicture("Img_Fall1", "Bar1_E");
    for (const char* b :
         {"NewName", "NewMacro", "DelMacro", "Clear", "Start", "ExportOne", "Export", "ImportOne",
          "Import", "InsertStart", "Del", "Insert", "SaveMacro"}) {
        SetPicture(QString("Img_%1").arg(b), "MacroS_01");
    }
    SetPicture("Img_OK", "MacroBtnS_01");
    SetPicture("Img_Cancel", "MacroBtnS_01");
    SetPicture("Img_P5", "Update");
    for (const char* led : {"LED_RecDelay", "LED_DelayTime", "LED_NoDelay", "LED_InsertRecDelay",
                            "LED_InsertDelayTime", "LED_InsertNoDelay"}) {
        SetPicture(led, "RdS_E");
    }
}

void TForm1::LoadWebLink() {
    res::LayoutRead read;
    const res::WebLink link = res::LoadWebLink(&read);
    if (read.Find("Web")) webUrl_ = Q(link.url);
    if (read.Find("Web_Y")) {
        for (int n = 1; n <= 5; ++n)
            PlacePair("Img_Web_" + C(n), "Btn_Web_" + C(n), link.x, link.y);
    }
    if (!read.Ok()) throw res::LayoutError(read.error);
}

void TForm1::UpdateWindowMask() {
    // The window is see-through wherever the background leaves the key colour.
    const QString resource = pictureOf_.value("Img_Base_1");
    if (resource.isEmpty()) return;
    QImage full(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
    full.fill(kKeyColour);
    {
        QPainter p(&full);
        p.drawPixmap(0, 0, pictures_.Get(resource.toStdString()));
    }
    setMask(QBitmap::fromImage(full.createMaskFromColor(kKeyColour, Qt::MaskInColor)));
}

// ---- pictures and texts --------------------------------------------------------------------

void TForm1::SetPicture(const QString& control, std::string_view resource) {
    auto* label = dynamic_cast<SkinLabel*>(controls_.value(control));
    if (!label) return;
    const QString name = Q(resource);
    if (pictureOf_.value(control) == name) return;
    // On Wayland a mask does not shape what is drawn: the key colour itself must be clear.
    const bool keyed = wayland_ && control.startsWith(QLatin1String("Img_Base_"));
    label->SetPicture(keyed ? pictures_.Keyed(resource, kKeyColour) : pictures_.Get(resource));
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
    if (QWidget* w = controls_.value(control)) w->move(x, y);
}

void TForm1::SetVisible(const QString& control, bool visible) {
    if (QWidget* w = controls_.value(control)) w->setVisible(visible);
}

void TForm1::PlacePair(const QString& img, const QString& btn, int x, int y) {
    QWidget* image = controls_.value(img);
    QWidget* label = controls_.value(btn);
    if (!image || !label) return;
    image->move(x, y);
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

void TForm1::ApplyLayoutValues(const res::LayoutRead& read) {
    std::map<std::string, int> x;                     // pending _X values by base
    std::map<std::string, std::pair<int, int>> rows;  // RecDelay points waiting for their _H
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
        if (key.ends_with("_x")) {
            x[key.substr(0, key.size() - 2)] = n;
            continue;
        }
        if (key.ends_with("_y") && x.count(key.substr(0, key.size() - 2))) {
            const std::string base = key.substr(0, key.size() - 2);
            const int px = x[base];
            const int py = n;
            if (base == "btn_a3" || base == "btn_a4") {
                const QString b = base == "btn_a3" ? "Reset" : "Exit";
                for (int c = 1; c <= 5; ++c) {
                    PlacePair(QString("Img_%1_%2").arg(b).arg(c),
                              QString("Btn_%1_%2").arg(b).arg(c), px, py);
                }
            } else if (Numbered(base, "btn_b", "", k) && SectionBButton(k)) {
                for (int c = 1; c <= 5; ++c) {
                    const QString suffix = QString("%1_%2").arg(SectionBButton(k)).arg(c);
                    QWidget* image = controls_.value("Img_" + suffix);
                    QWidget* label = controls_.value("Btn_" + suffix);
                    image->move(px, py);
                    label->setGeometry(px + spaceF_, py,
                                       std::max(0, image->width() - spaceF_ - spaceB_),
                                       image->height());
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
                controls_.value(shape)->setGeometry(QRect(QPoint(px, py), size));
                controls_.value(lbl)->setGeometry(QRect(QPoint(px, py), size));
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
                rows[base] = {px, py};
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
            if (!rows.count(base)) continue;
            const auto [rx, ry] = rows[base];
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

// ---- pages ---------------------------------------------------------------------------------

void TForm1::ShowGroup(int group) {
    for (int n = 1; n <= 5; ++n) controls_.value("gbPage" + C(n))->setVisible(n == group);
}

void TForm1::RefreshAPPage() {
    if (state_.deviceLostView) {
        ShowGroup(1);
        return;
    }
    ShowGroup(PageGroupOf(state_.currentPage));
    if (state_.currentPage == Page::Macro) {
        SetVisible("Gb_Insert", insertMode_);
        SetVisible("Img_InsertBase", insertMode_);
        SetVisible("Gb_Delay", !insertMode_);
    }
}

void TForm1::ButtonTypeB_1IconInit() {
    for (Page p : AllPages()) SetPictures(QString("Img_%1_").arg(Q(PageButtonName(p))), "SetS_01");
    state_.deviceLostView = false;
}

void TForm1::SetPageSelected(Page page) {
    SetPictures(QString("Img_%1_").arg(Q(PageButtonName(page))), "SetS_02");
}

void TForm1::RefreshErrorAP() {
    state_.deviceLostView = true;
    ShowGroup(1);
    for (Page p : AllPages()) {
        SetPictures(QString("Img_%1_").arg(Q(PageButtonName(p))),
                    p == Page::Main ? "SetS_02" : "SetS_01");
    }
}

void TForm1::BlockAllPages() {
    for (int n = 1; n <= 5; ++n) {
        SetVisible("Disable_All_" + C(n), true);
    }
}

void TForm1::UnblockAllPages() {
    for (int n = 1; n <= 5; ++n) SetVisible("Disable_All_" + C(n), false);
}

void TForm1::HideAllMenu() {
    for (const MenuDesign& m : Menus()) SetVisible(Q(m.panel), false);
}

std::vector<std::string> TForm1::ProfileKeyNames(int profile) const {
    StoreDirectory directory(store_);
    const keys::NamingContext context{texts_, image_.PageParameter()[config::param::kFireKeyIds],
                                      &directory};
    std::vector<std::string> names;
    for (int k = 0; k < config::kKeySlotCount; ++k) {
        names.push_back(keys::NameOfCode(image_.ProfileCode(profile, k), context).name);
    }
    return names;
}

void TForm1::RefreshProfileKeys(int profile) {
    const std::vector<std::string> names = ProfileKeyNames(profile);
    for (int k = 0; k < config::kKeySlotCount; ++k) SetCaption("Key" + C(k + 1), Q(names[k]));
}

void TForm1::PageSwitch(Page page) {
    const bool connected = link_->Connected();
    bool gate = true;
    if (connected && !state_.deviceLostView) {
        if (const auto profile = GateProfile(page)) {
            const std::vector<std::string> names = ProfileKeyNames(*profile);
            gate = GatePasses(page, names, texts_.Text(GateTextKey(page)));
        }
    }
    switch (DecidePageSwitch(connected, state_.deviceLostView, gate)) {
        case SwitchVerdict::NoDevice:
            services_.prompt->Message(appTitle_, Tr("Str022"));
            return;
        case SwitchVerdict::Ignored:
            return;
        case SwitchVerdict::GateRefused:
            services_.prompt->Message(appTitle_, Tr(GateMessageKey(page)));
            return;
        case SwitchVerdict::Proceed:
            break;
    }
    HideAllMenu();
    ButtonTypeB_1IconInit();
    state_.currentPage = page;
    const int index = static_cast<int>(page) + 1;
    qobject_cast<QRadioButton*>(controls_.value("rb_" + C(index)))->setChecked(true);
    const auto profile = ProfileOfPage(page);
    if (WritesProfileByte(page, readingDevice_)) {
        // Pumps events: the mouse may be gone when it returns.
        link_->WriteParameterPiece(config::param::kActiveProfile,
                                   static_cast<std::uint8_t>(*profile), 0, 0, 1);
    }
    ShowGroup(PageGroupOf(page));
    SetVisible("Disable", DisableShown(page, link_->Connected()));
    if (profile) {
        // Main offers the keyboard-mode switch function, Switch does not; Fixed leaves it.
        if (page != Page::Fixed && link_->Connected()) {
            controls_.value("Key_Profile")->setEnabled(page == Page::Main);
        }
        RefreshProfileKeys(*profile);
        image_.PageParameter()[config::param::kActiveProfile] = static_cast<std::uint8_t>(*profile);
    } else if (page == Page::Macro) {
        SetVisible("Gb_Insert", insertMode_);
        SetVisible("Img_InsertBase", insertMode_);
        SetVisible("Gb_Delay", !insertMode_);
    } else if (page == Page::Update) {
        SetCaption("lbl_LoadBIN", QString());
        patchLoaded_ = false;
    }
    SetPageSelected(page);
    if (page != Page::Update) {
        try {
            SetPicture("Img_P" + C(PageGroupOf(page)),
                       PageBackground(page, state_.currentLanguage));
        } catch (const std::exception& e) {
            Fault(e);
        }
    }
}

// ---- configuration -------------------------------------------------------------------------

void TForm1::Radio(const QString& name) {
    if (auto* rb = qobject_cast<QRadioButton*>(controls_.value(name))) rb->setChecked(true);
}

void TForm1::InitNoDevice() {
    config::ApplyDefaults(image_, defaults_);
    image_.DeviceFromDefaults();
    if (defaults_.storage == config::StorageKind::I2C) {
        store_ = macros::MacroStore(macros::MacroLayout::kPacked, macros::kPackedBaseI2C);
        store_.SetArea(defaults_.macros.packedArea);
        store_.ReadAndRefreshMacro7311();
    } else if (defaults_.storage == config::StorageKind::Flash) {
        store_ = macros::MacroStore(macros::MacroLayout::kPaged);
        store_.SetNameBlock(defaults_.macros.nameTable);
        for (int i = 0; i < config::kMacroPageCount; ++i)
            store_.SetPage(i, defaults_.macros.pages[i]);
    }
    RefreshMacroLists();
    DataBufToUI();
}

void TForm1::RefreshMacroLists() {
    auto* names = qobject_cast<QListWidget*>(controls_.value("LB_MacroName"));
    auto* menu = qobject_cast<QListWidget*>(controls_.value("LB_Name"));
    names->clear();
    menu->clear();
    for (const std::string& name : store_.Names()) {
        names->addItem(Q(name));
        menu->addItem(Q(name));
    }
}

void TForm1::DataBufToUI() {
    image_.LoadPagesFromDevice();
    RefreshUI();
}

void TForm1::RefreshUI() {
    const config::ParameterSection& p = image_.PageParameter();
    // DPI levels, their values and the current level.
    if (const auto count = config::DpiLevelCount(p)) dpiLevelCount_ = *count;
    const auto current = config::CurrentDpiLevel(p);
    for (int level = 1; level <= config::kDpiLevelMax; ++level) {
        const QString n = C(level);
        const bool active = level <= dpiLevelCount_;
        SetTextColour({"lbl_DPI" + n}, active ? dpiSelected_ : dpiUnselected_);
        for (const QString& c : {"Img_DPI" + n, "lbl_DPI" + n + "Col"}) {
            controls_.value(c)->setEnabled(active);
        }
        SetPicture("Img_DPI" + n, current == level ? "CbS_E" : "CbS_D");
        if (current == level) Radio("rb_DPI" + n);
        const int code = config::DpiValueCode(p, level);
        for (int s = 1; s <= 12; ++s) {
            const QString step = QString("Img_DPI%1_%2").arg(level).arg(s);
            controls_.value(step)->setEnabled(active);
            if (code != config::kDpiCodeEmpty)
                SetPicture(step, s <= code + 1 ? "Bar2_E" : "Bar2_D");
        }
        if (code != config::kDpiCodeEmpty) {
            SetCaption(QString("lbl_DPI%1Value").arg(level),
                       code < 12 ? Tr("Str" + std::to_string(300 + code)) : QString());
        }
    }
    // Report rate and lighting mode.
    const int rate = config::ReportRateCode(p);
    Radio("rb_Rep" + C(rate + 1));
    for (int k = 1; k <= 4; ++k) SetPicture("Img_Rep" + C(k), k == rate + 1 ? "RdS_E" : "RdS_D");
    const int mode = config::LightingMode(p);
    if (mode <= 6) Radio(mode == 0 ? QString("rb_Off") : "rb_LED" + C(mode));
    SetPicture("Img_Off", mode == 0 ? "RdS_E" : "RdS_D");
    for (int k = 1; k <= 5; ++k) SetPicture("Img_LED" + C(k), mode == k ? "RdS_E" : "RdS_D");
    // Fall time; its steps answer only while the lighting is on.
    const int fall = config::FallTimeStep(p).value_or(0);
    for (int s = 1; s <= 10; ++s) {
        SetPicture("Img_Fall" + C(s), s <= fall ? "Bar1_E" : "Bar1_D");
        controls_.value("Img_Fall" + C(s))->setEnabled(mode != 0);
    }
    // Colours, shown for the RGB and NT lighting types.
    const bool colours = config::LedTypeOf(p) != config::LedType::Sync;
    auto fill = [this](const QString& shape, QColor c, bool shown) {
        QWidget* w = controls_.value(shape);
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, c);
        w->setPalette(pal);
        w->setVisible(shown);
    };
    auto nibble = [](int v) { return std::min(v, 15) * 17; };
    for (int level = 1; level <= config::kDpiLevelMax; ++level) {
        const config::Rgb c = config::DpiColour(p, level);
        const int rgb[] = {c.r, c.g, c.b};
        for (int i = 0; i < 3; ++i) {
            qobject_cast<QLineEdit*>(
                controls_.value(QString("edt_DPI%1Col%2").arg(level).arg("RGB"[i])))
                ->setText(C(rgb[i]));
        }
        fill(QString("cs_DPI%1Col").arg(level), QColor(nibble(c.r), nibble(c.g), nibble(c.b)),
             colours);
        SetVisible(QString("Img_DPI%1Col").arg(level), colours);
    }
    for (int k = 0; k < config::kLedColourCount; ++k) {
        const config::Rgb c = config::LedColour(p, k);
        fill("cs_Col" + C(k + 1), QColor(nibble(c.r), nibble(c.g), nibble(c.b)), colours);
        SetVisible("Img_Col" + C(k + 1), colours);
    }
    // Fire keys and the AIM key, from the codes that use them.
    StoreDirectory directory(store_);
    const keys::NamingContext context{texts_, p[config::param::kFireKeyIds], &directory};
    std::array<keys::FireSettings, 3> fire{};
    int aimLevel = 0;
    for (int profile = 0; profile < config::kProfileCount; ++profile) {
        for (int k = 0; k < config::kKeySlotCount; ++k) {
            const std::string& code = image_.ProfileCode(profile, k);
            keys::NameOfCode(code, context, fire);
            if (code.size() == 8 && code.starts_with("05")) {
                aimLevel = std::stoi(code.substr(2, 2), nullptr, 16) + 1;
            }
        }
    }
    for (int f = 0; f < 3; ++f) {
        qobject_cast<QLineEdit*>(controls_.value("Edt_Repeat" + C(f + 1)))
            ->setText(C(fire[f].repeat));
        qobject_cast<QLineEdit*>(controls_.value("Edt_DelayTime" + C(f + 1)))
            ->setText(C(fire[f].delay));
        SetPicture(QString("Img_Fire%1Continue").arg(f + 1),
                   fire[f].continueFlag ? "CbS_E" : "CbS_D");
    }
    if (aimLevel >= 1 && aimLevel <= 12) {
        SetCaption("lbl_AIMDPIValue", Tr("Str" + std::to_string(299 + aimLevel)));
        for (int s = 1; s <= 12; ++s) {
            SetPicture("Img_AIMDPI_" + C(s), s <= aimLevel ? "Bar2_E" : "Bar2_D");
        }
    }
    // The active profile selects its page and fills the key captions.
    const int active = std::min<int>(config::ActiveProfile(p), 2);
    const Page page = PageOfProfile(active);
    state_.currentPage = page;
    qobject_cast<QRadioButton*>(controls_.value("rb_" + C(active + 1)))->setChecked(true);
    for (Page other : AllPages()) {
        SetPictures(QString("Img_%1_").arg(Q(PageButtonName(other))),
                    other == page ? "SetS_02" : "SetS_01");
    }
    SetPicture("Img_P1", PageBackground(page, state_.currentLanguage));
    RefreshProfileKeys(active);
}

void TForm1::Btn_Read() {
    if (readingDevice_) return;  // a pumped event must not start a second read inside this one
    readingDevice_ = true;
    devTimer_.stop();
    link_->StopDevTimer();
    BlockAllPages();
    ShowBusy();
    PumpMessages();
    link_->ReadSectionBusy(0, 0, config::kParameterSectionSize, image_.ParameterBuffer());
    link_->ReadSectionBusy(1, 0, config::kProfileSectionSize, image_.ProfileBuffer());
    const device::Layout layout = link_->CurrentLayout();
    std::array<std::uint8_t, 256> block{};
    if (device::IsI2cMacroStorage(layout)) {
        const auto halves = device::memory_map::PackedAreaHalves(layout);
        // A half whose read is refused keeps what the area held before.
        std::array<std::uint8_t, config::kPackedAreaSize> area{};
        if (store_.Layout() == macros::MacroLayout::kPacked) {
            std::copy(store_.Area().begin(), store_.Area().end(), area.begin());
        }
        store_ = macros::MacroStore(macros::MacroLayout::kPacked, halves[0]);
        store_.SetArea(area);
        for (int h = 0; h < 2; ++h) {
            std::copy_n(store_.Area().begin() + 256 * h, 256, block.begin());
            link_->ReadMemory(halves[h], 256, block);  // a refused read keeps the earlier half
            store_.SetArea(block, 256 * static_cast<std::size_t>(h));
        }
        store_.ReadAndRefreshMacro7311();
    } else if (device::IsFlashMacroStorage(layout)) {
        if (store_.Layout() != macros::MacroLayout::kPaged) {
            store_ = macros::MacroStore(macros::MacroLayout::kPaged);
        }
        for (int i = 0; i < device::memory_map::kMacroPageCount; ++i) {
            const auto page = store_.Page(i);
            std::copy(page.begin(), page.end(), block.begin());
            link_->ReadMemory(device::memory_map::MacroPageAddress(i), 256, block);
            store_.SetPage(i, block);
        }
        std::array<std::uint8_t, config::kNameTableSize> names{};
        const auto current = store_.NameBlock();
        std::copy(current.begin(), current.end(), names.begin());
        link_->ReadMemory(device::memory_map::kNameTableAddress, config::kNameTableSize, names);
        store_.SetNameBlock(names);
    }
    RefreshMacroLists();
    DataBufToUI();
    RefreshStorageControls();
    HideBusy();
    PumpMessages();
    devTimer_.start();
    link_->StartDevTimer();
    UnblockAllPages();
    readingDevice_ = false;
    Trace("read-done");
}

void TForm1::RefreshStorageControls() {
    const device::Layout layout = link_->CurrentLayout();
    const bool i2c = device::IsI2cMacroStorage(layout);
    const bool flash = device::IsFlashMacroStorage(layout);
    if (i2c || flash) {
        for (const char* c : {"Btn_NewMacro", "Img_NewMacro", "Btn_DelMacro", "Img_DelMacro"}) {
            SetVisible(c, i2c);
        }
        for (int n = 1; n <= 5; ++n) {
            SetVisible("Btn_Update_" + C(n), flash);
            SetVisible("Img_Update_" + C(n), flash);
        }
    }
    ShowGroup(1);
    state_.deviceLostView = false;
    if (const auto profile = ProfileOfPage(state_.currentPage)) PageSwitch(PageOfProfile(*profile));
    PumpMessages();
}

void TForm1::Btn_Reset_0Click() {
    SetPictures("Img_Reset_", "BtnS_03");
    if (!link_->Connected()) {
        services_.prompt->Message(appTitle_, Tr("Str022"));
        return;
    }
    DefaultParameter();
}

void TForm1::DefaultParameter() {
    HideAllMenu();
    devTimer_.stop();
    link_->StopDevTimer();
    BlockAllPages();
    ShowBusy();
    PumpMessages();
    defaults_ = config::LoadDefaultImage();
    config::ApplyDefaults(image_, defaults_);
    image_.DeviceFromDefaults();
    const device::Layout layout = link_->CurrentLayout();
    if (device::IsI2cMacroStorage(layout)) {
        store_ = macros::MacroStore(macros::MacroLayout::kPacked,
                                    device::memory_map::PackedAreaAddress(layout));
        store_.SetArea(defaults_.macros.packedArea);
        store_.ReadAndRefreshMacro7311();
    } else if (device::IsFlashMacroStorage(layout)) {
        store_ = macros::MacroStore(macros::MacroLayout::kPaged);
        store_.SetNameBlock(defaults_.macros.nameTable);
        for (int i = 0; i < config::kMacroPageCount; ++i)
            store_.SetPage(i, defaults_.macros.pages[i]);
        qobject_cast<QListWidget*>(controls_.value("LB_macro"))->clear();
        qobject_cast<QPlainTextEdit*>(controls_.value("mmo_macro"))->clear();
        qobject_cast<QPlainTextEdit*>(controls_.value("mmo_wrscript"))->clear();
    }
    RefreshMacroLists();
    ShowBusy();
    PumpMessages();
    DataBufToUI();
    link_->WriteSection(0, 0, config::kParameterSectionSize, image_.ParameterBuffer());
    link_->WriteSection(1, 0, config::kProfileSectionSize, image_.ProfileBuffer());
    std::array<std::uint8_t, 256> block{};
    if (device::IsI2cMacroStorage(layout)) {
        const auto halves = device::memory_map::PackedAreaHalves(layout);
        for (int h = 0; h < 2; ++h) {
            std::copy_n(store_.Area().begin() + 256 * h, 256, block.begin());
            link_->WriteMemory(halves[h], 256, block);
        }
    } else if (device::IsFlashMacroStorage(layout)) {
        const auto names = store_.NameBlock();
        for (int i = 0; i < device::memory_map::kNameTablePageCount; ++i) {
            std::copy_n(names.begin() + 256 * i, 256, block.begin());
            link_->WriteMemory(device::memory_map::NameTablePageAddress(i), 256, block);
        }
        for (int i = 0; i < device::memory_map::kMacroPageCount; ++i) {
            const auto page = store_.Page(i);
            std::copy(page.begin(), page.end(), block.begin());
            link_->WriteMemory(device::memory_map::MacroPageAddress(i), 256, block);
        }
    }
    HideBusy();
    PumpMessages();
    UnblockAllPages();
    devTimer_.start();
    link_->StartDevTimer();
    // The defaults hold profile 0: their page is shown (with the device-lost view left).
    state_.deviceLostView = false;
    RefreshAPPage();
}

// ---- device link ---------------------------------------------------------------------------

void TForm1::DevTimerTimer() {
    link_->DevTimerTimer();
}

void TForm1::DeviceLost() {
    if (closing_) return;
    SetVisible("Disable", true);
    HideAllMenu();
    labelRun_.stop();
    PumpMessages();
    RefreshErrorAP();
    qobject_cast<QListWidget*>(controls_.value("LB_MacroName"))->clear();
    qobject_cast<QListWidget*>(controls_.value("LB_Name"))->clear();
    qobject_cast<QListWidget*>(controls_.value("LB_macro"))->clear();
    Trace("device-lost");
}

void TForm1::KeyMenuHeightChanged(int pixels) {
    QWidget* menu = controls_.value("Pnl_Main");
    menu->resize(menu->width(), pixels);
}

void TForm1::PumpMessages() {
    if (closing_) return;
    QCoreApplication::processEvents();
}

void TForm1::ShowBusy() {
    if (!busy_ || busy_->isVisible()) return;
    busy_->show();
    busy_->raise();
}

void TForm1::HideBusy() {
    if (busy_) busy_->hide();
}

void TForm1::ShowMessage(const std::string& text) {
    services_.prompt->Message(appTitle_, Q(text));
}

// ---- pointer -------------------------------------------------------------------------------

void TForm1::LabelEnter(QWidget* w) {
    const std::string name = w->objectName().toStdString();
    const SkinFamily family = FamilyOfLabel(name);
    if (family == SkinFamily::None) return;
    const SkinPictures pics = PicturesOf(family);
    try {
        for (const std::string& img : PictureControlsOf(name)) SetPicture(Q(img), pics.hover);
    } catch (const std::exception& e) {
        Fault(e);
        return;
    }
    if (family == SkinFamily::Web) return;
    hoverLabel_ = w->objectName();
    marquee_.Start(qobject_cast<QLabel*>(w)->text().toStdString());
    if (w->isEnabled()) labelRun_.start();
}

void TForm1::LabelLeave(QWidget* w) {
    const std::string name = w->objectName().toStdString();
    const SkinFamily family = FamilyOfLabel(name);
    if (family == SkinFamily::None) return;
    const SkinPictures pics = PicturesOf(family);
    if (family != SkinFamily::Web) labelRun_.stop();
    try {
        for (const std::string& img : PictureControlsOf(name)) SetPicture(Q(img), pics.normal);
        if (family == SkinFamily::B && !state_.deviceLostView) SetPageSelected(state_.currentPage);
        if (family == SkinFamily::D) {
            SetPictures(QString("Img_Lang%1_").arg(state_.currentLanguage), "SetS_02");
        }
    } catch (const std::exception& e) {
        Fault(e);
        return;
    }
    if (family == SkinFamily::Web) return;
    SetCaption(hoverLabel_, Q(marquee_.Restore()));
}

void TForm1::LabelRunTimer() {
    SetCaption(hoverLabel_, Q(Utf32ToUtf8(marquee_.Tick())));
}

void TForm1::LabelPress(QWidget* w, QMouseEvent* event) {
    if (w->objectName().startsWith("Img_Base_")) {
        HideAllMenu();
        StartDrag(w, event);
    }
}

void TForm1::StartDrag(QWidget*, QMouseEvent* event) {
    QWindow* handle = windowHandle();
    if (handle && handle->startSystemMove()) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void TForm1::LabelMove(QWidget*, QMouseEvent* event) {
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
    }
}

void TForm1::LabelRelease(QWidget*, QMouseEvent*) {
    dragging_ = false;
}

void TForm1::LabelClick(QWidget* w) {
    const QString name = w->objectName();
    if (name.startsWith("Img_Base_") || name == "gbPage1" || name == "Img_P1") {
        ClearAP();
        return;
    }
    if (!name.startsWith("Btn_") || CopyOf(name.toStdString()) == 0) return;
    const QString base = name.mid(4, name.size() - 6);
    for (Page p : AllPages()) {
        if (base == Q(PageButtonName(p))) {
            PageSwitch(p);
            return;
        }
    }
    if (base == "Reset") {
        Btn_Reset_0Click();
    } else if (base == "Exit") {
        Btn_Exit_0Click();
    } else if (base == "Web") {
        Btn_Web_0Click();
    } else if (base.startsWith("Lang")) {
        LanguageSwitch(base.mid(4).toInt());
    } else if (base == "Save" || base == "Load") {
        SetPictures(QString("Img_%1_").arg(base), "SetS_02");
        if (!link_->Connected()) services_.prompt->Message(appTitle_, Tr("Str022"));
    }
}

// ---- web, exit, painting -------------------------------------------------------------------

void TForm1::Btn_Web_0Click() {
    SetPictures("Img_Web_", "WebS_02");
    QDesktopServices::openUrl(QUrl::fromUserInput(webUrl_));
}

void TForm1::Btn_Exit_0Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // No confirmation and nothing written: drop the handles and end. A wait of the link that
    // is still running returns into a closing window, which then does nothing more.
    closing_ = true;
    link_->CloseDevice();
    devTimer_.stop();
    labelRun_.stop();
    event->accept();
    QCoreApplication::quit();
}

void TForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (firstPaint_) {
        firstPaint_ = false;
        Trace("first-paint");
    }
}

}  // namespace kelv::app
