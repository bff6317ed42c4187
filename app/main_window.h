// The main window: the five page groups with their navigation bars, the start-up sequence,
// page switches, the skin, the layout and the texts, and the window side of the device link.
#pragma once

#include <QColor>
#include <QHash>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/services.h"
#include "app/shell_rules.h"
#include "app/widgets.h"
#include "config/default_image.h"
#include "config/image.h"
#include "config/transfer.h"
#include "device/device_link.h"
#include "macros/store.h"
#include "resources/language.h"
#include "resources/layout.h"
#include "settings/page_values.h"

namespace kelv::app {

class TFormLoadingUI;

struct WindowServices {
    device::HidPort* port = nullptr;
    device::Clock* clock = nullptr;
    Prompt* prompt = nullptr;
    int language = 1;           // language the start-up ends in
    bool startDevTimer = true;  // tests drive DevTimerTimer by hand
};

class TForm1 : public QWidget,
               public device::LinkListener,
               public device::Host,
               public config::TransferListener,
               public LabelSink {
  public:
    explicit TForm1(const WindowServices& services, QWidget* parent = nullptr);
    ~TForm1() override;

    // Creates the busy pop-up and places it once, below the window's centre.
    void CreateBusyPopup();
    // The same, once the window has been painted: the pop-up's animation is first needed when
    // the mouse is read, seconds later, and decoding it need not hold up the first frame.
    void CreateBusyPopupAfterFirstPaint() { busyAfterPaint_ = true; }

    // --- state for other code and tests ---
    const ShellState& State() const { return state_; }
    bool ReadingDevice() const { return readingDevice_; }
    device::DeviceLink& Link() { return *link_; }
    config::ConfigImage& Image() { return image_; }
    const std::vector<StartupStep>& StartupLog() const { return startupLog_; }
    const QString& WebAddress() const { return webUrl_; }
    const QString& AppTitle() const { return appTitle_; }
    QTimer& DevTimer() { return devTimer_; }
    QTimer& LabelRun() { return labelRun_; }
    TFormLoadingUI* Busy() { return busy_; }
    QWidget* Control(const QString& name) const { return controls_.value(name); }
    // Resource name last put into a picture control ("" if none).
    QString PictureOf(const QString& control) const { return pictureOf_.value(control); }
    // Applies what a layout read holds, in its order; false (and LayoutError set) when the read
    // stopped at a bad value. Texts are not touched.
    bool ApplyLayout(const res::LayoutRead& read);
    // The layout error of the last ApplyLanguageLayout, "" when it was complete.
    const QString& LayoutError() const { return layoutError_; }

    // --- handlers ---
    void PageSwitch(Page page);
    void Btn_Main_0Click() { PageSwitch(Page::Main); }
    void Btn_Switch_0Click() { PageSwitch(Page::Switch); }
    void Btn_Fixed_0Click() { PageSwitch(Page::Fixed); }
    void Btn_Reset_0Click();
    void Btn_Exit_0Click();
    void Btn_Web_0Click();
    void LanguageSwitch(int language);  // Btn_Lang1_0Click .. Btn_Lang3_0Click
    void DevTimerTimer();
    void LabelRunTimer();
    void RefreshAPPage();
    void RefreshErrorAP();
    void ButtonTypeB_1IconInit();
    void BlockAllPages();
    void UnblockAllPages();
    void HideAllMenu();
    void ClearAP() { HideAllMenu(); }
    void Btn_Read();
    void DataBufToUI();
    // Every page back into the page copy of the parameter section (the reverse of RefreshUI).
    void UIToDataBuf();
    settings::PageValues ReadPageValues() const;
    void DefaultParameter();
    void InitNoDevice();

    // device::LinkListener
    void DeviceLost() override;
    void ReadCycleRequested() override {
        if (!closing_) Btn_Read();
    }
    void StorageMismatch() override { RefreshErrorAP(); }
    void KeyMenuHeightChanged(int pixels) override;
    // device::Host
    void PumpMessages() override;
    void ShowBusy() override;
    void HideBusy() override;
    void ShowMessage(const std::string& text) override;

    // config::TransferListener: the window's steps around whole-configuration transfers
    void BlockPages() override;
    void UnblockPages() override;
    void PagesChanged() override { RefreshUI(); }
    void MacrosChanged() override { RefreshMacroLists(); }
    void ReadFinished() override { RefreshStorageControls(); }

    // LabelSink
    void LabelEnter(QWidget* label) override;
    void LabelLeave(QWidget* label) override;
    void LabelPress(QWidget* label, QMouseEvent* event) override;
    void LabelMove(QWidget* label, QMouseEvent* event) override;
    void LabelRelease(QWidget* label, QMouseEvent* event) override;
    void LabelClick(QWidget* label) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void Startup();
    void Step(StartupStep step) { startupLog_.push_back(step); }
    void Fault(const std::exception& e);

    // pictures and texts
    void SetPicture(const QString& control, std::string_view resource);
    void SetPictures(const QString& base, std::string_view resource);  // the five copies
    void SetCaption(const QString& control, const QString& text);
    QString Tr(std::string_view key) const;
    void LoadSkinImages();
    void ApplyLanguageLayout();
    void ApplyBackgrounds();
    void ApplyLayoutValues(const res::LayoutRead& read);
    // One position key pair (base "btn_a3", "dpi2_steps", ...) applied to its controls.
    void PlacePoint(const std::string& base, int px, int py);
    void ApplyTexts();
    void TranslateKeyCaptions();
    void LoadWebLink();
    void UpdateWindowMask();

    // layout helpers
    void PlacePair(const QString& img, const QString& btn, int x, int y);
    void PlaceTenStrip(const QString& img, const QString& lbl, int x, int y);
    void PlaceDpiStrip(const QString& img, int x, int y);
    void Move(const QString& control, int x, int y);
    void SetFont(const QStringList& controls, int points);
    void SetTextColour(const QStringList& controls, QColor colour);
    void SetVisible(const QString& control, bool visible);

    // pages
    void ShowGroup(int group);
    void SetPageSelected(Page page);
    void RefreshProfileKeys(int profile);
    std::vector<std::string> ProfileKeyNames(int profile) const;
    void RefreshUI();
    void Radio(const QString& name);  // selects a hidden choice
    void RefreshStorageControls();
    void RefreshMacroLists();
    void StartDrag(QWidget* source, QMouseEvent* event);

    WindowServices services_;
    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<config::TransferService> transfer_;
    ShellState state_;
    bool readingDevice_ = false;
    bool insertMode_ = false;
    bool patchLoaded_ = false;
    res::LanguageTable texts_;
    config::ConfigImage image_;
    config::DefaultImage defaults_;
    macros::MacroStore store_;
    QHash<QString, QWidget*> controls_;
    QHash<QString, QString> pictureOf_;
    PictureCache pictures_;
    QTimer devTimer_;
    QTimer labelRun_;
    Marquee marquee_;
    QString hoverLabel_;
    QString webUrl_;
    QString appTitle_ = QStringLiteral("Gaming Mouse");
    QString layoutError_;
    QString maskOf_;  // background the window's shape was made from
    std::vector<StartupStep> startupLog_;
    TFormLoadingUI* busy_ = nullptr;

    // kept from the layout
    QColor dpiSelected_, dpiUnselected_, macroText_, macroListText_;
    int macroNameHeight_ = 20;
    int spaceF_ = 0, spaceB_ = 0, dpiOrientation_ = 1;
    int dpiLevelCount_ = 1;
    int fallStep_ = 1;
    std::optional<config::LedType> ledType_;  // of the last refresh; cleared with the mouse
    bool keepTop_ = false;                    // placing from an _X alone: tops stay
    std::map<std::string, std::pair<int, int>> rows_;  // option rows waiting for their _H

    // manual dragging where the window manager cannot move the window
    bool dragging_ = false;
    QPoint dragOffset_;
    bool firstPaint_ = true;
    bool busyAfterPaint_ = false;
    bool closing_ = false;
    bool wayland_ = false;
};

}  // namespace kelv::app
