// What the library's flat buttons share: the pointer and keyboard handling of a push button.
// The button is hot while the pointer is over it and pressed while the left mouse button, put
// down on it, is held; releasing the mouse button over it, or Space or Enter while it has the
// focus, is a click. A subclass paints from hot() and pressed() and acts in clicked().
#pragma once

#include "ui/win32/control.h"

namespace tamux::win32 {

class FlatButton : public Control {
  protected:
    FlatButton() = default;

    bool hot() const { return hot_; }
    bool pressed() const { return pressed_; }

    virtual void clicked() = 0;
    // Every pointer move over the button.
    virtual void pointerMoved() {}
    // The button has lost the input focus.
    virtual void focusLost() {}

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool hot_ = false;
    bool pressed_ = false;
};

}  // namespace tamux::win32
