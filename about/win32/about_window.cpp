#include "about/win32/about_window.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/win32/extended_label.h"
#include "ui/win32/gdi.h"
#include "ui/win32/image_strip.h"
#include "ui/win32/image_view.h"
#include "ui/win32/modal_dialog.h"

namespace tamux::win32 {

namespace {

constexpr int kClientWidth = 200;
constexpr int kClientHeight = 281;
constexpr int kLogoSize = 201;
constexpr int kMarkWidth = 81;
constexpr int kFlagWidth = 16;
// The version label is right-aligned: its right edge stays here whatever the text.
constexpr int kVersionLeft = 168;
constexpr int kVersionWidth = 29;

enum ControlId {
    kLogoId = 100,
    kNameId,
    kVersionId,
    kFirstFlagId,
    kBevelId = kFirstFlagId + kAboutFlagCount,
    kMarkId,
    kCopyrightId,
    kWwwCaptionId,
    kWwwId,
    kMailCaptionId,
    kMailId,
};

FontSpec font(const char* face, int points, Color color, bool bold = false) {
    FontSpec result;
    result.face = face;
    result.points = points;
    result.color = color;
    result.bold = bold;
    return result;
}

class AboutWindow : public AboutDialogView, private ModalDialog {
  public:
    AboutWindow(AboutDialog& dialog, HWND owner) : dialog_(dialog), owner_(owner) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        logo_ = ImageStrip::fromResource(instance, "TAMUX_ABOUT_LOGO", kLogoSize);
        mark_ = ImageStrip::fromResource(instance, "TAMUX_MAKER_MARK", kMarkWidth);
        flags_ = ImageStrip::fromResource(instance, "TAMUX_FLAGS", kFlagWidth);
    }

    int showModal() override {
        Frame frame;
        frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        frame.title = dialog_.caption;
        frame.width = kClientWidth;
        frame.height = kClientHeight;
        frame.clientSize = true;
        const INT_PTR result = run(owner_, frame);
        if (result == -1) throw std::runtime_error("The About window cannot be created");
        return static_cast<int>(result);
    }

