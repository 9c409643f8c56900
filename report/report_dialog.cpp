#include "report/report_dialog.h"

#include <exception>

#include "platform/errors.h"
#include "ui/open_dialog.h"

namespace tamux {

namespace {

// Parts the form from its view before the view goes away.
class ViewLink {
  public:
    ViewLink(ReportDialog& form, ReportDialogView& view) : form_(form) { form_.setView(&view); }
    ~ViewLink() { form_.setView(nullptr); }
    ViewLink(const ViewLink&) = delete;
    ViewLink& operator=(const ViewLink&) = delete;

  private:
    ReportDialog& form_;
};

}  // namespace

ReportDialog::ReportDialog(ReportDialogHost& host)
    : saveDialog(host.platform.dialogs, host.platform.system), host_(host) {
    saveDialog.filter = std::string(kReportSaveFilter);
    saveDialog.filterIndex = 1;
    saveDialog.defaultExt = std::string(kReportDefaultExt);
    saveDialog.overwritePrompt = false;
    saveDialog.showPlacesBar = true;
}

ReportDialog::~ReportDialog() {
    setView(nullptr);
}

void ReportDialog::setView(ReportDialogView* view) {
    if (view_) view_->reportSectionListBox().onMouseUp = nullptr;
    view_ = view;
    if (view_) {
        view_->reportSectionListBox().onMouseUp = [this](MouseButton button, int x, int y) {
            reportSectionListBoxMouseUp(button, x, y);
        };
    }
}

void ReportDialog::formCreate() {
    printButtonCaption = text(kPrintButtonText);
    sendButtonCaption = text(kSendButtonText);
    saveButtonCaption = text(kSaveButtonText);
    closeButtonCaption = text(kReportCloseButtonText);
    selectAllCaption = text(kSelAllText);
    unselectAllCaption = text(kUnselAllText);
    caption = text(kReportFormText);
}

SectionList& ReportDialog::reportSectionListBox() {
    if (!view_) throw Error("The report window is not shown");
    return view_->reportSectionListBox();
}

void ReportDialog::fillSections(const SectionList& leftPane) {
    SectionList& list = reportSectionListBox();
    list.clearSections();
    for (int i = 0; i < leftPane.sectionCount(); ++i) {
        const ListSection& source = leftPane.section(i);
        ListSection& section = list.addSection();
        section.setCaption(source.caption());
        section.setImageIndex(source.imageIndex());
        // Texts and images only: no tick of the main window's comes along.
        const SubItems& entries = source.subItems();
        for (int item = 0; item < entries.count(); ++item) {
            section.subItems().add(entries[item], entries.imageIndex(item));
        }
    }
    for (int i = 0; i < list.sectionCount(); ++i) {
        ListSection& section = list.section(i);
        section.setState(SectionState::Contracted);
        section.setControlType(SectionControlType::TickBox);
        section.setReadOnly(false);
    }
    if (list.rowCount() > 0) list.setCurrentRow(0);
}

void ReportDialog::getSelection(ReportAction action, ReportRequest& sel) {
    sel.action = action;
    sel.items.clear();
    SectionList& list = reportSectionListBox();
    for (int i = 0; i < list.sectionCount(); ++i) {
        const ListSection& section = list.section(i);
        const SubItems& entries = section.subItems();
        for (int item = 0; item < entries.count(); ++item) {
            if (!entries.ticked(item)) continue;
            sel.items.push_back({i, item, true, entries[item], section.caption()});
        }
    }
}

void ReportDialog::buttonClick(ReportAction action) {
    ReportRequest chosen;
    getSelection(action, chosen);
    host_.sel = std::move(chosen);
    closeReportDialog(host_);
}

void ReportDialog::printButtonClick() {
    buttonClick(ReportAction::Print);
}

void ReportDialog::sendButtonClick() {
    buttonClick(ReportAction::Send);
}

void ReportDialog::saveButtonClick() {
    buttonClick(ReportAction::Save);
}

void ReportDialog::closeButtonClick() {
    host_.sel.action = ReportAction::None;
    closeReportDialog(host_);
}

void ReportDialog::tickCurrentSection(bool ticked) {
    SectionList& list = reportSectionListBox();
    const int current = list.currentSection();
    if (current < 0) return;
    SubItems& entries = list.section(current).subItems();
    for (int item = 0; item < entries.count(); ++item) entries.setTicked(item, ticked);
}

void ReportDialog::selectAllClick() {
    tickCurrentSection(true);
}

void ReportDialog::unselectAllClick() {
    tickCurrentSection(false);
}

void ReportDialog::reportSectionListBoxMouseUp(MouseButton button, int x, int y) {
    if (button != MouseButton::Right || !view_) return;
    const ScreenPoint window = view_->windowOrigin();
    view_->popupMenu({window.x + x + kPopupMenuOffset, window.y + y + kPopupMenuOffset});
}

void ReportDialog::formClose() {
    closeReportDialog(host_);
}

void showReportDialog(ReportDialogHost& host, const SectionList& leftPane) {
    if (host.current) return;
    host.sel = ReportRequest{};
    try {
        ReportDialog form(host);
        form.formCreate();
        OpenDialogGuard current(host.current, form);
        std::unique_ptr<ReportDialogView> view = host.views ? host.views(form) : nullptr;
        if (!view) return;
        ViewLink link(form, *view);
        form.fillSections(leftPane);
        view->showModal();
    } catch (const std::exception&) {
        // Nothing is reported: the request says there is nothing to do.
        host.sel = ReportRequest{};
    }
}

void closeReportDialog(ReportDialogHost& host) {
    closeOpenDialog(host.current);
}

}  // namespace tamux
