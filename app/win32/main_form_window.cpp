#include "app/win32/main_form_window.h"

#include <stdexcept>
#include <string>

#include "about/win32/about_window.h"
#include "app/exception_report.h"
#include "app/win32/wait_window.h"
#include "lang/win32/language_window.h"
#include "report/win32/report_window.h"
#include "ui/section_list_style.h"
#include "ui/weave_tile.h"
#include "ui/win32/background.h"
#include "ui/win32/gdi.h"
#include "ui/win32/top_level_window.h"

namespace tamux::win32 {

namespace {

constexpr char kClassName[] = "TImputFrm";
// The window's outer size, fixed.
constexpr int kWidth = 584;
constexpr int kHeight = 494;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

constexpr int kTopBarHeight = 25;
constexpr int kButtonLefts[kFormButtonCount] = {0, 190, 280, 370, 460};
constexpr int kButtonTop = 3;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 19;
constexpr Color kTopBarColor = Color::rgb(58, 84, 140);
constexpr Color kPanelColor = Color::rgb(197, 210, 226);
// Posted to itself when the program has become the active one.
constexpr UINT kActivatedMessage = WM_APP + 1;

enum ControlId {
    kTopBarPanelId = 100,
    kFirstButtonId = 101,  // one per button
    kBodyPanelId = 200,
    kLeftPaneId,
    kGaugeBarId,
    kCaptionLabelId,
    kRightPaneId,
};

// The top bar's picture: a band that darkens downwards, the height of the bar.
BgraImage topBarTile() {
    BgraImage tile;
    tile.width = 4;
    tile.height = kTopBarHeight;
    for (int y = 0; y < tile.height; ++y) {
        const int r = 96 - y * 2, g = 122 - y * 2, b = 176 - y * 2;
        const std::uint32_t pixel = 0xFF000000u | static_cast<std::uint32_t>(r << 16) |
                                    static_cast<std::uint32_t>(g << 8) |
                                    static_cast<std::uint32_t>(b);
        for (int x = 0; x < tile.width; ++x) tile.pixels.push_back(pixel);
    }
    return tile;
}

}  // namespace

MainFormWindow::MainFormWindow(AppState& state, Application& application)
    : state_(state), application_(application) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerWindowClass(kClassName, windowProc);
    const POINT at = centredOnScreen(kWidth, kHeight);
    const std::string title(kApplicationTitle);
    window_ = CreateWindowExA(0, kClassName, title.c_str(), kStyle, at.x, at.y, kWidth, kHeight,
                              nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("Cannot create the main window");

    deviceImages_ = ImageStrip::fromResource(instance, "SILK_SUBITEMS", 16);
    headingImages_ = ImageStrip::fromResource(instance, "SILK_SECTIONS", 16);
    formPictures_ = ImageStrip::fromResource(instance, "TAMUX_FORM_PICTURES", 16);
    backgroundTile_ = ImageStrip::fromImage(weaveTile(24), 8);
    topBarTile_ = ImageStrip::fromImage(topBarTile(), 4);
    wallpaper_ = ImageStrip::fromImage(weaveTile(16), 8);
    createControls();

    form_ = std::make_unique<MainForm>(state_, application_, leftPane_->model(),
                                       rightPane_->model(), aboutWindowFactory(window_));
    form_->setView(this);
    state_.languageDialog.views = languageWindowFactory(window_);
    // Ending the program from inside a button's click: the window closes once that is done.
    state_.languageDialog.terminateApplication = [this] { PostMessageA(window_, WM_CLOSE, 0, 0); };
    state_.reportDialog.views =
        reportWindowFactory(window_, headingImages_.get(), deviceImages_.get());
    state_.waitSet.setViews(waitWindowFactory(window_, kHourglassPicture));
    state_.waitSet.setCursor([this](bool hourglass) { setBusyCursor(hourglass); });
}

MainFormWindow::~MainFormWindow() {
    state_.waitSet.hideWaitDialog();
    state_.waitSet.setViews(nullptr);
    state_.waitSet.setCursor(nullptr);
    state_.languageDialog.views = nullptr;
    state_.languageDialog.terminateApplication = nullptr;
    state_.reportDialog.views = nullptr;
    form_.reset();
    rightPane_.reset();
    captionLabel_.reset();
    gaugeBar_.reset();
    leftPane_.reset();
    bodyPanel_.reset();
    for (auto& button : buttons_) button.reset();
    topBarPanel_.reset();
    destroyLetGo(window_);
}

void MainFormWindow::createControls() {
    createTopBar();
    createBody();
    // Tab moves between the buttons and the panes that lie on the two panels.
    for (HWND panel : {topBarPanel_->handle(), bodyPanel_->handle()}) letTabInto(panel);
}

void MainFormWindow::createTopBar() {
    RECT client;
    GetClientRect(window_, &client);
    Panel::CreateArgs bar;
    bar.placement = {window_, 0, 0, client.right, kTopBarHeight, kTopBarPanelId};
    bar.color = kTopBarColor;
    bar.innerBevel = Bevel::Lowered;
    bar.tilePicture = {topBarTile_.get(), 0};
    topBarPanel_ = std::make_unique<Panel>(bar);

    for (int i = 0; i < kFormButtonCount; ++i) {
        const auto which = static_cast<FormButton>(i);
        ExplorerButton::CreateArgs args;
        args.placement = {topBarPanel_->handle(), kButtonLefts[i], kButtonTop,
                          kButtonWidth,           kButtonHeight,   kFirstButtonId + i};
        // Until the form's models are there; buttonChanged shows what they hold.
        args.bitmap = {formPictures_.get(), buttonGreyPicture(which)};
        args.noFocusBitmap = {formPictures_.get(), buttonColourPicture(which)};
        args.disabledBitmap = {formPictures_.get(), buttonGreyPicture(which)};
        args.captionColor = Color::rgb(255, 255, 255);
        args.unselectedTextColor = Color::rgb(192, 192, 192);
        auto button = std::make_unique<ExplorerButton>(args);
        button->onClick = [this, which] { form_->buttonClick(which); };
        button->onMouseMove = [this, which] { form_->buttonMouseMove(which); };
        button->onExit = [this, which] { form_->buttonExit(which); };
        buttons_[static_cast<std::size_t>(i)] = std::move(button);
    }
}

void MainFormWindow::createBody() {
    Panel::CreateArgs body;
    body.placement = {window_, 8, 32, 561, 417, kBodyPanelId};
    body.color = kPanelColor;
    bodyPanel_ = std::make_unique<Panel>(body);
    HWND parent = bodyPanel_->handle();

    SectionListBox::CreateArgs left;
    left.placement = {parent, 1, 1, 193, 415, kLeftPaneId};
    left.style = leftPaneStyle();
    left.sectionImages = headingImages_.get();
    left.subItemImages = deviceImages_.get();
    left.wallpaper = {wallpaper_.get(), 0};
    leftPane_ = std::make_unique<SectionListBox>(left);

    GaugeBar::CreateArgs gauge;
    gauge.placement = {parent, 200, 16, 353, 17, kGaugeBarId};
    gauge.maximum = 111;
    gauge.position = 111;
    gauge.showText = false;
    gauge.outerBorder.reset();
    gauge.innerBorder = Color::rgb(255, 255, 255);
    gaugeBar_ = std::make_unique<GaugeBar>(gauge);

    ExtendedLabel::CreateArgs label;
    label.placement = {parent, 208, 16, 0, 0, kCaptionLabelId};
    label.font.points = 10;
    label.font.bold = true;
    label.font.color = Color::rgb(255, 255, 255);
    label.transparent = true;
    captionLabel_ = std::make_unique<ExtendedLabel>(label);
    // It is drawn over the band, so it must lie above it.
    SetWindowPos(captionLabel_->handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    SectionListBox::CreateArgs right;
    right.placement = {parent, 200, 87, 345, 329, kRightPaneId};
    right.style = rightPaneStyle();
    right.sectionImages = deviceImages_.get();
    right.subItemImages = deviceImages_.get();
    right.wallpaper = {wallpaper_.get(), 0};
    rightPane_ = std::make_unique<SectionListBox>(right);
}

void MainFormWindow::buttonChanged(FormButton which) {
    const ExplorerButtonModel& model = form_->Button(which);
    ExplorerButton& button = *buttons_[static_cast<std::size_t>(which)];
    button.setCaption(model.caption);
    button.setBitmap({formPictures_.get(), model.bitmap});
}

void MainFormWindow::labelChanged() {
    captionLabel_->setCaption(form_->captionLabel());
}

void MainFormWindow::minimizeApplication() {
    ShowWindow(window_, SW_MINIMIZE);
}

void MainFormWindow::closeForm() {
    // Posted: the click that asks for it is still being handled by a control of this window.
    PostMessageA(window_, WM_CLOSE, 0, 0);
}

void MainFormWindow::setBusyCursor(bool hourglass) {
    busy_ = hourglass;
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(hourglass ? IDC_WAIT : IDC_ARROW)));
}

LRESULT CALLBACK MainFormWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    MainFormWindow* self = windowObject<MainFormWindow>(window, message, lParam);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCCREATE) self->window_ = window;
    return self->handleMessage(message, wParam, lParam);
}

LRESULT MainFormWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            // The window's own tiled background, which the controls over it show through.
            eraseToTiledFace(window_, reinterpret_cast<HDC>(wParam), {backgroundTile_.get(), 0});
            return 1;
        case WM_GETMINMAXINFO:
            keepOuterSize(lParam, kWidth, kHeight);
            return 0;
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
                return TRUE;
            }
            break;
        case WM_ACTIVATEAPP:
            // Told once the activation is over: while the click that activates the program is
            // still being handled, the key states it reads are those from before the switch.
            if (wParam) PostMessageA(window_, kActivatedMessage, 0, 0);
            return 0;
        case kActivatedMessage:
            runReportingErrors(state_.platform.dialogs, [this] { application_.activated(); });
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            // The window is gone; the controls' objects live on without theirs until the end.
            HWND window = window_;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            return DefWindowProcA(window, message, wParam, lParam);
        }
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace tamux::win32
