// The main window on the offscreen platform, with the virtual mouse, a clock that never really
// waits and a prompt that records its notices.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QUrl>

#include <map>

#include <QMouseEvent>
#include "app/busy_form.h"
#include "app/design.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "device/virtual_mouse.h"
#include "resources/bundle.h"
#include "resources/language.h"
#include "resources/layout.h"

class UrlCatcher : public QObject {
    Q_OBJECT
  public slots:
    void Open(const QUrl& u) { url = u; }

  public:
    QUrl url;
};

namespace kelv::app {
namespace {

QString T(int language, const char* key) {
    return QString::fromStdString(res::LoadLanguageTable(language).Text(key));
}

class WindowTest : public ::testing::Test {
  protected:
    explicit WindowTest(device::VirtualMouseOptions options = {})
        : mouse(clock, res::Get("KELV731xData"), options), port(&mouse) {
        services.port = &port;
        services.clock = &clock;
        services.prompt = &prompt;
        services.startDevTimer = false;
    }

    TForm1& Window() {
        if (!window) {
            window = std::make_unique<TForm1>(services);
            window->CreateBusyPopup();
        }
        return *window;
    }

    // One presence tick that finds (or loses) the mouse.
    void Tick() { Window().DevTimerTimer(); }

    void Connect() {
        Tick();
        ASSERT_TRUE(Window().Link().Connected());
        mouse.ClearLog();
        prompt.messages.clear();
    }

    bool Shown(const char* name) { return !Window().Control(name)->isHidden(); }
    QString Caption(const QString& name) {
        return qobject_cast<QLabel*>(Window().Control(name))->text();
    }
    QString Picture(const QString& name) { return Window().PictureOf(name); }
    int VisibleGroup() {
        int shown = 0;
        for (int n = 1; n <= 5; ++n) {
            if (Shown(("gbPage" + std::to_string(n)).c_str())) shown = shown * 10 + n;
        }
        return shown;
    }

    // Piece writes (command 0x05) to section 0 at `offset`, in the order sent.
    std::vector<int> ParameterPieces(int offset) {
        std::vector<int> values;
        for (const auto& e : mouse.Log()) {
            if (!e.get && e.request[0] == 0x40 && e.request[1] == 0x05 && e.request[2] == 0 &&
                e.request[3] == offset) {
                values.push_back(e.request[4]);
            }
        }
        return values;
    }
    int Commands(std::uint8_t code) {
        int n = 0;
        for (const auto& e : mouse.Log()) {
            if (!e.get && e.request[0] == 0x40 && e.request[1] == code) ++n;
        }
        return n;
    }

