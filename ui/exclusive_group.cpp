#include "ui/exclusive_group.h"

namespace tamux {

int ExclusiveGroup::addButton() {
    buttons_.push_back({});
    return buttonCount() - 1;
}

bool ExclusiveGroup::down(int button) const {
    return valid(button) && buttons_[static_cast<std::size_t>(button)].down;
}

void ExclusiveGroup::setDown(int button, bool down) {
    if (!valid(button)) return;
    if (down) {
        for (int other = 0; other < buttonCount(); ++other) {
            if (other != button) change(other, false);
        }
    }
    change(button, down);
}

int ExclusiveGroup::downButton() const {
    for (int i = 0; i < buttonCount(); ++i) {
        if (buttons_[static_cast<std::size_t>(i)].down) return i;
    }
    return -1;
}

bool ExclusiveGroup::enabled(int button) const {
    return valid(button) && buttons_[static_cast<std::size_t>(button)].enabled;
}

void ExclusiveGroup::setEnabled(int button, bool enabled) {
    if (valid(button)) buttons_[static_cast<std::size_t>(button)].enabled = enabled;
}

bool ExclusiveGroup::click(int button) {
    if (!enabled(button)) return false;
    if (down(button)) {
        if (!allowAllUp_) return false;
        change(button, false);
        return true;
    }
    setDown(button, true);
    return true;
}

void ExclusiveGroup::change(int button, bool down) {
    Button& state = buttons_[static_cast<std::size_t>(button)];
    if (state.down == down) return;
    state.down = down;
    if (onChange) onChange(button, down);
}

}  // namespace tamux
