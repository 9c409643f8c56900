// SectionListBox: the section list on screen. It draws the SectionList model - headings,
// lines through the markup painter, tick boxes, selection, wallpaper and its own scroll bar -
// and hands it the mouse and the keyboard. Everything the list does lives in the model.
#pragma once

#include <string>
#include <unordered_map>

#include "ui/scroll_bar_geometry.h"
#include "ui/section_list.h"
#include "ui/section_list_style.h"
#include "ui/wheel.h"
#include "ui/win32/control.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

class SectionListBox : public Control, private SectionListView {
  public:
    struct CreateArgs {
        Placement placement;
        SectionListStyle style;
        const ImageStrip* sectionImages = nullptr;  // heading images
        const ImageStrip* subItemImages = nullptr;  // line images and every idx: of a line
        Picture wallpaper;                          // tiled over the background colour
    };

    explicit SectionListBox(const CreateArgs& args);
    ~SectionListBox() override;

    SectionList& model() { return model_; }
    const SectionListStyle& style() const { return style_; }

    // Where line `item` of `section` starts drawing its markup, in client coordinates.
    int lineTextLeft(const ListSection& section, int item) const;
    // The width lines are laid out in (word wrap breaks there).
    int lineTextWidth(const ListSection& section, int item) const;
    // The laid-out line, as it is drawn (cached).
    const MarkupLayout& lineLayout(const ListSection& section, int item);
    // Where the markup of line `item` of `section` is drawn from (its top-left corner), in
    // client coordinates as scrolled now; (-1, -1) when the line is not shown.
    POINT lineOrigin(int section, int item);

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void setRedraw(bool on) override;
    void repaint() override;

    void paint(HDC dc, const RECT& client);
    void paintHeading(HDC dc, const RECT& row, const ListSection& section, bool current);
    void paintLine(HDC dc, const RECT& row, const ListSection& section, int item, bool current);
    void paintGlyph(HDC dc, const RECT& row, bool expanded);
    void paintScrollBar(HDC dc, const RECT& client);

    int rowsWidth() const;
    ScrollBarGeometry scrollGeometry() const;
    void smoothScrollTo(int offset);
    void resized();
    bool onScrollBar(int x) const;
    void scrollBarDown(int y);
    // WM_MOUSEWHEEL, or the wheel driver's message on Windows 95.
    void wheelTurned(UINT message, WPARAM wParam);
    static unsigned msWheelMessage();

    SectionListStyle style_;
    const ImageStrip* sectionImages_;
    const ImageStrip* subItemImages_;
    Picture wallpaper_;
    SectionList model_;
    FontCache fonts_;
    GdiMeasurer measurer_;
    bool redraw_ = true;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    WheelNotches wheelNotches_;
    bool draggingThumb_ = false;
    int dragGrab_ = 0;  // pointer's distance below the thumb's top when the drag began
    std::unordered_map<std::string, MarkupLayout> layouts_;
};

}  // namespace tamux::win32