    FakeClock clock;
    device::VirtualMouse mouse;
    device::VirtualHidPort port;
    RecordingPrompt prompt;
    WindowServices services;
    std::unique_ptr<TForm1> window;
};

TEST_F(WindowTest, StartsWithTheDefaultImageAndNoMouse) {
    TForm1& w = Window();
    EXPECT_TRUE(prompt.messages.empty()) << prompt.messages.front().toStdString();
    const std::vector<StartupStep> expected(StartupOrder().begin(), StartupOrder().end());
    EXPECT_EQ(w.StartupLog(), expected);
    EXPECT_EQ(w.State().currentPage, Page::Main);
    EXPECT_EQ(w.State().currentLanguage, 1);
    EXPECT_FALSE(w.State().deviceLostView);
    EXPECT_FALSE(w.Link().Connected());
    EXPECT_EQ(w.windowTitle(), "KELV731x Gaming Mouse v1.0");
    EXPECT_EQ(w.size(), QSize(800, 600));
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(VisibleGroup(), 1);
    EXPECT_TRUE(Shown("Disable"));
    for (int n = 1; n <= 5; ++n) {
        const QString c = QString::number(n);
        EXPECT_EQ(Picture("Img_Main_" + c), "SetS_02");
        EXPECT_EQ(Picture("Img_Lang1_" + c), "SetS_02");
        EXPECT_EQ(Picture("Img_Adv_" + c), "SetS_01");
        EXPECT_EQ(Caption("Btn_Main_" + c), T(1, "Str004"));
        EXPECT_FALSE(Shown(("Disable_All_" + c.toStdString()).c_str()));
    }
    EXPECT_EQ(Picture("Img_Base_1"), "L1_BackGround");
    EXPECT_EQ(Picture("Img_P1"), "L1_Back1");
    // Profile 1 of the default image names its keys; language 1 hides the other languages.
    EXPECT_FALSE(Caption("Key1").isEmpty());
    EXPECT_FALSE(Shown("Btn_Lang2_1"));
    EXPECT_TRUE(w.LayoutError().isEmpty());
    EXPECT_FALSE(w.WebAddress().isEmpty());
    EXPECT_FALSE(w.DevTimer().isActive());  // started by the caller in this fixture
    EXPECT_EQ(w.DevTimer().interval(), 3500);
    EXPECT_EQ(w.Busy()->size(), QSize(kBusyWidth, kBusyHeight));
    EXPECT_GT(w.Busy()->FrameCount(), 1);
    EXPECT_TRUE(w.Busy()->isHidden());
}

TEST_F(WindowTest, EveryDesignedControlExistsUnderItsName) {
    for (const ControlDesign& d : WindowDesign()) {
        QWidget* c = Window().Control(QString::fromStdString(d.name));
        ASSERT_NE(c, nullptr) << d.name;
        EXPECT_EQ(c->objectName().toStdString(), d.name);
        if (!d.parent.empty()) {
            EXPECT_EQ(c->parentWidget()->objectName().toStdString(), d.parent);
        }
    }
}

TEST_F(WindowTest, StartsInTheLanguageAskedFor) {
    services.language = 3;
    EXPECT_EQ(Window().State().currentLanguage, 3);
    EXPECT_EQ(Caption("Btn_Main_1"), "Main Control");
    EXPECT_EQ(Picture("Img_Lang3_1"), "SetS_02");
    EXPECT_EQ(Picture("Img_Lang1_1"), "SetS_01");
}

TEST_F(WindowTest, PresenceTimerFindsTheMouseAndReadsItWithoutAnyPieceWrite) {
    // What the mouse holds must reach the pages: Key1 of profile 1 becomes the right button.
    mouse.Profile()[0] = 0x01;
    mouse.Profile()[1] = 0x02;
    mouse.Profile()[2] = 0x00;
    mouse.Profile()[3] = 0x00;
    Window();
    mouse.ClearLog();
    Tick();
    EXPECT_TRUE(Window().Link().Connected());
    EXPECT_EQ(Commands(0x05), 0);
    EXPECT_GT(Commands(0x06), 0);  // sections read
    EXPECT_GT(Commands(0x09), 0);  // macro memory read
    EXPECT_EQ(Caption("Key1"), T(1, "Str211"));
    EXPECT_FALSE(Shown("Disable"));
    EXPECT_FALSE(Window().ReadingDevice());
    EXPECT_TRUE(Window().DevTimer().isActive());
    EXPECT_TRUE(Window().Busy()->isHidden());
    for (int n = 1; n <= 5; ++n) {
        EXPECT_FALSE(Shown(("Disable_All_" + std::to_string(n)).c_str()));
        // Layout A has no update page.
        EXPECT_FALSE(Shown(("Btn_Update_" + std::to_string(n)).c_str()));
    }
    EXPECT_TRUE(prompt.messages.empty());
}

struct ReadCase {
    const char* name;
    int offset;         // parameter byte changed in the mouse
    std::uint8_t mask;  // bits replaced
    std::uint8_t value;
    const char* control;
    const char* picture;  // expected picture, or nullptr to check the caption
    const char* captionKey;
};
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadToPagesTest : public WindowTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadToPagesTest, ShowsWhatTheMouseHolds) {
    const ReadCase& c = GetParam();
    auto& byte = mouse.Parameter()[c.offset];
    byte = static_cast<std::uint8_t>((byte & ~c.mask) | (c.value & c.mask));
    if (c.offset == 52) mouse.Parameter()[53] = c.value;  // fall time is held twice
    Connect();
    if (c.picture) {
        EXPECT_EQ(Picture(c.control), c.picture);
    } else {
        EXPECT_EQ(Caption(c.control), T(1, c.captionKey));
    }
}

const ReadCase kReadCases[] = {
    {"DpiValue", 39, 0x0F, 0x05, "lbl_DPI1Value", nullptr, "Str305"},
    {"DpiBarLit", 39, 0x0F, 0x05, "Img_DPI1_6", "Bar2_E", nullptr},
    {"DpiBarDark", 39, 0x0F, 0x05, "Img_DPI1_7", "Bar2_D", nullptr},
    {"CurrentLevel", 38, 0x0F, 0x02, "Img_DPI3", "CbS_E", nullptr},
    {"OtherLevel", 38, 0x0F, 0x02, "Img_DPI1", "CbS_D", nullptr},
    {"ReportRate", 6, 0x30, 0x10, "Img_Rep2", "RdS_E", nullptr},
    {"ReportRateOthers", 6, 0x30, 0x10, "Img_Rep4", "RdS_D", nullptr},
    {"LightingOff", 37, 0x0F, 0x00, "Img_Off", "RdS_E", nullptr},
    {"LightingMode", 37, 0x0F, 0x01, "Img_LED1", "RdS_E", nullptr},
    {"FallTimeLit", 52, 0xFF, 35, "Img_Fall7", "Bar1_E", nullptr},
    {"FallTimeDark", 52, 0xFF, 35, "Img_Fall8", "Bar1_D", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Read, ReadToPagesTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct MacroAreaCase {
    device::Layout layout;
    std::uint16_t first, second;  // the two halves of the packed area
};
void PrintTo(const MacroAreaCase& c, std::ostream* os) {
    *os << "layout " << device::LayoutName(c.layout);
}

class MacroAreaTest : public WindowTest, public ::testing::WithParamInterface<MacroAreaCase> {
  protected:
    MacroAreaTest() : WindowTest(Options()) {}
    static device::VirtualMouseOptions Options() {
        device::VirtualMouseOptions o;
        o.layout = GetParam().layout;
        return o;
    }
    std::vector<int> Addresses(std::uint8_t command) {
        std::vector<int> out;
        for (const auto& e : mouse.Log()) {
            if (!e.get && e.request[0] == 0x40 && e.request[1] == command) {
                out.push_back(e.request[2] * 256 + e.request[3]);
            }
        }
        return out;
    }
};

TEST_P(MacroAreaTest, ReadAndResetUseTheLayoutsHalves) {
    const MacroAreaCase& c = GetParam();
    Window();
    mouse.ClearLog();
    Tick();
    ASSERT_TRUE(Window().Link().Connected());
    EXPECT_EQ(Addresses(0x09), (std::vector<int>{c.first, c.second}));
    EXPECT_EQ(qobject_cast<QListWidget*>(Window().Control("LB_MacroName"))->count(), 4);
    mouse.ClearLog();
    Window().Btn_Reset_0Click();
    EXPECT_EQ(Addresses(0x07), (std::vector<int>{c.first, c.second}));
}

INSTANTIATE_TEST_SUITE_P(Layouts, MacroAreaTest,
                         ::testing::Values(MacroAreaCase{device::Layout::A, 0x0200, 0x0300},
                                           MacroAreaCase{device::Layout::B, 0x4000, 0x4100}));

TEST_F(WindowTest, LightingTypeDecidesTheModesAndColoursShown) {
    struct Case {
        std::uint8_t ledMode;
        std::vector<int> shownModes;
        bool colours;
    };
    const Case cases[] = {
        {0x03, {1, 2, 3, 4, 5}, true},  // RGB
        {0x41, {1, 2}, false},          // Sync
        {0x85, {1, 2, 3, 5}, true},     // NT
    };
    for (const Case& c : cases) {
        Window().Image().ParameterBuffer()[37] = c.ledMode;
        Window().DataBufToUI();
        for (int m = 1; m <= 5; ++m) {
            const bool shown =
                std::find(c.shownModes.begin(), c.shownModes.end(), m) != c.shownModes.end();
            EXPECT_EQ(Shown(("Img_LED" + std::to_string(m)).c_str()), shown) << int(c.ledMode);
            EXPECT_EQ(Shown(("lbl_LED" + std::to_string(m)).c_str()), shown) << int(c.ledMode);
        }
        EXPECT_EQ(Shown("cs_Col1"), c.colours);
        EXPECT_EQ(Shown("cs_DPI8Col"), c.colours);
        const QString selected = "Img_LED" + QString::number(c.ledMode & 0x0F);
        EXPECT_EQ(Picture(selected), "RdS_E");
    }
}

// Whatever the pages show of the parameter section goes back into its page copy unchanged.
TEST_F(WindowTest, PagesWrittenBackHoldWhatTheyShow) {
    TForm1& w = Window();
    for (const std::uint8_t ledMode : {0x03, 0x41, 0x85}) {
        config::ParameterSection& read = w.Image().ParameterBuffer();
        read[37] = ledMode;
        config::SetReportRateCode(read, 2);
        config::SetActiveProfile(read, 1);
        read[52] = read[53] = 35;
        w.DataBufToUI();
        // Spoil every field the pages hold, then write the pages back.
        config::ParameterSection& page = w.Image().PageParameter();
        page[6] ^= 0x30;
        page[33] = 0;
        page[37] ^= 0x0F;
        for (std::size_t i = 38; i <= 42; ++i) page[i] ^= 0x11;
        for (std::size_t i = 52; i <= 86; ++i) page[i] ^= 0x01;
        w.UIToDataBuf();
        EXPECT_EQ(page, read) << int(ledMode);
    }
    // A choice made on a page reaches the page copy.
    qobject_cast<QRadioButton*>(w.Control("rb_Rep4"))->setChecked(true);
    qobject_cast<QRadioButton*>(w.Control("rb_3"))->setChecked(true);
    qobject_cast<QLineEdit*>(w.Control("Edt_Col2G"))->setText("9");
    w.UIToDataBuf();
    EXPECT_EQ(config::ReportRateCode(w.Image().PageParameter()), 3);
    EXPECT_EQ(config::ActiveProfile(w.Image().PageParameter()), 2);
    EXPECT_EQ(config::LedColour(w.Image().PageParameter(), 1).g, 9);
}

TEST_F(WindowTest, ActiveProfileOfTheMouseSelectsItsPage) {
    mouse.Parameter()[33] = 2;
    Connect();
    EXPECT_EQ(Window().State().currentPage, Page::Fixed);
    EXPECT_EQ(Picture("Img_Fixed_1"), "SetS_02");
    EXPECT_EQ(Picture("Img_Main_1"), "SetS_01");
    EXPECT_TRUE(Shown("Disable"));  // profile 3 is shown read-only
}

TEST_F(WindowTest, ReadRunsBehindTheBusyPopupAndThePageBlockers) {
    TForm1& w = Window();
    int waitsWhileReading = 0, covered = 0;
    clock.onSleep = [&] {
        if (!w.ReadingDevice()) return;
        ++waitsWhileReading;
        if (w.Busy()->isVisible() && Shown("Disable_All_1") && Shown("Disable_All_5") &&
            !w.DevTimer().isActive()) {
            ++covered;
        }
    };
    Tick();
    clock.onSleep = nullptr;
    EXPECT_GT(waitsWhileReading, 0);
    EXPECT_EQ(covered, waitsWhileReading);
}

TEST_F(WindowTest, LosingTheMouseShowsTheNoticeAndItsReturnIsReadAgain) {
    Connect();
    Window().PageSwitch(Page::Advanced);
    ASSERT_EQ(VisibleGroup(), 2);
    mouse.Unplug();
    Tick();
    EXPECT_FALSE(Window().Link().Connected());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], T(1, "Str100") + "\r" + T(1, "Str101"));
    EXPECT_TRUE(Window().State().deviceLostView);
    EXPECT_EQ(Window().State().currentPage, Page::Advanced);
    EXPECT_EQ(VisibleGroup(), 1);
    EXPECT_TRUE(Shown("Disable"));
    EXPECT_EQ(Picture("Img_Main_3"), "SetS_02");
    EXPECT_EQ(Picture("Img_Adv_3"), "SetS_01");

    // Without a mouse the page buttons answer Str022.
    Window().PageSwitch(Page::Breathing);
    EXPECT_EQ(prompt.messages.back(), T(1, "Str022"));

    mouse.Plug();
    Tick();
    EXPECT_TRUE(Window().Link().Connected());
    EXPECT_FALSE(Window().State().deviceLostView);
    EXPECT_EQ(VisibleGroup(), 1);
}

struct SwitchCase {
    const char* name;
    bool connected;
    Page page;
    int gateProfile;       // -1: leave the profiles as read
    const char* gateCode;  // put into slot 5 of gateProfile
    const char* message;   // expected notice key, nullptr for none
    Page expectedPage;
    int expectedGroup;
    bool disableShown;
};
void PrintTo(const SwitchCase& c, std::ostream* os) {
    *os << c.name;
}

class PageSwitchTest : public WindowTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(PageSwitchTest, GatesAndPages) {
    const SwitchCase& c = GetParam();
    if (c.connected) Connect();
    if (c.gateProfile >= 0) {
        ASSERT_TRUE(Window().Image().SetKeySlotText(c.gateProfile, 5, c.gateCode));
    }
    Window().PageSwitch(c.page);
    if (c.message) {
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0], T(1, c.message));
    } else {
        EXPECT_TRUE(prompt.messages.empty());
    }
    EXPECT_EQ(Window().State().currentPage, c.expectedPage);
    EXPECT_EQ(VisibleGroup(), c.expectedGroup);
    EXPECT_EQ(Shown("Disable"), c.disableShown);
    const QString button = QString("Img_%1_4").arg(PageButtonName(c.expectedPage).data());
    EXPECT_EQ(Picture(button), "SetS_02");
}

