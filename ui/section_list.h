// The section list: a vertical list of headed sections, each expanded (its lines shown below the
// heading) or contracted (the heading alone). This is the whole behaviour of the control -
// sections and their lines, rows, scrolling, hit testing, the current row, ticking and the
// events - so that a window's logic runs against it without a window. The Win32 control
// (SectionListBox) draws it and feeds it the mouse and the keyboard.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamux {

enum class SectionState { Contracted, Expanded };

// How a section's lines behave: plain text, or each line with a tick box in front.
enum class SectionControlType { Text, TickBox };

class SectionList;
class ListSection;

// The lines of a section. Each line is one info line, stored with an image index (-1: none) and
// a tick.
class SubItems {
  public:
    int count() const { return static_cast<int>(entries_.size()); }
    // Raises Error "List index out of bounds (i)" outside 0..count-1.
    const std::string& operator[](int index) const;
    void add(std::string line, int imageIndex = -1);
    // Replaces the text of line `index`, keeping its image and tick; raises like operator[].
    void set(int index, std::string line);
    // The index of the first line equal to `line`, ASCII letter case ignored; -1 if none.
    int indexOf(std::string_view line) const;
    // Replaces all lines by a copy of `lines` (no images, no ticks).
    void assign(const std::vector<std::string>& lines);
    // Replaces all lines by a copy of `other`'s: texts, images and ticks.
    void assign(const SubItems& other);
    void clear();
    std::vector<std::string> lines() const;

    // -1 for an index outside 0..count-1.
    int imageIndex(int index) const;
    // Raises Error "Access of imageindex of non-existing subitem" outside 0..count-1.
    void setImageIndex(int index, int imageIndex);

    // False for an index outside 0..count-1; setting such an index does nothing.
    bool ticked(int index) const;
    void setTicked(int index, bool ticked);

  private:
    friend class ListSection;
    explicit SubItems(ListSection& owner) : owner_(owner) {}
    void changed();

    struct Entry {
        std::string text;
        int imageIndex = -1;
        bool ticked = false;
    };
    ListSection& owner_;
    std::vector<Entry> entries_;
};

class ListSection {
  public:
    ListSection(const ListSection&) = delete;
    ListSection& operator=(const ListSection&) = delete;

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    int imageIndex() const { return imageIndex_; }
    void setImageIndex(int imageIndex);

    // Setting the state shows or hides the lines; it raises no event (events report what the
    // user did).
    SectionState state() const { return state_; }
    void setState(SectionState state);
    bool expanded() const { return state_ == SectionState::Expanded; }

    SubItems& subItems() { return subItems_; }
    const SubItems& subItems() const { return subItems_; }

    SectionControlType controlType() const { return controlType_; }
    void setControlType(SectionControlType type);
    // A read-only tick-box section shows its ticks but the user cannot change them.
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

    int index() const;

  private:
    friend class SectionList;
    friend class SubItems;
    explicit ListSection(SectionList& owner) : owner_(owner), subItems_(*this) {}

    SectionList& owner_;
    std::string caption_;
    int imageIndex_ = -1;
    SectionState state_ = SectionState::Contracted;
    SubItems subItems_;
    SectionControlType controlType_ = SectionControlType::Text;
    bool readOnly_ = false;
};

// What the model tells the control that draws it.
class SectionListView {
  public:
    virtual ~SectionListView() = default;
    // Painting is turned off (false) while redrawing is suspended, and on again (true).
    virtual void setRedraw(bool on) = 0;
    // Something visible changed: repaint the whole control.
    virtual void repaint() = 0;
};

enum class MouseButton { Left, Right, Middle };
enum class ListKey { Up, Down, PageUp, PageDown, Home, End, Space, Enter };

struct SectionListGeometry {
    int headingHeight = 20;
    int lineHeight = 20;  // a line is at least this high
    int headingIndent = 14;
    int lineIndent = 14;
    // Active: clicking a heading (or the space bar on it) expands or contracts the section.
    // Inactive: the window's handlers open and close sections.
    bool expandGlyphsActive = true;
};

