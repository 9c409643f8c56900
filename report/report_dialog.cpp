#include "report/report_dialog.h"

#include <exception>

#include "platform/errors.h"
#include "ui/open_dialog.h"

namespace tamux {

namespace {

// Parts the form from its view before the view goes away.
class ViewLink {
  public:
    ViewLink(TReportFrm& form, ReportDialogView& view) : form_(form) { form_.setView(&view); }
    ~ViewLink() { form_.setView(nullptr); }
    ViewLink(const ViewLink&) = delete;
    ViewLink& operator=(const ViewLink&) = delete;

  private:
    TReportFrm& form_;
};

}  // namespace

TReportFrm::TReportFrm(ReportDialogHost& host)
    : SaveDialogEx1(host.platform.dialogs, host.platform.system), host_(host) {
    SaveDialogEx1.Filter = std::string(kReportSaveFilter);
    SaveDialogEx1.FilterIndex = 1;
    SaveDialogEx1.DefaultExt = std::string(kReportDefaultExt);
    SaveDialogEx1.OverwritePrompt = false;
    SaveDialogEx1.ShowPlacesBar = true;
}

TReportFrm::~TReportFrm() {
    setView(nullptr);
}

void TReportFrm::setView(ReportDialogView* view) {
    if (view_) view_->ReportSectionListBox().onMouseUp = nullptr;
    view_ = view;
    if (view_) {
        view_->ReportSectionListBox().onMouseUp = [this](MouseButton button, int x, int y) {
            ReportSectionListBoxMouseUp(button, x, y);
        };
    }
}

void TReportFrm::FormCreate() {
    PrintBtnCaption = text(kPrintBtnText);
    SendBtnCaption = text(kSendBtnText);
    SaveBtnCaption = text(kSaveBtnText);
    CloseBtnCaption = text(kReportCloseBtnText);
    SelAll1Caption = text(kSelAllText);
    UnselAll1Caption = text(kUnselAllText);
    Caption = text(kReportFormText);
}

SectionList& TReportFrm::ReportSectionListBox() {
    if (!view_) throw Error("The report window is not shown");
    return view_->ReportSectionListBox();
}

void TReportFrm::fillsections(const SectionList& leftPane) {
    SectionList& list = ReportSectionListBox();
    list.clearSections();
    for (int i = 0; i < leftPane.sectionCount(); ++i) {
        const TListSection& source = leftPane.section(i);
        TListSection& section = list.addSection();
        section.setCaption(source.caption());
        section.setImageIndex(source.imageIndex());
        // Texts and images only: no tick of the main window's comes along.
        const TSubItems& entries = source.subItems();
        for (int item = 0; item < entries.count(); ++item) {
            section.subItems().add(entries[item], entries.imageIndex(item));
        }
    }
    for (int i = 0; i < list.sectionCount(); ++i) {
        TListSection& section = list.section(i);
        section.setState(lssContracted);
        section.setControlType(sctTickBox);
        section.setReadOnly(false);
    }
    if (list.rowCount() > 0) list.setCurrentRow(0);
}

void TReportFrm::getselection(ReportAction action, ReportRequest& sel) {
    sel.action = action;
    sel.items.clear();
    SectionList& list = ReportSectionListBox();
    for (int i = 0; i < list.sectionCount(); ++i) {
        const TListSection& section = list.section(i);
        const TSubItems& entries = section.subItems();
        for (int item = 0; item < entries.count(); ++item) {
            if (!entries.ticked(item)) continue;
            sel.items.push_back({i, item, true, entries[item], section.caption()});
        }
    }
}

void TReportFrm::buttonClick(ReportAction action) {
    ReportRequest chosen;
    getselection(action, chosen);
    host_.sel = std::move(chosen);
    closereportdialog(host_);
}

void TReportFrm::PrintBtnClick() {
    buttonClick(raPrint);
}

void TReportFrm::SendBtnClick() {
    buttonClick(raSend);
}

void TReportFrm::SaveBtnClick() {
    buttonClick(raSave);
}

void TReportFrm::CloseBtnClick() {
    host_.sel.action = raNone;
    closereportdialog(host_);
}

void TReportFrm::tickCurrentSection(bool ticked) {
    SectionList& list = ReportSectionListBox();
    const int current = list.currentSection();
    if (current < 0) return;
    TSubItems& entries = list.section(current).subItems();
    for (int item = 0; item < entries.count(); ++item) entries.setTicked(item, ticked);
}

void TReportFrm::SelAll1Click() {
    tickCurrentSection(true);
}

void TReportFrm::UnselAll1Click() {
    tickCurrentSection(false);
}

void TReportFrm::ReportSectionListBoxMouseUp(MouseButton button, int x, int y) {
    if (button != MouseButton::Right || !view_) return;
    const ScreenPoint window = view_->WindowOrigin();
    view_->PopupMenu({window.x + x + kPopupMenuOffset, window.y + y + kPopupMenuOffset});
}

void TReportFrm::FormClose() {
    closereportdialog(host_);
}

void showreportdialog(ReportDialogHost& host, const SectionList& leftPane) {
    if (host.current) return;
    host.sel = ReportRequest{};
    try {
        TReportFrm form(host);
        form.FormCreate();
        OpenDialogGuard current(host.current, form);
        std::unique_ptr<ReportDialogView> view = host.views ? host.views(form) : nullptr;
        if (!view) return;
        ViewLink link(form, *view);
        form.fillsections(leftPane);
        view->ShowModal();
    } catch (const std::exception&) {
        // Nothing is reported: the request says there is nothing to do.
        host.sel = ReportRequest{};
    }
}

void closereportdialog(ReportDialogHost& host) {
    CloseOpenDialog(host.current);
}

}  // namespace tamux
