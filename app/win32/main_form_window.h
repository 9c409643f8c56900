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
#include "ui/win32/explorer_button.h"
#include "ui/win32/extended_label.h"
#include "ui/win32/gauge_bar.h"
#include "ui/win32/image_strip.h"
#include "ui/win32/panel.h"
#include "ui/win32/section_list_box.h"

namespace tamux::win32 {

// The pictures of TAMUX_FORM_PICTURES after the buttons' colour and grey ones.
inline constexpr int kHourglassPicture = 2 * kFormButtonCount;

class MainFormWindow : private MainFormView {
  public:
    // Creates the window (hidden) and its controls, and the form over them.
    MainFormWindow(AppState& state, Application& application);
    ~MainFormWindow() override;
    MainFormWindow(const MainFormWindow&) = delete;
    MainFormWindow& operator=(const MainFormWindow&) = delete;

    HWND handle() const { return window_; }
    MainForm& form() { return *form_; }

    // Sets the application-wide cursor: the hourglass over all of the program's windows.
    void setBusyCursor(bool hourglass);

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void createTopBar();
    void createBody();

    // MainFormView
    void buttonChanged(FormButton button) override;
    void labelChanged() override;
    void minimizeApplication() override;
    void closeForm() override;

    AppState& state_;
    Application& application_;
    HWND window_ = nullptr;
    bool busy_ = false;

    std::unique_ptr<ImageStrip> deviceImages_;    // the device images
    std::unique_ptr<ImageStrip> headingImages_;   // the heading images
    std::unique_ptr<ImageStrip> formPictures_;    // the buttons' pictures, the hourglass
    std::unique_ptr<ImageStrip> backgroundTile_;  // the window's tiled background
    std::unique_ptr<ImageStrip> topBarTile_;      // the top bar's tiled picture
    std::unique_ptr<ImageStrip> wallpaper_;       // the panes' wallpaper

    std::unique_ptr<Panel> topBarPanel_;
    std::array<std::unique_ptr<ExplorerButton>, kFormButtonCount> buttons_;
    std::unique_ptr<Panel> bodyPanel_;
    std::unique_ptr<SectionListBox> leftPane_;
    std::unique_ptr<GaugeBar> gaugeBar_;
    std::unique_ptr<ExtendedLabel> captionLabel_;
    std::unique_ptr<SectionListBox> rightPane_;
    std::unique_ptr<MainForm> form_;
};

}  // namespace tamux::win32
