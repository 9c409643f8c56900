#include "lang/win32/language_window.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/win32/background.h"
#include "ui/win32/extended_label.h"
#include "ui/win32/image_strip.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/panel.h"
#include "ui/win32/speed_button.h"
#include "ui/win32/top_level_window.h"

namespace tamux::win32 {

namespace {

constexpr int kWindowWidth = 177;
constexpr int kWindowHeight = 251;
constexpr int kButtonLeft = 16;
constexpr int kLabelLeft = 48;
constexpr int kFlagSize = 23;
constexpr int kFlagWidth = 16;  // the flag pictures of the strip
constexpr int kSilkWidth = 16;
constexpr int kSilkTick = 4;
constexpr int kSilkCross = 5;
constexpr Color kPanelColor = Color::rgb(216, 208, 146);

enum ControlId { kPanelId = 100, kFirstFlagId = 110, kFirstLabelId = 120, kOkId = 130, kCancelId };

// The window's background: a darker khaki with a faint diagonal weave.
BgraImage backgroundTile() {
    BgraImage tile;
    tile.width = 8;
    tile.height = 8;
    tile.pixels.assign(64, 0xFFB4AA6Eu);
    for (int i = 0; i < 8; ++i) {
        tile.pixels[static_cast<std::size_t>(i * 8 + i)] = 0xFFA39A60u;
        tile.pixels[static_cast<std::size_t>(i * 8 + (7 - i))] = 0xFFC2B97Eu;
    }
    return tile;
}

class LanguageWindow : public LanguageDialogView, private ModalDialog {
  public:
    LanguageWindow(LanguageDialog& dialog, HWND owner) : dialog_(dialog), owner_(owner) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        flags_ = ImageStrip::fromResource(instance, "TAMUX_FLAGS", kFlagWidth);
        glyphs_ = ImageStrip::fromResource(instance, "SILK_SUBITEMS", kSilkWidth);
        background_ = ImageStrip::fromImage(backgroundTile(), 8);
    }
    ~LanguageWindow() override { dialog_.buttons().onChange = nullptr; }

    void showModal() override {
        Frame frame;
        frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        frame.title = std::string(kLanguageDialogTitle);
        frame.width = kWindowWidth;
        frame.height = kWindowHeight;
        if (run(owner_, frame) == -1) throw std::runtime_error("The language window failed");
    }

    void close() override { end(IDOK); }

  private:
    void onInit() override {
        Panel::CreateArgs panel;
        panel.placement = {window(), 4, 4, 161, 213, kPanelId};
        panel.color = kPanelColor;
        panel.outerBevel = Bevel::Raised;
        panel_ = std::make_unique<Panel>(panel);
        HWND parent = panel_->handle();
        // The buttons lie on the panel: Tab must reach into it.
        letTabInto(parent);

        for (int i = 0; i < kLanguageButtonCount; ++i) {
            const FlagButton& language = kLanguageButtons[static_cast<std::size_t>(i)];
            SpeedButton::CreateArgs flag;
            flag.placement = {parent,    kButtonLeft, language.top,
                              kFlagSize, kFlagSize,   kFirstFlagId + i};
            flag.glyph = {flags_.get(), i};
            auto button = std::make_unique<SpeedButton>(flag);
            button->onClick = [this, i] { dialog_.languageButtonClick(i); };
            button->setEnabled(dialog_.buttons().enabled(i));
            button->setDown(dialog_.buttons().down(i));
            flagButtons_[static_cast<std::size_t>(i)] = std::move(button);

            ExtendedLabel::CreateArgs label;
            label.placement = {parent, kLabelLeft, language.top + 8, 0, 0, kFirstLabelId + i};
            label.caption = std::string(language.label);
            labels_[static_cast<std::size_t>(i)] = std::make_unique<ExtendedLabel>(label);
        }
        // The model decides which button is down; the buttons follow.
        dialog_.buttons().onChange = [this](int button, bool down) {
            auto& flag = flagButtons_[static_cast<std::size_t>(button)];
            if (flag) flag->setDown(down);
        };

        ok_ = commandButton(8, kOkCaption, kSilkTick, kOkId);
        ok_->onClick = [this] { dialog_.okClick(); };
        cancel_ = commandButton(80, kCancelCaption, kSilkCross, kCancelId);
        cancel_->onClick = [this] { dialog_.cancelClick(); };
    }

    // The chosen language's button has the focus, or Ok when that one cannot be chosen.
    void onShown() override {
        const int down = dialog_.buttons().downButton();
        SetFocus(down >= 0 && dialog_.buttons().enabled(down)
                     ? flagButtons_[static_cast<std::size_t>(down)]->handle()
                     : ok_->handle());
    }

    std::unique_ptr<SpeedButton> commandButton(int left, std::string_view caption, int glyph,
                                               int id) {
        SpeedButton::CreateArgs args;
        args.placement = {panel_->handle(), left, 180, 73, 25, id};
        args.caption = std::string(caption);
        args.font.bold = true;
        args.font.color = Color::system(syscolor::kBtnText);
        args.glyph = {glyphs_.get(), glyph};
        return std::make_unique<SpeedButton>(args);
    }

    void onCloseRequest() override { dialog_.formClose(); }

    void paintBackground(HDC dc, const RECT& client) override {
        paintTiled(dc, client, Picture{background_.get(), 0});
    }

    void onDestroy() override {
        dialog_.buttons().onChange = nullptr;
        ok_.reset();
        cancel_.reset();
        for (auto& button : flagButtons_) button.reset();
        for (auto& label : labels_) label.reset();
        panel_.reset();
    }

    LanguageDialog& dialog_;
    HWND owner_;
    std::unique_ptr<ImageStrip> flags_;
    std::unique_ptr<ImageStrip> glyphs_;
    std::unique_ptr<ImageStrip> background_;
    std::unique_ptr<Panel> panel_;
    std::array<std::unique_ptr<SpeedButton>, kLanguageButtonCount> flagButtons_;
    std::array<std::unique_ptr<ExtendedLabel>, kLanguageButtonCount> labels_;
    std::unique_ptr<SpeedButton> ok_;
    std::unique_ptr<SpeedButton> cancel_;
};

}  // namespace

LanguageViewFactory languageWindowFactory(HWND owner) {
    return [owner](LanguageDialog& dialog) -> std::unique_ptr<LanguageDialogView> {
        return std::make_unique<LanguageWindow>(dialog, owner);
    };
}

}  // namespace tamux::win32
