// How the lookup splits a database file into lines: CR LF, LF and a CR of its own each end a
// line, mixed in one file, with empty lines between, wherever the pieces the file is read in
// happen to end. Each case names devices through lines whose order and vendors show where the
// lines were cut.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"
#include "registry/crypt_lib.h"
#include "registry/device_database.h"
#include "tests/unit/registry/one_file.h"
#include "tools/dbgen/database_writer.h"

namespace tamux {
namespace {

using test::OneFile;

// One enciphered line, without a line end.
std::string hex(const std::string& text) {
    const std::string line = dbgen::encipherDatabase({text});
    return line.substr(0, line.size() - 2);
}

// The display names the "Mouse" lookup gives devices with these ids from other.txt.
std::vector<std::string> namesFrom(OneFile& files, const std::vector<std::string>& ids) {
    sim::SimRegistry registry;
    sim::SimSystem system;
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

// The names from `fileText` read whole; the same must come from it read in pieces of any size,
// so that line ends split between two pieces (CR | LF, a line across pieces) are seen too.
std::vector<std::string> names(const std::string& fileText, const std::vector<std::string>& ids) {
    OneFile whole(fileText, 0);
    const std::vector<std::string> expected = namesFrom(whole, ids);
    for (std::size_t pieceBytes : {1, 2, 3, 5, 64}) {
        OneFile pieces(fileText, pieceBytes);
        EXPECT_EQ(namesFrom(pieces, ids), expected) << "pieces of " << pieceBytes << " bytes";
    }
    return expected;
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
    for (std::size_t pieceBytes : {0, 1, 4}) {
        OneFile files(text, pieceBytes);
        EXPECT_THROW(namesFrom(files, kIds), CryptError) << "pieces of " << pieceBytes;
    }
}

TEST(DatabaseLineEnds, AFileThatCannotBeReadToItsEndIsThatErrorEvenAfterALineThatIsNotHex) {
    const std::string text = "00ZZ\r\n" + hex("PNP .=Microsoft") + "\r\n" + hex("PNP0F13=PS/2");
    for (std::size_t failAt : {0, 8, 16}) {
        OneFile files(text, 4, failAt);
        try {
            namesFrom(files, kIds);
            ADD_FAILURE() << "no error, read failing at " << failAt;
        } catch (const CryptError& error) {
            ADD_FAILURE() << "CryptError, read failing at " << failAt;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Cannot open file ..\\SHARED\\DATABASES\\other.txt");
        }
    }
}

}  // namespace
}  // namespace tamux
