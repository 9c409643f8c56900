// Recording and scripting of the shell, the message boxes, the common dialogs and printing.
#include <gtest/gtest.h>

#include "platform/sim/recording_canvas.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_shell.h"

namespace tamux::sim {
namespace {

using namespace platform::mb;

TEST(SimShell, RecordsCallsAndSucceedsByDefault) {
    SimShell shell;
    shell.setLastError(1234);
    EXPECT_EQ(shell.shellExecute("", "..\\Zmail\\ZoIMail.exe", "\" \" \"a.txt\"", "..\\Zmail",
                                 platform::kSwShowNormal),
              42);
    ASSERT_EQ(shell.calls().size(), 1u);
    const ShellExecuteCall& call = shell.calls()[0];
    EXPECT_EQ(call.verb, "");
    EXPECT_EQ(call.file, "..\\Zmail\\ZoIMail.exe");
    EXPECT_EQ(call.parameters, "\" \" \"a.txt\"");
    EXPECT_EQ(call.directory, "..\\Zmail");
    EXPECT_EQ(call.show, platform::kSwShowNormal);
    EXPECT_EQ(shell.lastError(), 1234u);  // a success leaves the last error alone
}

TEST(SimShell, ScriptedFailuresSetTheLastError) {
    SimShell shell;
    shell.queueResult(2);
    shell.queueResult(31);
    shell.queueResult(5, 87);
    shell.setDefaultResult(33);
    EXPECT_EQ(shell.shellExecute("open", "http://example.invalid", "", "", 1), 2);
    EXPECT_EQ(shell.lastError(), 2u);
    EXPECT_EQ(shell.shellExecute("open", "mailto:x@example.invalid", "", "", 1), 31);
    EXPECT_EQ(shell.lastError(), 1155u);  // no association
    EXPECT_EQ(shell.shellExecute("open", "x", "", "", 1), 5);
    EXPECT_EQ(shell.lastError(), 87u);
    EXPECT_EQ(shell.shellExecute("open", "x", "", "", 1), 33);
    EXPECT_EQ(shell.calls().size(), 4u);
}

TEST(SimShell, SystemMessagesInEnglishWithTheirLineBreak) {
    SimShell shell;
    EXPECT_EQ(shell.systemMessage(2), "The system cannot find the file specified.\r\n");
    EXPECT_EQ(shell.systemMessage(3), "The system cannot find the path specified.\r\n");
    EXPECT_EQ(shell.systemMessage(5), "Access is denied.\r\n");
    EXPECT_EQ(shell.systemMessage(1155),
              "No application is associated with the specified file for this operation.\r\n");
    EXPECT_EQ(shell.systemMessage(99999), "");
    shell.setSystemMessage(99999, "Custom.\r\n");
    EXPECT_EQ(shell.systemMessage(99999), "Custom.\r\n");
    // A text that does not fit the 256-byte buffer makes FormatMessage fail.
    shell.setSystemMessage(7, std::string(256, 'x'));
    EXPECT_EQ(shell.systemMessage(7), "");
    // Every failure result maps to a code with a text.
    for (std::intptr_t result : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32}) {
        EXPECT_NE(shell.systemMessage(SimShell::lastErrorForResult(result)), "") << result;
    }
}

TEST(SimDialogs, MessageBoxesAreRecordedAndAnswered) {
    SimDialogs dialogs;
    EXPECT_EQ(dialogs.messageBox("Text", "Error", kOk | kIconError), kIdOk);
    EXPECT_EQ(dialogs.messageBox("Restart?", "Language", kYesNo), kIdYes);
    dialogs.queueMessageBoxAnswer(kIdNo);
    EXPECT_EQ(dialogs.messageBox("Restart?", "Language", kYesNo), kIdNo);
    ASSERT_EQ(dialogs.messageBoxes().size(), 3u);
    EXPECT_EQ(dialogs.messageBoxes()[0].text, "Text");
    EXPECT_EQ(dialogs.messageBoxes()[0].caption, "Error");
    EXPECT_EQ(dialogs.messageBoxes()[0].type, kOk | kIconError);
}

TEST(SimDialogs, DefaultButtonFollowsTheTypeAndDefButtonBits) {
    EXPECT_EQ(SimDialogs::defaultButton(kOk), kIdOk);
    EXPECT_EQ(SimDialogs::defaultButton(1), kIdOk);              // OK, Cancel
    EXPECT_EQ(SimDialogs::defaultButton(1 | 0x100), kIdCancel);  // MB_DEFBUTTON2
    EXPECT_EQ(SimDialogs::defaultButton(kYesNo | 0x100), kIdNo);
    EXPECT_EQ(SimDialogs::defaultButton(3 | 0x200), kIdCancel);    // Yes, No, Cancel; third
    EXPECT_EQ(SimDialogs::defaultButton(kYesNo | 0x200), kIdYes);  // no third button
    EXPECT_EQ(SimDialogs::defaultButton(2), 3);                    // Abort
}

TEST(SimDialogs, SaveDialogRecordsTheRequestAndAnswersTheScript) {
    SimDialogs dialogs;
    platform::SaveDialogRequest request;
    request.filter = "Text files|*.txt|HTML files|*.htm|All files|*.*";
    request.defaultExtension = "txt";
    request.extendedStructure = true;
    dialogs.queueSavePath("C:\\r.txt");
    dialogs.queueSaveCancel();
    EXPECT_EQ(dialogs.saveFile(request), "C:\\r.txt");
    EXPECT_EQ(dialogs.saveFile(request), std::nullopt);
    EXPECT_EQ(dialogs.saveFile(request), std::nullopt);  // unscripted: cancelled
    ASSERT_EQ(dialogs.saveRequests().size(), 3u);
    EXPECT_EQ(dialogs.saveRequests()[0].filter, request.filter);
    EXPECT_EQ(dialogs.saveRequests()[0].defaultExtension, "txt");
    EXPECT_TRUE(dialogs.saveRequests()[0].extendedStructure);
}

TEST(SimDialogs, PrintDialogHandsOutRecordingCanvases) {
    SimDialogs dialogs;
    EXPECT_EQ(dialogs.printDialog(), nullptr);  // unscripted: cancelled
    dialogs.queuePrinter({.width = 1000, .height = 2000, .logPixelsY = 300});
    dialogs.queuePrintCancel();
    {
        auto canvas = dialogs.printDialog();
        ASSERT_NE(canvas, nullptr);
        EXPECT_EQ(canvas->pageWidth(), 1000);
        EXPECT_EQ(canvas->logPixelsY(), 300);
        ASSERT_TRUE(canvas->beginDocument("Report"));
        canvas->textOut(1, 2, "line");
        canvas->endDocument();
    }
    EXPECT_EQ(dialogs.printDialog(), nullptr);
    EXPECT_EQ(dialogs.printDialogCount(), 3);
    ASSERT_EQ(dialogs.printJobs().size(), 1u);
    // The record outlives the canvas.
    const PrintLog& log = *dialogs.printJobs()[0];
    ASSERT_EQ(log.documents.size(), 1u);
    EXPECT_EQ(log.documents[0].pages[0].texts[0].text, "line");
}

TEST(RecordingCanvas, RecordsPagesTextsAndFontSizes) {
    RecordingCanvas canvas;  // A4 at 600 dpi
    EXPECT_EQ(canvas.pageWidth(), 4961);
    EXPECT_EQ(canvas.pageHeight(), 7016);
    ASSERT_TRUE(canvas.beginDocument("Zorv Info Report"));
    canvas.setFontSize(14);
    canvas.textOut(248, 127, "Title");
    canvas.newPage();
    canvas.setFontSize(8);
    canvas.textOut(2480, 6800, "-2.-");
    canvas.endDocument();

    const PrintLog& log = *canvas.log();
    ASSERT_EQ(log.documents.size(), 1u);
    const PrintedDocument& doc = log.documents[0];
    EXPECT_EQ(doc.title, "Zorv Info Report");
    EXPECT_TRUE(doc.ended);
    ASSERT_EQ(doc.pages.size(), 2u);
    ASSERT_EQ(doc.pages[0].texts.size(), 1u);
    EXPECT_EQ(doc.pages[0].texts[0].x, 248);
    EXPECT_EQ(doc.pages[0].texts[0].y, 127);
    EXPECT_EQ(doc.pages[0].texts[0].fontSize, 14);
    EXPECT_EQ(doc.pages[1].texts[0].fontSize, 8);
    EXPECT_TRUE(log.mistakes.empty());
}

TEST(RecordingCanvas, TextHeightFollowsTheResolution) {
    RecordingCanvas a4;
    a4.setFontSize(10);
    EXPECT_EQ(a4.textHeight("X"), 83);  // 10 x 600 / 72 = 83.3
    a4.setFontSize(14);
    EXPECT_EQ(a4.textHeight("X"), 117);  // 116.7 rounds up
    RecordingCanvas coarse({.width = 600, .height = 800, .logPixelsY = 96});
    coarse.setFontSize(8);
    EXPECT_EQ(coarse.textHeight("X"), 11);  // 10.67
    coarse.setFontSize(2);
    EXPECT_EQ(coarse.textHeight("X"), 3);  // 2.67
}

TEST(RecordingCanvas, NotesCallsOutOfOrder) {
    auto log = std::make_shared<PrintLog>();
    {
        RecordingCanvas canvas({}, log);
        canvas.textOut(0, 0, "early");
        canvas.newPage();
        ASSERT_TRUE(canvas.beginDocument("Doc"));
        canvas.textOut(0, 0, "inside");
    }  // destroyed without endDocument
    EXPECT_EQ(log->mistakes.size(), 3u);
    EXPECT_EQ(log->documents[0].pages[0].texts.size(), 1u);

    RecordingCanvas failing({.beginFails = true});
    EXPECT_FALSE(failing.beginDocument("Doc"));
    EXPECT_TRUE(failing.log()->documents.empty());
}

}  // namespace
}  // namespace tamux::sim
