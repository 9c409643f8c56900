// A report that cannot be written: a folder that does not exist, a file another program holds
// open, a disk that fills up, no mail module folder for Send. The user is told which file could
// not be made; no half-written file is left, an earlier file of that name keeps its content, the
// mail module is not started, and the window and the next report are as if nothing had happened.
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_files.h"
#include "platform/sim/sim_shell.h"
#include "tests/unit/bad_input/program_view.h"

namespace tamux::test {
namespace {

namespace fs = std::filesystem;

class UnwritableReport : public ::testing::Test {
  protected:
    UnwritableReport() {
        h.start();
        before = look(h);
    }

    // The one message shown, and a window as it was.
    void expectOnlyTheMessage(const std::string& file) {
        const Seen after = look(h);
        EXPECT_EQ(after.messages,
                  (std::vector<std::string>{"Zorv Info Tamux: Cannot create file " + file}));
        EXPECT_EQ(after.captions, before.captions);
        EXPECT_EQ(after.entries, before.entries);
        EXPECT_EQ(after.inputDevices, before.inputDevices);
        EXPECT_EQ(after.printers, before.printers);
    }

    // The report saved as a sound machine saves it.
    std::vector<std::string> soundReport() {
        FormHarness sound({.databases = true});
        sound.start();
        return *saveEverything(sound, "C:\\sound.txt");
    }

    FormHarness h{{.databases = true}};
    Seen before;
};

TEST_F(UnwritableReport, AFolderThatDoesNotExist) {
    const std::string path = "C:\\No such folder\\report.txt";
    EXPECT_EQ(saveEverything(h, path), std::nullopt);
    expectOnlyTheMessage(path);
    // The user picks another folder, and gets the whole report.
    EXPECT_EQ(saveEverything(h, "C:\\report.txt"), soundReport());
}

TEST_F(UnwritableReport, AFileAnotherProgramHoldsOpenKeepsItsContent) {
    const std::string path = "C:\\Reports\\report.htm";
    putFile(h.machine(), path, "yesterday's report\r\n");
    h.machine().files().lockFile(path);
    saveEverything(h, path);
    expectOnlyTheMessage(path);
    EXPECT_EQ(fileContent(h.machine(), path), "yesterday's report\r\n");
}

TEST_F(UnwritableReport, ADiskThatFillsUpLeavesNoHalfFile) {
    const std::string path = "C:\\report.txt";
    h.machine().files().setDiskSpace(1000);
    EXPECT_EQ(saveEverything(h, path), std::nullopt);
    expectOnlyTheMessage(path);

    h.machine().files().setDiskSpace(std::nullopt);
    EXPECT_EQ(saveEverything(h, path), soundReport());
}

TEST(FailedReportWrite, ADiskThatFillsUpKeepsTheEarlierFiles) {
    struct Row {
        ReportAction action;
        std::string file;  // the one the failure is reported for
    };
    const std::vector<Row> rows = {
        {ReportAction::Save, "C:\\Reports\\report.txt"},
        {ReportAction::Save, "C:\\Reports\\report.htm"},
        {ReportAction::Send, "..\\Zmail\\report.htm"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        FormHarness machine({.databases = true});
        machine.start();
        const std::vector<std::string> earlier = {"C:\\Reports\\report.txt",
                                                  "C:\\Reports\\report.htm",
                                                  "..\\Zmail\\report.htm", "..\\Zmail\\report.txt"};
        for (const std::string& file : earlier) putFile(machine.machine(), file, "earlier\r\n");
        machine.machine().files().setDiskSpace(1000);
        if (row.action == ReportAction::Save) {
            saveEverything(machine, row.file);
        } else {
            tickEverything(machine, ReportAction::Send);
            machine.form().buttonClick(ReportButton);
        }
        const std::vector<sim::MessageBoxCall>& boxes = machine.dialogs().messageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Cannot create file " + row.file);
        for (const std::string& file : earlier) {
            EXPECT_EQ(fileContent(machine.machine(), file), "earlier\r\n") << file;
        }
        for (const char* folder : {"C:\\Reports", "..\\Zmail"}) {
            const auto entries = fs::directory_iterator(machine.machine().hostPath(folder));
            EXPECT_EQ(std::distance(fs::begin(entries), fs::end(entries)), 2)
                << "a new file left in " << folder;
        }
    }
}

TEST_F(UnwritableReport, SendWithoutTheMailFolderStartsNoMailModule) {
    tickEverything(h, ReportAction::Send);
    h.form().buttonClick(ReportButton);
    expectOnlyTheMessage("..\\Zmail\\report.htm");
    EXPECT_TRUE(h.machine().shell().calls().empty());
    EXPECT_FALSE(fs::exists(h.machine().hostPath("..\\Zmail")));

    // With the folder there, the same request hands both files over.
    fs::create_directories(h.machine().hostPath("..") / "Zmail");
    h.form().buttonClick(ReportButton);
    EXPECT_EQ(h.machine().shell().calls().size(), 1u);
    EXPECT_TRUE(fileContent(h.machine(), "..\\Zmail\\report.htm").has_value());
    EXPECT_TRUE(fileContent(h.machine(), "..\\Zmail\\report.txt").has_value());
    EXPECT_EQ(h.dialogs().messageBoxes().size(), 1u) << "the second Send reports nothing";
}

}  // namespace
}  // namespace tamux::test
