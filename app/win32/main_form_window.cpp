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
    kPanel3Id = 100,
    kFirstButtonId = 101,  // one per button
    kPanel2Id = 200,
    kSectionListBox1Id,
    kGaugeBar1Id,
    kLabel1Id,
    kSectionListBox2Id,
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

TImputFrmWindow::TImputFrmWindow(AppState& state, Application& application)
    : state_(state), application_(application) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(kClassName, windowProc);
    const POINT at = CentredOnScreen(kWidth, kHeight);
    const std::string title(kApplicationTitle);
    window_ = CreateWindowExA(0, kClassName, title.c_str(), kStyle, at.x, at.y, kWidth, kHeight,
                              nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("Cannot create the main window");

    subitems1Images_ = ImageStrip::fromResource(instance, "SILK_SUBITEMS", 16);
    imageList1_ = ImageStrip::fromResource(instance, "SILK_SECTIONS", 16);
    formPictures_ = ImageStrip::fromResource(instance, "TAMUX_FORM_PICTURES", 16);
    imgBkgrnd1_ = ImageStrip::fromImage(WeaveTile(24), 8);
    arImage1_ = ImageStrip::fromImage(topBarTile(), 4);
    wallpaper_ = ImageStrip::fromImage(WeaveTile(16), 8);
    createControls();

    form_ = std::make_unique<TImputFrm>(state_, application_, sectionListBox1_->model(),
                                        sectionListBox2_->model(), AboutWindowFactory(window_));
    form_->setView(this);
    state_.languageDialog.views = LanguageWindowFactory(window_);
    // Ending the program from inside a button's click: the window closes once that is done.
    state_.languageDialog.terminateApplication = [this] { PostMessageA(window_, WM_CLOSE, 0, 0); };
    state_.reportDialog.views =
        ReportWindowFactory(window_, imageList1_.get(), subitems1Images_.get());
    state_.waitSet.setViews(WaitWindowFactory(window_, kHourglassPicture));
    state_.waitSet.setCursor([this](bool hourglass) { setBusyCursor(hourglass); });
}

TImputFrmWindow::~TImputFrmWindow() {
    state_.waitSet.HideWaitDialog();
    state_.waitSet.setViews(nullptr);
    state_.waitSet.setCursor(nullptr);
    state_.languageDialog.views = nullptr;
    state_.languageDialog.terminateApplication = nullptr;
    state_.reportDialog.views = nullptr;
    form_.reset();
    sectionListBox2_.reset();
    label1_.reset();
    gaugeBar1_.reset();
    sectionListBox1_.reset();
    panel2_.reset();
    for (auto& button : buttons_) button.reset();
    panel3_.reset();
    DestroyLetGo(window_);
}

void TImputFrmWindow::createControls() {
    createTopBar();
    createBody();
    // Tab moves between the buttons and the panes that lie on the two panels.
    for (HWND panel : {panel3_->handle(), panel2_->handle()}) LetTabInto(panel);
}

void TImputFrmWindow::createTopBar() {
    RECT client;
    GetClientRect(window_, &client);
    TPanel::CreateArgs bar;
    bar.placement = {window_, 0, 0, client.right, kTopBarHeight, kPanel3Id};
    bar.color = kTopBarColor;
    bar.innerBevel = Bevel::Lowered;
    bar.tilePicture = {arImage1_.get(), 0};
    panel3_ = std::make_unique<TPanel>(bar);

    for (int i = 0; i < kFormButtonCount; ++i) {
        const auto which = static_cast<FormButton>(i);
        TExplBtn::CreateArgs args;
        args.placement = {panel3_->handle(), kButtonLefts[i], kButtonTop,
                          kButtonWidth,      kButtonHeight,   kFirstButtonId + i};
        // Until the form's models are there; ButtonChanged shows what they hold.
        args.bitmap = {formPictures_.get(), ButtonGreyPicture(which)};
        args.noFocusBitmap = {formPictures_.get(), ButtonColourPicture(which)};
        args.disabledBitmap = {formPictures_.get(), ButtonGreyPicture(which)};
        args.captionColor = Color::rgb(255, 255, 255);
        args.unselectedTextColor = Color::rgb(192, 192, 192);
        auto button = std::make_unique<TExplBtn>(args);
        button->onClick = [this, which] { form_->ButtonClick(which); };
        button->onMouseMove = [this, which] { form_->ButtonMouseMove(which); };
        button->onExit = [this, which] { form_->ButtonExit(which); };
        buttons_[static_cast<std::size_t>(i)] = std::move(button);
    }
}