const SwitchCase kSwitchCases[] = {
    {"NoMouse", false, Page::Advanced, -1, "", "Str022", Page::Main, 1, true},
    {"Advanced", true, Page::Advanced, -1, "", nullptr, Page::Advanced, 2, false},
    {"Breathing", true, Page::Breathing, -1, "", nullptr, Page::Breathing, 3, false},
    {"Macro", true, Page::Macro, -1, "", nullptr, Page::Macro, 4, false},
    {"Update", true, Page::Update, -1, "", nullptr, Page::Update, 5, false},
    {"SwitchRefused", true, Page::Switch, 0, "01010000", "Str020", Page::Main, 1, false},
    {"SwitchWithKbSwitchKey", true, Page::Switch, 0, "07000000", nullptr, Page::Switch, 1, false},
    {"SwitchGateIgnoresProfile2", true, Page::Switch, 1, "07000000", "Str020", Page::Main, 1,
     false},
    {"FixedWithResetKey", true, Page::Fixed, 1, "07010000", nullptr, Page::Fixed, 1, true},
    {"FixedGateIgnoresProfile1", true, Page::Fixed, 0, "07010000", "Str021", Page::Main, 1, false},
};

INSTANTIATE_TEST_SUITE_P(Pages, PageSwitchTest, ::testing::ValuesIn(kSwitchCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(WindowTest, RefusedSwitchLeavesAnOpenMenuOpen) {
    Window().Control("Pnl_Main")->show();
    Window().PageSwitch(Page::Advanced);  // no mouse
    EXPECT_TRUE(Shown("Pnl_Main"));
    Connect();
    Window().Control("Pnl_Main")->show();
    Window().PageSwitch(Page::Advanced);
    EXPECT_FALSE(Shown("Pnl_Main"));
}

TEST_F(WindowTest, EveryClickOnAProfilePageWritesTheProfileByte) {
    Connect();
    Window().PageSwitch(Page::Main);
    Window().PageSwitch(Page::Main);
    ASSERT_TRUE(Window().Image().SetKeySlotText(0, 2, "07000000"));
    Window().PageSwitch(Page::Switch);
    Window().PageSwitch(Page::Advanced);
    EXPECT_EQ(ParameterPieces(33), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(mouse.Parameter()[33], 1);
    EXPECT_EQ(Window().Image().PageParameter()[33], 1);
}

TEST_F(WindowTest, LanguageThereAndBackRestoresEveryPosition) {
    TForm1& w = Window();
    std::map<std::string, std::pair<QRect, bool>> before;
    for (const ControlDesign& d : WindowDesign()) {
        QWidget* c = w.Control(QString::fromStdString(d.name));
        before[d.name] = {c->geometry(), c->isHidden()};
    }
    const QString key1 = Caption("Key1");
    w.LanguageSwitch(3);
    EXPECT_TRUE(w.LayoutError().isEmpty()) << w.LayoutError().toStdString();
    EXPECT_EQ(Caption("Btn_Reset_1"), "Reset");
    EXPECT_EQ(qobject_cast<QComboBox*>(w.Control("CB_Insert"))->itemText(0), "Insert Delay Front");
    EXPECT_NE(Caption("Key1"), key1);  // translated by its text
    w.LanguageSwitch(1);
    for (const ControlDesign& d : WindowDesign()) {
        QWidget* c = w.Control(QString::fromStdString(d.name));
        EXPECT_EQ(c->isHidden(), before[d.name].second) << d.name;
        // A pair the layout hides is not placed (its keys may be absent), so it may keep
        // language 3's place; only what can be seen must be back.
        if (!c->isHidden()) {
            EXPECT_EQ(c->geometry(), before[d.name].first) << d.name;
        }
    }
    EXPECT_EQ(Caption("Key1"), key1);
    EXPECT_EQ(Picture("Img_Lang1_2"), "SetS_02");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(WindowTest, LanguageSwitchKeepsTheInsertChoice) {
    auto* combo = qobject_cast<QComboBox*>(Window().Control("CB_Insert"));
    combo->setCurrentIndex(2);
    Window().LanguageSwitch(2);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(combo->itemText(2), T(2, "Str412"));
}

TEST_F(WindowTest, HoverLightsTheRightPictures) {
    TForm1& w = Window();
    w.LabelEnter(w.Control("Btn_Reset_2"));
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(Picture("Img_Reset_" + QString::number(n)), "BtnS_02");
    w.LabelLeave(w.Control("Btn_Reset_2"));
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(Picture("Img_Reset_" + QString::number(n)), "BtnS_01");

    w.LabelEnter(w.Control("Btn_Adv_2"));
    EXPECT_EQ(Picture("Img_Adv_2"), "SetS_03");
    for (int n : {1, 3, 4, 5}) EXPECT_EQ(Picture("Img_Adv_" + QString::number(n)), "SetS_01");
    w.LabelLeave(w.Control("Btn_Adv_2"));
    EXPECT_EQ(Picture("Img_Adv_2"), "SetS_01");

    // The current page's button ends selected again.
    w.LabelEnter(w.Control("Btn_Main_2"));
    EXPECT_EQ(Picture("Img_Main_2"), "SetS_03");
    EXPECT_EQ(Picture("Img_Main_1"), "SetS_02");
    w.LabelLeave(w.Control("Btn_Main_2"));
    EXPECT_EQ(Picture("Img_Main_2"), "SetS_02");

    // Language buttons: the current language's ends selected.
    w.LabelEnter(w.Control("Btn_Lang1_3"));
    EXPECT_EQ(Picture("Img_Lang1_3"), "SetS_03");
    w.LabelLeave(w.Control("Btn_Lang1_3"));
    EXPECT_EQ(Picture("Img_Lang1_3"), "SetS_02");

    w.LabelEnter(w.Control("Btn_Web_4"));
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(Picture("Img_Web_" + QString::number(n)), "WebS_03");
}

TEST_F(WindowTest, LeavingMainInTheDeviceLostViewLeavesItNormal) {
    Connect();
    mouse.Unplug();
    Tick();
    ASSERT_TRUE(Window().State().deviceLostView);
    EXPECT_EQ(Picture("Img_Main_1"), "SetS_02");
    Window().LabelEnter(Window().Control("Btn_Main_1"));
    Window().LabelLeave(Window().Control("Btn_Main_1"));
    EXPECT_EQ(Picture("Img_Main_1"), "SetS_01");
}

TEST_F(WindowTest, HoveredCaptionScrollsAndComesBackOnLeave) {
    TForm1& w = Window();
    w.LanguageSwitch(3);
    QWidget* macro = w.Control("Btn_Macro_1");
    ASSERT_EQ(Caption("Btn_Macro_1"), "Macro");
    w.LabelEnter(macro);
    EXPECT_TRUE(w.LabelRun().isActive());
    w.LabelRunTimer();
    EXPECT_EQ(Caption("Btn_Macro_1"), "acro    M");
    w.LabelRunTimer();
    EXPECT_EQ(Caption("Btn_Macro_1"), "cro    Ma");
    w.LabelLeave(macro);
    EXPECT_FALSE(w.LabelRun().isActive());
    EXPECT_EQ(Caption("Btn_Macro_1"), "Macro");

    // A disabled label lights up but does not scroll.
    macro->setEnabled(false);
    w.LabelEnter(macro);
    EXPECT_EQ(Picture("Img_Macro_1"), "SetS_03");
    EXPECT_FALSE(w.LabelRun().isActive());
}

TEST_F(WindowTest, ResetWritesBothSectionsAndTheMacroAreaAndShowsMain) {
    Connect();
    Window().PageSwitch(Page::Advanced);
    mouse.ClearLog();
    mouse.Profile()[0] = 0x55;
    Window().Btn_Reset_0Click();
    EXPECT_EQ(Commands(0x05), 104 / 3 + 1 + 145 / 4 + 1);  // both sections, piece by piece
    int halves = 0;
    for (const auto& e : mouse.Log()) {
        if (!e.get && e.request[0] == 0x40 && e.request[1] == 0x07) {
            const int address = e.request[2] * 256 + e.request[3];
            EXPECT_TRUE(address == 0x0200 || address == 0x0300) << address;
            ++halves;
        }
    }
    EXPECT_EQ(halves, 2);
    const auto defaults = res::Get("KELV731xData");
    EXPECT_TRUE(std::equal(mouse.Profile().begin(), mouse.Profile().end(), defaults.begin() + 104));
    EXPECT_TRUE(std::equal(mouse.Memory().begin() + 0x200, mouse.Memory().begin() + 0x400,
                           defaults.begin() + 256));
    EXPECT_EQ(Window().State().currentPage, Page::Main);
    EXPECT_EQ(VisibleGroup(), 1);
    EXPECT_EQ(Picture("Img_Reset_5"), "BtnS_03");
    EXPECT_TRUE(Window().DevTimer().isActive());
}

TEST_F(WindowTest, ResetWithoutMouseOnlyAnswers) {
    Window().Btn_Reset_0Click();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], T(1, "Str022"));
    EXPECT_TRUE(mouse.Log().empty());
}

TEST_F(WindowTest, MouseOfAnotherStorageKindIsNotRead) {
    mouse.Options().layout = device::Layout::C;
    mouse.Parameter()[6] |= 0xC0;  // Flash macro storage
    mouse.Options().storageByte = 0x80;
    Tick();
    // The build's image is I2C: the mouse does not fit, nothing is read.
    EXPECT_EQ(Commands(0x09), 0);
    ASSERT_FALSE(prompt.messages.empty());
    EXPECT_EQ(prompt.messages.back(), T(1, "Str102"));
    EXPECT_TRUE(Window().State().deviceLostView);
}

// The shipped layout of language 1 with some keys given again (the later line wins).
res::LayoutRead Org1With(const std::string& extra) {
    const auto bytes = res::Get("org1");
    std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    text += "\r\n" + extra;
    const res::IniText ini = res::ParseLayoutText(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return res::ReadLayout(ini, "org1", res::LanguageLayoutKeys());
}

struct LayoutCase {
    const char* name;
    const char* extra;
    const char* control;
    QRect expected;  // an empty size means: compare the position only
};
void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class LayoutKeyTest : public WindowTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutKeyTest, PlacesTheControl) {
    const LayoutCase& c = GetParam();
    ASSERT_TRUE(Window().ApplyLayout(Org1With(c.extra))) << Window().LayoutError().toStdString();
    const QRect got = Window().Control(c.control)->geometry();
    if (c.expected.size().isEmpty()) {
        EXPECT_EQ(got.topLeft(), c.expected.topLeft());
    } else {
        EXPECT_EQ(got, c.expected);
    }
}

// Bar2 pictures are 19 x 11.
const LayoutCase kLayoutCases[] = {
    {"InsetsNarrowTheLabel", "Btn_Space_F=12\r\nBtn_Space_B=12\r\nBtn_B1_X=50\r\nBtn_B1_Y=497",
     "Btn_Main_1", QRect(62, 497, 103, 36)},
    {"InsetsLeaveThePicture", "Btn_Space_F=12\r\nBtn_Space_B=12\r\nBtn_B1_X=50\r\nBtn_B1_Y=497",
     "Img_Main_3", QRect(50, 497, 127, 36)},
    {"DpiColumnGrowsUpward", "DPI_Orientation=0\r\nDPI1_Steps_X=100\r\nDPI1_Steps_Y=300",
     "Img_DPI1_12", QRect(100, 300 - 11 * 11, 19, 11)},
    {"DpiRow", "DPI_Orientation=1\r\nDPI1_Steps_X=100\r\nDPI1_Steps_Y=300", "Img_DPI1_3",
     QRect(138, 300, 19, 11)},
    {"InsertDelayLabels", "InsertDelayEdit_X=136\r\nInsertDelayEdit_Y=65", "lbl_Delay",
     QRect(62, 67, 0, 0)},
    {"InsertDelayUnit", "InsertDelayEdit_X=136\r\nInsertDelayEdit_Y=65", "lbl_s_A",
     QRect(180, 67, 0, 0)},
    {"ReportRateLabelOffset", "Rep2_X=300\r\nRep2_Y=50", "lbl_Rep2", QRect(296, 48, 0, 0)},
    {"DisableRectangle", "Disable_X=10\r\nDisable_Y=20\r\nDisable_H=30\r\nDisable_W=40", "Disable",
     QRect(10, 20, 40, 30)},
};

INSTANTIATE_TEST_SUITE_P(Org1, LayoutKeyTest, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(WindowTest, DpiStripsKeepTheirPlaceForAnUnknownOrientation) {
    const QRect before = Window().Control("Img_DPI2_7")->geometry();
    ASSERT_TRUE(Window().ApplyLayout(
        Org1With("DPI_Orientation=2\r\nDPI2_Steps_X=5\r\nDPI2_Steps_Y=5\r\nDPI2_X=7\r\nDPI2_Y=8")));
    EXPECT_EQ(Window().Control("Img_DPI2_7")->geometry(), before);
    EXPECT_EQ(Window().Control("lbl_DPI2")->pos(), QPoint(7, 8));
}

TEST_F(WindowTest, HiddenPairNeedsNoPosition) {
    const std::string hidden = "Btn_A3_Enable=2\r\nBtn_A3_X=\r\nBtn_A3_Y=";
    ASSERT_TRUE(Window().ApplyLayout(Org1With(hidden))) << Window().LayoutError().toStdString();
    for (int n = 1; n <= 5; ++n) {
        EXPECT_FALSE(Shown(("Img_Reset_" + std::to_string(n)).c_str()));
        EXPECT_FALSE(Shown(("Btn_Reset_" + std::to_string(n)).c_str()));
    }
}

TEST_F(WindowTest, BadValueStopsTheLayoutAndKeepsWhatWasApplied) {
    TForm1& w = Window();
    const QPoint exit = w.Control("Img_Exit_1")->pos();
    const int resetTop = w.Control("Img_Reset_3")->y();
    const QString caption = Caption("Btn_Main_1");
    EXPECT_FALSE(w.ApplyLayout(Org1With("Size_A=15\r\nBtn_A3_X=12\r\nBtn_A3_Y=1x")));
    EXPECT_EQ(w.LayoutError(), "'1x' is not a valid integer value");
    EXPECT_EQ(w.Control("Btn_Reset_1")->font().pointSize(), 15);       // before the fault
    EXPECT_EQ(w.Control("Img_Reset_3")->pos(), QPoint(12, resetTop));  // the _X before its _Y
    EXPECT_EQ(w.Control("Img_Exit_1")->pos(), exit);                   // after it
    EXPECT_EQ(Caption("Btn_Main_1"), caption);
}

// The window really moving is checked on the X server by the smoke test.
TEST_F(WindowTest, PressOnTheBackgroundClosesMenusAndLeavesTheBusyPopupInPlace) {
    TForm1& w = Window();
    w.Control("Pnl_MseKey")->show();
    QWidget* base = w.Control("Img_Base_1");
    const QPointF local(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, local, QPointF(110, 110), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, local, QPointF(160, 130), Qt::NoButton, Qt::RightButton,
                     Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, QPointF(160, 130), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    w.LabelPress(base, &press);
    EXPECT_FALSE(Shown("Pnl_MseKey"));
    w.LabelMove(base, &move);
    w.LabelRelease(base, &release);
    // The busy pop-up stays where the window was at start-up.
    const QPoint busy = w.Busy()->pos();
    w.LabelMove(base, &move);
    EXPECT_EQ(w.Busy()->pos(), busy);
}

TEST_F(WindowTest, ExitDropsTheHandlesWithoutWriting) {
    Connect();
    Window().Btn_Exit_0Click();
    EXPECT_FALSE(Window().Link().Connected());
    EXPECT_TRUE(mouse.Log().empty());
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(WindowTest, WebButtonOpensTheAddressOfTheLayout) {
    UrlCatcher catcher;
    const QUrl url = QUrl::fromUserInput(Window().WebAddress());
    QDesktopServices::setUrlHandler(url.scheme(), &catcher, "Open");
    Window().Btn_Web_0Click();
    QDesktopServices::unsetUrlHandler(url.scheme());
    EXPECT_EQ(catcher.url, url);
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(Picture("Img_Web_" + QString::number(n)), "WebS_02");
}

TEST(SingleInstanceTest, SecondStartActivatesTheFirst) {
    const QString name = QString("kelv731x-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(name);
    int activations = 0;
    ASSERT_FALSE(first.AskRunningCopy());  // nobody listens yet
    ASSERT_TRUE(first.Listen([&] { ++activations; }));
    SingleInstance second(name);
    EXPECT_TRUE(second.AskRunningCopy());
    for (int i = 0; i < 200 && activations == 0; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(activations, 1);
}

}  // namespace
}  // namespace kelv::app

#include "window_test.moc"
