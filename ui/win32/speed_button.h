// SpeedButton: a flat button with a glyph and an optional caption; it shows a raised edge under
// the pointer and a sunken one while down. Buttons of one SpeedButtonGroup are exclusive: at
// most one is down (see ExclusiveGroup).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/exclusive_group.h"
#include "ui/markup_layout.h"
#include "ui/win32/flat_button.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/image_strip.h"

namespace tamux::win32 {

class SpeedButton;

class SpeedButtonGroup {
  public:
    explicit SpeedButtonGroup(bool allowAllUp = false);
    SpeedButtonGroup(const SpeedButtonGroup&) = delete;
    SpeedButtonGroup& operator=(const SpeedButtonGroup&) = delete;
    ExclusiveGroup& model() { return model_; }

  private:
    friend class SpeedButton;
    int attach(SpeedButton* button);
    void detach(int index);

    ExclusiveGroup model_;
    std::vector<SpeedButton*> buttons_;
};

class SpeedButton : public FlatButton {
  public:
    struct CreateArgs {
        Placement placement;
        std::string caption;
        Picture glyph;
        FontSpec font;
        bool flat = true;
        SpeedButtonGroup* group = nullptr;  // must outlive the button
    };

    explicit SpeedButton(const CreateArgs& args);
    ~SpeedButton() override;

    bool down() const;
    void setDown(bool down);
    void setEnabled(bool enabled) override;
    const std::string& caption() const { return args_.caption; }

    std::function<void()> onClick;

  private:
    friend class SpeedButtonGroup;
    void paintClient(HDC dc) override;
    void clicked() override;

    CreateArgs args_;
    int groupIndex_ = -1;
    bool ownDown_ = false;  // for a button without a group
    FontCache fonts_;
};

}  // namespace tamux::win32
