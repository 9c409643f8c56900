#include "app/win32/wait_window.h"

#include <memory>
#include <stdexcept>

#include "ui/win32/extended_label.h"
#include "ui/win32/gdi.h"
#include "ui/win32/image_strip.h"
#include "ui/win32/image_view.h"
#include "ui/win32/top_level_window.h"

namespace tamux::win32 {

namespace {

constexpr char kClassName[] = "TDlgWaitSet";
constexpr int kClientWidth = 329;
constexpr int kClientHeight = 47;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION;  // a caption bar without any border icon
constexpr DWORD kExStyle = WS_EX_TOPMOST;
enum ControlId { kImageId = 100, kLabelId };

LRESULT CALLBACK waitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        fillSolid(reinterpret_cast<HDC>(wParam), client, RGB(255, 255, 255));
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WaitWindow : public WaitDialogView {
  public:
    WaitWindow(const WaitDialog& dialog, HWND owner, int hourglass)
        : dialog_(dialog), owner_(owner) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        if (!registerWindowClass(kClassName, waitWindowProc, reinterpret_cast<LPCSTR>(IDC_WAIT))) {
            throw std::runtime_error("Cannot register the wait window");
        }
        RECT frame{0, 0, kClientWidth, kClientHeight};
        AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        RECT around{};
        if (!owner || !GetWindowRect(owner, &around)) {
            around = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        }
        const int x = around.left + (around.right - around.left - width) / 2;
        const int y = around.top + (around.bottom - around.top - height) / 2;
        window_ = CreateWindowExA(kExStyle, kClassName, dialog_.caption.c_str(), kStyle, x, y,
                                  width, height, owner, nullptr, instance, nullptr);
        if (!window_) throw std::runtime_error("Cannot create the wait window");

        pictures_ = ImageStrip::fromResource(instance, "TAMUX_FORM_PICTURES", 16);
        ImageView::CreateArgs image;
        image.placement = {window_, 8, 8, 33, 33, kImageId};
        image.picture = {pictures_.get(), hourglass};
        imageWait_ = std::make_unique<ImageView>(image);

        ExtendedLabel::CreateArgs label;
        label.placement = {window_, 53, 16, 0, 0, kLabelId};
        label.caption = dialog_.labelWait;
        label.font.color = Color::rgb(0, 0, 128);
        label.font.bold = true;
        labelWait_ = std::make_unique<ExtendedLabel>(label);
    }

    ~WaitWindow() override {
        labelWait_.reset();
        imageWait_.reset();
        if (window_) DestroyWindow(window_);
    }

    void show() override {
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        paintNow(window_);
    }

    void captionChanged() override { SetWindowTextA(window_, dialog_.caption.c_str()); }

    void textChanged() override {
        labelWait_->setCaption(dialog_.labelWait);
        paintNow(labelWait_->handle());
    }

    void hide() override {
        ShowWindow(window_, SW_HIDE);
        if (owner_) paintNow(owner_);
    }

  private:
    // The work that follows keeps the message loop waiting: paint now, not when it comes back.
    static void paintNow(HWND window) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    const WaitDialog& dialog_;
    HWND owner_;
    HWND window_ = nullptr;
    std::unique_ptr<ImageStrip> pictures_;
    std::unique_ptr<ImageView> imageWait_;
    std::unique_ptr<ExtendedLabel> labelWait_;
};

}  // namespace

WaitViewFactory waitWindowFactory(HWND owner, int hourglass) {
    return [owner, hourglass](const WaitDialog& dialog) -> std::unique_ptr<WaitDialogView> {
        return std::make_unique<WaitWindow>(dialog, owner, hourglass);
    };
}

}  // namespace tamux::win32
