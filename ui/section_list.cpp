#include "ui/section_list.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/errors.h"

namespace tamux {

namespace {

Error indexOutOfBounds(int index) {
    return Error("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// --- SubItems ---

const std::string& SubItems::operator[](int index) const {
    if (index < 0 || index >= count()) throw indexOutOfBounds(index);
    return entries_[static_cast<std::size_t>(index)].text;
}

void SubItems::add(std::string line, int imageIndex) {
    entries_.push_back({std::move(line), imageIndex, false});
    changed();
}

void SubItems::set(int index, std::string line) {
    if (index < 0 || index >= count()) throw indexOutOfBounds(index);
    entries_[static_cast<std::size_t>(index)].text = std::move(line);
    changed();
}

int SubItems::indexOf(std::string_view line) const {
    for (int i = 0; i < count(); ++i) {
        if (equalsIgnoringCase(entries_[static_cast<std::size_t>(i)].text, line)) return i;
    }
    return -1;
}

void SubItems::assign(const std::vector<std::string>& lines) {
    entries_.clear();
    for (const std::string& line : lines) entries_.push_back({line, -1, false});
    changed();
}

void SubItems::assign(const SubItems& other) {
    if (&other == this) return;
    entries_ = other.entries_;
    changed();
}

void SubItems::clear() {
    entries_.clear();
    changed();
}

std::vector<std::string> SubItems::lines() const {
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const Entry& entry : entries_) result.push_back(entry.text);
    return result;
}

int SubItems::imageIndex(int index) const {
    if (index < 0 || index >= count()) return -1;
    return entries_[static_cast<std::size_t>(index)].imageIndex;
}

void SubItems::setImageIndex(int index, int imageIndex) {
    if (index < 0 || index >= count()) {
        throw Error("Access of imageindex of non-existing subitem");
    }
    entries_[static_cast<std::size_t>(index)].imageIndex = imageIndex;
    changed();
}

bool SubItems::ticked(int index) const {
    if (index < 0 || index >= count()) return false;
    return entries_[static_cast<std::size_t>(index)].ticked;
}

void SubItems::setTicked(int index, bool ticked) {
    if (index < 0 || index >= count()) return;
    entries_[static_cast<std::size_t>(index)].ticked = ticked;
    changed();
}

void SubItems::changed() {
    // The lines of a contracted section are not on screen: nothing to repaint.
    bool shown = owner_.expanded();
    owner_.owner_.sectionChanged(owner_, shown, shown);
}

// --- ListSection ---

void ListSection::setCaption(std::string caption) {
    caption_ = std::move(caption);
    owner_.sectionChanged(*this, false, true);
}

void ListSection::setImageIndex(int imageIndex) {
    imageIndex_ = imageIndex;
    owner_.sectionChanged(*this, false, true);
}

void ListSection::setState(SectionState state) {
    if (state == state_) return;
    state_ = state;
    owner_.sectionChanged(*this, true, true);
}

void ListSection::setControlType(SectionControlType type) {
    controlType_ = type;
    owner_.sectionChanged(*this, false, true);
}

int ListSection::index() const {
    for (int i = 0; i < owner_.sectionCount(); ++i) {
        if (&owner_.section(i) == this) return i;
    }
    return -1;
}

// --- SectionList ---

SectionList::SectionList(SectionListGeometry geometry) : geometry_(geometry) {}

SectionList::~SectionList() = default;

ListSection& SectionList::section(int index) {
    if (index < 0 || index >= sectionCount()) throw indexOutOfBounds(index);
    return *sections_[static_cast<std::size_t>(index)];
}

const ListSection& SectionList::section(int index) const {
    if (index < 0 || index >= sectionCount()) throw indexOutOfBounds(index);
    return *sections_[static_cast<std::size_t>(index)];
}

ListSection& SectionList::addSection() {
    sections_.push_back(std::unique_ptr<ListSection>(new ListSection(*this)));
    changed(true);
    return *sections_.back();
}

void SectionList::clearSections() {
    sections_.clear();
    current_.reset();
    scrollOffset_ = 0;
    changed(true);
}

void SectionList::suspendRedraw() {
    if (++suspension_ == 1 && view_) view_->setRedraw(false);
}

void SectionList::resumeRedraw() {
    if (suspension_ == 0) return;
    if (--suspension_ == 0 && view_) {
        view_->setRedraw(true);
        view_->repaint();
    }
}

void SectionList::setLineMeasure(LineMeasure measure) {
    measure_ = std::move(measure);
    changed(true);
}

void SectionList::invalidateLayout() {
    changed(true);
}

void SectionList::sectionChanged(const ListSection& section, bool rowsChanged, bool visible) {
    if (current_ && current_->item >= 0 && &this->section(current_->section) == &section &&
        (!section.expanded() || current_->item >= section.subItems().count())) {
        current_->item = -1;  // the current line went away: its heading takes over
    }
    if (visible) {
        changed(rowsChanged);
    } else if (rowsChanged) {
        rowsStale_ = true;
    }
}

void SectionList::changed(bool rowsChanged) {
    if (rowsChanged) rowsStale_ = true;
    if (suspension_ == 0 && view_) view_->repaint();
}

void SectionList::rebuildRows() const {
    if (!rowsStale_) return;
    rows_.clear();
    tops_.clear();
    int top = 0;
    for (int s = 0; s < sectionCount(); ++s) {
        const ListSection& sec = *sections_[static_cast<std::size_t>(s)];
        rows_.push_back({s, -1});
        tops_.push_back(top);
        top += geometry_.headingHeight;
        if (!sec.expanded()) continue;
        for (int i = 0; i < sec.subItems().count(); ++i) {
            rows_.push_back({s, i});
            tops_.push_back(top);
            int height = geometry_.lineHeight;
            if (measure_) height = std::max(height, measure_(sec, i));
            top += height;
        }
    }
    tops_.push_back(top);
    rowsStale_ = false;
}

int SectionList::rowCount() const {
    rebuildRows();
    return static_cast<int>(rows_.size());
}

SectionList::Row SectionList::row(int index) const {
    rebuildRows();
    if (index < 0 || index >= static_cast<int>(rows_.size())) throw indexOutOfBounds(index);
    return rows_[static_cast<std::size_t>(index)];
}

int SectionList::rowIndex(Row wanted) const {
    rebuildRows();
    auto found = std::find(rows_.begin(), rows_.end(), wanted);
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

int SectionList::rowTop(int index) const {
    rebuildRows();
    if (index < 0 || index >= static_cast<int>(rows_.size())) throw indexOutOfBounds(index);
    return tops_[static_cast<std::size_t>(index)];
}

int SectionList::rowHeight(int index) const {
    rebuildRows();
    if (index < 0 || index >= static_cast<int>(rows_.size())) throw indexOutOfBounds(index);
    return tops_[static_cast<std::size_t>(index) + 1] - tops_[static_cast<std::size_t>(index)];
}

int SectionList::contentHeight() const {
    rebuildRows();
    return tops_.back();
}

void SectionList::setViewportHeight(int height) {
    viewportHeight_ = std::max(0, height);
}

int SectionList::maxScrollOffset() const {
    return std::max(0, contentHeight() - viewportHeight_);
}

int SectionList::scrollOffset() const {
    return std::clamp(scrollOffset_, 0, maxScrollOffset());
}

void SectionList::scrollTo(int offset) {
    int clamped = std::clamp(offset, 0, maxScrollOffset());
    if (clamped == scrollOffset()) {
        scrollOffset_ = clamped;
        return;
    }
    scrollOffset_ = clamped;
    changed(false);
}

void SectionList::scrollSectionToTop(int section) {
    int index = rowIndex({section, -1});
    if (index >= 0) scrollTo(rowTop(index));
}

void SectionList::ensureRowVisible(int index) {
    if (index < 0 || index >= rowCount()) return;
    int top = rowTop(index);
    int bottom = top + rowHeight(index);
    if (top < scrollOffset()) {
        scrollTo(top);
    } else if (bottom > scrollOffset() + viewportHeight_) {
        scrollTo(bottom - viewportHeight_);
    }
}

int SectionList::rowAt(int y) const {
    if (y < 0) return -1;
    rebuildRows();
    int contentY = y + scrollOffset();
    if (contentY >= tops_.back()) return -1;
    auto after = std::upper_bound(tops_.begin(), tops_.end(), contentY);
    return static_cast<int>(after - tops_.begin()) - 1;
}

bool SectionList::inTickBox(int x) const {
    return x > geometry_.headingIndent && x < geometry_.headingIndent + 15;
}

int SectionList::currentRow() const {
    return current_ ? rowIndex(*current_) : -1;
}

void SectionList::setCurrentRow(int index) {
    std::optional<Row> next;
    if (index >= 0 && index < rowCount()) next = row(index);
    if (next == current_) return;
    current_ = next;
    changed(false);
}

int SectionList::currentSection() const {
    return current_ ? current_->section : -1;
}

void SectionList::toggleByUser(int sectionIndex) {
    ListSection& sec = section(sectionIndex);
    if (sec.expanded()) {
        sec.setState(SectionState::Contracted);
        if (onContractSection) onContractSection(sectionIndex);
    } else {
        sec.setState(SectionState::Expanded);
        if (onExpandSection) onExpandSection(sectionIndex);
    }
}

void SectionList::mouseDown(MouseButton button, int x, int y) {
    if (button != MouseButton::Left) return;
    int index = rowAt(y);
    if (index < 0) return;
    setCurrentRow(index);
    Row hit = row(index);
    if (hit.item < 0) {
        if (geometry_.expandGlyphsActive) toggleByUser(hit.section);
        if (onSectionClick) onSectionClick(hit.section);
        return;
    }
    ListSection& sec = section(hit.section);
    if (sec.controlType() == SectionControlType::TickBox && !sec.readOnly() && inTickBox(x)) {
        sec.subItems().setTicked(hit.item, !sec.subItems().ticked(hit.item));
    }
    if (onSubItemClick) onSubItemClick(hit.section, hit.item);
}

void SectionList::mouseUp(MouseButton button, int x, int y) {
    if (onMouseUp) onMouseUp(button, x, y);
}

void SectionList::keyDown(ListKey key) {
    int count = rowCount();
    if (count == 0) return;
    int current = currentRow();
    int next = current;
    switch (key) {
        case ListKey::Up:
            next = current < 0 ? 0 : std::max(0, current - 1);
            break;
        case ListKey::Down:
            next = current < 0 ? 0 : std::min(count - 1, current + 1);
            break;
        case ListKey::Home:
            next = 0;
            break;
        case ListKey::End:
            next = count - 1;
            break;
        case ListKey::PageUp:
        case ListKey::PageDown: {
            int from = current < 0 ? 0 : current;
            int page = std::max(viewportHeight_, geometry_.lineHeight);
            int target = rowTop(from) + (key == ListKey::PageDown ? page : -page);
            target = std::clamp(target, 0, contentHeight() - 1);
            auto after = std::upper_bound(tops_.begin(), tops_.end(), target);
            next = std::clamp(static_cast<int>(after - tops_.begin()) - 1, 0, count - 1);
            break;
        }
        case ListKey::Space:
        case ListKey::Enter: {
            if (current < 0) return;
            Row at = row(current);
            ListSection& sec = section(at.section);
            if (at.item < 0) {
                if (geometry_.expandGlyphsActive ||
                    sec.controlType() == SectionControlType::TickBox) {
                    toggleByUser(at.section);
                } else if (onSectionClick) {
                    onSectionClick(at.section);
                }
                return;
            }
            if (key == ListKey::Space && sec.controlType() == SectionControlType::TickBox &&
                !sec.readOnly()) {
                sec.subItems().setTicked(at.item, !sec.subItems().ticked(at.item));
            }
            if (onSubItemClick) onSubItemClick(at.section, at.item);
            return;
        }
    }
    setCurrentRow(next);
    ensureRowVisible(next);
}

}  // namespace tamux
