#include "ui/win32/section_list_box.h"

#include <algorithm>

#include "ui/win32/background.h"
#include "ui/win32/markup_painter.h"

namespace tamux::win32 {

namespace {

constexpr int kTickBoxLeft = 15;  // the box fills the pixels 15..27 (the user may hit 15..28)
constexpr int kTickBoxSize = 13;
constexpr int kImageGap = 4;
constexpr int kSmoothSteps = 5;
// A cache of laid-out lines larger than this is a sign of a long session, not of a bigger pane.
constexpr std::size_t kMaxCachedLayouts = 4000;

ListKey* keyFor(WPARAM key, ListKey& out) {
    switch (key) {
        case VK_UP:
            out = ListKey::Up;
            break;
        case VK_DOWN:
            out = ListKey::Down;
            break;
        case VK_PRIOR:
            out = ListKey::PageUp;
            break;
        case VK_NEXT:
            out = ListKey::PageDown;
            break;
        case VK_HOME:
            out = ListKey::Home;
            break;
        case VK_END:
            out = ListKey::End;
            break;
        case VK_SPACE:
            out = ListKey::Space;
            break;
        case VK_RETURN:
            out = ListKey::Enter;
            break;
        default:
            return nullptr;
    }
    return &out;
}

}  // namespace

SectionListBox::SectionListBox(const CreateArgs& args)
    : style_(args.style),
      sectionImages_(args.sectionImages),
      subItemImages_(args.subItemImages),
      wallpaper_(args.wallpaper),
      model_(args.style.geometry),
      measurer_(fonts_) {
    model_.setView(this);
    model_.setLineMeasure(
        [this](const ListSection& section, int item) { return lineLayout(section, item).height; });
    create("TamuxSectionListBox", args.placement, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS);
    if (handle()) {
        RECT client;
        GetClientRect(handle(), &client);
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
        model_.setViewportHeight(clientHeight_);
    }
}

SectionListBox::~SectionListBox() {
    model_.setView(nullptr);
    model_.setLineMeasure(nullptr);
}

void SectionListBox::setRedraw(bool on) {
    redraw_ = on;
}

void SectionListBox::repaint() {
    if (redraw_ && handle()) InvalidateRect(handle(), nullptr, FALSE);
}

int SectionListBox::rowsWidth() const {
    return std::max(0, clientWidth_ - style_.scrollBarWidth);
}

int SectionListBox::lineTextLeft(const ListSection& section, int item) const {
    int left = style_.geometry.lineIndent;
    if (section.controlType() == SectionControlType::TickBox)
        left = kTickBoxLeft + kTickBoxSize + kImageGap;
    if (subItemImages_ && section.subItems().imageIndex(item) >= 0) {
        left += subItemImages_->width() + kImageGap;
    }
    return left;
}

int SectionListBox::lineTextWidth(const ListSection& section, int item) const {
    return std::max(1, rowsWidth() - lineTextLeft(section, item) - 2);
}

const MarkupLayout& SectionListBox::lineLayout(const ListSection& section, int item) {
    int width = lineTextWidth(section, item);
    std::string key = std::to_string(width) + ':' + section.subItems()[item];
    auto found = layouts_.find(key);
    if (found != layouts_.end()) return found->second;
    if (layouts_.size() > kMaxCachedLayouts) layouts_.clear();
    MarkupContext context = screenMarkupContext(style_.lineFont, subItemImages_, width);
    context.wordWrap = style_.wordWrap;
    context.tabStops = style_.tabStops;
    return layouts_.emplace(key, layoutMarkup(section.subItems()[item], context, measurer_))
        .first->second;
}

ScrollBarGeometry SectionListBox::scrollGeometry() const {
    return ScrollBarGeometry{clientHeight_, model_.contentHeight(), clientHeight_, 12};
}

void SectionListBox::smoothScrollTo(int offset) {
    int start = model_.scrollOffset();
    int target = std::clamp(offset, 0, model_.maxScrollOffset());
    if (target == start) return;
    // Small steps painted at once: the content glides instead of jumping, without a timer.
    for (int step = 1; step <= kSmoothSteps; ++step) {
        model_.scrollTo(start + (target - start) * step / kSmoothSteps);
        if (redraw_) RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (step < kSmoothSteps) Sleep(8);
    }
}

void SectionListBox::resized() {
    RECT client;
    GetClientRect(handle(), &client);
    if (client.right != clientWidth_) layouts_.clear();
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;
    model_.setViewportHeight(clientHeight_);
    model_.invalidateLayout();
}

bool SectionListBox::onScrollBar(int x) const {
    return x >= rowsWidth();
}

void SectionListBox::scrollBarDown(int y) {
    ScrollBarGeometry geometry = scrollGeometry();
    ScrollThumb thumb = geometry.thumb(model_.scrollOffset());
    if (thumb.length == 0) return;
    if (y >= thumb.top && y < thumb.top + thumb.length) {
        draggingThumb_ = true;
        dragGrab_ = y - thumb.top;
        SetCapture(handle());
    } else {
        int page = std::max(style_.geometry.lineHeight, clientHeight_ - style_.geometry.lineHeight);
        smoothScrollTo(model_.scrollOffset() + (y < thumb.top ? -page : page));
    }
}

LRESULT SectionListBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // everything is painted off-screen in WM_PAINT
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle(), &ps);
            if (redraw_) {
                RECT client{0, 0, clientWidth_, clientHeight_};
                BufferedPaint buffer(dc, client);
                paint(buffer.dc(), client);
            }
            EndPaint(handle(), &ps);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client{0, 0, clientWidth_, clientHeight_};
            paint(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_SIZE:
            resized();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            repaint();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            SetFocus(handle());
            int x = mouseX(lParam), y = mouseY(lParam);
            if (onScrollBar(x)) {
                scrollBarDown(y);
            } else {
                model_.mouseDown(MouseButton::Left, x, y);
            }
            return 0;
        }
        case WM_RBUTTONDOWN:
            SetFocus(handle());
            return 0;
        case WM_MOUSEMOVE:
            if (draggingThumb_) {
                model_.scrollTo(scrollGeometry().offsetForThumbTop(mouseY(lParam) - dragGrab_));
                if (redraw_) UpdateWindow(handle());
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            if (draggingThumb_) {
                draggingThumb_ = false;
                ReleaseCapture();
                return 0;
            }
            MouseButton button = message == WM_LBUTTONUP   ? MouseButton::Left
                                 : message == WM_RBUTTONUP ? MouseButton::Right
                                                           : MouseButton::Middle;
            model_.mouseUp(button, mouseX(lParam), mouseY(lParam));
            return 0;
        }
        case WM_CAPTURECHANGED:
            draggingThumb_ = false;
            return 0;
        case WM_MOUSEWHEEL:
            wheelTurned(message, wParam);
            return 0;
        case WM_KEYDOWN: {
            ListKey key;
            if (!keyFor(wParam, key)) break;
            int before = model_.scrollOffset();
            model_.keyDown(key);
            int after = model_.scrollOffset();
            if (after != before && handle()) {
                model_.scrollTo(before);
                smoothScrollTo(after);
            }
            return 0;
        }
        case WM_CHAR:
            if (wParam == ' ') return 0;  // handled as a key; no beep
            break;
    }
    if (const unsigned wheelMessage = msWheelMessage(); wheelMessage && message == wheelMessage) {
        wheelTurned(message, wParam);
        return 0;
    }
    return defaultHandling(message, wParam, lParam);
}

