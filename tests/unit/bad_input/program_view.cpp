#include "tests/unit/bad_input/program_view.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "lang/settings_file.h"
#include "platform/sim/sim_system.h"
#include "report/report_dialog.h"
#include "tests/unit/ui/fixed_measurer.h"
#include "ui/markup_text.h"
#include "ui/section_list_style.h"

namespace tamux::test {

namespace fs = std::filesystem;

namespace {

// A report window on no screen: showing it ticks every entry and presses one button.
class TickingReportView : public ReportDialogView {
  public:
    TickingReportView(ReportDialog& form, ReportAction action) : form_(form), action_(action) {}

    SectionList& reportSectionListBox() override { return list_; }
    void showModal() override {
        for (int s = 0; s < list_.sectionCount(); ++s) {
            SubItems& entries = list_.section(s).subItems();
            for (int i = 0; i < entries.count(); ++i) entries.setTicked(i, true);
        }
        switch (action_) {
            case ReportAction::Print:
                form_.printButtonClick();
                break;
            case ReportAction::Send:
                form_.sendButtonClick();
                break;
            case ReportAction::Save:
                form_.saveButtonClick();
                break;
            case ReportAction::None:
                form_.closeButtonClick();
                break;
        }
    }
    void close() override {}
    ScreenPoint windowOrigin() override { return {}; }
    void popupMenu(ScreenPoint) override {}

  private:
    ReportDialog& form_;
    ReportAction action_;
    SectionList list_{reportListStyle().geometry};
};

std::vector<std::string> drawnLines(const std::vector<std::string>& lines) {
    std::vector<std::string> texts;
    for (const std::string& line : lines) texts.push_back(drawn(line));
    return texts;
}

std::vector<PaneSection> readPane(const SectionList& pane) {
    std::vector<PaneSection> sections;
    for (int s = 0; s < pane.sectionCount(); ++s) {
        const ListSection& section = pane.section(s);
        sections.push_back({drawn(section.caption()), drawnLines(section.subItems().lines())});
    }
    return sections;
}

}  // namespace

void PrintTo(const PaneSection& section, std::ostream* out) {
    *out << "\n  [" << section.caption << "]";
    for (const std::string& line : section.lines) *out << "\n    " << line;
}

std::vector<std::string> plain(const std::vector<std::string>& lines) {
    std::vector<std::string> plain;
    for (const std::string& line : lines) plain.push_back(markupToPlainText(line));
    return plain;
}

std::string drawn(std::string_view markup) {
    FixedMeasurer measurer;
    std::string text;
    for (const DrawInstruction& item : layoutMarkup(markup, MarkupContext{}, measurer).items) {
        if (const auto* run = std::get_if<TextDraw>(&item)) text += run->text;
    }
    return text;
}

Seen look(FormHarness& h) {
    Seen seen;
    MainForm& form = h.form();
    for (int i = 0; i < kFormButtonCount; ++i) {
        seen.captions.push_back(form.Button(static_cast<FormButton>(i)).caption);
    }
    seen.captions.push_back(form.captionLabel());
    for (int category : {kInputDevicesCategory, kPrintersCategory}) {
        const ListSection& section = h.left.section(category);
        seen.captions.push_back(drawn(section.caption()));
        for (const std::string& entry : section.subItems().lines()) {
            seen.entries.push_back(drawn(entry));
        }
    }

    h.left.onExpandSection(kInputDevicesCategory);
    seen.inputDevices = readPane(h.right);
    h.left.onExpandSection(kPrintersCategory);
    seen.printers = readPane(h.right);

    for (const sim::MessageBoxCall& box : h.dialogs().messageBoxes()) {
        seen.messages.push_back(box.caption + ": " + box.text);
    }
    return seen;
}

void tickEverything(FormHarness& h, ReportAction action) {
    h.state().reportDialog.views = [action](ReportDialog& form) {
        return std::make_unique<TickingReportView>(form, action);
    };
}

std::optional<std::vector<std::string>> saveEverything(FormHarness& h, const std::string& path) {
    tickEverything(h, ReportAction::Save);
    h.dialogs().queueSavePath(path);
    h.form().buttonClick(ReportButton);
    std::optional<std::string> content = fileContent(h.machine(), path);
    if (!content) return std::nullopt;
    return splitCrLf(*content);
}

std::optional<std::string> fileContent(sim::Machine& machine, const std::string& windowsPath) {
    std::ifstream in(machine.hostPath(windowsPath), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void putFile(sim::Machine& machine, const std::string& windowsPath, const std::string& content) {
    const fs::path host = machine.hostPath(windowsPath);
    fs::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary | std::ios::trunc) << content;
}

fs::path databaseFolder(sim::Machine& machine) {
    const fs::path program =
        machine.hostPath(pathWithoutExtension(machine.system().executablePath())).parent_path();
    return program.parent_path() / "SHARED" / "DATABASES";
}

}  // namespace tamux::test
