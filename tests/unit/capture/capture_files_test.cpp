// The captured folder's registry lines and how the folder is put in place.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"
#include "tools/capture/machine_folder.h"

namespace tamux {
namespace {

namespace fs = std::filesystem;
using capture::RecordedValue;

std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(CaptureRegistryLine, WritesEachValueSoThatItLoadsBackUnchanged) {
    using std::string_literals::operator""s;
    const struct {
        RecordedValue value;
        const char* line;
    } cases[] = {
        {{"Name", 1, bytes("a \"b\" c:\\d\0"s)}, R"("Name"="a \"b\" c:\\d")"},
        {{"", 1, bytes("x\0"s)}, R"(@="x")"},
        // Data a quoted text cannot give back: no NUL, an inner NUL, a line break.
        {{"n", 1, bytes("ab")}, R"("n"=hex(1):61,62)"},
        {{"n", 1, bytes("a\0b\0"s)}, R"("n"=hex(1):61,00,62,00)"},
        {{"n", 1, bytes("a\nb\0"s)}, R"("n"=hex(1):61,0a,62,00)"},
        {{"n", 1, {}}, R"("n"=hex(1):)"},
        {{"Flags", 4, {0x7e, 0x00, 0x00, 0x80}}, R"("Flags"=dword:8000007e)"},
        {{"Short", 4, {1, 2}}, R"("Short"=hex(4):01,02)"},
        {{"Bin", 3, {0, 0xff}}, R"("Bin"=hex:00,ff)"},
        {{"Multi", 7, bytes("a\0\0"s)}, R"("Multi"=hex(7):61,00,00)"},
        {{"Store", 0xffff0010, {1}}, R"("Store"=hex(ffff0010):01)"},
    };
    for (const auto& c : cases) EXPECT_EQ(capture::regValueLine(c.value), c.line);
    // Long data goes on continuation lines, as regedit writes it.
    const std::string longLine =
        capture::regValueLine({"Long", 3, std::vector<std::uint8_t>(100, 0xab)});
    EXPECT_NE(longLine.find("\\\r\n  ab,"), std::string::npos);
}

class HostFolders : public capture::FolderSystem {
  public:
    Kind kind(const std::string& path) override {
        if (!fs::exists(path)) return Kind::Missing;
        return fs::is_directory(path) ? Kind::Folder : Kind::Other;
    }
    bool isEmptyFolder(const std::string& path) override { return fs::is_empty(path); }
    bool makeFolder(const std::string& path) override {
        std::error_code ec;
        return fs::create_directory(path, ec);
    }
    bool writeFile(const std::string& path, const std::string& content) override {
        if (++writes == failAtWrite) return false;
        std::ofstream out(path, std::ios::binary);
        out << content;
        return static_cast<bool>(out);
    }
    bool removeFile(const std::string& path) override {
        std::error_code ec;
        return fs::is_regular_file(path) && fs::remove(path, ec);
    }
    bool removeFolder(const std::string& path) override {
        std::error_code ec;
        return fs::remove(path, ec);
    }
    bool rename(const std::string& from, const std::string& to) override {
        std::error_code ec;
        fs::rename(from, to, ec);
        return !ec;
    }
    char separator() const override { return '/'; }

    int writes = 0;
    int failAtWrite = 0;
};

const capture::MachineFiles kFiles = {{"machine.json", "{}\n"},
                                      {"registry/captured.reg", "REGEDIT4\r\n"}};

std::vector<std::string> entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CaptureFolder, IsPutInPlaceWholeOrNotAtAll) {
    test::TempDir temp;
    const fs::path target = temp.path() / "machine";
    HostFolders host;

    // A new folder and an empty one take the capture.
    ASSERT_TRUE(capture::writeMachineFolder(host, target.string(), kFiles, false).ok);
    EXPECT_EQ(entriesOf(temp.path()),
              (std::vector<std::string>{"machine", "machine/machine.json", "machine/registry",
                                        "machine/registry/captured.reg"}));
    fs::remove_all(target);
    fs::create_directory(target);
    EXPECT_TRUE(capture::writeMachineFolder(host, target.string() + "/", kFiles, false).ok);

    // A folder with content is refused and left alone; --force renames it aside.
    const capture::FolderResult refused =
        capture::writeMachineFolder(host, target.string(), kFiles, false);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("is not empty"), std::string::npos) << refused.message;
    std::ofstream(target / "machine.json") << "mine";
    const capture::FolderResult forced =
        capture::writeMachineFolder(host, target.string(), kFiles, true);
    ASSERT_TRUE(forced.ok) << forced.message;
    EXPECT_NE(forced.message.find("machine.old"), std::string::npos) << forced.message;
    std::ifstream old(temp.path() / "machine.old" / "machine.json");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "mine");

    // A write that fails leaves nothing half-written: no new folder, no partial sibling.
    const fs::path other = temp.path() / "other";
    host.writes = 0;
    host.failAtWrite = 2;
    const capture::FolderResult failed =
        capture::writeMachineFolder(host, other.string(), kFiles, false);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message,
              "cannot write " + other.string() + ": a file or folder there cannot be written");
    EXPECT_FALSE(fs::exists(other));
    for (const auto& entry : fs::directory_iterator(temp.path())) {
        EXPECT_EQ(entry.path().filename().string().find("partial"), std::string::npos);
    }

    // A target whose parent cannot hold a folder: one message.
    const capture::FolderResult unwritable = capture::writeMachineFolder(
        host, (temp.path() / "missing" / "deeper").string(), kFiles, false);
    EXPECT_FALSE(unwritable.ok);
    EXPECT_NE(unwritable.message.find("no folder can be made"), std::string::npos);
    // A file in the way.
    std::ofstream(temp.path() / "plain") << "x";
    EXPECT_FALSE(
        capture::writeMachineFolder(host, (temp.path() / "plain").string(), kFiles, true).ok);
}

}  // namespace
}  // namespace tamux
