// A main window without a window: a simulated machine with the shipped language modules and
// device databases installed beside the program, the application state, the two pane models and
// the form over them, and recording views for the window, the wait dialog and the pane redraws.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_form.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_dialogs.h"
#include "tests/support/test_paths.h"
#include "ui/application.h"
#include "ui/section_list.h"
#include "ui/section_list_style.h"
#include "ui/section_markup.h"

namespace tamux::test {

// The program's message queue on the simulated machine: the key messages the simulated keyboard
// posts; dispatching does nothing.
class SimMessageQueue : public MessageSource {
  public:
    explicit SimMessageQueue(sim::Machine& machine) : machine_(machine) {}
    bool takeMessage(AppMessage& message) override;
    void dispatch(const AppMessage&) override {}

  private:
    sim::Machine& machine_;
    std::vector<AppMessage> pending_;
};

// Everything the views were told, in order, as short texts ("wait:show", "right:redraw off").
using EventLog = std::vector<std::string>;

class RecordingFormView : public MainFormView {
  public:
    explicit RecordingFormView(EventLog& log) : log_(log) {}
    void buttonChanged(FormButton button) override;
    void labelChanged() override { log_.push_back("label"); }
    void minimizeApplication() override { log_.push_back("minimize"); }
    void closeForm() override { log_.push_back("close"); }

  private:
    EventLog& log_;
};

class RecordingPaneView : public SectionListView {
  public:
    RecordingPaneView(EventLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    void setRedraw(bool on) override {
        log_.push_back(name_ + (on ? ":redraw on" : ":redraw off"));
    }
    void repaint() override {}

  private:
    EventLog& log_;
    std::string name_;
};

// How the machine's language is chosen.
struct FormOptions {
    std::string sample = "winxp";  // a folder of samples/machines; empty: a blank XP machine
    std::vector<std::string> modules = {"EN"};  // language modules installed beside the program
    std::string language = "EN";                // "Language" in the settings file; empty: none
    bool databases = false;                     // the shipped device databases in the suite
};

class FormHarness {
  public:
    explicit FormHarness(const FormOptions& options = {});
    FormHarness(const FormHarness&) = delete;
    FormHarness& operator=(const FormHarness&) = delete;

    // Makes the form (after the test has changed the machine); formCreate is the test's to run.
    MainForm& makeForm();
    // makeForm and formCreate.
    MainForm& start();

    sim::Machine& machine() { return *machine_; }
    sim::SimDialogs& dialogs();
    AppState& state() { return *state_; }
    MainForm& form() { return *form_; }
    Application& application() { return application_; }
    SectionList left{leftPaneStyle().geometry};
    SectionList right{rightPaneStyle().geometry};
    EventLog log;
    // How many About and language windows were made.
    int aboutViews = 0;
    int languageViews = 0;

    // The wait dialog's texts when it was shown and last changed, as the view saw them.
    std::string waitCaption, waitText;

    // The lines each builder gives now for the form's facts. A section equal to them shows that
    // the form put that builder's lines there, nothing more: the builders' own tests check the
    // lines, and a test that needs to tell the builders apart checks a line of its own.
    std::vector<std::string> mouseLines() { return sectionMarkup(mouseSection()); }
    std::vector<std::string> keyboardLines() { return sectionMarkup(keyboardSection()); }
    std::vector<std::string> printerLines(int printer);
    DeviceSection mouseSection();
    DeviceSection keyboardSection();

    // The lines of right-pane section `section`.
    std::vector<std::string> rightLines(int section);
    std::vector<std::string> rightCaptions();

  private:
    TempDir drive_;
    std::unique_ptr<sim::Machine> machine_;
    SimMessageQueue queue_;
    Application application_{queue_};
    std::unique_ptr<AppState> state_;
    RecordingFormView formView_{log};
    RecordingPaneView rightView_{log, "right"};
    std::unique_ptr<MainForm> form_;
};

}  // namespace tamux::test