  private:
    void onInit() override {
        HWND parent = window();
        const Color black = Color::rgb(0, 0, 0);
        const Color grey = Color::rgb(128, 128, 128);
        const Color blue = Color::rgb(0, 0, 255);

        ExtendedLabel::CreateArgs name;
        name.placement = {parent, 4, dialog_.labelName.top, 0, 0, kNameId};
        name.caption = dialog_.labelName.caption;
        name.font = font("Times New Roman", dialog_.labelName.points, black, true);
        name.shadow = true;
        name.shadowColor = Color::rgb(0, 128, 255);
        name.hint = dialog_.labelName.hint;
        labels_.push_back(std::make_unique<ExtendedLabel>(name));

        ExtendedLabel::CreateArgs version;
        version.placement = {parent, kVersionLeft, 199, kVersionWidth, 0, kVersionId};
        version.caption = dialog_.labelVer.caption;
        version.font = font("MS Sans Serif", 10, black, true);
        version.shadow = true;
        version.shadowColor = Color::rgb(255, 0, 0);
        version.align = ExtendedLabel::Align::Right;
        version.hint = dialog_.labelVer.hint;
        labels_.push_back(std::make_unique<ExtendedLabel>(version));

        for (int i = 0; i < kAboutFlagCount; ++i) {
            ImageView::CreateArgs flag;
            flag.placement = {parent, 168, 168, 25, 25, kFirstFlagId + i};
            flag.picture = {flags_.get(), i};
            auto image = std::make_unique<ImageView>(flag);
            image->setVisible(dialog_.visibleFlag && static_cast<int>(*dialog_.visibleFlag) == i);
            images_.push_back(std::move(image));
        }

        BevelLine::CreateArgs bevel;
        bevel.placement = {parent, 4, 216, 193, 5, kBevelId};
        bevel_ = std::make_unique<BevelLine>(bevel);

        ImageView::CreateArgs mark;
        mark.placement = {parent, 8, 224, 81, 13, kMarkId};
        mark.picture = {mark_.get(), 0};
        mark.stretch = true;
        images_.push_back(std::make_unique<ImageView>(mark));

        ExtendedLabel::CreateArgs copyright;
        copyright.placement = {parent, 92, 224, 105, 29, kCopyrightId};
        copyright.caption = dialog_.labelCopyright;
        copyright.font = font("Microsoft Sans Serif", 7, black);
        copyright.align = ExtendedLabel::Align::Right;
        copyright.wordWrap = true;
        copyright.autoSize = false;
        labels_.push_back(std::make_unique<ExtendedLabel>(copyright));

        labels_.push_back(caption(4, 249, "WWW:", kWwwCaptionId, grey));
        ExtendedLabel* www = link(248, dialog_.labelWww, kWwwId, blue);
        // A double-click opens the site once: its first click has opened it already.
        www->onClick = [this] { clicked([this] { dialog_.labelWwwDblClick(); }); };
        www->onDblClick = [this] { skipNextClick_ = true; };
        labels_.push_back(caption(4, 264, "E-mail:", kMailCaptionId, grey));
        ExtendedLabel* mail = link(264, dialog_.labelMail, kMailId, blue);
        mail->onClick = [this] { clicked([this] { dialog_.labelMailClick(); }); };
        mail->onDblClick = [this] { skipNextClick_ = true; };

        // The logo lies under the labels and the flag drawn over it.
        ImageView::CreateArgs logo;
        logo.placement = {parent, 0, 0, kLogoSize, kLogoSize, kLogoId};
        logo.picture = {logo_.get(), 0};
        images_.push_back(std::make_unique<ImageView>(logo));
        SetWindowPos(images_.back()->handle(), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    std::unique_ptr<ExtendedLabel> caption(int left, int top, const char* text, int id,
                                           Color color) {
        ExtendedLabel::CreateArgs args;
        args.placement = {window(), left, top, 0, 0, id};
        args.caption = text;
        args.font = font("Microsoft Sans Serif", 7, color);
        return std::make_unique<ExtendedLabel>(args);
    }

    ExtendedLabel* link(int top, const std::string& text, int id, Color color) {
        ExtendedLabel::CreateArgs args;
        // A fixed box to the dialog's right edge: measured to fit, the underlined text lost its
        // last letter on some systems.
        args.placement = {window(), 44, top, kClientWidth - 4 - 44, 13, id};
        args.caption = text;
        args.font = font("MS Sans Serif", 8, color);
        args.font.underline = true;
        args.link = true;
        args.autoSize = false;
        labels_.push_back(std::make_unique<ExtendedLabel>(args));
        return labels_.back().get();
    }

    template <typename Open>
    void clicked(Open open) {
        if (skipNextClick_) {
            skipNextClick_ = false;
            return;
        }
        open();
        if (dialog_.modalResult != 0) end(dialog_.modalResult);
    }

    void onCloseRequest() override { end(kModalCancel); }

    void paintBackground(HDC dc, const RECT& client) override {
        fillSolid(dc, client, RGB(255, 255, 255));
    }

    void onDestroy() override {
        labels_.clear();
        images_.clear();
        bevel_.reset();
    }

    AboutDialog& dialog_;
    HWND owner_;
    std::unique_ptr<ImageStrip> logo_;
    std::unique_ptr<ImageStrip> mark_;
    std::unique_ptr<ImageStrip> flags_;
    std::vector<std::unique_ptr<ExtendedLabel>> labels_;
    std::vector<std::unique_ptr<ImageView>> images_;
    std::unique_ptr<BevelLine> bevel_;
    bool skipNextClick_ = false;
};

}  // namespace

AboutViewFactory aboutWindowFactory(HWND owner) {
    return [owner](AboutDialog& dialog) -> std::unique_ptr<AboutDialogView> {
        return std::make_unique<AboutWindow>(dialog, owner);
    };
}

int showAboutDialog(const platform::Platform& platform, HWND owner) {
    return tamux::showAboutDialog(platform, aboutWindowFactory(owner));
}

}  // namespace tamux::win32
