#include "report/win32/report_window.h"

#include <array>
#include <cstddef>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "report/menu_item_form.h"
#include "ui/section_list_style.h"
#include "ui/weave_tile.h"
#include "ui/win32/background.h"
#include "ui/win32/gdi.h"
#include "ui/win32/modal_loop.h"
#include "ui/win32/panel.h"
#include "ui/win32/section_list_box.h"
#include "ui/win32/speed_button.h"
#include "ui/win32/top_level_window.h"

namespace tamux::win32 {

namespace {

constexpr char kClassName[] = "TReportFrm";
// The window's outer size, fixed.
constexpr int kWidth = 310;
constexpr int kHeight = 375;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

constexpr int kRightPanelWidth = 92;
constexpr Color kRightPanelColor = Color::rgb(255, 128, 0);
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;

// Pictures of SILK_SUBITEMS used here.
constexpr int kSilkWidth = 16;
constexpr int kPrinterGlyph = 2;
constexpr int kTickGlyph = 4;
constexpr int kCrossGlyph = 5;
constexpr int kPageGlyph = 6;

enum ControlId {
    kListPanelId = 100,
    kListId,
    kRightPanelId,
    kPrintButtonId,
    kSendButtonId,
    kSaveButtonId,
    kCloseButtonId,
};

enum MenuId : UINT { kSelectAllId = 1, kUnselectAllId = 2 };

struct ButtonPlace {
    int top;
    int glyph;
    int id;
};
constexpr std::array<ButtonPlace, 4> kButtons{{
    {9, kPrinterGlyph, kPrintButtonId},
    {34, kPageGlyph, kSendButtonId},
    {60, kTickGlyph, kSaveButtonId},
    {86, kCrossGlyph, kCloseButtonId},
}};

// The right panel's picture: light stripes over the orange.
BgraImage stripeTile() {
    BgraImage tile;
    tile.width = 4;
    tile.height = 4;
    tile.pixels.assign(16, 0);
    for (int x = 0; x < 4; ++x) tile.pixels[static_cast<std::size_t>(x)] = 0x30FFFFFFu;
    return tile;
}

class ReportWindow : public ReportDialogView {
  public:
    ReportWindow(ReportDialog& form, HWND owner, const ImageStrip* sectionImages,
                 const ImageStrip* subItemImages)
        : form_(form), owner_(owner) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        glyphs_ = ImageStrip::fromResource(instance, "SILK_SUBITEMS", kSilkWidth);
        background_ = ImageStrip::fromImage(weaveTile(24), 8);
        wallpaper_ = ImageStrip::fromImage(weaveTile(16), 8);
        stripes_ = ImageStrip::fromImage(stripeTile(), 4);

        registerWindowClass(kClassName, windowProc);
        const POINT at = centredOnScreen(kWidth, kHeight);
        window_ = CreateWindowExA(kExStyle, kClassName, form_.caption.c_str(), kStyle, at.x, at.y,
                                  kWidth, kHeight, owner_, nullptr, instance, this);
        if (!window_) throw std::runtime_error("Cannot create the report window");
        createControls(sectionImages, subItemImages);
    }

    ~ReportWindow() override {
        for (auto& button : buttons_) button.reset();
        rightPanel_.reset();
        list_.reset();
        listPanel_.reset();
        destroyLetGo(window_);
    }

    SectionList& reportSectionListBox() override { return list_->model(); }

    void showModal() override {
        closed_ = false;
        error_ = nullptr;
        runModal(window_, owner_, closed_, [this] {
            SetForegroundWindow(window_);
            SetFocus(list_->handle());
        });
        if (error_) std::rethrow_exception(error_);
    }

    void close() override { closed_ = true; }

    ScreenPoint windowOrigin() override {
        RECT outer{};
        GetWindowRect(window_, &outer);
        return {outer.left, outer.top};
    }

    void popupMenu(ScreenPoint at) override {
        HMENU menu = CreatePopupMenu();
        if (!menu) return;
        const MenuItemForm itemForm = menuItemFormOf(form_.system());
        if (!addMenuItem(menu, kSelectAllId, form_.selectAllCaption, itemForm) ||
            !addMenuItem(menu, kUnselectAllId, form_.unselectAllCaption, itemForm)) {
            // A menu with an item missing is not shown.
            DestroyMenu(menu);
            return;
        }
        const UINT chosen = static_cast<UINT>(
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                           at.x, at.y, 0, window_, nullptr));
        DestroyMenu(menu);
        guarded([&] {
            if (chosen == kSelectAllId) form_.selectAllClick();
            if (chosen == kUnselectAllId) form_.unselectAllClick();
        });
    }

