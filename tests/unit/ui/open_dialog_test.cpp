#include "ui/open_dialog.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tamux {
namespace {

struct Dialog;

// Counts its closings and notes whether its dialog was still remembered when it closed.
struct RecordingView {
    Dialog** current = nullptr;
    int closes = 0;
    bool openWhenClosed = false;
    void close() {
        ++closes;
        openWhenClosed = current != nullptr && *current != nullptr;
    }
};

struct Dialog {
    RecordingView* window = nullptr;
    RecordingView* view() const { return window; }
};

TEST(OpenDialogGuard, RemembersTheDialogWhileItsOpeningRuns) {
    Dialog* current = nullptr;
    Dialog dialog;
    {
        OpenDialogGuard guard(current, dialog);
        EXPECT_EQ(current, &dialog);
    }
    EXPECT_EQ(current, nullptr);
}

TEST(OpenDialogGuard, ForgetsTheDialogWhenTheOpeningFails) {
    Dialog* current = nullptr;
    Dialog dialog;
    try {
        OpenDialogGuard guard(current, dialog);
        throw std::runtime_error("no window");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(current, nullptr);
}

TEST(OpenDialogGuard, LeavesADialogRememberedSinceInPlace) {
    Dialog* current = nullptr;
    Dialog first;
    Dialog second;
    {
        OpenDialogGuard guard(current, first);
        current = &second;
    }
    EXPECT_EQ(current, &second);
}

TEST(closeOpenDialog, ForgetsTheDialogBeforeClosingItsWindow) {
    struct Case {
        bool open;
        bool hasWindow;
        int closes;
    };
    for (const Case c : {Case{false, false, 0}, Case{true, false, 0}, Case{true, true, 1}}) {
        Dialog* current = nullptr;
        RecordingView window{&current};
        Dialog dialog{c.hasWindow ? &window : nullptr};
        if (c.open) current = &dialog;
        closeOpenDialog(current);
        EXPECT_EQ(current, nullptr);
        EXPECT_EQ(window.closes, c.closes) << "open " << c.open << ", window " << c.hasWindow;
        EXPECT_FALSE(window.openWhenClosed) << "the window's own close handler finds it open";
    }
}

}  // namespace
}  // namespace tamux