unsigned SectionListBox::msWheelMessage() {
    static const unsigned registered = RegisterWindowMessageA(kMsWheelMessageName);
    return registered;
}

void SectionListBox::wheelTurned(UINT message, WPARAM wParam) {
    const std::optional<int> turn = wheelTurn(message, wParam, msWheelMessage());
    const int notches = turn ? wheelNotches_.add(*turn) : 0;
    if (notches) smoothScrollTo(model_.scrollOffset() - notches * 3 * style_.geometry.lineHeight);
}

void SectionListBox::paint(HDC dc, const RECT& client) {
    RECT rows{0, 0, rowsWidth(), client.bottom};
    fillSolid(dc, rows, toColorRef(style_.background));
    paintTiled(dc, rows, wallpaper_);

    int offset = model_.scrollOffset();
    int current = model_.currentRow();
    int first = model_.rowAt(0);
    for (int index = first; index >= 0 && index < model_.rowCount(); ++index) {
        int top = model_.rowTop(index) - offset;
        if (top >= client.bottom) break;
        RECT row{0, top, rowsWidth(), top + model_.rowHeight(index)};
        SectionList::Row at = model_.row(index);
        const ListSection& section = model_.section(at.section);
        int saved = SaveDC(dc);
        IntersectClipRect(dc, row.left, row.top, row.right, row.bottom);
        if (at.item < 0) {
            paintHeading(dc, row, section, index == current);
        } else {
            paintLine(dc, row, section, at.item, index == current);
        }
        if (index == current && GetFocus() == handle()) DrawFocusRect(dc, &row);
        RestoreDC(dc, saved);
    }
    paintScrollBar(dc, client);
}

void SectionListBox::paintHeading(HDC dc, const RECT& row, const ListSection& section,
                                  bool current) {
    fillSolid(dc, row, toColorRef(current ? style_.selectionBackground : style_.headingColor));
    RECT band{row.left, row.bottom - 1, row.right, row.bottom};
    fillSolid(dc, band, GetSysColor(COLOR_BTNSHADOW));
    paintGlyph(dc, row, section.expanded());

    int x = style_.geometry.headingIndent;
    int height = row.bottom - row.top;
    if (sectionImages_ && section.imageIndex() >= 0 &&
        section.imageIndex() < sectionImages_->count()) {
        sectionImages_->draw(dc, section.imageIndex(), x,
                             row.top + (height - sectionImages_->height()) / 2);
        x += sectionImages_->width() + kImageGap;
    }
    // Captions are drawn as info lines too: a caption copied from a line (a device's entry in
    // the left pane) then shows the same, escaped values included.
    MarkupContext context = screenMarkupContext(style_.headingFont, subItemImages_,
                                                std::max(1, static_cast<int>(row.right) - x - 2));
    if (current) context.baseFont.color = style_.selectionText;
    MarkupLayout caption = layoutMarkup(section.caption(), context, measurer_);
    paintMarkup(dc, caption, x, row.top + (height - caption.height) / 2, fonts_, subItemImages_);
}

