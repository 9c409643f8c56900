// The one open window of a kind: a dialog that may be open only once at a time is remembered in
// a pointer of the application's, a second opening is refused while it is set, and closing
// forgets it.
#pragma once

namespace tamux {

// Remembers `dialog` as the open one for as long as its opening runs, and forgets it when the
// opening ends, however it ends, unless another one has been remembered since.
template <typename Dialog>
class OpenDialogGuard {
  public:
    OpenDialogGuard(Dialog*& current, Dialog& dialog) : current_(current), dialog_(dialog) {
        current_ = &dialog_;
    }
    ~OpenDialogGuard() {
        if (current_ == &dialog_) current_ = nullptr;
    }
    OpenDialogGuard(const OpenDialogGuard&) = delete;
    OpenDialogGuard& operator=(const OpenDialogGuard&) = delete;

  private:
    Dialog*& current_;
    Dialog& dialog_;
};

// Forgets the open dialog, if any, and then closes its window if it has one; the window's own
// close handlers find nothing open any more.
template <typename Dialog>
void closeOpenDialog(Dialog*& current) {
    Dialog* dialog = current;
    if (!dialog) return;
    current = nullptr;
    if (dialog->view()) dialog->view()->close();
}

}  // namespace tamux
