// The main window on screen: a fixed window centred on the desktop over a tiled background, the
// top bar with the five explorer buttons, and the panel with the two section lists and the
// heading band. It draws the form's models and hands every event to the form.
#pragma once

#include <array>
#include <memory>

#include "app/app_state.h"
#include "app/main_form.h"
#include "platform/win32/windows_support.h"
#include "ui/application.h"
#include "ui/win32/expl_btn.h"
#include "ui/win32/ext_label.h"
#include "ui/win32/gauge_bar.h"
#include "ui/win32/image_strip.h"
#include "ui/win32/panel.h"
#include "ui/win32/section_list_box.h"

namespace tamux::win32 {

// The pictures of TAMUX_FORM_PICTURES after the buttons' colour and grey ones.
inline constexpr int kHourglassPicture = 2 * kFormButtonCount;

class TImputFrmWindow : private ImputFormView {
  public:
    // Creates the window (hidden) and its controls, and the form over them.
    TImputFrmWindow(AppState& state, Application& application);
    ~TImputFrmWindow() override;
    TImputFrmWindow(const TImputFrmWindow&) = delete;
    TImputFrmWindow& operator=(const TImputFrmWindow&) = delete;

    HWND handle() const { return window_; }
    TImputFrm& form() { return *form_; }

    // Sets the application-wide cursor: the hourglass over all of the program's windows.
    void setBusyCursor(bool hourglass);

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void createTopBar();
    void createBody();

    // ImputFormView
    void ButtonChanged(FormButton button) override;
    void LabelChanged() override;
    void MinimizeApplication() override;
    void CloseForm() override;

    AppState& state_;
    Application& application_;
    HWND window_ = nullptr;
    bool busy_ = false;

    std::unique_ptr<ImageStrip> subitems1Images_;  // Subitems1Images
    std::unique_ptr<ImageStrip> imageList1_;       // ImageList1
    std::unique_ptr<ImageStrip> formPictures_;     // the buttons' pictures, the hourglass
    std::unique_ptr<ImageStrip> imgBkgrnd1_;       // the window's tiled background
    std::unique_ptr<ImageStrip> arImage1_;         // the top bar's tiled picture
    std::unique_ptr<ImageStrip> wallpaper_;        // the panes' wallpaper

    std::unique_ptr<TPanel> panel3_;
    std::array<std::unique_ptr<TExplBtn>, kFormButtonCount> buttons_;
    std::unique_ptr<TPanel> panel2_;
    std::unique_ptr<TSectionListBox> sectionListBox1_;
    std::unique_ptr<TGaugeBar> gaugeBar1_;
    std::unique_ptr<TExtLabel> label1_;
    std::unique_ptr<TSectionListBox> sectionListBox2_;
    std::unique_ptr<TImputFrm> form_;
};

}  // namespace tamux::win32
