#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegion>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <cstdio>

#include "app/busy_form.h"
#include "app/design.h"
#include "app/window_util.h"
#include "config/macro_directory.h"
#include "keys/catalogue.h"
#include "keys/naming.h"
#include "resources/bundle.h"

namespace kelv::app {

namespace {

const char* const kWindowTitle = "KELV731x Gaming Mouse v1.0";

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
    transfer_ = std::make_unique<config::TransferService>(*link_, *services_.clock, *this);
    transfer_->SetListener(this);
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
            case ControlKind::Check:
                w = new QCheckBox(parent);
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
    // As in the language layouts, an _X is applied at once: a bad _Y leaves the top as it was.
    if (read.Find("Web_X")) {
        for (int n = 1; n <= 5; ++n) {
            const int y = read.Find("Web_Y") ? link.y : controls_.value("Img_Web_" + C(n))->y();
            PlacePair("Img_Web_" + C(n), "Btn_Web_" + C(n), link.x, y);
        }
    }
    if (!read.Ok()) throw res::LayoutError(read.error);
}

void TForm1::UpdateWindowMask() {
    // The window is see-through wherever the background leaves the key colour.
    const QString resource = pictureOf_.value("Img_Base_1");
    // Start-up and language switches set the same background again; its mask is the same.
    if (resource.isEmpty() || resource == maskOf_) return;
    // From the decoded picture, which its first paint then takes from the cache; outside the
    // picture the window is see-through as well.
    const QImage& image = pictures_.Image(resource.toStdString());
    const auto shape =
        ShapeOfPicture(image.constBits(), image.width(), image.height(),
                       static_cast<std::size_t>(image.bytesPerLine()), kKeyColour & 0xFFFFFF);
    QList<QRect> rects;
    rects.reserve(static_cast<qsizetype>(shape.size()));
    for (const ShapeRect& r : shape) rects.append(QRect(r.x, r.y, r.width, r.height));
    QRegion region;
    region.setRects(rects.constData(), static_cast<int>(rects.size()));
    setMask(region);
    maskOf_ = resource;
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
    const auto directory = config::MacroDirectoryOf(store_);
    const keys::NamingContext context{texts_, image_.PageParameter()[config::param::kFireKeyIds],
                                      directory.get()};
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
    } else if (defaults_.storage == config::StorageKind::Flash) {
        store_ = macros::MacroStore(macros::MacroLayout::kPaged);
    }
    config::LoadMacroData(store_, defaults_.macros);
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
    // Lighting: the type decides which modes exist; a mode it lacks selects nothing.
    const config::LedType type = config::LedTypeOf(p);
    ledType_ = type;
    const int mode = config::LightingMode(p);
    auto offered = [type](int m) {
        if (type == config::LedType::Sync) return m <= 2;
        if (type == config::LedType::NT) return m <= 5 && m != 4;
        return m <= 5;
    };
    for (int k = 1; k <= 5; ++k) {
        SetVisible("Img_LED" + C(k), offered(k));
        SetVisible("lbl_LED" + C(k), offered(k));
    }
    if (offered(mode)) Radio(mode == 0 ? QString("rb_Off") : "rb_LED" + C(mode));
    SetPicture("Img_Off", mode == 0 ? "RdS_E" : "RdS_D");
    for (int k = 1; k <= 5; ++k) {
        SetPicture("Img_LED" + C(k), mode == k && offered(k) ? "RdS_E" : "RdS_D");
    }
    // Fall time; its steps answer only while the lighting is on.
    const int fall = config::FallTimeStep(p);
    fallStep_ = fall;
    for (int s = 1; s <= 10; ++s) {
        SetPicture("Img_Fall" + C(s), s <= fall ? "Bar1_E" : "Bar1_D");
        controls_.value("Img_Fall" + C(s))->setEnabled(mode != 0);
    }
    // Colours, shown for the RGB and NT lighting types.
    const bool colours = type != config::LedType::Sync;
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
        const int rgb[] = {c.r, c.g, c.b};
        for (int i = 0; i < 3; ++i) {
            qobject_cast<QLineEdit*>(
                controls_.value(QString("Edt_Col%1%2").arg(k + 1).arg("RGB"[i])))
                ->setText(C(rgb[i]));
        }
        fill("cs_Col" + C(k + 1), QColor(nibble(c.r), nibble(c.g), nibble(c.b)), colours);
        SetVisible("Img_Col" + C(k + 1), colours);
    }
    // Fire keys and the AIM key, from the codes that use them.
    const auto directory = config::MacroDirectoryOf(store_);
    const keys::NamingContext context{texts_, p[config::param::kFireKeyIds], directory.get()};
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
        qobject_cast<QCheckBox*>(controls_.value(QString("cb_Fire%1Continue").arg(f + 1)))
            ->setChecked(fire[f].continueFlag);
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

