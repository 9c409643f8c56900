#include "ui/win32/speed_button.h"

namespace tamux::win32 {

SpeedButtonGroup::SpeedButtonGroup(bool allowAllUp) : model_(allowAllUp) {
    model_.onChange = [this](int button, bool) {
        if (buttons_[static_cast<std::size_t>(button)]) {
            buttons_[static_cast<std::size_t>(button)]->invalidate();
        }
    };
}

int SpeedButtonGroup::attach(SpeedButton* button) {
    buttons_.push_back(button);
    return model_.addButton();
}

void SpeedButtonGroup::detach(int index) {
    buttons_[static_cast<std::size_t>(index)] = nullptr;
}

SpeedButton::SpeedButton(const CreateArgs& args) : args_(args) {
    if (args_.group) groupIndex_ = args_.group->attach(this);
    create("TamuxSpeedButton", args.placement, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS);
}

SpeedButton::~SpeedButton() {
    if (args_.group) args_.group->detach(groupIndex_);
}

bool SpeedButton::down() const {
    return args_.group ? args_.group->model().down(groupIndex_) : ownDown_;
}

void SpeedButton::setDown(bool down) {
    if (args_.group) {
        args_.group->model().setDown(groupIndex_, down);
    } else {
        ownDown_ = down;
    }
    invalidate();
}

void SpeedButton::setEnabled(bool enabled) {
    if (args_.group) args_.group->model().setEnabled(groupIndex_, enabled);
    Control::setEnabled(enabled);
}

void SpeedButton::clicked() {
    if (!IsWindowEnabled(handle())) return;
    if (args_.group) args_.group->model().click(groupIndex_);
    if (onClick) onClick();
}

void SpeedButton::paintClient(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    paintParentBackground(handle(), dc);
    bool enabled = IsWindowEnabled(handle()) != FALSE;
    bool sunken = down() || (pressed() && hot());
    if (down()) {
        RECT inside = client;
        InflateRect(&inside, -1, -1);
        fillSolid(dc, inside, GetSysColor(COLOR_3DLIGHT));
    }
    if (sunken) {
        frame3D(dc, client, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    } else if (!args_.flat || (hot() && enabled)) {
        frame3D(dc, client, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
    int shift = sunken ? 1 : 0;
    bool hasCaption = !args_.caption.empty();
    int glyphWidth = args_.glyph.valid() ? args_.glyph.strip->width() : 0;
    int x = hasCaption ? 4 : (client.right - glyphWidth) / 2;
    if (args_.glyph.valid()) {
        int height = args_.glyph.strip->height();
        args_.glyph.strip->draw(dc, args_.glyph.index, x + shift,
                                (client.bottom - height) / 2 + shift, glyphWidth, height, !enabled);
        x += glyphWidth + 4;
    }
    if (hasCaption) {
        SelectInDc select(dc, fonts_.font(args_.font));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, enabled ? toColorRef(args_.font.color) : GetSysColor(COLOR_GRAYTEXT));
        RECT text{x + shift, shift, client.right - 2 + shift, client.bottom + shift};
        DrawTextA(
            dc, args_.caption.c_str(), static_cast<int>(args_.caption.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (args_.glyph.valid() ? DT_LEFT : DT_CENTER));
    }
    if (GetFocus() == handle()) {
        RECT focus = client;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace tamux::win32
