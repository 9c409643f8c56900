// Toggle buttons that belong together: at most one of them is down. Clicking a button that is up
// puts it down and the one that was down up; clicking the button that is down leaves it down,
// unless the group allows all buttons up. A disabled button ignores clicks but may still be put
// down by the program.
#pragma once

#include <functional>
#include <vector>

namespace tamux {

class ExclusiveGroup {
  public:
    explicit ExclusiveGroup(bool allowAllUp = false) : allowAllUp_(allowAllUp) {}

    // Adds a button (up, enabled) and returns its index.
    int addButton();
    int buttonCount() const { return static_cast<int>(buttons_.size()); }

    bool down(int button) const;
    // Putting a button down puts every other button up.
    void setDown(int button, bool down);
    // The button that is down, or -1.
    int downButton() const;

    bool enabled(int button) const;
    void setEnabled(int button, bool enabled);

    // A click by the user; returns whether any button changed.
    bool click(int button);

    // Raised for every button whose state changed.
    std::function<void(int button, bool down)> onChange;

  private:
    struct Button {
        bool down = false;
        bool enabled = true;
    };
    bool valid(int button) const { return button >= 0 && button < buttonCount(); }
    void change(int button, bool down);

    bool allowAllUp_;
    std::vector<Button> buttons_;
};

}  // namespace tamux