settings::PageValues TForm1::ReadPageValues() const {
    auto checked = [this](const QString& name) {
        const auto* rb = qobject_cast<QRadioButton*>(controls_.value(name));
        return rb && rb->isChecked();
    };
    auto text = [this](const QString& name) {
        const auto* edit = qobject_cast<QLineEdit*>(controls_.value(name));
        return edit ? edit->text().toStdString() : std::string();
    };
    auto choice = [&checked](const QString& prefix, int first, int last) -> std::optional<int> {
        for (int n = first; n <= last; ++n)
            if (checked(prefix + C(n))) return n;
        return std::nullopt;
    };
    settings::PageValues v;
    v.dpiLevelCount = dpiLevelCount_;
    v.currentDpiLevel = choice("rb_DPI", 1, config::kDpiLevelMax);
    for (int level = 1; level <= config::kDpiLevelMax; ++level) {
        const auto* value =
            qobject_cast<QLabel*>(controls_.value(QString("lbl_DPI%1Value").arg(level)));
        v.dpiValueTexts[level - 1] = value ? value->text().toStdString() : std::string();
        for (int j = 0; j < 3; ++j) {
            v.dpiColourTexts[level - 1][j] =
                text(QString("edt_DPI%1Col%2").arg(level).arg("RGB"[j]));
        }
    }
    for (int c = 0; c < config::kLedColourCount; ++c) {
        for (int j = 0; j < 3; ++j)
            v.ledColourTexts[c][j] = text(QString("Edt_Col%1%2").arg(c + 1).arg("RGB"[j]));
    }
    v.reportRateChoice = choice("rb_Rep", 1, 4);
    v.ledType = ledType_;
    v.ledChoice = checked("rb_Off") ? std::optional<int>(0) : choice("rb_LED", 1, 6);
    v.fallStep = fallStep_;
    v.profileChoice = choice("rb_", 1, 3);
    return v;
}

void TForm1::UIToDataBuf() {
    settings::WritePageValues(image_.PageParameter(), ReadPageValues(), texts_);
}

void TForm1::Btn_Read() {
    if (readingDevice_) return;  // a pumped event must not start a second read inside this one
    readingDevice_ = true;
    transfer_->ReadAll(image_, store_);
    readingDevice_ = false;
    Trace("read-done");
}

void TForm1::BlockPages() {
    HideAllMenu();
    devTimer_.stop();
    BlockAllPages();
}

void TForm1::UnblockPages() {
    UnblockAllPages();
    devTimer_.start();
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
    defaults_ = config::LoadDefaultImage();
    if (device::IsFlashMacroStorage(link_->CurrentLayout())) {
        qobject_cast<QListWidget*>(controls_.value("LB_macro"))->clear();
        qobject_cast<QPlainTextEdit*>(controls_.value("mmo_macro"))->clear();
        qobject_cast<QPlainTextEdit*>(controls_.value("mmo_wrscript"))->clear();
    }
    transfer_->ResetToDefaults(image_, store_, defaults_);
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
    ledType_.reset();
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
        if (busyAfterPaint_) QTimer::singleShot(0, this, [this] { CreateBusyPopup(); });
    }
}

}  // namespace kelv::app