POINT SectionListBox::lineOrigin(int section, int item) {
    int index = model_.rowIndex({section, item});
    if (index < 0) return {-1, -1};
    int top = model_.rowTop(index) - model_.scrollOffset();
    int height = model_.rowHeight(index);
    const ListSection& owner = model_.section(section);
    const MarkupLayout& layout = lineLayout(owner, item);
    return {lineTextLeft(owner, item), top + std::max(0, (height - layout.height) / 2)};
}

void SectionListBox::paintGlyph(HDC dc, const RECT& row, bool expanded) {
    int middle = (row.top + row.bottom) / 2;
    if (style_.geometry.expandGlyphsActive) {
        // A box with a plus (contracted) or a minus (expanded).
        RECT box{2, middle - 4, 11, middle + 5};
        RECT inside{3, middle - 3, 10, middle + 4};
        fillSolid(dc, inside, GetSysColor(COLOR_WINDOW));
        frameSolid(dc, box, GetSysColor(COLOR_BTNSHADOW));
        RECT across{4, middle, 9, middle + 1};
        fillSolid(dc, across, GetSysColor(COLOR_WINDOWTEXT));
        if (!expanded) {
            RECT down{6, middle - 2, 7, middle + 3};
            fillSolid(dc, down, GetSysColor(COLOR_WINDOWTEXT));
        }
        return;
    }
    // Only a hint of the state, in grey: the window opens and closes these sections.
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    for (int i = 0; i < 4; ++i) {
        RECT line = expanded ? RECT{3 + i, middle - 2 + i, 10 - i, middle - 1 + i}
                             : RECT{5 + i, middle - 3 + i, 6 + i, middle + 4 - i};
        fillSolid(dc, line, grey);
    }
}

void SectionListBox::paintLine(HDC dc, const RECT& row, const ListSection& section, int item,
                               bool current) {
    if (current) fillSolid(dc, row, toColorRef(style_.selectionBackground));
    int height = row.bottom - row.top;
    if (section.controlType() == SectionControlType::TickBox) {
        int top = row.top + (height - kTickBoxSize) / 2;
        RECT box{kTickBoxLeft, top, kTickBoxLeft + kTickBoxSize, top + kTickBoxSize};
        fillSolid(dc, box, GetSysColor(section.readOnly() ? COLOR_BTNFACE : COLOR_WINDOW));
        frame3D(dc, box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        if (section.subItems().ticked(item)) {
            // A check mark of three short strokes down and five up.
            COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
            for (int i = 0; i < 7; ++i) {
                int x = box.left + 3 + i;
                int y = i < 3 ? top + 5 + i : top + 9 - (i - 2);
                RECT stroke{x, y, x + 1, y + 3};
                fillSolid(dc, stroke, ink);
            }
        }
    }
    int left = lineTextLeft(section, item);
    int image = section.subItems().imageIndex(item);
    if (subItemImages_ && image >= 0) {
        int imageLeft = left - subItemImages_->width() - kImageGap;
        subItemImages_->draw(dc, image, imageLeft,
                             row.top + (height - subItemImages_->height()) / 2);
    }
    const MarkupLayout& layout = lineLayout(section, item);
    int top = row.top + std::max(0, (height - layout.height) / 2);
    if (!current) {
        paintMarkup(dc, layout, left, top, fonts_, subItemImages_);
        return;
    }
    // The current line: what is drawn in the list's own colour takes the selection colour.
    MarkupContext context =
        screenMarkupContext(style_.lineFont, subItemImages_, lineTextWidth(section, item));
    context.baseFont.color = style_.selectionText;
    context.wordWrap = style_.wordWrap;
    context.tabStops = style_.tabStops;
    paintMarkup(dc, layoutMarkup(section.subItems()[item], context, measurer_), left, top, fonts_,
                subItemImages_);
}

void SectionListBox::paintScrollBar(HDC dc, const RECT& client) {
    if (style_.scrollBarWidth <= 0) return;
    RECT track{rowsWidth(), 0, client.right, client.bottom};
    fillSolid(dc, track, GetSysColor(COLOR_SCROLLBAR));
    ScrollThumb thumb = scrollGeometry().thumb(model_.scrollOffset());
    if (thumb.length == 0) return;
    RECT box{track.left, thumb.top, track.right, thumb.top + thumb.length};
    fillSolid(dc, box, GetSysColor(COLOR_BTNFACE));
    frame3D(dc, box, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace tamux::win32
