// How the lookup splits a database file into lines: CR LF, LF and a CR of its own each end a
// line, mixed in one file, with empty lines between. Each case names devices through lines whose
// order and vendors show where the lines were cut.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/crypt_lib.h"
#include "registry/device_database.h"
#include "tools/dbgen/database_writer.h"

namespace tamux {
namespace {

class OneFile : public platform::Files {
  public:
    explicit OneFile(std::string text) : text_(std::move(text)) {}
    bool fileExists(std::string_view path) override { return path == kPath; }
    std::optional<std::string> readFile(std::string_view path) override {
        if (path != kPath) return std::nullopt;
        return text_;
    }
    void writeFile(std::string_view, std::string_view) override {}
    std::optional<std::uint64_t> lastWriteTime(std::string_view) override { return {}; }

    static constexpr std::string_view kPath = "..\\SHARED\\DATABASES\\other.txt";

  private:
    std::string text_;
};

// One enciphered line, without a line end.
std::string hex(const std::string& text) {
    const std::string line = dbgen::encipherDatabase({text});
    return line.substr(0, line.size() - 2);
}

// The display names the "Mouse" lookup gives devices with these ids from `fileText`.
std::vector<std::string> names(const std::string& fileText, const std::vector<std::string>& ids) {
    sim::SimRegistry registry;
    sim::SimSystem system;
    OneFile files(fileText);
    DeviceTable table;
    for (const std::string& id : ids) {
        DeviceEntry d;
        d.className = "Mouse";
        d.hardwareID = id;
        table.push_back(d);
    }
    lookupDeviceDatabase(registry, system, files, table, "Mouse");
    std::vector<std::string> result;
    for (const DeviceEntry& d : table) result.push_back(d.displayName);
    return result;
}

const std::vector<std::string> kIds = {"PNP0F13", "USB\\VID_046D&PID_C00E", "PNP0F03"};

TEST(DatabaseLineEnds, CrLfLinesWithEmptyLinesAndAFinalLineEnd) {
    const std::string text = "\r\n" + hex("PNP .=Microsoft") + "\r\n\r\n" + hex("PNP0F13=PS/2") +
                             "\r\n" + hex("USB 046D.=Logitech") + "\r\n" +
                             hex("VID_046D&PID_C00E=Wheel") + "\r\n\r\n";
    EXPECT_EQ(names(text, kIds),
              (std::vector<std::string>{"Microsoft PS/2", "Logitech Wheel", ""}));
}

TEST(DatabaseLineEnds, ACrOfItsOwnInACrLfFileEndsALine) {
    // Without the cut at the lone CR, its two halves would be one line that is not hex.
    const std::string text = hex("PNP .=Microsoft") + "\r\n" + hex("PNP0F13=PS/2") + "\r" +
                             hex("PNP0F03=Serial") + "\r\n" + hex("USB 046D.=Logitech") + "\r\n" +
                             hex("VID_046D&PID_C00E=Wheel") + "\r\n";
    EXPECT_EQ(names(text, kIds),
              (std::vector<std::string>{"Microsoft PS/2", "Logitech Wheel", "Microsoft Serial"}));
}

TEST(DatabaseLineEnds, TwoCrsBeforeALineFeedAndACrAtTheEnd) {
    // CR CR LF is a line end, an empty line and its CR LF; the last CR ends the last line.
    const std::string text = hex("PNP .=Microsoft") + "\r\r\n" + hex("PNP0F13=PS/2") + "\r\n" +
                             hex("USB 046D.=Logitech") + "\n" + hex("VID_046D&PID_C00E=Wheel") +
                             "\r";
    EXPECT_EQ(names(text, kIds),
              (std::vector<std::string>{"Microsoft PS/2", "Logitech Wheel", ""}));
}

TEST(DatabaseLineEnds, ALineThatIsNotHexIsStillRefused) {
    const std::string text = hex("PNP .=Microsoft") + "\r\n" + "00ZZ\r\n";
    EXPECT_THROW(names(text, kIds), CryptError);
}

}  // namespace
}  // namespace tamux
