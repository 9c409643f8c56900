// TSpeedButton: a flat button with a glyph and an optional caption; it shows a raised edge under
// the pointer and a sunken one while down. Buttons of one TSpeedButtonGroup are exclusive: at
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

class TSpeedButton;

class TSpeedButtonGroup {
  public:
    explicit TSpeedButtonGroup(bool allowAllUp = false);
    TSpeedButtonGroup(const TSpeedButtonGroup&) = delete;
    TSpeedButtonGroup& operator=(const TSpeedButtonGroup&) = delete;
    ExclusiveGroup& model() { return model_; }

  private:
    friend class TSpeedButton;
    int attach(TSpeedButton* button);
    void detach(int index);

    ExclusiveGroup model_;
    std::vector<TSpeedButton*> buttons_;
};

class TSpeedButton : public FlatButton {
  public:
    struct CreateArgs {
        Placement placement;
        std::string caption;
        Picture glyph;
        FontSpec font;
        bool flat = true;
        TSpeedButtonGroup* group = nullptr;  // must outlive the button
    };

    explicit TSpeedButton(const CreateArgs& args);
    ~TSpeedButton() override;

    bool down() const;
    void setDown(bool down);
    void setEnabled(bool enabled) override;
    const std::string& caption() const { return args_.caption; }

    std::function<void()> onClick;

  private:
    friend class TSpeedButtonGroup;
    void paintClient(HDC dc) override;
    void clicked() override;

    CreateArgs args_;
    int groupIndex_ = -1;
    bool ownDown_ = false;  // for a button without a group
    FontCache fonts_;
};

}  // namespace tamux::win32