void TImputFrmWindow::createBody() {
    TPanel::CreateArgs body;
    body.placement = {window_, 8, 32, 561, 417, kPanel2Id};
    body.color = kPanelColor;
    panel2_ = std::make_unique<TPanel>(body);
    HWND parent = panel2_->handle();

    TSectionListBox::CreateArgs left;
    left.placement = {parent, 1, 1, 193, 415, kSectionListBox1Id};
    left.style = LeftPaneStyle();
    left.sectionImages = imageList1_.get();
    left.subItemImages = subitems1Images_.get();
    left.wallpaper = {wallpaper_.get(), 0};
    sectionListBox1_ = std::make_unique<TSectionListBox>(left);

    TGaugeBar::CreateArgs gauge;
    gauge.placement = {parent, 200, 16, 353, 17, kGaugeBar1Id};
    gauge.maximum = 111;
    gauge.position = 111;
    gauge.showText = false;
    gauge.outerBorder.reset();
    gauge.innerBorder = Color::rgb(255, 255, 255);
    gaugeBar1_ = std::make_unique<TGaugeBar>(gauge);

    TExtLabel::CreateArgs label;
    label.placement = {parent, 208, 16, 0, 0, kLabel1Id};
    label.font.points = 10;
    label.font.bold = true;
    label.font.color = Color::rgb(255, 255, 255);
    label.transparent = true;
    label1_ = std::make_unique<TExtLabel>(label);
    // It is drawn over the band, so it must lie above it.
    SetWindowPos(label1_->handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    TSectionListBox::CreateArgs right;
    right.placement = {parent, 200, 87, 345, 329, kSectionListBox2Id};
    right.style = RightPaneStyle();
    right.sectionImages = subitems1Images_.get();
    right.subItemImages = subitems1Images_.get();
    right.wallpaper = {wallpaper_.get(), 0};
    sectionListBox2_ = std::make_unique<TSectionListBox>(right);
}

void TImputFrmWindow::ButtonChanged(FormButton which) {
    const TExplBtnModel& model = form_->Button(which);
    TExplBtn& button = *buttons_[static_cast<std::size_t>(which)];
    button.setCaption(model.Caption);
    button.setBitmap({formPictures_.get(), model.Bitmap});
}

void TImputFrmWindow::LabelChanged() {
    label1_->setCaption(form_->Label1());
}

void TImputFrmWindow::MinimizeApplication() {
    ShowWindow(window_, SW_MINIMIZE);
}

void TImputFrmWindow::CloseForm() {
    // Posted: the click that asks for it is still being handled by a control of this window.
    PostMessageA(window_, WM_CLOSE, 0, 0);
}

void TImputFrmWindow::setBusyCursor(bool hourglass) {
    busy_ = hourglass;
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(hourglass ? IDC_WAIT : IDC_ARROW)));
}

LRESULT CALLBACK TImputFrmWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    TImputFrmWindow* self = WindowObject<TImputFrmWindow>(window, message, lParam);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCCREATE) self->window_ = window;
    return self->handleMessage(message, wParam, lParam);
}

LRESULT TImputFrmWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            // The window's own tiled background, which the controls over it show through.
            EraseToTiledFace(window_, reinterpret_cast<HDC>(wParam), {imgBkgrnd1_.get(), 0});
            return 1;
        case WM_GETMINMAXINFO:
            KeepOuterSize(lParam, kWidth, kHeight);
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
            RunReportingErrors(state_.platform.dialogs, [this] { application_.activated(); });
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
