#include "tools/report_driver/report_driver.h"

#include <memory>

#include "app/app_state.h"
#include "app/main_form.h"
#include "platform/errors.h"
#include "ui/application.h"
#include "ui/markup_text.h"
#include "ui/section_list_style.h"

namespace tamux::tools {

namespace {

class NoMessages : public MessageSource {
  public:
    bool takeMessage(AppMessage&) override { return false; }
    void dispatch(const AppMessage&) override {}
};

bool names(const std::string& entry, const std::string& wanted) {
    return entry == wanted || decodeMarkupEntities(entry) == wanted;
}

// The report window's user: ticks the entries asked for and presses Save.
class TickingView : public ReportDialogView {
  public:
    TickingView(ReportDialog& form, const ReportChoice& choice, std::string& error)
        : form_(form), choice_(choice), error_(error) {}

    SectionList& reportSectionListBox() override { return list_; }
    void close() override {}
    ScreenPoint windowOrigin() override { return {}; }
    void popupMenu(ScreenPoint) override {}

    void showModal() override {
        std::vector<bool> found(choice_.entries.size(), false);
        for (int s = 0; s < list_.sectionCount(); ++s) {
            SubItems& entries = list_.section(s).subItems();
            for (int i = 0; i < entries.count(); ++i) {
                for (std::size_t w = 0; w < choice_.entries.size(); ++w) {
                    if (!names(entries[i], choice_.entries[w])) continue;
                    entries.setTicked(i, true);
                    found[w] = true;
                }
                if (choice_.all) entries.setTicked(i, true);
            }
        }
        for (std::size_t w = 0; w < found.size(); ++w) {
            if (!found[w]) {
                error_ =
                    "No entry \"" + choice_.entries[w] + "\"; the report window lists: " + listed();
                form_.closeButtonClick();
                return;
            }
        }
        form_.saveButtonClick();
    }

  private:
    std::string listed() {
        std::string all;
        for (int s = 0; s < list_.sectionCount(); ++s) {
            const SubItems& entries = list_.section(s).subItems();
            for (int i = 0; i < entries.count(); ++i) {
                if (!all.empty()) all += ", ";
                all += '"';
                all += decodeMarkupEntities(entries[i]);
                all += '"';
            }
        }
        return all.empty() ? "nothing" : all;
    }

    ReportDialog& form_;
    const ReportChoice& choice_;
    std::string& error_;
    SectionList list_{reportListStyle().geometry};
};

}  // namespace

void saveReport(platform::Platform platform, const ReportChoice& choice) {
    NoMessages queue;
    Application application(queue);
    AppState state(platform);
    SectionList left{leftPaneStyle().geometry};
    SectionList right{rightPaneStyle().geometry};
    MainForm form(state, application, left, right, [](AboutDialog&) { return nullptr; });
    form.formCreate();

    std::string error;
    state.reportDialog.views = [&](ReportDialog& window) {
        return std::make_unique<TickingView>(window, choice, error);
    };
    form.reportButtonClick();
    if (!error.empty()) throw Error(error);
}

}  // namespace tamux::tools