  private:
    void createControls(const ImageStrip* sectionImages, const ImageStrip* subItemImages) {
        RECT client;
        GetClientRect(window_, &client);

        Panel::CreateArgs listPanel;
        listPanel.placement = {window_, 3, 5, 201, 329, kListPanelId};
        listPanel.outerBevel = Bevel::Lowered;
        listPanel_ = std::make_unique<Panel>(listPanel);

        SectionListBox::CreateArgs list;
        list.placement = {listPanel_->handle(), 4, 0, 193, 327, kListId};
        list.style = reportListStyle();
        list.sectionImages = sectionImages;
        list.subItemImages = subItemImages;
        list.wallpaper = {wallpaper_.get(), 0};
        list_ = std::make_unique<SectionListBox>(list);

        Panel::CreateArgs rightPanel;
        rightPanel.placement = {
            window_,      client.right - kRightPanelWidth, 0, kRightPanelWidth, client.bottom,
            kRightPanelId};
        rightPanel.color = kRightPanelColor;
        rightPanel.tilePicture = {stripes_.get(), 0};
        rightPanel_ = std::make_unique<Panel>(rightPanel);

        const std::array<const std::string*, 4> captions = {
            &form_.printButtonCaption, &form_.sendButtonCaption, &form_.saveButtonCaption,
            &form_.closeButtonCaption};
        const std::array<void (ReportDialog::*)(), 4> handlers = {
            &ReportDialog::printButtonClick, &ReportDialog::sendButtonClick,
            &ReportDialog::saveButtonClick, &ReportDialog::closeButtonClick};
        for (std::size_t i = 0; i < kButtons.size(); ++i) {
            SpeedButton::CreateArgs args;
            args.placement = {rightPanel_->handle(), 1,
                              kButtons[i].top,       kButtonWidth,
                              kButtonHeight,         kButtons[i].id};
            args.caption = *captions[i];
            args.glyph = {glyphs_.get(), kButtons[i].glyph};
            args.font.bold = true;
            args.font.color = Color::system(syscolor::kBtnText);
            auto button = std::make_unique<SpeedButton>(args);
            const auto handler = handlers[i];
            button->onClick = [this, handler] { guarded([&] { (form_.*handler)(); }); };
            buttons_[i] = std::move(button);
        }
        // Tab reaches the buttons on their panel and the list on its own.
        for (HWND panel : {listPanel_->handle(), rightPanel_->handle()}) letTabInto(panel);
    }

    // Appends an item in the form the system takes; a system that refuses the full form gets
    // the text alone. False when neither form goes in.
    bool addMenuItem(HMENU menu, UINT id, const std::string& caption, MenuItemForm form) {
        if (form == MenuItemForm::TextAndPicture && insertMenuItem(menu, id, caption, form)) {
            return true;
        }
        return insertMenuItem(menu, id, caption, MenuItemForm::TextOnly);
    }

    bool insertMenuItem(HMENU menu, UINT id, const std::string& caption, MenuItemForm form) {
        MENUITEMINFOA item{};
        item.wID = id;
        item.dwTypeData = const_cast<char*>(caption.c_str());
        if (form == MenuItemForm::TextAndPicture) {
            item.cbSize = sizeof(item);
            item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
            // The picture is drawn on WM_DRAWITEM.
            item.hbmpItem = glyphs_ ? HBMMENU_CALLBACK : nullptr;
        } else {
            // The record as Windows 95 and NT 4 know it: everything before hbmpItem.
            item.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
            item.fMask = MIIM_ID | MIIM_TYPE;
            item.fType = MFT_STRING;
            item.cch = static_cast<UINT>(caption.size());
        }
        return InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &item) != FALSE;
    }

    // Runs a handler of the form from inside the message loop, where an error must not travel
    // through the system's frames: it closes the window and comes out of showModal instead.
    template <typename Work>
    void guarded(Work&& work) {
        try {
            work();
        } catch (...) {
            error_ = std::current_exception();
            closed_ = true;
        }
    }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        ReportWindow* self = windowObject<ReportWindow>(window, message, lParam);
        if (!self) return DefWindowProcA(window, message, wParam, lParam);
        return self->handleMessage(window, message, wParam, lParam);
    }

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_ERASEBKGND:
                eraseToTiledFace(window, reinterpret_cast<HDC>(wParam), {background_.get(), 0});
                return 1;
            case WM_GETMINMAXINFO:
                keepOuterSize(lParam, kWidth, kHeight);
                return 0;
            case WM_CLOSE:
                guarded([this] { form_.formClose(); });
                return 0;
            case WM_COMMAND:
                // Escape, through the dialog keys: as the close box.
                if (LOWORD(wParam) == IDCANCEL) {
                    guarded([this] { form_.formClose(); });
                    return 0;
                }
                break;
            case WM_MEASUREITEM: {
                auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
                if (item->CtlType != ODT_MENU) break;
                item->itemWidth = kSilkWidth;
                item->itemHeight = kSilkWidth;
                return TRUE;
            }
            case WM_DRAWITEM: {
                auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
                if (item->CtlType != ODT_MENU || !glyphs_) break;
                const int glyph = item->itemID == kSelectAllId ? kTickGlyph : kCrossGlyph;
                const int top = item->rcItem.top +
                                (item->rcItem.bottom - item->rcItem.top - glyphs_->height()) / 2;
                glyphs_->draw(item->hDC, glyph, item->rcItem.left, top);
                return TRUE;
            }
            case WM_NCDESTROY:
                SetWindowLongPtrA(window, GWLP_USERDATA, 0);
                window_ = nullptr;
                break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    ReportDialog& form_;
    HWND owner_;
    HWND window_ = nullptr;
    bool closed_ = false;
    std::exception_ptr error_;

    std::unique_ptr<ImageStrip> glyphs_;
    std::unique_ptr<ImageStrip> background_;
    std::unique_ptr<ImageStrip> wallpaper_;
    std::unique_ptr<ImageStrip> stripes_;
    std::unique_ptr<Panel> listPanel_;
    std::unique_ptr<SectionListBox> list_;
    std::unique_ptr<Panel> rightPanel_;
    std::array<std::unique_ptr<SpeedButton>, kButtons.size()> buttons_;
};

}  // namespace

ReportViewFactory reportWindowFactory(HWND owner, const ImageStrip* sectionImages,
                                      const ImageStrip* subItemImages) {
    return [=](ReportDialog& form) -> std::unique_ptr<ReportDialogView> {
        return std::make_unique<ReportWindow>(form, owner, sectionImages, subItemImages);
    };
}

}  // namespace tamux::win32