class SectionList {
  public:
    // A row of the list: a section's heading (item -1) or one of its lines.
    struct Row {
        int section = -1;
        int item = -1;
        bool operator==(const Row&) const = default;
    };

    explicit SectionList(SectionListGeometry geometry = {});
    ~SectionList();
    SectionList(const SectionList&) = delete;
    SectionList& operator=(const SectionList&) = delete;

    const SectionListGeometry& geometry() const { return geometry_; }

    // Sections, index 0 first.
    int sectionCount() const { return static_cast<int>(sections_.size()); }
    // Raises Error "List index out of bounds (i)" outside 0..count-1.
    ListSection& section(int index);
    const ListSection& section(int index) const;
    // A new section at the end: no caption, no image, contracted.
    ListSection& addSection();
    void clearSections();

    // Redraw suspension: a counter. Suspending turns painting off when it goes from 0 to 1;
    // resuming turns it on and repaints everything when it comes back to 0; resuming at 0 does
    // nothing.
    void suspendRedraw();
    void resumeRedraw();
    int redrawSuspension() const { return suspension_; }

    void setView(SectionListView* view) { view_ = view; }
    // The height line `item` of `section` needs (wrapped text, large fonts, images); a row is
    // at least the geometry's line height. Without a measure every line is the line height.
    using LineMeasure = std::function<int(const ListSection& section, int item)>;
    void setLineMeasure(LineMeasure measure);
    // The measure's answers changed (the control was resized, a font changed).
    void invalidateLayout();

    // Rows, top to bottom, in content coordinates (before scrolling).
    int rowCount() const;
    Row row(int index) const;
    int rowIndex(Row row) const;  // -1 when the row is not shown
    int rowTop(int index) const;
    int rowHeight(int index) const;
    int contentHeight() const;

    // Scrolling, in pixels. The offset stays within 0..maxScrollOffset().
    void setViewportHeight(int height);
    int scrollOffset() const;
    int maxScrollOffset() const;
    void scrollTo(int offset);
    void scrollBy(int delta) { scrollTo(scrollOffset() + delta); }
    // Makes the section's heading the top visible row (as far as the content allows).
    void scrollSectionToTop(int section);
    void ensureRowVisible(int index);

    // Hit testing, in the control's coordinates (y within the visible area).
    int rowAt(int y) const;  // -1 below the last row
    // Whether x falls in the tick box of a line: right of the indent, 15 pixels wide.
    bool inTickBox(int x) const;

    // The current (selected) row, -1 for none.
    int currentRow() const;
    void setCurrentRow(int index);
    // The section that holds the current row, -1 for none.
    int currentSection() const;

    // Input from the control.
    void mouseDown(MouseButton button, int x, int y);
    void mouseUp(MouseButton button, int x, int y);
    void keyDown(ListKey key);

    // Events raised to the window, after the list has acted.
    std::function<void(int section)> onExpandSection;
    std::function<void(int section)> onContractSection;
    std::function<void(int section)> onSectionClick;
    std::function<void(int section, int item)> onSubItemClick;
    std::function<void(MouseButton button, int x, int y)> onMouseUp;

  private:
    friend class ListSection;
    friend class SubItems;

    void sectionChanged(const ListSection& section, bool rowsChanged, bool visible);
    void changed(bool rowsChanged);
    void rebuildRows() const;
    void toggleByUser(int section);

    SectionListGeometry geometry_;
    std::vector<std::unique_ptr<ListSection>> sections_;
    SectionListView* view_ = nullptr;
    LineMeasure measure_;
    int suspension_ = 0;
    int viewportHeight_ = 0;
    int scrollOffset_ = 0;
    std::optional<Row> current_;

    // Rows and their tops, rebuilt when stale.
    mutable bool rowsStale_ = true;
    mutable std::vector<Row> rows_;
    mutable std::vector<int> tops_;  // rows_.size() + 1 entries; the last is the content height
};

}  // namespace tamux
